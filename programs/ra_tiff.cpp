// ra_tiff: converts a TIFF to an RGBE picture (-r, the only direction
// offered).
//
//   ra_tiff -r input.tif output.hdr

#include <string>

#include "lib/tiff_conversion.h"

namespace {

bool parse_options(int argc, char** argv, TiffOptions& options) {
    if (argc != 4 || std::string(argv[1]) != "-r" || argv[2][0] == '-' || argv[3][0] == '-') return false;
    options.command = std::string(argv[0]) + " -r";
    options.input = argv[2];
    options.output = argv[3];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    TiffOptions options;
    if (!parse_options(argc, argv, options)) return finish_program(argv[0], usage_failure("ra_tiff -r input output"));
    return finish_program(argv[0], tiff_to_picture(options));
}
