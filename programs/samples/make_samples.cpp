// make_samples: writes synthetic Radiance pictures for demonstrations and
// tests into a folder.
//
//   chart.hdr    960 x 400 luminance chart: 15 grey patches from 0.01 to
//                100 000 cd/m² (1 and 3 of each decade), one patch of exact
//                zeros, and a logarithmic gradient over the same range.
//   fisheye.hdr  512 x 512, 180° angular fisheye looking at the horizon:
//                sky, ground and a small sun-like source.
//
// Usage: make_samples <folder>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/physics.h"
#include "picture/rgbe_writer.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// A grey pixel of the given luminance (cd/m²): BT.709 weights sum to 1.
RgbePixel grey(double luminance) {
    const float v = static_cast<float>(luminance / physics::luminous_efficacy);
    return encode_rgbe(v, v, v);
}

bool write_chart(const std::string& path) {
    constexpr int width = 960, height = 400, patch = 120;
    static const double patches[2][8] = {
        {0.01, 0.03, 0.1, 0.3, 1, 3, 10, 30},
        {100, 300, 1000, 3000, 10000, 30000, 100000, 0},
    };
    std::vector<RgbePixel> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            RgbePixel& p = pixels[static_cast<size_t>(y) * width + static_cast<size_t>(x)];
            if (y < 2 * patch) {
                const int row = y / patch, column = x / patch;
                const int u = x % patch, v = y % patch;
                // A thin frame of 5 cd/m² separates the patches.
                const bool frame = u < 2 || v < 2 || u >= patch - 2 || v >= patch - 2;
                const double value = patches[row][column];
                p = frame ? grey(5.0) : value == 0 ? RgbePixel{} : grey(value);
            } else if (y < 2 * patch + 120) {
                // log10 L from -2 to 5 across the width.
                const double t = (x + 0.5) / width;
                p = grey(std::pow(10.0, -2.0 + 7.0 * t));
            } else {
                // Colour bars of equal luminance (100 cd/m²): red, green, blue, grey.
                const int bar = x * 4 / width;
                const double l = 100.0 / physics::luminous_efficacy;
                const float r = static_cast<float>(bar == 0 ? l / physics::weight_red : bar == 3 ? l : 0);
                const float g = static_cast<float>(bar == 1 ? l / physics::weight_green : bar == 3 ? l : 0);
                const float b = static_cast<float>(bar == 2 ? l / physics::weight_blue : bar == 3 ? l : 0);
                p = encode_rgbe(r, g, b);
            }
        }
    }
    RgbePictureHeader header;
    header.lines = {"SOFTWARE= candelux make_samples", "EXPOSURE=1.000000e+00"};
    header.resolution = standard_resolution(width, height);
    return write_rgbe_picture(path, header, pixels);
}

bool write_fisheye(const std::string& path) {
    constexpr int size = 512;
    // Sun 30° above the horizon, 20° to the right of the view direction.
    const double sun_alt = 30 * pi / 180, sun_az = 20 * pi / 180;
    const double sun[3] = {std::cos(sun_alt) * std::sin(sun_az), std::sin(sun_alt), std::cos(sun_alt) * std::cos(sun_az)};
    std::vector<RgbePixel> pixels(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Angular fisheye: distance from the centre is proportional to the
            // angle from the view direction (+z), 90° at the rim.
            const double u = (x + 0.5) / size * 2 - 1, v = 1 - (y + 0.5) / size * 2;
            const double r = std::sqrt(u * u + v * v);
            RgbePixel& p = pixels[static_cast<size_t>(y) * size + static_cast<size_t>(x)];
            if (r > 1) continue;  // outside the image circle: exact zeros
            const double theta = r * pi / 2;
            const double dx = r > 0 ? u / r * std::sin(theta) : 0;
            const double dy = r > 0 ? v / r * std::sin(theta) : 0;
            const double dz = std::cos(theta);
            const double cos_sun = dx * sun[0] + dy * sun[1] + dz * sun[2];
            double luminance;
            if (cos_sun > std::cos(0.6 * pi / 180)) {
                luminance = 5.0e5;  // a sun-like disc, a little larger than the real one
            } else if (dy >= 0) {
                // Overcast-like sky, brighter towards the zenith, with a glow around the sun.
                luminance = 4000 * (1 + 2 * dy) / 3 + 20000 * std::pow(std::max(cos_sun, 0.0), 32);
            } else {
                luminance = 800;  // ground
            }
            const float value = static_cast<float>(luminance / physics::luminous_efficacy);
            p = encode_rgbe(dy >= 0 ? value * 0.95f : value * 1.1f, value, dy >= 0 ? value * 1.1f : value * 0.85f);
        }
    }
    RgbePictureHeader header;
    header.lines = {"SOFTWARE= candelux make_samples", "VIEW= -vta -vv 180 -vh 180"};
    header.resolution = standard_resolution(size, size);
    return write_rgbe_picture(path, header, pixels);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 1;
    }
    const std::string folder = argv[1];
    if (!write_chart(folder + "/chart.hdr")) {
        std::fprintf(stderr, "%s: cannot write %s/chart.hdr\n", argv[0], folder.c_str());
        return 1;
    }
    if (!write_fisheye(folder + "/fisheye.hdr")) {
        std::fprintf(stderr, "%s: cannot write %s/fisheye.hdr\n", argv[0], folder.c_str());
        return 1;
    }
    return 0;
}
