#include "profiles/ev_check.h"

#include <cmath>

#include "analysis/lens_figures.h"
#include "common/text_format.h"
#include "picture/rgbe_reader.h"

Result<EvCheck> check_vertical_illuminance(const std::string& picture, double meter_lux, double tolerance_percent) {
    if (!(meter_lux > 0) || !std::isfinite(meter_lux))
        return Failure{-1, "the measured illuminance must be a number above 0"};
    if (!(tolerance_percent > 0) || !std::isfinite(tolerance_percent))
        return Failure{-1, "the Ev check's tolerance must be a share above 0 %"};
    auto map = load_luminance_map(picture);
    if (!map) return Failure{-1, picture + ": " + map.failure().message};
    auto header = read_picture_header(picture);
    if (!header) return header.failure();
    const PictureLens lens = picture_lens(map.value(), header.value());
    if (!lens.has_view())
        return Failure{-1, picture + " has no view (VIEW= line) to compute its illuminance from: assemble it with a "
                                    "profile that names the lens's projection"};
    if (!(lens.vertical_illuminance > 0)) return Failure{-1, picture + " has no lit pixel in its view"};
    EvCheck check;
    check.picture_lux = lens.vertical_illuminance;
    check.meter_lux = meter_lux;
    check.difference_percent = (check.picture_lux - meter_lux) / meter_lux * 100;
    check.tolerance_percent = tolerance_percent;
    check.flagged = std::fabs(check.difference_percent) > tolerance_percent;
    return check;
}

std::string ev_check_sentence(const EvCheck& check) {
    std::string text = strprintf("Ev check: the picture gives %.4g lx, the meter %.4g lx (%+.1f %%), ", check.picture_lux,
                                 check.meter_lux, check.difference_percent);
    if (!check.flagged) return text + strprintf("within %g %%.", check.tolerance_percent);
    return text + strprintf("more than %g %% apart: check the calibration factor, the ND filter and the exposures.",
                            check.tolerance_percent);
}
