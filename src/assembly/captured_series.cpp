#include "assembly/captured_series.h"

#include <algorithm>

#include "assembly/series_exposures.h"
#include "profiles/assemble_with_profile.h"

FolderSnapshot snapshot_folder(const std::filesystem::path& folder) {
    FolderSnapshot snapshot;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code entry_error;
        if (!entry.is_regular_file(entry_error)) continue;
        snapshot[entry.path()] = entry.last_write_time(entry_error);
    }
    return snapshot;
}

std::vector<std::string> pictures_written(const FolderSnapshot& before, const FolderSnapshot& after) {
    std::vector<std::string> written;
    for (const auto& [path, time] : after) {
        const auto earlier = before.find(path);
        if (earlier == before.end() || earlier->second != time) written.push_back(path.string());
    }
    std::sort(written.begin(), written.end());
    return written;
}

std::string captured_series_output(const std::vector<std::string>& pictures) {
    if (pictures.empty()) return "";
    const std::filesystem::path first(pictures.front());
    return (first.parent_path() / first.stem()).string() + ".hdr";
}

Result<AssemblyReport> assemble_captured_series(const std::vector<std::string>& pictures,
                                                const CameraProfile* profile) {
    auto exposures = read_series_exposures(pictures, std::nullopt);
    if (!exposures) return exposures.failure();
    AssemblyRequest request{pictures, exposures.value(), std::nullopt, 12.5};
    if (profile) {
        const std::string mismatch = profile_mismatch(*profile, pictures, exposures.value());
        if (!mismatch.empty()) return Failure{-1, mismatch};
        request.response = profile->response;
    }
    return assemble_with_profile(request, captured_series_output(pictures), profile);
}
