#pragma once
// The analysis wizard's shared records: which analysis, where each region
// comes from, which statistics are wanted and what the results page shows.
//
// Three records live while the wizard is open: the main one (analysis kind,
// the single region, the statistics choices and the result view) and one for
// Region A and one for Region B (their source and mask file only; their
// percentile and criterion stay off). A record that was never touched by a
// page asks for nothing: every statistic beyond the general ones is off.

#include <cstdint>
#include <string>

enum class AnalysisKind : int32_t { none = 0, single_region = 1, multiple_regions = 2, glare = 3 };
enum class RegionSource : int32_t { none = 0, from_image = 1, from_mask_file = 2 };
enum class CriterionKind : int32_t { greater_than = 0, lesser_than = 1, equal_to = 2 };
enum class ResultView : int32_t { single = 0, region_a = 1, region_b = 2, ratio_ab = 3 };

struct AnalysisSettings {
    AnalysisKind kind = AnalysisKind::none;
    RegionSource source = RegionSource::none;
    bool awaiting_region = false;  // the sheet is hidden while the user draws
    std::string mask_file;         // full path; empty when none was chosen
    int mask_type = 0;             // the mask dialog's type index (1..4) of mask_file
    bool general_statistics = false;
    bool percentile_enabled = false;  // two regions: "Contrast"
    bool criterion_enabled = false;
    float upper_percentile = 0;  // percent
    float lower_percentile = 0;  // percent
    CriterionKind criterion_kind = CriterionKind::greater_than;
    float criterion_threshold = 0;  // cd/m², as typed (a decimal number)
    ResultView result_view = ResultView::single;
    // "Weight by solid angle": mean, standard deviation, median and the
    // percentile ratio weigh each pixel by the sky it covers (pictures with a
    // view only).
    bool weight_by_solid_angle = false;
};
