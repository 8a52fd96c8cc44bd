#pragma once
// Running a replay: every step of every picture's plan, one child process at
// a time, and a report of what happened.
//
// A step counts only when its program printed nothing, exited 0 and left a
// non-empty step file (the rule of an editing step). A failed step's file is
// removed and the picture's later steps do not run: they would read nothing,
// or an older file. An exposure step scales its input by the recorded value
// divided by the exposure the input's header gives (the reader's rule), so
// every picture ends at the exposure the user asked for.
//
// Step files that already exist are replaced only when `overwrite` is set;
// otherwise such a picture is skipped and reported. A step's scratch files
// (its converted mask, a projection's re-headed input) are removed after it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "macro/replay_plan.h"
#include "tools/process_runner.h"

// What a replay needs from whoever runs it.
class ReplayHost {
public:
    virtual ~ReplayHost() = default;
    // Runs one command line to its end.
    virtual ProcessOutput run(const std::string& command_line) = 0;
    // Before each step; `step` counts from 1.
    virtual void on_step(const PicturePlan& picture, int step) {}
    // Asked after each step: true ends the replay there.
    virtual bool stop_requested() { return false; }
};

// A host that runs command lines through /bin/sh with our programs first on
// the PATH, and never stops.
class ShellReplayHost : public ReplayHost {
public:
    explicit ShellReplayHost(std::string program_folder) : program_folder_(std::move(program_folder)) {}
    ProcessOutput run(const std::string& command_line) override;

private:
    std::string program_folder_;
};

struct StepFailure {
    std::string picture;
    int step = 0;
    int line_number = 0;
    std::string command;
    std::string message;
};

struct PictureOutcome {
    int steps_run = 0;
    std::string skipped;                 // why none of its steps ran; "" when they did
    std::optional<StepFailure> failure;  // the step that failed; none after it ran
    bool stopped = false;                // the host asked to stop; no later step ran
};

// The step files of a picture (a sequence of `steps` steps) that exist already.
std::vector<std::string> existing_step_files(const PicturePlan& picture, int steps);

// Runs one picture's steps in order.
PictureOutcome run_picture_plan(const SequencePlan& sequence, const PicturePlan& picture, ReplayHost& host,
                                bool overwrite);

// A sequence file and a folder, planned: the sequence whole, the pictures by
// name (their steps are made as each runs).
struct BatchPlan {
    SequencePlan sequence;
    std::vector<PicturePlan> pictures;
    std::vector<std::string> notes;  // refused and skipped lines, another cache folder, nothing to run
};

// Reads the sequence file (once, within its limits), lists the folder's
// pictures and plans them. Fails when the file or the folder cannot be read.
Result<BatchPlan> plan_batch(const std::string& sequence_path, const std::string& folder,
                             const std::string& cache_directory);

// The step files of every picture that exist already.
std::vector<std::string> existing_step_files(const BatchPlan& plan);

struct ReplayReport {
    std::vector<std::string> notes;
    int pictures_found = 0;
    int pictures_processed = 0;  // every step ran
    int steps_planned = 0;       // per picture
    int steps_run = 0;
    int lines_left_out = 0;      // lines of the sequence refused or skipped
    std::vector<std::string> pictures_skipped;  // "NAME: why"
    std::vector<StepFailure> failures;
    bool stopped = false;

    // Everything the sequence asks was done on every picture found.
    bool complete() const;
};

// Called once per picture that ran, as it finishes, one call at a time.
using PictureFinished = std::function<void(const PicturePlan& picture, const PictureOutcome& outcome)>;

ReplayReport run_batch(const BatchPlan& plan, ReplayHost& host, bool overwrite, const PictureFinished& finished = {});

// The report before any picture ran (its notes and counts), and one
// picture's outcome added to it; run_batch is made of these two, in picture
// order, up to the first picture that stopped.
ReplayReport planned_report(const BatchPlan& plan);
void add_picture_outcome(ReplayReport& report, const PicturePlan& picture, const PictureOutcome& outcome);

// plan_batch and run_batch in one.
Result<ReplayReport> replay_sequence(const std::string& sequence_path, const std::string& folder,
                                     const std::string& cache_directory, ReplayHost& host, bool overwrite);

// The report in words, for the end of a batch. An incomplete batch says
// "Work incomplete" first.
std::string replay_summary(const ReplayReport& report);
