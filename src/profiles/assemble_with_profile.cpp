#include "profiles/assemble_with_profile.h"

#include <filesystem>

#include "profiles/apply_profile.h"

std::string profile_mismatch(const CameraProfile& profile, const std::vector<std::string>& pictures,
                             const std::vector<ShotExposure>& shots) {
    for (size_t j = 0; j < shots.size() && j < pictures.size(); ++j) {
        if (profile_matches(profile, shots[j].camera, shots[j].lens)) continue;
        return pictures[j] + " was taken with \"" + shots[j].camera + "\" / \"" + shots[j].lens +
               "\", the profile \"" + profile.name + "\" is for \"" + profile.camera + "\" / \"" + profile.lens +
               "\"";
    }
    return "";
}

Result<AssemblyReport> assemble_with_profile(const AssemblyRequest& request, const std::string& output,
                                             const CameraProfile* profile, const AssemblyProgress& progress) {
    if (!profile) return assemble_series(request, output, progress);
    const std::string merged = output + ".merged.part";
    auto report = assemble_series(request, merged, progress);
    if (!report) return report;
    auto applied = apply_profile(merged, output, *profile);
    std::error_code ec;
    std::filesystem::remove(merged, ec);
    if (!applied) return Failure{-3, applied.failure().message};
    report.value().width = applied.value().width;
    report.value().height = applied.value().height;
    return report;
}
