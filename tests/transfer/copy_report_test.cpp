#include "copy_report.h"

#include <gtest/gtest.h>

TEST(CopyReport, SaysCompletedOrAbortedOnlyWhenNothingFailed)
{
    CopyReport report;
    report.copied();
    report.copied();
    EXPECT_EQ(report.statusText(false).toStdString(), "Copy completed");
    EXPECT_EQ(report.statusText(true).toStdString(), "Copy aborted");
    EXPECT_TRUE(report.failureText().isEmpty());

    report.failed(QStringLiteral("GAMES\\B.BIN"), QStringLiteral("Fatal Error: no such file"));
    report.failed(QStringLiteral("GAMES\\C.BIN"), QStringLiteral("the disk tool wrote no file"));
    EXPECT_EQ(report.statusText(false).toStdString(),
              "Copy incomplete, 2 of 4 not copied: GAMES\\B.BIN: Fatal Error: no such file");
    EXPECT_EQ(report.statusText(true).toStdString(),
              "Copy aborted, 2 of 4 not copied: GAMES\\B.BIN: Fatal Error: no such file");
    EXPECT_EQ(report.failureText().toStdString(), "2 of 4 could not be copied:\r\n"
                                                  "\r\nGAMES\\B.BIN: Fatal Error: no such file"
                                                  "\r\nGAMES\\C.BIN: the disk tool wrote no file");
}

TEST(CopyReport, ListsTheFirstFailuresAndCountsTheRest)
{
    CopyReport report;
    for (int i = 0; i < CopyReport::kListedFailures + 3; ++i)
        report.failed(QStringLiteral("P\\F%1").arg(i), QStringLiteral("gone"));
    const QString text = report.failureText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("13 of 13 could not be copied:")));
    EXPECT_TRUE(text.contains(QStringLiteral("P\\F9: gone")));
    EXPECT_FALSE(text.contains(QStringLiteral("P\\F10")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n... and 3 more")));
}
