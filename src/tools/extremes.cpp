#include "tools/extremes.h"

#include <array>

#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/process_runner.h"

namespace {

// The weighted sum keeps each term in single precision, as the luminance
// map does, so the range's ends match the map's values.
float luminance(float red, float green, float blue, float exposure) {
    const float r = 0.2126f * red;
    const float g = 0.7152f * green;
    const float b = 0.0722f * blue;
    return (r + g + b) * 179.0f / exposure;
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
