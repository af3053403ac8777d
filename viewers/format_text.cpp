#include "format_text.h"

#include "view_chars.h"
#include "view_data.h"

#include <algorithm>

QByteArrayList TextLines(QByteArrayView data)
{
    const char* const begin = data.data();
    const char* const end = begin + data.size();
    QByteArrayList lines;
    lines.reserve(std::count(begin, end, '\r') + 1);

    const auto appendLine = [&lines](const char* from, const char* to) {
        QByteArray line(to - from, Qt::Uninitialized);
        std::transform(from, to, line.data(),
                       [](char c) { return ShownChar(static_cast<unsigned char>(c)); });
        lines.append(std::move(line));
    };
    const char* lineBegin = begin;
    for (const char* p = begin; p != end; ++p) {
        if (*p == '\r') {
            appendLine(lineBegin, p);
            lineBegin = p + 1;
        }
    }
    if (lineBegin != end)
        appendLine(lineBegin, end);
    return lines;
}

QByteArrayList FormatText(const QString& path, const QString& typeName, quint32 length)
{
    return TextLines(ReadViewData(path, HasPlus3DosHeader(typeName), length));
}
