#pragma once
// What each pixel of a picture sees through the lens: the solid angle of the
// part of it inside the view (sr) and its weight in the illuminance at the
// lens, ∫ cos θ dω over that part, from the picture's view.
//
// A fisheye (-vta, -vth, -vts) sees a circle: the part of the picture more
// than half the view's larger angle off axis is not scene, however the
// projection would continue there. A pixel wholly inside the circle keeps its
// exact corner solid angle and the cosine at its centre (as glare figures
// are computed); a pixel the rim cuts is integrated over the part inside, so
// that the whole circle sums to its true solid angle. Without that, the rim
// of a 180° hemispherical fisheye alone would lose several per cent: there a
// sliver of picture covers a wide band of sky.
//
// Light from behind the lens plane (cos θ < 0, an angular fisheye wider than
// 180° or a cylindrical panorama) does not reach a sensor facing forward: it
// has solid angle but no illuminance weight. Arrays are in the luminance
// map's order, row 0 the first scanline.

#include <optional>
#include <vector>

#include "picture/view_options.h"

struct LensGeometry {
    int width = 0;
    int height = 0;
    View view;
    // Single precision, 8 bytes a pixel for a camera's 24 million; every sum
    // over them is taken in double.
    std::vector<float> solid_angle;         // 0 for a pixel outside the view
    std::vector<float> illuminance_weight;  // ∫ max(cos θ, 0) dω over the pixel's part in view
    // The view sees the whole hemisphere in front (a fisheye of 180° or more
    // both ways): its illuminance is the full hemispherical illuminance.
    bool full_hemisphere = false;
    // The view looks straight up (within 1°): that illuminance is horizontal.
    bool looks_up = false;

    bool in_view(size_t index) const { return solid_angle[index] > 0; }
};

// The geometry of a width × height picture with `view`; nothing without a
// view or for one with no usable geometry (parallel, refused). A centred
// view is worked out for a quarter of the picture and mirrored (`ignore`
// works out every pixel, to check that against).
enum class LensSymmetry { use, ignore };
std::optional<LensGeometry> lens_geometry(const std::optional<View>& view, int width, int height);
std::optional<LensGeometry> lens_geometry(const std::optional<View>& view, int width, int height,
                                          LensSymmetry symmetry);

// The largest angle off axis a fisheye view sees, in radians (half its
// larger angle); 0 for the other types.
double image_circle_angle(const View& view);
