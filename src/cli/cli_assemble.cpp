// assemble OUTPUT.hdr PICTURE... : an exposure series into one luminance
// picture, as File > Assemble HDR... does. Prints the exposures used, the
// response curve's residual and the share of saturated pixels.

#include <filesystem>
#include <fstream>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "cli/cli_commands.h"
#include "cli/statistics_json.h"
#include "common/text_format.h"
#include "profiles/assemble_with_profile.h"
#include "profiles/ev_check.h"
#include "profiles/profile_settings.h"
#include "settings/platform_folders.h"

namespace fs = std::filesystem;

namespace {

std::string exposure_text(const ShotExposure& shot) {
    std::string text = exposure_time_text(shot.seconds) + " s";
    if (shot.f_number > 0) text += strprintf("  f/%g", shot.f_number);
    if (shot.iso > 0) text += strprintf("  ISO %g", shot.iso);
    return text;
}

std::string json_of(const AssembleOptions& options, const std::vector<ShotExposure>& shots,
                    const AssemblyReport& report, const std::optional<EvCheck>& ev) {
    std::string json = "{\"output\": " + json_string(options.output) +
                       strprintf(", \"width\": %d, \"height\": %d, \"exposures\": [", report.width, report.height);
    for (size_t j = 0; j < shots.size(); ++j) {
        json += strprintf("%s{\"picture\": %s, \"seconds\": %.9g, \"f_number\": %.6g, \"iso\": %.6g",
                          j ? ", " : "", json_string(options.pictures[j]).c_str(), shots[j].seconds,
                          shots[j].f_number, shots[j].iso);
        if (j < report.shifts.size()) json += strprintf(", \"shift\": [%d, %d]", report.shifts[j].dx, report.shifts[j].dy);
        json += "}";
    }
    json += "], \"response\": ";
    if (!options.response_file.empty()) json += json_string(options.response_file);
    else json += report.response_residual ? "\"recovered\"" : "\"profile\"";
    if (!options.profile.empty()) json += ", \"profile\": " + json_string(options.profile);
    json += ", \"response_residual\": ";
    json += report.response_residual ? strprintf("%.6g", *report.response_residual) : "null";
    json += strprintf(", \"saturated\": %zu, \"saturated_share\": %.6g, \"absolute\": %s", report.saturated,
                      report.saturated_share, report.absolute ? "true" : "false");
    if (ev)
        json += strprintf(", \"ev_check\": {\"picture_lux\": %.6g, \"meter_lux\": %.6g, \"difference_percent\": %.4g, "
                          "\"tolerance_percent\": %g, \"flagged\": %s}",
                          ev->picture_lux, ev->meter_lux, ev->difference_percent, ev->tolerance_percent,
                          ev->flagged ? "true" : "false");
    json += "}\n";
    return json;
}

// A profile made for another camera or lens is refused unless forced.
int check_series(const AssembleOptions& options, const CameraProfile& profile, const std::vector<ShotExposure>& shots,
                 const CliOutput& output) {
    const std::string message = profile_mismatch(profile, options.pictures, shots);
    if (message.empty()) return 0;
    if (!options.force) return output.fail(exit_bad_input, message + "; give --force to apply it anyway");
    output.warn(message);
    return 0;
}

}  // namespace

int run_assemble(const AssembleOptions& options, const CliOutput& output) {
    std::error_code ec;
    const fs::path folder = fs::path(options.output).parent_path();
    if (!fs::is_directory(folder.empty() ? "." : folder, ec))
        return output.fail(exit_bad_input, "the folder of " + options.output + " does not exist");
    if (const std::string problem = existing_output_problem(options.output, options.overwrite); !problem.empty())
        return output.fail(exit_bad_input, problem);

    auto shots = read_series_exposures(options.pictures, options.exposures);
    if (!shots) {
        const std::string hint = shots.failure().code == -2 ? "; give the times with --exposures" : "";
        return output.fail(exit_bad_input, shots.failure().message + hint);
    }
    for (const std::string& sentence : changing_settings(shots.value())) output.warn(sentence);
    AssemblyRequest request{options.pictures, shots.value(), std::nullopt, options.meter_constant, options.align};
    std::optional<CameraProfile> profile;
    if (!options.profile.empty()) {
        auto read = read_camera_profile(profile_path(options.profile));
        if (!read) return output.fail(exit_bad_input, read.failure().message);
        profile = read.value();
        if (const int refused = check_series(options, *profile, shots.value(), output)) return refused;
        request.response = profile->response;
    }
    if (!options.response_file.empty()) {
        auto curve = read_response_file(options.response_file);
        if (!curve) return output.fail(exit_bad_input, curve.failure().message);
        request.response = curve.value();
    }
    int shown = -1;
    const auto progress = [&](double done) {
        if (!output.err_is_terminal) return true;
        const int percent = static_cast<int>(done * 100);
        if (percent != shown) output.err << "\rassembling " << percent << " %" << std::flush;
        shown = percent;
        return true;
    };
    auto report = assemble_with_profile(request, options.output, profile ? &*profile : nullptr, progress);
    if (output.err_is_terminal) output.err << "\r                \r" << std::flush;
    if (!report)
        return output.fail(report.failure().code == -3 ? exit_failed : exit_bad_input, report.failure().message);
    if (!options.save_response_file.empty()) {
        std::ofstream out(options.save_response_file, std::ios::binary);
        out << response_file_text(report.value().response);
        if (!out.flush()) return output.fail(exit_failed, options.save_response_file + ": cannot be written");
    }
    std::optional<EvCheck> ev;
    if (options.meter_lux) {
        // Without --ev-tolerance, the tolerance the assembly dialog last set.
        const double tolerance = options.ev_tolerance.value_or(
            read_profile_settings(profile_settings_file(platform_folders_from_environment().appdata)).ev_tolerance);
        auto check = check_vertical_illuminance(options.output, *options.meter_lux, tolerance);
        if (!check) output.warn("no Ev check: " + check.failure().message);
        else ev = check.value();
        if (ev && ev->flagged) output.warn(ev_check_sentence(*ev));
    }
    print_assembly(output, options, shots.value(), report.value(), ev);
    return 0;
}

void print_assembly(const CliOutput& output, const AssembleOptions& options, const std::vector<ShotExposure>& shots,
                    const AssemblyReport& report, const std::optional<EvCheck>& ev) {
    if (options.json) {
        output.out << json_of(options, shots, report, ev);
        return;
    }
    for (size_t j = 0; j < options.pictures.size(); ++j) {
        output.out << options.pictures[j] << "  " << exposure_text(shots[j]);
        if (j < report.shifts.size()) output.out << strprintf("  shift %d %d", report.shifts[j].dx, report.shifts[j].dy);
        output.out << '\n';
    }
    if (report.response_residual)
        output.out << strprintf("response: recovered from the series, residual %.4g\n", *report.response_residual);
    else if (!options.response_file.empty())
        output.out << "response: " << options.response_file << '\n';
    else
        output.out << "response: from the profile " << options.profile << '\n';
    output.out << strprintf("saturated: %zu pixels (%.3f %%)\n", report.saturated, report.saturated_share);
    output.out << strprintf("%s: %d x %d, ", options.output.c_str(), report.width, report.height)
               << (report.absolute ? strprintf("luminance in cd/m2 (K %g)\n", options.meter_constant)
                                   : std::string("relative values (no f-number or ISO speed)\n"));
    if (ev) output.out << ev_check_sentence(*ev) << '\n';
}
