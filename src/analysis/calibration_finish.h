#pragma once
// What Finish does in the calibration wizard: the value computed from the
// picture, the factor (computed / measured) and the division of the whole
// working copy by it.
//
// Finish is refused, with a message and the picture untouched, when the
// meter reading is not a positive number, when the region (or the picture)
// has no lit pixel to compute from, or when the factor would not be a usable
// number; the user can then correct the reading. A refused Finish keeps the
// sheet open. A division that fails has shown its own message and leaves the
// working copy as it was; the sheet still closes.

#include <optional>
#include <string>

#include "analysis/analysis_host.h"
#include "analysis/calibration_host.h"
#include "analysis/calibration_settings.h"
#include "analysis/vertical_illuminance.h"

inline constexpr const char* calibration_error_caption = "Calibration Error";

// The scratch picture a mask region is sampled from, in the cache folder.
inline constexpr const char* calibration_mask_scratch = "/dmask_calibration.hdr";

// Luminance calibration: the mean of the region (or of the mask's lit
// pixels) against the measured luminance. False when refused.
bool finish_luminance_calibration(CalibrationHost& host, CalibrationSettings& record, const WizardRegion& region);

// Illuminance calibration: `computed` (the picture's vertical illuminance)
// against the measured illuminance. False when refused.
bool finish_illuminance_calibration(CalibrationHost& host, CalibrationSettings& record,
                                    const VerticalIlluminance& computed);

struct PictureIlluminance {
    VerticalIlluminance value;
    char view_type = 0;  // the -vt letter of the header's view; 0 without one
};

// The vertical illuminance of the working copy, with the geometry of the view
// its header names (none when the header cannot be read).
PictureIlluminance working_copy_illuminance(CalibrationHost& host);

// The line page 140 shows about the picture: what it gives and by which rule.
std::string illuminance_rule_text(const PictureIlluminance& computed);
