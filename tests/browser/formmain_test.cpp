#include <gtest/gtest.h>

#include "formmain.h"

TEST(FormMain, StartsWithTheProgramCaptionAndSize)
{
    TFormMain form;
    EXPECT_EQ(form.windowTitle(), QString("3e Harnwick - a Zx Spectrum +3e File Browser"));
    EXPECT_EQ(form.size(), QSize(800, 589));
}
