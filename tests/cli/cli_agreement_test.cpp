// candelux-cli against the Application: the same picture, region, range or
// sequence through the windows' code paths and through the command line must
// give the same texts, figures and files, byte for byte.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "app/application.h"
#include "app/commands.h"
#include "cli/cli_process.h"
#include "cli/statistics_json.h"
#include "common/status_text.h"
#include "macro/batch_form.h"
#include "macro/macro_pictures.h"
#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"
#include "support/scripted_desktop.h"
#include "view/region_hand_back.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

constexpr int width = 200;
constexpr int height = 100;

// Four decades of luminance rising to the right and down, a black first
// column that the statistics leave out, and an exposure in the header.
std::string write_scene(const fs::path& path) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float v = x == 0 ? 0.0f : 0.002f * std::exp(static_cast<float>(x + 2 * y) / 40.0f);
            pixels.push_back(encode_rgbe(v, v * 0.9f, v * 1.1f));
        }
    RgbePictureHeader header;
    header.lines = {"EXPOSURE=0.5"};
    header.resolution = standard_resolution(width, height);
    EXPECT_TRUE(write_rgbe_picture(path.string(), header, pixels));
    return path.string();
}

// White on the left half, black on the right, with the header lines.
std::string write_mask(const fs::path& path, std::vector<std::string> lines = {}) {
    std::vector<RgbePixel> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(encode_rgbe(x < width / 2 ? 1.0f : 0.0f, 1.0f, 1.0f));
    RgbePictureHeader header;
    header.lines = std::move(lines);
    header.resolution = standard_resolution(width, height);
    EXPECT_TRUE(write_rgbe_picture(path.string(), header, pixels));
    return path.string();
}

Region rectangle(float x0, float y0, float x1, float y1) {
    Region r;
    r.x0 = x0, r.y0 = y0, r.x1 = x1, r.y1 = y1;
    return r;
}

Region circle(float radius, float cx, float cy) {
    Region r;
    r.radius = radius, r.centre_x = cx, r.centre_y = cy;
    return r;
}

Region polygon(std::vector<PointF> vertices) {
    Region r;
    for (const PointF& v : vertices) r.vertices[static_cast<size_t>(r.vertex_count++)] = v;
    return r;
}

// The region option that says the same, numbers in their shortest exact form.
std::string region_words(ToolChoice tool, const Region& r) {
    auto n = [](float v) { return json_number(v); };
    switch (tool) {
    case ToolChoice::rectangle: return "--rect " + n(r.x0) + "," + n(r.y0) + "," + n(r.x1) + "," + n(r.y1);
    case ToolChoice::circle: return "--circle " + n(r.radius) + "," + n(r.centre_x) + "," + n(r.centre_y);
    case ToolChoice::polygon: {
        std::string words = "--polygon '";
        for (int i = 0; i < r.vertex_count; ++i) {
            if (i > 0) words += ';';
            words += n(r.vertices[static_cast<size_t>(i)].x) + "," + n(r.vertices[static_cast<size_t>(i)].y);
        }
        return words + "'";
    }
    }
    return {};
}

class CliAgreement : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.on_create());
        app.on_resize(800, 600);
        picture = write_scene(pictures / "scene.hdr");
        desktop.file_answers.push_back({1, picture});
        app.on_command(command::open);
        ASSERT_TRUE(app.image_loaded());
        app.paint_frame();
    }
    CliRun cli(const std::string& words) { return run_candelux_cli(words, config.str(), cache_home.str()); }

    // Walks the Application's wizard: `pages` leads it to the results page,
    // `results` looks at what the page holds before Finish.
    void analyse(const std::function<void(AnalysisWizard&)>& pages,
                 const std::function<void(AnalysisWizard&)>& results) {
        bool reached = false;
        desktop.analysis_wizard = [&](AnalysisWizard& wizard) {
            pages(wizard);
            EXPECT_EQ(wizard.sheet().current_page(), analysis_pages::results);
            reached = wizard.sheet().current_page() == analysis_pages::results;
            if (reached) results(wizard);
            wizard.sheet().press_finish();
            return wizard.sheet().result();
        };
        app.on_command(command::analyze);
        ASSERT_TRUE(reached);
        EXPECT_TRUE(desktop.messages.empty()) << desktop.messages.front().text;
    }
    // The region drawn on the main window and handed back to `page`.
    static void hand_back(AnalysisWizard& wizard, RegionPage& page, ToolChoice tool, const Region& region) {
        page.on_tool_chosen(tool);
        page.on_click_to_select();
        wizard.region_selected(region, page.status_label());
        ASSERT_TRUE(page.has_valid_region());
    }
    static void single_region_statistics(AnalysisWizard& wizard) {
        wizard.sheet().press_next();  // the statistics page
        wizard.sheet().press_next();  // the results
    }
    // Every figure the results page shows, as the command line prints it.
    static void expect_page_lines(const std::string& printed, const ResultLines& lines) {
        for (const FigureCaption& caption : general_captions)
            EXPECT_THAT(printed, HasSubstr(std::string(caption.text) + " " + lines.texts.at(caption.value_id) + "\n"));
        using namespace results_ids;
        for (auto [caption, value] : {std::pair{percentile_caption, percentile}, std::pair{contrast_caption, contrast},
                                      std::pair{criterion_caption, criterion}})
            if (!lines.texts.at(caption).empty()) {
                EXPECT_THAT(printed, HasSubstr(lines.texts.at(caption) + " " + lines.texts.at(value) + "\n"));
            }
    }

    TempFolder config;
    TempFolder cache;
    TempFolder cache_home;
    TempFolder pictures;
    TempFolder reports;
    ScriptedDesktop desktop;
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
    std::string picture;
};

}  // namespace

TEST_F(CliAgreement, TheLuminanceReadoutIsTheStatusBars) {
    ASSERT_GE(app.zoom(), 1.0f);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{57, 33}, std::pair{width - 1, height - 1}}) {
        // The window pixel under the centre of picture pixel (x, y).
        const int wx = static_cast<int>(std::floor(static_cast<float>(x) * app.zoom() + app.pan().x));
        const int wy = static_cast<int>(std::floor(static_cast<float>(y) * app.zoom() + app.pan().y));
        app.on_left_down(wx, wy, false);
        app.on_left_up(wx, wy, false);
        const std::string shown = desktop.status[status_part::luminance];
        const CliRun run = cli("luminance " + picture + " " + std::to_string(x) + " " + std::to_string(y));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, shown.substr(shown.find_first_not_of(' ')) + "\n") << x << "," << y;
    }
}

TEST_F(CliAgreement, OneRegionGivesThePagesFiguresAndWritesTheSameReports) {
    const Region region = rectangle(12.5f, 3.25f, 150.75f, 80.5f);
    std::string expected_json;
    analyse(
        [&](AnalysisWizard& wizard) {
            wizard.sheet().press_next();
            hand_back(wizard, wizard.single_page(), ToolChoice::rectangle, region);
            wizard.sheet().press_next();
            wizard.percentile_checked = true;
            wizard.criterion_checked = true;
            wizard.sheet().press_next();
            wizard.on_upper_percentile(10);
            wizard.on_lower_percentile(20);
            wizard.sheet().press_next();
            wizard.on_criterion_chosen(CriterionKind::greater_than);
            wizard.on_threshold(150);
            wizard.sheet().press_next();
        },
        [&](AnalysisWizard& wizard) {
            const CliRun run = cli("stats " + picture + " " + region_words(ToolChoice::rectangle, region) +
                                   " --percentile 10,20 --criterion greater,150 --report " +
                                   (reports / "cli").string());
            EXPECT_EQ(run.status, 0) << run.err;
            expect_page_lines(run.out, wizard.results().lines());
            EXPECT_THAT(run.out, HasSubstr("Pixels: " + std::to_string(wizard.results().single().count()) + "\n"));
            expected_json = statistics_json(wizard.results().single(), &wizard.results().lens());
            desktop.file_answers.push_back({1, (reports / "app.csv").string()});
            wizard.results().on_save();
        });
    for (const char* report : {"_stats.csv", "_hist.csv", "_region.csv"}) {
        const std::string written = read_file(reports / ("app" + std::string(report)));
        EXPECT_FALSE(written.empty()) << report;
        EXPECT_EQ(read_file(reports / ("cli" + std::string(report))), written) << report;
    }
    const CliRun json = cli("stats " + picture + " " + region_words(ToolChoice::rectangle, region) +
                            " --percentile 10,20 --criterion greater,150 --json");
    EXPECT_EQ(json.out, expected_json + "\n");
    EXPECT_THAT(expected_json, HasSubstr("\"histogram_lo\":\""));
}

TEST_F(CliAgreement, CirclesPolygonsAndMasksAreSampledAsTheWizardSamplesThem) {
    const std::string mask = write_mask(pictures / "half.hdr");
    struct Case {
        ToolChoice tool;
        Region region;
        bool mask;
    };
    const Case cases[] = {
        {ToolChoice::circle, circle(30.5f, 100.25f, 50.75f), false},
        {ToolChoice::polygon, polygon({{5, 5}, {190.5f, 10}, {120, 95.5f}, {60.25f, 40}, {10, 90}}), false},
        {ToolChoice::rectangle, {}, true},
    };
    for (const Case& c : cases) {
        analyse(
            [&](AnalysisWizard& wizard) {
                wizard.sheet().press_next();
                if (c.mask) {
                    wizard.single_page().on_source(RegionSource::from_mask_file);
                    desktop.file_answers.push_back({1, mask});
                    wizard.single_page().on_browse();
                } else {
                    hand_back(wizard, wizard.single_page(), c.tool, c.region);
                }
                single_region_statistics(wizard);
            },
            [&](AnalysisWizard& wizard) {
                const CliRun run = cli("stats " + picture + " " +
                                       (c.mask ? "--mask " + mask : region_words(c.tool, c.region)) + " --json");
                EXPECT_EQ(run.status, 0) << run.err;
                EXPECT_EQ(run.out, statistics_json(wizard.results().single(), &wizard.results().lens()) + "\n") << static_cast<int>(c.tool);
                EXPECT_GT(wizard.results().single().count(), 100);
            });
    }
}

TEST_F(CliAgreement, AMasksExposureChangesNeitherTheWizardsNorTheCommandLinesFigures) {
    const std::string plain = write_mask(pictures / "half.hdr");
    const std::string exposed = write_mask(pictures / "half4.hdr", {"EXPOSURE=4"});
    // By hand, from the stored channels: the mask keeps everything on the
    // left and green and blue on the right (where red's mantissa becomes 0,
    // which reads as half a step); the black first column is left out; the
    // scene's exposure is 0.5.
    const auto scene = ra2picarray(picture);
    ASSERT_TRUE(scene.ok());
    double sum = 0;
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 1; x < width; ++x) {
            const RgbePixel p = scene.value().pixels[static_cast<size_t>(y * width + x)];
            const RgbColor c = decode_rgbe(p);
            const double red = x < width / 2 ? c.r : 0.5 * rgbe_scale(p.e);
            sum += 179.0 * (0.2126 * red + 0.7152 * c.g + 0.0722 * c.b) / 0.5;
            ++count;
        }
    const double mean = sum / count;
    auto mean_in = [](const std::string& json) {
        const size_t at = json.find("\"mean\":");
        return at == std::string::npos ? -1.0 : std::atof(json.c_str() + at + 7);
    };
    const CliRun reference = cli("stats " + picture + " --mask " + plain + " --json");
    ASSERT_EQ(reference.status, 0) << reference.err;
    EXPECT_NEAR(mean_in(reference.out), mean, mean * 1e-5);
    const CliRun run = cli("stats " + picture + " --mask " + exposed + " --json");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, reference.out) << "the same figures, to the last digit";
    analyse(
        [&](AnalysisWizard& wizard) {
            wizard.sheet().press_next();
            wizard.single_page().on_source(RegionSource::from_mask_file);
            desktop.file_answers.push_back({1, exposed});
            wizard.single_page().on_browse();
            single_region_statistics(wizard);
        },
        [&](AnalysisWizard& wizard) {
            EXPECT_EQ(statistics_json(wizard.results().single(), &wizard.results().lens()) + "\n", reference.out);
            EXPECT_NEAR(wizard.results().single().statistics.mean, mean, mean * 1e-5);
        });
}

TEST_F(CliAgreement, TwoRegionsGiveBothAndTheirContrast) {
    const Region a = circle(20, 150, 50), b = rectangle(10, 10, 60.5f, 40.5f);
    analyse(
        [&](AnalysisWizard& wizard) {
            wizard.on_kind_chosen(AnalysisKind::multiple_regions);
            wizard.sheet().press_next();
            hand_back(wizard, wizard.a_page(), ToolChoice::circle, a);
            wizard.sheet().press_next();
            hand_back(wizard, wizard.b_page(), ToolChoice::rectangle, b);
            wizard.sheet().press_next();
            wizard.contrast_checked = true;
            wizard.sheet().press_next();
        },
        [&](AnalysisWizard& wizard) {
            ResultsPage& page = wizard.results();
            const std::string regions =
                region_words(ToolChoice::circle, a) + " --region-b " + region_words(ToolChoice::rectangle, b);
            const CliRun text = cli("stats " + picture + " " + regions + " --report " + (reports / "cli").string());
            EXPECT_EQ(text.status, 0) << text.err;
            for (ResultView view : {ResultView::region_a, ResultView::region_b, ResultView::ratio_ab}) {
                page.on_view(view);
                expect_page_lines(text.out, page.lines());
            }
            EXPECT_THAT(text.out, HasSubstr("Contrast Ratio: "));
            const CliRun json = cli("stats " + picture + " " + regions + " --json");
            EXPECT_EQ(json.out, two_region_json(page.a(), page.b(),
                                                region_contrast(page.a().statistics.mean, page.b().statistics.mean), page.lens()) +
                                    "\n");
            desktop.file_answers.push_back({1, (reports / "app").string()});
            page.on_save();
        });
    for (const char* report : {"_stats.csv", "_hist.csv", "_region.csv"})
        EXPECT_EQ(read_file(reports / ("cli" + std::string(report))),
                  read_file(reports / ("app" + std::string(report))))
            << report;
}

TEST_F(CliAgreement, TheFalsecolorPictureAndItsLegendAreTheViews) {
    app.on_command(command::falsecolor);
    ASSERT_FALSE(desktop.falsecolor_windows.empty());
    FalsecolorForm& window = *desktop.falsecolor_windows.back();
    auto legend = [&] {
        std::string line = "Legend (bottom to top):";
        for (const std::string& label : window.labels) line += " " + label;
        return line + "\n";
    };
    const CliRun measured = cli("falsecolor " + picture + " " + (reports / "measured").string());
    EXPECT_EQ(measured.status, 0) << measured.err;
    EXPECT_EQ(read_file(reports / "measured.bmp"), read_file(cache / "dfalse.bmp"));
    EXPECT_THAT(measured.out, HasSubstr(legend()));
    EXPECT_THAT(measured.out, HasSubstr("Range: " + window.bottom_text + " to " + window.top_text + " cd/m\u00b2\n"));

    window.bottom_text = "2000";
    window.top_text = "0.5";
    window.on_field_edited();
    window.on_apply();
    const CliRun ranged = cli("falsecolor " + picture + " " + (reports / "ranged.bmp").string() + " --range 2000,0.5");
    EXPECT_EQ(ranged.status, 0) << ranged.err;
    EXPECT_EQ(read_file(reports / "ranged.bmp"), read_file(cache / "dfalse.bmp"));
    EXPECT_NE(read_file(reports / "ranged.bmp"), read_file(reports / "measured.bmp"));
    EXPECT_THAT(ranged.out, HasSubstr(legend()));
}

TEST_F(CliAgreement, BatchReplayWritesWhatTheBatchDialogWrites) {
    TempFolder folder, seq;
    for (const char* name : {"a.hdr", "b.hdr", "c.hdr"}) write_macro_picture(folder / name, 12, 7, {"EXPOSURE=2"});
    write_file(folder / "d.hdr", "not a picture");
    const std::string sequence =
        write_sequence(seq / "m.seq", {"40015#/C pflip -c -h " + cache.str() + "/dtemp.hdr " + cache.str() +
                                           "/dtempo.hdr#NULL",
                                       "40018#/C pfilt -1 -e 2 " + cache.str() + "/dtemp.hdr > " + cache.str() +
                                           "/dtempo.hdr#3"});
    desktop.file_answers.push_back({1, sequence});
    desktop.folder_answers.push_back(folder.str());
    desktop.batch_dialog = [](BatchForm& form) {
        form.on_browse();
        form.on_set_path();
        return form.on_ok() ? 1 : 0;
    };
    app.on_command(command::batch_process);
    const std::string summary = desktop.messages.back().text;
    auto take_outputs = [&] {
        std::map<std::string, std::string> outputs;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            if (entry.path().filename().string()[0] <= '9') {
                outputs[entry.path().filename().string()] = read_file(entry.path());
                fs::remove(entry.path());
            }
        return outputs;
    };
    const auto expected = take_outputs();
    ASSERT_EQ(expected.size(), 6u);

    const CliRun parallel = cli("batch " + sequence + " " + folder.str() + " --jobs 2");
    EXPECT_EQ(parallel.status, 1) << "d.hdr fails";
    EXPECT_EQ(parallel.out, summary + "\n");
    EXPECT_EQ(take_outputs(), expected);

    const CliRun jobs = cli("batch " + sequence + " " + folder.str() + " --emit-jobs");
    EXPECT_EQ(jobs.status, 0) << jobs.err;
    std::istringstream lines(jobs.out);
    int emitted = 0;
    for (std::string line; std::getline(lines, line); ++emitted)
        run_shell_command("/C env -u CANDELUX_PROGRAMS XDG_CONFIG_HOME=/nonexistent " + line, "", nullptr, nullptr);
    EXPECT_EQ(emitted, 4);
    EXPECT_EQ(take_outputs(), expected);
}

TEST_F(CliAgreement, NoRegionIsTheWholePicture) {
    const CliRun whole = cli("stats " + picture + " --json");
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_EQ(whole.out, cli("stats " + picture + " --rect 0,0,200,100 --json").out);
    EXPECT_THAT(whole.out, HasSubstr("{\"count\":" + std::to_string((width - 1) * height) + ","))
        << "every pixel but the black column";
}
