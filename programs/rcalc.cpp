// rcalc: computes records from records. Each input line is a record whose
// fields are $1, $2, ..; definitions of $1, $2, .. give the output fields,
// and a definition of cond keeps only the records where it is above 0.
//
//   rcalc -e "definitions" [-e ..] [file ..]

#include <string>

#include "lib/record_calculator.h"

namespace {

bool parse_options(int argc, char** argv, RecordOptions& options) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] != '\0'; i += 2) {
        if (std::string(argv[i]) != "-e" || i + 1 >= argc) return false;
        options.expressions.emplace_back(argv[i + 1]);
    }
    for (; i < argc; ++i) options.files.emplace_back(argv[i]);
    return !options.expressions.empty();
}

}  // namespace

int main(int argc, char** argv) {
    RecordOptions options;
    if (!parse_options(argc, argv, options))
        return finish_program(argv[0], usage_failure("rcalc -e definitions [-e ..] [file ..]"));
    return finish_program(argv[0], calculate_records(options));
}
