#pragma once
// The "Ev check": an assembled picture's vertical illuminance at the lens,
// computed from its fisheye view, against an illuminance meter held at the
// lens while the series was taken. A wrong calibration factor, a forgotten
// ND filter or a wrong exposure shows as a difference larger than the
// measurement's own uncertainty (a tenth is the usual allowance).
//
// Illuminance in lux; shares in percent of the meter's reading.

#include <string>

#include "common/result.h"

inline constexpr double default_ev_tolerance = 10;  // percent

struct EvCheck {
    double picture_lux = 0;
    double meter_lux = 0;
    double difference_percent = 0;  // (picture - meter) / meter
    double tolerance_percent = default_ev_tolerance;
    bool flagged = false;  // |difference| above the tolerance
};

// Fails when the picture cannot be read, has no usable view (a VIEW= line,
// which assembly with a profile of the lens writes) or no lit pixel, or the
// reading or tolerance is not a positive number.
Result<EvCheck> check_vertical_illuminance(const std::string& picture, double meter_lux, double tolerance_percent);

// "Ev check: the picture gives 2480 lx, the meter 2500 lx (-0.8 %), within 10 %."
std::string ev_check_sentence(const EvCheck& check);
