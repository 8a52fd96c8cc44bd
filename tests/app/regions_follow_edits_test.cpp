// The named regions follow the Edit menu's turns, flips and crop: after each
// edit every region covers the same pixels of the scene as before it (the
// same values), and after a resize the regions are scaled as a region file
// drawn on another size is.

#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/region_scan.h"
#include "app/commands.h"
#include "regions/region_edit.h"
#include "regions/region_list_form.h"
#include "support/formula_pictures.h"
#include "support/region_lists.h"
#include "support/regions.h"
#include "support/scripted_regions_desktop.h"
#include "wizard_command_fixture.h"

namespace {

constexpr int width = 120, height = 80;

class RegionsFollowEdits : public WizardCommandTest {
protected:
    void SetUp() override {
        WizardCommandTest::SetUp();
        app.set_regions_desktop(&regions);
        const std::string path = (pictures / "scene.hdr").string();
        // Values rising along every row and down every column: 1 + x + 1000 y
        // (to RGBE's precision), so a region moved off its pixels sees others.
        ASSERT_TRUE(write_grey_picture(path, width, height, [](int x, int y) {
            return (1.0f + static_cast<float>(x) + 1000.0f * static_cast<float>(y)) / 179.0f;
        }));
        open_picture(path);
        ASSERT_TRUE(app.image_loaded());
        // Drawn off the pixel grid, as a hand draws them.
        ASSERT_NO_FATAL_FAILURE(load_region_list(
            *app.region_list(), (pictures / "scene.regions.json").string(), width, height,
            {listed_region("task", RegionKind::rectangle, rectangle_region(50.6f, 31.2f, 30.3f, 20.9f)),
             listed_region("lamp", RegionKind::circle, circle_region(7.3f, 70, 40)),
             listed_region("window", RegionKind::polygon,
                           polygon_region({{60.2f, 50.7f}, {90, 52}, {85.5f, 70.1f}, {66, 66}}))}));
    }

    // The sorted values under each region of the list, on the picture now.
    std::vector<std::vector<float>> values_under_regions() const {
        std::vector<std::vector<float>> all;
        for (const NamedRegion& region : app.region_list()->regions()) {
            std::vector<float> values = sample_region(app.luminance_map(), region.geometry, region.kind).values;
            std::sort(values.begin(), values.end());
            all.push_back(std::move(values));
        }
        return all;
    }

    ScriptedRegionsDesktop regions;
};

TEST_F(RegionsFollowEdits, TurnsAndFlipsKeepEveryRegionOnItsPixels) {
    const auto before = values_under_regions();
    for (const auto& values : before) ASSERT_GT(values.size(), 50u);
    const int edits[] = {command::rotate_90, command::flip_horizontal, command::rotate_180, command::flip_vertical,
                         command::rotate_90};
    for (const int edit : edits) {
        SCOPED_TRACE(edit);
        app.on_command(edit);
        ASSERT_TRUE(app.image_loaded());
        EXPECT_EQ(values_under_regions(), before);
    }
    EXPECT_EQ(app.luminance_map().width, width) << "two quarter turns and a half turn";
}

TEST_F(RegionsFollowEdits, ACropMovesTheRegionsWithThePiece) {
    const auto before = values_under_regions();
    app.tools().take(rectangle_region(20, 10, 100, 75), RegionKind::rectangle);
    app.on_command(command::crop);
    ASSERT_EQ(app.luminance_map().width, 80);
    ASSERT_EQ(app.luminance_map().height, 65);
    EXPECT_EQ(values_under_regions(), before);
    const Region& task = app.region_list()->regions()[0].geometry;
    EXPECT_EQ(task.x0, 10.0f);
    EXPECT_EQ(task.y0, 10.0f);
}

TEST(RegionEdit, AResizeScalesAsAFileOfAnotherSizeAndAMaskStays) {
    NamedRegion task;
    task.kind = RegionKind::rectangle;
    task.geometry = rectangle_region(10, 20, 30, 40);
    PictureEdit half{PictureEditKind::resize, 200, 100, 100, 50};
    const NamedRegion resized = edited_region(task, half);
    EXPECT_EQ(resized.geometry.x0, 5.0f);
    EXPECT_EQ(resized.geometry.y0, 10.0f);
    EXPECT_EQ(resized.geometry.x1, 15.0f);
    EXPECT_EQ(resized.geometry.y1, 20.0f);
    NamedRegion mask = mask_named_region("wall", "#ffffff", "wall.bmp");
    mask.geometry = task.geometry;
    const NamedRegion turned = edited_region(mask, {PictureEditKind::quarter_turn, 200, 100});
    EXPECT_EQ(turned.geometry.x0, 10.0f);
    EXPECT_EQ(turned.mask_file, "wall.bmp");
    // A quarter turn clockwise: the top left corner goes to the top right.
    EXPECT_EQ(edited_point({PictureEditKind::quarter_turn, 200, 100}, {0, 0}).x, 100.0f);
    EXPECT_EQ(edited_point({PictureEditKind::quarter_turn, 200, 100}, {0, 0}).y, 0.0f);
}

}  // namespace
