// The main window's update command, from the menu and at the first showing,
// against a real HTTP server on 127.0.0.1.
#include "gui_fixture.h"

#include "form_wait.h"
#include "temp_folder.h"
#include "test_http_server.h"
#include "test_zip.h"
#include "update_address.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kPath = "/images/stories/3e_harnwick/3e.zip";
const QDateTime kMemberTime(QDate(2009, 3, 17), QTime(14, 5), Qt::UTC);

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class UpdateCommandTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_TRUE(server.listen());
        qputenv(update::kUpdateUrlVariable, server.url(kPath).toUtf8());
    }

    // Downloaded into the run's private folder, never into the start folder.
    QString download() const { return PrivateTempFolder() + "/update/3E.ZIP"; }
    void serve(const QByteArray& body, qint64 pauseAfter = -1, bool sendLength = true)
    {
        server.setReply(kPath, {200, body, {}, sendLength, pauseAfter});
    }
    TFormWait* busyWindow() const { return form->findChild<TFormWait*>(); }

    // Runs the command from the menu; onChange sees the busy window each
    // time status panel 2 changes while it is up.
    void runFromMenu(const std::function<void(TFormWait&)>& onChange = {})
    {
        QString seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TFormWait* wait = busyWindow();
            if (wait && wait->isVisible() && form->StatusPanel(2) != seen && onChange) {
                seen = form->StatusPanel(2);
                onChange(*wait);
            }
        });
        poll.start(1);
        form->findChild<QAction*>("Check3Eupdates1")->trigger();
    }

    TestHttpServer server;
};

TEST_F(UpdateCommandTest, MenuEntryInstallsReportsAndShowsErrors)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QByteArray refused =
        QString("http://127.0.0.1:%1%2").arg(closed.serverPort()).arg(kPath).toUtf8();
    closed.close();
    makeForm();
    form->ToolPath = path("3E.EXE"); // no tool yet
    const QByteArray zip = makeZip({{"3E.EXE", "tool 2", kMemberTime}});
    const struct
    {
        QByteArray body;
        QString panel;
        QStringList errors;
        bool downloadStays;
        QByteArray url; // empty: the server
    } steps[] = {
        {zip, "3E.EXE updated (03/17/2009, 14.05)", {}, false, {}},
        {zip, "No 3E.EXE update available", {}, false, {}},
        {"<html>moved</html>", "", {"Not a zip archive"}, true, {}},
        {zip, "Connection Failed", {}, false, refused},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.panel.toStdString());
        serve(step.body);
        if (!step.url.isEmpty())
            qputenv(update::kUpdateUrlVariable, step.url);
        prompts->clearRecords();
        runFromMenu();
        EXPECT_EQ(form->StatusPanel(2), step.panel);
        EXPECT_EQ(prompts->errors(), step.errors);
        EXPECT_EQ(QFile::exists(download()), step.downloadStays);
        EXPECT_FALSE(QFile::exists(startFolder() + "/3E.ZIP"));
        EXPECT_EQ(busyWindow(), nullptr);
    }
    EXPECT_EQ(contents(path("3E.EXE")), "tool 2");
}

TEST_F(UpdateCommandTest, WithoutAnAddressTheMenuEntrySaysSoAndTheStartUpCheckIsQuiet)
{
    if (!QString::fromUtf8(update::kDefaultUpdateUrl).isEmpty())
        GTEST_SKIP() << "built with an update address";
    qunsetenv(update::kUpdateUrlVariable);
    writeSettings({{"Specfont", 0}, {"Check3EUpdates", 1}});
    makeForm();
    form->FormShow();
    EXPECT_TRUE(prompts->records().isEmpty());
    EXPECT_EQ(form->StatusPanel(2), QString());
    runFromMenu();
    EXPECT_EQ(prompts->records().size(), 1);
    EXPECT_EQ(prompts->informations(), QStringList{"No update address is configured."});
    EXPECT_TRUE(server.requestedPaths().isEmpty());
}

TEST_F(UpdateCommandTest, TheBusyWindowShowsTheProgressWhileTheDownloadRuns)
{
    const struct
    {
        bool sendLength;
        QString panel;
        QString percent;
        int barMaximum; // 0: a moving bar, the size being unknown
    } cases[] = {
        {true, "Check for 3E update (500/1000)", "50%", 100},
        {false, "Check for 3E update (500)", "", 0},
    };
    makeForm();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel.toStdString());
        serve(QByteArray(1000, 'z'), 500, c.sendLength);
        bool sawHalf = false;
        runFromMenu([&](TFormWait& wait) {
            if (form->StatusPanel(2) != c.panel)
                return;
            sawHalf = true;
            EXPECT_EQ(wait.LblPercent->text(), c.percent);
            EXPECT_EQ(wait.ProgressBar1->maximum(), c.barMaximum);
            EXPECT_EQ(wait.ProgressBar1->value(), c.barMaximum / 2);
            EXPECT_TRUE(wait.isModal());
            server.resume();
        });
        EXPECT_TRUE(sawHalf);
        EXPECT_EQ(busyWindow(), nullptr);
    }
}

TEST_F(UpdateCommandTest, EscapeInTheBusyWindowStopsTheCheck)
{
    makeForm();
    form->ToolPath = path("3E.EXE");
    serve(makeZip({{"3E.EXE", "tool 2", kMemberTime}}), 10);
    runFromMenu([&](TFormWait& wait) {
        if (form->StatusPanel(2).startsWith("Check for 3E update"))
            QTest::keyRelease(&wait, Qt::Key_Escape);
    });
    EXPECT_EQ(busyWindow(), nullptr);
    EXPECT_TRUE(form->StatusPanel(2).startsWith("Check for 3E update (10/"));
    EXPECT_FALSE(QFile::exists(download()));
    EXPECT_FALSE(QFile::exists(path("3E.EXE")));
    EXPECT_TRUE(prompts->errors().isEmpty());
}

TEST_F(UpdateCommandTest, FirstShowingChecksBeforeReopeningTheLastMediumOnlyWhenAskedTo)
{
    // Each tool notes its runs in its folder: the medium must be reopened by
    // the tool the check has just installed.
    const char* const note = "echo \"$0 %1 $*\" >> \"$(dirname \"$0\")/runs.log\"";
    serve(makeZip(
        {{"3E.EXE", "#!/bin/sh\n" + QString(note).arg("new").toUtf8() + "\n", kMemberTime}}));
    for (const bool check : {false, true}) {
        SCOPED_TRACE(check);
        const QString tool = writeFakeTool(check ? "on" : "off", QString(note).arg("old"));
        writeSettings({{"LastDiskImage", "/media/last.hdf"},
                       {"3ePos", tool},
                       {"Specfont", 0},
                       {"Check3EUpdates", int(check)}});
        makeForm();
        form->show();
        const QString log = QFileInfo(tool).dir().filePath("runs.log");
        // The focus goes back to the window from the busy window once that has gone.
        const auto done = [&] {
            return QFile::exists(log) && QApplication::activeWindow() == form.get();
        };
        for (QDeadlineTimer deadline(20000); !done() && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

        // Opening the medium may run the tool more than once.
        for (const QByteArray& run : contents(log).trimmed().split('\n')) {
            EXPECT_TRUE(run.startsWith((tool + (check ? " new " : " old ")).toUtf8()))
                << run.data();
            EXPECT_TRUE(run.contains("/media/last.hdf"));
        }
        EXPECT_EQ(server.requestedPaths().size(), check ? 1 : 0);
        EXPECT_EQ(busyWindow(), nullptr);
        EXPECT_EQ(QApplication::activeWindow(), form.get());
        closeForm();
    }
}

} // namespace
