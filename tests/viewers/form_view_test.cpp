// The view window: its frame and text area, and the keys it takes.
#include "form_view.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FormViewTest : public testing::Test
{
protected:
    TFormView* newWindow(const QByteArrayList& lines = {"one", "two"})
    {
        auto* window = new TFormView(&owner);
        window->SetLines(lines);
        window->ShowText();
        return window;
    }
    static void key(TFormView* window, Qt::Key key, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(window->Memo1(), key, mods);
    }

    QWidget owner;
};

TEST_F(FormViewTest, IsAStayOnTopWindowWithAReadOnlyWrappingTextArea)
{
    TFormView* w = newWindow({"a\xB7\xA9", "", "last"});
    EXPECT_EQ(w->windowTitle(), QString("File View"));
    EXPECT_EQ(w->size(), QSize(640, 380));
    EXPECT_TRUE(w->isWindow() && !w->isModal() && (w->windowFlags() & Qt::WindowStaysOnTopHint));
    QPlainTextEdit* memo = w->Memo1();
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo->font().family(), QString("Courier New"));
    EXPECT_EQ(w->FontPoints(), 8);
    // Windows-1252: the middle dot and the copyright sign.
    EXPECT_EQ(w->Text(), QString::fromUtf8("a\u00B7\u00A9\n\nlast"));
    w->SetText("x\r\ny\r\n");
    EXPECT_EQ(w->Text(), QString("x\ny\n"));
}

TEST_F(FormViewTest, KeysReachNeitherTheTextNorShortcutsAndEscapeHidesOneWindow)
{
    TFormView* other = newWindow();
    TFormView* w = newWindow(QByteArrayList(500, "line"));
    int triggered = 0;
    auto* shortcut = new QAction(w);
    shortcut->setShortcut(QKeySequence("Ctrl+E"));
    w->addAction(shortcut);
    QObject::connect(shortcut, &QAction::triggered, [&] { ++triggered; });
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    for (auto [k, mods] : {std::pair{Qt::Key_End, Qt::ControlModifier}, {Qt::Key_A, Qt::ControlModifier},
                           {Qt::Key_PageDown, Qt::NoModifier}, {Qt::Key_E, Qt::ControlModifier}})
        key(w, k, mods);
    EXPECT_EQ(w->Memo1()->textCursor().position(), 0);
    EXPECT_FALSE(w->Memo1()->textCursor().hasSelection());
    EXPECT_EQ(w->Memo1()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(triggered, 0);

    key(w, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(other->isVisible());
    EXPECT_EQ(w->parent(), &owner);  // hidden, not destroyed
}

TEST_F(FormViewTest, CtrlKeypadMinusAndPlusKeepTheFontWithin4To24Points)
{
    TFormView* w = newWindow();
    const Qt::KeyboardModifiers ctrlPad = Qt::ControlModifier | Qt::KeypadModifier;
    key(w, Qt::Key_Minus, Qt::ControlModifier);  // not the keypad's
    key(w, Qt::Key_Minus, Qt::KeypadModifier);   // no Ctrl
    EXPECT_EQ(w->FontPoints(), 8);
    key(w, Qt::Key_Minus, ctrlPad | Qt::ShiftModifier);
    EXPECT_EQ(w->FontPoints(), 7);
    for (int i = 0; i < 10; ++i)
        key(w, Qt::Key_Minus, ctrlPad);
    EXPECT_EQ(w->FontPoints(), 4);
    for (int i = 0; i < 30; ++i)
        key(w, Qt::Key_Plus, ctrlPad);
    EXPECT_EQ(w->FontPoints(), 24);
}

}  // namespace
