#pragma once
// An exposure series assembled with a camera profile, as File > Assemble
// HDR... and `candelux-cli assemble --profile` both do it: the merge goes to
// a scratch file beside the output, which the profile's corrections then
// turn into the output.

#include <string>
#include <vector>

#include "assembly/assemble_series.h"
#include "assembly/shot_exposure.h"
#include "profiles/camera_profile.h"

// The first picture taken with another camera or lens than the profile's,
// as a sentence naming both; "" when every picture matches.
std::string profile_mismatch(const CameraProfile& profile, const std::vector<std::string>& pictures,
                             const std::vector<ShotExposure>& shots);

// assemble_series, then apply_profile when `profile` is given; the report's
// size is the corrected picture's. A failed correction fails with -3, as
// an output that cannot be written. The request's response curve is the
// caller's choice (the profile's, a file's, or none to recover it).
Result<AssemblyReport> assemble_with_profile(const AssemblyRequest& request, const std::string& output,
                                             const CameraProfile* profile, const AssemblyProgress& progress = {});
