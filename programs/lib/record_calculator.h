#pragma once
// rcalc: computes output records from input records with calc definitions.
//
// Each input line is a record; "$N" in a formula is its N-th field (fields
// separated by blanks or tabs; a missing field or one that is not a number
// reads as 0). Definitions of "$1", "$2", .. give the output fields, written
// as %.9g separated by tabs, one record per line. When "cond" is defined, a
// record is written only if cond is above 0.
//
// The input is cut into blocks of whole lines that are computed side by side
// on the available cores; the output keeps the input order.

#include <string>
#include <vector>

#include "lib/program_status.h"

struct RecordOptions {
    std::vector<std::string> expressions;  // each -e text
    std::vector<std::string> files;        // standard input when empty
};

ProgramStatus calculate_records(const RecordOptions& options);
