#include "short_name.h"

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
