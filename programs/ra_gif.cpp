// ra_gif: converts an RGBE picture to a 256-colour GIF for display
// (gamma 2.2, median-cut palette, error diffusion).
//
//   ra_gif input output

#include "lib/gif_conversion.h"

namespace {

bool parse_options(int argc, char** argv, GifOptions& options) {
    if (argc != 3 || argv[1][0] == '-' || argv[2][0] == '-') return false;
    options.input = argv[1];
    options.output = argv[2];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    GifOptions options;
    if (!parse_options(argc, argv, options)) return finish_program(argv[0], usage_failure("ra_gif input output"));
    return finish_program(argv[0], convert_gif(options));
}
