#pragma once
// The exposures of a series' pictures: from their EXIF data, or exposure
// times a person gives (which then take the place of ExposureTime, while
// f-number and ISO still come from EXIF when it has them).

#include <optional>
#include <string>
#include <vector>

#include "assembly/shot_exposure.h"
#include "common/result.h"

// Fails naming the first picture that cannot be read, or (code -2) that
// lacks ExposureTime, FNumber or ISOSpeedRatings when no times are given
// (the message names the picture and the tag), or when the number of times
// given differs from the pictures'. With times given, a picture without
// f-number or ISO makes the series' scale relative.
Result<std::vector<ShotExposure>> read_series_exposures(const std::vector<std::string>& paths,
                                                        const std::optional<std::vector<double>>& seconds);

// "1/250", "0.5", "2" or "1/3.2": a time as a camera shows it; nothing when
// the text is not a positive time.
std::optional<double> parse_exposure_time(const std::string& text);

// A time the way a camera shows it: "1/250" below 0.3 s, else "0.5", "2".
std::string exposure_time_text(double seconds);

// An f-number the way a lens marks it: "5.6" for EXIF's 5.657, "11", "2.8".
std::string f_number_text(double f_number);

// Sentences about an ISO speed or aperture that changes within the series
// (auto-ISO left on, a lens's aperture ring touched): the merge takes each
// picture's own exposure, but a changed aperture changes vignetting and
// depth of field, and auto-ISO is the usual sign of an automatic mode.
// None when both stay the same (or are unknown).
std::vector<std::string> changing_settings(const std::vector<ShotExposure>& shots);
