// evalglare's option text and command line, the down-scaling of a large
// picture, and where a task position lands in the down-scaled picture.

#include <gtest/gtest.h>

#include "analysis/glare_command.h"
#include "glare_pictures.h"
#include "picture/rgbe_reader.h"
#include "support/temp_folder.h"
#include "tools/process_runner.h"

namespace {

const GlareScale unscaled = glare_scale(786, 786);

GlareSettings with_task(int x, int y, float angle) {
    GlareSettings s;
    s.task_area = true;
    s.task_x = x;
    s.task_y = y;
    s.task_angle = angle;
    return s;
}

TEST(GlareOptionText, IsOnlyNoPeakExtractionWithEveryPageAtItsDefaults) {
    EXPECT_EQ(glare_option_text(GlareSettings{}, unscaled), " -x ");
    EXPECT_EQ(glare_command("/c/dtempo.hdr", " -x ", "/c/dtemp.hdr"),
              "/C evalglare -c /c/dtempo.hdr  -x  /c/dtemp.hdr");
}

TEST(GlareOptionText, SendsATaskOnlyWhenChosenWithPositionAndAngle) {
    EXPECT_EQ(glare_option_text(with_task(393, 300, 0.6f), unscaled), " -T 393 300 0.6 -x ");
    EXPECT_EQ(glare_option_text(with_task(0, 300, 0.6f), unscaled), " -x ");
    EXPECT_EQ(glare_option_text(with_task(393, 0, 0.6f), unscaled), " -x ");
    EXPECT_EQ(glare_option_text(with_task(393, 300, 0), unscaled), " -x ");
    GlareSettings entire_image = with_task(393, 300, 0.6f);
    entire_image.task_area = false;
    EXPECT_EQ(glare_option_text(entire_image, unscaled), " -x ");
}

TEST(GlareOptionText, PutsEveryOptionInItsOrder) {
    GlareSettings s = with_task(10, 20, 0.5f);
    s.guth_cut = 1;
    s.field_of_view = FieldOfView::both_eyes;
    s.view_mode = GlareViewMode::by_type;
    s.view_type = default_glare_view_type;
    s.view_vertical = 180;
    s.view_horizontal = 180;
    s.smoothing = s.external_ev = s.search_radius = s.peak_extraction = s.glare_threshold = true;
    s.ev = 5000;
    s.radius = 0.3f;
    s.peak_threshold = 20000;
    s.threshold = 2.5f;
    EXPECT_EQ(glare_option_text(s, unscaled),
              " -T 10 20 0.5 -G 2 -vth  -vv 180 -vh 180 -s  -I 5000 -r 0.3 -Y 20000 -b 2.5");

    // The view alone, by type and by file; peak extraction without a limit;
    // a threshold of 0 is not sent.
    GlareSettings view;
    view.view_mode = GlareViewMode::by_type;
    view.view_type = default_glare_view_type;
    view.view_vertical = view.view_horizontal = 180;
    EXPECT_EQ(glare_option_text(view, unscaled), " -vth  -vv 180 -vh 180 -x ");
    view.view_mode = GlareViewMode::by_file;
    view.view_file = "/views/eye.vf";
    view.peak_extraction = view.glare_threshold = true;
    EXPECT_EQ(glare_option_text(view, unscaled), " -vf /views/eye.vf -y ");
}

TEST(GlareScale, BringsTheLongerSideTo800Pixels) {
    const GlareScale landscape = glare_scale(1600, 1200);
    EXPECT_EQ(landscape.factor, "2");
    EXPECT_EQ(landscape.scaled_width, 800);
    EXPECT_EQ(landscape.scaled_height, 600);
    EXPECT_EQ(glare_downscale_command(landscape.factor, "/c/dtemp.hdr", "/c/dtempg.hdr"),
              "/C pfilt -x /2 -y /2 /c/dtemp.hdr > /c/dtempg.hdr");

    const GlareScale portrait = glare_scale(1000, 3000);
    EXPECT_EQ(portrait.factor, "3.75");
    EXPECT_EQ(portrait.scaled_width, 267);
    EXPECT_EQ(portrait.scaled_height, 800);

    for (auto [w, h] : {std::pair{800, 600}, std::pair{800, 800}, std::pair{786, 786}}) {
        const GlareScale kept = glare_scale(w, h);
        EXPECT_FALSE(kept.scaled()) << w << " x " << h;
        EXPECT_EQ(kept.scaled_width, w);
        EXPECT_EQ(kept.scaled_height, h);
    }
}

TEST(ScaledTaskPosition, IsThePixelPfiltAveragesTheTaskInto) {
    // One bright pixel at the task, 1000 from the left and 300 from the
    // bottom of a 1700 x 900 picture; pfilt scales by 2.125 to 800 x 424.
    TempFolder folder;
    const std::string input = (folder / "big.hdr").string(), output = (folder / "small.hdr").string();
    write_glare_picture(input, 1700, 900, "", [](int x, int row) { return x == 1000 && row == 599 ? 5e5f : 100.0f; });
    const GlareScale scale = glare_scale(1700, 900);
    ASSERT_EQ(scale.factor, "2.125");
    const ProcessOutput run = run_shell_command(shell_text_of(glare_downscale_command(scale.factor, input, output)),
                                                CANDELUX_PROGRAMS_DIR, nullptr, nullptr);
    ASSERT_TRUE(run.clean()) << run.text;
    auto small = load_luminance_map(output);
    ASSERT_TRUE(small.ok());
    ASSERT_EQ(small.value().width, scale.scaled_width);
    ASSERT_EQ(small.value().height, scale.scaled_height);
    const LuminanceMap& map = small.value();
    int brightest_x = 0, brightest_row = 0;
    for (int row = 0; row < map.height; ++row)
        for (int x = 0; x < map.width; ++x)
            if (map.at(x, row) > map.at(brightest_x, brightest_row)) brightest_x = x, brightest_row = row;

    const TaskPixel task = scaled_task_position(scale, 1000, 300);
    EXPECT_EQ(task.x, brightest_x);
    EXPECT_EQ(task.y, scale.scaled_height - 1 - brightest_row);
    EXPECT_EQ(glare_option_text(with_task(1000, 300, 0.5f), scale), " -T 470 141 0.5 -x ");
    // The far corners stay inside the smaller picture.
    const TaskPixel corner = scaled_task_position(glare_scale(1000, 3000), 999, 2999);
    EXPECT_EQ(corner.x, 266);
    EXPECT_EQ(corner.y, 799);
}

TEST(ScaledTaskPosition, CountsTheRowFromTheTopWhereEvalglareDoes) {
    // A turned picture ("+X 786 +Y 500", 500 wide as rows): evalglare counts
    // its rows from the first scanline down, so the row typed from the
    // bottom is sent from the top.
    GlareScale turned = glare_scale(500, 786);
    turned.rows_from_top = true;
    EXPECT_EQ(glare_option_text(with_task(200, 500, 0.3f), turned), " -T 200 285 0.3 -x ");
    const TaskPixel bottom = scaled_task_position(turned, 0, 0), top = scaled_task_position(turned, 0, 785);
    EXPECT_EQ(bottom.y, 785);
    EXPECT_EQ(top.y, 0);
    // Scaled: the same pixel pfilt averages the task into, counted from the top.
    GlareScale large = glare_scale(1200, 1800);
    const TaskPixel upward = scaled_task_position(large, 1000, 300);
    large.rows_from_top = true;
    const TaskPixel downward = scaled_task_position(large, 1000, 300);
    EXPECT_EQ(downward.x, upward.x);
    EXPECT_EQ(downward.y, large.scaled_height - 1 - upward.y);
}

TEST(RowsNumberedFromTop, ReadsTheSignOnYOfTheResolutionLine) {
    TempFolder folder;
    const auto write = [&](const std::string& name, const std::string& resolution) {
        write_file(folder / name, "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n" + resolution + "\n");
        return (folder / name).string();
    };
    EXPECT_FALSE(rows_numbered_from_top(write("standard.hdr", "-Y 10 +X 20")));
    EXPECT_TRUE(rows_numbered_from_top(write("turned.hdr", "+X 20 +Y 10")));
    EXPECT_TRUE(rows_numbered_from_top(write("upward.hdr", "+Y 10 +X 20")));
    EXPECT_FALSE(rows_numbered_from_top(write("columns.hdr", "-X 20 -Y 10")));
    EXPECT_FALSE(rows_numbered_from_top((folder / "missing.hdr").string()));
}

TEST(HasGlareResult, FindsTheResultLineAmongNoticesButNotInAComplaint) {
    const std::string line =
        "dgp,dgi,ugr,vcp,cgi,Lveil: 0.528903 19.590622 25.681599 2.746814 32.465382 660.740723  \n";
    EXPECT_TRUE(has_glare_result(line));
    EXPECT_TRUE(has_glare_result("Notice: Low brightness scene.\n" + line));
    EXPECT_FALSE(has_glare_result(""));
    EXPECT_FALSE(has_glare_result("evalglare: no valid view specified\n"));
    EXPECT_FALSE(has_glare_result("evalglare: bad value for -T: dgp,dgi,ugr,vcp,cgi,Lveil:\n"));
}

}  // namespace
