// The rows of a series file: columns, quoting, reading back, the order,
// the figures a plot takes from them, and files that are not series files.

#include <gtest/gtest.h>

#include "series/series_run.h"
#include "support/temp_folder.h"

namespace {

SeriesRow row_at(std::string time, std::string picture, std::string lux = "1200.5") {
    SeriesRow row;
    row.time = std::move(time);
    row.time_source = "capdate";
    row.picture = std::move(picture);
    row.vertical_illuminance = std::move(lux);
    row.glare = {"0.31", "12.5", "16.5", "20.1", "19.7", "1.28"};
    row.ceiling_pixels = "37";
    row.regions = {"410.25", "398.125", "55", ""};
    return row;
}

TEST(SeriesRows, HaveTheColumnsInOrderAndReadBackAsWritten) {
    EXPECT_EQ(series_header_line({"window", "task, left"}),
              "time,time_source,picture,vertical_illuminance_lx,dgp,dgi,ugr,vcp,cgi,lveil,ceiling_pixels,"
              "window_mean,window_weighted_mean,\"task, left_mean\",\"task, left_weighted_mean\"\n");
    const SeriesRow row = row_at("2026-06-21T08:15:00", "shot \"a\", 1.hdr");
    const std::string line = series_row_line(row);
    EXPECT_EQ(line, "2026-06-21T08:15:00,capdate,\"shot \"\"a\"\", 1.hdr\",1200.5,0.31,12.5,16.5,20.1,19.7,1.28,37,"
                    "410.25,398.125,55,\n");
    auto back = parse_series_row(line.substr(0, line.size() - 1) + "\r", series_fixed_columns + 4);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(series_row_line(back.value()), line);
    EXPECT_FALSE(parse_series_row(line, series_fixed_columns));
}

TEST(SeriesRows, SortByTimeThenPictureAndGiveTheirFiguresByName) {
    const SeriesRow a = row_at("2026-06-21T08:15:00", "b.hdr"), b = row_at("2026-06-21T08:15:00", "c.hdr"),
                    c = row_at("2026-06-21T08:30:00", "a.hdr");
    EXPECT_TRUE(series_row_before(a, b));
    EXPECT_TRUE(series_row_before(b, c));
    EXPECT_FALSE(series_row_before(c, a));

    const std::vector<std::string> regions{"window", "task"};
    EXPECT_EQ(row_figure(a, regions, "ev"), 1200.5);
    EXPECT_EQ(row_figure(a, regions, "dgp"), 0.31);
    EXPECT_EQ(row_figure(a, regions, "lveil"), 1.28);
    EXPECT_EQ(row_figure(a, regions, "ceiling"), 37);
    EXPECT_EQ(row_figure(a, regions, "window_weighted_mean"), 398.125);
    EXPECT_EQ(row_figure(a, regions, "task_mean"), 55);
    EXPECT_FALSE(row_figure(a, regions, "task_weighted_mean"));  // empty: no value
    EXPECT_FALSE(row_figure(a, regions, "door_mean"));
    EXPECT_EQ(series_figures(regions),
              (std::vector<std::string>{"dgp", "dgi", "ugr", "vcp", "cgi", "lveil", "ev", "ceiling", "window_mean",
                                        "window_weighted_mean", "task_mean", "task_weighted_mean"}));
    for (const std::string& figure : series_figures(regions)) EXPECT_TRUE(is_series_figure(figure, regions));
    EXPECT_TRUE(is_series_figure("vertical_illuminance_lx", regions));
    EXPECT_TRUE(is_series_figure("ugr", regions));
    EXPECT_FALSE(is_series_figure("door_mean", regions));
    EXPECT_FALSE(is_series_figure("DGP", regions));
}

TEST(SeriesFiles, AreWrittenInTimeOrderAndOtherFilesAreRefused) {
    TempFolder folder;
    const std::string path = (folder / "s.csv").string();
    SeriesTable table{{"window", "task"}, {row_at("2026-06-21T09:00:00", "b.hdr"), row_at("2026-06-21T08:00:00", "a.hdr")}};
    ASSERT_TRUE(write_series_csv(path, table).ok());
    auto back = read_series_csv(path);
    ASSERT_TRUE(back.ok()) << back.failure().message;
    EXPECT_EQ(back.value().region_names, table.region_names);
    ASSERT_EQ(back.value().rows.size(), 2u);
    EXPECT_EQ(back.value().rows[0].picture, "a.hdr");
    // Written through a new file renamed over the old: nothing else is left.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    for (const char* text : {"", "name,kind,count\n", "time,time_source,picture,vertical_illuminance_lx,dgp,dgi,ugr,vcp,"
                                                      "cgi,lveil,ceiling_pixels,window_mean\n",
                             "time,time_source,picture,vertical_illuminance_lx,dgp,dgi,ugr,vcp,cgi,lveil,"
                             "ceiling_pixels\n2026-06-21T08:00:00,capdate,a.hdr,1\n"}) {
        write_file(path, text);
        EXPECT_FALSE(read_series_csv(path).ok()) << text;
    }
}

TEST(SeriesParts, AreCollectedInTimeOrderAndRefusedWhenTheyDisagree) {
    TempFolder folder;
    const std::string one = (folder / "o.csv.part-1").string(), two = (folder / "o.csv.part-2").string(),
                      out = (folder / "o.csv").string();
    ASSERT_TRUE(write_series_csv(one, {{"window", "task"}, {row_at("2026-06-21T10:00:00", "c.hdr")}}).ok());
    ASSERT_TRUE(write_series_csv(two, {{"window", "task"}, {row_at("2026-06-21T08:00:00", "a.hdr"),
                                               row_at("2026-06-21T12:00:00", "b.hdr")}})
                    .ok());
    auto collected = collect_series_parts({one, two}, out);
    ASSERT_TRUE(collected.ok()) << collected.failure().message;
    std::vector<std::string> order;
    for (const SeriesRow& row : read_series_csv(out).value().rows) order.push_back(row.picture);
    EXPECT_EQ(order, (std::vector<std::string>{"a.hdr", "c.hdr", "b.hdr"}));

    ASSERT_FALSE(write_series_csv(two, {{"other"}, {row_at("2026-06-21T08:00:00", "a.hdr")}}).ok());
    SeriesRow other = row_at("2026-06-21T08:00:00", "a.hdr");
    other.regions = {"1", "2"};
    ASSERT_TRUE(write_series_csv(two, {{"other"}, {other}}).ok());
    const auto mixed = collect_series_parts({one, two}, (folder / "m.csv").string());
    ASSERT_FALSE(mixed.ok());
    EXPECT_NE(mixed.failure().message.find("other region columns"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "m.csv"));
}

}  // namespace
