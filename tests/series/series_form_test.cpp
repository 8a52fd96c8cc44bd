// The series window's form without a window: its choices and refusals, the
// run's options, the picture of a row, the figures offered, the exports
// through the scripted seam, and the point under the pointer.

#include <gtest/gtest.h>

#include "series/plot_point_at.h"
#include "series/scripted_series_desktop.h"
#include "series/series_form.h"
#include "support/day_series.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class SeriesFormTest : public ::testing::Test {
protected:

    // Runs the form's options over the folder, as the window does.
    void run_folder() {
        auto pictures = form.folder_pictures();
        ASSERT_TRUE(pictures);
        auto options = form.run_options(*pictures, false);
        ASSERT_TRUE(options);
        options.value().program_folder = CANDELUX_PROGRAMS_DIR;
        ASSERT_TRUE(run_series(options.value()));
        ASSERT_TRUE(form.reload_table());
    }

    ScriptedSeriesDesktop desktop;
    TempFolder cache;
    TempFolder pictures;
    std::vector<std::string> opened;
    SeriesForm form{desktop, [this](const std::string& path) { opened.push_back(path); }, cache.str(), "/opt/programs"};
};

}  // namespace

TEST_F(SeriesFormTest, ChoosersKeepTheFieldWhenCancelled) {
    desktop.folder_answers = {pictures.str(), ""};
    EXPECT_TRUE(form.on_choose_folder());
    EXPECT_FALSE(form.on_choose_folder());
    EXPECT_EQ(form.folder, pictures.str());
    desktop.regions_answers = {"/data/room.regions.json"};
    EXPECT_TRUE(form.on_choose_regions());
    EXPECT_FALSE(form.on_choose_regions());
    EXPECT_EQ(form.regions, "/data/room.regions.json");
}

TEST_F(SeriesFormTest, RunOptionsSayWhatTheRunNeeds) {
    form.folder = pictures.str();
    form.glare = true;
    form.glare_options = "-vta -vv 180 -vh 180";
    form.jobs = 3;
    auto fresh = form.run_options({{"/p/a.hdr", "a.hdr"}}, false);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh.value().csv, (cache.path() / "series.csv").string());
    EXPECT_EQ(fresh.value().existing, ExistingCsv::overwrite);
    EXPECT_EQ(fresh.value().glare_options, std::optional<std::string>("-vta -vv 180 -vh 180"));
    EXPECT_EQ(fresh.value().program_folder, "/opt/programs");
    EXPECT_EQ(fresh.value().scratch_folder, cache.str());
    EXPECT_EQ(fresh.value().jobs, 3);
    auto added = form.run_options({{"/p/b.hdr", "b.hdr"}}, true);
    ASSERT_TRUE(added);
    EXPECT_EQ(added.value().existing, ExistingCsv::resume);
    form.glare = false;
    EXPECT_FALSE(form.run_options({}, false).value().glare_options);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SeriesFormTest, RefusesMissingChoicesWithAMessage) {
    EXPECT_FALSE(form.folder_pictures());
    form.folder = (pictures.path() / "missing").string();
    EXPECT_FALSE(form.folder_pictures());
    form.folder = pictures.str();
    form.glare = true;
    form.glare_options = "-vta $(reboot)";
    EXPECT_FALSE(form.run_options({}, false));
    form.glare_options = "-vta -c check.hdr";
    EXPECT_FALSE(form.run_options({}, false));
    form.glare = false;
    form.regions = (pictures.path() / "none.regions.json").string();
    EXPECT_FALSE(form.run_options({}, false));
    ASSERT_EQ(desktop.messages.size(), 5u);
    EXPECT_EQ(desktop.messages[0].first, "Choose a folder of pictures first.");
    EXPECT_EQ(desktop.messages[1].first.rfind("Cannot list the pictures: ", 0), 0u);
    EXPECT_EQ(desktop.messages[2].first.rfind("The glare options cannot be used: ", 0), 0u);
    EXPECT_NE(desktop.messages[3].first.find("-c"), std::string::npos);
    EXPECT_EQ(desktop.messages[4].first, "The regions file cannot be found:\n" + form.regions);
    for (const auto& message : desktop.messages) EXPECT_EQ(message.second, MessageIcon::warning);
}

TEST_F(SeriesFormTest, RowsNameTheirPicturesAndOpenThem) {
    const std::vector<DayPicture> day = write_day_series(pictures.path(), 3);
    ASSERT_EQ(day.size(), 3u);
    form.folder = pictures.str();
    ASSERT_NO_FATAL_FAILURE(run_folder());
    ASSERT_EQ(form.table.rows.size(), 3u);
    EXPECT_EQ(form.picture_path(0), (pictures.path() / day[0].name).string());
    EXPECT_EQ(form.picture_path(3), "");
    form.open_picture(1);
    form.open_picture(7);
    EXPECT_EQ(opened, (std::vector<std::string>{(pictures.path() / day[1].name).string()}));
    EXPECT_EQ(form.available_figures(),
              (std::vector<std::string>{"ev", "dgp", "dgi", "ugr", "vcp", "cgi", "lveil", "ceiling"}));
    form.table.region_names = {"window"};
    EXPECT_EQ(form.available_figures().back(), "window_weighted_mean");
    EXPECT_EQ(form.available_figures()[8], "window_mean");
}

TEST_F(SeriesFormTest, SavesTheCsvAndThePlot) {
    ASSERT_EQ(write_day_series(pictures.path(), 4).size(), 4u);
    form.folder = pictures.str();
    EXPECT_FALSE(form.on_save_csv());  // nothing measured yet
    ASSERT_NO_FATAL_FAILURE(run_folder());
    desktop.csv_answers = {(pictures.path() / "out.csv").string(), ""};
    EXPECT_TRUE(form.on_save_csv());
    EXPECT_EQ(read_file(pictures.path() / "out.csv"), read_file(form.working_csv()));
    EXPECT_FALSE(fs::exists(pictures.path() / "out.csv.partial"));
    EXPECT_FALSE(form.on_save_csv());  // cancelled

    std::vector<std::string> pngs;
    const auto png = [&](const PlotLayout& layout, const std::string& path) {
        EXPECT_EQ(layout.width, 1200);
        pngs.push_back(path);
        return path.find("unwritable") == std::string::npos;
    };
    desktop.plot_answers = {{1, (pictures.path() / "a.png").string()},
                            {2, (pictures.path() / "b").string()},
                            {1, (pictures.path() / "c.svg").string()},
                            {2, (pictures.path() / "d.png").string()},
                            {1, "/unwritable/e.png"}};
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(form.on_save_plot(png)) << i;
    EXPECT_FALSE(form.on_save_plot(png));
    // The name's extension wins over the filter; a name without one takes the filter's kind.
    EXPECT_EQ(pngs, (std::vector<std::string>{(pictures.path() / "a.png").string(), (pictures.path() / "d.png").string(),
                                              "/unwritable/e.png"}));
    const std::string svg = plot_svg(form.plot(1200, 0).value());
    EXPECT_EQ(read_file(pictures.path() / "b"), svg);
    EXPECT_EQ(read_file(pictures.path() / "c.svg"), svg);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].first, "There is no series to save yet.");
    EXPECT_EQ(desktop.messages[1], std::make_pair(std::string("File IO Error!\n/unwritable/e.png"), MessageIcon::error));
}

TEST(PlotPointAt, FindsTheNearestPointWithinTheRadius) {
    PlotLayout layout;
    PlotCurve first, second;
    first.runs = {{{10, 10, 0}, {20, 10, 1}}, {{40, 10, 3}}};
    second.runs = {{{20, 13, 5}}};
    layout.curves = {first, second};
    EXPECT_EQ(plot_point_at(layout, 10, 10, 6), std::optional<size_t>(0));
    EXPECT_EQ(plot_point_at(layout, 21, 11, 6), std::optional<size_t>(1));
    EXPECT_EQ(plot_point_at(layout, 20, 12, 6), std::optional<size_t>(5));   // nearer the second curve's point
    EXPECT_EQ(plot_point_at(layout, 20, 11.5, 6), std::optional<size_t>(1));  // equally near: the first curve's
    EXPECT_EQ(plot_point_at(layout, 44, 10, 6), std::optional<size_t>(3));    // a later run
    EXPECT_EQ(plot_point_at(layout, 30, 10, 6), std::nullopt);
    EXPECT_EQ(plot_point_at(layout, 10, 16.5, 6), std::nullopt);
    EXPECT_EQ(plot_point_at(PlotLayout{}, 0, 0, 6), std::nullopt);
}
