// capture FOLDER: one exposure series from the tethered camera, through the
// capture core of Capture > Setup... (the shutter speeds given at one
// aperture, or the autocap.asf list), for cron jobs on a camera computer;
// --assemble then makes <FOLDER>/<first picture>.hdr of it.

#include <filesystem>

#include "assembly/captured_series.h"
#include "assembly/series_exposures.h"
#include "capture/autocap_file.h"
#include "capture/camera_sdk.h"
#include "capture/capture_run.h"
#include "capture/exposure_tables.h"
#include "cli/cli_commands.h"
#include "common/text_format.h"
#include "profiles/camera_profile.h"
#include "settings/platform_folders.h"
#include "settings/settings_file.h"

namespace fs = std::filesystem;

namespace {

// Checks the options against the camera's tables and the autocap list
// before the camera is touched.
struct CapturePlan {
    uint32_t aperture = 0;  // 0: the camera's current one
    std::vector<uint32_t> shutters;
    std::vector<AutoExposure> automatic;
};

Result<CapturePlan> plan_of(const CaptureOptions& options) {
    CapturePlan plan;
    if (options.shutter_labels.empty()) {
        const fs::path list = SettingsFile(platform_folders_from_environment()).folder() / autocap_file_name;
        const AutocapList autocap = read_autocap_file(list);
        if (autocap.status == AutocapList::Status::missing)
            return Failure{-1, "no --shutter given and no exposure list " + list.string()};
        if (autocap.status == AutocapList::Status::damaged)
            return Failure{-1, strprintf("%s: exposure %zu is not \"F5.6,1/125\"", list.string().c_str(),
                                         autocap.damaged_entry + 1)};
        plan.automatic = autocap.entries;
        return plan;
    }
    for (const std::string& label : options.shutter_labels) {
        const uint32_t code = shutter_code(label);
        if (code == 0)
            return Failure{-1, "--shutter: \"" + label + "\" is not a shutter speed of the capture dialog (1/125, 0\"5, 2\")"};
        plan.shutters.push_back(code);
    }
    if (!options.aperture.empty()) {
        const bool has_f = options.aperture[0] == 'F' || options.aperture[0] == 'f';
        std::string text = "F";
        text.append(options.aperture, has_f ? 1 : 0);
        plan.aperture = aperture_code(text);
        if (plan.aperture == 0)
            return Failure{-1, "--aperture: \"" + options.aperture + "\" is not an aperture of the capture dialog (8, 5.6)"};
    }
    return plan;
}

}  // namespace

int run_capture(const CaptureOptions& options, const CliOutput& output) {
    std::error_code error;
    if (!fs::is_directory(options.folder, error))
        return output.fail(exit_bad_input, "the folder " + options.folder + " does not exist");
    auto plan = plan_of(options);
    if (!plan) return output.fail(exit_bad_input, plan.failure().message);
    std::optional<CameraProfile> profile;
    if (!options.profile.empty()) {
        auto read = read_camera_profile(profile_path(options.profile));
        if (!read) return output.fail(exit_bad_input, read.failure().message);
        profile = std::move(read).value();
    }

    CameraSdk camera;
    if (camera.connect_camera() != 0) return output.fail(exit_failed, "Could not communicate with a connected camera");
    std::string folder = options.folder;
    if (folder.back() != '/') folder += '/';
    camera.set_save_folder(folder);
    const FolderSnapshot before = snapshot_folder(options.folder);
    RunReport report;
    if (plan.value().automatic.empty()) {
        uint32_t aperture = plan.value().aperture;
        if (aperture == 0 && camera.read_current_aperture(aperture) != 0) {
            camera.disconnect_camera();
            return output.fail(exit_failed, "the camera does not say its aperture; give --aperture");
        }
        run_manual_exposures(camera, CapturePacing::real_time(), aperture, plan.value().shutters, report);
    } else {
        run_auto_exposures(camera, CapturePacing::real_time(), plan.value().automatic, report);
    }
    camera.disconnect_camera();
    const std::vector<std::string> pictures = pictures_written(before, snapshot_folder(options.folder));
    if (!options.json || !options.assemble)
        for (const std::string& picture : pictures) output.out << picture << '\n';
    const std::string skipped = skipped_exposures_message(report);
    if (!skipped.empty()) output.warn(skipped);
    if (pictures.empty()) return output.fail(exit_failed, "the camera delivered no picture");
    if (!options.assemble) return skipped.empty() ? 0 : exit_failed;

    auto shots = read_series_exposures(pictures, std::nullopt);
    if (!shots) return output.fail(exit_failed, shots.failure().message);
    auto assembled = assemble_captured_series(pictures, profile ? &*profile : nullptr);
    if (!assembled) return output.fail(exit_failed, assembled.failure().message);
    AssembleOptions shown;
    shown.output = captured_series_output(pictures);
    shown.pictures = pictures;
    shown.profile = options.profile;
    shown.json = options.json;
    print_assembly(output, shown, shots.value(), assembled.value());
    return skipped.empty() ? 0 : exit_failed;
}
