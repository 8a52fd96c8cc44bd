// tm_linear: writes a display-referred picture (pcond's output) as a JPEG.
//
//   tm_linear -i picture -o image.jpg
//
// Every failure message contains "Unknown": that word is how callers tell.

#include <string>

#include "lib/jpeg_export.h"
#include "lib/linear_jpeg_conversion.h"

namespace {

ProgramStatus parse_options(int argc, char** argv, LinearJpegOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option != "-i" && option != "-o") return unknown_option(option);
        if (i + 1 >= argc) return program_failure("Unknown value for " + option + ": missing");
        (option == "-i" ? options.input : options.output) = argv[++i];
    }
    if (options.input.empty() || options.output.empty()) return missing_files();
    return success();
}

}  // namespace

int main(int argc, char** argv) {
    LinearJpegOptions options;
    if (auto status = parse_options(argc, argv, options); !status.ok()) return finish_program(argv[0], status);
    return finish_program(argv[0], convert_linear_jpeg(options));
}
