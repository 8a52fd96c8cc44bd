// pfilt: scales a picture's values and size.
//
//   pfilt [-1] [-e factor] [-x size|/factor] [-y size|/factor] [picture] > output
//
// -e +N or -e -N means 2^N. Without -1 the picture is also brought to a mean
// brightness of 0.5 (two passes over the data).

#include <cmath>
#include <string>
#include <vector>

#include "lib/command_line.h"
#include "lib/picture_filter.h"

namespace {

bool parse_size(const std::string& word, FilterSize& size) {
    size.set = true;
    size.reduce = !word.empty() && word[0] == '/';
    const auto value = parse_number(size.reduce ? word.substr(1) : word);
    if (!value || !(*value > 0)) return false;
    size.value = *value;
    return true;
}

ProgramStatus parse_options(int argc, char** argv, FilterOptions& options) {
    std::vector<std::string> words = {program_base_name(argv[0])};
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] != '\0'; ++i) {
        const std::string option = argv[i];
        words.push_back(option);
        if (option == "-1" || option == "-2") {
            options.one_pass = option == "-1";
            continue;
        }
        if (option != "-e" && option != "-x" && option != "-y") return program_failure("unknown option: " + option);
        if (i + 1 >= argc) return program_failure("missing value for " + option);
        const std::string value = argv[++i];
        words.push_back(value);
        if (option == "-e") {
            const bool stops = value[0] == '+' || value[0] == '-';
            const auto number = parse_number(value);
            if (!number) return program_failure("bad value for -e: " + value);
            options.exposure *= stops ? std::pow(2.0, *number) : *number;
            if (!(options.exposure >= 1e-20 && options.exposure <= 1e20))
                return program_failure("exposure out of range");
        } else if (!parse_size(value, option == "-x" ? options.x : options.y)) {
            return program_failure("bad value for " + option + ": " + value);
        }
    }
    if (argc - i > 1) return program_failure("bad # file arguments");
    if (i < argc) options.input = argv[i];
    options.command = command_line_text(words);
    return success();
}

}  // namespace

int main(int argc, char** argv) {
    FilterOptions options;
    if (auto status = parse_options(argc, argv, options); !status.ok()) return finish_program(argv[0], status);
    return finish_program(argv[0], filter_picture(options));
}
