#pragma once
// The "Set Exposure Value" dialog: shows the picture's exposure and takes a
// new one. Its field goes through the numeric field filter as it is typed.

#include <optional>
#include <string>

class Desktop;

namespace exposure_ids {
inline constexpr int dialog = 106;
inline constexpr int value = 1008;
}  // namespace exposure_ids

class ExposureForm {
public:
    ExposureForm(Desktop& desktop, float current_exposure);

    std::string text;  // the field
    // After OK: the exposure the user asked for.
    float entered = 0;

    void on_open();
    // 1 when the exposure is to change, 0 for nothing to do, nothing while
    // the dialog stays open (not a positive number: refused with a message).
    std::optional<int> on_ok();

private:
    Desktop& desktop_;
    float current_;
    std::string shown_;
};
