#pragma once
// The plan of a replay: which recorded lines run, and the exact command lines
// for one picture. Planning reads and writes nothing, so a replay over a
// folder and a tool that replays one picture per process make the same
// commands from the same sequence file.
//
// A recorded line names the working copy (<cache>/dtemp.hdr) as its input
// and the step output (<cache>/dtempo.hdr) as its output. Replay runs a line
// only when it names both; in every occurrence the working copy becomes the
// step's input and the step output its output. The steps that run are
// numbered from 1: step k reads the source picture NAME (k = 1) or the file
// "(k-1)-NAME", and writes "k-NAME", both next to the source picture. A line
// that does not run takes no number.

#include <optional>
#include <string>
#include <vector>

#include "macro/sequence_file.h"

// The texts a recorded line names the working files by.
struct ReplayTexts {
    std::string working_copy;  // <cache>/dtemp.hdr
    std::string output;        // <cache>/dtempo.hdr
};
ReplayTexts replay_texts(const std::string& cache_directory);

struct PlannedLine {
    enum class Kind {
        empty,    // nothing on the line (the one after a final line end)
        step,     // runs on every picture
        skipped,  // does not read the working copy into the step output
        refused,  // not a command line replay may run
    };
    int line_number = 0;  // 1-based, in the sequence file
    Kind kind = Kind::empty;
    unsigned long command_number = 0;
    std::string command;                  // the recorded command line
    std::optional<float> exposure_value;  // the exposure an exposure line asks for
    std::string reason;                   // why a line is skipped or refused
};

struct SequencePlan {
    std::vector<PlannedLine> lines;
    // The cache folder the lines name when it is not the current one (no
    // line names the current working copy); "" otherwise.
    std::string foreign_cache;

    int step_count() const;
};

// Decides for every line of a sequence whether it runs.
SequencePlan plan_sequence(const std::vector<SequenceEntry>& entries, const ReplayTexts& texts);

struct PlannedStep {
    int line_number = 0;
    std::string command;  // with the picture's files; an exposure line still holds the recorded factor
    std::string input;
    std::string output;
    std::optional<float> exposure_value;
};

struct PicturePlan {
    std::string name;    // as found in the folder
    std::string source;  // folder/name
    std::vector<PlannedStep> steps;
    std::string refusal;  // why the picture cannot be replayed; "" when it can
};

// The commands for one picture of `folder`. A picture whose files the shell
// would misread is refused (nothing of it runs).
PicturePlan plan_picture(const SequencePlan& sequence, const ReplayTexts& texts, const std::string& folder,
                         const std::string& name);

// folder/(step)-name.
std::string step_file_path(const std::string& folder, int step, const std::string& name);

// The exposure command with its factor replaced: "/C pfilt -1 -e " F " ..."
// becomes "/C pfilt -1 -e " factor " ...". The factor is written with the
// fewest digits that read back as the same float, so a picture reaches the
// exposure asked for rather than one six digits away.
std::string with_exposure_factor(const std::string& command, float factor);
