#pragma once
// A day of small fisheye captures for the series tests: 180° angular
// pictures of a 700 cd/m² room whose window patch brightens and grows
// towards noon, each with its CAPDATE= line. The pictures' names run in a
// different order than their times, so that time order shows.

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/formula_pictures.h"

// Grey value for a luminance in cd/m² (one grey unit is 179 cd/m²).
inline float grey_for_luminance(float luminance) { return luminance / 179.0f; }

// The picture of hour `hour` (fractions allowed) on 21 June 2026.
inline bool write_day_picture(const std::filesystem::path& path, double hour, int size = 64) {
    const double noon = 1.0 - std::abs(hour - 12.5) / 6.0;  // 0 at dawn and dusk, 1 at noon
    const double patch = 0.08 + 0.14 * std::max(0.0, noon);
    const float window = static_cast<float>(2000 + 60000 * std::max(0.0, noon) * std::max(0.0, noon));
    const int h = static_cast<int>(hour);
    const int m = static_cast<int>(std::lround((hour - h) * 60)) % 60;
    char capdate[64];
    std::snprintf(capdate, sizeof capdate, "CAPDATE= 2026:06:21 %02d:%02d:00", h, m);
    return write_grey_picture(
        path.string(), size, size,
        [&](int x, int y) {
            const double u = (x + 0.5) / size * 2 - 1, v = (y + 0.5) / size * 2 - 1;
            if (u * u + v * v > 1) return 0.0f;
            const double du = u - 0.35, dv = v + 0.1;
            if (du * du + dv * dv < patch * patch) return grey_for_luminance(window);
            return grey_for_luminance(700);
        },
        {capdate, "VIEW= -vta -vv 180 -vh 180"});
}

// `count` pictures from `first_hour` on, every `step` hours; the names run
// backwards in time (the first picture is the last by name).
inline std::vector<std::filesystem::path> write_day(const std::filesystem::path& folder, int count,
                                                    double first_hour = 6, double step = 1, int size = 64) {
    std::filesystem::create_directories(folder);
    std::vector<std::filesystem::path> written;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "pic-%03d.hdr", count - 1 - i);
        written.push_back(folder / name);
        write_day_picture(written.back(), first_hour + i * step, size);
    }
    return written;
}
