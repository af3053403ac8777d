// Program bytes to the text form. Each line is listed readably first; when
// tokenising that text would not give back the line's exact bytes (spaces
// typed between keywords, names that spell keywords, numbers without their
// hidden form and other oddities), the line is written as byte codes.
#include "basic_number.h"
#include "basic_text.h"
#include "basic_tokens.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace basic {

namespace {

constexpr uint8_t kNumberMarker = 0x0E;
constexpr uint8_t kRem = 0xEA;
constexpr uint8_t kDefFn = 0xCE;
constexpr uint8_t kBin = 0xC4;

bool isAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

void appendCode(std::string& out, uint8_t b) { out += "\\{" + std::to_string(b) + "}"; }

void appendHidden(std::string& out, const uint8_t* five)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X%02X%02X", five[0], five[1], five[2], five[3], five[4]);
    out += "\\#";
    out += buf;
}

// One character of a string, a REM or a code position that has no meaning
// of its own: printable ASCII as it is, the rest as escapes.
void appendChar(std::string& out, uint8_t b)
{
    static constexpr const char* kBlocks[16] = {"  ", " '", "' ", "''", " .", " :", "'.", "':",
                                                ". ", ".'", ": ", ":'", "..", ".:", ":.", "::"};
    if (b == '\\')
        out += "\\\\";
    else if (b == 0x60)
        out += "\xC2\xA3";  // £
    else if (b == 0x7F)
        out += "\xC2\xA9";  // ©
    else if (b >= 0x20 && b < 0x7F)
        out.push_back(char(b));
    else if (b >= 0x80 && b < 0x90)
        out += std::string("\\") + kBlocks[b - 0x80];
    else if (b >= 0x90 && b <= 0xA4)
        out += std::string("\\") + char('a' + (b - 0x90));
    else
        appendCode(out, b);
}

// Bytes of parameters that follow a control code: INK..OVER one, AT and TAB two.
int controlParameters(uint8_t b)
{
    if (b >= 0x10 && b <= 0x15)
        return 1;
    if (b == 0x16 || b == 0x17)
        return 2;
    return 0;
}

// The length of a number's text at p, by the tokeniser's rule.
size_t numberLength(const uint8_t* p, const uint8_t* end)
{
    const uint8_t* q = p;
    while (q < end && isDigit(*q))
        ++q;
    if (q < end && *q == '.') {
        ++q;
        while (q < end && isDigit(*q))
            ++q;
    }
    if (q < end && (*q == 'e' || *q == 'E')) {
        const uint8_t* k = q + 1;
        if (k < end && (*k == '+' || *k == '-'))
            ++k;
        if (k < end && isDigit(*k)) {
            while (k < end && isDigit(*k))
                ++k;
            q = k;
        }
    }
    return size_t(q - p);
}

class LineLister {
public:
    LineLister(const uint8_t* begin, const uint8_t* end) : p_(begin), end_(end) {}

    std::string run()
    {
        while (p_ < end_) {
            if (inRem_ || inString_)
                textByte();
            else
                codeByte();
        }
        finish();
        return std::move(out_);
    }

private:
    void flushSpace()
    {
        if (pendingSpace_ && !out_.empty() && out_.back() != ' ')
            out_.push_back(' ');
        pendingSpace_ = false;
    }

    void put(const std::string& s)
    {
        flushSpace();
        out_ += s;
    }

    // A control code and its parameters, all as escapes.
    bool control()
    {
        const int params = controlParameters(*p_);
        if (params == 0)
            return false;
        flushSpace();
        appendCode(out_, *p_++);
        for (int k = 0; k < params && p_ < end_; ++k)
            appendCode(out_, *p_++);
        return true;
    }

    void textByte()
    {
        if (control())
            return;
        const uint8_t b = *p_++;
        flushSpace();
        if (b == '"' && inString_)
            inString_ = false;
        appendChar(out_, b);
    }

    void keyword(uint8_t token)
    {
        if (!out_.empty() && out_.back() != ' ')
            pendingSpace_ = true;
        put(std::string(BasicKeyword(token)));
        if (token == kRem) {
            inRem_ = true;
            if (p_ < end_) {
                out_.push_back(' ');  // the one space the tokeniser takes after REM
                keepLength_ = out_.size();
            }
            return;
        }
        pendingSpace_ = true;
        if (token == kDefFn)
            inDefFn_ = true;
        if (token == kBin)
            binary();
    }

    // The digits after BIN with their hidden value.
    void binary()
    {
        const uint8_t* q = p_;
        uint64_t value = 0;
        while (q < end_ && (*q == '0' || *q == '1'))
            value = (value << 1 | uint64_t(*q++ - '0')) & 0xFFFFFFFFFFFFull;
        if (end_ - q < 6 || *q != kNumberMarker)
            return;  // no hidden form: left to the check of the whole line
        flushSpace();
        out_.append(reinterpret_cast<const char*>(p_), size_t(q - p_));
        const NumberBytes expected = wholeNumber(value);
        if (!std::equal(expected.begin(), expected.end(), q + 1))
            appendHidden(out_, q + 1);
        p_ = q + 6;
    }

    // The plain bytes from the one just read (p_ - 1) on would be read as a keyword.
    bool spellsKeyword() const
    {
        const uint8_t* q = p_ - 1;
        std::string rest;
        while (q < end_ && *q >= 0x20 && *q < 0x7F && *q != ' ' && rest.size() < 12)
            rest.push_back(char(*q++));
        const bool letterBefore = !pendingSpace_ && !out_.empty() && std::isalpha(static_cast<unsigned char>(out_.back()));
        return keywordLength(rest, letterBefore) > 0;
    }

    bool numberStartsHere() const
    {
        const uint8_t b = *p_;
        if (!(isDigit(b) || (b == '.' && p_ + 1 < end_ && isDigit(p_[1]))))
            return false;
        const std::string& o = out_;
        const char before = pendingSpace_ ? ' ' : (o.empty() ? ' ' : o.back());
        return !isAlnum(before);
    }

    void codeByte()
    {
        if (control())
            return;
        const uint8_t b = *p_;
        if (b >= kFirstBasicToken) {
            ++p_;
            keyword(b);
            return;
        }
        if (numberStartsHere()) {
            const size_t n = numberLength(p_, end_);
            const uint8_t* marker = p_ + n;
            flushSpace();
            if (end_ - marker >= 6 && *marker == kNumberMarker) {
                const std::string text(reinterpret_cast<const char*>(p_), n);
                out_ += text;
                const auto expected = romNumber(text);
                if (!expected || !std::equal(expected->begin(), expected->end(), marker + 1))
                    appendHidden(out_, marker + 1);
                p_ = marker + 6;
            } else {
                // Digits the tokeniser would take for a number that has no
                // hidden form: byte codes keep them plain.
                for (size_t k = 0; k < n; ++k)
                    appendCode(out_, *p_++);
            }
            return;
        }
        if (b == kNumberMarker && end_ - p_ >= 6) {
            const uint8_t* five = p_ + 1;
            const bool parameterSlot = inDefFn_ && end_ - p_ >= 7 && (p_[6] == ',' || p_[6] == ')') &&
                                       !out_.empty() && out_.back() != '(' &&
                                       std::all_of(five, five + 5, [](uint8_t v) { return v == 0; });
            if (!parameterSlot) {
                flushSpace();
                appendHidden(out_, five);
            }
            p_ += 6;
            return;
        }
        ++p_;
        if (inDefFn_ && (b == '=' || b == ':'))
            inDefFn_ = false;
        if (b == '"') {
            inString_ = true;
            put("\"");
        } else if (b == ' ') {
            flushSpace();
            appendCode(out_, b);
        } else if ((std::isalpha(b) || b == '<' || b == '>') && spellsKeyword()) {
            // A name such as "at" or "pi", or < and > typed apart: the first
            // character as a byte code keeps the tokeniser from reading a
            // keyword there.
            flushSpace();
            appendCode(out_, b);
        } else {
            flushSpace();
            appendChar(out_, b);
        }
    }

    // Trailing spaces would be lost to editors and a final backslash would
    // join the next line: both become byte codes.
    void finish()
    {
        size_t spaces = 0;
        while (out_.size() > keepLength_ && out_.back() == ' ') {
            out_.pop_back();
            ++spaces;
        }
        if (out_.size() >= 2 && out_.compare(out_.size() - 2, 2, "\\\\") == 0) {
            out_.resize(out_.size() - 2);
            appendCode(out_, '\\');
        }
        for (size_t k = 0; k < spaces; ++k)
            appendCode(out_, ' ');
    }

    const uint8_t* p_;
    const uint8_t* end_;
    std::string out_;
    bool pendingSpace_ = false;
    size_t keepLength_ = 0;  // finish() leaves this much alone
    bool inString_ = false;
    bool inRem_ = false;
    bool inDefFn_ = false;
};

std::string listBody(const uint8_t* begin, const uint8_t* end)
{
    std::string text = LineLister(begin, end).run();
    try {
        const std::vector<uint8_t> back = tokeniseBody(text);
        if (back.size() == size_t(end - begin) && std::equal(back.begin(), back.end(), begin))
            return text;
    } catch (const SyntaxError&) {
    }
    std::string codes;
    for (const uint8_t* p = begin; p < end; ++p)
        appendCode(codes, *p);
    return codes;
}

void appendHexLines(std::string& out, const char* directive, const uint8_t* p, size_t n)
{
    for (size_t k = 0; k < n; k += 32) {
        out += directive;
        for (size_t j = k; j < n && j < k + 32; ++j) {
            char buf[4];
            std::snprintf(buf, sizeof buf, " %02X", p[j]);
            out += buf;
        }
        out += '\n';
    }
}

}  // namespace

std::string listProgram(const Program& program)
{
    std::string out;
    if (program.autostart != Program::kNoAutostart)
        out += "#autostart " + std::to_string(program.autostart) + "\n";
    const std::vector<uint8_t>& b = program.lines;
    size_t offset = 0;
    int previous = -1;
    while (b.size() - offset >= 4) {
        const int number = b[offset] << 8 | b[offset + 1];
        const size_t length = size_t(b[offset + 2] | b[offset + 3] << 8);
        const size_t textEnd = offset + 4 + length;
        // A line the text form cannot carry (number out of order or out of
        // range, no final 0x0D) ends the lines: the rest is the tail.
        if (number > kMaxLineNumber || number <= previous || length == 0 || textEnd > b.size() ||
            b[textEnd - 1] != 0x0D)
            break;
        out += std::to_string(number);
        const std::string body = listBody(b.data() + offset + 4, b.data() + textEnd - 1);
        if (!body.empty())
            out += " " + body;
        out += '\n';
        previous = number;
        offset = textEnd;
    }
    appendHexLines(out, "#tail", b.data() + offset, b.size() - offset);
    appendHexLines(out, "#variables", program.variables.data(), program.variables.size());
    return out;
}

}  // namespace basic
