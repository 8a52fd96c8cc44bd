#include "common/status_text.h"

#include "common/text_format.h"

namespace {
// The luminance and exposure texts are composed in 32-character buffers.
constexpr size_t composed_chars = 31;

int cut(float value) { return static_cast<int>(value); }
}  // namespace

std::string truncate_characters(const std::string& text, size_t max_chars) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) {
            if (chars == max_chars) return text.substr(0, i);
            ++chars;
        }
    }
    return text;
}

std::string status_resolution_text(float width, float height) {
    return strprintf("\t%dx%d", cut(width), cut(height));
}

std::string status_position_text(float x, float y) { return strprintf("\t%d,%d", cut(x), cut(y)); }

std::string status_rectangle_text(float x0, float y0, float x1, float y1) {
    return strprintf("\t%d,%d \u2192 %d,%d", cut(x0), cut(y0), cut(x1), cut(y1));
}

std::string status_zoom_text(float zoom) { return strprintf("\t%d%%", cut(zoom * 100.0f + 0.5f)); }

std::string status_luminance_text(float luminance) {
    return truncate_characters(strprintf("     %12.1f cd/m\u00b2", static_cast<double>(luminance)), composed_chars);
}

std::string status_exposure_text(float exposure) {
    return truncate_characters(strprintf("\tExposure = %f", static_cast<double>(exposure)), composed_chars);
}
