// candelux-cli assemble and capture: what they print, what they write and what
// they refuse.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "assembly/simulated_series.h"
#include "capture/capture_fakes.h"
#include "support/test_pictures.h"
#include "cli/cli.h"
#include "picture/rgbe_reader.h"
#include "profiles/camera_profile.h"
#include "support/cli_in_process.h"
#include "support/temp_folder.h"

namespace {

class CliAssemble : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        write_hdr_scene(*folder_ / "scene.hdr");
        pictures_ = photograph_series(*folder_ / "scene.hdr", "gamma22", *folder_ / "series", {0x78, 0x68, 0x58, 0x48});
    }
    static void TearDownTestSuite() { delete folder_; }

    static std::vector<std::string> words(std::vector<std::string> first, std::vector<std::string> last = {}) {
        first.insert(first.end(), pictures_.begin(), pictures_.end());
        first.insert(first.end(), last.begin(), last.end());
        return first;
    }

    static TempFolder* folder_;
    static std::vector<std::string> pictures_;
    TempFolder out_folder;
};

TempFolder* CliAssemble::folder_ = nullptr;
std::vector<std::string> CliAssemble::pictures_;

TEST_F(CliAssemble, PrintsTheExposuresTheResidualAndTheSaturatedShare) {
    ASSERT_EQ(pictures_.size(), 4u);
    const std::string output = (out_folder / "a.hdr").string();
    const CliResult run = cli(words({"assemble", output}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find(pictures_[0] + "  1/256 s  f/8  ISO 100\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(pictures_[3] + "  1/4 s  f/8  ISO 100\n"), std::string::npos);
    EXPECT_NE(run.out.find("response: recovered from the series, residual 0.0"), std::string::npos);
    EXPECT_NE(run.out.find("saturated: "), std::string::npos);
    EXPECT_NE(run.out.find(output + ": 360 x 240, luminance in cd/m2 (K 12.5)\n"), std::string::npos);
    EXPECT_TRUE(load_luminance_map(output).ok());
}

TEST_F(CliAssemble, JsonAndASavedCurveThatAnotherRunUses) {
    const std::string output = (out_folder / "a.hdr").string(), curve = (out_folder / "curve.txt").string();
    const CliResult first = cli(words({"assemble", output, "--json", "--save-response", curve}));
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out.rfind("{\"output\": \"" + output + "\", \"width\": 360, \"height\": 240, \"exposures\": [", 0),
              0u)
        << first.out;
    EXPECT_NE(first.out.find("\"seconds\": 0.00390625, \"f_number\": 8, \"iso\": 100"), std::string::npos);
    EXPECT_NE(first.out.find("\"response\": \"recovered\", \"response_residual\": 0.0"), std::string::npos);
    EXPECT_NE(first.out.find("\"absolute\": true}\n"), std::string::npos);

    const std::string second_output = (out_folder / "b.hdr").string();
    const CliResult second = cli(words({"assemble", second_output, "--response", curve}));
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("response: " + curve + "\n"), std::string::npos);
    auto a = load_luminance_map(output), b = load_luminance_map(second_output);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_NEAR(a.value().at(200, 200), b.value().at(200, 200), 1e-3 * a.value().at(200, 200));
}

TEST_F(CliAssemble, RefusalsSayWhyAndWriteNothing) {
    const std::string output = (out_folder / "a.hdr").string();
    write_test_jpeg(out_folder / "plain.jpg", 360, 240, [](int x, int, int) { return x % 256; });
    const std::string plain = (out_folder / "plain.jpg").string();
    struct Case {
        std::vector<std::string> words;
        std::string says;
    };
    const Case cases[] = {
        {{"assemble", output, pictures_[0]}, "an exposure series needs two pictures at least; 1 given"},
        {{"assemble", output, pictures_[0], plain}, plain + ": no ExposureTime in its EXIF data; give the times with --exposures"},
        {{"assemble", output, pictures_[0], plain, "--exposures", "1/250"}, "--exposures gives 1 times for 2 pictures"},
        {{"assemble", output, pictures_[0], plain, "--exposures", "1/250,x"},
         "--exposures: \"x\" is not an exposure time such as 1/250 or 0.5"},
        {{"assemble", output, pictures_[0], pictures_[1], "--response", (out_folder / "none.txt").string()},
         (out_folder / "none.txt").string() + ": cannot be opened"},
        {{"assemble", (out_folder / "no" / "a.hdr").string(), pictures_[0], pictures_[1]},
         "the folder of " + (out_folder / "no" / "a.hdr").string() + " does not exist"},
        {{"assemble", output, pictures_[0], pictures_[1], "--profile", (out_folder / "p.cdxprofile").string()},
         (out_folder / "p.cdxprofile").string() + ": cannot be read"},
        {{"assemble", output, pictures_[0], pictures_[1], "--force"}, "--force goes with --profile"},
    };
    for (const Case& c : cases) {
        const CliResult run = cli(c.words);
        EXPECT_EQ(run.status, 2) << c.says;
        EXPECT_EQ(run.err, "candelux-cli assemble: " + c.says + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(output));
    }
    write_file(output, "kept");
    const CliResult exists = cli(words({"assemble", output}));
    EXPECT_EQ(exists.status, 2);
    EXPECT_EQ(exists.err, "candelux-cli assemble: " + output + " exists already; give --overwrite to replace it\n");
    EXPECT_EQ(read_file(output), "kept");
    EXPECT_EQ(cli(words({"assemble", output, "--overwrite"})).status, 0);
}

TEST_F(CliAssemble, AlignPrintsEachPicturesShift) {
    const std::string output = (out_folder / "a.hdr").string();
    const CliResult run = cli(words({"assemble", output, "--align"}));
    ASSERT_EQ(run.status, 0) << run.err;
    // The simulated camera stands on a tripod.
    EXPECT_NE(run.out.find(pictures_[0] + "  1/256 s  f/8  ISO 100  shift 0 0\n"), std::string::npos) << run.out;
    size_t unmoved = 0;
    for (size_t at = 0; (at = run.out.find("  shift 0 0\n", at)) != std::string::npos; ++at) ++unmoved;
    EXPECT_EQ(unmoved, pictures_.size());
    const CliResult json = cli(words({"assemble", output, "--align", "--json", "--overwrite"}));
    EXPECT_NE(json.out.find("\"iso\": 100, \"shift\": [0, 0]}"), std::string::npos) << json.out;
}

TEST_F(CliAssemble, HelpDescribesTheCommand) {
    const CliResult run = cli({"assemble", "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage: candelux-cli assemble OUTPUT.hdr PICTURE... [options]", 0), 0u);
}

}  // namespace

namespace {

class CliCapture : public ::testing::Test {
protected:
    TempFolder folder, config;
    ScopedEnv config_home{"XDG_CONFIG_HOME", config.str()};
    ScopedEnv chart{"EDSDK_SIM_SCENE", std::nullopt};
    ScopedEnv srgb{"EDSDK_SIM_RESPONSE", std::nullopt};
    ScopedEnv faults[4] = {{"EDSDK_SIM_NO_CAMERA", std::nullopt},
                           {"EDSDK_SIM_REFUSE_WRITES", std::nullopt},
                           {"EDSDK_SIM_FAIL_DOWNLOAD", std::nullopt},
                           {"EDSDK_SIM_MISSING", std::nullopt}};
};

TEST_F(CliCapture, TakesTheShutterSpeedsGivenAndAssemblesTheSeries) {
    const CliResult run = cli({"capture", folder.str(), "--shutter", "1/4000,1/1000,1/250,1/60,1/15,1/4,1\"",
                               "--aperture", "8", "--assemble"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto written = std::count(run.out.begin(), run.out.end(), '\n');
    EXPECT_GE(written, 7 + 7 + 3);  // the pictures, then what assemble prints
    std::vector<std::filesystem::path> jpegs;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.path().extension() == ".JPG") jpegs.push_back(entry.path());
    ASSERT_EQ(jpegs.size(), 7u);
    std::sort(jpegs.begin(), jpegs.end());
    const std::string output = (jpegs[0].parent_path() / jpegs[0].stem()).string() + ".hdr";
    EXPECT_NE(run.out.find(jpegs[0].string() + "  1/4096 s  f/8  ISO 100\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(output + ": 480 x 320, luminance in cd/m2 (K 12.5)\n"), std::string::npos);
    // The test chart's ramp: 10^(4 x / 479) cd/m², here within a few percent.
    auto map = load_luminance_map(output);
    ASSERT_TRUE(map.ok());
    for (int x : {60, 240, 420}) {
        const double truth = std::pow(10.0, 4.0 * x / 479);
        EXPECT_NEAR(map.value().at(x, 100) / truth, 1.0, 0.08) << x;
    }
}

TEST_F(CliCapture, WithoutShutterSpeedsTakesTheAutocapList) {
    std::filesystem::create_directories(config / "candelux");
    write_file(config / "candelux" / "autocap.asf", "F8,1/250\r\nF8,1/60\r\n");
    const CliResult run = cli({"capture", folder.str()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
}

TEST_F(CliCapture, RefusalsComeBeforeTheCameraIsTouched) {
    struct Case {
        std::vector<std::string> words;
        std::string says;
    };
    const std::string autocap = (config / "candelux" / "autocap.asf").string();
    const Case cases[] = {
        {{"capture", (folder / "none").string()}, "the folder " + (folder / "none").string() + " does not exist"},
        {{"capture", folder.str(), "--shutter", "1/7"},
         "--shutter: \"1/7\" is not a shutter speed of the capture dialog (1/125, 0\"5, 2\")"},
        {{"capture", folder.str(), "--shutter", "1/250", "--aperture", "7"},
         "--aperture: \"7\" is not an aperture of the capture dialog (8, 5.6)"},
        {{"capture", folder.str(), "--aperture", "8"},
         "--aperture goes with --shutter; autocap.asf names the apertures of its own exposures"},
        {{"capture", folder.str()}, "no --shutter given and no exposure list " + autocap},
        {{"capture", folder.str(), "--shutter", "1/250", "--profile", "lab"}, "--profile goes with --assemble"},
        {{"capture", folder.str(), "--shutter", "1/250", "--assemble", "--profile", "nowhere"},
         (config / "candelux" / "profiles" / "nowhere.cdxprofile").string() + ": cannot be read"},
    };
    for (const Case& c : cases) {
        const CliResult run = cli(c.words);
        EXPECT_EQ(run.status, 2) << c.says;
        EXPECT_EQ(run.err, "candelux-cli capture: " + c.says + "\n");
        EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    }
    ScopedEnv no_camera{"EDSDK_SIM_NO_CAMERA", "1"};
    const CliResult run = cli({"capture", folder.str(), "--shutter", "1/250"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "candelux-cli capture: Could not communicate with a connected camera\n");
}

}  // namespace

namespace {

// capture --assemble --profile: the series corrected as assemble --profile
// corrects it; `profile apply` does the same to pictures assembled without
// one, before a batch replays on them.
TEST_F(CliCapture, AssemblesWithAProfileAndAppliesOneAfterwards) {
    const std::filesystem::path profiles = config / "candelux" / "profiles";
    std::filesystem::create_directories(profiles);
    CameraProfile nd;
    nd.name = "Sun ND";
    nd.nd_factor = 10;
    nd.projection = LensProjection{};
    ASSERT_TRUE(write_camera_profile((profiles / "sun.cdxprofile").string(), nd));
    const CliResult run = cli({"capture", folder.str(), "--shutter", "1/4000,1/1000,1/250,1/60", "--aperture", "8",
                               "--assemble", "--profile", "sun"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::filesystem::path> jpegs;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.path().extension() == ".JPG") jpegs.push_back(entry.path());
    ASSERT_EQ(jpegs.size(), 4u);
    std::sort(jpegs.begin(), jpegs.end());
    const std::string with_profile = (jpegs[0].parent_path() / jpegs[0].stem()).string() + ".hdr";
    const auto has_line = [](const std::string& picture, const std::string& start) {
        auto header = read_picture_header(picture);
        return header.ok() && std::any_of(header.value().begin(), header.value().end(),
                                          [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(has_line(with_profile, "PROFILE= Sun ND "));

    // The same series assembled plainly, then the profile applied to it.
    TempFolder plain_folder, corrected;
    std::vector<std::string> words = {"assemble", (plain_folder / "plain.hdr").string()};
    for (const auto& jpeg : jpegs) words.push_back(jpeg.string());
    ASSERT_EQ(cli(words).status, 0);
    const std::string plain = (plain_folder / "plain.hdr").string();
    const CliResult applied = cli({"profile", "apply", "sun", plain, "--out-dir", corrected.str()});
    ASSERT_EQ(applied.status, 0) << applied.err;
    const std::string result = (corrected / "plain.hdr").string();
    EXPECT_EQ(applied.out, result + ": 480 x 320, VIEW= -vta -vh 180 -vv 180\n");
    EXPECT_TRUE(has_line(result, "PROFILE= Sun ND "));
    auto a = load_luminance_map(with_profile);
    auto b = load_luminance_map(result);
    auto c = load_luminance_map(plain);
    ASSERT_TRUE(a.ok() && b.ok() && c.ok());
    EXPECT_FLOAT_EQ(b.value().at(240, 100), a.value().at(240, 100));
    EXPECT_NEAR(b.value().at(240, 100) / c.value().at(240, 100), 10, 1e-3);

    // Never twice, never over a file without --overwrite, never in place.
    const CliResult twice = cli({"profile", "apply", "sun", result, "--out-dir", plain_folder.str()});
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("has a profile applied already (PROFILE= Sun ND "), std::string::npos) << twice.err;
    const CliResult again = cli({"profile", "apply", "sun", plain, "--out-dir", corrected.str()});
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("exists already; give --overwrite"), std::string::npos) << again.err;
    EXPECT_EQ(cli({"profile", "apply", "sun", plain, "--out-dir", corrected.str(), "--overwrite"}).status, 0);
    const CliResult in_place = cli({"profile", "apply", "sun", plain, "--out-dir", plain_folder.str(), "--overwrite"});
    EXPECT_EQ(in_place.status, 2);
    EXPECT_NE(in_place.err.find("--out-dir is the picture's own folder"), std::string::npos) << in_place.err;
    EXPECT_EQ(cli({"profile", "apply", "sun", plain}).status, 2);  // no --out-dir
}

}  // namespace
