#include "copy_report.h"

#include <gtest/gtest.h>

// The texts for two failures are checked through the commands; here the rest.
TEST(CopyReport, AbortedRunsAndLongFailureLists)
{
    CopyReport report;
    report.copied();
    EXPECT_EQ(report.statusText(true).toStdString(), "Copy aborted");
    for (int i = 0; i < CopyReport::kListedFailures + 3; ++i)
        report.failed(QStringLiteral("P\\F%1").arg(i), QStringLiteral("gone"));
    EXPECT_EQ(report.statusText(true).toStdString(),
              "Copy aborted, 13 of 14 not copied: P\\F0: gone");
    const QString text = report.failureText();
    EXPECT_TRUE(text.contains(QStringLiteral("P\\F9: gone")));
    EXPECT_FALSE(text.contains(QStringLiteral("P\\F10")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n... and 3 more")));
}
