#pragma once
// Measurements stored into an existing camera profile, keeping every other
// key and setting its date to today: the calibration factor from a meter
// reading, and the response curve an assembly recovered.
//
// The profile's factor multiplies luminance (assembly adds EXPOSURE= 1 /
// factor). A picture assembled with this very profile (its header names it
// on the PROFILE= line) already carries the profile's factor, so the new
// correction multiplies into it; for any other picture the correction is the
// factor itself.

#include <string>
#include <vector>

#include "assembly/response_curve.h"
#include "common/result.h"

// Whether a picture's header lines name the profile `name` on a PROFILE= line.
bool header_names_profile(const std::vector<std::string>& header_lines, const std::string& name);

// `correction`: what the picture's luminance must be multiplied by (measured
// over computed). Keeps every other key of the profile and sets its date to
// today. Returns the factor stored.
Result<double> store_calibration_factor(const std::string& profile_path, double correction,
                                        const std::vector<std::string>& picture_header);

Result<bool> store_response_curve(const std::string& profile_path, const ResponseCurve& curve);
