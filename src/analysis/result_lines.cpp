#include "analysis/result_lines.h"

#include <cmath>

#include "common/text_format.h"

std::string format_truncated(float value, int decimals) {
    const std::string full = format_default(value);
    if (full.find_first_of("eE") != std::string::npos) return full;
    const size_t point = full.find('.');
    if (point == std::string::npos) return full;
    const size_t length = point + 1 + static_cast<size_t>(decimals);
    if (full.size() <= length) return full;
    const std::string cut = full.substr(0, length);
    if (parse_decimal_float(full) - parse_decimal_float(cut) > 1.0f) return full;
    return cut;
}

float region_contrast(float mean_a, float mean_b) { return std::fabs((mean_a - mean_b) / mean_b); }

namespace {

const char* criterion_words(CriterionKind kind) {
    switch (kind) {
    case CriterionKind::greater_than: return "% pixels are greater than ";
    case CriterionKind::lesser_than: return "% pixels are lesser than ";
    case CriterionKind::equal_to: return "% pixels are equal to ";
    }
    return "";
}

void general_values(ResultLines& lines, const RegionStatistics& s, int minimum_decimals) {
    using namespace results_ids;
    lines.texts[minimum] = format_truncated(s.minimum, minimum_decimals);
    lines.texts[maximum] = format_truncated(s.maximum, 2);
    lines.texts[mean] = format_truncated(s.mean, 2);
    lines.texts[median] = format_truncated(s.median, 2);
    lines.texts[deviation] = format_truncated(s.standard_deviation, 2);
}

void region_view(ResultLines& lines, const RegionAnalysis& region, int minimum_decimals) {
    using namespace results_ids;
    general_values(lines, region.statistics, minimum_decimals);
    lines.texts[axis_minimum] = format_truncated(region.statistics.minimum, 2);
    lines.texts[axis_maximum] = format_truncated(region.statistics.maximum, 2);
    lines.texts[peak] = format_default(region.peak);
    lines.axis_labels_shown = true;
    lines.ratio_mark_shown = false;
}

void ratio_view(ResultLines& lines, const AnalysisSettings& main, const RegionStatistics& a,
                const RegionStatistics& b) {
    using namespace results_ids;
    lines.texts[minimum] = format_truncated(a.minimum / b.minimum, 2);
    lines.texts[maximum] = format_truncated(a.maximum / b.maximum, 2);
    lines.texts[mean] = format_truncated(a.mean / b.mean, 2);
    lines.texts[median] = format_truncated(a.median / b.median, 2);
    lines.texts[deviation] = format_truncated(a.standard_deviation / b.standard_deviation, 2);
    if (main.percentile_enabled) {
        lines.texts[contrast] = format_truncated(region_contrast(a.mean, b.mean), 2);
        lines.texts[contrast_caption] = "Contrast Ratio:";
    }
    lines.axis_labels_shown = false;
    lines.ratio_mark_shown = true;
}

}  // namespace

ResultLines result_lines(const AnalysisSettings& main, const RegionAnalysis& single, const RegionAnalysis& a,
                         const RegionAnalysis& b) {
    using namespace results_ids;
    ResultLines lines;
    for (int id : {criterion, criterion_caption, percentile_caption, percentile, contrast, contrast_caption})
        lines.texts[id] = "";

    if (main.kind != AnalysisKind::multiple_regions) {
        const RegionStatistics& s = single.statistics;
        general_values(lines, s, 3);
        if (main.criterion_enabled) {
            lines.texts[criterion_caption] = "Criteria Result:";
            lines.texts[criterion] = format_truncated(s.criterion_percentage, 4) +
                                     criterion_words(main.criterion_kind) +
                                     format_shortest(main.criterion_threshold) + " cd/m\u00b2";
        }
        if (main.percentile_enabled) {
            lines.texts[percentile_caption] = "Percentile Ratio:";
            lines.texts[percentile] = format_truncated(s.percentile_ratio, 2);
        }
        lines.texts[axis_minimum] = format_truncated(s.minimum, 3);
        lines.texts[axis_maximum] = format_truncated(s.maximum, 2);
        lines.texts[peak] = format_default(single.peak);
        lines.axis_labels_shown = true;
        lines.ratio_mark_shown = false;
        return lines;
    }

    switch (main.result_view) {
    case ResultView::region_a: region_view(lines, a, 3); break;
    case ResultView::region_b: region_view(lines, b, 2); break;
    default: ratio_view(lines, main, a.statistics, b.statistics); break;
    }
    return lines;
}
