#include "profiles/apply_profile.h"

#include <algorithm>
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

// The gain per pixel that divides out the profile's vignetting picture,
// scaled to 1 at the circle's centre (the median of the pixels within a
// twentieth of the radius); 0 where the picture has no light to divide by.
Result<std::vector<float>> picture_gains(const CameraProfile& profile, int width, int height,
                                         const ImageCircle& circle) {
    const std::string path = vignetting_picture_path(profile);
    auto map = load_luminance_map(path);
    if (!map) return bad("the vignetting picture " + path + " cannot be read");
    const LuminanceMap& flat = map.value();
    if (flat.width != width || flat.height != height)
        return bad(strprintf("the vignetting picture %s is %d x %d, the assembled picture %d x %d", path.c_str(),
                             flat.width, flat.height, width, height));
    std::vector<float> centre;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (std::hypot(x + 0.5 - circle.centre_x, y + 0.5 - circle.centre_y) <= circle.radius / 20)
                centre.push_back(flat.at(x, y));
    if (centre.empty()) return bad("the vignetting picture " + path + " has no pixel at the image circle's centre");
    std::nth_element(centre.begin(), centre.begin() + centre.size() / 2, centre.end());
    const float level = centre[centre.size() / 2];
    if (!(level > 0) || !std::isfinite(level)) return bad("the vignetting picture " + path + " is dark at its centre");
    std::vector<float> gains(flat.data.size(), 0.0f);
    for (size_t i = 0; i < gains.size(); ++i)
        if (flat.data[i] > 0.01f * level && std::isfinite(flat.data[i])) gains[i] = level / flat.data[i];
    return gains;
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

    std::vector<float> gains;
    if (!profile.vignetting_picture.empty()) {
        auto made = picture_gains(profile, width, height, circle);
        if (!made) return made.failure();
        gains = std::move(made).value();
    }

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
            const float gain = gains.empty()
                                   ? static_cast<float>(1 / vignetting_falloff(profile.vignetting, std::min(r, 1.0)))
                                   : gains[static_cast<size_t>(sy) * width + sx];
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
