#pragma once
// The histogram the results page paints in its frame: one vertical line per
// bin, from the bottom edge up to count / peak of the frame's height, in the
// colour of the region shown. Frame pixels, origin at the top left.

#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"

enum class BarColour { black, purple, olive };

struct BarLine {
    float x = 0;
    float bottom = 0;  // the frame's height
    float top = 0;
};

struct HistogramPicture {
    BarColour colour = BarColour::black;
    std::vector<BarLine> bars;  // empty: the frame stays white
};

// Region A in purple, Region B in olive, the single region in black; the
// ratio view shows no histogram, and neither does a peak of 0.
HistogramPicture histogram_picture(ResultView view, const RegionAnalysis& single, const RegionAnalysis& a,
                                   const RegionAnalysis& b, int width, int height);
