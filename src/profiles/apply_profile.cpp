#include "profiles/apply_profile.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "common/text_format.h"
#include "picture/rgbe_reader.h"
#include "picture/rgbe_writer.h"
#include "profiles/vignetting_fit.h"

namespace {

Failure bad(const std::string& message) { return Failure{-1, message}; }

// Header text may not hold line ends; names come from files a user edits.
std::string one_line(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\0') c = ' ';
    return text;
}

}  // namespace

std::string profile_header_line(const CameraProfile& profile) {
    return one_line("PROFILE= " + (profile.name.empty() ? std::string("unnamed") : profile.name) + " " +
                    (profile.date.empty() ? std::string("undated") : profile.date));
}

std::string view_header_line(const LensProjection& projection) {
    return strprintf("VIEW= %s -vh %.6g -vv %.6g", one_line(projection.view).c_str(), projection.horizontal_angle,
                     projection.vertical_angle);
}

bool profile_matches(const CameraProfile& profile, const std::string& camera, const std::string& lens) {
    return (profile.camera.empty() || profile.camera == camera) && (profile.lens.empty() || profile.lens == lens);
}

Result<AppliedProfile> apply_profile(const std::string& input, const std::string& output,
                                     const CameraProfile& profile) {
    auto header = read_picture_header(input);
    auto picture = ra2picarray(input);
    if (!header || !picture) return bad(input + ": cannot be read");
    const RgbePicture& source = picture.value();
    const int width = source.scanline_length, height = source.scanline_count;

    ImageCircle known;
    if (profile.projection) known = profile.projection->circle;
    const bool crop = known.radius > 0;
    LuminanceMap size_only;
    size_only.width = width;
    size_only.height = height;
    const ImageCircle circle = measuring_circle(size_only, known);

    AppliedProfile applied;
    int left = 0, top = 0;
    applied.width = width;
    applied.height = height;
    if (crop) {
        const int side = static_cast<int>(std::ceil(2 * circle.radius));
        left = static_cast<int>(std::lround(circle.centre_x - side / 2.0));
        top = static_cast<int>(std::lround(circle.centre_y - side / 2.0));
        applied.width = applied.height = side;
        applied.cropped = true;
    }
    std::vector<RgbePixel> pixels(static_cast<size_t>(applied.width) * applied.height);
    for (int y = 0; y < applied.height; ++y)
        for (int x = 0; x < applied.width; ++x) {
            const int sx = x + left, sy = y + top;
            if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;  // beyond the sensor: black
            const double r = std::hypot(sx + 0.5 - circle.centre_x, sy + 0.5 - circle.centre_y) / circle.radius;
            if (crop && r > 1) continue;
            const RgbColor c = decode_rgbe(source.pixels[static_cast<size_t>(sy) * width + sx]);
            const float gain = static_cast<float>(1 / vignetting_falloff(profile.vignetting, std::min(r, 1.0)));
            pixels[static_cast<size_t>(y) * applied.width + x] = encode_rgbe(c.r * gain, c.g * gain, c.b * gain);
        }

    RgbePictureHeader out;
    for (const std::string& line : header.value()) {
        if (line.rfind("#?", 0) == 0 || line.rfind("FORMAT=", 0) == 0 || line.empty()) continue;
        out.lines.push_back(line);
    }
    out.lines.push_back(profile_header_line(profile));
    if (profile.projection) {
        applied.view_line = view_header_line(*profile.projection);
        out.lines.push_back(applied.view_line);
    }
    const double factor = profile.nd_factor * profile.calibration_factor;
    if (factor != 1) out.lines.push_back(strprintf("EXPOSURE= %.9g", 1 / factor));
    out.resolution = standard_resolution(applied.width, applied.height);
    if (!write_rgbe_picture(output, out, pixels)) {
        std::error_code ec;
        std::filesystem::remove(output, ec);
        return bad(output + ": cannot be written");
    }
    return applied;
}
