// Crop, rotate, flip and resize through the Application with our picture
// programs: each changes the working copy as it should, and a failing
// program leaves it as it was.

#include "app/editing_fixture.h"
#include "tools/crop_form.h"
#include "tools/resize_form.h"

namespace {

using Geometry = EditingTest;

TEST_F(Geometry, RotatingTurnsThePictureClockwiseAndSwapsItsSize) {
    const std::string path = picture("p.hdr", 40, 30, {"EXPOSURE=2"});
    open(path);
    const LuminanceMap before = map_of(path);
    app.on_command(command::rotate_90);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const LuminanceMap& after = app.luminance_map();
    ASSERT_EQ(after.width, 30);
    ASSERT_EQ(after.height, 40);
    EXPECT_EQ(after.exposure, 2.0f);
    // The left column, bottom up, becomes the top row.
    expect_pixels(after, before, [](int x, int y) { return std::pair{y, 29 - x}; });
    EXPECT_EQ(desktop.status[0], "\t30x40");
    EXPECT_FALSE(desktop.progress_shown());
    EXPECT_FALSE(std::filesystem::exists(cache / "dtempo.hdr"));
}

TEST_F(Geometry, FlipsAndTheHalfTurnMoveEveryPixel) {
    const std::string path = picture("p.hdr", 20, 10);
    open(path);
    const LuminanceMap original = map_of(path);
    app.on_command(command::flip_horizontal);
    expect_pixels(app.luminance_map(), original, [](int x, int y) { return std::pair{19 - x, y}; });
    app.on_command(command::flip_vertical);
    expect_pixels(app.luminance_map(), original, [](int x, int y) { return std::pair{19 - x, 9 - y}; });
    app.on_command(command::rotate_180);
    expect_pixels(app.luminance_map(), original, [](int x, int y) { return std::pair{x, y}; });
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Geometry, CropKeepsExactlyTheSelectedPatch) {
    const std::string path = picture("p.hdr", 200, 150, {"EXPOSURE=2"});
    open(path);
    const LuminanceMap original = map_of(path);
    Region& selection = app.tools().selection();
    selection.x0 = 10.7f;
    selection.y0 = 20.2f;
    selection.x1 = 110.9f;
    selection.y1 = 80.8f;
    app.on_command(command::crop);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const LuminanceMap& after = app.luminance_map();
    ASSERT_EQ(after.width, 100);
    ASSERT_EQ(after.height, 60);
    EXPECT_EQ(after.exposure, 2.0f);
    // The bottom edge is 150 - 80.8 = 69.2 from below, cut to 69: the patch's
    // top row is 150 - 69 - 60 = 21.
    expect_pixels(after, original, [](int x, int y) { return std::pair{10 + x, 21 + y}; });
    EXPECT_FALSE(app.tools().selection().any());
}

TEST_F(Geometry, CropWithoutARectangleOrWithASliverDoesNothing) {
    open(picture("p.hdr", 200, 150));
    const std::string before = read_file(working_copy());
    const int shows = desktop.progress_shows;
    app.on_command(command::crop);
    Region& selection = app.tools().selection();
    selection.x0 = 10.2f;
    selection.x1 = 10.9f;
    selection.y0 = 5;
    selection.y1 = 50;
    app.on_command(command::crop);
    EXPECT_EQ(desktop.progress_shows, shows);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(read_file(working_copy()), before);
}

TEST_F(Geometry, ResizingToHalfTheWidthWithTheLockHalvesBothSides) {
    open(picture("p.hdr", 1000, 500, {}, [](int, int) { return RgbePixel{128, 128, 128, 129}; }));
    desktop.resize_dialog = [](ResizeForm& form) {
        form.on_width_changed("500");
        EXPECT_EQ(form.height_text, "250");
        return form.on_ok();
    };
    app.on_command(command::resize);
    ASSERT_TRUE(desktop.messages.empty()) << desktop.messages[0].text;
    const LuminanceMap& after = app.luminance_map();
    EXPECT_EQ(after.width, 500);
    EXPECT_EQ(after.height, 250);
    EXPECT_NEAR(after.at(100, 100), 1.00390625f * 179.0f, 0.5f);
}

TEST_F(Geometry, ResizingToTheSameSizeRunsNothing) {
    open(picture("p.hdr", 100, 50));
    desktop.resize_dialog = [](ResizeForm& form) { return form.on_ok(); };
    const int shows = desktop.progress_shows;
    app.on_command(command::resize);
    EXPECT_EQ(desktop.editing_dialog_runs, 1);
    EXPECT_EQ(desktop.progress_shows, shows);
}

TEST_F(Geometry, AFailingProgramShowsItsTextAndLeavesTheWorkingCopy) {
    const std::string path = picture("p.hdr", 40, 30);
    open(path);
    const std::string before = read_file(working_copy());
    const std::string display = desktop.display_picture;
    app.runner().set_program_folder(programs_with_failing("protate", "protate: read error"));
    app.on_command(command::rotate_90);
    const RecordedMessage& message = only_message();
    EXPECT_EQ(message.text, "protate: read error\n");
    EXPECT_EQ(message.caption, "Radiance Process Error!");
    EXPECT_EQ(message.icon, MessageIcon::warning);
    EXPECT_EQ(message.owner, Owner::none);
    EXPECT_EQ(read_file(working_copy()), before);
    EXPECT_EQ(app.luminance_map().width, 40);
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(Geometry, AFailingResizeStillReloadsTheUnchangedPicture) {
    open(picture("p.hdr", 40, 30));
    const std::string before = read_file(working_copy());
    app.runner().set_program_folder(programs_with_failing("pfilt", "pfilt: bad picture size"));
    desktop.resize_dialog = [](ResizeForm& form) {
        form.on_width_changed("20");
        return form.on_ok();
    };
    app.clear_selection();
    app.tools().selection().radius = 3;  // a reload clears the selection
    app.on_command(command::resize);
    EXPECT_EQ(only_message().text, "pfilt: bad picture size\n");
    EXPECT_EQ(read_file(working_copy()), before);
    EXPECT_FALSE(app.tools().selection().any());
    EXPECT_TRUE(app.image_loaded());
}

TEST_F(Geometry, ADoubleClickInsideTheRectangleEditsItInTheCropDialog) {
    open(picture("p.hdr", 640, 480));
    app.paint_frame();
    const float zoom = app.zoom();
    const PointF pan = app.pan();
    auto window = [&](float u, float v) {
        return std::pair{static_cast<int>(u * zoom + pan.x), static_cast<int>(v * zoom + pan.y)};
    };
    const auto [x0, y0] = window(100, 100);
    const auto [x1, y1] = window(300, 200);
    app.on_left_down(x0, y0, false);
    app.on_mouse_move(x1, y1, false);
    app.on_left_up(x1, y1, false);
    app.paint_frame();
    ASSERT_TRUE(app.tools().selection().has_rectangle());

    // Outside the rectangle, or within the grab distance of an edge: nothing.
    const auto [ox, oy] = window(400, 300);
    app.on_left_double_click(ox, oy);
    const auto [ex, ey] = window(102, 150);
    app.on_left_double_click(ex, ey);
    EXPECT_EQ(desktop.editing_dialog_runs, 0);

    desktop.crop_dialog = [](CropForm& form) {
        form.left_text = "20";
        form.top_text = "30";
        form.width_text = "40";
        form.height_text = "50";
        return form.on_ok().value_or(0);
    };
    const auto [ix, iy] = window(200, 150);
    app.on_left_double_click(ix, iy);
    EXPECT_EQ(desktop.editing_dialog_runs, 1);
    const Region& selection = app.tools().selection();
    EXPECT_EQ(selection.x0, 20.0f);
    EXPECT_EQ(selection.y0, 30.0f);
    EXPECT_EQ(selection.x1, 60.0f);
    EXPECT_EQ(selection.y1, 80.0f);

    app.on_command(command::crop);
    EXPECT_EQ(app.luminance_map().width, 40);
    EXPECT_EQ(app.luminance_map().height, 50);
}

}  // namespace
