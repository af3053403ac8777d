#include <gtest/gtest.h>

#include <QTimeZone>

#include "tool_timestamp.h"
#include "update_address.h"
#include "update_progress.h"

using namespace update;

namespace {
QDateTime utc(int year, int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}
} // namespace

struct ProgressCase
{
    qint64 received, total;
    std::optional<int> percent;
    const char* percentText;
    const char* statusText;
};

TEST(UpdateProgress, PercentRoundsHalvesToEvenAndTextsShowBytes)
{
    const ProgressCase cases[] = {
        {500, 1000, 50, "50%", "Check for 3E update (500/1000)"},
        {0, 1000, 0, "0%", "Check for 3E update (0/1000)"},
        {1000, 1000, 100, "100%", "Check for 3E update (1000/1000)"},
        {5, 1000, 0, "0%", "Check for 3E update (5/1000)"},   // 0.5 -> 0
        {15, 1000, 2, "2%", "Check for 3E update (15/1000)"}, // 1.5 -> 2
        {25, 1000, 2, "2%", "Check for 3E update (25/1000)"}, // 2.5 -> 2
        {1, 3, 33, "33%", "Check for 3E update (1/3)"},
        {2, 3, 67, "67%", "Check for 3E update (2/3)"},
        {7, 8, 88, "88%", "Check for 3E update (7/8)"}, // 87.5 -> 88
        {3000000000LL, 4000000000LL, 75, "75%", "Check for 3E update (3000000000/4000000000)"},
        // No Content-Length: bytes only, no percentage.
        {1234, 0, std::nullopt, "", "Check for 3E update (1234)"},
    };
    for (const ProgressCase& c : cases) {
        SCOPED_TRACE(c.statusText);
        const UpdateProgress progress = updateProgress(c.received, c.total);
        EXPECT_EQ(progress.percent, c.percent);
        EXPECT_EQ(progress.percentText(), QString(c.percentText));
        EXPECT_EQ(progress.statusText(), QString(c.statusText));
    }
}

struct ReportCase
{
    const char* what;
    QDateTime before; // invalid: no tool before, 1 January 1980 00:00
    QDateTime after;  // invalid: no tool afterwards
    const char* report;
};

TEST(ToolUpdateReport, ComparesUtcMinutesDateFirst)
{
    const ReportCase cases[] = {
        {"first install", {}, utc(2009, 3, 7, 14, 5), "3E.EXE updated (03/07/2009, 14.05)"},
        {"day above 12, month first",
         {},
         utc(2009, 3, 17, 9, 0),
         "3E.EXE updated (03/17/2009, 09.00)"},
        {"no tool afterwards", {}, {}, "No 3E.EXE update available"},
        {"same minute", utc(2009, 3, 17, 14, 5), utc(2009, 3, 17, 14, 5),
         "No 3E.EXE update available"},
        {"seconds later only", utc(2009, 3, 17, 14, 5, 1), utc(2009, 3, 17, 14, 5, 59),
         "No 3E.EXE update available"},
        {"seconds earlier only", utc(2009, 3, 17, 14, 5, 58), utc(2009, 3, 17, 14, 5, 10),
         "No 3E.EXE update available"},
        {"next minute", utc(2009, 3, 17, 14, 4, 59), utc(2009, 3, 17, 14, 5, 0),
         "3E.EXE updated (03/17/2009, 14.05)"},
        {"next day at midnight", utc(2009, 3, 17, 23, 59), utc(2009, 3, 18, 0, 0),
         "3E.EXE updated (03/18/2009, 00.00)"},
        // A day above 12 must not be read as a month: 13 January < 1 February.
        {"later month, smaller day", utc(2009, 1, 13, 10, 0), utc(2009, 2, 1, 9, 0),
         "3E.EXE updated (02/01/2009, 09.00)"},
        {"earlier month, larger day", utc(2009, 2, 1, 9, 0), utc(2009, 1, 13, 10, 0),
         "No 3E.EXE update available"},
        {"older tool installed", utc(2012, 6, 20, 8, 0), utc(2009, 3, 17, 14, 5),
         "No 3E.EXE update available"},
        {"later year, earlier month", utc(2009, 12, 31, 23, 0), utc(2010, 1, 1, 0, 30),
         "3E.EXE updated (01/01/2010, 00.30)"},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ToolTimestamp before =
            c.before.isValid() ? toolTimestampOf(c.before) : ToolTimestamp{};
        std::optional<ToolTimestamp> after;
        if (c.after.isValid())
            after = toolTimestampOf(c.after);
        EXPECT_EQ(toolUpdateReport(before, after), QString(c.report));
    }
}

TEST(ToolTimestamp, TakesUtcFieldsOfTimesInOtherZones)
{
    const QDateTime eastern(QDate(2009, 3, 18), QTime(1, 30, 45), QTimeZone(2 * 3600));
    const ToolTimestamp stamp = toolTimestampOf(eastern);
    EXPECT_EQ(stamp, (ToolTimestamp{2009, 3, 17, 23, 30}));
    EXPECT_EQ(ToolTimestamp{}, (ToolTimestamp{1980, 1, 1, 0, 0}));
}

TEST(UpdateAddress, BuiltInAddressUnlessTheEnvironmentReplacesIt)
{
    // Built without an address (the default): nothing is configured.
    qunsetenv(kUpdateUrlVariable);
    EXPECT_EQ(updateDownloadUrl(), QString::fromUtf8(kDefaultUpdateUrl));
    EXPECT_EQ(updateAddressConfigured(), !QString::fromUtf8(kDefaultUpdateUrl).isEmpty());
    qputenv(kUpdateUrlVariable, "");
    EXPECT_EQ(updateDownloadUrl(), QString::fromUtf8(kDefaultUpdateUrl));
    qputenv(kUpdateUrlVariable, "http://127.0.0.1:8080/x.zip");
    EXPECT_EQ(updateDownloadUrl(), QString("http://127.0.0.1:8080/x.zip"));
    EXPECT_TRUE(updateAddressConfigured());
    qunsetenv(kUpdateUrlVariable);
    EXPECT_EQ(updateDownloadFile("/home/me/start"), QString("/home/me/start/3E.ZIP"));
}

TEST(UpdateAddress, OnlyTheLoopbackMayBePlainHttp)
{
    const struct
    {
        const char* url;
        bool plainAllowed;
    } cases[] = {
        {"http://127.0.0.1:8080/x.zip", true},
        {"http://[::1]/x.zip", true},
        {"HTTP://127.0.0.1/x.zip", true},
        {"https://127.0.0.1/x.zip", false}, // https anyway
        {"http://localhost/x.zip", false},  // a name may resolve anywhere
        {"http://127.0.0.1.example.org/x.zip", false},
        {"http://192.0.2.1/x.zip", false},
        {"ftp://127.0.0.1/x.zip", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isLoopbackHttpAddress(QString::fromUtf8(c.url)), c.plainAllowed) << c.url;
}