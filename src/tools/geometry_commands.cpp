#include "tools/geometry_commands.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

#include "common/text_format.h"

namespace {

// Truncation toward zero that cannot overflow: selection corners are
// clamped to the picture, but a corrupt value must not become undefined.
int truncated(double value) {
    if (std::isnan(value)) return 0;
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(std::clamp(value, low, high)));
}

}  // namespace

std::optional<CropBox> crop_box(const CropRectangle& r, int picture_height) {
    if (r.y0 == r.y1 || r.x1 == r.x0) return std::nullopt;
    const float h = static_cast<float>(picture_height);
    CropBox box;
    box.width = truncated(std::fabs(r.x1 - r.x0));
    box.height = truncated(std::fabs(r.y1 - r.y0));
    box.left = truncated(std::min(r.x0, r.x1));
    box.bottom = truncated(std::min(h - r.y1, h - r.y0));
    // pcompos reads a size of 0 as "as far as the picture reaches", so a
    // sliver narrower than a pixel would crop most of the picture instead.
    if (box.width <= 0 || box.height <= 0) return std::nullopt;
    return box;
}

std::string crop_command(const CropBox& box, const std::string& input, const std::string& output) {
    return strprintf("/C pcompos -x %d -y %d ", box.width, box.height) + input +
           strprintf(" -%d -%d > ", box.left, box.bottom) + output;
}

std::string rotate_command(const std::string& input, const std::string& output) {
    const std::string options;  // the clockwise turn needs none
    return "/C protate " + options + " " + input + " " + output;
}

std::string flip_command(const std::string& options, const std::string& input, const std::string& output) {
    return "/C pflip -c " + options + " " + input + " " + output;
}

std::string resize_command(const std::string& factor_x, const std::string& factor_y, const std::string& input,
                           const std::string& output) {
    return "/C pfilt -1 -e 1.000 -x /" + factor_x + " -y /" + factor_y + " " + input + " > " + output;
}

std::string format_default_double(double value) {
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    return stream.str();
}
