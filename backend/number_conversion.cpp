#include "number_conversion.h"

#include "app_error.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

bool IsBlank(QChar ch)
{
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}

bool IsDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

QString IntegerError(const QString& text)
{
    return QCoreApplication::translate("NumberConversion", "'%1' is not a valid integer value")
        .arg(text);
}

} // namespace

std::optional<qint64> ParseDecimalInt64(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return std::nullopt;
    // Accumulate as a negative number so that the most negative value fits.
    qint64 value = 0;
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    for (; i < n; ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        const int digit = text[i].unicode() - '0';
        if (value < (kMin + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == kMin)
        return std::nullopt;
    return -value;
}

std::optional<double> ParseDecimalDouble(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    // Check the form first; strtod would also take "inf", "nan" and hex.
    qsizetype i = begin;
    if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < end && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < end && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < end && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ++i;
        qsizetype expDigits = 0;
        while (i < end && IsDigit(text[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;
    const QByteArray ascii = text.sliced(begin, end - begin).toLatin1();
    // strtod follows LC_NUMERIC; the form checked above uses ".", which the
    // C locale reads. Qt programs keep LC_NUMERIC at "C".
    errno = 0;
    char* stop = nullptr;
    const double value = std::strtod(ascii.constData(), &stop);
    if (stop != ascii.constData() + ascii.size() || errno == ERANGE)
        return std::nullopt;
    return value;
}

qint64 FieldToInt64(const QString& text)
{
    const auto value = ParseDecimalInt64(text);
    if (!value)
        throw AppError(IntegerError(text));
    return *value;
}

qint32 FieldToInt32(const QString& text)
{
    const auto value = ParseDecimalInt64(text);
    if (!value || *value < std::numeric_limits<qint32>::min() ||
        *value > std::numeric_limits<qint32>::max())
        throw AppError(IntegerError(text));
    return static_cast<qint32>(*value);
}

double FieldToFloat(const QString& text)
{
    const auto value = ParseDecimalDouble(text);
    if (!value)
        throw AppError(QCoreApplication::translate("NumberConversion",
                                                   "'%1' is not a valid floating point value")
                           .arg(text));
    return *value;
}

qint64 FieldToIntOrZero(const QString& text)
{
    return ParseDecimalInt64(text).value_or(0);
}
