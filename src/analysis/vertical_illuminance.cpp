#include "analysis/vertical_illuminance.h"

#include "picture/view_projection.h"

std::optional<View> picture_view(const std::vector<std::string>& header_lines) {
    std::optional<View> view;
    for (const auto& line : header_lines) {
        if (line.rfind("VIEW=", 0) != 0) continue;
        if (!view) view = View{};
        apply_view_options(*view, std::string_view(line).substr(5));
    }
    return view;
}

namespace {

VerticalIlluminance pi_times_mean(const LuminanceMap& map) {
    double sum = 0;
    size_t count = 0;
    for (float l : map.data) {
        if (l > lit_luminance) {
            sum += l;
            ++count;
        }
    }
    VerticalIlluminance result;
    result.method = 'h';
    result.pixels = count;
    if (count == 0) return result;
    const float mean = static_cast<float>(sum / static_cast<double>(count));
    result.lux = pi_float * mean;
    return result;
}

}  // namespace

bool full_hemispherical(const View& view) {
    return view.type == 'h' && view.horizontal == 180 && view.vertical == 180 && view.shift == 0 && view.lift == 0;
}

VerticalIlluminance vertical_illuminance(const LuminanceMap& map, const std::optional<View>& view) {
    if (!view || full_hemispherical(*view) || view->type == 'l') return pi_times_mean(map);
    const auto projection = ViewProjection::make(*view, map.width, map.height);
    if (!projection) return pi_times_mean(map);
    const PixelGeometry geometry = pixel_geometry(*projection);
    const Vector3 forward = projection->frame().forward;
    double sum = 0;
    size_t count = 0;
    const size_t width = static_cast<size_t>(map.width);
    for (int row = 0; row < map.height; ++row) {
        // The geometry counts rows from the bottom, the map from the top.
        const size_t j = static_cast<size_t>(map.height - 1 - row);
        for (size_t i = 0; i < width; ++i) {
            const size_t g = j * width + i;
            if (!geometry.has_direction(g) || geometry.solid_angle[g] <= 0) continue;
            const double cosine = dot(geometry.direction[g], forward);
            // An angular fisheye wider than 180° sees behind the camera; that
            // light does not reach a vertical sensor facing forward.
            if (view->type == 'a' && cosine < 0) continue;
            const float l = map.data[static_cast<size_t>(row) * width + i];
            if (!(l > lit_luminance)) continue;
            sum += static_cast<double>(l) * cosine * geometry.solid_angle[g];
            ++count;
        }
    }
    return {static_cast<float>(sum), view->type, count, false};
}
