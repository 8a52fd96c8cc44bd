#pragma once
// The plan of a replay: which recorded lines run, and the steps of one
// picture. The sequence is read and checked whole before any picture runs;
// a picture's steps are made when it is its turn, so memory does not grow
// with lines x pictures. A replay over a folder and a tool that replays one
// picture per process make the same steps from the same sequence file.
//
// Every line is read as one of the recorder's operations (replay_operation.h).
// A mask line that reads the converted mask takes the conversion from the line
// before it, and a projection's header copy belongs to the projection after
// it; those lines take no step of their own. The steps that run are numbered
// from 1: step k reads the source picture NAME (k = 1) or the file
// "(k-1)-NAME", and writes "k-NAME", both next to the source picture. Its
// scratch files are "k-NAME.mask" and "k-NAME.header", made and removed by
// the step. A line that does not run takes no number.

#include <optional>
#include <string>
#include <vector>

#include "macro/replay_operation.h"
#include "macro/sequence_file.h"

struct PlannedLine {
    enum class Kind {
        empty,    // nothing on the line (the one after a final line end)
        step,     // runs on every picture
        part,     // belongs to the step of the next line
        skipped,  // an operation of the recorder that does not change the working copy here
        refused,  // not an operation replay runs
    };
    int line_number = 0;  // 1-based, in the sequence file
    Kind kind = Kind::empty;
    unsigned long command_number = 0;
    std::string command;                        // the recorded command line
    std::optional<ReplayOperation> operation;   // for a step (and a part)
    std::optional<ReplayOperation> conversion;  // a mask step's conversion, from the line before
    std::optional<float> exposure_value;        // the exposure an exposure line asks for
    std::string reason;                         // why a line is skipped or refused
};

struct SequencePlan {
    ReplayTexts texts;
    std::vector<PlannedLine> lines;
    // The cache folder the lines name when it is not the current one (no
    // line names the current working copy); "" otherwise.
    std::string foreign_cache;

    int step_count() const;
    // Lines refused or skipped: the replay cannot do all the sequence asks.
    int lines_left_out() const;
};

// Decides for every line of a sequence whether it runs. Files outside the
// cache that a line reads are looked at (they must exist).
SequencePlan plan_sequence(const std::vector<SequenceEntry>& entries, const ReplayTexts& texts);

struct PlannedStep {
    int line_number = 0;
    const PlannedLine* line = nullptr;  // in the SequencePlan
    StepFiles files;
};

struct PicturePlan {
    std::string name;    // as found in the folder
    std::string folder;
    std::string source;  // folder/name
    std::string refusal;  // why the picture cannot be replayed; "" when it can
};

// One picture of `folder`. A picture whose files the shell would misread is
// refused (nothing of it runs).
PicturePlan plan_picture(const SequencePlan& sequence, const std::string& folder, const std::string& name);

// Step `number` (from 1) of a picture, made from a line that runs and the
// file the step before it wrote (the source for step 1); and all of a
// picture's steps, in order. A replay makes each step as it comes to it.
PlannedStep planned_step(const PlannedLine& line, const PicturePlan& picture, int number, const std::string& input);
std::vector<PlannedStep> planned_steps(const SequencePlan& sequence, const PicturePlan& picture);

// A step's command lines, in the order they run: the mask conversion (if
// any), then the operation. `factor` replaces an exposure step's factor.
std::string conversion_command(const PlannedStep& step);
std::string step_command(const PlannedStep& step, const std::optional<std::string>& factor = std::nullopt);

// folder/(step)-name.
std::string step_file_path(const std::string& folder, int step, const std::string& name);
