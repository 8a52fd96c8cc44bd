// The region panel's list without a window: adding what was drawn, naming,
// showing, ordering, selecting and deleting regions, the region file beside
// the picture, and the table of every region's figures.

#include <gtest/gtest.h>

#include <filesystem>

#include "regions/region_table.h"
#include "macro/macro_recorder.h"
#include "regions/csv_fields.h"
#include "regions/region_list_form.h"
#include "regions/region_list_host.h"
#include "regions/region_table_form.h"
#include "support/regions.h"
#include "support/scripted_desktop.h"
#include "support/scripted_regions_desktop.h"
#include "support/temp_folder.h"
#include "tools/process_runner.h"

namespace {

class FakeRegionHost : public RegionListHost {
public:
    FakeRegionHost() { runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }

    std::string picture_path() const override { return picture; }
    bool has_picture() const override { return !picture.empty(); }
    int32_t picture_width() const override { return map.width; }
    int32_t picture_height() const override { return map.height; }
    const Region& selection() const override { return drawn; }
    RegionKind tool() const override { return drawn_with; }
    void take_selection(const Region& region, RegionKind tool) override {
        drawn = region;
        drawn_with = tool;
        ++taken;
    }
    void repaint() override { ++repaints; }
    bool can_analyse() const override { return has_picture() && !busy; }
    StatisticsContext statistics_context() override { return {map, cache.str(), runner, desktop, false}; }

    TempFolder folder;  // the picture's
    TempFolder cache;
    std::string picture = (folder / "office.hdr").string();
    LuminanceMap map = numbered_map(200, 100);
    Region drawn;
    RegionKind drawn_with = RegionKind::rectangle;
    int taken = 0;
    int repaints = 0;
    bool busy = false;  // a wizard or the falsecolor view has the statistics
    ScriptedDesktop desktop;
    MacroRecorder recorder;
    ProcessRunner runner{desktop, recorder};
};

class RegionList : public ::testing::Test {
protected:
    void draw(const Region& region, RegionKind tool) {
        host.drawn = region;
        host.drawn_with = tool;
    }
    // Task, window, screen and back wall: a rectangle, a polygon, a circle
    // and a rectangle.
    void add_four() {
        draw(rectangle_region(10, 10, 60, 40), RegionKind::rectangle);
        ASSERT_TRUE(form.on_add());
        draw(polygon_region({{100, 10}, {150, 10}, {150, 50}, {100, 50}}), RegionKind::polygon);
        ASSERT_TRUE(form.on_add());
        draw(circle_region(15, 60, 70), RegionKind::circle);
        ASSERT_TRUE(form.on_add());
        draw(rectangle_region(120, 60, 190, 95), RegionKind::rectangle);
        ASSERT_TRUE(form.on_add());
        for (auto [i, name] : {std::pair{0, "task"}, {1, "window"}, {2, "screen"}, {3, "back wall"}})
            ASSERT_TRUE(form.on_rename(static_cast<size_t>(i), name));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const NamedRegion& r : form.regions()) all.push_back(r.name);
        return all;
    }

    FakeRegionHost host;
    ScriptedRegionsDesktop desktop;
    RegionListForm form{desktop, host};
};

TEST_F(RegionList, AddsWhatWasDrawnAsRegionNInTheNextColour) {
    draw(rectangle_region(10, 10, 60, 40), RegionKind::rectangle);
    ASSERT_TRUE(form.on_add());
    draw(circle_region(15, 60, 70), RegionKind::circle);
    ASSERT_TRUE(form.on_add());
    ASSERT_EQ(form.regions().size(), 2u);
    EXPECT_EQ(names(), (std::vector<std::string>{"Region 1", "Region 2"}));
    EXPECT_EQ(form.regions()[0].color, default_region_color(0));
    EXPECT_EQ(form.regions()[1].color, default_region_color(1));
    EXPECT_NE(form.regions()[0].color, form.regions()[1].color);
    EXPECT_EQ(form.regions()[1].kind, RegionKind::circle);
    EXPECT_EQ(form.regions()[1].geometry.radius, 15);
    EXPECT_EQ(form.regions()[0].geometry.x1, 60);
    EXPECT_TRUE(form.regions()[0].visible);
    EXPECT_EQ(form.current(), 1);
    EXPECT_EQ(desktop.changes, 2);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(RegionList, AddsNothingWithoutADrawnRegion) {
    EXPECT_FALSE(form.on_add());
    // A polygon of three vertices samples the whole picture: no region.
    draw(polygon_region({{1, 1}, {50, 1}, {50, 50}}), RegionKind::polygon);
    EXPECT_FALSE(form.on_add());
    EXPECT_TRUE(form.regions().empty());
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].first, no_selection_text);
}

TEST_F(RegionList, RenamesOnlyToANewNameThatIsNotBlank) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    EXPECT_EQ(names(), (std::vector<std::string>{"task", "window", "screen", "back wall"}));
    EXPECT_FALSE(form.on_rename(1, "task"));
    EXPECT_FALSE(form.on_rename(1, "  "));
    EXPECT_EQ(form.regions()[1].name, "window");
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_NE(desktop.messages[0].first.find("\"task\""), std::string::npos);
    // The next default name counts past the names taken.
    draw(rectangle_region(1, 1, 5, 5), RegionKind::rectangle);
    ASSERT_TRUE(form.on_add());
    EXPECT_EQ(form.regions().back().name, "Region 5");
}

TEST_F(RegionList, ShowsHidesMovesAndDeletesKeepingTheSelectedRegion) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    form.on_visible(2, false);
    EXPECT_FALSE(form.regions()[2].visible);
    form.on_select(1);
    form.on_move(1, -1);
    EXPECT_EQ(names(), (std::vector<std::string>{"window", "task", "screen", "back wall"}));
    EXPECT_EQ(form.current(), 0);
    form.on_move(0, -1);  // already first
    form.on_move(3, 1);   // already last
    form.on_move(2, 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"window", "task", "back wall", "screen"}));
    EXPECT_FALSE(form.regions()[3].visible);
    form.on_delete(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"window", "back wall", "screen"}));
    EXPECT_EQ(form.current(), 0);
    form.on_delete(0);
    EXPECT_EQ(form.current(), -1);
    form.on_delete(7);
    EXPECT_EQ(form.regions().size(), 2u);
}

TEST_F(RegionList, ASelectedRegionBecomesTheSelectionWithItsTool) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    draw(Region{}, RegionKind::rectangle);
    form.on_select(2);
    EXPECT_EQ(host.drawn_with, RegionKind::circle);
    EXPECT_EQ(host.drawn.radius, 15);
    EXPECT_EQ(host.drawn.centre_x, 60);
    form.on_select(1);
    EXPECT_EQ(host.drawn_with, RegionKind::polygon);
    EXPECT_EQ(host.drawn.vertex_count, 4);
    EXPECT_EQ(host.drawn.radius, 0);
    EXPECT_EQ(form.current(), 1);
}

TEST_F(RegionList, ColoursComeFromTheChooserAndMustBeRrggbb) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    desktop.colors = {"#123456", ""};
    form.on_color(0);
    form.on_color(0);  // cancelled
    EXPECT_EQ(form.regions()[0].color, "#123456");
    form.set_color(0, "blue");
    EXPECT_EQ(form.regions()[0].color, "#123456");
}

TEST_F(RegionList, SavesBesideThePictureAndLoadsTheSameRegions) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    form.on_visible(3, false);
    const std::string beside = host.picture + ".regions.json";
    desktop.region_files = {beside};
    form.on_save();
    ASSERT_EQ(desktop.suggested.size(), 1u);
    EXPECT_EQ(desktop.suggested[0], beside);
    ASSERT_TRUE(std::filesystem::exists(beside));
    EXPECT_EQ(form.file_path(), beside);

    RegionListForm again{desktop, host};
    desktop.region_files = {beside};
    again.on_load();
    ASSERT_EQ(again.regions().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const NamedRegion &a = form.regions()[i], &b = again.regions()[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.color, b.color);
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.visible, b.visible);
        EXPECT_EQ(a.geometry.x0, b.geometry.x0);
        EXPECT_EQ(a.geometry.y1, b.geometry.y1);
        EXPECT_EQ(a.geometry.radius, b.geometry.radius);
        EXPECT_EQ(a.geometry.vertex_count, b.geometry.vertex_count);
        EXPECT_EQ(a.geometry.vertices[2], b.geometry.vertices[2]);
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(RegionList, LoadingOntoAnotherSizeScalesAndSaysSo) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    const std::string path = (host.folder / "drawn.regions.json").string();
    ASSERT_TRUE(form.save(path));
    host.map = numbered_map(400, 200);
    ASSERT_TRUE(form.load(path));
    ASSERT_EQ(form.regions().size(), 4u);
    EXPECT_EQ(form.regions()[0].geometry.x1, 120);
    EXPECT_EQ(form.regions()[0].geometry.y1, 80);
    EXPECT_EQ(form.regions()[2].geometry.radius, 30);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].first.find("200 x 100"), std::string::npos);
    EXPECT_NE(desktop.messages[0].first.find("400 x 200"), std::string::npos);
    EXPECT_EQ(desktop.messages[0].second, MessageIcon::information);
}

TEST_F(RegionList, LoadingRefusesARegionOutsideThePictureByName) {
    const std::string path = (host.folder / "far.regions.json").string();
    write_file(path, R"({"width": 200, "height": 100, "regions": [
        {"name": "desk", "color": "#ff0000", "kind": "rectangle", "points": [[1, 1], [20, 20]]},
        {"name": "beyond", "color": "#00ff00", "kind": "circle", "center": [190, 50], "radius": 40}]})");
    ASSERT_TRUE(form.load(path));
    ASSERT_EQ(form.regions().size(), 1u);
    EXPECT_EQ(form.regions()[0].name, "desk");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].first.find("\"beyond\""), std::string::npos);
    EXPECT_EQ(desktop.messages[0].second, MessageIcon::warning);

    write_file(path, "{\"width\": 2");
    EXPECT_FALSE(form.load(path));
    EXPECT_EQ(form.regions().size(), 1u);
    EXPECT_EQ(desktop.messages.back().second, MessageIcon::error);
}

TEST_F(RegionList, AMaskKeepsItsFileWhenTheListIsSavedElsewhere) {
    TempFolder first, second;
    write_file(first / "wall_mask.bmp", "BM");
    const std::string path = (first / "study.regions.json").string();
    write_file(path, R"({"width": 200, "height": 100, "regions": [
        {"name": "wall", "color": "#ffffff", "kind": "mask", "file": "wall_mask.bmp", "lamp": "on"}]})");
    ASSERT_TRUE(form.load(path));
    ASSERT_EQ(form.regions().size(), 1u);
    // A mask cannot be the selection: choosing it leaves none.
    draw(rectangle_region(1, 1, 9, 9), RegionKind::rectangle);
    form.on_select(0);
    EXPECT_FALSE(host.drawn.any());

    const std::string moved = (second / "study.regions.json").string();
    ASSERT_TRUE(form.save(moved));
    EXPECT_EQ(form.regions()[0].mask_file, (first / "wall_mask.bmp").string());
    RegionListForm again{desktop, host};
    ASSERT_TRUE(again.load(moved));
    EXPECT_EQ(region_mask_path(moved, again.regions()[0]), (first / "wall_mask.bmp").string());
    // The key this version does not know is still there.
    EXPECT_NE(read_file(moved).find("\"lamp\""), std::string::npos);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(RegionList, ANewPictureEmptiesTheListAndOffersTheFileBesideIt) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    form.on_picture_opened();
    EXPECT_TRUE(form.regions().empty());
    EXPECT_TRUE(desktop.questions.empty());

    ASSERT_NO_FATAL_FAILURE(add_four());
    ASSERT_TRUE(form.save(host.picture + ".regions.json"));
    desktop.answers = {false, true};
    form.on_picture_opened();
    EXPECT_TRUE(form.regions().empty());
    form.on_picture_opened();
    ASSERT_EQ(desktop.questions.size(), 2u);
    EXPECT_NE(desktop.questions[0].find("office.hdr.regions.json"), std::string::npos);
    EXPECT_EQ(names(), (std::vector<std::string>{"task", "window", "screen", "back wall"}));
}

TEST_F(RegionList, AnalysesEveryRegionWithTheSingleRegionFigures) {
    form.on_analyze_all();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].first, no_regions_text);
    EXPECT_EQ(desktop.table, nullptr);

    ASSERT_NO_FATAL_FAILURE(add_four());
    host.busy = true;
    form.on_analyze_all();
    EXPECT_EQ(desktop.table, nullptr);
    host.busy = false;
    form.on_analyze_all();
    ASSERT_NE(desktop.table, nullptr);
    EXPECT_EQ(desktop.table, form.table_form());
    EXPECT_EQ(host.desktop.progress_shows, 1);
    EXPECT_EQ(host.desktop.progress_closes, 1);
    const RegionTable& table = desktop.table->table();
    ASSERT_EQ(table.rows.size(), 4u);
    StatisticsContext context = host.statistics_context();
    for (size_t i = 0; i < 4; ++i) {
        const NamedRegion& region = form.regions()[i];
        AnalysisSettings settings;
        settings.general_statistics = true;
        const RegionChoice choice = region_choice(region, "");
        const Result<RegionAnalysis> single =
            analyse_region_choice(context, table.lens, choice, region_record(settings, choice), false);
        ASSERT_TRUE(single);
        const RegionStatistics &a = table.rows[i].analysis.statistics, &b = single.value().statistics;
        EXPECT_EQ(table.rows[i].name, region.name);
        EXPECT_EQ(a.count(), b.count()) << region.name;
        EXPECT_EQ(a.mean, b.mean) << region.name;
        EXPECT_EQ(a.median, b.median) << region.name;
        EXPECT_EQ(a.minimum, b.minimum) << region.name;
        EXPECT_EQ(a.maximum, b.maximum) << region.name;
        EXPECT_EQ(a.standard_deviation, b.standard_deviation) << region.name;
    }
    // The task rectangle of numbered pixels: columns 10 to 59, rows 10 to 39.
    EXPECT_EQ(table.rows[0].analysis.statistics.minimum, 10011);
    EXPECT_EQ(table.rows[0].analysis.statistics.maximum, 39060);

    // A picture without a view has no solid angles to weigh by.
    EXPECT_FALSE(desktop.table->can_weight());
    EXPECT_FALSE(desktop.table->set_weighted(true));
    EXPECT_FALSE(desktop.table->weighted());

    // The window's cells are the CSV's fields.
    const auto records = csv_records(region_table_csv(table));
    ASSERT_EQ(desktop.table->rows().size(), 4u);
    EXPECT_EQ(desktop.table->titles(), records[0]);
    EXPECT_EQ(desktop.table->rows()[3], records[4]);
    EXPECT_EQ(desktop.table->rows()[3][0], "back wall");
}

TEST_F(RegionList, LeavesOutRegionsAnEditPutOutsideThePicture) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    host.map = numbered_map(100, 100);  // as after a crop
    form.on_analyze_all();
    ASSERT_NE(desktop.table, nullptr);
    EXPECT_EQ(desktop.table->table().rows.size(), 2u);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_NE(desktop.messages[0].first.find("\"window\""), std::string::npos);
    EXPECT_NE(desktop.messages[0].first.find("\"back wall\""), std::string::npos);
}

TEST_F(RegionList, SavesTheTableAsBaseRegionsCsvBesideThePicture) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    form.on_analyze_all();
    ASSERT_NE(desktop.table, nullptr);
    EXPECT_EQ(desktop.table->suggested_csv_base(), (host.folder / "office").string());
    desktop.table_files = {(host.folder / "office.csv").string(), (host.folder / "office.csv").string(),
                           (host.folder / "office.csv").string()};
    const std::string written = desktop.table->on_save_csv();
    EXPECT_EQ(written, (host.folder / "office_regions.csv").string());
    EXPECT_EQ(read_file(written), region_table_csv(desktop.table->table()));
    // Replaced only when the user says so.
    desktop.answers = {false, true};
    EXPECT_EQ(desktop.table->on_save_csv(), "");
    EXPECT_EQ(desktop.table->on_save_csv(), written);
    EXPECT_EQ(desktop.questions.size(), 2u);
}

TEST(CsvRecords, SplitsQuotedFieldsAndBothLineEnds) {
    const auto records = csv_records("name,mean\r\n\"a, \"\"b\"\"\",1.5\r\nc,\n");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1], (std::vector<std::string>{"a, \"b\"", "1.5"}));
    EXPECT_EQ(records[2], (std::vector<std::string>{"c", ""}));
}

}  // namespace
