#pragma once
// The histogram the results page paints in its frame: one vertical line per
// bin, from the bottom edge up to count / peak of the frame's height, in the
// colour of the region shown. Frame pixels, origin at the top left.

#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"

enum class BarColour { black, purple, olive };

struct BarLine {
    float x = 0;
    float bottom = 0;  // the frame's height
    float top = 0;
};

// A labelled mark on an axis: x (luminance) or y (count) in frame pixels.
struct AxisTick {
    float position = 0;
    std::string label;
};

inline constexpr const char* luminance_axis_caption = "cd/m\u00b2 (log)";
inline constexpr const char* count_axis_caption = "pixels";

struct HistogramPicture {
    BarColour colour = BarColour::black;
    std::vector<BarLine> bars;  // empty: the frame stays white
    // The luminance axis is logarithmic: a mark at every decade (1, 10,
    // 100 ...) the bins span, and at 2 and 5 times them when fewer than two
    // decades fall inside. The count axis: 0, half the peak and the peak.
    std::vector<AxisTick> luminance_ticks;
    std::vector<AxisTick> count_ticks;
};

// A luminance as a decade mark says it: 0.01, 0.1, 1, 10 ... 10000, then 1e+05.
std::string decade_label(double luminance);

// Region A in purple, Region B in olive, the single region in black; the
// ratio view shows no histogram, and neither does a peak of 0.
HistogramPicture histogram_picture(ResultView view, const RegionAnalysis& single, const RegionAnalysis& a,
                                   const RegionAnalysis& b, int width, int height);
