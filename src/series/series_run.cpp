#include "series/series_run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "common/file_extension.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "series/series_measure.h"
#include "tools/command_path.h"
#include "tools/process_runner.h"
#include "tools/running_children.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> split_blanks(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(word), word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// The file as the run starts it: fresh with its header line, or (resumed)
// rewritten with the complete rows it held, ready for more.
Result<std::FILE*> open_series_file(const SeriesOptions& options, const std::vector<std::string>& region_names,
                                    std::set<std::string>& done, size_t& resumed) {
    std::error_code ec;
    const bool exists = fs::exists(options.csv, ec);
    if (exists && options.existing == ExistingCsv::refuse)
        return Failure{-2, options.csv + " exists already; resume it or overwrite it"};
    if (exists && options.existing == ExistingCsv::resume) {
        auto table = read_series_csv(options.csv);
        if (!table) return table.failure();
        if (table.value().region_names != region_names)
            return Failure{-2, options.csv + " has other region columns than this run; it cannot be resumed"};
        for (const SeriesRow& row : table.value().rows) done.insert(row.picture);
        resumed = table.value().rows.size();
        // A line cut short by a killed run is dropped here.
        if (auto written = write_series_csv(options.csv, std::move(table.value())); !written)
            return written.failure();
        std::FILE* file = std::fopen(options.csv.c_str(), "ab");
        if (!file) return Failure{-1, "cannot write " + options.csv};
        return file;
    }
    std::FILE* file = create_regular_file(options.csv);
    if (!file) return Failure{-1, "cannot write " + options.csv};
    const std::string header = series_header_line(region_names);
    if (std::fwrite(header.data(), 1, header.size(), file) != header.size() || std::fflush(file) != 0) {
        std::fclose(file);
        return Failure{-1, "cannot write " + options.csv};
    }
    return file;
}

}  // namespace

bool is_series_picture_name(std::string_view name) {
    return has_extension(name, ".hdr") || has_extension(name, ".pic");
}

Result<std::vector<SeriesInput>> series_pictures_of_folder(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return Failure{-2, "the folder " + folder + " does not exist"};
    std::vector<SeriesInput> pictures;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (!is_series_picture_name(entry.path().filename().string()) || !entry.is_regular_file(ec)) continue;
        pictures.push_back({entry.path().string(), entry.path().filename().string()});
    }
    if (ec) return Failure{-1, "cannot read the folder " + folder + ": " + ec.message()};
    std::sort(pictures.begin(), pictures.end(),
              [](const SeriesInput& a, const SeriesInput& b) { return a.name < b.name; });
    return pictures;
}

std::vector<SeriesInput> series_pictures_of_list(const std::vector<std::string>& paths) {
    std::vector<SeriesInput> pictures;
    for (const std::string& path : paths) pictures.push_back({path, path});
    return pictures;
}

Result<std::vector<std::string>> glare_option_words(const std::string& options) {
    std::vector<std::string> words = split_blanks(options);
    for (const std::string& word : words) {
        if (!is_command_safe_path(word))
            return Failure{-2, "the glare option \"" + word + "\" holds a character the shell would read"};
        if (word == "-c") return Failure{-2, "the glare options cannot name a check picture (-c)"};
    }
    return words;
}

Result<SeriesReport> run_series(const SeriesOptions& options, const SeriesProgressFn& progress,
                                const std::atomic<bool>* stop) {
    if (options.csv.empty()) return Failure{-2, "no CSV file to write"};
    if (options.pictures.empty()) return Failure{-2, "no picture (*.hdr, *.pic) to measure"};
    std::set<std::string> names;
    for (const SeriesInput& picture : options.pictures)
        if (!names.insert(picture.name).second) return Failure{-2, picture.name + " is given twice"};
    SeriesSetup setup;
    setup.program_folder = options.program_folder;
    setup.scratch_folder = options.scratch_folder;
    if (options.glare_options) {
        auto words = glare_option_words(*options.glare_options);
        if (!words) return words.failure();
        setup.glare_words = words.value();
        if (!is_command_safe_path(setup.scratch_folder))
            return Failure{-2, "the working folder " + setup.scratch_folder + " holds a character the shell would read"};
    }
    std::vector<std::string> region_names;
    if (!options.regions_file.empty()) {
        auto file = read_region_file(options.regions_file);
        if (!file) return file.failure();
        for (const NamedRegion& region : file.value().regions) {
            if (std::find(region_names.begin(), region_names.end(), region.name) != region_names.end())
                return Failure{-2, options.regions_file + ": two regions are named \"" + region.name +
                                       "\"; their columns would be the same"};
            region_names.push_back(region.name);
        }
        if (region_names.empty()) return Failure{-2, options.regions_file + " holds no region"};
        setup.regions = std::move(file.value());
        setup.regions_file = options.regions_file;
    }
    if ((setup.glare_words || setup.regions) && setup.scratch_folder.empty())
        return Failure{-2, "no working folder for the glare run and the regions"};

    std::set<std::string> done;
    SeriesReport report;
    auto opened = open_series_file(options, region_names, done, report.resumed);
    if (!opened) return opened.failure();
    std::FILE* file = opened.value();

    std::vector<const SeriesInput*> work;
    for (const SeriesInput& picture : options.pictures)
        if (!done.contains(picture.name)) work.push_back(&picture);

    std::mutex writing;
    std::atomic<size_t> next{0};
    size_t finished = 0;
    bool write_failed = false;
    // A stop asked for through the flag, or by a signal that stopped the
    // programs (the command line's Ctrl-C).
    auto stopping = [&] { return (stop && stop->load()) || children_stopped(); };
    auto worker = [&](int slot) {
        for (;;) {
            if (stopping()) return;
            const size_t index = next++;
            if (index >= work.size()) return;
            const SeriesInput& picture = *work[index];
            const Result<SeriesRow> row = measure_series_picture(picture, setup, slot);
            const std::lock_guard lock(writing);
            if (!row && stopping()) continue;  // its evalglare was stopped: a resumed run measures it
            SeriesProgress step;
            step.done = ++finished;
            step.total = work.size();
            step.picture = picture.name;
            if (row) {
                const std::string line = series_row_line(row.value());
                if (std::fwrite(line.data(), 1, line.size(), file) != line.size() || std::fflush(file) != 0)
                    write_failed = true;
                ++report.measured;
                step.row = &row.value();
            } else {
                step.failed = true;
                step.problem = row.failure().message;
                report.problems.push_back(step.problem);
            }
            if (progress) progress(step);
        }
    };
    const int jobs = std::clamp(options.jobs, 1, static_cast<int>(std::max<size_t>(1, work.size())));
    const ChildThreadShare share(jobs);
    std::vector<std::thread> threads;
    for (int slot = 1; slot < jobs; ++slot) threads.emplace_back(worker, slot);
    worker(0);
    for (std::thread& thread : threads) thread.join();
    if (std::fclose(file) != 0) write_failed = true;
    if (write_failed) return Failure{-1, "cannot write " + options.csv};
    report.stopped = stopping() && finished < work.size();

    // Time order, whatever order the pictures finished in.
    auto table = read_series_csv(options.csv);
    if (!table) return table.failure();
    if (auto written = write_series_csv(options.csv, std::move(table.value())); !written) return written.failure();
    return report;
}
