#include "analysis/region_choice.h"

#include <filesystem>

#include "analysis/region_scan.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "tools/command_path.h"
#include "tools/pixel_operations.h"

namespace fs = std::filesystem;

namespace {

std::string lower_ending(const std::string& path) {
    std::string ending = path;
    for (char& c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ending;
}

}  // namespace

int mask_type_of(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return 0;
    const std::string ending = lower_ending(path.substr(dot + 1));
    if (ending == "hdr") return mask_hdr;
    if (ending == "pic") return mask_pic;
    if (ending == "bmp") return mask_bmp;
    if (ending == "tif" || ending == "tiff") return mask_tiff;
    return 0;
}

bool region_inside_picture(const RegionChoice& choice, int32_t width, int32_t height) {
    if (choice.source != RegionChoice::Source::drawn) return true;
    const Region& r = choice.geometry;
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    auto inside = [&](float x, float y) { return x >= 0 && x <= w && y >= 0 && y <= h; };
    switch (choice.tool) {
    case RegionKind::rectangle: return inside(r.x0, r.y0) && inside(r.x1, r.y1);
    case RegionKind::circle:
        return r.radius >= 0 && inside(r.centre_x - r.radius, r.centre_y - r.radius) &&
               inside(r.centre_x + r.radius, r.centre_y + r.radius);
    case RegionKind::polygon:
        for (int i = 0; i < r.vertex_count; ++i)
            if (!inside(r.vertices[static_cast<size_t>(i)].x, r.vertices[static_cast<size_t>(i)].y)) return false;
        return true;
    case RegionKind::mask: return true;
    }
    return true;
}

// The selection tools never let a region leave the picture; neither do we.
std::string region_problem(const RegionChoice& choice, const std::string& name, int32_t width, int32_t height) {
    if (choice.source == RegionChoice::Source::mask_file) {
        if (!is_command_safe_path(choice.mask_file))
            return "Path Error: File path cannot contain spaces (" + choice.mask_file + ")";
        std::error_code ec;
        if (!fs::exists(choice.mask_file, ec)) return "the mask file " + choice.mask_file + " does not exist";
        if (const std::string problem = regular_file_problem(choice.mask_file); !problem.empty())
            return "the mask file " + choice.mask_file + ": " + problem;
        return {};
    }
    if (choice.source != RegionChoice::Source::drawn) return {};
    if (!region_inside_picture(choice, width, height))
        return name + strprintf(" reaches outside the picture (%d x %d pixels)", width, height);
    if (!region_is_sampled(choice.geometry, choice.tool))
        return name +
               " is too small: a rectangle needs a whole pixel each way, a circle a radius of 0.5 or more, a polygon "
               "four vertices or more";
    return {};
}
