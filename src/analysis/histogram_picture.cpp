#include "analysis/histogram_picture.h"

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
    return picture;
}
