// batch SEQUENCE FOLDER: Tools > Batch Process... with the batch dialog's
// refusals, several pictures at once, or the list of one command per picture
// for other machines.

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/cli_commands.h"
#include "cli/cli_regions.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "macro/batch_replay.h"
#include "macro/earlier_step_files.h"
#include "macro/folder_lock.h"
#include "macro/parallel_replay.h"
#include "macro/replay_command.h"
#include "regions/batch_regions.h"
#include "tools/command_path.h"
#include "tools/running_children.h"

namespace fs = std::filesystem;

namespace {

class CliReplayHost final : public ReplayHost {
public:
    explicit CliReplayHost(std::string program_folder) : program_folder_(std::move(program_folder)) {}
    ProcessOutput run(const std::string& command_line) override {
        ProcessOutput result = run_shell_command(command_line, program_folder_, nullptr, nullptr);
        // A step that ended just as the run was told to stop is not kept
        // either: the replay removes the output of a step that failed.
        if (children_stopped() && result.clean()) result.text = "stopped before the step was kept";
        return result;
    }
    bool stop_requested() override { return children_stopped(); }

private:
    std::string program_folder_;
};

// The command that replays one picture as this run would. Every word is
// quoted: the tools that run such lists (GNU parallel, a cluster's job
// array) hand them to the user's own shell, which may brace-expand or glob
// what /bin/sh would leave alone. The paths are absolute, so none begins
// with "-"; the picture's name is an option's value.
std::string picture_job(const BatchOptions& options, const CliPlaces& places, const std::string& cache,
                        const std::string& name) {
    std::string job = quoted_word(absolute_path(places.executable)) + " batch " +
                      quoted_word(absolute_path(options.sequence)) + " " + quoted_word(absolute_path(options.folder)) +
                      " --picture " + quoted_word(name) +
                      " --cache-folder " + quoted_word(cache) + " --jobs 1";
    if (options.overwrite) job += " --overwrite";
    if (!options.regions_file.empty())
        job += " --regions " + quoted_word(absolute_path(options.regions_file)) + figure_option_words(options);
    return job;
}

std::string batch_holder(const BatchOptions& options) {
    std::string holder = "candelux-cli batch " + absolute_path(options.sequence) + " " + absolute_path(options.folder);
    if (!options.picture.empty()) holder += " --picture " + options.picture;
    return holder;
}

bool remove_leftovers(const std::vector<std::string>& leftovers, const CliOutput& output) {
    for (const std::string& file : leftovers) {
        std::error_code ec;
        if (!fs::remove(file, ec) && ec) {
            output.fail(exit_failed, "could not remove " + file + ", left by an earlier replay: " + ec.message());
            return false;
        }
    }
    return true;
}

// Measures the regions on each processed picture's result and writes the
// table beside the picture; false when any could not be measured or written.
bool measure_results(const std::vector<PicturePlan>& processed, int steps, const RegionFile& regions,
                     const BatchOptions& options, const CliPlaces& places, const CliOutput& output) {
    auto measure = [&](const std::string& result) -> Result<PictureRegions> {
        auto map = read_picture(result);
        if (!map) return map.failure();
        const RegionTableRequest request{figure_settings(options), false};
        return measure_regions_in_run_folder(result, map.value(), regions, options.regions_file, places, request);
    };
    auto note = [&](const PicturePlan& picture, const std::string& text) {
        output.warn(escaped_for_display(picture.name) + ": " + text);
    };
    return measure_batch_regions(processed, steps, measure, note) == processed.size();
}

}  // namespace

int run_batch_command(const BatchOptions& options, const CliPlaces& places, const CliOutput& output) {
    std::error_code ec;
    if (!fs::exists(options.sequence, ec))
        return output.fail(exit_bad_input, "the sequence file " + options.sequence + " does not exist");
    if (const std::string problem = regular_file_problem(options.sequence); !problem.empty())
        return output.fail(exit_bad_input, "the sequence file " + options.sequence + ": " + problem);
    if (!fs::is_directory(options.folder, ec))
        return output.fail(exit_bad_input, "the folder " + options.folder + " does not exist");
    // The folder reaches every step's command line, as when it is chosen in the dialog.
    if (!is_command_safe_path(options.folder))
        return output.fail(exit_bad_input, "Path Error: File path cannot contain spaces (" + options.folder + ")");
    // A relative folder such as "-x" would reach the programs as an option.
    const std::string folder = without_trailing_slash(not_an_option(options.folder));

    if (options.cache_folder.empty() && !places.cache_problem.empty())
        return output.fail(exit_bad_input, places.cache_problem);
    std::optional<RegionFile> regions;
    if (!options.regions_file.empty()) {
        auto file = read_region_file(options.regions_file);
        if (!file) return output.fail(exit_bad_input, file.failure().message);
        regions = std::move(file).value();
        // The regions are measured in a run folder of the program's own
        // cache folder, whatever cache folder the sequence's lines name.
        if (!places.cache_problem.empty()) return output.fail(exit_bad_input, places.cache_problem);
    }
    // The picture's name becomes part of its lock file's name.
    if (!options.picture.empty() && options.picture.find('/') != std::string::npos)
        return output.fail(exit_bad_input, options.picture + " is not a picture (*.hdr) of " + options.folder);

    // Printing the jobs writes nothing; each job takes the lock when it runs.
    std::optional<FolderLock> lock;
    if (!options.emit_jobs) {
        lock.emplace(folder, batch_holder(options), options.picture);
        if (!lock->held()) return output.fail(exit_bad_input, lock->refusal());
    }

    const std::string cache = without_trailing_slash(options.cache_folder.empty() ? places.cache_folder
                                                                                   : options.cache_folder);
    if (options.cache_folder.empty() && !places.cache_warning.empty()) output.warn(places.cache_warning);
    auto planned = plan_batch(options.sequence, folder, cache);
    if (!planned) return output.fail(exit_bad_input, planned.failure().message);
    BatchPlan& plan = planned.value();
    std::vector<std::string> inputs;
    for (const PicturePlan& picture : plan.pictures) inputs.push_back(picture.name);
    refuse_steps_onto_inputs(plan, inputs);
    if (!options.picture.empty()) {
        std::erase_if(plan.pictures, [&](const PicturePlan& picture) { return picture.name != options.picture; });
        if (plan.pictures.empty())
            return output.fail(exit_bad_input, options.picture + " is not a picture (*.hdr) of " + options.folder);
    }
    if (plan.sequence.step_count() == 0) {
        // Refused lines are work not done; an empty sequence or another
        // cache folder's is input this command cannot use.
        if (!plan.sequence.foreign_cache.empty() || plan.sequence.lines_left_out() == 0)
            return output.fail(exit_bad_input, "nothing to replay: " + plan.notes.front());
        for (const std::string& note : plan.notes) output.warn(note);
        return output.fail(exit_failed, "nothing to replay; work incomplete");
    }
    if (plan.pictures.empty()) return output.fail(exit_bad_input, "no picture (*.hdr) in " + options.folder);
    std::vector<std::string> existing = existing_step_files(plan);
    if (regions)
        for (const std::string& table : existing_region_tables(plan)) existing.push_back(table);
    const std::vector<std::string> leftovers = leftover_step_files(plan);
    if (!existing.empty() && !options.overwrite)
        return output.fail(exit_bad_input, strprintf("%zu files this batch writes exist already, among them %s; give "
                                                     "--overwrite to replace them",
                                                     existing.size(), existing.front().c_str()));
    if (!leftovers.empty() && !options.overwrite)
        return output.fail(exit_bad_input,
                           strprintf("%zu step files of an earlier, longer replay exist, among them %s; give "
                                     "--overwrite to remove them with the rest",
                                     leftovers.size(), leftovers.front().c_str()));

    for (const std::string& note : plan.notes) output.warn(note);
    if (options.emit_jobs) {
        bool left_out = plan.sequence.lines_left_out() > 0;
        for (const PicturePlan& picture : plan.pictures) {
            if (picture.refusal.empty()) {
                output.out << picture_job(options, places, cache, picture.name) << '\n';
            } else {
                output.warn(escaped_for_display(picture.name) + " left out: " + picture.refusal);
                left_out = true;
            }
        }
        return left_out ? output.fail(exit_failed, "work incomplete") : 0;
    }
    if (!remove_leftovers(leftovers, output)) return exit_failed;

    const int jobs = options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const size_t total = plan.pictures.size();
    size_t done = 0;
    std::vector<PicturePlan> processed;  // every step ran
    auto finished = [&](const PicturePlan& picture, const PictureOutcome& outcome) {
        ++done;
        if (picture_processed(outcome, plan.sequence.step_count())) processed.push_back(picture);
        const char* how = outcome.failure           ? "failed"
                          : !outcome.skipped.empty() ? "left out"
                          : outcome.stopped          ? "stopped"
                                                     : "done";
        if (output.err_is_terminal)
            output.err << strprintf("\r\033[Kbatch: %zu of %zu pictures (%s %s)", done, total,
                                    escaped_for_display(picture.name).c_str(), how)
                       << std::flush;
        else
            output.err << strprintf("batch: %zu of %zu pictures (%s %s)\n", done, total,
                                    escaped_for_display(picture.name).c_str(), how);
    };
    CliReplayHost host(places.program_folder);
    const ReplayReport report = run_batch_in_parallel(plan, host, options.overwrite, jobs, finished);
    if (output.err_is_terminal && done > 0) output.err << '\n';

    bool measured = true;
    if (regions && !report.stopped) {
        // The order the pictures finished in is no order a person expects.
        std::sort(processed.begin(), processed.end(),
                  [](const PicturePlan& a, const PicturePlan& b) { return a.name < b.name; });
        measured = measure_results(processed, plan.sequence.step_count(), *regions, options, places, output);
    }

    output.out << replay_summary(report) << '\n';
    if (regions && !report.stopped)
        output.out << strprintf("Regions measured on %zu pictures: a table <name>_regions.csv beside each.",
                                processed.size())
                   << '\n';
    if (report.complete() && measured) return 0;
    return output.fail(exit_failed, "work incomplete");
}
