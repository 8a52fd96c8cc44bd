// A sequence file as anyone might have edited it: parsed, planned for one
// picture, and every command line that would reach the shell read again:
// still one command of our programs, naming no cache file and writing
// nothing but its step's files.

#include <cstdlib>

#include "fuzz_support.h"
#include "macro/replay_command.h"
#include "macro/replay_plan.h"

namespace {

void check(const std::string& line, const PlannedStep& step, const ReplayTexts& texts) {
    const auto command = read_recorded_command(line);
    if (!command.ok() || line.find(texts.cache + "/") != std::string::npos) std::abort();
    const auto& output = command.value().output;
    if (output && *output != step.files.output && *output != step.files.header_scratch) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ReplayTexts texts = replay_texts("/c");
    const SequencePlan sequence = plan_sequence(parse_sequence(text), texts);
    const PicturePlan picture = plan_picture(sequence, "/p", "a.hdr");
    for (const PlannedStep& step : planned_steps(sequence, picture)) {
        if (!conversion_command(step).empty()) check(conversion_command(step), step, texts);
        check(step_command(step), step, texts);
        check(step_command(step, "2.5"), step, texts);
    }
    return 0;
}
