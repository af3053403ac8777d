#include "text_utils.h"

#include "number_conversion.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

template <class Text> Text PadRightImpl(const Text& text, int width)
{
    width = std::max(width, 0);
    Text result = text.left(width);
    result.append(Text(width - result.size(), ' '));
    return result;
}

template <class Text> Text PadLeftImpl(const Text& text, int width)
{
    width = std::max(width, 0);
    const Text kept = text.left(width);
    return Text(width - kept.size(), ' ') + kept;
}

} // namespace

QString PadRight(const QString& text, int width)
{
    return PadRightImpl(text, width);
}

QByteArray PadRight(const QByteArray& text, int width)
{
    return PadRightImpl(text, width);
}

QString PadLeft(const QString& text, int width)
{
    return PadLeftImpl(text, width);
}

QByteArray PadLeft(const QByteArray& text, int width)
{
    return PadLeftImpl(text, width);
}

QString PadLeftInt(qint64 value, int width)
{
    return PadLeft(QString::number(value), width);
}

qint64 GroupedToInt(const QString& text)
{
    QString rest = text;
    const QString separator = QLocale().groupSeparator();
    if (!separator.isEmpty())
        rest.remove(separator);
    return FieldToIntOrZero(rest);
}

QString FormatGrouped(double value, int width)
{
    double rounded = std::round(value);
    if (rounded == 0)
        rounded = 0; // no "-0"
    QString digits = QString::number(std::fabs(rounded), 'f', 0);
    const QString separator = QLocale().groupSeparator();
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, separator);
    if (rounded < 0)
        digits.prepend(QLatin1Char('-'));
    if (digits.size() < width)
        digits.prepend(QString(width - digits.size(), QLatin1Char(' ')));
    return digits;
}

QString FormatGroupedField(const QString& field, int width)
{
    return FormatGrouped(FieldToFloat(field), width);
}

QString GetEnvVar(const QString& name)
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString TrimBlanksAndControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}
