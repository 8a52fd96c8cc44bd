#pragma once
// Where the pixels of a picture look, under Radiance's view model: the unit
// direction through a point of the image, the way back from a direction to
// the image, and the exact solid angle each pixel covers.
//
// Image coordinates x and y run from -0.5 at the left and bottom edges to 0.5
// at the right and top edges, before the view's shift and lift are added.
// Pixel (i, j) counts i from the left and j from the bottom, whatever order
// the picture file stores its scanlines in; its centre is at
// ((i + 0.5) / W - 0.5, (j + 0.5) / H - 0.5). Directions are unit vectors in
// the view's world coordinates; angles are in radians, solid angles in
// steradians.
//
// A pixel's solid angle is the area of the spherical quadrilateral spanned by
// the directions of its four corners, not the projection's Jacobian at its
// centre: the two differ by several per cent near the rim of a hemispherical
// fisheye, and the corner form is what glare figures are calibrated against.
// A pixel with a corner outside the view's domain covers 0 sr.

#include <optional>
#include <vector>

#include "picture/vector3.h"
#include "picture/view_options.h"

// The view's axes: forward is the view direction, right = forward × up, and
// up is made perpendicular to both. All three have unit length.
struct ViewFrame {
    Vector3 forward;
    Vector3 right;
    Vector3 up;
};

struct ImagePoint {
    double x = 0;
    double y = 0;
};

class ViewProjection {
public:
    // The projection of `view` onto a picture of width × height pixels;
    // nothing for a parallel view (all its pixels look the same way), an
    // empty picture, or a view that view_problem() refuses.
    static std::optional<ViewProjection> make(const View& view, int width, int height);

    char type() const { return type_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const ViewFrame& frame() const { return frame_; }

    // The direction through image point (x, y) (shift and lift are added
    // here); nothing outside the view's domain (beyond 180° off axis in an
    // angular fisheye, outside the circle of a hemispherical one).
    std::optional<Vector3> direction(double x, double y) const;
    std::optional<Vector3> pixel_direction(int i, int j) const;

    // The image point (shift and lift taken off) that a unit direction maps
    // to, possibly outside the picture; nothing when the projection has no
    // point for it (behind a perspective or hemispherical view, straight up
    // or down in a cylindrical one, the antipode of the axis in the fisheyes).
    std::optional<ImagePoint> image_point(const Vector3& direction) const;

    // The exact solid angle of pixel (i, j).
    double pixel_solid_angle(int i, int j) const;

private:
    // The direction in the frame's own coordinates (right, up, forward).
    bool local_direction(double x, double y, double out[3]) const;

    char type_ = 'v';
    int width_ = 0;
    int height_ = 0;
    double horizontal_ = 0;  // full view sizes in radians
    double vertical_ = 0;
    double shift_ = 0;
    double lift_ = 0;
    double scale_x_ = 0;  // the type's factor from image coordinate to its plane
    double scale_y_ = 0;
    ViewFrame frame_;
};

// The factor from an image coordinate (-0.5 to 0.5 across the picture) to the
// view type's image plane, for a view `angle` radians across in that
// direction: the angle itself for angular and, horizontally, cylindrical
// views; 2 tan(a/2) for perspective (and cylindrical vertically), 2 sin(a/2)
// hemispherical, 2 tan(a/4) planisphere. Any other type counts as
// perspective.
double image_plane_scale(char type, double angle, bool vertical);

// The solid angle of the spherical triangle with unit-vector corners a, b, c
// (Van Oosterom and Strackee 1983: tan(Ω/2) = |a·(b×c)| / (1 + a·b + b·c + c·a)).
double triangle_solid_angle(const Vector3& a, const Vector3& b, const Vector3& c);

// Every pixel's centre direction and exact solid angle, each pixel corner
// computed once for the four pixels that share it. Index j * width + i.
struct PixelGeometry {
    int width = 0;
    int height = 0;
    std::vector<Vector3> direction;    // the zero vector where the centre has none
    std::vector<double> solid_angle;   // 0 where the centre or a corner has no direction

    bool has_direction(size_t index) const { return dot(direction[index], direction[index]) > 0; }
};

PixelGeometry pixel_geometry(const ViewProjection& projection);
