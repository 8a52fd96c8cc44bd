#pragma once
// The results page (113): runs the statistics of the single region, or of
// Region A and then Region B, keeps the three results while the wizard is
// open, switches the two-region view and saves the reports.
//
// A mask-file region is applied to a scratch copy of the working copy (one per
// region) and the masked copy is sampled whole; the working copy itself is
// never changed by an analysis.

#include <string>

#include "analysis/analysis_host.h"
#include "analysis/analysis_settings.h"
#include "analysis/compute_statistics.h"
#include "analysis/histogram_picture.h"
#include "analysis/lens_figures.h"
#include "analysis/lens_lines.h"
#include "analysis/result_lines.h"
#include "analysis/statistics_reports.h"

// The scratch pictures of masked regions, in the cache folder.
namespace mask_scratch {
inline constexpr const char* single = "/dmask_single.hdr";
inline constexpr const char* region_a = "/dmask_a.hdr";
inline constexpr const char* region_b = "/dmask_b.hdr";
}  // namespace mask_scratch

inline constexpr const char* save_statistics_title = "Save Statistics as";

class ResultsPage {
public:
    ResultsPage(AnalysisHost& host, AnalysisSettings& main, const AnalysisSettings& record_a,
                const AnalysisSettings& record_b);

    // The page becomes active: every slot is emptied and filled again.
    void activate(const WizardRegion& single, const WizardRegion& a, const WizardRegion& b);
    // The radio buttons of the two-region analysis.
    void on_view(ResultView view);
    // "Save...": asks for a name and writes the three reports; only after an
    // analysis that completed, since a stopped one has no figures to report.
    void on_save();
    bool save_enabled() const { return completed_; }
    // Finish or Cancel: the results are released.
    void clear();

    bool views_shown() const { return main_.kind == AnalysisKind::multiple_regions; }
    ResultView view() const { return main_.result_view; }
    ResultLines lines() const { return result_lines(main_, single_, a_, b_); }
    HistogramPicture picture(int width, int height) const {
        return histogram_picture(main_.result_view, single_, a_, b_, width, height);
    }

    const RegionAnalysis& single() const { return single_; }
    const RegionAnalysis& a() const { return a_; }
    const RegionAnalysis& b() const { return b_; }
    // The picture's lens: its view, illuminance at the lens and clipped pixels.
    const PictureLens& lens() const { return lens_; }
    // The second column group: the lens figures of the region shown (the
    // picture's illuminance only, in the ratio view).
    std::vector<LensLine> lens_lines() const;
    // The clipped-pixel sentence, or "".
    std::string overflow() const { return completed_ ? overflow_sentence(lens_) : std::string(); }
    // "Weight by solid angle": mean, standard deviation, median and the
    // percentile ratio weigh each pixel by its solid angle, or again all
    // alike; the figures change at once.
    void on_weighting(bool weighted);
    bool weighted() const { return main_.weight_by_solid_angle; }
    // Its link: asks for the illuminance calibration; the wizard closes.
    void on_calibration_link() { host_.request_illuminance_calibration(); }
    // False when a region's mask could not be applied (the analysis stopped).
    bool completed() const { return completed_; }

private:
    // The region's statistics, or false when its mask could not be applied.
    bool analyse(const WizardRegion& region, const AnalysisSettings& record, const char* scratch,
                 RegionAnalysis& slot, Region& reported);
    ReportInput report_input() const;

    AnalysisHost& host_;
    AnalysisSettings& main_;
    const AnalysisSettings& record_a_;
    const AnalysisSettings& record_b_;
    RegionAnalysis single_, a_, b_;
    // The geometry each slot was taken from, as the reports describe it (a
    // mask region's is empty).
    Region single_region_, a_region_, b_region_;
    // The figures as computed, all pixels alike, for switching back.
    struct PlainFigures {
        float mean = 0, standard_deviation = 0, median = 0, percentile_ratio = 0;
    };
    static PlainFigures plain_of(const RegionStatistics& s) {
        return {s.mean, s.standard_deviation, s.median, s.percentile_ratio};
    }
    void weigh(RegionAnalysis& slot, const AnalysisSettings& record, const PlainFigures& plain) const;
    PlainFigures plain_single_, plain_a_, plain_b_;
    PictureLens lens_;
    int32_t map_width_ = 0;
    bool completed_ = false;
};
