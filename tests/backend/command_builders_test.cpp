#include <gtest/gtest.h>

#include "command_builders.h"
#include "command_line.h"

namespace {

const QString T = QStringLiteral("/opt/3e/3E.EXE");
const QString M = QStringLiteral("/img/a.hdf");
const QString P = QStringLiteral("GAMES");
const QString F = QStringLiteral("MANIC.BAS");
const QString D = QStringLiteral("/home/u/out");
const QString H = QStringLiteral("/home/u/file.bin");
const QString S = QStringLiteral("FILE.BIN");
const QString E = QStringLiteral("GAMES:MANIC.BAS");

TEST(CommandBuilders, ExactTextOfEveryCommand)
{
    const std::pair<QString, const char*> rows[] = {
        {ShowPTableCommand(T, M), R"(/opt/3e/3E.EXE "/img/a.hdf" showptable -backend)"},
        {DirCommand(T, M, P), R"(/opt/3e/3E.EXE "/img/a.hdf" dir "GAMES" -backend)"},
        {ScanBackendCommand(T), R"(/opt/3e/3E.EXE scan -backend)"},
        {ScanCommand(T), R"(/opt/3e/3E.EXE scan)"},
        {ShowPEntryCommand(T, M, P), R"(/opt/3e/3E.EXE "/img/a.hdf" showpentry "GAMES")"},
        {GetFileCommand(T, M, P, F, D),
         R"(/opt/3e/3E.EXE "/img/a.hdf" get "GAMES:MANIC.BAS" "/home/u/out"/)"},
        {GetEntryCommand(T, M, E, D),
         R"(/opt/3e/3E.EXE "/img/a.hdf" get "GAMES:MANIC.BAS" "/home/u/out"/)"},
        {PutCommand(T, M, H, P, S),
         R"(/opt/3e/3E.EXE "/img/a.hdf" put "/home/u/file.bin" "GAMES:FILE.BIN")"},
        {PutBinCommand(T, M, H, P, S),
         R"(/opt/3e/3E.EXE "/img/a.hdf" putbin "/home/u/file.bin" "GAMES:FILE.BIN")"},
        {PutBinAtCommand(T, M, H, P, S, "32768"),
         R"(/opt/3e/3E.EXE "/img/a.hdf" putbin "/home/u/file.bin" "GAMES:FILE.BIN" 32768)"},
        {PutModeCommand(T, M, "put", H, P, S, ""),
         R"(/opt/3e/3E.EXE "/img/a.hdf" put "/home/u/file.bin" "GAMES:FILE.BIN" )"},
        {PutModeCommand(T, M, "putbin", H, P, S, "0"),
         R"(/opt/3e/3E.EXE "/img/a.hdf" putbin "/home/u/file.bin" "GAMES:FILE.BIN" 0)"},
        {PutRenamedCommand(T, M, D, F, P, "NEW.BAS"),
         R"(/opt/3e/3E.EXE "/img/a.hdf" put "/home/u/out"/MANIC.BAS "GAMES:NEW.BAS")"},
        {PutTapCommand(T, M, "/t/game.tap", P),
         R"(/opt/3e/3E.EXE "/img/a.hdf" puttap "/t/game.tap" "GAMES")"},
        {PutDskCommand(T, M, "/t/disk.dsk", P),
         R"(/opt/3e/3E.EXE "/img/a.hdf" putdsk "/t/disk.dsk" "GAMES")"},
        {ImportListCommand(PutDskCommand(T, M, "/t/disk.dsk", P)),
         R"(/opt/3e/3E.EXE "/img/a.hdf" putdsk "/t/disk.dsk" "GAMES" --list)"},
        {ImportNamesCommand(PutTapCommand(T, M, "/t/game.tap", P), {"A.BAS", "", "B'1.$$$"}),
         R"(/opt/3e/3E.EXE "/img/a.hdf" puttap "/t/game.tap" "GAMES" --names "A.BAS,,B'1.$$$")"},
        {DelCommand(T, M, P, F), R"(/opt/3e/3E.EXE "/img/a.hdf" del "GAMES:MANIC.BAS")"},
        {DelEntryCommand(T, M, E), R"(/opt/3e/3E.EXE "/img/a.hdf" del "GAMES:MANIC.BAS")"},
    };
    for (const auto& [built, expected] : rows)
        EXPECT_EQ(built, QString::fromUtf8(expected));
}

TEST(CommandBuilders, ArgumentsTheToolReceives)
{
    EXPECT_EQ(SplitCommandLine(GetFileCommand(T, "/my images/a.hdf", "P 1  ", F, "/my out")),
              (QStringList{T, "/my images/a.hdf", "get", "P 1  :MANIC.BAS", "/my out/"}));
    // An empty address leaves a blank, not an argument.
    EXPECT_EQ(SplitCommandLine(PutModeCommand(T, M, "put", H, P, S, "")),
              (QStringList{T, M, "put", H, "GAMES:FILE.BIN"}));
    EXPECT_EQ(SplitCommandLine(PutRenamedCommand(T, M, "/tmp/x y", "A B", P, "A B")),
              (QStringList{T, M, "put", "/tmp/x y/A B", "GAMES:A B"}));
    // Host paths may hold quotes and end in backslashes on Linux.
    EXPECT_EQ(SplitCommandLine(GetFileCommand(T, M, P, F, R"(/tmp/odd\)")),
              (QStringList{T, M, "get", "GAMES:MANIC.BAS", R"(/tmp/odd\/)"}));
    EXPECT_EQ(SplitCommandLine(PutCommand(T, M, R"(/tmp/say "hi".bin)", P, S)),
              (QStringList{T, M, "put", R"(/tmp/say "hi".bin)", "GAMES:FILE.BIN"}));
}

} // namespace
