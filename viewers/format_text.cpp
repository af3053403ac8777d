#include "format_text.h"

#include "view_chars.h"
#include "view_data.h"

#include <algorithm>

QByteArrayList TextLines(QByteArrayView data)
{
    QByteArrayList lines;
    const char* const begin = data.data();
    const char* const end = begin + data.size();
    lines.reserve(std::count(begin, end, '\r') + 1);

    const char* lineBegin = begin;
    for (const char* p = begin; p <= end; ++p) {
        const bool atEnd = p == end;
        if (!atEnd && *p != '\r')
            continue;
        if (!atEnd || p > lineBegin) {
            QByteArray line(p - lineBegin, Qt::Uninitialized);
            std::transform(lineBegin, p, line.data(),
                           [](char c) { return ShownChar(static_cast<unsigned char>(c)); });
            lines.append(std::move(line));
        }
        lineBegin = p + 1;
    }
    return lines;
}

QByteArrayList FormatText(const QString& path, const QString& typeName, quint32 length)
{
    return TextLines(ReadViewData(path, HasPlus3DosHeader(typeName), length));
}
