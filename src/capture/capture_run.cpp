#include "capture/capture_run.h"

#include <thread>

#include "capture/eds_abi.h"
#include "capture/exposure_tables.h"

namespace {

std::string exposure_text(uint32_t aperture, uint32_t shutter_speed) {
    return aperture_label(aperture) + " " + shutter_label(shutter_speed);
}

// Writes the shutter speed and takes the picture, or notes it as skipped.
void expose(CaptureCamera& camera, const CapturePacing& pacing, uint32_t aperture, uint32_t shutter_speed,
            RunReport& report) {
    report.last_set_result = write_with_retry(camera, pacing, eds::property_shutter_speed, shutter_speed);
    if (report.last_set_result != eds::ok) {
        report.skipped.push_back(exposure_text(aperture, shutter_speed));
        return;
    }
    camera.take_picture();
}

}  // namespace

CapturePacing CapturePacing::real_time() {
    return {[](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); },
            [] { return std::chrono::steady_clock::now(); }};
}

uint32_t write_with_retry(CaptureCamera& camera, const CapturePacing& pacing, uint32_t property, uint32_t code) {
    const auto deadline = pacing.now() + retry_limit;
    uint32_t result;
    do {
        pacing.wait(retry_pause);
        result = camera.set_camera_property(property, code);
    } while (result != eds::ok && pacing.now() < deadline);
    return result;
}

void run_manual_exposures(CaptureCamera& camera, const CapturePacing& pacing, uint32_t aperture,
                          const std::vector<uint32_t>& shutter_speeds, RunReport& report) {
    report.last_set_result = write_with_retry(camera, pacing, eds::property_aperture, aperture);
    if (report.last_set_result != eds::ok) {
        // Pictures at whatever aperture the camera still has would be
        // mistaken for the ones asked for.
        for (uint32_t shutter_speed : shutter_speeds) report.skipped.push_back(exposure_text(aperture, shutter_speed));
        return;
    }
    for (uint32_t shutter_speed : shutter_speeds) expose(camera, pacing, aperture, shutter_speed, report);
}

void run_auto_exposures(CaptureCamera& camera, const CapturePacing& pacing, const std::vector<AutoExposure>& entries,
                        RunReport& report) {
    for (const AutoExposure& entry : entries) {
        if (write_with_retry(camera, pacing, eds::property_aperture, entry.aperture) != eds::ok) {
            report.skipped.push_back(exposure_text(entry.aperture, entry.shutter));
            continue;
        }
        expose(camera, pacing, entry.aperture, entry.shutter, report);
    }
}

std::string skipped_exposures_message(const RunReport& report) {
    if (report.skipped.empty()) return {};
    std::string text = "The camera did not accept these settings, so no picture was taken for:";
    for (size_t i = 0; i < report.skipped.size(); ++i) text += (i == 0 ? " " : ", ") + report.skipped[i];
    return text;
}
