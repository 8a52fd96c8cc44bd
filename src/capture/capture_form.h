#pragma once
// The "Capture Settings" dialog's rules and the capture schedule behind it.
//
// The dialog shows the fields below and calls one method per event; before
// each call it copies the user's choices (selections, ticks, start time,
// interval text) into the form, and after it shows the form again. The
// countdown timer is the dialog's: it ticks on_timer() once a second while
// timer_running(), and restarts its period whenever timer_starts() changes.
//
// The countdown counts seconds in unsigned 32 bits: after a run with an
// interval of 0 it passes below zero and wraps, so no further run follows.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "assembly/captured_series.h"
#include "profiles/profile_form.h"

#include "desktop/desktop.h"
#include "capture/capture_camera.h"
#include "capture/capture_run.h"

class SettingsFile;

namespace capture_ids {
inline constexpr int dialog = 141;
inline constexpr int folder_edit = 1175;
inline constexpr int set_folder = 1176;
inline constexpr int automatic = 1173;
inline constexpr int manual = 1174;
inline constexpr int aperture_mode = 1181;
inline constexpr int aperture1 = 1177;
inline constexpr int aperture2 = 1178;
inline constexpr int shutters1 = 1179;
inline constexpr int shutters2 = 1180;
inline constexpr int once = 1184;
inline constexpr int timed = 1185;
inline constexpr int start_time = 1196;
inline constexpr int interval = 1186;
inline constexpr int next_sequence = 1187;
inline constexpr int countdown = 1183;
inline constexpr int ok = 1;
inline constexpr int cancel = 2;
inline constexpr int countdown_timer = 20564;
inline constexpr int assemble_each = 1197;
inline constexpr int assembly_profile = 1198;

// The controls whose enabled or shown state the rules switch.
inline constexpr int switched[] = {aperture_mode, aperture1, aperture2, shutters1, shutters2,
                                   interval,      next_sequence, countdown, ok};
}  // namespace capture_ids

inline constexpr const char* no_folder_text = "<Please set a valid path>";
// Save folder and separator together, in bytes.
inline constexpr size_t max_save_folder = 255;

enum class CaptureMode { automatic = 0, manual = 1 };
enum class ApertureMode { single = 0, two = 1 };
enum class Timing { once = 0, timed = 1 };

struct ControlState {
    bool enabled = true;
    bool visible = true;
};

class CaptureForm {
public:
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    // `settings` says where autocap.asf is.
    CaptureForm(Desktop& desktop, CaptureCamera& camera, const SettingsFile& settings, CapturePacing pacing,
                WallClock clock);

    // --- the dialog's fields ---------------------------------------------------
    std::string folder_text;
    CaptureMode capture_mode = CaptureMode::automatic;
    ApertureMode aperture_mode = ApertureMode::single;
    Timing timing = Timing::once;
    std::vector<std::string> aperture_items;  // both aperture lists
    int aperture1_selection = -1;             // -1: nothing selected
    int aperture2_selection = -1;
    std::vector<std::string> shutter_items;  // both shutter lists, parallel to shutter_codes()
    std::vector<bool> shutter1_ticked;
    std::vector<bool> shutter2_ticked;
    std::chrono::system_clock::time_point start_time;
    std::string interval_text;
    // Each finished series is assembled into <folder>/<first picture>.hdr,
    // with the camera profile `assembly_profile` (0 "No profile", i the
    // profile profiles[i - 1]), remembered between sessions.
    bool assemble_each_series = false;
    std::vector<ProfileEntry> profiles;
    int assembly_profile = 0;
    std::string countdown_text;

    // Enabled and shown state of the controls the rules switch.
    ControlState& control(int id) { return controls_[id]; }
    const ControlState& control(int id) const { return controls_.at(id); }

    bool timer_running() const { return timer_running_; }
    unsigned timer_starts() const { return timer_starts_; }
    uint32_t countdown() const { return countdown_; }
    bool started() const { return started_; }
    uint32_t interval() const { return interval_; }
    const std::vector<uint32_t>& shutter_codes() const { return shutter_codes_; }
    uint32_t aperture1() const { return aperture1_; }
    uint32_t aperture2() const { return aperture2_; }
    uint32_t last_set_result() const { return last_set_result_; }

    // --- events ------------------------------------------------------------------
    void on_open();
    void on_automatic();
    void on_manual();
    void on_aperture_mode(int position);
    void on_set_folder();
    void on_once();
    void on_timed();
    void on_ok();
    // Cancel ends the camera session; the close button leaves it open.
    void on_cancel();
    void on_close();
    void on_timer();
    void on_assembly_profile(int index);

    // One capture run by the current modes.
    void capture_now();
    // 0 after a run or a missing file, 2 after a damaged one.
    int run_auto_capture();
    void assemble_series_taken(const FolderSnapshot& before);

private:
    void run_schedule();
    void start_timer();
    void stop_timer();
    void set_capture_mode(CaptureMode mode);
    void show_second_lists(bool shown);
    void show_invalid_path();
    void report_skipped(const RunReport& report);
    // One aperture list with its shutter list; false, and no run, when the
    // aperture list has nothing selected.
    bool manual_run(int aperture_selection, const std::vector<bool>& ticked, uint32_t& aperture, RunReport& report);

    Desktop& desktop_;
    CaptureCamera& camera_;
    const SettingsFile& settings_;
    CapturePacing pacing_;
    WallClock clock_;

    std::map<int, ControlState> controls_;
    std::vector<uint32_t> shutter_codes_;
    uint32_t aperture1_ = 0;
    uint32_t aperture2_ = 0;
    uint32_t interval_ = 0;
    uint32_t countdown_ = 0;
    uint32_t last_set_result_ = 0;
    bool started_ = false;
    bool timer_running_ = false;
    unsigned timer_starts_ = 0;
    bool running_ = false;
};

// The interval field as an unsigned number of minutes; "" is 0.
uint32_t parse_interval(const std::string& text);

// "%02d:%02d", minutes not limited to two digits.
std::string countdown_text_of(uint32_t seconds);
