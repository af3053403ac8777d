#include <gtest/gtest.h>

#include "app_error.h"
#include "tool_command.h"

#include <QAction>

#include <memory>

namespace {

// Records the error texts instead of showing boxes.
class ErrorPathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous_ = SetErrorDisplay([this](const QString& text) { shown_ << text; });
    }
    void TearDown() override { SetErrorDisplay(previous_); }

    QStringList shown_;

private:
    ErrorDisplay previous_;
};

TEST_F(ErrorPathTest, GuardedCallShowsAndStopsAtTheError)
{
    bool cleanedUp = false;
    bool reachedEnd = false;
    const bool finished = GuardedCall([&] {
        struct CleanUp
        {
            bool& flag;
            ~CleanUp() { flag = true; }
        } cleanUp{cleanedUp};
        throw AppError(QStringLiteral("Function failure\n\ncontext"));
        reachedEnd = true;
    });
    EXPECT_FALSE(finished);
    EXPECT_TRUE(cleanedUp);
    EXPECT_FALSE(reachedEnd);
    EXPECT_EQ(shown_, QStringList{QStringLiteral("Function failure\n\ncontext")});
}

TEST_F(ErrorPathTest, OtherExceptionsShowTheirText)
{
    GuardedCall([] { throw std::runtime_error("disk full"); });
    GuardedCall([] { throw 42; });
    EXPECT_TRUE(GuardedCall([] {}));
    EXPECT_EQ(shown_, (QStringList{"disk full", "Unknown error"}));
}

TEST_F(ErrorPathTest, GuardedHandlerConnectedToASignal)
{
    QAction action;
    int runs = 0;
    QObject::connect(&action, &QAction::triggered, Guarded([&] {
        ++runs;
        throw AppError(QStringLiteral("'x' is not a valid integer value"));
    }));
    action.trigger();
    action.trigger();
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(shown_.size(), 2);
    EXPECT_EQ(shown_.front(), QStringLiteral("'x' is not a valid integer value"));
}

TEST_F(ErrorPathTest, SetErrorDisplayReturnsThePreviousOne)
{
    QStringList other;
    ErrorDisplay mine = SetErrorDisplay([&](const QString& t) { other << t; });
    ShowErrorBox(QStringLiteral("one"));
    SetErrorDisplay(std::move(mine));
    ShowErrorBox(QStringLiteral("two"));
    EXPECT_EQ(other, QStringList{"one"});
    EXPECT_EQ(shown_, QStringList{"two"});
}

TEST_F(ErrorPathTest, StoppedToolRunsAreReportedAsStoppedNeverAsErrorsOrSuccess)
{
    QStringList status;
    auto owner = std::make_unique<QObject>();
    SetStatusDisplay(owner.get(), [&](const QString& text) { status << text; });
    using Kind = ToolRunStopped::Kind;
    const struct
    {
        Kind kind;
        int limitMs;
        const char* status;
        const char* box;
    } cases[] = {
        {Kind::Cancelled, 60000, "Cancelled", nullptr},
        {Kind::TimedOut, 60000, nullptr,
         "The disk tool did not answer within 60 seconds.\nThe command \"Get all files from "
         "disk\" was stopped."},
        {Kind::TimedOut, 800, nullptr,
         "The disk tool did not answer within 1 second.\nThe command \"Get all files from disk\" "
         "was stopped."},
    };
    for (const auto& c : cases) {
        status.clear();
        shown_.clear();
        bool cleanedUp = false;
        const bool finished = GuardedCall([&] {
            const std::shared_ptr<void> cleanUp(nullptr, [&](void*) { cleanedUp = true; });
            throw ToolRunStopped(c.kind, QStringLiteral("Get all files from disk"), c.limitMs);
        });
        EXPECT_FALSE(finished);
        EXPECT_TRUE(cleanedUp);
        EXPECT_EQ(status, c.status ? QStringList{c.status} : QStringList{});
        EXPECT_EQ(shown_, c.box ? QStringList{c.box} : QStringList{});
    }

    // The display goes with its owner.
    owner.reset();
    status.clear();
    shown_.clear();
    GuardedCall([] { throw ToolRunStopped(Kind::Cancelled, QString(), 1000); });
    EXPECT_TRUE(status.isEmpty());
    EXPECT_TRUE(shown_.isEmpty());
    SetStatusDisplay(nullptr, {});
}

TEST(AppErrorText, MessageKeptExactly)
{
    const QString text = QStringLiteral("Input file * /t/\u00E9.txt *\ndoes not exist\n\n");
    const AppError error(text);
    EXPECT_EQ(error.message(), text);
    EXPECT_EQ(QString::fromUtf8(error.what()), text);
    EXPECT_EQ(ExceptionText(std::make_exception_ptr(error)), text);
}

} // namespace
