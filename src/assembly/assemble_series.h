#pragma once
// An exposure series assembled into one Radiance picture of luminance.
//
// Units: the output's values, read by the application (179 lm/W times the
// BT.709 weighted channels, divided by the header's EXPOSURE), are cd/m² on
// the camera's photometric scale: L = K·N²/(t·S) · signal/0.18, where signal
// is the sensor's relative signal (1 = full well) the response curve gives,
// and K the reflected-light meter's constant (12.5 unless told). The pixels
// themselves hold the signal a picture of the series' middle exposure would
// have had without clipping, so the picture looks like that shot; EXPOSURE
// turns them into luminance.
//
// The pictures are read a band of rows at a time, two threads decoding and
// merging, so memory stays at a band per picture besides the small copies
// the response recovery samples.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "assembly/alignment.h"
#include "assembly/response_curve.h"
#include "assembly/shot_exposure.h"
#include "common/result.h"

struct AssemblyRequest {
    std::vector<std::string> pictures;
    std::vector<ShotExposure> exposures;  // one per picture (read_series_exposures)
    std::optional<ResponseCurve> response;  // recovered from the series when absent
    double meter_constant = 12.5;
    bool align = false;  // shift hand-held pictures onto the middle exposure
};

struct AssemblyReport {
    int width = 0;
    int height = 0;
    std::optional<double> response_residual;  // when the curve was recovered
    ResponseCurve response;
    size_t saturated = 0;
    double saturated_share = 0;  // percent
    bool absolute = true;        // false: no f-number or ISO, relative values
    std::vector<PictureShift> shifts;  // per picture, when aligned
    std::vector<std::string> header_lines;
};

// progress(done) gets the share done (0 to 1) and returns false to stop.
using AssemblyProgress = std::function<bool(double)>;

// Failure codes: -1 unusable input, -2 cancelled, -3 the output could not be
// written. On any failure nothing is left at `output`.
inline constexpr int assembly_cancelled = -2;

Result<AssemblyReport> assemble_series(const AssemblyRequest& request, const std::string& output,
                                       const AssemblyProgress& progress = {});
