#include "common/manual_page.h"

#include <gtest/gtest.h>

TEST(ManualPage, KeepsHelpTextLiteralUnderRoff) {
    const ManualPage page{"tool", "does things", "1.2", {{"Synopsis", "usage: tool [--all] A\\B\n.not a request\n'nor this\n"}}};
    const std::string roff = roff_manual_page(page);
    EXPECT_NE(roff.find(".TH TOOL 1 \"\" \"tool 1.2\""), std::string::npos) << roff;
    EXPECT_NE(roff.find(".SH NAME\ntool \\- does things\n"), std::string::npos) << roff;
    EXPECT_NE(roff.find(".SH SYNOPSIS\n.nf\nusage: tool [\\-\\-all] A\\eB\n\\&.not a request\n\\&'nor this\n.fi\n"),
              std::string::npos)
        << roff;
}

TEST(ManualPage, ListedWordsAreTheFirstWordsOfTwoBlankLines) {
    const std::string help = "usage: x\n\n  one ARG   does one\n  two       does two\n    continued here\n  --opt no\n";
    EXPECT_EQ(listed_words(help), (std::vector<std::string>{"one", "two"}));
}

TEST(ManualPage, NamedOptionsAreDistinctAndInOrder) {
    const std::string help = "usage: x [--range LO,HI] [--overwrite]\n  --json  as JSON (not a--b)\n  --range again\n";
    EXPECT_EQ(named_options(help), (std::vector<std::string>{"--range", "--overwrite", "--json"}));
}
