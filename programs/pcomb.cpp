// pcomb: combines pictures pixel by pixel with calc definitions of the
// output channels ro, go and bo; ri(n), gi(n), bi(n) read input n and
// le(n) is its exposure.
//
//   pcomb -e "ro=...;go=...;bo=..." [-e ...] [-o] picture [[-o] picture ..] > output
//
// -o before a picture gives its values divided by its exposure and leaves
// its EXPOSURE lines out of the output header.

#include <string>

#include "lib/command_line.h"
#include "lib/picture_combine.h"

namespace {

bool parse_options(int argc, char** argv, CombineOptions& options) {
    int i = 1;
    for (; i < argc && std::string(argv[i]) == "-e"; i += 2) {
        if (i + 1 >= argc) return false;
        options.expressions.emplace_back(argv[i + 1]);
    }
    bool original = false;
    for (; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "-o") {
            original = true;
            continue;
        }
        if (word[0] == '-') return false;
        options.inputs.push_back({word, original});
        original = false;
    }
    options.command = command_line_text(argc, argv);
    return !options.inputs.empty() && !original;
}

}  // namespace

int main(int argc, char** argv) {
    CombineOptions options;
    if (!parse_options(argc, argv, options))
        return finish_program(argv[0], usage_failure("pcomb [-e expression ..] [-o] picture [[-o] picture ..]"));
    return finish_program(argv[0], combine_pictures(options));
}
