#include "format_basic.h"

#include "basic_tokens.h"
#include "text_utils.h"
#include "view_chars.h"
#include "view_data.h"

#include <algorithm>

namespace {

constexpr unsigned char kNumberMarker = 0x0E;  // followed by the 5-byte value
constexpr int kNumberValueSize = 5;
constexpr unsigned char kRemToken = 0xEA;
constexpr int kLineHeaderSize = 4;

// The line number right-aligned in 4 characters; a number of more than four
// digits keeps its first four.
void AppendLineNumber(QByteArray& out, unsigned number)
{
    out.append(PadLeft(QByteArray::number(number), 4));
}

// Decodes the text bytes [begin, end) of one line into `out`.
void DecodeLineText(QByteArray& out, const unsigned char* begin, const unsigned char* end)
{
    unsigned char statementKeyword = 0;  // first keyword token of the statement, 0 for none
    for (const unsigned char* p = begin; p < end; ++p) {
        const unsigned char byte = *p;
        if (byte == kNumberMarker) {
            // The digits were listed as typed; the internal form is not shown.
            p += std::min<std::ptrdiff_t>(kNumberValueSize, end - p - 1);
        } else if (byte < 0x20) {
            // Control code: dropped; its parameters decode as ordinary bytes.
        } else if (byte < 0x7F) {
            out.append(static_cast<char>(byte));
            if (byte == ':')
                statementKeyword = 0;
        } else if (byte == 0x7F) {
            out.append(kCopyright);
        } else if (byte < kFirstBasicToken) {
            if (statementKeyword == kRemToken) {
                out.append(static_cast<char>(byte));
            } else {
                out.append("\"+CHR ");
                out.append(QByteArray::number(byte));
                out.append("+\"");
            }
        } else {
            const std::string_view keyword = BasicKeyword(byte);
            out.append(' ');
            out.append(keyword.data(), static_cast<qsizetype>(keyword.size()));
            out.append(' ');
            if (statementKeyword == 0)
                statementKeyword = byte;
        }
    }
}

}  // namespace

QByteArrayList BasicListing(QByteArrayView program)
{
    QByteArrayList lines;
    const auto* data = reinterpret_cast<const unsigned char*>(program.data());
    const qsizetype size = program.size();

    qsizetype offset = 0;
    while (size - offset >= kLineHeaderSize) {
        const unsigned number = (data[offset] << 8) | data[offset + 1];
        const qsizetype length = data[offset + 2] | (data[offset + 3] << 8);
        const qsizetype textBegin = offset + kLineHeaderSize;
        const qsizetype textEnd = textBegin + length;
        // The final 0x0D is not decoded; a text cut short by the end of the
        // data is decoded up to its last byte.
        const qsizetype decodeEnd =
            textEnd <= size ? std::max(textBegin, textEnd - 1) : size;

        QByteArray line;
        line.reserve(5 + 2 * (decodeEnd - textBegin) + 16);
        AppendLineNumber(line, number);
        line.append(' ');
        DecodeLineText(line, data + textBegin, data + decodeEnd);
        lines.append(std::move(line));
        offset = textEnd;
    }
    return lines;
}

QByteArrayList FormatBasic(const QString& path, quint32 programLength)
{
    return BasicListing(ReadViewData(path, true, programLength));
}
