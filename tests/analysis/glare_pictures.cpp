#include "glare_pictures.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/formula_pictures.h"

void write_glare_picture(const std::string& path, int width, int height, const std::string& view_line,
                         const std::function<float(int, int)>& luminance) {
    std::vector<std::string> lines;
    if (!view_line.empty()) lines.push_back(view_line);
    ASSERT_TRUE(write_grey_picture(
        path, width, height, [&luminance](int x, int row) { return luminance(x, row) / 179.0f; }, std::move(lines)));
}

void write_fisheye_with_source(const std::string& path, int size) {
    const float centre = size / 2.0f, radius = size / 20.0f;
    write_glare_picture(path, size, size, "VIEW= -vth -vh 180 -vv 180", [=](int x, int row) {
        const float dx = x + 0.5f - centre, dy = row + 0.5f - size / 4.0f;
        return dx * dx + dy * dy < radius * radius ? 20000.0f : 1000.0f;
    });
}
