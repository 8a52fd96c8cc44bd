#pragma once
// A CalibrationHost for tests: a luminance map and its working copy in a
// cache folder, the real picture programs, and a record of what the wizard
// asked of the main window.

#include <string>
#include <vector>

#include "analysis/calibration_host.h"
#include "common/physics.h"
#include "macro/macro_recorder.h"
#include "picture/rgbe_reader.h"
#include "support/formula_pictures.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/editing_step.h"
#include "tools/process_runner.h"
#include "tools/working_files.h"

class FakeCalibrationHost : public CalibrationHost {
public:
    FakeCalibrationHost() { runner.set_program_folder(CANDELUX_PROGRAMS_DIR); }

    Desktop& desktop() override { return scripted; }
    // While the calibration wizard is open the statistics give means only.
    StatisticsContext statistics_context() override { return {map, cache.str(), runner, scripted, true}; }
    RegionKind tool() const override { return current_tool; }
    void select_tool(RegionKind tool) override {
        current_tool = tool;
        tools_selected.push_back(tool);
    }
    void clear_selection() override { ++selection_clears; }
    void set_image_menu_items(bool enabled) override { image_menu_items = enabled; }
    void set_calibration_enabled(bool enabled) override { calibration_enabled = enabled; }
    void set_picture_commands_enabled(bool enabled) override { picture_commands = enabled; }
    void set_main_window_enabled(bool enabled) override { main_window = enabled; }
    int run_editing_step(const std::string& command_line) override {
        editing_steps.push_back(command_line);
        return ::run_editing_step(runner, scripted, cache.str(), command_line);
    }
    void reload_working_copy() override {
        ++reloads;
        map = load_luminance_map(working_copy()).value();
    }

    std::string working_copy() const { return cache.str() + working_file::working_copy; }
    // The map as the working copy, in grey; `map` itself keeps its exact values.
    void write_working_copy(std::vector<std::string> header_lines = {}) {
        write_grey_picture(
            working_copy(), map.width, map.height,
            [this](int x, int y) {
                return static_cast<float>(map.data[static_cast<size_t>(y) * map.width + x] / physics::luminous_efficacy);
            },
            std::move(header_lines));
    }

    ScriptedDesktop scripted;
    MacroRecorder recorder;
    ProcessRunner runner{scripted, recorder};
    TempFolder cache;
    LuminanceMap map;

    RegionKind current_tool = RegionKind::rectangle;
    std::vector<RegionKind> tools_selected;
    std::vector<std::string> editing_steps;
    int selection_clears = 0;
    int reloads = 0;
    bool image_menu_items = true;
    bool calibration_enabled = true;
    bool picture_commands = true;
    bool main_window = false;
};
