// protate: turns a picture a quarter turn clockwise.
//
//   protate input output

#include <string>

#include "lib/picture_rotation.h"

namespace {

bool parse_options(int argc, char** argv, RotateOptions& options) {
    if (argc != 3 || argv[1][0] == '-' || argv[2][0] == '-') return false;
    options.command = argv[0];
    options.input = argv[1];
    options.output = argv[2];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    RotateOptions options;
    if (!parse_options(argc, argv, options)) return finish_program(argv[0], usage_failure("protate input output"));
    return finish_program(argv[0], rotate_picture(options));
}
