#include "series_exposures.h"

#include <cmath>

#include "common/text_format.h"

Result<std::vector<ShotExposure>> read_series_exposures(const std::vector<std::string>& paths,
                                                        const std::optional<std::vector<double>>& seconds) {
    if (seconds && seconds->size() != paths.size())
        return Failure{-1, strprintf("%zu exposure times given for %zu pictures", seconds->size(), paths.size())};
    std::vector<ShotExposure> shots;
    for (size_t i = 0; i < paths.size(); ++i) {
        auto shot = read_shot_exposure(paths[i]);
        if (!shot) return shot.failure();
        if (seconds) {
            shot.value().seconds = (*seconds)[i];
            if (!(shot.value().seconds > 0)) return Failure{-1, paths[i] + ": the exposure time must be positive"};
        } else if (const auto missing = missing_exposure_tags(shot.value()); !missing.empty()) {
            return Failure{-2, paths[i] + ": no " + missing.front() + " in its EXIF data"};
        }
        shots.push_back(std::move(shot).value());
    }
    return shots;
}

std::optional<double> parse_exposure_time(const std::string& text) {
    double first = 0;
    const size_t used = parse_decimal_prefix(text, first);
    if (used == 0 || (used != text.find('/') && used != text.size())) return std::nullopt;
    double value = first;
    if (used < text.size()) {
        double divisor = 0;
        const std::string rest = text.substr(used + 1);
        if (parse_decimal_prefix(rest, divisor) != rest.size() || rest.empty() || !(divisor > 0)) return std::nullopt;
        value = first / divisor;
    }
    if (!(value > 0) || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string exposure_time_text(double seconds) {
    if (seconds > 0 && seconds < 0.3) {
        const double inverse = 1.0 / seconds;
        if (std::abs(inverse - std::round(inverse)) < 0.005 * inverse) return strprintf("1/%.0f", inverse);
        return strprintf("1/%.3g", inverse);
    }
    return strprintf("%g", seconds);
}

std::string f_number_text(double f_number) {
    if (!(f_number > 0)) return "";
    // Two significant digits, cut rather than rounded, as lenses mark their
    // stops: EXIF's sqrt(32) = 5.657 is f/5.6, 11.31 f/11, 22.63 f/22.
    const double scale = std::pow(10.0, 1 - std::floor(std::log10(f_number)));
    return strprintf("%g", std::floor(f_number * scale + 1e-9) / scale);
}

std::vector<std::string> changing_settings(const std::vector<ShotExposure>& shots) {
    std::vector<std::string> sentences;
    for (size_t j = 1; j < shots.size(); ++j) {
        if (shots[j].iso > 0 && shots[0].iso > 0 && shots[j].iso != shots[0].iso) {
            sentences.push_back(strprintf("the ISO speed changes within the series (%g, %g): is auto-ISO on?",
                                          shots[0].iso, shots[j].iso));
            break;
        }
    }
    for (size_t j = 1; j < shots.size(); ++j) {
        if (shots[j].f_number > 0 && shots[0].f_number > 0 && shots[j].f_number != shots[0].f_number) {
            sentences.push_back("the aperture changes within the series (f/" + f_number_text(shots[0].f_number) +
                                ", f/" + f_number_text(shots[j].f_number) + ")");
            break;
        }
    }
    return sentences;
}
