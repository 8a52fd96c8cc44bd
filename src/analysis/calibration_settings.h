#pragma once
// The calibration wizard's one record: which calibration, where the region
// comes from, the two meter readings and what was computed from the picture.
//
// Luminance in cd/m², illuminance in lux, single precision. The factor is the
// computed value over the measured one; the working copy is divided by it.

#include <cstdint>
#include <string>

enum class CalibrationKind : int32_t { luminance = 0, illuminance = 1 };
enum class CalibrationSource : int32_t { from_image = 0, from_mask_file = 1 };

struct CalibrationSettings {
    CalibrationKind kind = CalibrationKind::luminance;
    CalibrationSource source = CalibrationSource::from_image;
    bool awaiting_region = false;  // the sheet is hidden while the user draws
    std::string mask_file;         // full path; empty when none was chosen
    int mask_type = 0;             // the mask dialog's type index (1..4) of mask_file
    float measured_luminance = 0;
    float computed_mean = 0;
    float computed_illuminance = 0;
    float factor = 0;
    float measured_illuminance = 0;
};
