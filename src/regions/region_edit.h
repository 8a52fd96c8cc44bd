#pragma once
// How the geometric edits of the Edit menu move a picture's pixels, so that
// the named regions drawn on it follow them: the clockwise quarter turn
// (protate), the half turn and the flips (pflip -c), a crop (pcompos) and a
// resize (pfilt). Positions are picture pixels with pixel i spanning
// [i, i + 1), row 0 the first scanline, as the regions keep them.

#include <cstdint>

#include "regions/region_file.h"
#include "common/geometry.h"

enum class PictureEditKind { quarter_turn, half_turn, flip_horizontal, flip_vertical, crop, resize };

struct PictureEdit {
    PictureEditKind kind = PictureEditKind::quarter_turn;
    int32_t width = 0, height = 0;          // the picture before the edit
    int32_t new_width = 0, new_height = 0;  // crop and resize: the picture after it
    int32_t left = 0, top = 0;              // crop: where the piece began
};

// The point of the picture before the edit where it is after the edit.
PointF edited_point(const PictureEdit& edit, PointF point);

// The region after the edit, holding the same pixels of the scene as the
// analysis samples them: the rectangle by the edges of its whole pixels,
// the circle by the middle of the pixel its centre lies in, the polygon by
// its vertices as sampling points (pixel i at the point i); the outline
// moves by less than a pixel from where it was drawn. A resize scales as
// scaled_region does. A mask region is a file and stays as it is.
NamedRegion edited_region(const NamedRegion& region, const PictureEdit& edit);
