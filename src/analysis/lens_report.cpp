#include "analysis/lens_report.h"

#include <cstdio>

#include "common/csv_field.h"
#include "common/text_format.h"
#include "picture/view_options.h"

namespace {

std::string field(const std::string& text) { return csv_field(text); }

std::string number(double value) { return strprintf("%f", value); }
std::string count(int64_t value) { return strprintf("%lld", static_cast<long long>(value)); }

const char* criterion_word(CriterionKind kind) {
    switch (kind) {
    case CriterionKind::greater_than: return "greater";
    case CriterionKind::lesser_than: return "lesser";
    case CriterionKind::equal_to: return "equal";
    }
    return "";
}

std::string region_line(const char* name, const RegionAnalysis& region) {
    const LensFigures& f = region.lens;
    std::string line = strprintf("%s,%d", name, region.count());
    if (f.has_view) {
        for (const std::string& figure : {count(f.count_in_view), number(f.solid_angle), number(f.weighted_mean),
                                          number(f.vertical_illuminance), number(f.illuminance_share)})
            line.append(",").append(figure);
    } else {
        line.append(",,,,,");
    }
    return line.append(",").append(count(f.ceiling_pixels));
}

}  // namespace

std::string geometry_report_text(const ReportInput& input) {
    const PictureLens& lens = *input.lens;
    const AnalysisSettings& main = input.main;
    const char* end = "\r\n";
    std::string text = "PICTURE," + field(input.picture_name) + end;
    text += "VIEW," + (lens.geometry ? field(view_options_text(lens.geometry->view).substr(1)) : std::string("none")) + end;
    text += std::string("WEIGHTING,") + (main.weight_by_solid_angle ? "solid angle" : "none") + end;
    const bool single = main.kind == AnalysisKind::single_region;
    if (single && main.percentile_enabled)
        text += "PERCENTILE," + number(main.upper_percentile) + "," + number(main.lower_percentile) + end;
    else text += std::string("PERCENTILE,off") + end;
    if (single && main.criterion_enabled)
        text += std::string("CRITERION,") + criterion_word(main.criterion_kind) + "," + number(main.criterion_threshold) + end;
    else text += std::string("CRITERION,off") + end;
    text += "PIXELS IN VIEW," + count(lens.pixels_in_view) + end;
    text += "VERTICAL ILLUMINANCE (lx)," + (lens.geometry ? number(lens.vertical_illuminance) : std::string()) + end;
    const bool hemisphere = lens.geometry && lens.geometry->full_hemisphere;
    text += "HEMISPHERICAL ILLUMINANCE (lx)," + (hemisphere ? number(lens.vertical_illuminance) : std::string()) + end;
    text += "CLIPPED PIXELS," + count(lens.ceiling_pixels) + "," + number(lens.ceiling_share_percent) + end;
    text += std::string("REGION,PIXELS SAMPLED,PIXELS IN VIEW,SOLID ANGLE (sr),WEIGHTED MEAN (cd/m2),ILLUMINANCE "
                        "(lx),ILLUMINANCE SHARE,CLIPPED PIXELS") +
            end;
    if (single) {
        text += region_line("Region", input.single.analysis) + end;
    } else {
        text += region_line("Region A", input.a.analysis) + end;
        text += region_line("Region B", input.b.analysis) + end;
    }
    return text;
}

bool write_geometry_report(const std::string& path, const ReportInput& input) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const std::string text = geometry_report_text(input);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}
