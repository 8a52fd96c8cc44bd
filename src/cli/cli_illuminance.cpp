// illuminance PICTURE [--weights bt709|radiance]: the illuminance at the lens
// from the picture's view.

#include "analysis/lens_lines.h"
#include "cli/cli_commands.h"
#include "picture/rgbe_reader.h"

int run_illuminance(const IlluminanceOptions& options, const CliOutput& output) {
    auto map = read_picture(options.picture, options.weights);
    if (!map) return output.fail(exit_bad_input, map.failure().message);
    const auto header = read_picture_header(options.picture);
    if (!header) return output.fail(exit_bad_input, header.failure().message);
    const PictureLens lens = picture_lens(map.value(), header.value());
    if (!lens.has_view())
        return output.fail(exit_bad_input, options.picture + " has no usable view (a VIEW= line) in its header");
    for (const LensLine& line : picture_illuminance_lines(lens)) output.out << line.caption << ' ' << line.value << '\n';
    const std::string overflow = overflow_sentence(lens);
    if (!overflow.empty()) output.out << overflow << '\n';
    return 0;
}
