#pragma once
// One capture run: exposure settings written to the camera, one picture per
// exposure. A camera that keeps refusing a setting does not hold the run up:
// each write is retried for a bounded time, and an exposure whose settings
// could not be written is skipped and reported instead of taken with the
// wrong settings.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "capture/autocap_file.h"
#include "capture/capture_camera.h"

// How a run waits between refused writes and how it tells elapsed time;
// tests drive both by hand.
struct CapturePacing {
    std::function<void(std::chrono::milliseconds)> wait;
    std::function<std::chrono::steady_clock::time_point()> now;

    static CapturePacing real_time();
};

inline constexpr std::chrono::milliseconds retry_pause{10};
inline constexpr std::chrono::milliseconds retry_limit{2000};

// What a run could not do.
struct RunReport {
    std::vector<std::string> skipped;  // "F5.6 1/30" for each exposure not taken
    uint32_t last_set_result = 0;      // of the last aperture or shutter-speed write
};

// Waits 10 ms and writes, again and again while the camera refuses the value,
// giving up after 2 seconds. The last result: 0 when the camera accepted it.
uint32_t write_with_retry(CaptureCamera& camera, const CapturePacing& pacing, uint32_t property, uint32_t code);

// One aperture, then one picture for each shutter speed in the given order.
void run_manual_exposures(CaptureCamera& camera, const CapturePacing& pacing, uint32_t aperture,
                          const std::vector<uint32_t>& shutter_speeds, RunReport& report);

// For each entry: aperture, shutter speed, picture.
void run_auto_exposures(CaptureCamera& camera, const CapturePacing& pacing, const std::vector<AutoExposure>& entries,
                        RunReport& report);

// The one message that lists every skipped exposure of a run; "" for none.
std::string skipped_exposures_message(const RunReport& report);
