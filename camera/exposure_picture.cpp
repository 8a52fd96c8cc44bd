#include "exposure_picture.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/physics.h"
#include "picture/rgbe_reader.h"

namespace sim {

namespace {

// A reflected-light meter's calibration: a subject of L cd/m² is exposed as
// mid-grey (18 %) when N²/t = L·S/K.
constexpr double meter_constant = 12.5;
constexpr double mid_grey = 0.18;

// Stops from the code's scale, where +3 and +5 mean thirds and +4 a half.
double stops(uint32_t code, uint32_t origin) {
    static constexpr double fraction[8] = {0.0, 0.125, 0.25, 1.0 / 3.0, 0.5, 2.0 / 3.0, 0.75, 0.875};
    return static_cast<double>(code >> 3) - static_cast<double>(origin >> 3) + fraction[code & 7];
}

// The encoded byte of every signal, in steps fine enough that the table's
// rounding stays far below one byte's step.
class ByteTable {
public:
    explicit ByteTable(SensorResponse response) : bytes_(steps + 1) {
        for (int i = 0; i <= steps; ++i)
            bytes_[static_cast<size_t>(i)] =
                static_cast<uint8_t>(std::lround(encode_signal(response, static_cast<double>(i) / steps) * 255.0));
    }
    uint8_t operator()(double linear) const {
        if (!(linear > 0)) return bytes_.front();
        if (linear >= 1) return bytes_.back();
        return bytes_[static_cast<size_t>(std::lround(linear * steps))];
    }

private:
    static constexpr int steps = 1 << 20;
    std::vector<uint8_t> bytes_;
};

}  // namespace

std::optional<Scene> load_scene(const std::string& path) {
    auto picture = ra2picarray(path);
    if (!picture) return std::nullopt;
    const RgbePicture& p = picture.value();
    const float scale = static_cast<float>(physics::luminous_efficacy) / exposure_product(p.exposures);
    Scene scene{p.scanline_length, p.scanline_count, {}};
    scene.rgb.reserve(p.pixels.size() * 3);
    for (const RgbePixel& pixel : p.pixels) {
        const RgbColor color = decode_rgbe(pixel);
        scene.rgb.insert(scene.rgb.end(), {color.r * scale, color.g * scale, color.b * scale});
    }
    return scene;
}

Scene test_chart() {
    constexpr int width = 480, height = 320, ramp_height = 200;
    constexpr float patches[6][3] = {{1.6f, 0.5f, 0.5f}, {0.5f, 1.4f, 0.5f}, {0.5f, 0.5f, 3.0f},
                                     {1.3f, 1.1f, 0.3f}, {0.4f, 1.2f, 1.3f}, {1.0f, 1.0f, 1.0f}};
    Scene scene{width, height, std::vector<float>(static_cast<size_t>(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float* out = &scene.rgb[(static_cast<size_t>(y) * width + x) * 3];
            if (y < ramp_height) {
                const float grey = std::pow(10.0f, 4.0f * static_cast<float>(x) / (width - 1));
                out[0] = out[1] = out[2] = grey;
            } else {
                const float* patch = patches[x * 6 / width];
                for (int c = 0; c < 3; ++c) out[c] = 100.0f * patch[c];
            }
        }
    }
    return scene;
}

double exposure_seconds(uint32_t shutter_code) { return std::exp2(-stops(shutter_code, 0x38)); }

double f_number(uint32_t aperture_code) { return std::exp2(stops(aperture_code, 0x08) / 2.0); }

void apply_lens(Scene& scene, const std::vector<double>& vignetting, double fisheye_fraction) {
    if (vignetting.empty() && fisheye_fraction <= 0) return;
    const double cx = scene.width / 2.0, cy = scene.height / 2.0;
    const double radius = fisheye_fraction > 0 ? fisheye_fraction * std::min(cx, cy) : std::hypot(cx, cy);
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x) {
            const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            double light = 1;
            if (fisheye_fraction > 0 && r > 1) {
                light = 0;
            } else {
                double power = r * r;
                for (double a : vignetting) {
                    light += a * power;
                    power *= r * r;
                }
                light = std::max(light, 0.0);
            }
            float* pixel = &scene.rgb[(static_cast<size_t>(y) * scene.width + x) * 3];
            for (int c = 0; c < 3; ++c) pixel[c] = static_cast<float>(pixel[c] * light);
        }
}

std::string expose_jpeg(const Scene& scene, const ShotData& shot, SensorResponse response) {
    const double gain =
        mid_grey * shot.iso / meter_constant * shot.exposure_seconds / (shot.f_number * shot.f_number);
    const ByteTable encoded(response);
    std::vector<uint8_t> row(static_cast<size_t>(scene.width) * 3);

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(scene.width);
    info.image_height = static_cast<JDIMENSION>(scene.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::string exif = exif_block(shot);
    jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                      static_cast<unsigned>(exif.size()));
    for (int y = 0; y < scene.height; ++y) {
        const float* in = &scene.rgb[static_cast<size_t>(y) * scene.width * 3];
        for (size_t i = 0; i < row.size(); ++i) row[i] = encoded(in[i] * gain);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

}  // namespace sim
