// A day of captures measured by the series command: each row against single
// evalglare and illuminance runs, the time order, a stopped run resumed, and
// the cluster's jobs collected, all to the same bytes.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <atomic>
#include <cstdlib>
#include <sstream>

#include "analysis/glare_command.h"
#include "cli/cli.h"
#include "series/series_measure.h"
#include "series/series_run.h"
#include "support/day_series.h"
#include "support/formula_pictures.h"
#include "support/temp_folder.h"
#include "tools/process_runner.h"

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun series_cli(const std::vector<std::string>& words, const std::string& cache) {
    std::ostringstream out, err;
    const int status = run_cli(words, series_places(cache), out, err, false);
    return {status, out.str(), err.str()};
}

// One day, measured once by a plain run with glare, shared by the tests.
class DaySeries : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        pictures_ = write_day_series(folder_->path() / "day");
        ASSERT_EQ(pictures_.size(), 48u);
        const CliRun run = series_cli({"series", day(), "--csv", plain_csv(), "--glare", day_glare_options, "--jobs", "2"},
                                   cache());
        ASSERT_EQ(run.status, 0) << run.err;
        plain_ = read_file(plain_csv());
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string day() { return (folder_->path() / "day").string(); }
    static std::string cache() { return folder_->str(); }
    static std::string plain_csv() { return (folder_->path() / "plain.csv").string(); }

    static TempFolder* folder_;
    static std::vector<DayPicture> pictures_;
    static std::string plain_;
};
TempFolder* DaySeries::folder_ = nullptr;
std::vector<DayPicture> DaySeries::pictures_;
std::string DaySeries::plain_;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(DaySeries, RowsAreInTimeOrderAndEqualSingleEvalglareAndIlluminanceRuns) {
    const std::vector<std::string> lines = lines_of(plain_);
    ASSERT_EQ(lines.size(), pictures_.size() + 1);
    EXPECT_EQ(lines[0], "time,time_source,picture,vertical_illuminance_lx,dgp,dgi,ugr,vcp,cgi,lveil,ceiling_pixels");
    std::string dgp_first, dgp_last;
    for (size_t i = 0; i < pictures_.size(); ++i) {
        const std::string path = day() + "/" + pictures_[i].name;
        auto row = parse_series_row(lines[i + 1], series_fixed_columns);
        ASSERT_TRUE(row.ok()) << lines[i + 1];
        EXPECT_EQ(row.value().time, pictures_[i].time);
        EXPECT_EQ(row.value().time_source, "capdate");
        EXPECT_EQ(row.value().picture, pictures_[i].name);

        // evalglare once, as the series runs it.
        const ProcessOutput single =
            run_shell_command(std::string("/C evalglare ") + day_glare_options + " " + path, CANDELUX_PROGRAMS_DIR,
                              nullptr, nullptr);
        const auto indices = glare_indices_of(single.text);
        ASSERT_TRUE(indices) << single.text;
        EXPECT_EQ(row.value().glare, *indices) << pictures_[i].name;

        // The illuminance command prints the same number.
        const CliRun illuminance = series_cli({"illuminance", path}, cache());
        ASSERT_EQ(illuminance.status, 0) << illuminance.err;
        EXPECT_EQ(lines_of(illuminance.out).front(),
                  "Vertical illuminance at the lens: " + row.value().vertical_illuminance + " lx");
        if (i == 0) dgp_first = row.value().glare[0];
        dgp_last = row.value().glare[0];
    }
    // The sun patch grows: the day ends with more glare than it began.
    EXPECT_LT(std::stod(dgp_first), std::stod(dgp_last));
}

TEST_F(DaySeries, ARunStoppedMidwayAndResumedWritesTheSameBytes) {
    TempFolder work;
    const std::string csv = (work.path() / "stopped.csv").string();
    SeriesOptions options;
    options.pictures = series_pictures_of_folder(day()).value();
    options.csv = csv;
    options.glare_options = day_glare_options;
    options.program_folder = CANDELUX_PROGRAMS_DIR;
    options.scratch_folder = work.str();
    options.jobs = 2;
    std::atomic<bool> stop{false};
    auto stopped = run_series(options, [&](const SeriesProgress& step) { if (step.done == 11) stop = true; }, &stop);
    ASSERT_TRUE(stopped.ok()) << stopped.failure().message;
    EXPECT_TRUE(stopped.value().stopped);
    const size_t kept = lines_of(read_file(csv)).size() - 1;
    EXPECT_GE(kept, 11u);
    EXPECT_LT(kept, pictures_.size());

    // A line cut short by a kill is dropped and measured again.
    write_file(csv, read_file(csv) + "2026-06-21T23:00:00,capdate,shot-4");

    const CliRun refused = series_cli({"series", day(), "--csv", csv, "--glare", day_glare_options}, cache());
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("exists already"), std::string::npos) << refused.err;

    const CliRun resumed =
        series_cli({"series", day(), "--csv", csv, "--glare", day_glare_options, "--resume"}, cache());
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_NE(resumed.out.find(std::to_string(kept) + " resumed"), std::string::npos) << resumed.out;
    EXPECT_EQ(read_file(csv), plain_);

    // Resuming a finished file measures nothing and changes nothing.
    const CliRun again = series_cli({"series", day(), "--csv", csv, "--glare", day_glare_options, "--resume"}, cache());
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("0 pictures measured"), std::string::npos) << again.out;
    EXPECT_EQ(read_file(csv), plain_);
}

TEST_F(DaySeries, ARunEndedBySigtermKeepsItsRowsAndResumesToTheSameBytes) {
    TempFolder work;
    const std::string csv = (work.path() / "term.csv").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("XDG_CACHE_HOME", work.str().c_str(), 1);
        setenv("XDG_CONFIG_HOME", work.str().c_str(), 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1), dup2(null, 2);
        execl(CANDELUX_CLI, CANDELUX_CLI, "series", day().c_str(), "--csv", csv.c_str(), "--glare", day_glare_options,
              "--jobs", "1", static_cast<char*>(nullptr));
        _exit(127);
    }
    // As a scheduler ends a job: SIGTERM once some rows are written.
    bool some = false;
    for (int i = 0; i < 6000 && !some; ++i) {
        some = lines_of(read_file(csv)).size() > 5;
        if (!some) usleep(10000);
    }
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(some);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    const auto kept = read_series_csv(csv);
    ASSERT_TRUE(kept.ok()) << kept.failure().message;
    EXPECT_GE(kept.value().rows.size(), 5u);
    EXPECT_LT(kept.value().rows.size(), pictures_.size());
    // Every row kept is a finished picture's: the same as the plain run's.
    for (const SeriesRow& row : kept.value().rows) EXPECT_NE(plain_.find(series_row_line(row)), std::string::npos);
    // The run's working folder went with it.
    for (const auto& entry : std::filesystem::directory_iterator(work.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("cli-")) << entry.path();

    const CliRun resumed =
        series_cli({"series", day(), "--csv", csv, "--glare", day_glare_options, "--resume"}, cache());
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_EQ(read_file(csv), plain_);
}

TEST_F(DaySeries, EmittedJobsRunByAShellAndCollectedWriteTheSameBytes) {
    TempFolder work;
    const std::string csv = (work.path() / "day.csv").string();
    const CliRun emitted = series_cli(
        {"series", day(), "--glare", day_glare_options, "--emit-jobs", "--csv", csv, "--chunk", "5"}, cache());
    ASSERT_EQ(emitted.status, 0) << emitted.err;
    const std::vector<std::string> jobs = lines_of(emitted.out);
    ASSERT_EQ(jobs.size(), 10u);  // 48 pictures, 5 a job
    EXPECT_NE(jobs[0].find("--csv '" + csv + ".part-1'"), std::string::npos) << jobs[0];
    write_file(work / "jobs.txt", emitted.out);
    // As GNU parallel or a Slurm array task runs them: each line through a
    // shell, last one first.
    const std::string environment = "XDG_CACHE_HOME=" + work.str() + " XDG_CONFIG_HOME=" + work.str() + " ";
    for (size_t j = jobs.size(); j-- > 0;) {
        const std::string line = "cd / && sed -n " + std::to_string(j + 1) + "p " + (work / "jobs.txt").string() +
                                 " | " + environment + "sh > /dev/null 2>&1";
        ASSERT_EQ(std::system(line.c_str()), 0) << jobs[j];
    }
    std::vector<std::string> words{"series", "--collect"};
    for (size_t j = 1; j <= jobs.size(); ++j) words.push_back(csv + ".part-" + std::to_string(j));
    words.insert(words.end(), {"--csv", csv});
    const CliRun collected = series_cli(words, cache());
    ASSERT_EQ(collected.status, 0) << collected.err;
    EXPECT_EQ(read_file(csv), plain_);

    // A part given twice would count its pictures twice.
    words.insert(words.begin() + 2, csv + ".part-3");
    words.push_back("--overwrite");
    const CliRun twice = series_cli(words, cache());
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("more than one part"), std::string::npos) << twice.err;
}

TEST_F(DaySeries, OneJobAPictureRunByGnuParallelAndCollectedWritesTheSameBytes) {
    if (std::system("parallel --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "GNU parallel is not installed";
    TempFolder work;
    const std::string csv = (work.path() / "day.csv").string();
    const CliRun emitted =
        series_cli({"series", day(), "--glare", day_glare_options, "--emit-jobs", "--csv", csv}, cache());
    ASSERT_EQ(emitted.status, 0) << emitted.err;
    ASSERT_EQ(lines_of(emitted.out).size(), pictures_.size());
    write_file(work / "jobs.txt", emitted.out);
    const std::string line = "cd / && XDG_CACHE_HOME=" + work.str() + " XDG_CONFIG_HOME=" + work.str() +
                             " parallel --will-cite --jobs 2 < " + (work / "jobs.txt").string() + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(line.c_str()), 0);
    std::vector<std::string> words{"series", "--collect"};
    for (size_t j = 1; j <= pictures_.size(); ++j) words.push_back(csv + ".part-" + std::to_string(j));
    words.insert(words.end(), {"--csv", csv, "--plot", (work.path() / "day.svg").string(), "--figure", "dgp,ev"});
    const CliRun collected = series_cli(words, cache());
    ASSERT_EQ(collected.status, 0) << collected.err;
    EXPECT_EQ(read_file(csv), plain_);
    EXPECT_NE(read_file(work / "day.svg").find("<polyline"), std::string::npos);
}

TEST_F(DaySeries, WithoutGlareTheGlareColumnsAreEmptyAndTheRestTheSame) {
    TempFolder work;
    const std::string csv = (work.path() / "lens.csv").string();
    const CliRun run = series_cli({"series", day(), "--csv", csv, "--jobs", "3"}, cache());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = lines_of(read_file(csv)), plain = lines_of(plain_);
    ASSERT_EQ(lines.size(), plain.size());
    for (size_t i = 1; i < lines.size(); ++i) {
        auto row = parse_series_row(lines[i], series_fixed_columns);
        auto full = parse_series_row(plain[i], series_fixed_columns);
        ASSERT_TRUE(row.ok() && full.ok());
        for (const std::string& index : row.value().glare) EXPECT_EQ(index, "");
        full.value().glare = {};
        EXPECT_EQ(series_row_line(row.value()), series_row_line(full.value()));
    }
}

TEST_F(DaySeries, APlotIsWrittenAfterTheRunAsSvgAndPng) {
    TempFolder work;
    const std::string csv = (work.path() / "p.csv").string();
    for (const char* name : {"plot.svg", "plot.png"}) {
        const std::string plot = (work.path() / name).string();
        const CliRun run = series_cli({"series", day(), "--csv", csv, "--overwrite", "--plot", plot, "--figure",
                                    "ev,ceiling"},
                                   cache());
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string bytes = read_file(plot);
        if (std::string(name).ends_with(".svg")) {
            EXPECT_NE(bytes.find("<svg"), std::string::npos);
            EXPECT_NE(bytes.find(">Ev (lx)</text>"), std::string::npos);
            EXPECT_NE(bytes.find(">Clipped pixels</text>"), std::string::npos);
        } else {
            ASSERT_GT(bytes.size(), 8u);
            EXPECT_EQ(bytes.substr(1, 3), "PNG");
        }
    }
    const CliRun unknown = series_cli({"series", day(), "--csv", (work.path() / "q.csv").string(), "--plot",
                                    (work.path() / "q.svg").string(), "--figure", "dgp,window_mean"},
                                   cache());
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("\"window_mean\" is not a figure"), std::string::npos) << unknown.err;
    EXPECT_FALSE(std::filesystem::exists(work.path() / "q.csv"));
}

TEST_F(DaySeries, RegionColumnsEqualAStatsRunOfTheRegionFileOnEachPicture) {
    TempFolder work;
    const std::string regions = (work.path() / "room.regions.json").string();
    // The floor as a mask: the lower third of the picture.
    ASSERT_TRUE(write_grey_picture((work.path() / "floor.hdr").string(), 64, 64,
                                   [](int, int y) { return y >= 42 ? 1.0f : 0.0f; }));
    write_file(regions, R"({"width": 64, "height": 64, "regions": [
        {"name": "window", "color": "#0080ff", "kind": "rectangle", "points": [[20, 12], [44, 30]]},
        {"name": "sun patch", "color": "#ff8000", "kind": "circle", "center": [38, 45], "radius": 7},
        {"name": "floor", "color": "#00ff00", "kind": "mask", "file": "floor.hdr"}]})");
    const std::string csv = (work.path() / "regions.csv").string();
    std::vector<std::string> before;
    for (const DayPicture& picture : pictures_) before.push_back(read_file(day() + "/" + picture.name));
    const CliRun run = series_cli({"series", day(), "--csv", csv, "--regions", regions, "--jobs", "2"}, cache());
    ASSERT_EQ(run.status, 0) << run.err;
    // The pictures are linked as the masks' working copies, never written.
    for (size_t i = 0; i < pictures_.size(); ++i)
        EXPECT_EQ(read_file(day() + "/" + pictures_[i].name), before[i]) << pictures_[i].name;
    const std::vector<std::string> lines = lines_of(read_file(csv)), plain = lines_of(plain_);
    ASSERT_EQ(lines.size(), pictures_.size() + 1);
    EXPECT_EQ(lines[0], "time,time_source,picture,vertical_illuminance_lx,dgp,dgi,ugr,vcp,cgi,lveil,ceiling_pixels,"
                        "window_mean,window_weighted_mean,sun patch_mean,sun patch_weighted_mean,floor_mean,"
                        "floor_weighted_mean");
    std::string first_patch, last_patch;
    for (size_t i = 0; i < pictures_.size(); ++i) {
        auto row = parse_series_row(lines[i + 1], series_fixed_columns + 6);
        auto full = parse_series_row(plain[i + 1], series_fixed_columns);
        ASSERT_TRUE(row.ok() && full.ok()) << lines[i + 1];
        // The lens figures measured with the regions are the plain run's.
        EXPECT_EQ(row.value().vertical_illuminance, full.value().vertical_illuminance);
        EXPECT_EQ(row.value().ceiling_pixels, full.value().ceiling_pixels);
        const CliRun stats = series_cli({"stats", day() + "/" + pictures_[i].name, "--regions", regions, "--csv"},
                                        cache());
        ASSERT_EQ(stats.status, 0) << stats.err;
        const std::vector<std::string> table = lines_of(stats.out);
        ASSERT_EQ(table.size(), 4u) << stats.out;
        for (size_t r = 0; r < 3; ++r) {
            std::string line = table[r + 1];
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::vector<std::string> fields = csv_fields(line);
            ASSERT_GE(fields.size(), 13u);
            EXPECT_EQ(row.value().regions[2 * r], fields[5]) << pictures_[i].name << " mean of region " << r;
            EXPECT_EQ(row.value().regions[2 * r + 1], fields[12]) << pictures_[i].name << " weighted mean " << r;
        }
        EXPECT_NE(row.value().regions[4], "");  // the floor's mask was applied
        if (i == 0) first_patch = row.value().regions[2];
        last_patch = row.value().regions[2];
    }
    // The sun patch brightens its circle as it grows.
    EXPECT_LT(std::stod(first_patch), std::stod(last_patch));

    // Two regions of one name would give two columns of one name.
    write_file(regions, R"({"width": 64, "height": 64, "regions": [
        {"name": "a", "color": "#0080ff", "kind": "rectangle", "points": [[2, 2], [9, 9]]},
        {"name": "a", "color": "#ff8000", "kind": "circle", "center": [30, 30], "radius": 4}]})");
    const CliRun twice = series_cli({"series", day(), "--csv", csv, "--regions", regions, "--overwrite"}, cache());
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("two regions are named \"a\""), std::string::npos) << twice.err;
}

TEST(SeriesGlare, ScalesALargePictureDownAsTheGlareAnalysisDoesBeforeEvalglareReadsIt) {
    TempFolder work;
    const std::filesystem::path folder = work.path() / "large";
    std::filesystem::create_directories(folder);
    const std::string picture = (folder / "big.hdr").string();
    ASSERT_TRUE(write_grey_picture(
        picture, 900, 900,
        [](int x, int y) {
            const double dx = x - 450, dy = y - 300;
            return static_cast<float>((dx * dx + dy * dy < 40 * 40 ? 30000.0 : 500.0) / 179.0);
        },
        {"CAPDATE= 2026:06:21 12:00:00", "VIEW= -vta -vh 180 -vv 180"}));
    const std::string csv = (work.path() / "large.csv").string();
    const CliRun run = series_cli({"series", folder.string(), "--csv", csv, "--glare", day_glare_options}, work.str());
    ASSERT_EQ(run.status, 0) << run.err;

    const GlareScale scale = glare_scale(900, 900);
    ASSERT_TRUE(scale.scaled());
    const std::string scaled = (work.path() / "scaled.hdr").string();
    const ProcessOutput pfilt = run_shell_command(glare_downscale_command(scale.factor, picture, scaled),
                                                  CANDELUX_PROGRAMS_DIR, nullptr, nullptr);
    ASSERT_TRUE(pfilt.clean()) << pfilt.text;
    const ProcessOutput single = run_shell_command(std::string("/C evalglare ") + day_glare_options + " " + scaled,
                                                   CANDELUX_PROGRAMS_DIR, nullptr, nullptr);
    const auto indices = glare_indices_of(single.text);
    ASSERT_TRUE(indices) << single.text;
    const auto table = read_series_csv(csv);
    ASSERT_TRUE(table.ok());
    ASSERT_EQ(table.value().rows.size(), 1u);
    EXPECT_EQ(table.value().rows[0].glare, *indices);
    // Nothing is written beside the picture, and the run's own folder (the
    // scaled copy's) is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    for (const auto& entry : std::filesystem::directory_iterator(work.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("cli-")) << entry.path();
}

TEST(SeriesArguments, AreCheckedBeforeAnythingIsMeasured) {
    TempFolder work;
    ASSERT_EQ(write_day_series(work.path() / "day", 2, 16).size(), 2u);
    const std::string day = (work.path() / "day").string(), csv = (work.path() / "out.csv").string();
    const std::vector<std::vector<std::string>> refused{
        {"series", day},                                                     // no --csv
        {"series", day, "--csv", csv, "--resume", "--overwrite"},
        {"series", day, "--csv", csv, "--figure", "dgp"},                    // no --plot
        {"series", day, "--csv", csv, "--jobs", "0"},
        {"series", day, "--csv", csv, "--chunk", "x", "--emit-jobs"},
        {"series", day, "--csv", csv, "--plot", (work.path() / "p.gif").string()},
        {"series", day, "--csv", csv, "--picture", "missing.hdr"},
        {"series", day, "--csv", csv, "--emit-jobs", "--plot", (work.path() / "p.svg").string()},
        {"series", day + "/shot-00.hdr", day + "/shot-01.hdr", "--csv", csv, "--emit-jobs"},
        {"series", day + "/shot-00.hdr", day + "/nothing.hdr", "--csv", csv},
        {"series", "--collect", csv + ".part-1", "--csv", csv, "--glare", "-vta"},
        {"series", day, "--csv", csv, "--regions", (work.path() / "none.json").string()},
        {"series", day, "--csv", csv, "--bogus"},
    };
    for (const auto& words : refused) {
        const CliRun run = series_cli(words, work.str());
        std::string shown;
        for (const std::string& word : words) shown += word + " ";
        EXPECT_EQ(run.status, 2) << shown << run.err;
        EXPECT_FALSE(std::filesystem::exists(csv)) << shown;
    }
    // A folder's pictures are its .hdr and .pic files, whatever their case.
    std::filesystem::copy_file(day + "/shot-00.hdr", day + "/shot-02.PIC");
    write_file(work.path() / "day/notes.txt", "not a picture");
    const auto listed = series_pictures_of_folder(day);
    ASSERT_TRUE(listed.ok());
    std::vector<std::string> names;
    for (const SeriesInput& picture : listed.value()) names.push_back(picture.name);
    EXPECT_EQ(names, (std::vector<std::string>{"shot-00.hdr", "shot-01.hdr", "shot-02.PIC"}));
    std::filesystem::remove(day + "/shot-02.PIC");
    // One picture of the folder, and pictures named one by one.
    CliRun one = series_cli({"series", day, "--csv", csv, "--picture", "shot-01.hdr"}, work.str());
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(lines_of(read_file(csv)).size(), 2u);
    EXPECT_NE(read_file(csv).find(",shot-01.hdr,"), std::string::npos);
    one = series_cli({"series", day + "/shot-00.hdr", "--csv", csv, "--overwrite"}, work.str());
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_NE(read_file(csv).find("," + day + "/shot-00.hdr,"), std::string::npos);
    // Another run's columns cannot be resumed.
    const std::string regions = (work.path() / "r.json").string();
    write_file(regions, R"({"width": 16, "height": 16, "regions": [
        {"name": "a", "color": "#0080ff", "kind": "rectangle", "points": [[2, 2], [9, 9]]}]})");
    const CliRun other = series_cli({"series", day, "--csv", csv, "--regions", regions, "--resume"}, work.str());
    EXPECT_EQ(other.status, 2);
    EXPECT_NE(other.err.find("other region columns"), std::string::npos) << other.err;
}

TEST(SeriesRefusals, UnsafeGlareOptionsAndCheckPicturesAreRefusedBeforeAnythingIsWritten) {
    TempFolder work;
    ASSERT_EQ(write_day_series(work.path() / "day", 2, 16).size(), 2u);
    const std::string csv = (work.path() / "out.csv").string();
    for (const char* options : {"-vta; rm -rf x", "-vta $(id)", "-c check.hdr"}) {
        const CliRun run = series_cli({"series", (work.path() / "day").string(), "--csv", csv, "--glare", options},
                                   work.str());
        EXPECT_EQ(run.status, 2) << options;
        EXPECT_FALSE(std::filesystem::exists(csv)) << options;
    }
    const CliRun none = series_cli({"series", (work.path() / "nothing").string(), "--csv", csv}, work.str());
    EXPECT_EQ(none.status, 2);
}

}  // namespace
