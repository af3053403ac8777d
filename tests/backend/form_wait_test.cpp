#include <gtest/gtest.h>

#include "busy_animation.h"
#include "form_wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

TEST(FormWait, ProgressRoundsHalvesToEven)
{
    const struct
    {
        qint64 item, count;
        int percent;
    } cases[] = {
        {1, 8, 12},                           // 12.5
        {3, 8, 38},                           // 37.5
        {1, 2, 50},  {5, 8, 62},              // 62.5
        {7, 8, 88},                           // 87.5
        {1, 3, 33},  {2, 3, 67}, {1, 200, 0}, // 0.5
        {3, 200, 2},                          // 1.5
        {8, 8, 100}, {0, 8, 0},  {1, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFormWait::ProgressPercent(c.item, c.count), c.percent)
            << c.item << "/" << c.count;
    EXPECT_EQ(TFormWait::RatioPercent(0.125), 12);
    EXPECT_EQ(TFormWait::RatioPercent(0.625), 62);
    EXPECT_EQ(TFormWait::RatioPercent(1.5), 100);
    EXPECT_EQ(TFormWait::RatioPercent(-1), 0);
}

TEST(FormWait, WindowAndProgressDisplay)
{
    TFormWait form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Please wait, operation in progress..."));
    // Laid out: at least as wide as before, wider when the font needs it.
    EXPECT_GE(form.width(), 449);
    EXPECT_EQ(form.findChild<QProgressBar*>("ProgressBar1"), form.ProgressBar1);
    EXPECT_EQ(form.ProgressBar1->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1->maximum(), 100);
    EXPECT_TRUE(form.LblPercent->alignment() & Qt::AlignHCenter);
    form.show();
    form.SetProgress(3, 8);
    EXPECT_EQ(form.ProgressBar1->value(), 38);
    EXPECT_EQ(form.LblPercent->text(), QStringLiteral("38%"));
    form.SetProgressRatio(0.5);
    EXPECT_EQ(form.LblPercent->text(), QStringLiteral("50%"));
}

TEST(FormWait, EscapeReleaseSetsTheOwnersAbortFlag)
{
    bool abortRequested = false;
    TFormWait form(&abortRequested);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QTest::keyPress(&form, Qt::Key_Escape);
    EXPECT_FALSE(abortRequested) << "only the release counts";
    QTest::keyRelease(&form, Qt::Key_Escape);
    EXPECT_TRUE(abortRequested);
    EXPECT_TRUE(form.isVisible());

    abortRequested = false;
    QTest::keyRelease(&form, Qt::Key_A);
    EXPECT_FALSE(abortRequested);
    // Key events reach the window before its controls.
    QTest::keyRelease(form.ProgressBar1, Qt::Key_Escape);
    EXPECT_TRUE(abortRequested);
    EXPECT_TRUE(form.isVisible());
}

TEST(FormWait, CancelButtonStopsLikeEscapeAndTheHintSaysSo)
{
    bool abortRequested = false;
    TFormWait form(&abortRequested);
    QSignalSpy cancels(&form, &TFormWait::cancelRequested);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_GE(form.width(), 449);
    EXPECT_TRUE(form.LblHint->text().contains(QStringLiteral("Escape")));
    for (QWidget* control : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(form.rect().contains(control->geometry())) << control->objectName().toStdString();
    EXPECT_GE(form.LblHint->width(), form.LblHint->sizeHint().width()) << "the hint is shown whole";
    EXPECT_TRUE(form.hasFocus()) << "Escape works without a click";

    QTest::mouseClick(form.BtnCancel, Qt::LeftButton);
    EXPECT_TRUE(abortRequested);
    EXPECT_EQ(cancels.count(), 1);
    QTest::keyRelease(&form, Qt::Key_Escape);
    EXPECT_EQ(cancels.count(), 2);
    EXPECT_TRUE(form.isVisible());
}

TEST(FormWait, CurrentIsTheLatestVisibleWindowAndFocusReturnsWhenItGoes)
{
    QWidget main;
    auto* layout = new QVBoxLayout(&main);
    auto* first = new QLineEdit(&main);
    auto* second = new QLineEdit(&main);
    layout->addWidget(first);
    layout->addWidget(second);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    second->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), second);

    EXPECT_EQ(TFormWait::Current(), nullptr);
    {
        TFormWait outer(nullptr, &main);
        EXPECT_EQ(TFormWait::Current(), nullptr) << "not shown yet";
        outer.show();
        EXPECT_EQ(TFormWait::Current(), &outer);
        {
            auto inner = std::make_unique<TFormWait>(nullptr, &main);
            inner->show();
            EXPECT_EQ(TFormWait::Current(), inner.get());
            inner->hide();
            EXPECT_EQ(TFormWait::Current(), &outer);
            inner->show();
            EXPECT_EQ(TFormWait::Current(), inner.get());
        }
        EXPECT_EQ(TFormWait::Current(), &outer) << "a destroyed window is forgotten";
        QTest::qWait(20);
        EXPECT_NE(QApplication::focusWidget(), second) << "the busy window took the focus";
    }
    EXPECT_EQ(TFormWait::Current(), nullptr);
    // Activation goes through the window system and arrives a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main; }, 1000));
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST(FormWait, AnimationRunsWhileShown)
{
    TFormWait form;
    BusyAnimation* animation = form.findChild<BusyAnimation*>("AnimatedImage1");
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->size(), QSize(32, 32));
    EXPECT_FALSE(animation->IsRunning());
    form.show();
    EXPECT_TRUE(animation->IsRunning());
    const int first = animation->Frame();
    QElapsedTimer timer;
    timer.start();
    while (animation->Frame() == first && timer.elapsed() < 5000)
        QTest::qWait(20);
    EXPECT_EQ(animation->Frame(), (first + 1) % BusyAnimation::kFrameCount);
    form.hide();
    EXPECT_FALSE(animation->IsRunning());
}

} // namespace
