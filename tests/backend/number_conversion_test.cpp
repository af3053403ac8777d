#include <gtest/gtest.h>

#include "app_error.h"
#include "number_conversion.h"

#include <functional>

namespace {

QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

TEST(NumberConversion, IntegersInTheirForms)
{
    EXPECT_EQ(FieldToInt64(QStringLiteral("528482304")), 528482304);
    EXPECT_EQ(FieldToInt64(QStringLiteral("  -12")), -12);
    EXPECT_EQ(FieldToInt64(QStringLiteral("+7")), 7);
    EXPECT_EQ(FieldToInt64(QStringLiteral("9223372036854775807")), INT64_MAX);
    EXPECT_EQ(FieldToInt64(QStringLiteral("-9223372036854775808")), INT64_MIN);
    EXPECT_EQ(FieldToInt32(QStringLiteral("2147483647")), 2147483647);
}

TEST(NumberConversion, NonIntegersRaiseTheirText)
{
    for (const char* text : {"", " ", "12 ", "1.5", "0x10", "-", "1,000", "9223372036854775808"}) {
        const QString field = QString::fromLatin1(text);
        EXPECT_EQ(ErrorOf([&] { FieldToInt64(field); }),
                  QStringLiteral("'%1' is not a valid integer value").arg(field))
            << text;
    }
    EXPECT_EQ(ErrorOf([] { FieldToInt32(QStringLiteral("2147483648")); }),
              QStringLiteral("'2147483648' is not a valid integer value"));
}

TEST(NumberConversion, FloatingPoint)
{
    EXPECT_DOUBLE_EQ(FieldToFloat(QStringLiteral(" 6912 ")), 6912.0);
    EXPECT_DOUBLE_EQ(FieldToFloat(QStringLiteral("-1.5e3")), -1500.0);
    EXPECT_DOUBLE_EQ(FieldToFloat(QStringLiteral(".5")), 0.5);
    for (const char* text : {"", "abc", "inf", "nan", "0x1p3", "1e", "1,5", "."}) {
        const QString field = QString::fromLatin1(text);
        EXPECT_EQ(ErrorOf([&] { FieldToFloat(field); }),
                  QStringLiteral("'%1' is not a valid floating point value").arg(field))
            << text;
    }
}

TEST(NumberConversion, NeverFailingConversionGivesZero)
{
    EXPECT_EQ(FieldToIntOrZero(QStringLiteral("255")), 255);
    EXPECT_EQ(FieldToIntOrZero(QStringLiteral("x")), 0);
    EXPECT_EQ(FieldToIntOrZero(QString()), 0);
}

} // namespace
