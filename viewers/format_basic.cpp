#include "format_basic.h"

#include "basic_tokens.h"
#include "view_chars.h"
#include "view_data.h"

#include <algorithm>
#include <array>

namespace {

constexpr unsigned char kNumberMarker = 0x0E;  // followed by the 5-byte value
constexpr int kNumberValueSize = 5;
constexpr unsigned char kRemToken = 0xEA;
constexpr unsigned char kThenToken = 0xCB;  // what follows THEN is a statement of its own
constexpr int kLineHeaderSize = 4;

// The control codes that take parameters: INK, PAPER, FLASH, BRIGHT, INVERSE
// and OVER one byte each, AT (line, column) and TAB (column, low byte first)
// two each.
constexpr unsigned char kFirstControlWithParameters = 0x10;
constexpr unsigned char kAtCode = 0x16;
constexpr unsigned char kTabCode = 0x17;
constexpr std::array<const char*, 8> kControlNames = {"INK",     "PAPER", "FLASH", "BRIGHT",
                                                      "INVERSE", "OVER",  "AT",    "TAB"};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The line number right-aligned in 4 characters; a longer number is whole.
void AppendLineNumber(QByteArray& out, unsigned number)
{
    const QByteArray digits = QByteArray::number(number);
    if (digits.size() < 4)
        out.append(4 - digits.size(), ' ');
    out.append(digits);
}

// Decodes the text of one line into `out`. With `spans`, it also records the
// pieces to colour and shows the control codes that take parameters in braces.
class LineDecoder
{
public:
    LineDecoder(QByteArray& out, QList<BasicSpan>* spans) : out_(out), spans_(spans) {}

    void Decode(const unsigned char* begin, const unsigned char* end)
    {
        for (const unsigned char* p = begin; p < end; ++p) {
            const unsigned char byte = *p;
            if (byte == kNumberMarker) {
                // The digits were listed as typed; the internal form is not shown.
                if (region_ == Region::None)
                    MarkNumber();
                p += std::min<std::ptrdiff_t>(kNumberValueSize, end - p - 1);
            } else if (byte >= kFirstControlWithParameters && byte <= kTabCode) {
                const int wanted = byte >= kAtCode ? 2 : 1;
                const int count = static_cast<int>(std::min<std::ptrdiff_t>(wanted, end - p - 1));
                if (spans_)
                    ShowControl(byte, p + 1, count);
                p += count;
            } else if (byte < 0x20) {
                // Other control codes take no parameters and are not shown.
            } else if (byte < 0x7F) {
                AppendPlain(byte);
            } else if (byte == 0x7F) {
                out_.append(kCopyright);
            } else if (byte < kFirstBasicToken) {
                if (statementKeyword_ == kRemToken) {
                    out_.append(static_cast<char>(byte));
                } else {
                    out_.append("\"+CHR ");
                    out_.append(QByteArray::number(byte));
                    out_.append("+\"");
                }
            } else {
                AppendKeyword(byte);
            }
        }
        CloseRegion();
    }

private:
    enum class Region { None, String, Rem };

    void AppendPlain(unsigned char byte)
    {
        out_.append(static_cast<char>(byte));
        if (statementKeyword_ == kRemToken)
            return;
        if (byte == '"') {
            if (region_ == Region::String) {
                CloseRegion();
            } else {
                OpenRegion(Region::String, out_.size() - 1);
            }
        } else if (byte == ':' && region_ != Region::String) {
            statementKeyword_ = 0;
        }
    }

    void AppendKeyword(unsigned char byte)
    {
        const std::string_view keyword = BasicKeyword(byte);
        out_.append(' ');
        const qsizetype start = out_.size();
        out_.append(keyword.data(), static_cast<qsizetype>(keyword.size()));
        if (statementKeyword_ == 0 && region_ != Region::String) {
            statementKeyword_ = byte;
            if (byte == kRemToken)
                OpenRegion(Region::Rem, start);
        }
        if (region_ == Region::None)
            AddSpan(start, out_.size(), BasicSyntax::Keyword);
        out_.append(' ');
        if (byte == kThenToken && region_ == Region::None)
            statementKeyword_ = 0;
    }

    // The typed digits just before a number's 0x0E: digits and points, with
    // an exponent ("1e5", "2E-3") taken in whole.
    void MarkNumber()
    {
        if (!spans_)
            return;
        const qsizetype floor = lastSpanEnd_;
        const auto skipMantissa = [&](qsizetype i) {
            while (i > floor && (IsDigit(out_[i - 1]) || out_[i - 1] == '.'))
                --i;
            return i;
        };
        qsizetype start = skipMantissa(out_.size());
        qsizetype e = start;
        if (e > floor && (out_[e - 1] == '+' || out_[e - 1] == '-'))
            --e;
        if (e - 1 > floor && (out_[e - 1] == 'e' || out_[e - 1] == 'E') &&
            (IsDigit(out_[e - 2]) || out_[e - 2] == '.'))
            start = skipMantissa(e - 1);
        AddSpan(start, out_.size(), BasicSyntax::Number);
    }

    void ShowControl(unsigned char code, const unsigned char* parameters, int count)
    {
        const Region around = region_;
        CloseRegion();
        const qsizetype start = out_.size();
        out_.append('{');
        out_.append(kControlNames[code - kFirstControlWithParameters]);
        if (code == kTabCode && count == 2) {
            out_.append(' ');
            out_.append(QByteArray::number(parameters[0] | parameters[1] << 8));
        } else {
            for (int i = 0; i < count; ++i) {
                out_.append(i == 0 ? ' ' : ',');
                out_.append(QByteArray::number(parameters[i]));
            }
        }
        out_.append('}');
        AddSpan(start, out_.size(), BasicSyntax::ControlCode);
        if (around != Region::None)
            OpenRegion(around, out_.size());
    }

    void OpenRegion(Region region, qsizetype start)
    {
        region_ = region;
        regionStart_ = start;
    }

    void CloseRegion()
    {
        if (region_ != Region::None)
            AddSpan(regionStart_, out_.size(),
                    region_ == Region::String ? BasicSyntax::String : BasicSyntax::Rem);
        region_ = Region::None;
    }

    void AddSpan(qsizetype start, qsizetype end, BasicSyntax kind)
    {
        if (!spans_ || end <= start)
            return;
        spans_->append({static_cast<int>(start), static_cast<int>(end - start), kind});
        lastSpanEnd_ = end;
    }

    QByteArray& out_;
    QList<BasicSpan>* spans_;
    unsigned char statementKeyword_ = 0;  // first keyword token of the statement, 0 for none
    Region region_ = Region::None;
    qsizetype regionStart_ = 0;
    qsizetype lastSpanEnd_ = 0;
};

// Lists every line of `program`, handing each line's text (and spans, when
// `withSpans`) to `take`.
template <typename Emit>
void ListLines(QByteArrayView program, bool withSpans, Emit take)
{
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
        line.reserve(6 + 2 * (decodeEnd - textBegin) + 16);
        QList<BasicSpan> spans;
        AppendLineNumber(line, number);
        if (withSpans) {
            const qsizetype digits = line.size() - line.lastIndexOf(' ') - 1;
            spans.append({static_cast<int>(line.size() - digits), static_cast<int>(digits),
                          BasicSyntax::LineNumber});
        }
        line.append(' ');
        LineDecoder(line, withSpans ? &spans : nullptr).Decode(data + textBegin, data + decodeEnd);
        take(std::move(line), std::move(spans));
        offset = textEnd;
    }
}

}  // namespace

QByteArrayList BasicListing(QByteArrayView program)
{
    QByteArrayList lines;
    ListLines(program, false,
              [&lines](QByteArray&& text, QList<BasicSpan>&&) { lines.append(std::move(text)); });
    return lines;
}

QList<BasicSyntaxLine> BasicSyntaxListing(QByteArrayView program)
{
    QList<BasicSyntaxLine> lines;
    ListLines(program, true, [&lines](QByteArray&& text, QList<BasicSpan>&& spans) {
        lines.append({std::move(text), std::move(spans)});
    });
    return lines;
}

QByteArrayList FormatBasic(const QString& path, quint32 programLength)
{
    return BasicListing(ReadViewData(path, true, programLength));
}
