#include "short_name.h"

#include "file_clipboard.h"

#include <gtest/gtest.h>

TEST(ShortName, FormsAnEightThreeNameByTheFixedRule)
{
    const std::pair<const char*, const char*> cases[] = {
        // Already fit: kept, upper-cased.
        {"/home/u/TAPE.TZX", "TAPE.TZX"},
        {"/home/u/game.bas", "GAME.BAS"},
        {"relative/noext", "NOEXT"},
        {"/home/u.d/noext", "NOEXT"},
        {"12345678.123", "12345678.123"},
        {"/tmp/!#$%&'-@.^_~", "!#$%&'-@.^_~"},
        {"{a}.b", "{A}.B"},
        // Long bases end in ~1; long extensions are cut to 3.
        {"/x/My Program.bas", "MY_PRO~1.BAS"},
        {"/x/123456789", "123456~1"},
        {"/x/photo.jpeg", "PHOTO.JPE"},
        // Characters a +3DOS name cannot hold become "_", one per character.
        {"/x/a b+c.t,t", "A_B_C.T_T"},
        {"/x/[x];=.<>", "_X___.__"},
        {"/x/caf\u00e9.txt", "CAF_.TXT"},
        {"/x/\u00fcber\u00df", "_BER_"},
        {"/x/\U0001F600.bin", "_.BIN"},
        // Dots: leading dropped, the last one splits, others become "_".
        {"/x/.profile", "PROFILE"},
        {"/x/..hidden.cfg", "HIDDEN.CFG"},
        {"/x/archive.tar.gz", "ARCHIV~1.GZ"},
        {"/x/a.b.c", "A_B.C"},
        {"/x/file.", "FILE"},
        {"/x/a..", "A_"},
        // Nothing left for a base.
        {"/x/...", "_"},
        {"/x/.", "_"},
        {"", "_"},
        {"/x/.tap.bas", "TAP.BAS"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(ShortName(QString::fromUtf8(path)), QString::fromUtf8(expected)) << path;
}

TEST(ShortName, GivesEachFileOfABatchAUniqueName)
{
    struct Case
    {
        QStringList paths;
        QStringList inPartition;
        QStringList expected;
    };
    const Case cases[] = {
        {{"/x/My Program 1.bas", "/x/My Program 2.bas"}, {}, {"MY_PRO~1.BAS", "MY_PRO~2.BAS"}},
        // Against the partition, and across extensions only where they clash.
        {{"/x/My Program 1.bas", "/x/My Program 1.scr"},
         {"my_pro~1.bas"},
         {"MY_PRO~2.BAS", "MY_PRO~1.SCR"}},
        // Numbers of two digits cut the base further.
        {{"/x/123456789"},
         {"123456~1", "123456~2", "123456~3", "123456~4", "123456~5", "123456~6", "123456~7",
          "123456~8", "123456~9"},
         {"12345~10"}},
        // A lossy name that fits keeps today's name while it is free.
        {{"/x/a b.txt", "/x/a+b.txt", "/x/a,b.txt"}, {}, {"A_B.TXT", "A_B~1.TXT", "A_B~2.TXT"}},
        // A host name that is an 8.3 name stays, taken or not; generated
        // names avoid it even when it comes later in the batch.
        {{"/x/my program.bas", "/x/game.bas", "/y/GAME.BAS", "/x/MY_PRO~1.BAS"},
         {"GAME.BAS"},
         {"MY_PRO~2.BAS", "GAME.BAS", "GAME.BAS", "MY_PRO~1.BAS"}},
        {{}, {"A"}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UniqueShortNames(c.paths, c.inPartition), c.expected)
            << c.paths.join('|').toStdString();
}

TEST(ShortName, NextFreeNameNumbersLikeTheTapeImport)
{
    const QStringList taken{"GAME.BAS",     "game1.bas",    "LONGNAME.BIN", "NOTYPE",
                            "LONGNAM1.BIN", "LONGNAM2.BIN", "LONGNAM3.BIN", "LONGNAM4.BIN",
                            "LONGNAM5.BIN", "LONGNAM6.BIN", "LONGNAM7.BIN", "LONGNAM8.BIN",
                            "LONGNAM9.BIN"};
    const std::pair<const char*, const char*> cases[] = {
        {"FREE.BAS", "FREE.BAS"}, {"Game.bas", "Game2.bas"},        {"GAME", "GAME"},
        {"NOTYPE", "NOTYPE1"},    {"LONGNAME.BIN", "LONGNA10.BIN"}, {"NOTYPE.X", "NOTYPE.X"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(NextFreeName(name, taken), QString::fromLatin1(expected)) << name;
}

TEST(ShortName, CopiesIntoTheirOwnPartitionGetUniqueNames)
{
    QList<PasteStep> steps;
    for (const char* entry : {"A:PROG.BAS", "A:PROG.SCR", "B:PROG.BAS", "A:DATA", "A:PROG.BAS"})
        steps << PlanPasteStep(QString::fromLatin1(entry), "A", false);
    steps << PlanPasteStep("B:PROG1.$$$", "A", true); // a Cut from elsewhere keeps its name
    EXPECT_TRUE(HasSamePartitionCopy(steps));
    MakeCopyNamesUnique(steps, {"PROG.BAS", "PROG.SCR", "data.$$$", "DATA"});
    QStringList names;
    for (const PasteStep& step : steps)
        names << step.targetName;
    EXPECT_EQ(names, (QStringList{"PROG.$$$", "PROG2.$$$", "PROG.BAS", "DATA1.$$$", "PROG3.$$$",
                                  "PROG1.$$$"}));
    EXPECT_FALSE(HasSamePartitionCopy({PlanPasteStep("A:X", "A", true)}));
}
