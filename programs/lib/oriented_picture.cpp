#include "lib/oriented_picture.h"

PixelPosition OrientedPicture::position(int scanline, int index) const {
    const int count = resolution.scanline_count;
    const int length = resolution.scanline_length;
    const bool x_down = (resolution.flags & ResolutionLine::x_decreasing) != 0;
    const bool y_down = (resolution.flags & ResolutionLine::y_decreasing) != 0;
    if (rows_are_scanlines())
        return {x_down ? length - 1 - index : index, y_down ? count - 1 - scanline : scanline};
    return {x_down ? count - 1 - scanline : scanline, y_down ? length - 1 - index : index};
}

size_t OrientedPicture::file_index(PixelPosition position) const {
    const int count = resolution.scanline_count;
    const int length = resolution.scanline_length;
    const bool x_down = (resolution.flags & ResolutionLine::x_decreasing) != 0;
    const bool y_down = (resolution.flags & ResolutionLine::y_decreasing) != 0;
    int scanline = 0, index = 0;
    if (rows_are_scanlines()) {
        scanline = y_down ? count - 1 - position.y : position.y;
        index = x_down ? length - 1 - position.x : position.x;
    } else {
        scanline = x_down ? count - 1 - position.x : position.x;
        index = y_down ? length - 1 - position.y : position.y;
    }
    return static_cast<size_t>(scanline) * static_cast<size_t>(length) + static_cast<size_t>(index);
}
