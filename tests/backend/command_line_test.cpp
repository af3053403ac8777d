#include <gtest/gtest.h>

#include "command_line.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct SplitCase
{
    const char* line;
    QStringList args;
};

TEST(SplitCommandLine, QuotingRule)
{
    const SplitCase cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a   b  ", {"a", "b"}},
        {R"(tool "/my dir"/)", {"tool", "/my dir/"}},
        {R"("/my dir"/FILE.BAS)", {"/my dir/FILE.BAS"}},
        {R"("C:\out"\)", {R"(C:\out\)"}},
        {R"(say \"hi\")", {"say", R"("hi")"}},
        {R"("a \" b")", {R"(a " b)"}},
        {R"(a\b\\c)", {R"(a\b\\c)"}},
        {R"(x\\"y z")", {R"(x\"y)", "z"}},
        {R"("" b)", {"", "b"}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"("unclosed stretch)", {"unclosed stretch"}},
        {"trailing\\", {"trailing\\"}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitCommandLine(QString::fromUtf8(c.line)), c.args) << c.line;
}

TEST(QuoteArgument, EveryTextSplitsBackUnchanged)
{
    const char* texts[] = {
        "",          "plain",           "with blank", "quote\"inside", "back\\slash",
        "ends in\\", "ends in two\\\\", "\\\"",       "a\\\\\"b",      "\"",
        "\\",        "tab\there",
    };
    for (const char* raw : texts) {
        const QString text = QString::fromUtf8(raw);
        // Alone, followed by "/" (the folder argument) and followed by more.
        EXPECT_EQ(SplitCommandLine(QuoteArgument(text)), QStringList{text}) << raw;
        EXPECT_EQ(SplitCommandLine(QuoteArgument(text) + "/"), QStringList{text + "/"}) << raw;
        EXPECT_EQ(SplitCommandLine(QuoteArgument(text) + " next"), (QStringList{text, "next"}))
            << raw;
        const QString bare = BareArgument(text);
        if (!text.isEmpty()) {
            EXPECT_EQ(SplitCommandLine("x/" + bare), QStringList{"x/" + text}) << raw;
        }
    }
    EXPECT_EQ(QuoteArgument(QStringLiteral("/home/u/out")), QStringLiteral("\"/home/u/out\""));
    EXPECT_EQ(BareArgument(QStringLiteral("MANIC.BAS")), QStringLiteral("MANIC.BAS"));
}

TEST(ResolveCommandLine, ToolPathWithBlanksTakesTheLongestExistingRun)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("my  tools/bin")));
    const QString shortTool = dir.filePath(QStringLiteral("my"));
    const QString longTool = dir.filePath(QStringLiteral("my  tools/bin/3E.EXE"));
    for (const QString& path : {shortTool, longTool}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    ResolvedCommand r = ResolveCommandLine(longTool + R"( "/img/a b.hdf" dir "P 1" -backend)");
    EXPECT_EQ(r.program, longTool);
    EXPECT_EQ(r.arguments, (QStringList{"/img/a b.hdf", "dir", "P 1", "-backend"}));

    // Only the first word names a file: it is the program.
    r = ResolveCommandLine(shortTool + "  other/3E.EXE scan");
    EXPECT_EQ(r.program, shortTool);
    EXPECT_EQ(r.arguments, (QStringList{"other/3E.EXE", "scan"}));

    // Nothing exists: the first word, which will fail to start.
    r = ResolveCommandLine(dir.filePath(QStringLiteral("none here")) + " scan");
    EXPECT_EQ(r.program, dir.filePath(QStringLiteral("none")));
    EXPECT_EQ(r.arguments, (QStringList{"here", "scan"}));

    EXPECT_TRUE(ResolveCommandLine(QStringLiteral("  ")).program.isEmpty());
}

} // namespace
