#include "tools/crop_form.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/text_format.h"
#include "common/unsigned_field.h"
#include "desktop/desktop.h"

namespace {
// Adding zero turns a truncated -0.3 into 0 rather than "-0".
std::string truncated_text(float value) { return strprintf("%.0f", static_cast<double>(std::trunc(value)) + 0.0); }
}  // namespace

CropForm::CropForm(Desktop& desktop, CropRectangle& rectangle, int picture_width, int picture_height)
    : desktop_(desktop), rectangle_(rectangle), picture_width_(picture_width), picture_height_(picture_height) {}

void CropForm::on_open() {
    const CropRectangle& r = rectangle_;
    left_text = truncated_text(std::min(r.x0, r.x1));
    top_text = truncated_text(std::min(r.y0, r.y1));
    width_text = truncated_text(std::max(r.x0, r.x1) - std::min(r.x0, r.x1));
    height_text = truncated_text(std::max(r.y0, r.y1) - std::min(r.y0, r.y1));
}

std::optional<int> CropForm::on_ok() {
    const auto left = parse_unsigned_field(left_text);
    const auto top = parse_unsigned_field(top_text);
    const auto width = parse_unsigned_field(width_text);
    const auto height = parse_unsigned_field(height_text);
    const uint64_t w = static_cast<uint64_t>(picture_width_), h = static_cast<uint64_t>(picture_height_);
    const bool fits = left && top && width && height && uint64_t{*left} + *width <= w &&
                      uint64_t{*top} + *height <= h && *left <= w && *top <= h && *width <= w && *height <= h;
    if (!fits) {
        desktop_.message_box("Invalid Rectangle specification", "Crop Error", MessageIcon::warning, Owner::none);
        return std::nullopt;
    }
    rectangle_.x0 = static_cast<float>(*left);
    rectangle_.y0 = static_cast<float>(*top);
    rectangle_.x1 = static_cast<float>(*left + *width);
    rectangle_.y1 = static_cast<float>(*top + *height);
    return 1;
}
