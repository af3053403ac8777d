// The view window: its frame and text area, and the keys it takes.
#include "form_view.h"

#include "ansi_text.h"
#include "screen_view.h"
#include "spectrum_text.h"
#include "view_fixtures.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

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

TEST_F(FormViewTest, IsAnOwnedWindowWithAReadOnlyWrappingTextArea)
{
    TFormView* w = newWindow({"a\xB7\xA9", "", "last"});
    EXPECT_EQ(w->windowTitle(), QString("File View"));
    EXPECT_EQ(w->size(), QSize(640, 380));
    // Above its owner only (a tool window of it), not above every program.
    EXPECT_TRUE(w->isWindow() && !w->isModal() && w->parentWidget() == &owner);
    EXPECT_EQ(w->windowType(), Qt::Tool);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
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

QString ReadUtf8(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString("(missing)");
}

TEST_F(FormViewTest, CtrlFFindsAndF3GoesToTheNextOrPreviousMatchRoundTheText)
{
    TFormView* w = newWindow({"alpha", "beta", "ALPHA beta"});
    key(w, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(w->FindEdit()->isVisible());
    QTest::keyClicks(w->FindEdit(), "alpha");
    QTest::keyClick(w->FindEdit(), Qt::Key_Return);
    const auto selection = [w] {
        const QTextCursor c = w->Memo1()->textCursor();
        return std::pair{c.selectionStart(), c.selectedText()};
    };
    EXPECT_EQ(selection(), std::pair(0, QString("alpha")));
    // The second match (case ignored), then round to the first, and back.
    const std::pair<int, QString> upper{11, "ALPHA"}, lower{0, "alpha"};
    for (auto [mods, expected] : {std::pair{Qt::NoModifier, upper}, {Qt::NoModifier, lower},
                                  {Qt::ShiftModifier, upper}, {Qt::ShiftModifier, lower}}) {
        key(w, Qt::Key_F3, mods);
        EXPECT_EQ(selection(), expected);
    }
    w->FindEdit()->setText("zeta");
    EXPECT_FALSE(w->FindNext());
    EXPECT_EQ(selection(), lower);  // kept
    QTest::keyClick(w->FindEdit(), Qt::Key_Escape);  // closes the bar only
    EXPECT_FALSE(w->FindEdit()->isVisible());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(FormViewTest, SaveAsWritesTheShownLinesAsUtf8AndCopyTakesTheSelectionOrAll)
{
    const QByteArrayList lines = {"\x60\x7F\x8F\x83\x8A\x80\x90\xA4 \xB7\xA9^", "10 REM \x86"};
    TFormView* w = newWindow(lines);
    QTemporaryDir dir;
    QString path = dir.filePath("view.txt");
    int asked = 0;
    w->SaveFileName = [&](const QString&, const QString&) { return ++asked, path; };
    key(w, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(asked, 1);
    const QString expected = QString::fromUtf8("£©█▀▌\u00A0ⒶⓊ ·©↑\n10 REM ▚\n");
    EXPECT_EQ(ReadUtf8(path), expected);

    key(w, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    w->Memo1()->find("REM");
    w->CopyAction()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QString("REM"));

    w->SetText("x\r\n\u00E9");
    ASSERT_TRUE(w->SaveText());
    EXPECT_EQ(ReadUtf8(path), QString::fromUtf8("x\n\u00E9"));
    path.clear();  // cancelled
    EXPECT_FALSE(w->SaveText());
}

TEST_F(FormViewTest, BasicListingIsColouredForTheThemeOrPlainWhenSwitchedOff)
{
    // 10 PRINT "A": 20 INK 2 control code, then REM.
    const QByteArray program("\x00\x0A\x05\x00\xF5\"A\"\x0D"
                             "\x00\x14\x06\x00\x10\x02\xEAhi\x0D",
                             18);
    for (bool darkTheme : {false, true}) {
        TFormView* w = newWindow();
        QPalette palette = w->Memo1()->palette();
        palette.setColor(QPalette::Base, darkTheme ? QColor(20, 20, 20) : QColor(250, 250, 250));
        w->Memo1()->setPalette(palette);
        w->SetBasicListing(program);
        ASSERT_TRUE(w->BasicColoured());
        QStringList coloured;
        for (const BasicSyntaxLine& line : BasicSyntaxListing(program))
            coloured << QString::fromLatin1(line.text);
        EXPECT_EQ(w->Text(), coloured.join('\n'));
        QCoreApplication::processEvents();  // colouring is done after the text shows
        // The keyword PRINT on line 10: bold, and light on a dark base.
        const QTextBlock first = w->Memo1()->document()->firstBlock();
        const int print = first.text().indexOf("PRINT");
        bool keywordFound = false;
        for (const QTextLayout::FormatRange& range : first.layout()->formats()) {
            if (range.start != print)
                continue;
            keywordFound = range.length == 5 && range.format.fontWeight() == QFont::Bold;
            EXPECT_EQ(range.format.foreground().color().lightness() > 128, darkTheme);
        }
        EXPECT_TRUE(keywordFound) << "dark " << darkTheme;

        w->ColouredBasicAction()->trigger();  // off
        EXPECT_EQ(w->Text(), QString::fromLatin1(BasicListing(program).join('\n')));
        EXPECT_TRUE(w->Memo1()->document()->firstBlock().layout()->formats().isEmpty());
    }
}

TEST_F(FormViewTest, APictureTakesThePlaceOfTheTextAndTheZoomKeys)
{
    TFormView* w = newWindow({"hex dump"});
    QByteArray screen(kScreenSize, '\x55');
    ScreenView* picture = w->ShowPicture(screen);
    ASSERT_EQ(picture, w->PictureView());
    EXPECT_FALSE(w->Memo1()->isVisible());
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->Screen(), screen);
    const Qt::KeyboardModifiers ctrlPad = Qt::ControlModifier | Qt::KeypadModifier;
    QTest::keyClick(picture, Qt::Key_Plus, ctrlPad);
    QTest::keyClick(picture, Qt::Key_Plus, ctrlPad);
    QTest::keyClick(picture, Qt::Key_Minus, ctrlPad);
    EXPECT_EQ(picture->Zoom(), 2);
    EXPECT_EQ(w->FontPoints(), 8);
    QTest::keyClick(picture, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), picture->PictureToSave(true));
    EXPECT_EQ(w->Text(), QString("hex dump"));  // what Save as... writes
}

TEST_F(FormViewTest, SetViewFillsTheWindowAsTheChosenFormatAsks)
{
    viewtest::LocalCopies copies;
    QByteArray screen(kScreenSize, Qt::Uninitialized);
    for (int i = 0; i < screen.size(); ++i)
        screen[i] = static_cast<char>(i * 7);
    const QByteArray program("\x00\x0A\x03\x00\xF5\x31\x0D", 7);
    struct Case
    {
        QString type;
        QString path;
        qint64 size;
        ViewMode mode;
        QByteArray picture;  // empty: text
        QString text;
    };
    const Case cases[] = {
        {"Bytes", copies.WriteWithHeader("scr", screen), kScreenSize, ViewMode::Automatic, screen, {}},
        {"Headerless", copies.Write("bitmap", screen.left(kScreenBitmapSize)), kScreenBitmapSize, ViewMode::Picture,
         screen.left(kScreenBitmapSize), {}},
        {"Program", copies.WriteWithHeader("prog", program, 0), program.size(), ViewMode::Automatic, {},
         "  10  PRINT 1"},
        {"Bytes", copies.WriteWithHeader("scr", screen), kScreenSize, ViewMode::Text, {}, {}},
    };
    for (const Case& c : cases) {
        const ViewChoice choice = ChooseView(c.mode, c.type, c.size, c.size);
        TFormView* w = newWindow();
        w->SetView(choice, c.path, c.type);
        ASSERT_EQ(w->PictureView() != nullptr, !c.picture.isEmpty()) << c.path.toStdString();
        if (w->PictureView())
            EXPECT_EQ(w->PictureView()->Screen(), c.picture);
        const QString lines = AnsiToQString(RenderView(choice, c.path, c.type).join('\n'));
        EXPECT_EQ(w->Text(), c.text.isEmpty() ? lines : c.text);
        EXPECT_EQ(w->BasicColoured() && w->HasBasicListing(), c.type == "Program");
    }
}

}  // namespace
