// pextrem: prints the position and value of the darkest and the brightest
// pixel, one per line. -o gives values divided by the picture's exposure.
//
//   pextrem [-o] [picture]

#include <string>

#include "lib/picture_extremes.h"

namespace {

bool parse_options(int argc, char** argv, ExtremesOptions& options) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] != '\0'; ++i) {
        if (std::string(argv[i]) != "-o") return false;
        options.original_values = true;
    }
    if (argc - i > 1) return false;
    if (i < argc) options.input = argv[i];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ExtremesOptions options;
    if (!parse_options(argc, argv, options)) return finish_program(argv[0], usage_failure("pextrem [-o] [picture]"));
    return finish_program(argv[0], print_extremes(options));
}
