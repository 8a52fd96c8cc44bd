#include "assembly/assembly_form.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "assembly/shot_exposure.h"
#include "common/text_format.h"
#include "profiles/assemble_with_profile.h"
#include "profiles/ev_check.h"
#include "profiles/profile_settings.h"
#include "profiles/profile_updates.h"

namespace {

std::string number_text(double value) { return value > 0 ? strprintf("%g", value) : ""; }

// A positive number, or 0 for an empty field; nothing when the text is
// neither.
std::optional<double> optional_number(const std::string& text) {
    if (text.empty()) return 0.0;
    double value = 0;
    if (parse_decimal_prefix(text, value) != text.size() || !(value > 0)) return std::nullopt;
    return value;
}

}  // namespace

AssemblyForm::AssemblyForm(AssemblyDesktop& desktop, OpenResult open_result, const std::string& profile_folder,
                           std::string settings_file)
    : profiles(list_profiles(profile_folder)),
      desktop_(desktop),
      open_result_(std::move(open_result)),
      settings_file_(std::move(settings_file)) {
    if (!settings_file_.empty()) ev_tolerance = read_profile_settings(settings_file_).ev_tolerance;
}

void AssemblyForm::on_ev_tolerance(double percent) {
    if (!(percent > 0) || percent == ev_tolerance) return;
    ev_tolerance = percent;
    if (settings_file_.empty()) return;
    ProfileSettings remembered = read_profile_settings(settings_file_);
    remembered.ev_tolerance = percent;
    write_profile_settings(settings_file_, remembered);
}

void AssemblyForm::on_add_pictures() {
    std::vector<std::string> refused;
    for (const std::string& path : desktop_.choose_series_pictures()) {
        auto shot = read_shot_exposure(path);
        if (!shot) {
            refused.push_back(shot.failure().message);
            continue;
        }
        const ShotExposure& s = shot.value();
        rows.push_back({path, s.seconds > 0 ? exposure_time_text(s.seconds) : "", number_text(s.f_number),
                        number_text(s.iso)});
    }
    // Shortest exposure first, as a series is usually read.
    std::stable_sort(rows.begin(), rows.end(), [](const AssemblyRow& a, const AssemblyRow& b) {
        const double ta = parse_exposure_time(a.time).value_or(0), tb = parse_exposure_time(b.time).value_or(0);
        return ta < tb;
    });
    const auto missing = std::count_if(rows.begin(), rows.end(), [](const AssemblyRow& row) { return row.time.empty(); });
    status = strprintf("%zu pictures", rows.size());
    if (missing) status += strprintf("; %ld without an exposure time: type it in", static_cast<long>(missing));
    if (!refused.empty()) {
        std::string text = "These files are not pictures of a series:";
        for (const std::string& line : refused) text += "\n" + line;
        desktop_.assembly_message(text, MessageIcon::warning);
    }
}

void AssemblyForm::on_remove(int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    rows.erase(rows.begin() + row);
    status = strprintf("%zu pictures", rows.size());
}

void AssemblyForm::on_edit(int row, int column, const std::string& text) {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    AssemblyRow& r = rows[static_cast<size_t>(row)];
    if (column == assembly_column::time) r.time = text;
    if (column == assembly_column::f_number) r.f_number = text;
    if (column == assembly_column::iso) r.iso = text;
}

bool AssemblyForm::on_assemble() {
    if (running) return false;
    if (rows.size() < 2) {
        desktop_.assembly_message("Choose two pictures or more of one scene, taken at different exposures.",
                                  MessageIcon::warning);
        return false;
    }
    AssemblyRequest request;
    request.align = align;
    for (size_t i = 0; i < rows.size(); ++i) {
        const AssemblyRow& row = rows[i];
        const std::string name = std::filesystem::path(row.path).filename().string();
        const auto seconds = parse_exposure_time(row.time);
        const auto f_number = optional_number(row.f_number);
        const auto iso = optional_number(row.iso);
        if (!seconds || !f_number || !iso) {
            desktop_.assembly_message(name + ": the exposure time must be such as 1/250, 0.5 or 2, and the f-number "
                                             "and ISO positive numbers (or empty)",
                                      MessageIcon::warning);
            return false;
        }
        auto shot = read_shot_exposure(row.path);
        ShotExposure exposure = shot ? shot.value() : ShotExposure{};
        exposure.seconds = *seconds;
        exposure.f_number = *f_number;
        exposure.iso = *iso;
        request.pictures.push_back(row.path);
        request.exposures.push_back(exposure);
    }
    // A meter reading that cannot be used is said before the run, not after.
    double meter_lux = 0;
    if (!measured_illuminance.empty() &&
        (parse_decimal_prefix(measured_illuminance, meter_lux) != measured_illuminance.size() || !(meter_lux > 0))) {
        desktop_.assembly_message("The measured illuminance must be a number of lux above 0 (or empty).",
                                  MessageIcon::warning);
        return false;
    }
    const std::vector<std::string> changing = changing_settings(request.exposures);
    if (!changing.empty()) {
        std::string text;
        for (const std::string& sentence : changing) text += (text.empty() ? "" : "\n") + sentence;
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        desktop_.assembly_message(text + "\n\nEach picture is merged with its own exposure; check that the series "
                                         "was taken in manual mode.",
                                  MessageIcon::warning);
    }
    std::optional<CameraProfile> chosen;
    if (profile > 0 && static_cast<size_t>(profile) <= profiles.size()) {
        auto read = read_camera_profile(profiles[static_cast<size_t>(profile) - 1].path);
        if (!read) {
            desktop_.assembly_message(read.failure().message, MessageIcon::error);
            return false;
        }
        chosen = read.value();
        const std::string mismatch = profile_mismatch(*chosen, request.pictures, request.exposures);
        if (!mismatch.empty() && !desktop_.assembly_question(mismatch + ".\n\nApply the profile anyway?")) {
            status = "Not assembled: the profile is for another camera or lens";
            return false;
        }
        request.response = chosen->response;
    }
    const std::filesystem::path first(rows.front().path);
    const std::string output =
        desktop_.choose_assembly_output((first.parent_path() / first.stem()).string() + ".hdr");
    if (output.empty()) return false;

    running = true;
    status = "Assembling...";
    ev_result.clear();
    auto report = assemble_with_profile(request, output, chosen ? &*chosen : nullptr,
                                        [this](double done) { return desktop_.assembly_progress(done); });
    running = false;
    if (!report) {
        if (report.failure().code == assembly_cancelled) {
            status = "Cancelled: nothing written";
            return false;
        }
        status = "Not assembled";
        desktop_.assembly_message(report.failure().message, MessageIcon::error);
        return false;
    }
    const AssemblyReport& r = report.value();
    status = strprintf("%s: %d x %d", std::filesystem::path(output).filename().c_str(), r.width, r.height);
    if (r.response_residual) status += strprintf(", response residual %.3g", *r.response_residual);
    status += strprintf(", saturated %zu pixels (%.3f %%)", r.saturated, r.saturated_share);
    if (!r.absolute) status += ", relative values";
    if (chosen) status += ", profile " + chosen->name;
    if (!changing.empty()) status += "; the ISO speed or aperture changes within the series";
    recovered_response.reset();
    if (r.response_residual) recovered_response = r.response;
    last_output = output;
    if (meter_lux > 0) run_ev_check(output);
    if (open_result_) open_result_(output);
    return true;
}

void AssemblyForm::run_ev_check(const std::string& output) {
    double meter_lux = 0;
    parse_decimal_prefix(measured_illuminance, meter_lux);
    auto check = check_vertical_illuminance(output, meter_lux, ev_tolerance);
    if (!check) {
        ev_result = "No Ev check: " + check.failure().message;
        desktop_.assembly_message(ev_result, MessageIcon::warning);
        return;
    }
    ev_result = ev_check_sentence(check.value());
    if (check.value().flagged) desktop_.assembly_message(ev_result, MessageIcon::warning);
}

bool AssemblyForm::on_save_response() {
    if (running) return false;
    if (!recovered_response) {
        desktop_.assembly_message("Assemble a series without a stored response curve first: the curve that run "
                                  "recovers is the one saved.",
                                  MessageIcon::information);
        return false;
    }
    if (profile <= 0 || static_cast<size_t>(profile) > profiles.size()) {
        desktop_.assembly_message("Choose the profile to save the response curve into.", MessageIcon::information);
        return false;
    }
    const ProfileEntry& entry = profiles[static_cast<size_t>(profile) - 1];
    auto stored = store_response_curve(entry.path, *recovered_response);
    if (!stored) {
        desktop_.assembly_message(stored.failure().message, MessageIcon::error);
        return false;
    }
    status = "Response curve saved into the profile " + entry.name;
    return true;
}
