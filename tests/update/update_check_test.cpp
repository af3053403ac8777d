// The whole update check against a real HTTP server on 127.0.0.1.
#include <gtest/gtest.h>

#include "test_http_server.h"
#include "test_zip.h"
#include "update_address.h"
#include "update_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <netdb.h>

using namespace update;

namespace {

const QString kPath = "/images/stories/3e_harnwick/3e.zip";
const char* const kNoUpdate = "No 3E.EXE update available";

QDateTime utc(int year, int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

QByteArray toolZip(const QByteArray& tool, const QDateTime& time)
{
    return makeZip({{"README.TXT", "read me", time}, {"3E.EXE", tool, time}});
}

struct CheckRecord
{
    bool ran = false;
    QStringList statuses;
    QList<UpdateProgress> progress;
    QStringList errors;
};

class UpdateCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen());
        ASSERT_TRUE(QDir(root.path()).mkpath("start") && QDir(root.path()).mkpath("tools"));
        qputenv(kUpdateUrlVariable, server.url(kPath).toUtf8());
    }
    void TearDown() override { qunsetenv(kUpdateUrlVariable); }

    QString startFolder() const { return root.filePath("start"); }
    QString toolPath() const { return root.filePath("tools/3E.EXE"); }
    QString download() const { return root.filePath("start/3E.ZIP"); }

    void serve(const QByteArray& body) { server.setReply(kPath, {200, body, {}, true, -1}); }

    CheckRecord runCheck(const std::function<void(const UpdateProgress&)>& onProgress = {})
    {
        CheckRecord record;
        UpdateCheck check(startFolder(), toolPath());
        QObject::connect(&check, &UpdateCheck::statusText,
                         [&](const QString& text) { record.statuses << text; });
        QObject::connect(&check, &UpdateCheck::progress, [&](const UpdateProgress& progress) {
            record.progress << progress;
            if (onProgress)
                onProgress(progress);
        });
        QObject::connect(&check, &UpdateCheck::errorMessage,
                         [&](const QString& text) { record.errors << text; });
        record.ran = check.run();
        return record;
    }

    static void writeTool(const QString& path, const QByteArray& data, const QDateTime& time)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
        file.flush();
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir root;
    TestHttpServer server;
};

TEST_F(UpdateCheckTest, FirstInstallReportsTheMembersDate)
{
    serve(toolZip("tool version 2", utc(2009, 3, 17, 14, 5, 10)));
    const CheckRecord record = runCheck();

    ASSERT_TRUE(record.ran);
    EXPECT_EQ(server.requestedPaths(), QStringList{kPath});
    ASSERT_GE(record.statuses.size(), 5);
    EXPECT_EQ(record.statuses[0], "Host Resolved");
    EXPECT_EQ(record.statuses[1], "Connected");
    EXPECT_TRUE(record.statuses[2].startsWith("Check for 3E update ("));
    EXPECT_EQ(record.statuses.mid(record.statuses.size() - 2),
              (QStringList{"", "3E.EXE updated (03/17/2009, 14.05)"}));
    ASSERT_FALSE(record.progress.isEmpty());
    EXPECT_EQ(record.progress.last().percent, 100);
    EXPECT_TRUE(record.errors.isEmpty());

    EXPECT_EQ(contents(toolPath()), "tool version 2");
    const QFileInfo tool(toolPath());
    EXPECT_EQ(tool.lastModified().toUTC(), utc(2009, 3, 17, 14, 5, 10));
    EXPECT_TRUE(tool.isExecutable());
    EXPECT_FALSE(QFile::exists(download()));
    EXPECT_EQ(QDir(root.filePath("tools")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"3E.EXE"});
}

TEST_F(UpdateCheckTest, SameArchiveTwiceReportsNoUpdateTheSecondTime)
{
    serve(toolZip("tool", utc(2010, 11, 25, 8, 30)));
    EXPECT_EQ(runCheck().statuses.last(), "3E.EXE updated (11/25/2010, 08.30)");
    EXPECT_EQ(runCheck().statuses.last(), kNoUpdate);
    EXPECT_FALSE(QFile::exists(download()));
}

struct InstallCase
{
    const char* what;
    QDateTime toolTime; // invalid: no tool installed before
    QList<ZipMember> members;
    const char* report;
    QByteArray toolAfter; // "<missing>": no tool afterwards
};

TEST_F(UpdateCheckTest, InstallsTheTopLevelMemberAndReportsByMinute)
{
    const QDateTime member = utc(2009, 3, 17, 14, 5, 10);
    const InstallCase cases[] = {
        {"older member replaces a newer tool",
         utc(2012, 6, 20, 8, 0),
         {{"3E.EXE", "older", member}},
         kNoUpdate,
         "older"},
        {"seconds-only difference is equal",
         utc(2009, 3, 17, 14, 5, 58),
         {{"3E.EXE", "same minute", member}},
         kNoUpdate,
         "same minute"},
        {"one minute later is newer",
         utc(2009, 3, 17, 14, 4, 58),
         {{"3E.EXE", "newer", member}},
         "3E.EXE updated (03/17/2009, 14.05)",
         "newer"},
        {"archive without the tool",
         utc(2008, 1, 1, 0, 0),
         {{"README.TXT", "x", member}},
         kNoUpdate,
         "installed"},
        {"members with folders only",
         {},
         {{"x/3E.EXE", "nested", member}, {"../3E.EXE", "escape", member}},
         kNoUpdate,
         "<missing>"},
        {"top-level member beside members with folders",
         {},
         {{"../3E.EXE", "escape", member},
          {"3E.EXE", "top", member},
          {"x/3E.EXE", "nested", member}},
         "3E.EXE updated (03/17/2009, 14.05)",
         "top"},
        {"name differing in case only", {}, {{"3e.exe", "lower", member}}, kNoUpdate, "<missing>"},
    };
    for (const InstallCase& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(toolPath());
        if (c.toolTime.isValid())
            writeTool(toolPath(), "installed", c.toolTime);
        serve(makeZip(c.members));

        const CheckRecord record = runCheck();
        EXPECT_EQ(record.statuses.last(), c.report);
        EXPECT_EQ(contents(toolPath()), c.toolAfter);
        EXPECT_FALSE(QFile::exists(download()));
        // Nothing is written outside the tool's folder, nor into folders below it.
        EXPECT_FALSE(QFile::exists(root.filePath("3E.EXE")));
        EXPECT_FALSE(QFile::exists(root.filePath("tools/x")));
        EXPECT_EQ(QDir(root.filePath("tools"))
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                      .size(),
                  c.toolAfter == "<missing>" ? 0 : 1);
    }
}

TEST_F(UpdateCheckTest, DownloadThatIsNoZipShowsTheReadersErrorAndStays)
{
    writeTool(toolPath(), "installed", utc(2008, 1, 1, 0, 0));
    serve("<html>moved elsewhere</html>");
    const CheckRecord record = runCheck();
    EXPECT_EQ(record.errors, QStringList{"Not a zip archive"});
    EXPECT_EQ(record.statuses.last(), "");
    EXPECT_EQ(contents(download()), "<html>moved elsewhere</html>");
    EXPECT_EQ(contents(toolPath()), "installed");
}

TEST_F(UpdateCheckTest, FollowsRedirections)
{
    qputenv(kUpdateUrlVariable, server.url("/old/3e.zip").toUtf8());
    server.setReply("/old/3e.zip", {302, "see elsewhere", server.url(kPath).toUtf8(), true, -1});
    serve(toolZip("tool", utc(2009, 3, 7, 14, 5)));
    const CheckRecord record = runCheck();
    EXPECT_EQ(server.requestedPaths(), (QStringList{"/old/3e.zip", kPath}));
    EXPECT_EQ(record.statuses.last(), "3E.EXE updated (03/07/2009, 14.05)");
    EXPECT_EQ(contents(toolPath()), "tool");
}

TEST_F(UpdateCheckTest, PlainHttpAwayFromThisMachineIsRefusedAlsoWhenRedirected)
{
    // 192.0.2.1 is a documentation address: nothing may even try to reach it.
    const QString away = "http://192.0.2.1:9/3e.zip";
    server.setReply("/old/3e.zip", {302, "see elsewhere", away.toUtf8(), true, -1});
    for (const QString& start : {away, server.url("/old/3e.zip")}) {
        SCOPED_TRACE(start.toStdString());
        qputenv(kUpdateUrlVariable, start.toUtf8());
        writeTool(toolPath(), "installed", utc(2008, 1, 1, 0, 0));
        const CheckRecord record = runCheck();
        ASSERT_TRUE(record.ran);
        EXPECT_EQ(record.statuses.last(), "Connection Failed");
        EXPECT_EQ(contents(toolPath()), "installed");
    }
}

TEST_F(UpdateCheckTest, AToolTheUserCannotReplaceIsLeftAlone)
{
    serve(toolZip("tool", utc(2009, 3, 7, 14, 5)));
    writeTool(toolPath(), "installed", utc(2008, 1, 1, 0, 0));
    const QString tools = QFileInfo(toolPath()).absolutePath();
    QFile::setPermissions(tools, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(tools).isWritable()) {
        QFile::setPermissions(tools, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "this user may write a read-only folder (root)";
    }
    const CheckRecord record = runCheck();
    QFile::setPermissions(tools, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(record.ran);
    EXPECT_EQ(record.statuses, QStringList{"3E.EXE is managed by the system package"});
    EXPECT_TRUE(server.requestedPaths().isEmpty());
    EXPECT_EQ(contents(toolPath()), "installed");
}

TEST_F(UpdateCheckTest, ErrorStatusReportsConnectionFailedAndKeepsTheAnswer)
{
    writeTool(toolPath(), "installed", utc(2008, 1, 1, 0, 0));
    const CheckRecord record = runCheck(); // nothing served: 404
    EXPECT_EQ(record.statuses.last(), "Connection Failed");
    EXPECT_TRUE(record.errors.isEmpty());
    EXPECT_EQ(contents(download()), "no such file");
    EXPECT_EQ(contents(toolPath()), "installed");
}

TEST_F(UpdateCheckTest, BodyWithoutLengthShowsBytesOnly)
{
    const QByteArray zip = toolZip("tool", utc(2009, 3, 7, 14, 5));
    server.setReply(kPath, {200, zip, {}, false, -1});
    const CheckRecord record = runCheck();
    ASSERT_FALSE(record.progress.isEmpty());
    for (const UpdateProgress& progress : record.progress) {
        EXPECT_EQ(progress.total, 0);
        EXPECT_FALSE(progress.percent.has_value());
        EXPECT_EQ(progress.percentText(), "");
    }
    EXPECT_TRUE(record.statuses.contains(QString("Check for 3E update (%1)").arg(zip.size())));
    EXPECT_EQ(record.statuses.last(), "3E.EXE updated (03/07/2009, 14.05)");
}

TEST_F(UpdateCheckTest, HalfwayShowsFiftyPercentWhileTheDownloadRuns)
{
    server.setReply(kPath, {200, QByteArray(1000, 'z'), {}, true, 500});
    bool sawHalf = false;
    bool secondCheckRan = true;
    QStringList statusesAtHalf;
    CheckRecord record = runCheck([&](const UpdateProgress& progress) {
        if (progress.received != 500)
            return;
        sawHalf = true;
        EXPECT_EQ(progress.total, 1000);
        EXPECT_EQ(progress.percent, 50);
        EXPECT_EQ(progress.percentText(), "50%");
        EXPECT_EQ(progress.statusText(), "Check for 3E update (500/1000)");
        // One check at a time: a second one started meanwhile does nothing.
        UpdateCheck second(startFolder(), toolPath());
        secondCheckRan = second.run();
        server.resume();
    });
    EXPECT_TRUE(sawHalf);
    EXPECT_FALSE(secondCheckRan);
    EXPECT_TRUE(record.statuses.contains("Check for 3E update (500/1000)"));
    EXPECT_TRUE(record.statuses.contains("Check for 3E update (1000/1000)"));
    EXPECT_EQ(record.errors, QStringList{"Not a zip archive"}); // 1000 bytes of "z"
}

TEST_F(UpdateCheckTest, StoppedDownloadEndsWithoutReportOrFile)
{
    const QByteArray zip = toolZip("tool", utc(2009, 3, 7, 14, 5));
    server.setReply(kPath, {200, zip, {}, true, 10});
    UpdateCheck check(startFolder(), toolPath());
    QStringList statuses;
    QObject::connect(&check, &UpdateCheck::statusText,
                     [&](const QString& text) { statuses << text; });
    QObject::connect(&check, &UpdateCheck::progress, [&](const UpdateProgress&) { check.abort(); });
    EXPECT_TRUE(check.run());
    EXPECT_EQ(statuses.last(), "Check for 3E update (10/" + QString::number(zip.size()) + ")");
    EXPECT_FALSE(QFile::exists(download()));
    EXPECT_FALSE(QFile::exists(toolPath()));
}

TEST_F(UpdateCheckTest, RefusedConnectionReportsConnectionFailed)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    qputenv(kUpdateUrlVariable, QString("http://127.0.0.1:%1%2").arg(port).arg(kPath).toUtf8());
    const CheckRecord record = runCheck();
    ASSERT_TRUE(record.ran);
    EXPECT_EQ(record.statuses.last(), "Connection Failed");
    EXPECT_FALSE(record.statuses.contains("Connected"));
    EXPECT_FALSE(QFile::exists(download()));
}

TEST_F(UpdateCheckTest, UnknownHostReportsInvalidHost)
{
    // Names under .invalid never resolve. Where the resolver answers them
    // anyway (some intercepting DNS does), there is no unknown host to test.
    const char* host = "harnwick-update-test.invalid";
    addrinfo* found = nullptr;
    if (getaddrinfo(host, "80", nullptr, &found) == 0) {
        freeaddrinfo(found);
        GTEST_SKIP() << "the resolver answers for " << host;
    }
    qputenv(kUpdateUrlVariable, QByteArray("https://") + host + kPath.toUtf8());
    const CheckRecord record = runCheck();
    EXPECT_EQ(record.statuses, QStringList{"Invalid host"});
    EXPECT_FALSE(QFile::exists(download()));
}

TEST_F(UpdateCheckTest, StartFolderThatCannotHoldTheDownloadGivesAnError)
{
    serve(toolZip("tool", utc(2009, 3, 7, 14, 5)));
    UpdateCheck check(root.filePath("no such folder"), toolPath());
    QStringList errors;
    QObject::connect(&check, &UpdateCheck::errorMessage,
                     [&](const QString& text) { errors << text; });
    EXPECT_TRUE(check.run());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Cannot create ")) << errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(toolPath()));
}

} // namespace
