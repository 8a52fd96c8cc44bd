#pragma once
// What each code of each picture contributes to a merged pixel: its weight,
// and the signal it stands for per unit of exposure, scaled to the output's
// values. A table lookup per code keeps the merge to additions.
//
// Weights: Debevec and Malik's hat, except that the shortest exposure keeps
// its full weight above mid-range (so that bright sources, which no other
// picture shows unclipped, keep a value) and the longest keeps it below
// mid-range (so that the darkest corners do). Clipped codes (clipped_code
// and above) and code 0 have weight 0.

#include <array>
#include <cstdint>
#include <vector>

#include "assembly/response_curve.h"

struct MergeTables {
    int levels = 255;
    int clipped = 250;  // the first clipped code
    size_t shortest = 0;  // picture index of the least exposure
    size_t longest = 0;
    std::vector<std::vector<float>> weight;              // per picture: levels + 1
    std::vector<std::array<std::vector<float>, 3>> value;  // per picture and channel: levels + 1

    // exposures: t·S/N² (or t alone) per picture; reference: the exposure
    // whose signal the output's values are (an output value of 1 is what
    // full well would be in a picture of that exposure).
    MergeTables(const ResponseCurve& curve, const std::vector<double>& exposures, double reference, int levels);
};

// Merges one row band. codes[j] holds the band of picture j (pixels * 3
// samples). out receives pixels * 3 values. Returns how many pixels are
// saturated even in the shortest exposure (kept at its value) and counts
// the pixels black in every picture into `black`.
size_t merge_band(const MergeTables& tables, const std::vector<const uint16_t*>& codes, size_t pixels, float* out,
                  size_t& black);
