#include "profiles/profile_updates.h"

#include <cmath>

#include "profiles/apply_profile.h"
#include "profiles/camera_profile.h"

bool header_names_profile(const std::vector<std::string>& header_lines, const std::string& name) {
    CameraProfile named;
    named.name = name;
    // The line without its date: the profile may have changed since.
    std::string line = profile_header_line(named);
    line.erase(line.rfind(' ') + 1);
    for (const std::string& header_line : header_lines)
        if (header_line.rfind(line, 0) == 0 && header_line.find(' ', line.size()) == std::string::npos) return true;
    return false;
}

Result<double> store_calibration_factor(const std::string& profile_path, double correction,
                                        const std::vector<std::string>& picture_header) {
    if (!std::isnormal(correction) || correction < 0) return Failure{-1, "the factor is not a usable number"};
    auto read = read_camera_profile(profile_path);
    if (!read) return read.failure();
    CameraProfile profile = std::move(read).value();
    const bool carried = header_names_profile(picture_header, profile.name.empty() ? "unnamed" : profile.name);
    const double factor = carried ? profile.calibration_factor * correction : correction;
    if (!std::isnormal(factor)) return Failure{-1, "the factor is not a usable number"};
    profile.calibration_factor = factor;
    profile.date = profile_date_today();
    auto written = write_camera_profile(profile_path, profile);
    if (!written) return written.failure();
    return factor;
}

Result<bool> store_response_curve(const std::string& profile_path, const ResponseCurve& curve) {
    auto read = read_camera_profile(profile_path);
    if (!read) return read.failure();
    CameraProfile profile = std::move(read).value();
    profile.response = curve;
    profile.date = profile_date_today();
    return write_camera_profile(profile_path, profile);
}
