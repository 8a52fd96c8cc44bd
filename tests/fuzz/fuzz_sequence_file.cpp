// A sequence file as anyone might have edited it: parsed, planned for one
// picture, and every command line that would reach the shell checked again
// after the substitutions and the exposure rewrite.

#include <cstdlib>

#include "fuzz_support.h"
#include "macro/replay_command.h"
#include "macro/replay_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ReplayTexts texts = replay_texts("/c");
    const SequencePlan sequence = plan_sequence(parse_sequence(text), texts);
    const PicturePlan picture = plan_picture(sequence, texts, "/p", "a.hdr");
    for (const PlannedStep& step : picture.steps) {
        for (float exposure : {0.5f, 3e-38f}) {
            std::string command = step.command;
            if (step.exposure_value) command = with_exposure_factor(command, *step.exposure_value / exposure);
            // Still a line replay accepts, writing nothing but its step file.
            const auto line = read_replayable_line(command);
            if (!line.ok()) std::abort();
            for (const std::string& target : line.value().output_targets)
                if (target != step.output) std::abort();
            if (command.find(texts.working_copy) != std::string::npos) std::abort();
        }
    }
    return 0;
}
