// The putbas fault position as the editor reads it from the tool's error text.
#include "basic_text_error.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char* toolError;
    int line;   // 0: no position expected
    int column;
    const char* message;
};

// Error texts as the disk tool prints them (CR LF line ends), and texts that
// hold no position.
const Case kCases[] = {
    {"b.bas: line 2, column 1: expected a line number above 10, the previous line's\r\n", 2, 1,
     "expected a line number above 10, the previous line's"},
    {"/tmp/x y/3E.BAS: line 3, column 8: expected ten hex digits after \\# (the five bytes of a hidden number)",
     3, 8, "expected ten hex digits after \\# (the five bytes of a hidden number)"},
    // A path that itself looks like a position: the last mark counts.
    {"a: line 9, column 9: x.bas: line 2, column 10: expected a byte code from 0 to 255\r\n", 2, 10,
     "expected a byte code from 0 to 255"},
    {"C:\\temp\\p.bas: line 1, column 1: expected a program and variables of at most 65535 bytes together",
     1, 1, "expected a program and variables of at most 65535 bytes together"},
    // Something printed before the fault line.
    {"warning: something\r\nt.bas: line 120, column 33: expected } to end the byte code\r\n", 120, 33,
     "expected } to end the byte code"},
    {"line 4, column 2: expected a line number (0 to 16383)\n", 4, 2, "expected a line number (0 to 16383)"},
    // No position.
    {"invalid +3DOS name \"P*.BAS\": '*' is not allowed in a +3DOS name\r\n", 0, 0, ""},
    {"no file named \"C.BAS\" in partition \"MY DATA\"\r\n", 0, 0, ""},
    {"", 0, 0, ""},
    {"t.bas: line 2: expected a number", 0, 0, ""},
    {"t.bas: line 0, column 3: expected a number", 0, 0, ""},
    {"t.bas: line 2, column 3: ", 0, 0, ""},
    {"the file pline 2, column 3: x", 0, 0, ""},
};

TEST(BasicTextErrorTest, ReadsThePositionOfToolFaults)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.toolError);
        const auto error = ParseBasicTextError(QString::fromUtf8(c.toolError));
        if (c.line == 0) {
            EXPECT_FALSE(error.has_value());
            continue;
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->line, c.line);
        EXPECT_EQ(error->column, c.column);
        EXPECT_EQ(error->message, QString::fromUtf8(c.message));
    }
}

} // namespace
