#pragma once
// The wizards' side of drawing a region in the main window: a wizard page
// hides itself, the user draws, ENTER hands the selection back to the page
// that waits for it.

#include "view/region.h"

// Status labels of the analysis wizard's pages that wait for a region.
namespace region_page {
inline constexpr int single = 1018;
inline constexpr int region_a = 1048;
inline constexpr int region_b = 1054;
}  // namespace region_page

class AnalysisRegionReceiver {
public:
    virtual ~AnalysisRegionReceiver() = default;
    // True when the page with this status label waits for a region.
    virtual bool waiting(int status_label) const = 0;
    virtual void region_selected(const Region& region, int status_label) = 0;
};

class CalibrationRegionReceiver {
public:
    virtual ~CalibrationRegionReceiver() = default;
    virtual bool waiting() const = 0;
    // Shows the page; true when it was already visible.
    virtual bool show_page() = 0;
    virtual void region_selected(const Region& region) = 0;
};
