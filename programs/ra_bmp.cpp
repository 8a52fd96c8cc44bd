// ra_bmp: converts an RGBE picture to a 24-bit BMP for display (gamma 2.2),
// or with -r a BMP to an RGBE picture.
//
//   ra_bmp [-r] input output

#include <string>

#include "lib/bmp_conversion.h"

namespace {

bool parse_options(int argc, char** argv, BmpOptions& options) {
    int i = 1;
    options.command = argv[0];
    for (; i < argc && argv[i][0] == '-'; ++i) {
        if (std::string(argv[i]) != "-r") return false;
        options.reverse = true;
        options.command += " -r";
    }
    if (argc - i != 2) return false;
    options.input = argv[i];
    options.output = argv[i + 1];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    BmpOptions options;
    if (!parse_options(argc, argv, options)) return finish_program(argv[0], usage_failure("ra_bmp [-r] input output"));
    return finish_program(argv[0], convert_bmp(options));
}
