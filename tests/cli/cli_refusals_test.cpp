// What candelux-cli refuses: every bad input gives one line on standard
// error, exit status 2, nothing on standard output and no file written or
// left behind, in the pictures' folder or in the cache.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_process.h"
#include "macro/macro_pictures.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

struct BadInput {
    std::string words;  // "{dir}" stands for the pictures' folder
    std::string says;
};

std::string with_folder(std::string words, const std::string& folder) {
    for (size_t at = 0; (at = words.find("{dir}", at)) != std::string::npos; at += folder.size())
        words.replace(at, 5, folder);
    return words;
}

}  // namespace

TEST(CliRefusals, EveryBadInputGetsOneLineAndWritesNothing) {
    TempFolder config, cache_home, dir;
    write_macro_picture(dir / "p.hdr", 40, 30);
    write_macro_picture(dir / "done.hdr", 4, 3);
    write_file(dir / "1-done.hdr", "an earlier replay's step file");
    write_file(dir / "garbage.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 3 +X 4\n");
    write_file(dir / "old_stats.csv", "kept");
    write_file(dir / "old.bmp", "kept");
    write_file(dir / "flip.seq", "40015#/C pflip -c -h /nowhere/dtemp.hdr /nowhere/dtempo.hdr#NULL\r\n");
    const BadInput cases[] = {
        {"luminance {dir}/missing.hdr 1 1", "{dir}/missing.hdr: no such file"},
        {"stats {dir}/garbage.hdr", "not a readable Radiance picture"},
        {"luminance {dir}/p.hdr 40 3", "pixel (40, 3) is outside the picture (40 x 30 pixels)"},
        {"luminance {dir}/p.hdr 3 -1", "Y must be a whole number from 0"},
        {"stats {dir}/p.hdr --rect 0,0,41,10", "the region reaches outside the picture (40 x 30 pixels)"},
        {"stats {dir}/p.hdr --circle 10,5,15", "outside the picture"},
        {"stats {dir}/p.hdr --polygon '1,1;39,1;39,31;1,29'", "outside the picture"},
        {"stats {dir}/p.hdr --polygon '1,1;5,1;5,5'", "too small"},
        {"stats {dir}/p.hdr --rect 1,2,x,4", "\"x\" in \"1,2,x,4\" is not a number"},
        {"stats {dir}/p.hdr --rect 1,2,3", "is not 4 numbers"},
        {"stats {dir}/p.hdr --circle 3,nan,4", "is not a number"},
        {"stats {dir}/p.hdr --percentile 0,10", "from 1 to 100"},
        {"stats {dir}/p.hdr --criterion more,10", "not greater, lesser or equal"},
        {"stats {dir}/p.hdr --rect 1,1,5,5 --region-b", "--region-b needs a region"},
        {"stats {dir}/p.hdr --region-b --rect 1,1,5,5 --percentile 10,10", "two regions give their contrast"},
        {"stats {dir}/p.hdr --colour 3", "unknown option --colour"},
        {"stats {dir}/p.hdr --rect", "--rect needs a value"},
        {"stats {dir}/p.hdr --mask {dir}/m.png", "is not a .hdr, .pic, .bmp or .tif file"},
        {"stats {dir}/p.hdr --mask {dir}/absent.hdr", "does not exist"},
        {"stats {dir}/p.hdr --mask '{dir}/a b.hdr'", "Path Error"},
        {"stats {dir}/p.hdr --report {dir}/old", "{dir}/old_stats.csv exists already"},
        {"stats {dir}/p.hdr --report {dir}/none/r", "does not exist"},
        {"falsecolor {dir}/p.hdr {dir}/old", "{dir}/old.bmp exists already"},
        {"falsecolor {dir}/p.hdr {dir}/x.bmp --range 1,abc", "is not a number"},
        {"falsecolor {dir}/p.hdr", "too few words"},
        {"batch {dir}/missing.seq {dir}", "does not exist"},
        {"batch {dir}/flip.seq {dir} --jobs 0", "--jobs must be a whole number from 1"},
        {"batch {dir}/flip.seq {dir} --cache-folder /nowhere", "1 files this batch writes exist already"},
        {"batch {dir}/flip.seq {dir}", "nothing to replay"},
        {"batch {dir}/flip.seq {dir} --cache-folder /nowhere --picture q.hdr", "q.hdr is not a picture"},
        {"colour {dir}/p.hdr", "unknown command \"colour\""},
        {"illuminance {dir}/p.hdr", "has no usable view"},
    };
    const std::string before = folder_listing(dir.path());
    for (const BadInput& bad : cases) {
        const std::string words = with_folder(bad.words, dir.str());
        SCOPED_TRACE(words);
        const CliRun run = run_candelux_cli(words, config.str(), cache_home.str());
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, StartsWith("candelux-cli"));
        EXPECT_THAT(run.err, HasSubstr(with_folder(bad.says, dir.str())));
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line";
    }
    EXPECT_EQ(folder_listing(dir.path()), before);
    EXPECT_EQ(folder_listing(cache_home.path()), "") << "no working folder left behind";
}

TEST(CliRefusals, HelpIsThereForEveryCommand) {
    TempFolder config, cache_home;
    for (const char* command : {"", "luminance ", "stats ", "falsecolor ", "batch "}) {
        const CliRun run = run_candelux_cli(std::string(command) + "--help", config.str(), cache_home.str());
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_THAT(run.out, StartsWith("usage: candelux-cli " + std::string(command)));
        EXPECT_EQ(run.err, "");
    }
}
