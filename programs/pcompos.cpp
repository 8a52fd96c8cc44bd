// pcompos: places a picture on a canvas, which with a negative offset crops
// it. Offsets count from the lower left corner.
//
//   pcompos [-x width] [-y height] picture x0 y0 > output

#include <string>

#include "lib/command_line.h"
#include "lib/picture_crop.h"

namespace {

bool parse_options(int argc, char** argv, CropOptions& options) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return false;
        const auto value = parse_integer(argv[i + 1]);
        if (!value || *value < 0) return false;
        if (option == "-x")
            options.width = static_cast<int>(*value);
        else if (option == "-y")
            options.height = static_cast<int>(*value);
        else
            return false;
    }
    if (argc - i != 3) return false;
    options.input = argv[i];
    options.x0 = static_cast<int>(leading_integer(argv[i + 1]));
    options.y0 = static_cast<int>(leading_integer(argv[i + 2]));
    options.command = command_line_text(argc, argv);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CropOptions options;
    if (!parse_options(argc, argv, options))
        return finish_program(argv[0], usage_failure("pcompos [-x width] [-y height] picture x0 y0"));
    return finish_program(argv[0], crop_picture(options));
}
