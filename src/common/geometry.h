#pragma once
// Points and sizes in single precision, shared by the view, the selection
// tools and the Desktop seam.

struct PointF {
    float x = 0;
    float y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct SizeF {
    float width = 0;
    float height = 0;
};
