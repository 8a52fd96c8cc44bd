// ReinhardTM: photographic tone reproduction of an RGBE picture into a JPEG.
//
//   ReinhardTM -i picture -o image.jpg [-scale] [-key a] [-white Lwhite]
//              [-gamma g] [-threshold eps]
//
// -scale chooses the local (dodging-and-burning) operator. Numbers are read
// as strtod reads them ("1e+020" included). Every failure message contains
// "Unknown": that word is how callers tell.

#include <cmath>
#include <string>

#include "lib/command_line.h"
#include "lib/jpeg_export.h"
#include "lib/reinhard_conversion.h"

namespace {

ProgramStatus bad_value(const std::string& option, const std::string& value) {
    return program_failure("Unknown value for " + option + ": " + value);
}

// A value that must be a positive finite number (zero too for -threshold).
ProgramStatus read_value(const std::string& option, const std::string& word, double& target) {
    const auto value = parse_number(word);
    if (!value || !std::isfinite(*value)) return bad_value(option, word);
    const bool may_be_zero = option == "-threshold";
    if (*value < 0 || (*value == 0 && !may_be_zero)) return bad_value(option, word);
    target = *value;
    return success();
}

ProgramStatus parse_options(int argc, char** argv, ReinhardOptions& options) {
    auto& p = options.parameters;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "-scale") {
            p.local = true;
            continue;
        }
        double* number = option == "-key"         ? &p.key
                         : option == "-white"     ? &p.white
                         : option == "-gamma"     ? &options.gamma
                         : option == "-threshold" ? &p.threshold
                                                  : nullptr;
        std::string* file = option == "-i" ? &options.input : option == "-o" ? &options.output : nullptr;
        if (!number && !file) return unknown_option(option);
        if (i + 1 >= argc) return bad_value(option, "missing");
        const std::string value = argv[++i];
        if (file) {
            *file = value;
        } else if (auto status = read_value(option, value, *number); !status.ok()) {
            return status;
        }
    }
    if (options.input.empty() || options.output.empty()) return missing_files();
    return success();
}

}  // namespace

int main(int argc, char** argv) {
    ReinhardOptions options;
    if (auto status = parse_options(argc, argv, options); !status.ok()) return finish_program(argv[0], status);
    return finish_program(argv[0], convert_reinhard(options));
}
