#include "format_hexdump.h"

#include "view_chars.h"
#include "view_data.h"

namespace {

constexpr int kRowBytes = 16;

// Offset digits: at least four, more when the offset needs them.
void AppendOffset(QByteArray& row, quint32 offset)
{
    int digits = 4;
    while (digits < 8 && (offset >> (4 * digits)) != 0)
        ++digits;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        row.append(HexDigit(offset >> shift));
}

// One row for `count` (0..16) bytes from `bytes` at `offset`.
QByteArray HexRow(quint32 offset, const unsigned char* bytes, int count)
{
    QByteArray row;
    row.reserve(80);
    AppendOffset(row, offset);
    row.append(" | ");
    for (int i = 0; i < kRowBytes; ++i) {
        const unsigned byte = i < count ? bytes[i] : 0;
        row.append(HexDigit(byte >> 4));
        row.append(HexDigit(byte));
        row.append(' ');
        if (i == 7)
            row.append(' ');
    }
    row.append(" | ");
    for (int i = 0; i < kRowBytes; ++i)
        row.append(i < count ? ShownChar(bytes[i]) : kMiddleDot);
    return row;
}

}  // namespace

QByteArrayList HexDumpLines(QByteArrayView data)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    const qsizetype size = data.size();
    const qsizetype fullRows = size / kRowBytes;

    QByteArrayList rows;
    rows.reserve(fullRows + 1);
    for (qsizetype r = 0; r < fullRows; ++r)
        rows.append(HexRow(static_cast<quint32>(r * kRowBytes), bytes + r * kRowBytes, kRowBytes));
    const qsizetype rest = size - fullRows * kRowBytes;
    rows.append(HexRow(static_cast<quint32>(fullRows * kRowBytes), bytes + fullRows * kRowBytes,
                       static_cast<int>(rest)));
    return rows;
}

QByteArrayList FormatHexDump(const QString& path, const QString& typeName, quint32 length)
{
    return HexDumpLines(ReadViewData(path, HasPlus3DosHeader(typeName), length));
}
