#include <gtest/gtest.h>

#include "app_error.h"
#include "text_utils.h"

#include <QLocale>

namespace {

// Sets the default locale for one test and restores it afterwards.
class LocaleTest : public ::testing::Test
{
protected:
    void TearDown() override { QLocale::setDefault(saved_); }
    void Use(QLocale::Language language, QLocale::Territory territory)
    {
        QLocale::setDefault(QLocale(language, territory));
    }

private:
    QLocale saved_;
};

TEST(PadText, CutsOrPadsToTheWidth)
{
    EXPECT_EQ(PadRight(QStringLiteral("ABCDEFGHIJK"), 10), QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(PadRight(QStringLiteral("ab"), 4), QStringLiteral("ab  "));
    EXPECT_EQ(PadRight(QByteArray("name"), 10), QByteArray("name      "));
    EXPECT_EQ(PadLeft(QStringLiteral("12345"), 3), QStringLiteral("123"));
    EXPECT_EQ(PadLeft(QStringLiteral("7"), 4), QStringLiteral("   7"));
    EXPECT_EQ(PadLeft(QByteArray("7"), 2), QByteArray(" 7"));
    EXPECT_EQ(PadLeftInt(10, 4), QStringLiteral("  10"));
    EXPECT_EQ(PadLeftInt(12345, 4), QStringLiteral("1234"));
    EXPECT_EQ(PadRight(QStringLiteral("x"), -1), QString());
}

TEST_F(LocaleTest, GroupedToIntWithAPointSeparator)
{
    Use(QLocale::German, QLocale::Germany);
    EXPECT_EQ(GroupedToInt(QStringLiteral("1.234.567")), 1234567);
    EXPECT_EQ(GroupedToInt(QStringLiteral("  6.912")), 6912);
    EXPECT_EQ(GroupedToInt(QStringLiteral("1,234")), 0); // a comma is no separator here
}

TEST_F(LocaleTest, GroupedToIntWithACommaSeparator)
{
    Use(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(GroupedToInt(QStringLiteral("1,234,567")), 1234567);
    EXPECT_EQ(GroupedToInt(QStringLiteral("  128")), 128);
    EXPECT_EQ(GroupedToInt(QStringLiteral("-1,000")), -1000);
    EXPECT_EQ(GroupedToInt(QStringLiteral("+5")), 5);
    EXPECT_EQ(GroupedToInt(QString()), 0);
    EXPECT_EQ(GroupedToInt(QStringLiteral("   ")), 0);
    EXPECT_EQ(GroupedToInt(QStringLiteral("12 MB")), 0);
    EXPECT_EQ(GroupedToInt(QStringLiteral("1024/16")), 0);
}

TEST_F(LocaleTest, FormatGroupedReadsBackThroughGroupedToInt)
{
    Use(QLocale::German, QLocale::Germany);
    EXPECT_EQ(FormatGrouped(128, 5), QStringLiteral("  128"));
    EXPECT_EQ(FormatGrouped(6912, 5), QStringLiteral("6.912"));
    EXPECT_EQ(FormatGrouped(528482304, 5), QStringLiteral("528.482.304"));
    EXPECT_EQ(FormatGrouped(0, 5), QStringLiteral("    0"));
    EXPECT_EQ(FormatGrouped(123456, 1), QStringLiteral("123.456"));
    EXPECT_EQ(FormatGrouped(-1234, 1), QStringLiteral("-1.234"));
    EXPECT_EQ(FormatGrouped(2.5, 1), QStringLiteral("3"));
    EXPECT_EQ(FormatGrouped(-0.4, 1), QStringLiteral("0"));
    for (qint64 n : {0LL, 7LL, 999LL, 1000LL, 65535LL, 1234567LL, 4294967296LL})
        EXPECT_EQ(GroupedToInt(FormatGrouped(double(n), 5)), n) << n;

    Use(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatGrouped(6912, 5), QStringLiteral("6,912"));
    EXPECT_EQ(GroupedToInt(FormatGrouped(1234567, 5)), 1234567);
}

TEST_F(LocaleTest, FormatGroupedFieldRefusesNonNumbers)
{
    Use(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(FormatGroupedField(QStringLiteral("1536"), 5), QStringLiteral("1,536"));
    try {
        FormatGroupedField(QStringLiteral("12a"), 5);
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'12a' is not a valid floating point value"));
    }
}

TEST(GetEnvVar, ValueOrEmpty)
{
    qputenv("HARNWICK_TEST_VAR", "/tmp/some where");
    EXPECT_EQ(GetEnvVar(QStringLiteral("HARNWICK_TEST_VAR")), QStringLiteral("/tmp/some where"));
    qunsetenv("HARNWICK_TEST_VAR");
    EXPECT_EQ(GetEnvVar(QStringLiteral("HARNWICK_TEST_VAR")), QString());
}

} // namespace
