#include "macro/replay_plan.h"

#include <charconv>
#include <cmath>

#include "common/text_format.h"
#include "macro/replay_command.h"
#include "tools/command_path.h"
#include "tools/working_files.h"

namespace {

using Kind = PlannedLine::Kind;

// The folder a line names its working copy in, when it names one at all.
std::string working_copy_folder_in(const std::string& command) {
    const std::string_view name = working_file::working_copy;  // "/dtemp.hdr"
    const size_t at = command.find(name);
    if (at == std::string::npos) return {};
    const size_t before = command.find_last_of(" <>|\"", at == 0 ? 0 : at - 1);
    const size_t start = before == std::string::npos || at == 0 ? 0 : before + 1;
    return command.substr(start, at - start);
}

void refuse(PlannedLine& line, std::string reason) {
    line.kind = Kind::refused;
    line.reason = std::move(reason);
    line.operation.reset();
}

void skip(PlannedLine& line, std::string reason) {
    line.kind = Kind::skipped;
    line.reason = std::move(reason);
    line.operation.reset();
}

void plan_line(PlannedLine& planned, const SequenceEntry& entry, const ReplayTexts& texts) {
    planned.command = entry.command;
    planned.command_number = entry.number.value_or(0);
    if (entry.line.empty()) {
        planned.kind = Kind::empty;
        return;
    }
    auto command = read_recorded_command(entry.command);
    if (!command) return refuse(planned, command.failure().message);
    auto operation = read_replay_operation(command.value(), texts, planned.command_number);
    if (!operation) return refuse(planned, operation.failure().message);
    planned.operation = std::move(operation.value());
    planned.kind = Kind::step;
    if (planned.command_number == exposure_command_number && planned.operation->kind == OperationKind::exposure) {
        const float value = parse_decimal_float(entry.value);
        if (!(value > 0.0f) || !std::isfinite(value))
            return refuse(planned, "its exposure value \"" + escaped_for_display(entry.value) + "\" is not a positive number");
        planned.exposure_value = value;
    }
}

bool is(const PlannedLine& line, OperationKind kind) { return line.operation && line.operation->kind == kind; }

// A conversion and a header copy only prepare the line after them; a mask
// line needs the conversion before it.
void join_parts(std::vector<PlannedLine>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        PlannedLine& line = lines[i];
        PlannedLine* next = i + 1 < lines.size() ? &lines[i + 1] : nullptr;
        if (is(line, OperationKind::mask_conversion)) {
            if (next && is(*next, OperationKind::combine) && next->operation->reads_mask) {
                line.kind = Kind::part;
                line.reason = strprintf("converts the mask of line %d", next->line_number);
                next->conversion = line.operation;
            } else {
                skip(line, "it converts a mask that no line after it applies");
            }
        } else if (is(line, OperationKind::header_copy)) {
            if (next && is(*next, OperationKind::projection)) {
                line.kind = Kind::part;
                line.reason = strprintf("copies the picture for the projection of line %d", next->line_number);
            } else {
                skip(line, "it copies the working copy for a projection that does not follow");
            }
        } else if (is(line, OperationKind::combine)) {
            if (line.operation->reads_mask && !line.conversion)
                refuse(line, "it applies the converted mask of the cache, and no line before it says which mask file "
                             "that was");
            else if (!line.operation->reads_working_copy)
                skip(line, "it combines other pictures and does not read the working copy, so every picture would "
                           "become the same");
        }
    }
}

}  // namespace

int SequencePlan::step_count() const {
    int count = 0;
    for (const auto& line : lines) count += line.kind == Kind::step;
    return count;
}

int SequencePlan::lines_left_out() const {
    int count = 0;
    for (const auto& line : lines) count += line.kind == Kind::skipped || line.kind == Kind::refused;
    return count;
}

SequencePlan plan_sequence(const std::vector<SequenceEntry>& entries, const ReplayTexts& texts) {
    SequencePlan plan;
    plan.texts = texts;
    plan.lines.reserve(entries.size());
    bool names_working_copy = false;
    std::string other_folder;
    for (size_t i = 0; i < entries.size(); ++i) {
        PlannedLine line;
        line.line_number = static_cast<int>(i) + 1;
        plan_line(line, entries[i], texts);
        if (line.kind != Kind::empty) {
            if (contains(line.command, texts.working_copy)) names_working_copy = true;
            else if (other_folder.empty()) other_folder = working_copy_folder_in(line.command);
        }
        plan.lines.push_back(std::move(line));
    }
    join_parts(plan.lines);
    if (!names_working_copy) plan.foreign_cache = other_folder;
    return plan;
}

std::string step_file_path(const std::string& folder, int step, const std::string& name) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, step);
    const std::string separator = !folder.empty() && folder.back() == '/' ? "" : "/";
    return folder + separator + std::string(digits, written.ptr) + "-" + name;
}

PicturePlan plan_picture(const SequencePlan& sequence, const std::string& folder, const std::string& name) {
    PicturePlan plan;
    plan.name = name;
    // A relative folder that begins with "-" would reach a program as an option.
    plan.folder = !folder.empty() && folder[0] == '-' ? "./" + folder : folder;
    plan.source = plan.folder + (!folder.empty() && folder.back() == '/' ? "" : "/") + name;
    // The source and the last step's scratch file carry every character of
    // the folder and of the name that any file of a step does.
    const std::string last = step_file_path(plan.folder, std::max(sequence.step_count(), 1), name) + ".header";
    if (!is_command_safe_path(plan.source) || !is_command_safe_path(last))
        plan.refusal = "its path holds a blank or a character the shell would interpret";
    return plan;
}

PlannedStep planned_step(const PlannedLine& line, const PicturePlan& picture, int number, const std::string& input) {
    PlannedStep step;
    step.line_number = line.line_number;
    step.line = &line;
    step.files.input = input;
    step.files.output = step_file_path(picture.folder, number, picture.name);
    step.files.mask_scratch = step.files.output + ".mask";
    step.files.header_scratch = step.files.output + ".header";
    return step;
}

std::vector<PlannedStep> planned_steps(const SequencePlan& sequence, const PicturePlan& picture) {
    std::vector<PlannedStep> steps;
    for (const PlannedLine& line : sequence.lines) {
        if (line.kind != Kind::step) continue;
        const std::string& input = steps.empty() ? picture.source : steps.back().files.output;
        steps.push_back(planned_step(line, picture, static_cast<int>(steps.size()) + 1, input));
    }
    return steps;
}

std::string conversion_command(const PlannedStep& step) {
    if (!step.line || !step.line->conversion) return {};
    return command_line_of(step.line->conversion->command, step.files);
}

std::string step_command(const PlannedStep& step, const std::optional<std::string>& factor) {
    StepFiles files = step.files;
    files.factor = factor;
    return command_line_of(step.line->operation->command, files);
}
