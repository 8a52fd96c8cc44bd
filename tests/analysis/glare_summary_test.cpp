// The glare results table: comfort classes and evalglare's texts read back.

#include <gtest/gtest.h>

#include "analysis/glare_summary.h"

TEST(GlareSummary, ComfortClassesFollowTheLiteraturesBands) {
    // Each band closed below, open above.
    const struct {
        const char* index;
        double value;
        const char* comfort;
    } cases[] = {
        {"dgp", 0.349, "imperceptible"}, {"dgp", 0.35, "perceptible"}, {"dgp", 0.40, "disturbing"},
        {"dgp", 0.449, "disturbing"},    {"dgp", 0.45, "intolerable"}, {"dgi", 17.9, "imperceptible"},
        {"dgi", 24, "disturbing"},       {"dgi", 31, "intolerable"},   {"ugr", 12.9, "imperceptible"},
        {"ugr", 13, "perceptible"},      {"ugr", 22, "disturbing"},    {"ugr", 28, "intolerable"},
        {"vcp", 50, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(comfort_class(c.index, c.value), c.comfort) << c.index << ' ' << c.value;
}

TEST(GlareSummary, TheRowsComeFromEvalglaresLines) {
    const std::string text = "notice: something\ndgp,dgi,ugr,vcp,cgi,Lveil: 0.528903 19.590622 25.681599 2.746814 "
                             "32.465383 660.740700  \n";
    const auto rows = glare_index_rows(text);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].name, "DGP");
    EXPECT_EQ(rows[0].value, "0.528903");
    EXPECT_EQ(rows[0].comfort, "intolerable");
    EXPECT_EQ(rows[1].comfort, "perceptible");  // DGI 19.6
    EXPECT_EQ(rows[2].comfort, "disturbing");   // UGR 25.7
    EXPECT_EQ(rows[3].comfort, "");
    EXPECT_EQ(rows[5].name, "Lveil");
    EXPECT_TRUE(glare_index_rows("evalglare: no valid view specified\n").empty());

    const GlareDetails details =
        glare_details_of("vertical illuminance Ev: 6124.94 lx\nsolid angle of the view: 6.3 sr\nglare sources: 3\n");
    ASSERT_TRUE(details.vertical_illuminance && details.glare_sources);
    EXPECT_DOUBLE_EQ(*details.vertical_illuminance, 6124.94f);
    EXPECT_EQ(*details.glare_sources, 3);
    EXPECT_FALSE(glare_details_of("dgp,dgi: 1 2\n").glare_sources);
    const auto all = glare_summary_rows(text, details);
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[6].value, "6124.9 lx");
    EXPECT_EQ(all[7].value, "3");
    EXPECT_EQ(glare_detail_command(" -x ", "/c/dtemp.hdr"), "/C evalglare -d  -x  /c/dtemp.hdr");
}
