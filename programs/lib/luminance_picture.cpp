#include "lib/luminance_picture.h"

#include <cmath>
#include <cstdlib>

#include "common/physics.h"
#include "common/text_format.h"
#include "lib/picture_input.h"
#include "lib/picture_messages.h"
#include "lib/rgbe_color.h"

namespace {

const PictureMessages messages = {
    "Can't open {file}", "{file}: not a Radiance picture", "{file}: not a Radiance picture",
    "{file}: bad picture size", "{file}: read error",
};

// EXPOSURE= values that cannot be an exposure are left out of the product;
// a notice says so, since the figures then rest on the stored values.
void note_ignored_exposures(const PictureHeader& header, std::vector<std::string>& notices) {
    for (const auto& line : header.lines) {
        const size_t key = line.find("EXPOSURE=");
        if (key == std::string::npos) continue;
        char* end = nullptr;
        const double value = std::strtod(line.c_str() + key + 9, &end);
        if (end != line.c_str() + key + 9 && !(std::isfinite(value) && value > 0))
            notices.push_back(strprintf("notice: the header's EXPOSURE=%g is ignored: an exposure must be positive",
                                        value));
    }
}

}  // namespace

RowLayout row_layout(const ResolutionLine& r) {
    RowLayout layout;
    layout.width = r.scanline_length;
    layout.height = r.scanline_count;
    layout.mirrored = (r.flags & ResolutionLine::x_decreasing) != 0;
    layout.numbered_upward = (r.flags & ResolutionLine::y_decreasing) != 0;
    return layout;
}

size_t pixel_index(const ResolutionLine& r, int scanline, int offset) {
    const bool upward = (r.flags & ResolutionLine::y_decreasing) != 0;
    const int y = upward ? r.scanline_count - 1 - scanline : scanline;
    return size_t(y) * size_t(r.scanline_length) + size_t(offset);
}

ProgramStatus read_luminance_picture(const std::string& path, LuminancePicture& picture) {
    PictureInput in;
    if (auto status = open_picture(in, path, messages); !status.ok()) return status;
    picture.header = in.header();
    picture.resolution = in.resolution();
    picture.width = in.scanline_length();
    picture.height = in.scanline_count();
    picture.exposure = picture.header.exposure_anywhere();
    note_ignored_exposures(picture.header, picture.notices);
    picture.luminance.assign(size_t(picture.width) * size_t(picture.height), 0.0f);

    const int length = in.scanline_length();
    std::vector<uint8_t> planes(4 * size_t(length));
    const auto& table = rgbe_scale_table();
    const double weight = physics::luminous_efficacy / picture.exposure;
    const float wr = float(glare_weight_red * weight);
    const float wg = float(glare_weight_green * weight);
    const float wb = float(glare_weight_blue * weight);
    const uint8_t* red = planes.data();
    const uint8_t* green = red + length;
    const uint8_t* blue = green + length;
    const uint8_t* exponent = blue + length;
    for (int s = 0; s < in.scanline_count(); ++s) {
        if (!in.read_planes(planes.data())) {
            if (in.ran_out())
                return picture_failure(strprintf("{file}: the file ends after %d of the %d scanlines its resolution "
                                                 "line claims",
                                                 in.scanlines_read(), in.scanline_count()),
                                       path);
            return read_failure(messages, in, path);
        }
        float* row = picture.luminance.data() + pixel_index(picture.resolution, s, 0);
        for (int k = 0; k < length; ++k) {
            const float f = table.scale[exponent[k]];
            row[k] = ((red[k] + 0.5f) * wr + (green[k] + 0.5f) * wg + (blue[k] + 0.5f) * wb) * f;
        }
    }
    return success();
}
