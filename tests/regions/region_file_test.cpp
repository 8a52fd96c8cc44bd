// The region file: what it reads and writes, what it keeps, how it fits
// another picture and what it refuses.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "regions/region_file.h"
#include "support/comma_locale.h"
#include "support/regions.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

const char* four_regions = R"({"width": 640, "height": 480, "creator": {"tool": "hand", "version": 3},
 "regions": [
  {"name": "Task", "color": "#ff8000", "kind": "rectangle", "points": [[10.5, 20], [110, 70.25]], "note": "desk"},
  {"name": "Lamp", "color": "#00FF00", "kind": "circle", "center": [320, 100], "radius": 40, "visible": false},
  {"name": "Window", "color": "#0080ff", "kind": "polygon", "points": [[400, 300], [600, 310], [590, 460], [410, 450]]},
  {"name": "Wall", "color": "#ffffff", "kind": "mask", "file": "wall.bmp", "layer": [1, 2]}
 ]})";

RegionFile parsed(const std::string& text) {
    auto file = parse_region_file(text);
    EXPECT_TRUE(file) << file.failure().message;
    return file ? file.value() : RegionFile{};
}

std::string refusal(const std::string& text) {
    auto file = parse_region_file(text);
    EXPECT_FALSE(file) << text;
    return file ? std::string() : file.failure().message;
}

std::string with_region(const std::string& region) {
    return R"({"width": 100, "height": 100, "regions": [)" + region + "]}";
}

}  // namespace

TEST(RegionFile, ReadsEveryKindWithItsGeometryInPicturePixels) {
    const RegionFile file = parsed(four_regions);
    EXPECT_EQ(file.width, 640);
    EXPECT_EQ(file.height, 480);
    ASSERT_EQ(file.regions.size(), 4u);
    const NamedRegion& task = file.regions[0];
    EXPECT_EQ(task.name, "Task");
    EXPECT_EQ(task.color, "#ff8000");
    EXPECT_EQ(task.kind, RegionKind::rectangle);
    EXPECT_FLOAT_EQ(task.geometry.x0, 10.5f);
    EXPECT_FLOAT_EQ(task.geometry.y0, 20);
    EXPECT_FLOAT_EQ(task.geometry.x1, 110);
    EXPECT_FLOAT_EQ(task.geometry.y1, 70.25f);
    EXPECT_TRUE(task.visible);
    const NamedRegion& lamp = file.regions[1];
    EXPECT_EQ(lamp.kind, RegionKind::circle);
    EXPECT_FLOAT_EQ(lamp.geometry.centre_x, 320);
    EXPECT_FLOAT_EQ(lamp.geometry.centre_y, 100);
    EXPECT_FLOAT_EQ(lamp.geometry.radius, 40);
    EXPECT_FALSE(lamp.visible);
    const NamedRegion& window = file.regions[2];
    EXPECT_EQ(window.kind, RegionKind::polygon);
    ASSERT_EQ(window.geometry.vertex_count, 4);
    EXPECT_FLOAT_EQ(window.geometry.vertices[2].x, 590);
    EXPECT_FLOAT_EQ(window.geometry.vertices[2].y, 460);
    EXPECT_EQ(file.regions[3].kind, RegionKind::mask);
    EXPECT_EQ(file.regions[3].mask_file, "wall.bmp");
}

TEST(RegionFile, RoundTripKeepsEveryRegionAndEveryUnknownKey) {
    const RegionFile file = parsed(four_regions);
    const std::string text = region_file_text(file);
    const RegionFile again = parsed(text);
    EXPECT_EQ(region_file_text(again), text);  // a second round changes nothing
    ASSERT_EQ(again.regions.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(again.regions[i].name, file.regions[i].name);
        EXPECT_EQ(again.regions[i].kind, file.regions[i].kind);
        EXPECT_EQ(again.regions[i].visible, file.regions[i].visible);
    }
    EXPECT_FLOAT_EQ(again.regions[0].geometry.x0, 10.5f);
    EXPECT_FLOAT_EQ(again.regions[0].geometry.y1, 70.25f);
    // Unknown keys, at the top and in a region, come back as they were.
    const JsonValue* creator = again.document.find("creator");
    ASSERT_NE(creator, nullptr);
    EXPECT_EQ(creator->find("version")->as_number(), 3);
    EXPECT_EQ(again.regions[0].document.find("note")->as_string(), "desk");
    EXPECT_EQ(again.regions[3].document.find("layer")->as_array().size(), 2u);
    EXPECT_THAT(text, HasSubstr("\"visible\": false"));
    EXPECT_THAT(text, HasSubstr("\"color\": \"#00FF00\""));

    // Editing a region keeps its unknown keys, and a kind changed drops the
    // old geometry.
    RegionFile edited = again;
    edited.regions[0].kind = RegionKind::circle;
    edited.regions[0].geometry = circle_region(5, 50, 50);
    edited.regions[1].visible = true;
    const RegionFile reread = parsed(region_file_text(edited));
    EXPECT_EQ(reread.regions[0].kind, RegionKind::circle);
    EXPECT_EQ(reread.regions[0].document.find("points"), nullptr);
    EXPECT_EQ(reread.regions[0].document.find("note")->as_string(), "desk");
    EXPECT_EQ(reread.regions[1].document.find("visible"), nullptr);
}

TEST(RegionFile, WritesAFileThatReadsBackAndNumbersInTheCForm) {
    TempFolder folder;
    write_file(folder / "wall.bmp", "BM");
    CommaLocale comma;
    RegionFile file;
    file.width = 300;
    file.height = 200;
    file.regions.push_back(
        drawn_named_region("Task", "#123456", rectangle_region(0.1f, 2.5f, 100.75f, 50), RegionKind::rectangle));
    file.regions.push_back(drawn_named_region("Lamp", "#abcdef", circle_region(12.5f, 150, 100), RegionKind::circle));
    file.regions.push_back(mask_named_region("Wall", "#ffffff", "wall.bmp"));
    const std::string path = (folder / "p.hdr.regions.json").string();
    ASSERT_TRUE(write_region_file(path, file));
    const std::string text = read_file(path);
    EXPECT_THAT(text, HasSubstr("[0.1, 2.5],"));
    EXPECT_THAT(text, HasSubstr("[100.75, 50]"));
    EXPECT_THAT(text, HasSubstr("\"radius\": 12.5"));
    EXPECT_FALSE(fs::exists(path + ".part"));
    auto back = read_region_file(path);
    ASSERT_TRUE(back) << back.failure().message;
    EXPECT_EQ(back.value().regions.size(), 3u);
    EXPECT_FLOAT_EQ(back.value().regions[0].geometry.x0, 0.1f);
    // A drawn region keeps only its tool's part of the geometry.
    EXPECT_EQ(back.value().regions[1].document.find("points"), nullptr);
    EXPECT_EQ(region_mask_path(path, back.value().regions[2]), (folder / "wall.bmp").string());
}

TEST(RegionFile, AWriteReplacesALinkStandingUnderTheNameWithoutWritingThroughIt) {
    TempFolder folder;
    write_file(folder / "victim.txt", "keep me");
    fs::create_symlink(folder / "victim.txt", folder / "r.regions.json");
    RegionFile file;
    file.width = file.height = 10;
    ASSERT_TRUE(write_region_file((folder / "r.regions.json").string(), file));
    EXPECT_EQ(read_file(folder / "victim.txt"), "keep me");
    EXPECT_FALSE(fs::is_symlink(folder / "r.regions.json"));
    EXPECT_TRUE(read_region_file((folder / "r.regions.json").string()));
}

TEST(RegionFile, DefaultPathNamesAndColours) {
    EXPECT_EQ(default_region_file_path("/data/room.hdr"), "/data/room.hdr.regions.json");
    std::vector<NamedRegion> regions;
    EXPECT_EQ(default_region_name(regions), "Region 1");
    regions.push_back(
        drawn_named_region("Region 1", default_region_color(0), rectangle_region(0, 0, 2, 2), RegionKind::rectangle));
    EXPECT_EQ(default_region_name(regions), "Region 2");
    regions.push_back(
        drawn_named_region("Region 3", default_region_color(1), rectangle_region(0, 0, 2, 2), RegionKind::rectangle));
    EXPECT_EQ(default_region_name(regions), "Region 4");  // "Region 3" is taken
    EXPECT_NE(default_region_color(0), default_region_color(1));
    for (size_t i = 0; i < 12; ++i) EXPECT_TRUE(is_region_color(default_region_color(i)));
    EXPECT_FALSE(is_region_color("#12345"));
    EXPECT_FALSE(is_region_color("#12345g"));
    EXPECT_FALSE(is_region_color("red"));
    // A region without a colour gets one of the palette.
    EXPECT_EQ(parsed(with_region(R"({"name": "A", "kind": "circle", "center": [5, 5], "radius": 2})")).regions[0].color,
              default_region_color(0));
}

TEST(RegionFile, MaskNamesAreKeptRelativeToTheRegionFile) {
    TempFolder folder;
    fs::create_directories(folder / "masks");
    const std::string regions = (folder / "room.hdr.regions.json").string();
    EXPECT_EQ(stored_mask_name(regions, (folder / "masks" / "wall.bmp").string()), "masks/wall.bmp");
    EXPECT_EQ(stored_mask_name(regions, "/elsewhere/wall.bmp"), "/elsewhere/wall.bmp");
    const NamedRegion wall = mask_named_region("Wall", "#ffffff", "masks/wall.bmp");
    EXPECT_EQ(region_mask_path(regions, wall), (folder / "masks" / "wall.bmp").string());
    // From the current folder, a name that looks like an option is not one.
    EXPECT_EQ(region_mask_path("r.json", mask_named_region("M", "#ffffff", "-m.bmp")), "./-m.bmp");
    const RegionChoice choice = region_choice(wall, regions);
    EXPECT_EQ(choice.source, RegionChoice::Source::mask_file);
    EXPECT_EQ(choice.mask_type, 3);
    const RegionChoice drawn =
        region_choice(drawn_named_region("T", "#000000", rectangle_region(1, 2, 3, 4), RegionKind::rectangle), regions);
    EXPECT_EQ(drawn.source, RegionChoice::Source::drawn);
    EXPECT_EQ(drawn.tool, RegionKind::rectangle);
    EXPECT_FLOAT_EQ(drawn.geometry.x1, 3);
}

TEST(RegionFile, FitsAPictureOfAnotherSizeByScalingAndSaysSo) {
    const RegionFile file = parsed(four_regions);
    const RegionFit same = fit_region_file(file, 640, 480);
    EXPECT_EQ(same.scaled_message, "");
    EXPECT_TRUE(same.refused.empty());
    EXPECT_EQ(same.file.regions.size(), 4u);
    EXPECT_FLOAT_EQ(same.file.regions[0].geometry.x0, 10.5f);

    const RegionFit half = fit_region_file(file, 320, 240);
    EXPECT_EQ(half.scaled_message,
              "The regions were drawn on a picture of 640 x 480 pixels and were scaled to this one's 320 x 240.");
    ASSERT_EQ(half.file.regions.size(), 4u);
    EXPECT_EQ(half.file.width, 320);
    const Region& task = half.file.regions[0].geometry;
    EXPECT_FLOAT_EQ(task.x0, 5.25f);
    EXPECT_FLOAT_EQ(task.y1, 35.125f);
    EXPECT_FLOAT_EQ(half.file.regions[1].geometry.radius, 20);
    EXPECT_FLOAT_EQ(half.file.regions[1].geometry.centre_x, 160);
    EXPECT_FLOAT_EQ(half.file.regions[2].geometry.vertices[3].y, 225);
    EXPECT_EQ(half.file.regions[3].mask_file, "wall.bmp");
    // Unknown keys travel with a scaled region.
    EXPECT_EQ(half.file.regions[0].document.find("note")->as_string(), "desk");

    // Another aspect: x and y each by their own factor, the circle by both.
    const NamedRegion stretched = scaled_region(file.regions[1], 2, 0.5);
    EXPECT_FLOAT_EQ(stretched.geometry.centre_x, 640);
    EXPECT_FLOAT_EQ(stretched.geometry.centre_y, 50);
    EXPECT_FLOAT_EQ(stretched.geometry.radius, 40);
}

TEST(RegionFile, ARegionOutsideThePictureOrTooSmallIsRefusedByName) {
    const RegionFile file = parsed(with_region(R"(
        {"name": "Inside", "kind": "rectangle", "points": [[0, 0], [100, 100]]},
        {"name": "Sticks out", "kind": "circle", "center": [90, 50], "radius": 20},
        {"name": "Far", "kind": "polygon", "points": [[10, 10], [150, 10], [150, 50], [10, 50]]},
        {"name": "Tiny", "kind": "rectangle", "points": [[5, 5], [5.5, 9]]})"));
    const RegionFit fit = fit_region_file(file, 100, 100);
    ASSERT_EQ(fit.file.regions.size(), 1u);
    EXPECT_EQ(fit.file.regions[0].name, "Inside");
    ASSERT_EQ(fit.refused.size(), 3u);
    EXPECT_EQ(fit.refused[0], "Region \"Sticks out\" reaches outside the picture (100 x 100 pixels)");
    EXPECT_EQ(fit.refused[1], "Region \"Far\" reaches outside the picture (100 x 100 pixels)");
    EXPECT_THAT(fit.refused[2], HasSubstr("Region \"Tiny\" is too small"));
}

TEST(RegionFile, RefusesWhatIsNoRegionFileAndSaysWhichRegion) {
    EXPECT_THAT(refusal("not json at all"), HasSubstr("not a region file"));
    EXPECT_THAT(refusal("[1, 2]"), HasSubstr("not a region file"));
    EXPECT_THAT(refusal(R"({"width": 0, "height": 10, "regions": []})"), HasSubstr("\"width\" and \"height\""));
    EXPECT_THAT(refusal(R"({"width": 10.5, "height": 10, "regions": []})"), HasSubstr("\"width\" and \"height\""));
    EXPECT_THAT(refusal(R"({"width": 10, "height": 10})"), HasSubstr("\"regions\" must be a list"));
    EXPECT_EQ(refusal(with_region(
                  R"({"name": "Task", "color": "orange", "kind": "circle", "center": [5, 5], "radius": 2})")),
              "Region \"Task\": \"color\" must be \"#rrggbb\", six hexadecimal digits");
    EXPECT_EQ(refusal(with_region(R"({"name": "Blob", "kind": "ellipse"})")),
              "Region \"Blob\": unknown kind \"ellipse\"; the kinds are rectangle, circle, polygon and mask");
    EXPECT_THAT(refusal(with_region(R"({"kind": "circle", "center": [5, 5], "radius": 2})")),
                HasSubstr("region 1 has no \"name\""));
    EXPECT_THAT(refusal(with_region(R"({"name": "R", "kind": "rectangle", "points": [[0, 0]]})")),
                HasSubstr("a rectangle needs \"points\""));
    EXPECT_THAT(refusal(with_region(R"({"name": "R", "kind": "rectangle", "points": [[0, 0], [1, "2"]]})")),
                HasSubstr("two numbers"));
    EXPECT_THAT(refusal(with_region(R"({"name": "C", "kind": "circle", "center": [5, 5], "radius": -1})")),
                HasSubstr("\"radius\" of 0 or more"));
    EXPECT_THAT(refusal(with_region(R"({"name": "M", "kind": "mask", "file": "wall.png"})")),
                HasSubstr("not a .hdr, .pic, .bmp or .tif file"));
    EXPECT_THAT(refusal(with_region(R"({"name": "V", "kind": "mask", "file": "m.bmp", "visible": "no"})")),
                HasSubstr("\"visible\" must be true or false"));
    std::string many = R"({"name": "P", "kind": "polygon", "points": [)";
    for (int i = 0; i < 257; ++i) many += std::string(i ? "," : "") + "[1, 1]";
    EXPECT_THAT(refusal(with_region(many + "]}")), HasSubstr("at most 256 points"));
}

TEST(RegionFile, ReadingRefusesAMissingMaskFileAndWhatIsNoRegularFile) {
    TempFolder folder;
    const std::string path = (folder / "r.regions.json").string();
    write_file(path, with_region(R"({"name": "Wall", "kind": "mask", "file": "wall.bmp"})"));
    auto missing = read_region_file(path);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().message,
              path + ": the mask file " + (folder / "wall.bmp").string() + " of Region \"Wall\" does not exist");
    write_file(folder / "wall.bmp", "BM");
    EXPECT_TRUE(read_region_file(path));

    EXPECT_FALSE(read_region_file((folder / "none.json").string()));
    auto directory = read_region_file(folder.str());
    ASSERT_FALSE(directory);
    EXPECT_THAT(directory.failure().message, HasSubstr("a folder, not a file"));
    write_file(folder / "bad.json", "{\"width\": 1,");
    auto broken = read_region_file((folder / "bad.json").string());
    ASSERT_FALSE(broken);
    EXPECT_THAT(broken.failure().message, HasSubstr("bad.json: not a region file"));
}
