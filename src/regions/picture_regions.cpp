#include "regions/picture_regions.h"

#include <filesystem>

#include "tools/working_files.h"

namespace fs = std::filesystem;

Result<RegionFit> fit_picture_regions(const RegionFile& file, const std::string& region_file_path, int32_t width,
                                      int32_t height) {
    RegionFit fit = fit_region_file(file, width, height);
    if (!fit.refused.empty()) {
        std::string message;
        for (const std::string& refusal : fit.refused) message += (message.empty() ? "" : "; ") + refusal;
        return Failure{regions_refused, message};
    }
    for (const NamedRegion& region : fit.file.regions) {
        if (region.kind != RegionKind::mask) continue;
        const std::string problem =
            region_problem(region_choice(region, region_file_path), region_label(region), width, height);
        if (!problem.empty()) return Failure{regions_refused, region_label(region) + ": " + problem};
    }
    return fit;
}

Result<PictureRegions> measure_picture_regions(const std::string& picture, const LuminanceMap& map,
                                               const RegionFile& file, const std::string& region_file_path,
                                               const std::string& work_folder, ProcessRunner& runner,
                                               Desktop& desktop, const RegionTableRequest& request) {
    auto fitted = fit_picture_regions(file, region_file_path, map.width, map.height);
    if (!fitted) return fitted.failure();
    RegionFit& fit = fitted.value();
    // The working copy, as in the application.
    std::error_code ec;
    if (!fs::copy_file(picture, work_folder + working_file::working_copy, fs::copy_options::overwrite_existing, ec))
        return Failure{-1, "could not copy " + picture + " into " + work_folder};
    StatisticsContext context{map, work_folder, runner, desktop, false};
    auto table = analyse_region_table(context, fit.file, region_file_path, request);
    if (!table) return table.failure();
    return PictureRegions{std::move(table).value(), fit.scaled_message};
}

std::string picture_regions_csv_path(const std::string& picture) {
    const fs::path path(picture);
    return (path.parent_path() / path.stem()).string() + "_regions.csv";
}
