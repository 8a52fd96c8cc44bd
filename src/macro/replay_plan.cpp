#include "macro/replay_plan.h"

#include <charconv>
#include <cmath>

#include "common/text_format.h"
#include "macro/replay_command.h"
#include "tools/command_path.h"
#include "tools/working_files.h"

namespace {

constexpr std::string_view exposure_prefix = "/C pfilt -1 -e ";

// The folder a line names its working copy in, when it names one at all.
std::string working_copy_folder_in(const std::string& command) {
    const std::string_view name = working_file::working_copy;  // "/dtemp.hdr"
    const size_t at = command.find(name);
    if (at == std::string::npos) return {};
    const size_t before = command.find_last_of(" <>|\"", at == 0 ? 0 : at - 1);
    const size_t start = before == std::string::npos || at == 0 ? 0 : before + 1;
    return command.substr(start, at - start);
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Whether the shell, which drops the quotes, would see either text where the
// line does not spell it out whole: replacing the texts as written would
// then leave the cache's own file in the command.
bool names_a_file_across_quotes(const std::string& command, const ReplayTexts& texts) {
    std::string unquoted = command;
    std::erase(unquoted, '"');
    return occurrences(unquoted, texts.working_copy) != occurrences(command, texts.working_copy) ||
           occurrences(unquoted, texts.output) != occurrences(command, texts.output);
}

// Every occurrence of either text replaced, in one pass, so that a path put
// in for one can never be taken for the other.
std::string substituted(const std::string& command, const ReplayTexts& texts, const std::string& input,
                        const std::string& output) {
    std::string result;
    size_t i = 0;
    while (i < command.size()) {
        if (command.compare(i, texts.working_copy.size(), texts.working_copy) == 0) {
            result += input;
            i += texts.working_copy.size();
        } else if (command.compare(i, texts.output.size(), texts.output) == 0) {
            result += output;
            i += texts.output.size();
        } else {
            result += command[i++];
        }
    }
    return result;
}

void plan_line(PlannedLine& planned, const SequenceEntry& entry, const ReplayTexts& texts) {
    using Kind = PlannedLine::Kind;
    planned.command = entry.command;
    planned.command_number = entry.number.value_or(0);
    if (entry.line.empty()) {
        planned.kind = Kind::empty;
        return;
    }
    auto replayable = read_replayable_line(entry.command);
    if (!replayable) {
        planned.kind = Kind::refused;
        planned.reason = replayable.failure().message;
        return;
    }
    if (names_a_file_across_quotes(entry.command, texts)) {
        planned.kind = Kind::refused;
        planned.reason = "it names the working copy or the step output across quotes";
        return;
    }
    if (!contains(entry.command, texts.working_copy)) {
        planned.kind = Kind::skipped;
        planned.reason = "it does not read the working copy";
        return;
    }
    if (!contains(entry.command, texts.output)) {
        planned.kind = Kind::skipped;
        planned.reason = "it does not write the step output";
        return;
    }
    for (const std::string& target : replayable.value().output_targets)
        if (target != texts.output) {
            planned.kind = Kind::refused;
            planned.reason = "it writes to " + target;
            return;
        }
    if (entry.number && *entry.number == exposure_command_number) {
        const float value = parse_decimal_float(entry.value);
        const size_t factor_end =
            starts_with(entry.command, exposure_prefix) ? entry.command.find(' ', exposure_prefix.size()) : std::string::npos;
        // The factor is replaced by position; a word that is not a plain
        // number could carry quotes, and replacing it would change what the
        // rest of the line means to the shell.
        const bool plain_factor =
            factor_end != std::string::npos && factor_end > exposure_prefix.size() &&
            entry.command.find_first_not_of("0123456789.eE+-", exposure_prefix.size()) == factor_end;
        if (!plain_factor) {
            planned.kind = Kind::refused;
            planned.reason = "an exposure line must begin with \"" + std::string(exposure_prefix) + "\" and a number";
            return;
        }
        if (!(value > 0.0f) || !std::isfinite(value)) {
            planned.kind = Kind::refused;
            planned.reason = "its exposure value \"" + entry.value + "\" is not a positive number";
            return;
        }
        planned.exposure_value = value;
    }
    planned.kind = Kind::step;
}

}  // namespace

ReplayTexts replay_texts(const std::string& cache_directory) {
    return {cache_directory + working_file::working_copy, cache_directory + working_file::step_output};
}

int SequencePlan::step_count() const {
    int count = 0;
    for (const auto& line : lines) count += line.kind == PlannedLine::Kind::step;
    return count;
}

SequencePlan plan_sequence(const std::vector<SequenceEntry>& entries, const ReplayTexts& texts) {
    SequencePlan plan;
    bool names_working_copy = false;
    std::string other_folder;
    for (size_t i = 0; i < entries.size(); ++i) {
        PlannedLine line;
        line.line_number = static_cast<int>(i) + 1;
        plan_line(line, entries[i], texts);
        if (line.kind != PlannedLine::Kind::empty && line.kind != PlannedLine::Kind::refused) {
            if (contains(line.command, texts.working_copy)) names_working_copy = true;
            else if (other_folder.empty()) other_folder = working_copy_folder_in(line.command);
        }
        plan.lines.push_back(std::move(line));
    }
    if (!names_working_copy) plan.foreign_cache = other_folder;
    return plan;
}

std::string step_file_path(const std::string& folder, int step, const std::string& name) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, step);
    const std::string separator = !folder.empty() && folder.back() == '/' ? "" : "/";
    return folder + separator + std::string(digits, written.ptr) + "-" + name;
}

PicturePlan plan_picture(const SequencePlan& sequence, const ReplayTexts& texts, const std::string& folder,
                         const std::string& name) {
    PicturePlan plan;
    plan.name = name;
    plan.source = folder + (!folder.empty() && folder.back() == '/' ? "" : "/") + name;
    std::string input = plan.source;
    int step = 0;
    for (const PlannedLine& line : sequence.lines) {
        if (line.kind != PlannedLine::Kind::step) continue;
        PlannedStep planned;
        planned.line_number = line.line_number;
        planned.input = input;
        planned.output = step_file_path(folder, ++step, name);
        planned.command = substituted(line.command, texts, planned.input, planned.output);
        planned.exposure_value = line.exposure_value;
        input = planned.output;
        plan.steps.push_back(std::move(planned));
    }
    // The source and the last step file carry every character of the folder
    // and of the name that any step file does.
    const std::string& last = plan.steps.empty() ? plan.source : plan.steps.back().output;
    if (!is_command_safe_path(plan.source) || !is_command_safe_path(last))
        plan.refusal = "its path holds a blank or a character the shell would interpret";
    return plan;
}

std::string with_exposure_factor(const std::string& command, float factor) {
    if (!starts_with(command, exposure_prefix)) return command;
    const size_t end = command.find(' ', exposure_prefix.size());
    if (end == std::string::npos) return command;
    return command.substr(0, exposure_prefix.size()) + format_shortest(factor) + command.substr(end);
}
