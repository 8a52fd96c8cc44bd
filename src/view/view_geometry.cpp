#include "view/view_geometry.h"

#include <algorithm>

PointF window_to_picture(float zoom, PointF window, PointF pan) {
    return {(window.x - pan.x) / zoom + 0.5f, (window.y - pan.y) / zoom + 0.5f};
}

bool inside_picture(PointF picture, float width, float height) {
    return picture.x >= 0 && picture.x <= width && picture.y >= 0 && picture.y <= height;
}

PointF compute_placement(SizeF view, SizeF bitmap, float zoom, PointF drag) {
    const float scaled_width = bitmap.width * zoom;
    const float scaled_height = bitmap.height * zoom;
    const float centre_x = view.width >= scaled_width ? (view.width - scaled_width) / 2 + 0.5f : 0.0f;
    const float centre_y = view.height >= scaled_height ? (view.height - scaled_height) / 2 + 0.5f : 0.0f;
    const float offset_x = std::max(std::min(drag.x, 0.0f), std::min(view.width - scaled_width, 0.0f));
    const float offset_y = std::max(std::min(drag.y, 0.0f),
                                    std::min(view.height - placement_margin - scaled_height, 0.0f) - status_bar_height);
    return {centre_x + offset_x, centre_y + offset_y};
}

float fit_zoom(SizeF view, SizeF bitmap) {
    float zoom = std::min(view.width / bitmap.width, view.height / bitmap.height);
    zoom = static_cast<float>(static_cast<int>(zoom * 10.0f)) / 10.0f;
    return zoom < fit_zoom_minimum ? fit_zoom_minimum : zoom;
}

float wheel_zoom(float zoom, int delta) {
    const double step = delta > 0 ? 0.1 : -0.1;
    const float proposed = static_cast<float>(zoom + step);
    return proposed > 0.0f && proposed < wheel_zoom_limit ? proposed : zoom;
}
