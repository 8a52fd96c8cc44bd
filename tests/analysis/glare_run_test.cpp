// One glare analysis with the real pfilt and evalglare: a large picture is
// scaled into a scratch file, and only a run that ends with evalglare's
// result lets its check picture replace the working copy.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "analysis/glare_run.h"
#include "analysis/glare_summary.h"
#include "fake_analysis_host.h"
#include "glare_pictures.h"
#include "picture/rgbe_reader.h"
#include "support/fake_program.h"

namespace {

namespace fs = std::filesystem;

class GlareRunTest : public ::testing::Test {
protected:
    // The working copy, as the map of the open picture sees it.
    void working_copy(int width, int height, const std::function<void(const std::string&)>& write) {
        write(working_path());
        // The map the window holds of it: read from the file where the file
        // is a picture, else of its size only.
        auto read = load_luminance_map(working_path());
        host.map = read.ok() ? std::move(read).value() : LuminanceMap{};
        host.map.width = width;
        host.map.height = height;
        before = read_file(working_path());
    }
    std::string working_path() const { return (host.cache / "dtemp.hdr").string(); }
    bool only_the_working_copy_is_left() const {
        return !fs::exists(host.cache / "dtempo.hdr") && !fs::exists(host.cache / "dtempg.hdr");
    }
    void expect_failure_shown(const GlareRun& run, const std::string& caption, const std::string& text) {
        EXPECT_EQ(run.status, -1);
        ASSERT_EQ(host.scripted.messages.size(), 1u);
        EXPECT_EQ(host.scripted.messages[0].caption, caption);
        EXPECT_NE(host.scripted.messages[0].text.find(text), std::string::npos) << host.scripted.messages[0].text;
        EXPECT_EQ(host.scripted.messages[0].owner, Owner::none);
        EXPECT_FALSE(host.scripted.progress_shown());
        EXPECT_EQ(read_file(working_path()), before);
        EXPECT_TRUE(only_the_working_copy_is_left());
    }

    FakeAnalysisHost host;
    std::string before;
};

TEST_F(GlareRunTest, ScalesALargePictureAndReplacesTheWorkingCopyWithTheCheckPicture) {
    working_copy(1000, 1000, [](const std::string& path) { write_fisheye_with_source(path, 1000); });
    const GlareRun run = run_glare_analysis(host, GlareSettings{});
    ASSERT_EQ(run.status, 0) << run.result_text;
    const std::string cache = host.cache.str();
    EXPECT_EQ(run.command_line, "/C evalglare -c " + cache + "/dtempo.hdr  -x  " + cache + "/dtempg.hdr");
    EXPECT_TRUE(run.result_text.starts_with("dgp,dgi,ugr,vcp,cgi,Lveil: ")) << run.result_text;
    EXPECT_TRUE(host.scripted.messages.empty());
    const std::string check = read_file(working_path());
    EXPECT_NE(check.find("\nevalglare -c "), std::string::npos);
    EXPECT_NE(check.find("\n-Y 800 +X 800\n"), std::string::npos);
    EXPECT_TRUE(only_the_working_copy_is_left());
}

TEST_F(GlareRunTest, EvalglaresNoticeShowsWithTheResults) {
    // Not scaled (below the limit): evalglare reads the working copy, whose
    // exposure of 0 it ignores and says so before its result line.
    working_copy(400, 400, [](const std::string& path) {
        write_glare_picture(path, 400, 400, "VIEW= -vth -vh 180 -vv 180\nEXPOSURE=0",
                            [](int x, int row) { return std::hypot(x - 200, row - 100) < 20 ? 20000.0f : 1000.0f; });
    });
    const GlareRun run = run_glare_analysis(host, GlareSettings{});
    ASSERT_EQ(run.status, 0) << run.result_text;
    EXPECT_TRUE(run.result_text.starts_with("notice: the header's EXPOSURE=0 is ignored: an exposure must be "
                                            "positive\ndgp,dgi,ugr,vcp,cgi,Lveil: "))
        << run.result_text;
    EXPECT_TRUE(host.scripted.messages.empty());
}

TEST_F(GlareRunTest, ATaskRowGoesFromTheTopToAPictureWhoseRowsCountDownward) {
    // The same rows under "+Y": evalglare counts the task's row from the top.
    working_copy(400, 300, [](const std::string& path) {
        write_glare_picture(path, 400, 300, "VIEW= -vth -vh 180 -vv 180", [](int, int) { return 1000.0f; });
        std::string bytes = read_file(path);
        bytes.replace(bytes.find("\n-Y 300 +X 400\n"), 15, "\n+Y 300 +X 400\n");
        write_file(path, bytes);
    });
    GlareSettings settings;
    settings.task_area = true;
    settings.task_x = 100;
    settings.task_y = 50;
    settings.task_angle = 0.3f;
    const GlareRun run = run_glare_analysis(host, settings);
    ASSERT_EQ(run.status, 0) << run.result_text;
    EXPECT_NE(run.command_line.find(" -T 100 249 0.3 "), std::string::npos) << run.command_line;
}

TEST_F(GlareRunTest, AnEvalglareComplaintIsAFailureThatLeavesTheWorkingCopyAsItWas) {
    // No view anywhere: evalglare refuses, after pfilt has scaled the picture.
    working_copy(1000, 900, [](const std::string& path) {
        write_glare_picture(path, 1000, 900, "", [](int, int) { return 500.0f; });
    });
    const GlareRun run = run_glare_analysis(host, GlareSettings{});
    expect_failure_shown(run, "Evalglare Process Error!", "no valid view");
    EXPECT_EQ(run.result_text, host.scripted.messages[0].text);
}

TEST_F(GlareRunTest, APfiltFailureStopsBeforeEvalglare) {
    working_copy(1200, 900, [](const std::string& path) {
        write_glare_picture(path, 1200, 900, "VIEW= -vth -vh 180 -vv 180", [](int, int) { return 0.0f; });
    });
    const GlareRun run = run_glare_analysis(host, GlareSettings{});
    expect_failure_shown(run, "Radiance Process Error!", "pfilt");
    EXPECT_EQ(run.command_line, "");
    EXPECT_EQ(run.result_text, "");
}

TEST_F(GlareRunTest, AnEvalglareThatPrintsNothingOrWritesNoCheckPictureFails) {
    working_copy(400, 400, [](const std::string& path) { write_fisheye_with_source(path, 400); });
    TempFolder programs;
    host.process_runner.set_program_folder(programs.str());
    write_fake_program(programs.path(), "evalglare", "exit 0\n");
    expect_failure_shown(run_glare_analysis(host, GlareSettings{}), "Evalglare Process Error!",
                         "evalglare printed no result");

    host.scripted.messages.clear();
    write_fake_program(programs.path(), "evalglare",
                       "echo 'dgp,dgi,ugr,vcp,cgi,Lveil: 0.1 0 0 100 0 0  '\n");
    expect_failure_shown(run_glare_analysis(host, GlareSettings{}), "Evalglare Process Error!", "no check picture");
}

}  // namespace

TEST_F(GlareRunTest, TheSummaryHasEvalglaresIlluminanceItsSourcesAndTheClippedPixels) {
    // A flat (clipped) source: a patch at the picture's ceiling.
    working_copy(300, 300, [](const std::string& path) {
        write_glare_picture(path, 300, 300, "VIEW= -vth -vh 180 -vv 180",
                            [](int x, int row) { return std::hypot(x - 150, row - 80) < 12 ? 20000.0f : 1000.0f; });
    });
    const GlareRun clipped = run_glare_analysis(host, GlareSettings{});
    ASSERT_EQ(clipped.status, 0) << clipped.result_text;
    EXPECT_GT(clipped.ceiling_pixels, 400);
    ASSERT_TRUE(clipped.details.glare_sources);
    EXPECT_GE(*clipped.details.glare_sources, 1);
    ASSERT_TRUE(clipped.details.vertical_illuminance);
    EXPECT_GT(*clipped.details.vertical_illuminance, 3141.0);  // π × 1000 and the source's share
    const auto rows = glare_summary_rows(clipped.result_text, clipped.details);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].name, "DGP");
    EXPECT_EQ(rows[6].name, "Vertical illuminance");
    EXPECT_EQ(rows[7].name, "Glare sources");

    // A source whose brightest pixel stands alone: nothing clipped.
    working_copy(300, 300, [](const std::string& path) {
        write_glare_picture(path, 300, 300, "VIEW= -vth -vh 180 -vv 180", [](int x, int row) {
            const double r = std::hypot(x - 150, row - 80);
            return r < 12 ? float(20000 - 1000 * r) : 1000.0f;
        });
    });
    const GlareRun clean = run_glare_analysis(host, GlareSettings{});
    ASSERT_EQ(clean.status, 0) << clean.result_text;
    EXPECT_EQ(clean.ceiling_pixels, 0);
}
