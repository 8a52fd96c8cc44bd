#pragma once
// Where the response recovery looks: sample positions spread over the
// brightness range of the scene and over the picture, taken from each
// picture's 8 x 8 block means (ReducedPicture) so that the full pictures are
// decoded only once, for the merge.

#include <vector>

#include "assembly/response_curve.h"
#include "assembly/series_picture.h"

// Cells whose neighbours have nearly the same codes in every picture are
// preferred: a block mean then stands for its pixels. The pictures are in
// the series' order and log_exposures gives ln(t·S/N²) for each.
ResponseSamples choose_response_samples(const std::vector<ReducedPicture>& pictures,
                                        const std::vector<double>& log_exposures);
