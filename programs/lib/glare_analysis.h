#pragma once
// The glare analysis of one picture under one view: vertical illuminance,
// field of view, task area, glare sources and the indices computed from
// them. Every figure is in cd/m², lux, sr or degrees.
//
// The order of the steps matters where they change the picture: pixels
// outside the view are blackened first, then the missing rows are filled,
// then Ev and the mean luminance are taken, and only after that does the
// Guth field cut pixels away, so that the cut changes what glares but not
// the light at the eye.

#include <string>
#include <vector>

#include "lib/glare_indices.h"
#include "lib/glare_options.h"
#include "lib/glare_sources.h"
#include "lib/luminance_picture.h"
#include "lib/sight_angles.h"
#include "lib/program_status.h"
#include "picture/view_projection.h"

struct GlareAnalysis {
    PixelGeometry geometry;        // of the rows, index y * width + x
    std::vector<float> luminance;  // what was analysed: 0 outside the view and the Guth field
    std::vector<uint8_t> valid;
    std::vector<uint8_t> in_task;  // pixels of the task area
    std::vector<uint8_t> not_near_self;  // see radiance_rays.h
    GlareSources sources;
    std::vector<SourceSummary> summaries;

    double illuminance = 0;         // Ev from the picture
    double solid_angle = 0;         // of the valid pixels
    double average = 0;             // mean luminance over the view
    double task_luminance = 0;      // the task area's, or the average without one
    double threshold = 0;
    double direct_illuminance = 0;  // the glare pixels' share of Ev
    double background = 0;          // (Ev - direct) / π, not below 0
    GlareIndices indices;
    std::vector<std::string> notices;  // for standard error, before the result
};

// Analyses `luminance` (rows as luminance_picture.h lays them out, placed in
// the view by `layout`; taken over and changed) seen in `view` through its
// `projection`. Fails for a picture without a
// valid pixel, a task area outside the picture and a perspective view of
// what is evidently a fisheye picture. With `illuminance_only` it stops
// once Ev and the mean luminance are known.
ProgramStatus analyse_glare(std::vector<float> luminance, const View& view, const ViewProjection& projection,
                            const RowLayout& layout, const GlareOptions& options, GlareAnalysis& result);
