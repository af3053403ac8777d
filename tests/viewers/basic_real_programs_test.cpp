// Programs made by zmakebas, listed by FormatBasic from a +3DOS-headed local
// copy, checked against listbasic's listing of the same tape.
#include "basic_tokens.h"
#include "format_basic.h"
#include "view_fixtures.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// Runs an installed program in `folder` and returns its standard output.
QByteArray RunProgram(const QString& program, const QStringList& arguments, const QString& folder)
{
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) {
        ADD_FAILURE() << program.toStdString()
                      << " is not installed (scripts/install-deps.sh installs it)";
        return {};
    }
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(exe, arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

quint16 Word(const QByteArray& bytes, int at)
{
    return static_cast<quint16>(static_cast<unsigned char>(bytes[at]) |
                                static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// The local copy `get` would write for the program of a tape made by
// zmakebas (a header block, then a data block): the tape header's type,
// length and parameters in a +3DOS header, then the data block's payload.
QByteArray LocalCopyFromTape(const QByteArray& tap)
{
    // Block lengths 19 and n + 2; header block flag 0x00, data block flag 0xFF.
    if (tap.size() < 24 || Word(tap, 0) != 19 || tap[2] != 0 || tap[23] != '\xFF') {
        ADD_FAILURE() << "not a tape with a header block and a data block";
        return {};
    }
    const QByteArray header = tap.mid(3, 17);
    const QByteArray data = tap.mid(24, Word(tap, 21) - 2);
    EXPECT_EQ(Word(header, 11), data.size());
    return viewtest::Plus3DosHeader(header[0], Word(header, 11), Word(header, 13),
                                    Word(header, 15)) +
           data;
}

// The keywords in a listing, in order: the longest keyword text found at each
// place where a word starts. Variables and strings of the programs below are
// lower case, so upper-case text is always a keyword.
std::vector<std::string> KeywordSequence(const QByteArrayList& lines)
{
    std::vector<std::string_view> keywords(BasicTokens.begin(), BasicTokens.end());
    std::sort(keywords.begin(), keywords.end(),
              [](auto a, auto b) { return a.size() > b.size(); });
    const auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };

    std::vector<std::string> found;
    for (const QByteArray& line : lines) {
        const std::string_view text(line.constData(), static_cast<size_t>(line.size()));
        for (size_t i = 0; i < text.size();) {
            const bool wordStart = i == 0 || !isUpper(text[i - 1]);
            const auto match = std::find_if(keywords.begin(), keywords.end(), [&](auto kw) {
                const size_t end = i + kw.size();
                return wordStart && text.substr(i, kw.size()) == kw &&
                       (end == text.size() || !isUpper(kw.back()) || !isUpper(text[end]));
            });
            if (match == keywords.end()) {
                ++i;
                continue;
            }
            found.emplace_back(*match);
            i += match->size();
        }
    }
    return found;
}

class RealProgram : public testing::Test
{
protected:
    // Makes `source` into a tape with zmakebas; returns the tape.
    QByteArray MakeTape(const QByteArray& source)
    {
        copies_.Write("prog.bas", source);
        RunProgram("zmakebas", {"-a", "10", "-n", "prog", "-o", "prog.tap", "prog.bas"}, Folder());
        QFile tape(copies_.Path("prog.tap"));
        EXPECT_TRUE(tape.open(QIODevice::ReadOnly));
        return tape.readAll();
    }

    QByteArrayList ListWithFormatBasic(const QByteArray& tap)
    {
        const QByteArray copy = LocalCopyFromTape(tap);
        const QString path = copies_.Write("PROG", copy);
        return FormatBasic(path, Word(copy, 20));  // the program length ("Vars")
    }

    QString Folder() const { return copies_.Path(QString()); }

    viewtest::LocalCopies copies_;
};

TEST_F(RealProgram, ListsNumbersStringsGraphicsAndControlCodes)
{
    // zmakebas drops the blank after a colon. \{..} puts a byte in as it is:
    // 0xAE is VAL$ (zmakebas reads "VAL$" as VAL and "$"), 0x10 0x02 is INK 2
    // inside a string.
    const QByteArray tap = MakeTape("10 PRINT \"HELLO\";1234: LET a=5\n"
                                    "20 LET e$=\\{0xAE}\"1\"\n"
                                    "30 PRINT \"\\{0x10}\\{2}a\\a\\::\\*\": REM \\a:\\b\n");
    EXPECT_EQ(ListWithFormatBasic(tap),
              QByteArrayList({"  10  PRINT \"HELLO\";1234: LET a=5",
                              "  20  LET e$= VAL$ \"1\"",
                              "  30  PRINT \"a\"+CHR 144+\"\"+CHR 143+\"\xA9\": REM \x90:\x91"}));
}

TEST_F(RealProgram, ListsEveryKeywordInTheOrderListbasicDoes)
{
    const QByteArray tap = MakeTape(
        "10 SPECTRUM\n"
        "20 PLAY \"a\"\n"
        "30 LET a=RND: LET b$=INKEY$: LET c=PI: LET d=FN f(1)\n"
        "40 PRINT POINT (1,2); SCREEN$ (1,2); ATTR (1,2); AT 1,2; TAB 3\n"
        "50 LET e$=\\{0xAE}\"1\": LET f=CODE \"a\"+VAL \"2\"+LEN \"ab\"\n"
        "60 LET g=SIN 1+COS 1+TAN 1+ASN 1+ACS 1+ATN 1+LN 1+EXP 1+INT 1+SQR 1+SGN 1+ABS 1"
        "+PEEK 1+IN 1+USR 1\n"
        "70 LET h$=STR$ 1+CHR$ 65: LET i=NOT 1: LET j=BIN 101\n"
        "80 IF a OR b AND c<=d THEN GO TO 10\n"
        "90 IF a>=b THEN IF a<>b THEN GO SUB 10\n"
        "100 FOR k=1 TO 10 STEP 2: NEXT k\n"
        "110 DEF FN f(x)=x\n"
        "120 CAT : FORMAT \"a\": MOVE \"a\" TO \"b\": ERASE \"a\"\n"
        "130 OPEN #4,\"p\": CLOSE #4\n"
        "140 MERGE \"a\": VERIFY \"a\": BEEP 1,1: CIRCLE 1,1,1\n"
        "150 INK 1: PAPER 2: FLASH 0: BRIGHT 0: INVERSE 0: OVER 0: OUT 1,1\n"
        "160 LPRINT \"a\": LLIST : STOP\n"
        "170 READ a: DATA 1: RESTORE : NEW\n"
        "180 BORDER 1: CONTINUE : DIM z(2)\n"
        "190 REM just a remark\n"
        "200 INPUT LINE a$: LOAD \"a\": LIST : PAUSE 1\n"
        "210 POKE 1,1: PLOT 1,1: RUN : SAVE \"a\" LINE 10\n"
        "220 RANDOMIZE : CLS : DRAW 1,1: CLEAR : RETURN : COPY\n");

    const QByteArrayList ours = ListWithFormatBasic(tap);
    ASSERT_EQ(ours.size(), 22);
    const std::vector<std::string> sequence = KeywordSequence(ours);

    QByteArrayList theirs = RunProgram("listbasic", {"prog.tap"}, Folder()).split('\n');
    EXPECT_EQ(sequence, KeywordSequence(theirs));

    const std::set<std::string> distinct(sequence.begin(), sequence.end());
    EXPECT_EQ(distinct.size(), BasicTokens.size());
}

}  // namespace
