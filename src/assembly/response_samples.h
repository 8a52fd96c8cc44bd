#pragma once
// Where the response recovery looks: sample positions spread over the
// brightness range of the scene and over the picture, taken from each
// picture's 8 x 8 block means (ReducedPicture) so that the full pictures are
// decoded only once, for the merge.

#include <limits>
#include <vector>

#include "assembly/response_curve.h"
#include "assembly/series_picture.h"

// How far the cell at `index` (not on the picture's edge) and its eight
// neighbours stray from flat in `channel` in the worst picture, in codes
// beyond a tolerance of 2 codes (or 1 % of the range) plus 1 % of its value;
// 0 or less is flat: the cell's mean then stands for each of its pixels.
// Pictures where the cell's code is `unjudged_from` or more are left out.
int cell_roughness(const std::vector<ReducedPicture>& pictures, size_t index, int channel,
                   int unjudged_from = std::numeric_limits<int>::max());

// Cells whose neighbours have nearly the same codes in every picture are
// preferred: a block mean then stands for its pixels. The pictures are in
// the series' order and log_exposures gives ln(t·S/N²) for each.
ResponseSamples choose_response_samples(const std::vector<ReducedPicture>& pictures,
                                        const std::vector<double>& log_exposures);
