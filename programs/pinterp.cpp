// pinterp: sees a fisheye picture again through another fisheye view from
// the same viewpoint, e.g. an angular photograph as a hemispherical one.
//
//   pinterp [view options] [-vf viewfile] [-x xres] [-y yres] [-ff] [-bilinear] picture depth > output
//
// View options apply in order, so -vf takes a whole view from a file (a
// picture's header will do) and a later -vth changes just its type. The
// depth must be a constant: with one viewpoint it changes nothing. -ff
// (fill the foreground) is what happens anyway; -bilinear samples the
// input bilinearly instead of splatting its pixels.

#include <string>
#include <string_view>

#include "lib/command_line.h"
#include "lib/picture_reprojection.h"
#include "lib/reprojection_views.h"
#include "picture/projection_size.h"

namespace {

constexpr const char* usage_text =
    "pinterp [view options][-vf viewfile][-x xres][-y yres][-ff][-bilinear] picture depth";

// How many numbers follow a view option ("-vp" three, "-vh" one, "-vta" none);
// -1 for a word that is no view option.
int view_option_values(std::string_view option) {
    if (option.size() == 4 && option.substr(0, 3) == "-vt") return 0;
    if (option.size() != 3 || option.substr(0, 2) != "-v") return -1;
    switch (option[2]) {
        case 'p': case 'd': case 'u': return 3;
        case 'h': case 'v': case 'o': case 'a': case 's': case 'l': return 1;
        default: return -1;
    }
}

ProgramStatus parse_options(int argc, char** argv, ReprojectionOptions& options) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const std::string option = argv[i];
        if (option == "-ff") continue;
        if (option == "-bilinear") {
            options.bilinear = true;
            continue;
        }
        const int count = option == "-vf" || option == "-x" || option == "-y" ? 1 : view_option_values(option);
        if (count < 0 || i + count >= argc) return usage_failure(usage_text);
        if (option == "-vf") {
            if (auto status = apply_view_file(argv[++i], options.view); !status.ok()) return status;
        } else if (option == "-x" || option == "-y") {
            const auto value = parse_integer(argv[++i]);
            if (!value || *value <= 0 || static_cast<uint64_t>(*value) > max_projection_pixels)
                return program_failure("bad value for " + option + ": " + argv[i]);
            (option == "-x" ? options.width : options.height) = static_cast<int>(*value);
        } else {
            std::string text = option;
            for (int k = 0; k < count; ++k) {
                if (!parse_number(argv[++i])) return program_failure("bad value for " + option + ": " + argv[i]);
                text += std::string(" ") + argv[i];
            }
            if (option[2] == 't' && std::string_view("vlchas").find(option[3]) == std::string_view::npos)
                return program_failure("unknown view type: " + option);
            apply_view_options(options.view, text);
        }
    }
    if (argc - i != 2) return usage_failure(usage_text);
    options.input = argv[i];
    const auto depth = parse_number(argv[i + 1]);
    if (!depth || !(*depth > 0)) return program_failure(std::string("depth must be a positive number: ") + argv[i + 1]);
    options.command = command_line_text(argc, argv);
    return success();
}

}  // namespace

int main(int argc, char** argv) {
    ReprojectionOptions options;
    if (auto status = parse_options(argc, argv, options); !status.ok()) return finish_program(argv[0], status);
    return finish_program(argv[0], reproject_picture(options));
}
