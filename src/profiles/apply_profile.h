#pragma once
// A camera profile applied to an assembled picture: the vignetting divided
// out around the image-circle centre (the radial polynomial, or the
// profile's vignetting picture when it names one), the picture cropped to the square
// around the image circle (what lies outside the circle set to black, so the
// lens's own rim does not pass for light), the neutral-density and
// calibration factors folded into one more EXPOSURE= line (so the pixels
// still look like the series' middle exposure), and the lens's VIEW= line
// and a "PROFILE= <name> <date>" line added to the header.

#include <string>

#include "common/result.h"
#include "profiles/camera_profile.h"

struct AppliedProfile {
    int width = 0;
    int height = 0;
    bool cropped = false;
    std::string view_line;  // "" when the profile has no projection
};

// Reads `input` (an assembled picture) and writes `output`; nothing is left
// at `output` on failure.
Result<AppliedProfile> apply_profile(const std::string& input, const std::string& output,
                                     const CameraProfile& profile);

// "PROFILE= name date"; "VIEW= -vta -vh 180 -vv 180".
std::string profile_header_line(const CameraProfile& profile);
std::string view_header_line(const LensProjection& projection);

// Whether the picture's camera (and lens, when the profile names one) match
// the profile's, as EXIF writes them. An empty name in the profile matches any.
bool profile_matches(const CameraProfile& profile, const std::string& camera, const std::string& lens);
