#include "analysis/lens_lines.h"

#include "analysis/result_lines.h"
#include "common/text_format.h"

std::string lux_text(double lux) { return strprintf("%.1f lx", lux); }

std::vector<LensLine> picture_illuminance_lines(const PictureLens& lens) {
    if (!lens.geometry) return {};
    std::vector<LensLine> lines{{"Vertical illuminance at the lens:", lux_text(lens.vertical_illuminance)}};
    // A view of the whole hemisphere gathers all the light reaching the
    // plane it faces: the hemispherical illuminance, horizontal when the
    // camera looks up.
    if (lens.geometry->full_hemisphere)
        lines.push_back({lens.geometry->looks_up ? "Hemispherical illuminance (horizontal: the view looks up):"
                                                 : "Hemispherical illuminance:",
                         lux_text(lens.vertical_illuminance)});
    return lines;
}

std::vector<LensLine> lens_lines(const PictureLens& lens, const LensFigures& region) {
    std::vector<LensLine> lines;
    if (!lens.geometry) {
        lines.push_back({"View:", "none in the picture's header"});
    } else {
        lines.push_back({"Pixels in view:", strprintf("%lld", static_cast<long long>(region.count_in_view))});
        lines.push_back({"Solid angle:", strprintf("%.4f sr", region.solid_angle)});
        lines.push_back({"Weighted mean:", format_truncated(static_cast<float>(region.weighted_mean), 2) + " cd/m\u00b2"});
        lines.push_back({"Illuminance from the region:", lux_text(region.vertical_illuminance) +
                                                         strprintf(" (%.1f %%)", 100.0 * region.illuminance_share)});
        for (const LensLine& line : picture_illuminance_lines(lens)) lines.push_back(line);
    }
    lines.push_back({"Clipped pixels:", strprintf("%lld", static_cast<long long>(region.ceiling_pixels))});
    return lines;
}
