#include "macro/batch_replay.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "common/text_file.h"
#include "common/text_format.h"
#include "macro/picture_folder.h"
#include "picture/rgbe_reader.h"
#include "tools/editing_step.h"
#include "tools/header_text.h"

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
        notes.push_back(escaped_for_display("The sequence was recorded with the cache folder " + sequence.foreign_cache +
                                            "; the cache folder now is " + cache_directory +
                                            ", so none of its lines can be replayed."));
        return notes;
    }
    for (const PlannedLine& line : sequence.lines) {
        if (line.kind == PlannedLine::Kind::refused)
            notes.push_back(escaped_for_display(
                strprintf("Line %d refused (%s): %s", line.line_number, line.reason.c_str(), line.command.c_str())));
        else if (line.kind == PlannedLine::Kind::skipped)
            notes.push_back(escaped_for_display(strprintf("Line %d not replayed (%s): %s", line.line_number,
                                                          line.reason.c_str(), line.command.c_str())));
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

std::vector<std::string> existing_step_files(const PicturePlan& picture, int steps) {
    std::vector<std::string> existing;
    if (!picture.refusal.empty()) return existing;
    for (int step = 1; step <= steps; ++step) {
        const std::string file = step_file_path(picture.folder, step, picture.name);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(file, ec))) existing.push_back(file);
    }
    return existing;
}

namespace {

// Runs one command of a step; the reason it did not leave `output`, or "".
std::string run_into(ReplayHost& host, const std::string& command, const std::string& output) {
    std::error_code ec;
    fs::remove(output, ec);
    return editing_step_failure(command, host.run(command), output);
}

// The projection's input: the step input with the fisheye header the
// application writes, in the step's header file. The reason it failed, or "".
std::string write_projection_input(ReplayHost& host, const StepFiles& files) {
    const Result<float> exposure = read_picture_exposure(files.input);
    if (!exposure) return "Could not read the exposure of " + files.input + ": " + exposure.failure().message;
    const ProcessOutput header = host.run(header_read_command(files.input));
    const std::vector<std::string> lines = header_lines_of(header.text);
    if (!header.started || header.exit_status != 0 || lines.empty())
        return !header.started ? header.error : "getinfo printed no header for " + files.input;
    std::error_code ec;
    fs::remove(files.header_scratch, ec);
    // Created anew: a link left in the folder under this name is not followed.
    const int fd = ::open(files.header_scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return "Could not create " + files.header_scratch;
    const std::string text = projection_header(lines, exposure.value());
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (::close(fd) != 0 || !written) return "Could not write " + files.header_scratch;
    const std::string copy = header_put_back_command(files.input, files.header_scratch);
    const ProcessOutput copied = host.run(copy);
    std::string failure = editing_step_failure(copy, copied, files.header_scratch);
    if (failure.empty() && (fs::file_size(files.header_scratch, ec) <= text.size() || ec))
        failure = "getinfo added no picture data to " + files.header_scratch;
    return failure;
}

// Runs one step: its preparation, then its operation. The reason it failed
// (with the command that failed), or nothing.
std::optional<std::pair<std::string, std::string>> run_step(const PlannedStep& step, ReplayHost& host) {
    const PlannedLine& line = *step.line;
    if (line.conversion) {
        const std::string conversion = conversion_command(step);
        if (std::string failure = run_into(host, conversion, step.files.mask_scratch); !failure.empty())
            return std::pair{conversion, failure};
    }
    if (line.operation->kind == OperationKind::projection) {
        if (std::string failure = write_projection_input(host, step.files); !failure.empty())
            return std::pair{header_put_back_command(step.files.input, step.files.header_scratch), failure};
    }
    std::optional<std::string> factor;
    if (line.exposure_value) {
        const Result<float> exposure = read_picture_exposure(step.files.input);
        if (!exposure)
            return std::pair{step_command(step),
                             "Could not read the exposure of " + step.files.input + ": " + exposure.failure().message};
        factor = format_shortest(*line.exposure_value / exposure.value());
    }
    const std::string command = step_command(step, factor);
    if (std::string failure = run_into(host, command, step.files.output); !failure.empty())
        return std::pair{command, failure};
    return std::nullopt;
}

void remove_scratch_files(const StepFiles& files) {
    std::error_code ec;
    fs::remove(files.mask_scratch, ec);
    fs::remove(files.header_scratch, ec);
}

}  // namespace

PictureOutcome run_picture_plan(const SequencePlan& sequence, const PicturePlan& picture, ReplayHost& host,
                                bool overwrite) {
    PictureOutcome outcome;
    if (!picture.refusal.empty()) {
        outcome.skipped = picture.refusal;
        return outcome;
    }
    if (!overwrite) {
        const auto existing = existing_step_files(picture, sequence.step_count());
        if (!existing.empty()) {
            outcome.skipped = fs::path(existing.front()).filename().string() + " exists already";
            return outcome;
        }
    }
    std::string input = picture.source;
    int number = 0;
    for (const PlannedLine& line : sequence.lines) {
        if (line.kind != PlannedLine::Kind::step) continue;
        const PlannedStep step = planned_step(line, picture, ++number, input);
        input = step.files.output;
        host.on_step(picture, number);
        auto failed = run_step(step, host);
        remove_scratch_files(step.files);
        if (failed) {
            std::error_code ec;
            fs::remove(step.files.output, ec);
            outcome.failure = StepFailure{picture.name, number, step.line_number, std::move(failed->first),
                                          std::move(failed->second)};
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
    const auto text = read_sequence_file(sequence_path);
    if (!text) return text.failure();
    auto pictures = list_pictures(folder);
    if (!pictures) return pictures.failure();

    BatchPlan plan;
    plan.sequence = plan_sequence(parse_sequence(text.value()), replay_texts(cache_directory));
    plan.notes = sequence_notes(plan.sequence, cache_directory);
    for (const std::string& name : pictures.value()) plan.pictures.push_back(plan_picture(plan.sequence, folder, name));
    return plan;
}

std::vector<std::string> existing_step_files(const BatchPlan& plan) {
    std::vector<std::string> existing;
    for (const PicturePlan& picture : plan.pictures)
        for (std::string& file : existing_step_files(picture, plan.sequence.step_count()))
            existing.push_back(std::move(file));
    return existing;
}

ReplayReport planned_report(const BatchPlan& plan) {
    ReplayReport report;
    report.notes = plan.notes;
    report.pictures_found = static_cast<int>(plan.pictures.size());
    report.steps_planned = plan.sequence.step_count();
    report.lines_left_out = plan.sequence.lines_left_out();
    return report;
}

void add_picture_outcome(ReplayReport& report, const PicturePlan& picture, const PictureOutcome& outcome) {
    report.steps_run += outcome.steps_run;
    if (!outcome.skipped.empty())
        report.pictures_skipped.push_back(escaped_for_display(picture.name) + ": " + outcome.skipped);
    if (outcome.failure) report.failures.push_back(*outcome.failure);
    if (outcome.skipped.empty() && !outcome.failure && outcome.steps_run == report.steps_planned)
        ++report.pictures_processed;
    if (outcome.stopped) report.stopped = true;
}

ReplayReport run_batch(const BatchPlan& plan, ReplayHost& host, bool overwrite, const PictureFinished& finished) {
    ReplayReport report = planned_report(plan);
    if (report.steps_planned == 0) return report;
    for (const PicturePlan& picture : plan.pictures) {
        const PictureOutcome outcome = run_picture_plan(plan.sequence, picture, host, overwrite);
        add_picture_outcome(report, picture, outcome);
        if (finished) finished(picture, outcome);
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

bool ReplayReport::complete() const {
    return lines_left_out == 0 && notes.empty() && pictures_skipped.empty() && failures.empty() && !stopped &&
           pictures_processed == pictures_found;
}

std::string replay_summary(const ReplayReport& report) {
    std::string text;
    if (report.pictures_found == 0) {
        text = "No picture (*.hdr) was found in the folder.";
    } else {
        text = strprintf("%d of %d pictures processed, %d steps run (%d per picture).", report.pictures_processed,
                         report.pictures_found, report.steps_run, report.steps_planned);
    }
    if (!report.complete()) {
        std::string why;
        if (report.lines_left_out > 0) why = strprintf("%d lines of the sequence were not replayed", report.lines_left_out);
        const int pictures_left = report.pictures_found - report.pictures_processed;
        if (pictures_left > 0)
            why += strprintf("%s%d pictures were not processed in full", why.empty() ? "" : "; ", pictures_left);
        text = "Work incomplete" + (why.empty() ? std::string(".") : ": " + why + ".") + "\n" + text;
    }
    if (report.stopped) text += "\nStopped before the end.";
    append_list(text, "About the sequence:", report.notes);
    append_list(text, "Pictures left out:", report.pictures_skipped);
    std::vector<std::string> failures;
    for (const StepFailure& failure : report.failures)
        failures.push_back(strprintf("%s, step %d (line %d): %s", escaped_for_display(failure.picture).c_str(),
                                     failure.step, failure.line_number,
                                     escaped_for_display(first_line_of(failure.message)).c_str()));
    append_list(text, "Steps failed:", failures);
    return text;
}
