#pragma once
// What the region list needs of the main window: the picture the regions
// belong to, the selection drawn with the selection tools, and the
// statistics context for analysing the regions. The Application implements
// it.

#include <cstdint>
#include <string>

#include "analysis/compute_statistics.h"
#include "view/region.h"

class RegionListHost {
public:
    virtual ~RegionListHost() = default;

    // The path the picture was opened from; "" before any.
    virtual std::string picture_path() const = 0;
    virtual bool has_picture() const = 0;
    virtual int32_t picture_width() const = 0;
    virtual int32_t picture_height() const = 0;

    // The current selection and the tool it was drawn with.
    virtual const Region& selection() const = 0;
    virtual RegionKind tool() const = 0;
    // Makes a region the current selection, as if drawn with `tool`.
    virtual void take_selection(const Region& region, RegionKind tool) = 0;
    virtual void repaint() = 0;

    // Whether the regions may be analysed now: a picture is loaded and no
    // wizard or falsecolor view has the statistics.
    virtual bool can_analyse() const = 0;
    virtual StatisticsContext statistics_context() = 0;
};
