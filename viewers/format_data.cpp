#include "format_data.h"

#include "view_data.h"

#include <algorithm>

namespace {

constexpr int kValuesPerLine = 10;
constexpr int kFirstDataLine = 110;

// The line number right-aligned in five characters, as "%5d" gives it.
void AppendLineNumber(QByteArray& line, int number)
{
    const QByteArray digits = QByteArray::number(number);
    if (digits.size() < 5)
        line.append(5 - digits.size(), ' ');
    line.append(digits);
}

}  // namespace

QByteArrayList DataLoaderLines(QByteArrayView data)
{
    const qsizetype count = data.size();
    QByteArrayList lines;
    lines.reserve(7 + (count + kValuesPerLine - 1) / kValuesPerLine);
    for (const char* fixed : {"   10 RESTORE 100", "   20 READ a,b", "   30 FOR i=a+b*256",
                              "   40 READ c", "   50 NEXT i", "   60 STOP"})
        lines.append(QByteArray(fixed));
    lines.append("  100 DATA " + QByteArray::number(count % 256) + ',' +
                 QByteArray::number(count / 256));

    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    int lineNumber = kFirstDataLine;
    for (qsizetype first = 0; first < count; first += kValuesPerLine, ++lineNumber) {
        const qsizetype last = std::min(first + kValuesPerLine, count);
        QByteArray line;
        line.reserve(11 + 4 * kValuesPerLine);
        AppendLineNumber(line, lineNumber);
        line.append(" DATA ");
        for (qsizetype i = first; i < last; ++i) {
            if (i > first)
                line.append(',');
            line.append(QByteArray::number(bytes[i]));
        }
        lines.append(std::move(line));
    }
    return lines;
}

QByteArrayList FormatData(const QString& path, const QString& typeName, quint32 length)
{
    return DataLoaderLines(ReadViewData(path, HasPlus3DosHeader(typeName), length));
}
