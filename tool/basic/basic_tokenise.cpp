// Text to program bytes. The keyword, number and escape rules follow
// zmakebas 1.2 so that its texts give the same bytes; where zmakebas and
// the Spectrum disagree (the hidden form of fractions, VAL$, the five-byte
// slots after DEF FN parameters) the Spectrum's ROM is followed.
#include "basic_number.h"
#include "basic_text.h"
#include "basic_tokens.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace basic {

SyntaxError::SyntaxError(int line, int column, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what),
      line_(line), column_(column), message_(what)
{
}

namespace {

constexpr uint8_t kNumberMarker = 0x0E;
constexpr uint8_t kRem = 0xEA;
constexpr uint8_t kDefFn = 0xCE;
constexpr uint8_t kBin = 0xC4;

struct Spelling {
    std::string text;  // lower case
    uint8_t token;
};

// Every spelling of every keyword, longest first so that the first one that
// fits at a place is the longest (VAL$ before VAL, ATTR before AT).
const std::vector<Spelling>& spellings()
{
    static const std::vector<Spelling> table = [] {
        std::vector<Spelling> t;
        auto add = [&](std::string s, uint8_t token) {
            for (char& c : s)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            t.push_back({std::move(s), token});
        };
        for (size_t i = 0; i < BasicTokens.size(); ++i) {
            const uint8_t token = uint8_t(kFirstBasicToken + i);
            const std::string k(BasicTokens[i]);
            add(k, token);
            if (k == "GO TO" || k == "GO SUB" || k == "DEF FN" || k == "OPEN #" || k == "CLOSE #") {
                std::string joined = k;
                joined.erase(joined.find(' '), 1);
                add(joined, token);
            }
            if (k == "RANDOMIZE")
                add("randomise", token);
        }
        std::stable_sort(t.begin(), t.end(),
                         [](const Spelling& a, const Spelling& b) { return a.text.size() > b.text.size(); });
        return t;
    }();
    return table;
}

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int hexValue(char c) { return isDigit(c) ? c - '0' : (std::tolower(static_cast<unsigned char>(c)) - 'a' + 10); }

}  // namespace

size_t keywordLength(std::string_view text, bool letterBefore, uint8_t* token)
{
    if (text.empty())
        return 0;
    const char first = char(std::tolower(static_cast<unsigned char>(text[0])));
    for (const Spelling& sp : spellings()) {
        if (sp.text[0] != first || sp.text.size() > text.size())
            continue;
        bool same = true;
        for (size_t j = 1; j < sp.text.size() && same; ++j)
            same = char(std::tolower(static_cast<unsigned char>(text[j]))) == sp.text[j];
        if (!same)
            continue;
        // Letters on either side make it part of a name; the relational
        // keywords need no such check.
        if (isAlpha(sp.text[0]) && (letterBefore || (sp.text.size() < text.size() && isAlpha(text[sp.text.size()]))))
            continue;
        if (token)
            *token = sp.token;
        return sp.text.size();
    }
    return 0;
}

namespace {

// A logical line (continuations joined) with the text position of each
// character, for messages.
struct Source {
    std::string text;
    std::vector<std::pair<int, int>> where;  // line, column
};

class LineTokeniser {
public:
    LineTokeniser(const Source& src, size_t begin) : s_(src), i_(begin) {}

    std::vector<uint8_t> run()
    {
        while (i_ < s_.text.size())
            step();
        return std::move(out_);
    }

private:
    [[noreturn]] void fail(size_t at, const std::string& what) const
    {
        const auto [line, column] =
            at < s_.where.size() ? s_.where[at] : (s_.where.empty() ? std::pair{1, 1} : s_.where.back());
        throw SyntaxError(line, at < s_.where.size() ? column : column + 1, what);
    }

    char at(size_t k) const { return k < s_.text.size() ? s_.text[k] : '\0'; }

    // The character before position k as the keyword and number rules see
    // it: a keyword already read counts as no letter.
    bool wordCharBefore(size_t k, bool digitsToo) const
    {
        if (k == 0 || k == keywordEnd_)
            return false;
        const char c = s_.text[k - 1];
        return isAlpha(c) || (digitsToo && isDigit(c));
    }

    // £ and © written in UTF-8 stand for the Spectrum's own codes.
    bool takeUtf8Symbol()
    {
        if (at(i_) == '\xC2' && (at(i_ + 1) == '\xA3' || at(i_ + 1) == '\xA9')) {
            out_.push_back(at(i_ + 1) == '\xA3' ? 0x60 : 0x7F);
            i_ += 2;
            return true;
        }
        return false;
    }

    // An escape at i_ (a backslash): appends its bytes. A hidden-number
    // escape appends the marker and its five bytes.
    void escape()
    {
        const size_t start = i_;
        const char c = at(i_ + 1);
        if (c == '\0')
            fail(start, "expected an escape after the backslash");
        static constexpr std::string_view kBlocks[16] = {"  ", " '", "' ", "''", " .", " :", "'.", "':",
                                                          ". ", ".'", ": ", ":'", "..", ".:", ":.", "::"};
        if (isAlpha(c) && std::string_view("VWXYZvwxyz").find(c) == std::string_view::npos) {
            out_.push_back(uint8_t(144 + std::tolower(static_cast<unsigned char>(c)) - 'a'));
            i_ += 2;
        } else if (c == '\\' || c == '@') {
            out_.push_back(uint8_t(c));
            i_ += 2;
        } else if (c == '*') {
            out_.push_back(0x7F);
            i_ += 2;
        } else if (c == '\'' || c == '.' || c == ':' || c == ' ') {
            const std::string_view pair = std::string_view(s_.text).substr(i_ + 1, 2);
            const auto* found = std::find(std::begin(kBlocks), std::end(kBlocks), pair);
            if (found == std::end(kBlocks))
                fail(start, "expected a block graphic: a backslash and two of space . ' :");
            out_.push_back(uint8_t(128 + (found - std::begin(kBlocks))));
            i_ += 3;
        } else if (c == '{') {
            const size_t close = s_.text.find('}', i_ + 2);
            if (close == std::string::npos)
                fail(start, "expected } to end the byte code");
            // zmakebas reads the code with strtoul: decimal, 0x hex, 0 octal.
            const std::string inner = s_.text.substr(i_ + 2, close - i_ - 2);
            const unsigned long v = std::strtoul(inner.c_str(), nullptr, 0);
            if (v > 255)
                fail(start, "expected a byte code from 0 to 255");
            out_.push_back(uint8_t(v));
            i_ = close + 1;
        } else if (c == '#') {
            out_.push_back(kNumberMarker);
            hiddenBytes();
        } else {
            // zmakebas inserts an unknown escaped character as it is.
            out_.push_back(uint8_t(c));
            i_ += 2;
        }
    }

    // "\#" and ten hex digits at i_: appends the five bytes.
    void hiddenBytes()
    {
        const size_t start = i_;
        i_ += 2;
        for (int b = 0; b < 5; ++b) {
            if (!isHex(at(i_)) || !isHex(at(i_ + 1)))
                fail(start, "expected ten hex digits after \\# (the five bytes of a hidden number)");
            out_.push_back(uint8_t(hexValue(at(i_)) * 16 + hexValue(at(i_ + 1))));
            i_ += 2;
        }
        hiddenEnd_ = out_.size();
    }

    bool isHiddenEscape(size_t k) const { return at(k) == '\\' && at(k + 1) == '#'; }

    // After a number's text: its hidden form, given or computed.
    void numberValue(const std::optional<NumberBytes>& computed, size_t numberStart)
    {
        out_.push_back(kNumberMarker);
        if (isHiddenEscape(i_)) {
            hiddenBytes();
            return;
        }
        if (!computed)
            fail(numberStart, "expected a number the Spectrum can hold (up to about 1.7E38)");
        out_.insert(out_.end(), computed->begin(), computed->end());
    }

    void number()
    {
        const size_t start = i_;
        while (isDigit(at(i_)))
            ++i_;
        if (at(i_) == '.') {
            ++i_;
            while (isDigit(at(i_)))
                ++i_;
        }
        if ((at(i_) == 'e' || at(i_) == 'E')) {
            size_t k = i_ + 1;
            if (at(k) == '+' || at(k) == '-')
                ++k;
            if (isDigit(at(k))) {
                while (isDigit(at(k)))
                    ++k;
                i_ = k;
            }
        }
        const std::string_view text = std::string_view(s_.text).substr(start, i_ - start);
        out_.insert(out_.end(), text.begin(), text.end());
        numberValue(romNumber(text), start);
    }

    // The number after BIN: binary digits (or, as zmakebas allows, 0x and
    // hex digits); with no digits the ROM still stores the value 0.
    void binaryNumber()
    {
        while (at(i_) == ' ' || at(i_) == '\t')
            ++i_;
        const size_t start = i_;
        uint64_t value = 0;
        if (at(i_) == '0' && (at(i_ + 1) == 'x' || at(i_ + 1) == 'X')) {
            i_ += 2;
            if (!isHex(at(i_)))
                fail(start, "expected hex digits after BIN 0x");
            while (isHex(at(i_)))
                value = (value << 4 | uint64_t(hexValue(at(i_++)))) & 0xFFFFFFFFFFFFull;
        } else if (isDigit(at(i_))) {
            if (at(i_) != '0' && at(i_) != '1')
                fail(start, "expected binary digits (0 and 1) after BIN");
            while (at(i_) == '0' || at(i_) == '1')
                value = (value << 1 | uint64_t(at(i_++) - '0')) & 0xFFFFFFFFFFFFull;
        }
        const std::string_view text = std::string_view(s_.text).substr(start, i_ - start);
        out_.insert(out_.end(), text.begin(), text.end());
        numberValue(wholeNumber(value), start);
    }

    struct Keyword {
        size_t length;
        uint8_t token;
    };
    std::optional<Keyword> keywordAt(size_t k) const
    {
        uint8_t token = 0;
        const size_t n = keywordLength(std::string_view(s_.text).substr(k), wordCharBefore(k, false), &token);
        if (n == 0)
            return std::nullopt;
        return Keyword{n, token};
    }

    void step()
    {
        const char c = at(i_);
        if (c == '\t') {  // zmakebas drops tabs everywhere
            ++i_;
            return;
        }
        if (c == '\\') {
            escape();
            return;
        }
        if (takeUtf8Symbol())
            return;
        if (inRem_ || inString_) {
            if (c == '"')
                inString_ = false;
            out_.push_back(uint8_t(c));
            ++i_;
            return;
        }
        if (c == ' ') {
            ++i_;
            return;
        }
        if (c == '"') {
            inString_ = true;
            out_.push_back(uint8_t(c));
            ++i_;
            return;
        }
        if (const auto kw = keywordAt(i_)) {
            out_.push_back(kw->token);
            i_ += kw->length;
            keywordEnd_ = i_;
            if (kw->token == kRem) {
                inRem_ = true;
                if (at(i_) == ' ')  // one space after REM separates it from the text
                    ++i_;
            } else if (kw->token == kDefFn) {
                inDefFn_ = true;
            } else if (kw->token == kBin) {
                binaryNumber();
            }
            return;
        }
        if ((isDigit(c) || (c == '.' && isDigit(at(i_ + 1)))) && !wordCharBefore(i_, true)) {
            number();
            return;
        }
        if (inDefFn_) {
            if (c == '=' || c == ':') {
                inDefFn_ = false;
            } else if ((c == ',' || c == ')') && !out_.empty() && out_.back() != '(' && !afterHidden()) {
                // The ROM keeps five bytes after each parameter name for
                // the argument's value.
                out_.insert(out_.end(), {kNumberMarker, 0, 0, 0, 0, 0});
            }
        }
        out_.push_back(uint8_t(c));
        ++i_;
    }

    // The last bytes written are a hidden number given with \#.
    bool afterHidden() const { return out_.size() == hiddenEnd_; }

    const Source& s_;
    size_t i_;
    size_t keywordEnd_ = std::string::npos;
    bool inString_ = false;
    bool inRem_ = false;
    bool inDefFn_ = false;
    size_t hiddenEnd_ = std::string::npos;
    std::vector<uint8_t> out_;
};

std::vector<uint8_t> parseHexBytes(const Source& src, size_t from)
{
    std::vector<uint8_t> bytes;
    size_t k = from;
    const std::string& t = src.text;
    while (k < t.size()) {
        if (t[k] == ' ' || t[k] == '\t') {
            ++k;
            continue;
        }
        if (k + 1 >= t.size() || !isHex(t[k]) || !isHex(t[k + 1]) ||
            (k + 2 < t.size() && t[k + 2] != ' ' && t[k + 2] != '\t')) {
            const auto [line, column] = src.where[k];
            throw SyntaxError(line, column, "expected a byte as two hex digits");
        }
        bytes.push_back(uint8_t(hexValue(t[k]) * 16 + hexValue(t[k + 1])));
        k += 2;
    }
    return bytes;
}

// Column numbers count characters, not the bytes of their UTF-8 form.
std::vector<Source> logicalLines(std::string_view text)
{
    std::vector<Source> lines;
    Source current;
    bool continuing = false;
    int lineNo = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view physical = text.substr(pos, end - pos);
        ++lineNo;
        if (!physical.empty() && physical.back() == '\r')
            physical.remove_suffix(1);
        if (!continuing)
            current = Source{};
        int column = 1;
        for (char c : physical) {
            current.text.push_back(c);
            current.where.emplace_back(lineNo, column);
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                ++column;
        }
        continuing = !current.text.empty() && current.text.back() == '\\';
        if (continuing) {
            current.text.pop_back();
            current.where.pop_back();
        } else {
            lines.push_back(std::move(current));
            current = Source{};
        }
        if (end == text.size())
            break;
        pos = end + 1;
    }
    if (continuing)
        lines.push_back(std::move(current));
    return lines;
}

}  // namespace

std::vector<uint8_t> tokeniseBody(std::string_view body)
{
    Source src;
    src.text = std::string(body);
    for (size_t k = 0; k < body.size(); ++k)
        src.where.emplace_back(1, int(k) + 1);
    return LineTokeniser(src, 0).run();
}

Program tokenise(std::string_view text)
{
    Program program;
    int previous = -1;
    bool tailSeen = false;
    for (const Source& src : logicalLines(text)) {
        const std::string& t = src.text;
        size_t k = t.find_first_not_of(" \t");
        if (k == std::string::npos)
            continue;
        if (k == 0 && t[0] == '#') {
            // zmakebas comments; three words followed by a number or a hex
            // byte make directives, so that a comment such as "#variables
            // used:" stays a comment.
            auto directive = [&](std::string_view word) {
                if (t.compare(1, word.size(), word) != 0 || t.size() == word.size() + 1 ||
                    (t[word.size() + 1] != ' ' && t[word.size() + 1] != '\t'))
                    return false;
                const size_t d = t.find_first_not_of(" \t", word.size() + 1);
                return d != std::string::npos &&
                       (word == "autostart" ? isDigit(t[d]) : isHex(t[d]) && d + 1 < t.size() && isHex(t[d + 1]));
            };
            if (directive("autostart")) {
                const size_t d = t.find_first_not_of(" \t", 10);
                size_t e = d;
                long value = 0;
                while (e < t.size() && isDigit(t[e]) && value <= 65535)
                    value = value * 10 + (t[e++] - '0');
                if (d == std::string::npos || e == d || value > 65535 || t.find_first_not_of(" \t", e) != std::string::npos) {
                    const auto [line, column] = src.where[std::min(d == std::string::npos ? t.size() - 1 : d, t.size() - 1)];
                    throw SyntaxError(line, column, "expected the autostart line, a whole number from 0 to 65535");
                }
                program.autostart = uint16_t(value);
            } else if (directive("variables")) {
                const auto bytes = parseHexBytes(src, 10);
                program.variables.insert(program.variables.end(), bytes.begin(), bytes.end());
            } else if (directive("tail")) {
                const auto bytes = parseHexBytes(src, 5);
                program.lines.insert(program.lines.end(), bytes.begin(), bytes.end());
                tailSeen = true;
            }
            continue;
        }
        const auto [line, column] = src.where[k];
        if (!isDigit(t[k]))
            throw SyntaxError(line, column, "expected a line number (0 to 16383)");
        if (tailSeen)
            throw SyntaxError(line, column, "expected no program line after #tail");
        long number = 0;
        while (k < t.size() && isDigit(t[k])) {
            number = number * 10 + (t[k++] - '0');
            if (number > kMaxLineNumber)
                throw SyntaxError(line, column, "expected a line number from 0 to 16383");
        }
        if (number <= previous)
            throw SyntaxError(line, column,
                              "expected a line number above " + std::to_string(previous) + ", the previous line's");
        previous = int(number);
        while (k < t.size() && (t[k] == ' ' || t[k] == '\t'))
            ++k;
        std::vector<uint8_t> body = LineTokeniser(src, k).run();
        body.push_back(0x0D);
        if (body.size() > 0xFFFF)
            throw SyntaxError(line, column, "expected a shorter line (at most 65535 bytes)");
        program.lines.push_back(uint8_t(number >> 8));
        program.lines.push_back(uint8_t(number));
        program.lines.push_back(uint8_t(body.size()));
        program.lines.push_back(uint8_t(body.size() >> 8));
        program.lines.insert(program.lines.end(), body.begin(), body.end());
    }
    if (program.lines.size() + program.variables.size() > 0xFFFF)
        throw SyntaxError(1, 1, "expected a program and variables of at most 65535 bytes together");
    return program;
}

}  // namespace basic
