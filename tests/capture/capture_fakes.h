#pragma once
// Stand-ins for the capture tests: a camera that records what it is asked,
// a clock the test moves by hand, and environment variables set for one test.

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_camera.h"
#include "capture/capture_run.h"
#include "common/text_format.h"

// Shutter speeds 30 s to 1/8000 and apertures f/2.8 to f/22, in thirds.
inline std::vector<uint32_t> third_stop_codes(uint32_t first, uint32_t last) {
    std::vector<uint32_t> codes;
    for (uint32_t stop = first; stop <= last; stop += 8)
        for (uint32_t third : {0u, 3u, 5u})
            if (stop + third <= last) codes.push_back(stop + third);
    return codes;
}

class RecordingCamera : public CaptureCamera {
public:
    std::vector<uint32_t> shutter_speeds = third_stop_codes(0x10, 0xA0);
    std::vector<uint32_t> apertures = third_stop_codes(0x20, 0x50);
    uint32_t current_aperture = 0x30;
    uint32_t read_result = 0;
    int refusals = 0;  // the next writes refused; -1 refuses all
    std::vector<uint32_t> refused_codes;  // never accepted
    std::function<void()> while_taking;   // runs inside take_picture

    // "aperture 0x30", "shutter 0x60", "picture", in the order asked.
    std::vector<std::string> calls;
    int writes = 0;
    int disconnects = 0;

    std::vector<uint32_t> shutter_speed_values() const override { return shutter_speeds; }
    std::vector<uint32_t> aperture_values() const override { return apertures; }
    uint32_t read_current_aperture(uint32_t& code) override {
        if (read_result == 0) code = current_aperture;
        return read_result;
    }
    uint32_t set_camera_property(uint32_t property, uint32_t code) override {
        ++writes;
        if (refusals != 0) {
            if (refusals > 0) --refusals;
            return 0x81;
        }
        for (uint32_t refused : refused_codes)
            if (code == refused) return 0x60;
        calls.push_back(strprintf("%s 0x%X", property == 0x405 ? "aperture" : "shutter", code));
        return 0;
    }
    void take_picture() override {
        calls.push_back("picture");
        if (while_taking) while_taking();
    }
    void disconnect_camera() override { ++disconnects; }
    void set_save_folder(const std::string& folder) override { folder_ = folder; }
    const std::string& save_folder() const override { return folder_; }

private:
    std::string folder_;
};

// Time that passes only when the run waits.
struct ManualClock {
    std::chrono::steady_clock::time_point now{};
    int waits = 0;

    CapturePacing pacing() {
        return {[this](std::chrono::milliseconds pause) {
                    now += pause;
                    ++waits;
                },
                [this] { return now; }};
    }
};

// Sets (or, with nullopt, removes) one environment variable until the end of
// the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};
