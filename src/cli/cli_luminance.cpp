// luminance PICTURE X Y: what the status bar shows for a click on that pixel.

#include "cli/cli_commands.h"
#include "common/status_text.h"
#include "common/text_format.h"

int run_luminance(const LuminanceOptions& options, const CliOutput& output) {
    auto map = read_picture(options.picture);
    if (!map) return output.fail(exit_bad_input, map.failure().message);
    const LuminanceMap& m = map.value();
    const auto luminance = options.x < m.width && options.y < m.height
                               ? luminance_at(m, static_cast<float>(options.x), static_cast<float>(options.y))
                               : std::nullopt;
    if (!luminance)
        return output.fail(exit_bad_input,
                           strprintf("pixel (%lld, %lld) is outside the picture (%d x %d pixels)",
                                     static_cast<long long>(options.x), static_cast<long long>(options.y), m.width,
                                     m.height));
    const std::string text = status_luminance_text(*luminance);
    output.out << text.substr(text.find_first_not_of(' ')) << '\n';
    return 0;
}
