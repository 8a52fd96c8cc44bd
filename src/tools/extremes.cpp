#include "tools/extremes.h"

#include <array>

#include "common/physics.h"
#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/process_runner.h"

namespace {

// The same single-precision steps as the luminance map's, so that the
// range's ends fall on the map's own values.
float luminance(float red, float green, float blue, float exposure) {
    const float r = static_cast<float>(physics::weight_red * red);
    const float g = static_cast<float>(physics::weight_green * green);
    const float b = static_cast<float>(physics::weight_blue * blue);
    const float sum = r + g + b;
    return static_cast<float>(physics::luminous_efficacy * sum) / exposure;
}

}  // namespace

std::string extremes_command(const std::string& picture) { return "/C pextrem " + picture; }

Extremes parse_extremes(std::string_view output, float exposure) {
    std::array<float, 10> numbers{};
    size_t count = 0;
    size_t i = 0;
    constexpr std::string_view separators = " \t\r\n";
    while (count < numbers.size()) {
        const size_t start = output.find_first_not_of(separators, i);
        if (start == std::string_view::npos) break;
        const size_t end = output.find_first_of(separators, start);
        numbers[count++] = parse_decimal_float(output.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        i = end;
    }
    Extremes extremes;
    extremes.minimum = luminance(numbers[2], numbers[3], numbers[4], exposure);
    extremes.maximum = luminance(numbers[7], numbers[8], numbers[9], exposure);
    return extremes;
}

Extremes read_extremes(ProcessRunner& runner, Desktop& desktop, const std::string& picture, float exposure) {
    const ProcessOutput result = runner.run(extremes_command(picture), true);
    desktop.close_progress();
    if (!result.started || result.exit_status != 0) return {};
    return parse_extremes(result.text, exposure);
}
