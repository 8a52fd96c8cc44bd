#pragma once
// Alignment of a hand-held series by median threshold bitmaps (Ward 2003),
// translation only: each picture's grey levels are split at their median,
// which does not depend on the exposure, and the shift that makes most of
// two pictures' bitmaps agree (leaving out pixels near the median) is found
// coarse to fine over a pyramid of halved pictures.
//
// Shifts are in picture pixels: the scene point at (x, y) in the reference
// picture is at (x + dx, y + dy) in the shifted one.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "assembly/series_picture.h"
#include "common/result.h"

struct PictureShift {
    int dx = 0;
    int dy = 0;
    friend bool operator==(const PictureShift&, const PictureShift&) = default;
};

// Grey levels (0..255) of a picture, row-major.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> grey;
};

// The shift of `moved` against `reference`, up to 2^levels pixels either way.
PictureShift median_threshold_shift(const GreyPicture& reference, const GreyPicture& moved, int levels = 6);

// Each picture's shift against the series' middle exposure (0, 0 for
// itself); exposures: t·S/N² per picture. The pictures are decoded once
// more, two at a time besides the reference.
Result<std::vector<PictureShift>> align_series(const std::vector<std::string>& pictures,
                                               const std::vector<double>& exposures);

// A picture read through a shift: rows and columns that fall outside it are
// code 0 (no weight in the merge).
std::unique_ptr<SeriesPicture> shifted_picture(std::unique_ptr<SeriesPicture> picture, PictureShift shift);

// The same for the reduced copy (the shift divided by the reduction).
void shift_reduced(ReducedPicture& picture, PictureShift shift);
