#include "capture/capture_form.h"

#include <cctype>
#include <limits>

#include "assembly/captured_series.h"
#include "capture/eds_abi.h"
#include "capture/exposure_tables.h"
#include "common/text_format.h"
#include "profiles/profile_settings.h"
#include "settings/settings_file.h"

namespace {

constexpr const char* error_caption = "Error!";

// Aperture texts longer than this are cut before they are looked up.
constexpr size_t max_aperture_text = 15;

bool starts_with_ignoring_case(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The first item that begins with `prefix`, searching from the second item
// round to the first; -1 when none does.
int find_item_from_second(const std::vector<std::string>& items, const std::string& prefix) {
    const size_t count = items.size();
    for (size_t k = 0; k < count; ++k) {
        const size_t i = (1 + k) % count;
        if (starts_with_ignoring_case(items[i], prefix)) return static_cast<int>(i);
    }
    return -1;
}

// Whole seconds until `start`; at least 1, so that a start time already
// passed, or less than a second ahead, still leads to a run at the next tick.
uint32_t seconds_until(std::chrono::system_clock::time_point start, std::chrono::system_clock::time_point now) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(start - now).count();
    if (seconds < 1) return 1;
    if (seconds > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(seconds);
}

}  // namespace

uint32_t parse_interval(const std::string& text) {
    uint64_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > std::numeric_limits<uint32_t>::max()) return 0;
    }
    return static_cast<uint32_t>(value);
}

std::string countdown_text_of(uint32_t seconds) {
    return strprintf("%02d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
}

CaptureForm::CaptureForm(Desktop& desktop, CaptureCamera& camera, const SettingsFile& settings, CapturePacing pacing,
                         WallClock clock)
    : desktop_(desktop), camera_(camera), settings_(settings), pacing_(std::move(pacing)), clock_(std::move(clock)) {
    for (int id : capture_ids::switched) controls_[id] = ControlState{};
    profiles = list_profiles(profile_folder(settings_.folders().appdata));
    const std::string chosen =
        read_profile_settings(profile_settings_file(settings_.folders().appdata)).capture_profile;
    for (size_t i = 0; i < profiles.size(); ++i)
        if (!chosen.empty() && profiles[i].path == chosen) assembly_profile = static_cast<int>(i) + 1;
}

void CaptureForm::on_assembly_profile(int index) {
    if (index < 0 || static_cast<size_t>(index) > profiles.size()) return;
    assembly_profile = index;
    const std::string file = profile_settings_file(settings_.folders().appdata);
    ProfileSettings remembered = read_profile_settings(file);
    remembered.capture_profile = index ? profiles[static_cast<size_t>(index) - 1].path : "";
    write_profile_settings(file, remembered);
}

void CaptureForm::on_open() {
    for (int id : capture_ids::switched) controls_[id] = ControlState{};
    capture_mode = CaptureMode::automatic;
    timing = Timing::once;
    control(capture_ids::interval).enabled = false;
    control(capture_ids::next_sequence).visible = false;
    control(capture_ids::countdown).visible = false;
    folder_text = no_folder_text;

    // Nothing slower than the table's first row (2 seconds) is offered.
    shutter_items.clear();
    shutter_codes_.clear();
    const uint32_t slowest = shutter_speed_table().front().code;
    for (uint32_t value : camera_.shutter_speed_values()) {
        if (value < slowest) continue;
        shutter_items.push_back(shutter_label(value));
        shutter_codes_.push_back(value);
    }
    shutter1_ticked.assign(shutter_codes_.size(), false);
    shutter2_ticked.assign(shutter_codes_.size(), false);

    aperture_items.clear();
    for (uint32_t value : camera_.aperture_values()) aperture_items.push_back(aperture_label(value));

    for (int id : {capture_ids::aperture_mode, capture_ids::aperture1, capture_ids::shutters1})
        control(id).enabled = false;
    show_second_lists(false);
    aperture_mode = ApertureMode::single;

    uint32_t current = 0;
    aperture1_selection = aperture2_selection = -1;
    if (camera_.read_current_aperture(current) == eds::ok)
        aperture1_selection = aperture2_selection = find_item_from_second(aperture_items, aperture_label(current));
    aperture1_ = aperture2_ = current;

    camera_.set_save_folder("");
    interval_ = 0;
    countdown_ = 0;
    started_ = false;
    timer_running_ = false;
    start_time = clock_();
    countdown_text.clear();
}

void CaptureForm::show_second_lists(bool shown) {
    control(capture_ids::aperture2).visible = shown;
    control(capture_ids::shutters2).visible = shown;
}

void CaptureForm::on_automatic() { set_capture_mode(CaptureMode::automatic); }

void CaptureForm::on_manual() { set_capture_mode(CaptureMode::manual); }

// The manual settings are usable in Manual mode only; the second lists are
// shown whenever Two Apertures is chosen.
void CaptureForm::set_capture_mode(CaptureMode mode) {
    capture_mode = mode;
    const bool manual = mode == CaptureMode::manual;
    for (int id : {capture_ids::aperture_mode, capture_ids::aperture1, capture_ids::shutters1})
        control(id).enabled = manual;
    if (aperture_mode == ApertureMode::two) {
        control(capture_ids::aperture2).enabled = manual;
        control(capture_ids::shutters2).enabled = manual;
    }
    show_second_lists(aperture_mode == ApertureMode::two);
}

void CaptureForm::on_aperture_mode(int position) {
    aperture_mode = position == 1 ? ApertureMode::two : ApertureMode::single;
    // Chosen in Automatic mode (the form allows it), they show disabled.
    control(capture_ids::aperture2).enabled = capture_mode == CaptureMode::manual;
    control(capture_ids::shutters2).enabled = capture_mode == CaptureMode::manual;
    show_second_lists(aperture_mode == ApertureMode::two);
}

void CaptureForm::on_set_folder() {
    const std::string path = desktop_.choose_folder("Select Path", Owner::dialog);
    if (path.empty()) return;
    const std::string folder = path.back() == '/' ? path : path + "/";
    // A cut-off path would be some other folder, or none at all.
    if (folder.size() > max_save_folder) {
        show_invalid_path();
        return;
    }
    folder_text = path;
    camera_.set_save_folder(folder);
}

void CaptureForm::show_invalid_path() {
    desktop_.message_box("Invalid Path - Please choose a valid path to save captured images", error_caption,
                         MessageIcon::error, Owner::dialog);
}

// Once per run, however many exposures were skipped.
void CaptureForm::report_skipped(const RunReport& report) {
    if (report.skipped.empty()) return;
    desktop_.message_box(skipped_exposures_message(report), error_caption, MessageIcon::warning, Owner::dialog);
}

void CaptureForm::on_once() {
    timing = Timing::once;
    control(capture_ids::interval).enabled = false;
}

void CaptureForm::on_timed() {
    timing = Timing::timed;
    control(capture_ids::interval).enabled = true;
}

void CaptureForm::on_ok() { run_schedule(); }

void CaptureForm::on_cancel() {
    camera_.disconnect_camera();
    on_close();
}

void CaptureForm::on_close() {
    stop_timer();
    started_ = false;
}

void CaptureForm::start_timer() {
    timer_running_ = true;
    ++timer_starts_;
}

void CaptureForm::stop_timer() { timer_running_ = false; }

void CaptureForm::run_schedule() {
    if (camera_.save_folder().empty()) {
        show_invalid_path();
        return;
    }
    interval_ = parse_interval(interval_text);
    countdown_ = started_ ? interval_ * 60u : seconds_until(start_time, clock_());
    start_timer();
    control(capture_ids::ok).enabled = false;
    if (started_) capture_now();
    control(capture_ids::ok).enabled = true;
    if (timing == Timing::timed && interval_ > 0) {
        // The next interval is counted from the end of the run.
        start_timer();
        countdown_text = countdown_text_of(countdown_);
        control(capture_ids::next_sequence).visible = true;
        control(capture_ids::countdown).visible = true;
    }
}

void CaptureForm::on_timer() {
    // A run in progress owns the camera; a tick that arrives meanwhile (from
    // a message box's loop) is not one the schedule counts.
    if (running_ || !timer_running_) return;
    --countdown_;
    countdown_text = countdown_text_of(countdown_);
    if (countdown_ != 0) return;
    control(capture_ids::next_sequence).visible = false;
    control(capture_ids::countdown).visible = false;
    started_ = true;
    stop_timer();
    run_schedule();
}

bool CaptureForm::manual_run(int aperture_selection, const std::vector<bool>& ticked, uint32_t& aperture,
                             RunReport& report) {
    if (aperture_selection < 0 || static_cast<size_t>(aperture_selection) >= aperture_items.size()) return false;
    aperture = aperture_code(aperture_items[static_cast<size_t>(aperture_selection)].substr(0, max_aperture_text));
    std::vector<uint32_t> shutter_speeds;
    for (size_t i = 0; i < shutter_codes_.size() && i < ticked.size(); ++i)
        if (ticked[i]) shutter_speeds.push_back(shutter_codes_[i]);
    run_manual_exposures(camera_, pacing_, aperture, shutter_speeds, report);
    last_set_result_ = report.last_set_result;
    return true;
}

void CaptureForm::capture_now() {
    running_ = true;
    const FolderSnapshot before = snapshot_folder(camera_.save_folder());
    if (capture_mode == CaptureMode::automatic) {
        run_auto_capture();
    } else {
        RunReport report;
        bool aperture_missing = !manual_run(aperture1_selection, shutter1_ticked, aperture1_, report);
        if (aperture_mode == ApertureMode::two)
            aperture_missing |= !manual_run(aperture2_selection, shutter2_ticked, aperture2_, report);
        if (aperture_missing)
            desktop_.message_box("No aperture selected - Please choose an aperture for the manual capture",
                                 error_caption, MessageIcon::warning, Owner::dialog);
        report_skipped(report);
    }
    if (assemble_each_series) assemble_series_taken(before);
    running_ = false;
}

void CaptureForm::assemble_series_taken(const FolderSnapshot& before) {
    const std::vector<std::string> pictures = pictures_written(before, snapshot_folder(camera_.save_folder()));
    if (pictures.size() < 2) return;  // nothing to assemble; the run has said why
    std::optional<CameraProfile> profile;
    if (assembly_profile > 0) {
        auto read = read_camera_profile(profiles[static_cast<size_t>(assembly_profile) - 1].path);
        if (!read) {
            desktop_.message_box("Assemble each series: " + read.failure().message, error_caption,
                                 MessageIcon::warning, Owner::dialog);
            return;
        }
        profile = std::move(read).value();
    }
    auto assembled = assemble_captured_series(pictures, profile ? &*profile : nullptr);
    if (!assembled)
        desktop_.message_box("Assemble each series: " + assembled.failure().message, error_caption,
                             MessageIcon::warning, Owner::dialog);
}

int CaptureForm::run_auto_capture() {
    if (!settings_.has_appdata()) {
        desktop_.message_box("Could not find APPDATA folder", "Internal Process Error!", MessageIcon::warning,
                             Owner::none);
        desktop_.terminate(0);
        return 0;
    }
    const AutocapList list = read_autocap_file(settings_.folder() / autocap_file_name);
    if (list.status == AutocapList::Status::missing) {
        desktop_.message_box("@AutoCapture - Missing autocap.asf file. Function will not proceed with Capture",
                             error_caption, MessageIcon::warning, Owner::dialog);
        return 0;
    }
    if (list.status == AutocapList::Status::damaged) {
        desktop_.message_box("@AutoCapture - Corrupted autocap.asf file. Function will not proceed with Capture",
                             error_caption, MessageIcon::warning, Owner::dialog);
        return 2;
    }
    RunReport report;
    run_auto_exposures(camera_, pacing_, list.entries, report);
    report_skipped(report);
    return 0;
}
