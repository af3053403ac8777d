#include <gtest/gtest.h>

#include <sstream>

#include "tool_main.h"

TEST(ToolMain, NoArgumentsPrintsTheCommandSummary)
{
    std::ostringstream out, err;
    EXPECT_EQ(p3tool::runTool({}, out, err), 0);
    EXPECT_NE(out.str().find("usage"), std::string::npos);
    EXPECT_TRUE(err.str().empty());
}
