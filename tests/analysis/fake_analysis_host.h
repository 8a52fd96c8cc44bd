#pragma once
// An AnalysisHost (and GlareHost) for tests: a luminance map, a cache folder,
// the real picture programs, and a record of what the wizard asked of the
// main window.

#include <string>
#include <vector>

#include "analysis/analysis_host.h"
#include "analysis/glare_run.h"
#include "macro/macro_recorder.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/process_runner.h"

class FakeAnalysisHost : public AnalysisHost, public GlareHost {
public:
    FakeAnalysisHost() { process_runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }

    Desktop& desktop() override { return scripted; }
    StatisticsContext statistics_context() override {
        return {map, cache.str(), process_runner, scripted, mean_only};
    }
    RegionKind tool() const override { return current_tool; }
    void select_tool(RegionKind tool) override {
        current_tool = tool;
        tools_selected.push_back(tool);
        ++selection_clears;
    }
    void clear_selection() override { ++selection_clears; }
    void clear_saved_regions() override { ++saved_region_clears; }
    void set_image_menu_items(bool enabled) override { image_menu_items = enabled; }
    void set_analyze_enabled(bool enabled) override { analyze_enabled = enabled; }
    void set_picture_commands_enabled(bool enabled) override { picture_commands = enabled; }
    void set_main_window_enabled(bool enabled) override { main_window = enabled; }
    ProcessRunner& runner() override { return process_runner; }
    std::string glare_cache_directory() const override { return cache.str(); }
    const LuminanceMap& picture_map() const override { return map; }
    void show_check_picture() override { ++check_pictures_shown; }
    void request_illuminance_calibration() override { ++calibration_requests; }

    ScriptedDesktop scripted;
    MacroRecorder recorder;
    ProcessRunner process_runner{scripted, recorder};
    TempFolder cache;
    LuminanceMap map;
    bool mean_only = false;

    RegionKind current_tool = RegionKind::rectangle;
    std::vector<RegionKind> tools_selected;
    int selection_clears = 0;
    int saved_region_clears = 0;
    bool image_menu_items = true;
    bool analyze_enabled = true;
    bool picture_commands = true;
    bool main_window = false;
    int calibration_requests = 0;
    int check_pictures_shown = 0;
};
