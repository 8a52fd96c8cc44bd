#pragma once
// The one object that owns the program's state; its methods are the
// operations. It reaches windows, dialogs and the status bar only through the
// Desktop it is given, so that all of it runs under tests without a display.

#include <memory>
#include <string>

#include "app/desktop.h"
#include "macro/macro_recorder.h"
#include "picture/luminance_map.h"
#include "settings/platform_folders.h"
#include "settings/settings_apply.h"
#include "settings/settings_file.h"
#include "tools/process_runner.h"

class Application {
public:
    // `program_folder` holds our picture programs; it goes first on the PATH
    // of every child process.
    Application(Desktop& desktop, PlatformFolders folders, std::string program_folder);

    // Start-up, as the main window is created: the settings file, the initial
    // state, the three settings. False when the program cannot go on (the
    // desktop has then been asked to terminate).
    bool on_create();

    // A menu command (or one sent by the legend window or a wizard page).
    void on_command(int id);

    // The main window is being closed: the working files are removed.
    void on_close();

    // --- state, by role -------------------------------------------------------
    Desktop& desktop() { return desktop_; }
    const SettingsFile& settings_file() const { return settings_file_; }
    AppliedSettings& settings() { return settings_; }
    const std::string& cache_directory() const { return settings_.cache_directory; }
    const std::string& startup_directory() const { return startup_directory_; }
    ProcessRunner& runner() { return runner_; }
    MacroRecorder& recorder() { return recorder_; }

    bool image_loaded() const { return image_loaded_; }
    const LuminanceMap& luminance_map() const { return map_; }

    // Path of a working file (one of working_file::...) in the cache directory.
    std::string working_path(const char* name) const { return settings_.cache_directory + name; }

    // Enables or disables every picture-dependent menu item.
    void set_image_menu_items(bool enabled);

    // Runs one editing step on the working copy (0 or -1).
    int run_editing_step(const std::string& command_line);

    // Releases the luminance map.
    void release_luminance_map();

private:
    void run_settings_dialog();

    Desktop& desktop_;
    SettingsFile settings_file_;
    AppliedSettings settings_;
    MacroRecorder recorder_;
    ProcessRunner runner_;
    std::string startup_directory_;

    bool image_loaded_ = false;
    LuminanceMap map_;

    bool analysis_wizard_active_ = false;
    bool calibration_wizard_active_ = false;
    bool falsecolor_open_ = false;
    bool falsecolor_active_ = false;
};
