#include "analysis/histogram_picture.h"

#include <cmath>

#include "common/text_format.h"

std::string decade_label(double luminance) {
    if (luminance >= 1e5 || luminance < 1e-4) return strprintf("%g", luminance);
    return strprintf("%.10g", luminance);
}

namespace {

// Bin i is drawn at x = w·i/256, its centre half a bin further: a log10
// luminance maps between the first and last bins' centres.
void add_axes(const RegionAnalysis& shown, float w, float h, HistogramPicture& picture) {
    const double first = shown.histogram.front().centre, last = shown.histogram.back().centre;
    const double bin = w / histogram_bins;
    auto x_of = [&](double log_l) {
        if (!(last > first)) return bin / 2;
        return bin / 2 + (log_l - first) / (last - first) * (histogram_bins - 1) * bin;
    };
    std::vector<double> marks;
    for (double k = std::ceil(first - 1e-9); k <= last + 1e-9; k += 1) marks.push_back(k);
    if (marks.size() < 2) {
        marks.clear();
        for (double k = std::floor(first); k <= std::ceil(last); k += 1)
            for (double m : {1.0, 2.0, 5.0}) {
                const double log_l = k + std::log10(m);
                if (log_l >= first - 1e-9 && log_l <= last + 1e-9) marks.push_back(log_l);
            }
    }
    for (double log_l : marks) {
        const double l = std::pow(10.0, log_l);
        // 2 and 5 times a decade are labelled as the round numbers they are.
        const double rounded = std::round(l / std::pow(10.0, std::floor(log_l + 1e-9))) *
                               std::pow(10.0, std::floor(log_l + 1e-9));
        picture.luminance_ticks.push_back({static_cast<float>(x_of(log_l)), decade_label(rounded)});
    }
    for (double share : {0.0, 0.5, 1.0})
        picture.count_ticks.push_back({h - h * static_cast<float>(share), format_default(shown.peak * static_cast<float>(share))});
}

}  // namespace

HistogramPicture histogram_picture(ResultView view, const RegionAnalysis& single, const RegionAnalysis& a,
                                   const RegionAnalysis& b, int width, int height) {
    HistogramPicture picture;
    if (view == ResultView::ratio_ab) return picture;
    const RegionAnalysis* shown = &single;
    if (view == ResultView::region_a) {
        shown = &a;
        picture.colour = BarColour::purple;
    } else if (view == ResultView::region_b) {
        shown = &b;
        picture.colour = BarColour::olive;
    }
    if (!(shown->peak > 0)) return picture;
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    for (int i = 0; i < histogram_bins; ++i) {
        const float count = shown->histogram[static_cast<size_t>(i)].count;
        if (!(count > 0)) continue;
        picture.bars.push_back({w * static_cast<float>(i) / histogram_bins, h, h - h * count / shown->peak});
    }
    add_axes(*shown, w, h, picture);
    return picture;
}
