#pragma once
// Moving a picture from one fisheye view to another (both sharing one
// viewpoint), in either of two ways:
//
// Splatting, the default and Radiance pinterp's way: each input pixel goes
//   forward to the output cell its centre's direction lands in, and fills the
//   cells from there up to (not including) where its right-hand neighbour and
//   the neighbour above landed, so that a magnified area has no holes. The
//   input is walked scanline by scanline in file order, each scanline from
//   its last pixel to its first; a cell keeps the first pixel that reaches it.
//   Pixel bytes are copied unchanged, so the output holds input values only;
//   where the output magnifies (a 180-degree angular picture's centre, by
//   pi/2) it looks like nearest-neighbour enlargement. Empty cells that
//   filled ones surround (holes: only where the output is much larger than
//   the input) take the input pixel their centre sees.
// Bilinear: each output pixel takes its centre's direction back into the
//   input and blends the four input pixels around that point, leaving out
//   those that show nothing of the output view (the black corners of a
//   fisheye photograph) and sharing their weight among the others.
//
// The output comes back in standard order (top row first, each row left to
// right); cells that receive nothing are black (all four bytes 0).

#include <vector>

#include "lib/fisheye_reprojection.h"
#include "lib/oriented_picture.h"

std::vector<RgbePixel> splat_reprojection(const OrientedPicture& input, const FisheyeView& from,
                                          const FisheyeView& to, PictureSize size);

std::vector<RgbePixel> bilinear_reprojection(const OrientedPicture& input, const FisheyeView& from,
                                             const FisheyeView& to, PictureSize size);
