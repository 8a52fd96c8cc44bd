#pragma once
// One region analysed as the results page shows it: its statistics (with
// the histogram when the context asks for it) and its figures through the
// picture's lens, every pixel counting alike. The solid-angle weighting is
// applied afterwards by the caller, who may switch it back and forth.
//
// The results page, candelux-cli stats and the table of named regions all
// take a region's figures from here, so a region gives the same figures
// whichever of them analyses it.

#include <optional>

#include "analysis/analysis_host.h"
#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"
#include "analysis/lens_figures.h"
#include "analysis/region_choice.h"

// The region as the wizard hands it to the results page. A mask file and
// the whole picture are sampled whole: every pixel.
WizardRegion wizard_region(const RegionChoice& choice);

struct RegionAttempt {
    // Nothing when a mask region's mask could not be applied (the Desktop
    // has shown why): there is nothing to sample.
    std::optional<RegionAnalysis> analysis;
    // The sample file or the histogram's programs failed (the Desktop has
    // shown why); the analysis is then empty, as the results page shows it.
    bool program_failed = false;
};

// `record.source` says whether `region` (drawn) or the record's mask file is
// sampled; a mask is applied to the scratch copy `scratch` ("/...") in the
// cache folder.
RegionAttempt analyse_region(StatisticsContext& context, const PictureLens& lens, const WizardRegion& region,
                             const AnalysisSettings& record, const char* scratch);
