#include "macro/batch_replay.h"

#include <filesystem>

#include "common/text_file.h"
#include "common/text_format.h"
#include "macro/picture_folder.h"
#include "picture/rgbe_reader.h"
#include "tools/editing_step.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t listed_at_most = 12;

std::string first_line_of(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::vector<std::string> sequence_notes(const SequencePlan& sequence, const std::string& cache_directory) {
    std::vector<std::string> notes;
    if (!sequence.foreign_cache.empty()) {
        notes.push_back("The sequence was recorded with the cache folder " + sequence.foreign_cache +
                        "; the cache folder now is " + cache_directory + ", so none of its lines can be replayed.");
        return notes;
    }
    for (const PlannedLine& line : sequence.lines) {
        if (line.kind == PlannedLine::Kind::refused)
            notes.push_back(strprintf("Line %d refused (%s): %s", line.line_number, line.reason.c_str(),
                                      line.command.c_str()));
        else if (line.kind == PlannedLine::Kind::skipped)
            notes.push_back(strprintf("Line %d not replayed (%s): %s", line.line_number, line.reason.c_str(),
                                      line.command.c_str()));
    }
    if (sequence.step_count() == 0) notes.push_back("No line of the sequence changes a picture; nothing was run.");
    return notes;
}

void append_list(std::string& text, const std::string& title, const std::vector<std::string>& items) {
    if (items.empty()) return;
    text += "\n\n" + title;
    for (size_t i = 0; i < items.size() && i < listed_at_most; ++i) text += "\n" + items[i];
    if (items.size() > listed_at_most) text += strprintf("\n... and %zu more", items.size() - listed_at_most);
}

}  // namespace

ProcessOutput ShellReplayHost::run(const std::string& command_line) {
    return run_shell_command(command_line, program_folder_, nullptr, nullptr);
}

std::vector<std::string> existing_step_files(const PicturePlan& picture) {
    std::vector<std::string> existing;
    for (const PlannedStep& step : picture.steps) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(step.output, ec))) existing.push_back(step.output);
    }
    return existing;
}

PictureOutcome run_picture_plan(const PicturePlan& picture, ReplayHost& host, bool overwrite) {
    PictureOutcome outcome;
    if (!picture.refusal.empty()) {
        outcome.skipped = picture.refusal;
        return outcome;
    }
    if (!overwrite) {
        const auto existing = existing_step_files(picture);
        if (!existing.empty()) {
            outcome.skipped = fs::path(existing.front()).filename().string() + " exists already";
            return outcome;
        }
    }
    for (size_t i = 0; i < picture.steps.size(); ++i) {
        const PlannedStep& step = picture.steps[i];
        const int number = static_cast<int>(i) + 1;
        host.on_step(picture, number);
        auto fail = [&](std::string command, std::string message) {
            std::error_code ec;
            fs::remove(step.output, ec);
            outcome.failure = StepFailure{picture.name, number, step.line_number, std::move(command), std::move(message)};
        };

        std::error_code ec;
        fs::remove(step.output, ec);
        std::string command = step.command;
        if (step.exposure_value) {
            const Result<float> exposure = read_picture_exposure(step.input);
            if (!exposure) {
                fail(command, "Could not read the exposure of " + step.input + ": " + exposure.failure().message);
                break;
            }
            command = with_exposure_factor(command, *step.exposure_value / exposure.value());
        }
        const ProcessOutput result = host.run(command);
        const std::string failure = editing_step_failure(command, result, step.output);
        if (!failure.empty()) {
            fail(command, failure);
            break;
        }
        ++outcome.steps_run;
        if (host.stop_requested()) {
            outcome.stopped = true;
            break;
        }
    }
    return outcome;
}

Result<BatchPlan> plan_batch(const std::string& sequence_path, const std::string& folder,
                             const std::string& cache_directory) {
    const auto text = read_file_bytes(sequence_path);
    if (!text) return Failure{-1, "Could not read the sequence file " + sequence_path};
    auto pictures = list_pictures(folder);
    if (!pictures) return pictures.failure();

    BatchPlan plan;
    const ReplayTexts texts = replay_texts(cache_directory);
    plan.sequence = plan_sequence(parse_sequence(*text), texts);
    plan.notes = sequence_notes(plan.sequence, cache_directory);
    for (const std::string& name : pictures.value())
        plan.pictures.push_back(plan_picture(plan.sequence, texts, folder, name));
    return plan;
}

std::vector<std::string> existing_step_files(const BatchPlan& plan) {
    std::vector<std::string> existing;
    for (const PicturePlan& picture : plan.pictures)
        for (std::string& file : existing_step_files(picture)) existing.push_back(std::move(file));
    return existing;
}

ReplayReport planned_report(const BatchPlan& plan) {
    ReplayReport report;
    report.notes = plan.notes;
    report.pictures_found = static_cast<int>(plan.pictures.size());
    report.steps_planned = plan.sequence.step_count();
    return report;
}

void add_picture_outcome(ReplayReport& report, const PicturePlan& picture, const PictureOutcome& outcome) {
    report.steps_run += outcome.steps_run;
    if (!outcome.skipped.empty()) report.pictures_skipped.push_back(picture.name + ": " + outcome.skipped);
    if (outcome.failure) report.failures.push_back(*outcome.failure);
    if (outcome.skipped.empty() && !outcome.failure && outcome.steps_run == report.steps_planned)
        ++report.pictures_processed;
    if (outcome.stopped) report.stopped = true;
}

ReplayReport run_batch(const BatchPlan& plan, ReplayHost& host, bool overwrite) {
    ReplayReport report = planned_report(plan);
    if (report.steps_planned == 0) return report;
    for (const PicturePlan& picture : plan.pictures) {
        add_picture_outcome(report, picture, run_picture_plan(picture, host, overwrite));
        if (report.stopped) break;
    }
    return report;
}

Result<ReplayReport> replay_sequence(const std::string& sequence_path, const std::string& folder,
                                     const std::string& cache_directory, ReplayHost& host, bool overwrite) {
    auto plan = plan_batch(sequence_path, folder, cache_directory);
    if (!plan) return plan.failure();
    return run_batch(plan.value(), host, overwrite);
}

std::string replay_summary(const ReplayReport& report) {
    std::string text;
    if (report.pictures_found == 0) {
        text = "No picture (*.hdr) was found in the folder.";
    } else {
        text = strprintf("%d of %d pictures processed, %d steps run (%d per picture).", report.pictures_processed,
                         report.pictures_found, report.steps_run, report.steps_planned);
    }
    if (report.stopped) text += "\nStopped before the end.";
    append_list(text, "About the sequence:", report.notes);
    append_list(text, "Pictures left out:", report.pictures_skipped);
    std::vector<std::string> failures;
    for (const StepFailure& failure : report.failures)
        failures.push_back(strprintf("%s, step %d (line %d): %s", failure.picture.c_str(), failure.step,
                                     failure.line_number, first_line_of(failure.message).c_str()));
    append_list(text, "Steps failed:", failures);
    return text;
}
