// pflip: mirrors a picture horizontally (-h), vertically (-v) or both (a half
// turn); -c flips the file's scan order and keeps its resolution line.
//
//   pflip [-c] [-h] [-v] input output

#include <cstdio>
#include <string>

#include "lib/picture_flip.h"

namespace {

bool parse_options(int argc, char** argv, FlipOptions& options) {
    int i = 1;
    options.command = argv[0];
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const std::string option = argv[i];
        if (option == "-c")
            options.scan_order = true;
        else if (option == "-h")
            options.horizontal = true;
        else if (option == "-v")
            options.vertical = true;
        else
            return false;
        options.command += " " + option;
    }
    if (argc - i != 2) return false;
    options.input = argv[i];
    options.output = argv[i + 1];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    FlipOptions options;
    if (!parse_options(argc, argv, options))
        return finish_program(argv[0], usage_failure("pflip [-c] [-h] [-v] input output"));
    if (!options.horizontal && !options.vertical) std::fprintf(stderr, "%s: warning - no operation\n", argv[0]);
    return finish_program(argv[0], flip_picture(options));
}
