// candelux-cli stats --regions and batch --regions: every region of a file
// measured at once gives, region for region, what a single-region stats run
// gives; the CSV says the same numbers; refusals name the region.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_arguments.h"
#include "cli/cli_process.h"
#include "common/json_value.h"
#include "macro/macro_pictures.h"
#include "regions/region_file.h"
#include "support/regions.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A fisheye picture (the lens figures are known for it) whose pixel (x, y)
// is grey x + 2 y + 1, so that every region has figures of its own.
std::string write_fisheye(const fs::path& path, int size) {
    write_grey_picture(path.string(), size, size, [](int x, int y) { return float(x + 2 * y + 1); },
                       {"VIEW= -vta -vh 180 -vv 180"});
    return path.string();
}

// A mask picture: 1 inside the box, 0 elsewhere.
std::string write_mask(const fs::path& path, int size, int x0, int y0, int x1, int y1) {
    write_grey_picture(path.string(), size, size,
                       [=](int x, int y) { return x >= x0 && x < x1 && y >= y0 && y < y1 ? 1.0f : 0.0f; });
    return path.string();
}

const char* region_file_text = R"({"width": 120, "height": 120, "regions": [
  {"name": "Task", "color": "#ff8000", "kind": "rectangle", "points": [[10.5, 20], [60, 50.5]]},
  {"name": "Lamp", "color": "#00ff00", "kind": "circle", "center": [70, 60], "radius": 25.5},
  {"name": "Window \"north\"", "color": "#0080ff", "kind": "polygon", "points": [[30, 70], [90, 75], [85, 110], [35, 100]]},
  {"name": "Wall", "color": "#ffffff", "kind": "mask", "file": "wall.hdr"}]})";

// The single-region run's options for each region of region_file_text.
const std::vector<std::string> single_region_options = {
    "--rect 10.5,20,60,50.5", "--circle 25.5,70,60", "--polygon '30,70;90,75;85,110;35,100'", "--mask {dir}/wall.hdr"};

// What a region of the table must read as: the single run's object with
// the name first and the picture's key left to the top level.
std::string expected_region(const std::string& name, const std::string& single_json) {
    const size_t picture_key = single_json.find(",\"picture_vertical_illuminance_lx\":");
    EXPECT_NE(picture_key, std::string::npos);
    return "{\"name\":" + json_quoted(name) + "," + single_json.substr(1, picture_key - 1) + "}";
}

std::vector<std::string> csv_fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') field += '"', ++i;
        else if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) fields.push_back(field), field.clear();
        else field += c;
    }
    fields.push_back(field);
    return fields;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

class CliRegions : public ::testing::Test {
protected:
    void SetUp() override {
        picture = write_fisheye(dir / "room.hdr", 120);
        write_mask(dir / "wall.hdr", 120, 5, 80, 40, 115);
        regions = (dir / "room.hdr.regions.json").string();
        write_file(regions, region_file_text);
    }
    CliRun cli(const std::string& words) { return run_candelux_cli(words, config.str(), cache_home.str()); }
    std::string option(size_t region) const {
        return replaced_all(single_region_options[region], "{dir}", dir.str());
    }

    TempFolder config, cache_home, dir;
    std::string picture, regions;
};

}  // namespace

TEST_F(CliRegions, EachRegionOfTheJsonEqualsASingleRegionRunExactly) {
    const RegionFile file = read_region_file(regions).value();
    for (const std::string& settings : {std::string(), std::string(" --percentile 20,10 --criterion greater,150"),
                                        std::string(" --weighted")}) {
        SCOPED_TRACE(settings);
        const CliRun all = cli("stats " + picture + " --regions " + regions + " --json" + settings);
        ASSERT_EQ(all.status, 0) << all.err;
        EXPECT_EQ(all.err, "");
        std::string expected = "{\"regions\":[";
        std::string picture_key;
        for (size_t i = 0; i < file.regions.size(); ++i) {
            const CliRun single = cli("stats " + picture + " " + option(i) + " --json" + settings);
            ASSERT_EQ(single.status, 0) << single.err;
            expected += (i ? "," : "") + expected_region(file.regions[i].name, lines_of(single.out).at(0));
            picture_key = single.out.substr(single.out.find(",\"picture_vertical_illuminance_lx\":"));
        }
        expected += "]" + picture_key;
        EXPECT_EQ(all.out, expected);
        // The fisheye gives every region its lens figures.
        EXPECT_THAT(all.out, Not(HasSubstr("\"solid_angle_sr\":null")));
    }
}

TEST_F(CliRegions, TheCsvSaysTheJsonsNumbersOneRowPerRegion) {
    const CliRun json = cli("stats " + picture + " --regions " + regions + " --json --percentile 20,10");
    const CliRun csv = cli("stats " + picture + " --regions " + regions + " --csv --percentile 20,10");
    ASSERT_EQ(csv.status, 0) << csv.err;
    const std::vector<std::string> rows = lines_of(csv.out);
    ASSERT_EQ(rows.size(), 5u);
    const std::vector<std::string> header = csv_fields(rows[0]);
    ASSERT_EQ(header.size(), 16u);
    auto parsed = parse_json(json.out);
    ASSERT_TRUE(parsed) << json.out;
    const JsonValue::Array& objects = parsed.value().find("regions")->as_array();
    const char* kinds[] = {"rectangle", "circle", "polygon", "mask"};
    for (size_t r = 0; r < 4; ++r) {
        const std::vector<std::string> fields = csv_fields(rows[r + 1]);
        ASSERT_EQ(fields.size(), header.size()) << rows[r + 1];
        EXPECT_EQ(fields[0], objects[r].find("name")->as_string());
        EXPECT_EQ(fields[1], kinds[r]);
        for (size_t c = 2; c < header.size(); ++c) {
            SCOPED_TRACE(header[c]);
            const JsonValue* value = objects[r].find(header[c]);
            ASSERT_NE(value, nullptr);
            // The same digits: the CSV field reads as the JSON number.
            EXPECT_EQ(std::stod(fields[c]), value->as_number());
            const std::string digits = "\"" + header[c] + "\":" + fields[c];
            EXPECT_THAT(json.out, HasSubstr(digits));
        }
    }
    EXPECT_EQ(rows[3].rfind("\"Window \"\"north\"\"\",polygon,", 0), 0u) << rows[3];

    // The text names each region before its figures.
    const CliRun text = cli("stats " + picture + " --regions " + regions);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_THAT(text.out, HasSubstr("Region \"Task\"\nMinimum: "));
    EXPECT_THAT(text.out, HasSubstr("\nRegion \"Wall\"\nMinimum: "));
    EXPECT_THAT(text.out, HasSubstr("Solid angle: "));

    // --report BASE writes the same table as BASE_regions.csv.
    ASSERT_EQ(cli("stats " + picture + " --regions " + regions + " --csv --percentile 20,10 --report " +
                  (dir / "out").string())
                  .status,
              0);
    EXPECT_EQ(read_file(dir / "out_regions.csv"), csv.out);
    const CliRun again = cli("stats " + picture + " --regions " + regions + " --report " + (dir / "out").string());
    EXPECT_EQ(again.status, 2);
    EXPECT_THAT(again.err, HasSubstr("out_regions.csv exists already; give --overwrite"));
    EXPECT_EQ(cli("stats " + picture + " --regions " + regions + " --report " + (dir / "out").string() +
                  " --overwrite")
                  .status,
              0);
}

TEST_F(CliRegions, RegionsDrawnOnAnotherSizeAreScaledWithAWarning) {
    const std::string small = write_fisheye(dir / "small.hdr", 60);
    write_file(dir / "half.json", R"({"width": 120, "height": 120, "regions": [
        {"name": "Task", "kind": "rectangle", "points": [[10, 20], [60, 50]]}]})");
    const CliRun scaled = cli("stats " + small + " --regions " + (dir / "half.json").string() + " --json");
    ASSERT_EQ(scaled.status, 0) << scaled.err;
    EXPECT_THAT(scaled.err, HasSubstr("warning: The regions were drawn on a picture of 120 x 120 pixels and were "
                                      "scaled to this one's 60 x 60."));
    const CliRun single = cli("stats " + small + " --rect 5,10,30,25 --json");
    EXPECT_EQ(scaled.out, "{\"regions\":[" + expected_region("Task", lines_of(single.out).at(0)) + "]" +
                              single.out.substr(single.out.find(",\"picture_vertical_illuminance_lx\":")));
}

TEST_F(CliRegions, RefusalsNameTheRegionAndTheOptions) {
    write_file(dir / "out.json", R"({"width": 120, "height": 120, "regions": [
        {"name": "Inside", "kind": "rectangle", "points": [[10, 20], [60, 50]]},
        {"name": "Beyond", "kind": "circle", "center": [110, 60], "radius": 20}]})");
    const CliRun outside = cli("stats " + picture + " --regions " + (dir / "out.json").string());
    EXPECT_EQ(outside.status, 2);
    EXPECT_EQ(outside.err,
              "candelux-cli stats: Region \"Beyond\" reaches outside the picture (120 x 120 pixels)\n");
    EXPECT_EQ(outside.out, "");

    write_file(dir / "colour.json", R"({"width": 120, "height": 120, "regions": [
        {"name": "Task", "color": "blue", "kind": "rectangle", "points": [[10, 20], [60, 50]]}]})");
    const CliRun colour = cli("stats " + picture + " --regions " + (dir / "colour.json").string());
    EXPECT_EQ(colour.status, 2);
    EXPECT_THAT(colour.err, HasSubstr("Region \"Task\": \"color\" must be \"#rrggbb\""));

    fs::remove(dir / "wall.hdr");
    const CliRun mask = cli("stats " + picture + " --regions " + regions);
    EXPECT_EQ(mask.status, 2);
    EXPECT_THAT(mask.err, HasSubstr("of Region \"Wall\" does not exist"));

    write_file(dir / "text.json", "width 120");
    EXPECT_THAT(cli("stats " + picture + " --regions " + (dir / "text.json").string()).err,
                HasSubstr("not a region file"));
    EXPECT_THAT(cli("stats " + picture + " --csv").err, HasSubstr("--csv goes with --regions"));
    EXPECT_THAT(cli("stats " + picture + " --regions " + regions + " --rect 1,1,5,5").err,
                HasSubstr("give no other region option with it"));
    EXPECT_THAT(cli("stats " + picture + " --regions " + regions + " --json --csv").err,
                HasSubstr("give --json or --csv, not both"));
    EXPECT_EQ(cli("stats " + picture + " --regions").status, 2);
}

TEST_F(CliRegions, BatchMeasuresTheRegionsOnEveryResultBesideItsPicture) {
    TempFolder pictures, cache, seq;
    write_fisheye(pictures / "a.hdr", 120);
    write_fisheye(pictures / "b.hdr", 120);
    const std::string flip = "40015#/C pflip -c -h " + cache.str() + "/dtemp.hdr " + cache.str() + "/dtempo.hdr#NULL";
    const std::string sequence = write_sequence(seq / "flip.seq", {flip});
    const std::string batch = "batch " + sequence + " " + pictures.str() + " --cache-folder " + cache.str();

    // Without --regions the batch writes no table.
    const CliRun plain = cli(batch);
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_FALSE(fs::exists(pictures / "a_regions.csv"));
    EXPECT_THAT(plain.out, Not(HasSubstr("Regions measured")));

    const CliRun run = cli(batch + " --overwrite --regions " + regions);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Regions measured on 2 pictures"));
    for (const char* name : {"a", "b"}) {
        SCOPED_TRACE(name);
        const std::string table = read_file(pictures / (std::string(name) + "_regions.csv"));
        const std::string result = (pictures / ("1-" + std::string(name) + ".hdr")).string();
        const CliRun single = cli("stats " + result + " --regions " + regions + " --csv");
        ASSERT_EQ(single.status, 0) << single.err;
        EXPECT_EQ(table, single.out);
        EXPECT_EQ(lines_of(table).size(), 5u);
    }
    // The flipped result, not the picture, was measured.
    const CliRun source = cli("stats " + (pictures / "a.hdr").string() + " --regions " + regions + " --csv");
    EXPECT_NE(read_file(pictures / "a_regions.csv"), source.out);

    // A table that exists is replaced only with --overwrite.
    fs::remove(pictures / "1-a.hdr");
    fs::remove(pictures / "1-b.hdr");
    const CliRun refused = cli(batch + " --regions " + regions);
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("_regions.csv"));
    EXPECT_THAT(refused.err, HasSubstr("give --overwrite"));
    EXPECT_FALSE(fs::exists(pictures / "1-a.hdr"));

    // The jobs for other machines carry the region file.
    const CliRun jobs = cli(batch + " --overwrite --emit-jobs --regions " + regions);
    ASSERT_EQ(jobs.status, 0) << jobs.err;
    EXPECT_THAT(jobs.out, HasSubstr(" --regions '" + regions + "'"));
}

// The figures asked for reach the batch's tables: each equals stats
// --regions with the same options on the result, and the emitted jobs
// carry them.
TEST_F(CliRegions, BatchTablesHoldThePercentileCriterionAndWeightingAskedFor) {
    TempFolder pictures, cache, seq;
    write_fisheye(pictures / "a.hdr", 120);
    const std::string flip = "40015#/C pflip -c -h " + cache.str() + "/dtemp.hdr " + cache.str() + "/dtempo.hdr#NULL";
    const std::string sequence = write_sequence(seq / "flip.seq", {flip});
    const std::string figures = " --percentile 20,30 --criterion greater,25 --weighted";
    const std::string batch = "batch " + sequence + " " + pictures.str() + " --cache-folder " + cache.str() +
                              " --regions " + regions;
    const CliRun run = cli(batch + figures);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string table = read_file(pictures / "a_regions.csv");
    const CliRun single = cli("stats " + (pictures / "1-a.hdr").string() + " --regions " + regions + " --csv" + figures);
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(table, single.out);
    const CliRun plain = cli("stats " + (pictures / "1-a.hdr").string() + " --regions " + regions + " --csv");
    EXPECT_NE(table, plain.out) << "the figures changed nothing";

    const CliRun jobs = cli(batch + " --overwrite --emit-jobs" + figures);
    ASSERT_EQ(jobs.status, 0) << jobs.err;
    EXPECT_THAT(jobs.out, HasSubstr(" --regions '" + regions + "'" + figures));
    // Without a region file there is no table for them.
    const CliRun refused = cli("batch " + sequence + " " + pictures.str() + " --weighted");
    EXPECT_EQ(refused.status, 2);
    EXPECT_THAT(refused.err, HasSubstr("go with --regions"));
}

TEST_F(CliRegions, RealFisheyePhotographRowsEqualSingleRuns) {
    const std::string photo = shared_picture("fisheye_photo_786.hdr");
    if (photo.empty()) GTEST_SKIP() << "shared pictures are not on this machine";
    write_file(dir / "photo.json", R"({"width": 786, "height": 786, "regions": [
        {"name": "Sky", "kind": "circle", "center": [393, 393], "radius": 120},
        {"name": "Left", "kind": "rectangle", "points": [[50, 300], [250, 500]]},
        {"name": "Floor", "kind": "polygon", "points": [[300, 600], [500, 600], [520, 760], [280, 760]]}]})");
    const CliRun all = cli("stats " + photo + " --regions " + (dir / "photo.json").string() + " --json --weighted");
    ASSERT_EQ(all.status, 0) << all.err;
    std::string expected = "{\"regions\":[";
    const std::pair<const char*, const char*> singles[] = {
        {"Sky", "--circle 120,393,393"}, {"Left", "--rect 50,300,250,500"},
        {"Floor", "--polygon '300,600;500,600;520,760;280,760'"}};
    std::string picture_key;
    for (const auto& [name, region] : singles) {
        const CliRun single = cli("stats " + photo + " " + region + " --json --weighted");
        ASSERT_EQ(single.status, 0) << single.err;
        expected += std::string(expected.back() == '[' ? "" : ",") + expected_region(name, lines_of(single.out).at(0));
        picture_key = single.out.substr(single.out.find(",\"picture_vertical_illuminance_lx\":"));
    }
    EXPECT_EQ(all.out, expected + "]" + picture_key);
}

TEST(CliRegionsArguments, RegionsAndCsvAreReadForStatsAndBatch) {
    auto stats = parse_cli_arguments({"stats", "p.hdr", "--regions", "r.json", "--csv", "--percentile", "10,5"});
    ASSERT_TRUE(stats) << stats.failure().message;
    const StatsOptions& options = std::get<StatsOptions>(stats.value());
    EXPECT_EQ(options.regions_file, "r.json");
    EXPECT_TRUE(options.csv);
    EXPECT_EQ(options.region.source, RegionChoice::Source::whole_picture);
    EXPECT_FALSE(parse_cli_arguments({"stats", "p.hdr", "--regions", "a.json", "--regions", "b.json"}));
    EXPECT_FALSE(parse_cli_arguments({"stats", "p.hdr", "--regions", ""}));
    EXPECT_FALSE(parse_cli_arguments({"stats", "p.hdr", "--regions", "r.json", "--region-b", "--rect", "1,1,5,5"}));
    auto batch = parse_cli_arguments({"batch", "s.seq", "pictures", "--regions", "r.json"});
    ASSERT_TRUE(batch) << batch.failure().message;
    EXPECT_EQ(std::get<BatchOptions>(batch.value()).regions_file, "r.json");
    EXPECT_EQ(std::get<BatchOptions>(parse_cli_arguments({"batch", "s.seq", "f"}).value()).regions_file, "");
}
