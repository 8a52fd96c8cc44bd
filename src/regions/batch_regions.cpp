#include "regions/batch_regions.h"

#include <filesystem>

#include "macro/replay_plan.h"

namespace fs = std::filesystem;

std::vector<std::string> existing_region_tables(const BatchPlan& plan) {
    std::vector<std::string> existing;
    for (const PicturePlan& picture : plan.pictures) {
        if (!picture.refusal.empty()) continue;
        const std::string path = picture_regions_csv_path(picture.source);
        std::error_code ec;
        // A symbolic link counts as there even when it leads nowhere.
        if (fs::exists(fs::symlink_status(path, ec))) existing.push_back(path);
    }
    return existing;
}

bool picture_processed(const PictureOutcome& outcome, int steps) {
    return !outcome.failure && outcome.skipped.empty() && !outcome.stopped && outcome.steps_run == steps;
}

size_t measure_batch_regions(const std::vector<PicturePlan>& processed, int steps, const ResultMeasure& measure,
                           const PictureNote& note) {
    size_t written = 0;
    for (const PicturePlan& picture : processed) {
        auto measured = measure(step_file_path(picture.folder, steps, picture.name));
        if (!measured) {
            note(picture, "regions not measured: " + measured.failure().message);
            continue;
        }
        if (!measured.value().scaled_message.empty()) note(picture, measured.value().scaled_message);
        const std::string table_path = picture_regions_csv_path(picture.source);
        if (!write_region_table_csv(table_path, measured.value().table)) {
            note(picture, table_path + " cannot be written");
            continue;
        }
        ++written;
    }
    return written;
}
