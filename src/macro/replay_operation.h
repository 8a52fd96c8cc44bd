#pragma once
// The operations replay runs, read from the command lines the recorder
// writes, and their command lines rebuilt for one step of one picture.
//
// Each operation is one of our picture programs with the options the
// application gives it:
//   crop         pcompos -x W -y H <working copy> -L -B > <step output>
//   quarter turn protate <working copy> <step output>
//   flips        pflip -c -h|-v|-v -h <working copy> <step output>
//   resize       pfilt -1 -e F -x /FX -y /FY <working copy> > <step output>
//   exposure     pfilt -1 -e F <working copy> > <step output>
//   pixel-wise   pcomb [-e EXPR]... [-f FILE] [-o] [-s K] INPUT... > <step output>
//                (mask, vignetting correction, image operation, division);
//                an input is the working copy, the converted mask (once) or
//                a picture outside the cache
//   mask         ra_bmp -r FILE <cache>/dmask.hdr, ra_tiff -r likewise
//   projection   getinfo - < <working copy> >> <cache>/header, then
//                pinterp -vf <cache>/header -vth -x X -y Y -ff <cache>/header 1 > <step output>
// A file outside the cache (mask, correction, operand, definitions) must be
// an absolute path to an existing regular file; it is only read. The only
// cache files a line may name are the working copy, the step output and its
// operation's own scratch file (dmask.hdr, header), which replay replaces by
// files of the step. Anything else is refused with the reason.
//
// The command that runs is built from the operation's words alone, never
// from the recorded text: numbers and expressions are checked, and a word a
// shell would split is single-quoted.

#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "macro/replay_command.h"

// The cache files a recorded line names, as the recorder spelled them.
struct ReplayTexts {
    std::string cache;
    std::string working_copy;  // <cache>/dtemp.hdr
    std::string output;        // <cache>/dtempo.hdr
    std::string mask;          // <cache>/dmask.hdr: a BMP or TIFF mask converted
    std::string header;        // <cache>/header: a projection's re-headed input
};
ReplayTexts replay_texts(const std::string& cache_directory);

// What a word of a rebuilt command stands for.
enum class WordRole {
    literal,          // an option, a number, an expression, or a file outside the cache
    step_input,       // the working copy
    step_output,      // the step output
    mask_scratch,     // the step's converted mask
    header_scratch,   // the step's re-headed input
    exposure_factor,  // the factor of an exposure step; the recorded one until replaced
};

struct OperationWord {
    WordRole role = WordRole::literal;
    std::string text;  // the literal, or the recorded factor
};

struct OperationCommand {
    std::vector<OperationWord> words;  // the program first
    std::optional<OperationWord> input;
    std::optional<OperationWord> output;
    bool appends = false;
};

enum class OperationKind { crop, quarter_turn, flip, resize, exposure, combine, mask_conversion, header_copy, projection };

struct ReplayOperation {
    OperationKind kind = OperationKind::crop;
    OperationCommand command;
    bool reads_working_copy = true;  // false only for a pcomb of other pictures
    bool reads_mask = false;         // a pcomb whose first input is the converted mask
};

// The operation a recorded command is, or why it is none replay may run.
// `number` is the line's menu command; only an exposure line's factor is
// replaced on replay. Files outside the cache are looked at (exist, regular).
Result<ReplayOperation> read_replay_operation(const RecordedCommand& command, const ReplayTexts& texts,
                                              unsigned long number);

// Why `path` may not be an operand read from outside the cache, or "".
std::string outside_file_problem(const std::string& path, const std::string& cache);

// The files of one step.
struct StepFiles {
    std::string input;
    std::string output;
    std::string mask_scratch;
    std::string header_scratch;
    std::optional<std::string> factor;  // an exposure step's factor; the recorded one when none
};

// "/C " and the command's words, with the step's files in their places.
std::string command_line_of(const OperationCommand& command, const StepFiles& files);

// A name for each operation in messages: "crop", "exposure", ...
const char* operation_name(OperationKind kind);
