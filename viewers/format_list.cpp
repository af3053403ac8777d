#include "format_list.h"

#include "view_chars.h"
#include "view_data.h"

QByteArrayList ListLines(QByteArrayView data)
{
    QByteArrayList lines;
    lines.reserve(data.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    for (qsizetype i = 0; i < data.size(); ++i) {
        const unsigned byte = bytes[i];
        const qsizetype position = i + 1;
        // "ppppp: ddd (HH) c": the position has at least five digits.
        char line[] = "00000:   0 (00)  ";
        qsizetype p = position;
        for (int d = 4; d >= 0; --d, p /= 10)
            line[d] = static_cast<char>('0' + p % 10);
        line[9] = static_cast<char>('0' + byte % 10);
        if (byte >= 10)
            line[8] = static_cast<char>('0' + byte / 10 % 10);
        if (byte >= 100)
            line[7] = static_cast<char>('0' + byte / 100);
        line[12] = HexDigit(byte >> 4);
        line[13] = HexDigit(byte);
        line[16] = ShownChar(static_cast<unsigned char>(byte));
        if (position <= 99999)
            lines.append(QByteArray(line, sizeof line - 1));
        else
            lines.append(QByteArray::number(position) + QByteArray(line + 5, sizeof line - 6));
    }
    return lines;
}

QByteArrayList FormatList(const QString& path, const QString& typeName, quint32 length)
{
    return ListLines(ReadViewData(path, HasPlus3DosHeader(typeName), length));
}
