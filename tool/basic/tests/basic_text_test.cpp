// The text form against zmakebas and against itself: a generated corpus must
// tokenise to zmakebas's bytes (brought to the ROM's where the two differ),
// every program must survive list -> tokenise byte for byte, and bad texts
// must be refused with the place and what was expected.
#include "basic_number.h"
#include "basic_text.h"
#include "basic_tokens.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// ---------------------------------------------------------------- corpus

// Names that are no keyword and hold none between non-letters.
const char* const kNames[] = {"a", "b", "c", "n", "x", "y", "z", "k", "p1", "q2", "score", "lives"};

class Corpus {
public:
    explicit Corpus(uint32_t seed) : rng_(seed) {}

    std::string program(int index)
    {
        std::string text = "# corpus program " + std::to_string(index) + "\n";
        const int lines = pick(4, 20);
        int number = pick(0, 20);
        for (int l = 0; l < lines; ++l) {
            text += std::to_string(number) + " ";
            // Every keyword shows up: program i starts with keyword i.
            text += l == 0 ? keywordLine(index % int(BasicTokens.size())) : line();
            text += "\n";
            number += pick(1, 30);
            if (number > 9999)
                break;
        }
        return text;
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    template <typename T, size_t N> const T& any(const T (&a)[N]) { return a[size_t(pick(0, int(N) - 1))]; }

    std::string keyword(std::string_view k)
    {
        std::string s(k);
        const int style = pick(0, 2);
        for (char& c : s)
            c = char(style == 0 ? std::tolower(c) : style == 1 ? c : (pick(0, 1) ? std::tolower(c) : c));
        if (k == "GO TO" && pick(0, 1))
            s = style == 0 ? "goto" : "GOTO";
        if (k == "RANDOMIZE" && pick(0, 1))
            s = "randomise";
        return s;
    }

    std::string name() { return any(kNames); }

    std::string number()
    {
        switch (pick(0, 9)) {
        case 0: return std::to_string(pick(0, 9));
        case 1: return std::to_string(pick(0, 65535));
        case 2: return std::to_string(pick(65536, 2000000000));
        case 3: return std::to_string(pick(0, 99)) + "." + std::to_string(pick(0, 999));
        case 4: return "." + std::to_string(pick(1, 99));
        case 5: return std::to_string(pick(1, 9)) + (pick(0, 1) ? "e" : "E") + std::to_string(pick(0, 12));
        case 6: return std::to_string(pick(1, 99)) + "." + std::to_string(pick(1, 9)) + "E-" + std::to_string(pick(1, 9));
        case 7: return std::to_string(pick(1, 9)) + "E+" + std::to_string(pick(1, 5));
        case 8: return std::to_string(pick(0, 999)) + ".";
        default: return "0.5";
        }
    }

    std::string stringLiteral()
    {
        static const char* const kPieces[] = {
            "HELLO", "PRINT", "rem", "GO TO 10", "to", "at", "x=1:", "\"\"", "\\a", "\\u", "\\::", "\\.'",
            "\\ .", "\\*", "`", "\\\\", "\\@", "\\{16}\\{2}", "\\{17}\\{6}", "\\{0x13}\\{1}", "\\{22}\\{10}\\{5}",
            " ", "1234", "0.5", "a$", "#",
        };
        std::string s = "\"";
        const int n = pick(0, 6);
        for (int i = 0; i < n; ++i)
            s += any(kPieces);
        return s + "\"";
    }

    std::string expression()
    {
        std::string e;
        const int terms = pick(1, 4);
        static const char* const kOps[] = {"+", "-", "*", "/", "^", "=", "<", ">", "<>", "<=", ">=", " AND ", " OR "};
        for (int t = 0; t < terms; ++t) {
            if (t)
                e += any(kOps);
            switch (pick(0, 5)) {
            case 0: e += name(); break;
            case 1: e += "(" + number() + ")"; break;
            case 2: e += keyword("INT") + " " + number(); break;
            case 3: e += keyword("BIN") + " " + (pick(0, 1) ? "1011" : "0"); break;
            case 4: e += keyword("CODE") + " " + stringLiteral(); break;
            default: e += number();
            }
        }
        return e;
    }

    std::string statement()
    {
        switch (pick(0, 13)) {
        case 0: return keyword("PRINT") + " " + stringLiteral() + ";" + expression();
        case 1: return keyword("LET") + " " + name() + "=" + expression();
        case 2: return keyword("IF") + " " + expression() + " " + keyword("THEN") + " " + keyword("GO TO") + " " + number();
        case 3: return keyword("FOR") + " n=1 " + keyword("TO") + " " + number() + " " + keyword("STEP") + " " + number();
        case 4: return keyword("GO SUB") + " " + std::to_string(pick(1, 9999));
        case 5: return keyword("DEF FN") + " f(x,y)=x*y+" + number();
        case 6: return keyword("DEF FN") + " s$(a$,n)=a$(n)";
        case 7: return keyword("DEF FN") + " z()=" + keyword("PI");
        case 8: return keyword("PRINT") + " " + keyword("FN") + " f(1,2);" + keyword("VAL$") + " \"a$\"";
        case 9: return keyword("BORDER") + " " + std::to_string(pick(0, 7)) + ": " + keyword("INK") + " 2";
        case 10: return keyword("POKE") + " " + keyword("USR") + " \"a\"," + keyword("BIN") + " 10101010";
        case 11: return keyword("DATA") + " " + number() + "," + number() + "," + stringLiteral();
        case 12: return keyword("OPEN #") + " 4,\"p\": " + keyword("CLOSE #") + " 4";
        default: return keyword("RANDOMIZE") + " " + keyword("USR") + " " + number();
        }
    }

    std::string line()
    {
        const int kind = pick(0, 19);
        if (kind == 0) {  // a very long line
            std::string s = keyword("PRINT") + " ";
            const int items = pick(30, 70);
            for (int i = 0; i < items; ++i)
                s += (i ? ";" : "") + (pick(0, 1) ? stringLiteral() : number());
            return s;
        }
        std::string s;
        const int statements = pick(1, 4);
        for (int i = 0; i < statements; ++i)
            s += (i ? ": " : "") + statement();
        if (kind == 1)
            s += ": " + keyword("REM") + " PRINT \"x\" rem GO TO 10 \\a\\::";
        return s;
    }

    // A line that uses the keyword of token kFirstBasicToken + k.
    std::string keywordLine(int k)
    {
        const std::string_view kw = BasicTokens[size_t(k)];
        if (kw == "REM")
            return keyword("PRINT") + " 1: " + keyword("REM") + " a note: PRINT 1";
        if (kw == "DEF FN")
            return keyword("DEF FN") + " g(a,b$)=a";
        if (kw == "BIN")
            return keyword("PRINT") + " " + keyword("BIN") + " 1111000011110000";
        return keyword("PRINT") + " 1: " + keyword(kw) + " 2," + name();
    }

    std::mt19937 rng_;
};

// ---------------------------------------------------------------- zmakebas

std::string tempDir()
{
    static const std::string dir = [] {
        std::string t = (std::filesystem::temp_directory_path() / "basic_text_testXXXXXX").string();
        return std::string(::mkdtemp(t.data()));
    }();
    return dir;
}

bool haveZmakebas() { return std::system("command -v zmakebas >/dev/null 2>&1") == 0; }

Bytes zmakebas(const std::string& text)
{
    const std::string in = tempDir() + "/p.bas", out = tempDir() + "/p.raw";
    std::ofstream(in, std::ios::binary) << text;
    std::filesystem::remove(out);
    const std::string command = "zmakebas -r -o '" + out + "' '" + in + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << text;
    std::ifstream f(out, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

// zmakebas 1.2 writes VAL$ as VAL and "$", and leaves out the five-byte
// slots the ROM puts after each DEF FN parameter: brought to the ROM's form.
Bytes romForm(const Bytes& z)
{
    Bytes out;
    size_t o = 0;
    while (o + 4 <= z.size()) {
        const size_t length = size_t(z[o + 2] | z[o + 3] << 8);
        Bytes body;
        bool inString = false, inRem = false, inDefFn = false;
        for (size_t i = o + 4; i < o + 4 + length; ++i) {
            const uint8_t b = z[i];
            if (inRem || (inString && b != '"')) {
                body.push_back(b);
                continue;
            }
            if (b == '"')
                inString = !inString;
            else if (b == 0xEA)
                inRem = true;
            else if (b == 0xCE)
                inDefFn = true;
            else if (b == '=')
                inDefFn = false;
            else if (b == 0x0E) {
                body.insert(body.end(), z.begin() + long(i), z.begin() + long(i) + 6);
                i += 5;
                continue;
            } else if (b == 0xB0 && i + 1 < z.size() && z[i + 1] == '$') {
                body.push_back(0xAE);
                ++i;
                continue;
            }
            if (inDefFn && (b == ',' || b == ')') && body.back() != '(')
                body.insert(body.end(), {0x0E, 0, 0, 0, 0, 0});
            body.push_back(b);
        }
        out.insert(out.end(), {z[o], z[o + 1], uint8_t(body.size()), uint8_t(body.size() >> 8)});
        out.insert(out.end(), body.begin(), body.end());
        o += 4 + length;
    }
    return out;
}

double numberValue(const uint8_t* b)
{
    if (b[0] == 0)
        return (b[1] ? -65536.0 : 0.0) + (b[2] | b[3] << 8);
    const double mantissa = double(uint32_t((b[1] | 0x80) << 24 | b[2] << 16 | b[3] << 8 | b[4])) / 4294967296.0;
    return std::ldexp(mantissa, b[0] - 128);
}

std::string around(const Bytes& b, size_t i)
{
    std::string s;
    char buf[4];
    for (size_t k = i > 8 ? i - 8 : 0; k < b.size() && k < i + 8; ++k) {
        std::snprintf(buf, sizeof buf, "%02X ", b[k]);
        s += buf;
    }
    return s;
}

// Equal bytes, except that a hidden number may differ from zmakebas's by
// rounding (the ROM's sums of tenths against zmakebas's exact conversion).
void expectSameProgram(const Bytes& ours, const Bytes& theirs, const std::string& text, int* roundingDifferences)
{
    ASSERT_EQ(ours.size(), theirs.size()) << text;
    for (size_t i = 0; i < ours.size(); ++i) {
        if (ours[i] == theirs[i])
            continue;
        size_t marker = 0;
        for (size_t j = i > 5 ? i - 5 : 1; j < i && marker == 0; ++j) {
            if (ours[j] == 0x0E && theirs[j] == 0x0E && (std::isdigit(ours[j - 1]) || ours[j - 1] == '.'))
                marker = j;
        }
        ASSERT_NE(marker, 0u)
            << "byte " << i << " differs outside a hidden number: ours " << around(ours, i) << ", zmakebas's "
            << around(theirs, i) << " in\n" << text;
        const double a = numberValue(&ours[marker + 1]), b = numberValue(&theirs[marker + 1]);
        ASSERT_LE(std::fabs(a - b), std::fabs(b) * 1e-9) << "byte " << i << " in\n" << text;
        ++*roundingDifferences;
        i = marker + 5;
    }
}

void expectRoundTrip(const basic::Program& p, const std::string& what)
{
    const std::string text = basic::listProgram(p);
    basic::Program back;
    try {
        back = basic::tokenise(text);
    } catch (const basic::SyntaxError& e) {
        FAIL() << what << ": " << e.what() << "\n" << text;
    }
    EXPECT_EQ(back.lines, p.lines) << what << "\n" << text;
    EXPECT_EQ(back.variables, p.variables) << what;
    EXPECT_EQ(back.autostart, p.autostart) << what;
}

}  // namespace

TEST(BasicText, CorpusMatchesZmakebasAndRoundTrips)
{
    if (!haveZmakebas())
        GTEST_SKIP() << "zmakebas is not installed";
    Corpus corpus(19);
    int roundingDifferences = 0;
    for (int i = 0; i < 240; ++i) {
        const std::string text = corpus.program(i);
        const basic::Program ours = basic::tokenise(text);
        expectSameProgram(ours.lines, romForm(zmakebas(text)), text, &roundingDifferences);
        expectRoundTrip(ours, "corpus program " + std::to_string(i));
        if (HasFatalFailure())
            return;
    }
    // The corpus does reach numbers where the ROM and zmakebas round apart.
    EXPECT_GT(roundingDifferences, 0);
}

TEST(BasicText, RomHiddenNumbers)
{
    struct Case {
        const char* text;
        basic::NumberBytes bytes;
    };
    const Case cases[] = {
        {"1234", {0x00, 0x00, 0xD2, 0x04, 0x00}},  // as the ROM stores it on a real machine
        {"65535", {0x00, 0x00, 0xFF, 0xFF, 0x00}},
        {"65536", {0x91, 0x00, 0x00, 0x00, 0x00}},
        {"1e3", {0x00, 0x00, 0xE8, 0x03, 0x00}},
        {"1.", {0x00, 0x00, 0x01, 0x00, 0x00}},
        {"0.5", {0x7F, 0x7F, 0xFF, 0xFF, 0xFF}},  // .1 x 5, not the exact 80 00 00 00 00
        {"0.1", {0x7D, 0x4C, 0xCC, 0xCC, 0xCC}},
        {"1234567890", {0x9F, 0x13, 0x2C, 0x05, 0xA4}},
    };
    for (const Case& c : cases) {
        const auto got = basic::romNumber(c.text);
        ASSERT_TRUE(got.has_value()) << c.text;
        EXPECT_EQ(*got, c.bytes) << c.text;
    }
    EXPECT_FALSE(basic::romNumber("1e38").has_value() && basic::romNumber("2e38").has_value());
    EXPECT_FALSE(basic::romNumber("1e200").has_value());
}

TEST(BasicText, HandMadeProgramsRoundTrip)
{
    auto line = [](int number, Bytes body) {
        body.push_back(0x0D);
        Bytes l{uint8_t(number >> 8), uint8_t(number), uint8_t(body.size()), uint8_t(body.size() >> 8)};
        l.insert(l.end(), body.begin(), body.end());
        return l;
    };
    auto cat = [](std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const Bytes& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    Bytes everyByte{0xEA};  // REM and every byte value: machine code in a REM
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(uint8_t(b));
    struct Case {
        const char* what;
        basic::Program program;
    };
    const Case cases[] = {
        {"hidden number differs from its text", {line(10, {0xF5, '1', 0x0E, 0, 0, 5, 0, 0}), {}, 10}},
        {"small number in floating form", {line(10, {0xEC, '1', '0', 0x0E, 0x84, 0x20, 0, 0, 0}), {}, 0x8000}},
        {"machine code in a REM", {line(1, everyByte), {}, 0x8000}},
        {"colour codes with a quote as parameter", {line(5, {0xF5, '"', 0x10, '"', 'x', 0x16, 1, 2, '"'}), {}, 0}},
        {"spaces typed between keywords", {line(10, {0xF5, ' ', 'a', ' ', ';', ' ', 'b'}), {}, 0x8000}},
        {"a name that spells a keyword", {line(10, {0xF1, 'a', 't', '=', '1', 0x0E, 0, 0, 1, 0, 0}), {}, 0x8000}},
        {"digits with no hidden form", {line(10, {0xEC, '1', '0'}), {}, 0x8000}},
        {"DEF FN holding argument values",
         {line(10, {0xCE, 'f', '(', 'x', 0x0E, 0, 0, 5, 0, 0, ',', 'y', 0x0E, 0, 0, 0, 0, 0, ')', '=', 'x'}), {}, 0x8000}},
        {"tokens inside a string", {line(10, {0xF5, '"', 0xF5, 0xA3, 0xFF, '"'}), {}, 0x8000}},
        {"marker after a name", {line(10, {0xF5, 'a', 0x0E, 1, 2, 3, 4, 5}), {}, 0x8000}},
        {"REM ending in spaces and a backslash", {line(10, {0xEA, ' ', 'x', '\\', ' ', ' '}), {}, 0x8000}},
        {"REM ending in a backslash", {line(10, {0xEA, 'x', '\\'}), {}, 0x8000}},
        {"lines 0 and 16383 with variables", {cat({line(0, {0xFD}), line(16383, {0xE2})}), {0x61, 1, 0, 0, 0, 0}, 0xFFFF}},
        {"lines out of order go to the tail", {cat({line(20, {0xFD}), line(10, {0xE2}), line(10, {})}), {}, 0x8000}},
        {"a line without its 0D", {cat({line(10, {0xFD}), Bytes{0, 20, 2, 0, 0xE2, 0xE2}}), {}, 0x8000}},
        {"empty program", {{}, {}, 0x8000}},
        {"BIN with a hidden value of its own", {line(10, {0xF5, 0xC4, '1', '0', 0x0E, 0, 0, 3, 0, 0}), {}, 0x8000}},
        {"UDGs, blocks, pound and copyright in code", {line(10, {0xF5, 0x90, 0x8F, 0x60, 0x7F, 0xA4}), {}, 0x8000}},
        {"names pi and to, < and > typed apart",
         {line(10, {0xF1, 'p', 'i', '=', 't', 'o', '<', '>', 'x', 'i', 'n', 't', 'o'}), {}, 0x8000}},
    };
    for (const Case& c : cases)
        expectRoundTrip(c.program, c.what);

    // Lines of random bytes, each ending in 0D.
    std::mt19937 rng(7);
    for (int p = 0; p < 50; ++p) {
        basic::Program program;
        for (int n = 0; n < 20; ++n) {
            Bytes body(std::uniform_int_distribution<size_t>(0, 60)(rng));
            for (uint8_t& b : body)
                b = uint8_t(rng());
            const Bytes l = line(n * 10 + p, body);
            program.lines.insert(program.lines.end(), l.begin(), l.end());
        }
        expectRoundTrip(program, "random program " + std::to_string(p));
    }
}

TEST(BasicText, ZmakebasSpellingsAndTraps)
{
    struct Case {
        const char* text;
        Bytes body;
    };
    const Case cases[] = {
        {"PRINT \"PRINT\"", {0xF5, '"', 'P', 'R', 'I', 'N', 'T', '"'}},
        {"REM PRINT \"x\": GO TO 1", {0xEA, 'P', 'R', 'I', 'N', 'T', ' ', '"', 'x', '"', ':', ' ', 'G', 'O', ' ', 'T', 'O', ' ', '1'}},
        {"goto 1", {0xEC, '1', 0x0E, 0, 0, 1, 0, 0}},
        {"randomise", {0xF9}},
        {"PRINT VAL$ a$", {0xF5, 0xAE, 'a', '$'}},
        {"PRINT attr 1", {0xF5, 0xAB, '1', 0x0E, 0, 0, 1, 0, 0}},
        {"PRINT £;©;`", {0xF5, 0x60, ';', 0x7F, ';', 0x60}},
        {"PRINT 1\\#0000050000", {0xF5, '1', 0x0E, 0, 0, 5, 0, 0}},
        {"DEF FN f()=1", {0xCE, 'f', '(', ')', '=', '1', 0x0E, 0, 0, 1, 0, 0}},
        {"LET a1=2", {0xF1, 'a', '1', '=', '2', 0x0E, 0, 0, 2, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(basic::tokeniseBody(c.text), c.body) << c.text;
}

TEST(BasicText, ErrorsNameThePlaceAndWhatWasExpected)
{
    struct Case {
        const char* text;
        int line;
        int column;
        const char* expected;
    };
    const Case cases[] = {
        {"10 PRINT\nPRINT 2\n", 2, 1, "a line number"},
        {"10 PRINT\n  5 PRINT\n", 2, 3, "above 10"},
        {"16384 CLS\n", 1, 1, "0 to 16383"},
        {"10 PRINT \"\\'x\"\n", 1, 11, "block graphic"},
        {"10 PRINT \"\\{300}\"\n", 1, 11, "0 to 255"},
        {"10 PRINT \"\\{12\"\n", 1, 11, "}"},
        {"10 PRINT 1\\#00\n", 1, 11, "ten hex digits"},
        {"10 PRINT 2e38\n", 1, 10, "a number the Spectrum can hold"},
        {"10 PRINT BIN 2\n", 1, 14, "binary digits"},
        {"#variables 8A 0\n", 1, 15, "two hex digits"},
        {"#autostart 70000\n10 CLS\n", 1, 12, "autostart line"},
        {"10 PRINT \\\n\"\\'x\"\n", 2, 2, "block graphic"},
    };
    for (const Case& c : cases) {
        try {
            basic::tokenise(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const basic::SyntaxError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text << " -> " << e.what();
            EXPECT_EQ(e.column(), c.column) << c.text << " -> " << e.what();
            EXPECT_NE(e.what_expected().find(c.expected), std::string::npos) << e.what();
        }
    }
}

TEST(BasicText, ListingsStayReadable)
{
    struct Case {
        const char* text;
        const char* listed;
    };
    const Case cases[] = {
        {"10 print 0.5;\"\\::\";`:goto 10\n", "10 PRINT 0.5;\"\\::\";\xC2\xA3: GO TO 10\n"},
        {"10 LET \\{112}i=\\{116}o\\{60}>xinto: PRINT 1\\#0000050000;\"\\{16}\\{34}x\": REM \\{201}\\{0}\n", nullptr},
        {"20 DEF FN f(x\\#0000050000,y)=x: PRINT FN f(1,2)\n", nullptr},
        {"10 CLS\r\n20 REM \\\r\n tail\r\n", "10 CLS\n20 REM  tail\n"},
        {"#autostart 0\n0 REM  two spaces and a trailing one\\{32}\n1 REM \\{32}\\{32}\n#variables 61 00\n", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(basic::listProgram(basic::tokenise(c.text)), c.listed ? c.listed : c.text);
}
