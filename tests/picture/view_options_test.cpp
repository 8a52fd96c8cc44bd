// Which header lines carry a view, by Radiance's rule.

#include <gtest/gtest.h>

#include "picture/view_options.h"

namespace {

TEST(IsViewLine, TakesViewLinesAndRendererLinesWithOrWithoutADirectory) {
    EXPECT_TRUE(is_view_line("VIEW= -vta -vh 180 -vv 180"));
    EXPECT_TRUE(is_view_line("rpict -vf fish.vf -x 2048 scene.oct"));
    EXPECT_TRUE(is_view_line("/usr/local/bin/rpict -vta -vh 180 -vv 180 scene.oct"));
    EXPECT_TRUE(is_view_line("C:\\Radiance\\bin\\rpiece.exe -vtv -vh 45 -vv 45"));
    EXPECT_TRUE(is_view_line("pinterp -vf v.hdr -vth -x 600 -y 600 -ff v.hdr 1"));
    // The reading program's own name counts only when given.
    EXPECT_FALSE(is_view_line("evalglare -vta -vv 180 -vh 180 p.hdr"));
    EXPECT_TRUE(is_view_line("/opt/bin/evalglare -vta -vv 180 -vh 180 p.hdr", "evalglare"));
}

TEST(IsViewLine, RefusesNestedCopiesAndOtherPrograms) {
    EXPECT_FALSE(is_view_line("\tVIEW= -vta -vh 180 -vv 180"));
    EXPECT_FALSE(is_view_line(" rpict -vta"));
    EXPECT_FALSE(is_view_line("pcompos -x 786 -y 786 a.pic -313 -109"));
    EXPECT_FALSE(is_view_line("/usr/bin/pfilt -x /2 -y /2"));
    EXPECT_FALSE(is_view_line(""));
}

}  // namespace
