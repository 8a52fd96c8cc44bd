#include "sensor_response.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

double srgb_encode(double linear) {
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

double srgb_decode(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double aces(double x) { return x * (2.51 * x + 0.03) / (x * (2.43 * x + 0.59) + 0.14); }

double filmic_encode(double linear) { return srgb_encode(aces(linear) / aces(1.0)); }

// The ACES curve has no closed-form inverse worth its roots; bisection on a
// monotone curve is exact enough and only tests and the camera call it.
double filmic_decode(double encoded) {
    double low = 0.0, high = 1.0;
    for (int step = 0; step < 60; ++step) {
        const double middle = 0.5 * (low + high);
        (filmic_encode(middle) < encoded ? low : high) = middle;
    }
    return 0.5 * (low + high);
}

}  // namespace

std::optional<SensorResponse> response_named(const std::string& name) {
    if (name.empty() || name == "srgb") return SensorResponse::srgb;
    if (name == "gamma22") return SensorResponse::gamma22;
    if (name == "filmic") return SensorResponse::filmic;
    return std::nullopt;
}

double encode_signal(SensorResponse response, double linear) {
    linear = std::clamp(linear, 0.0, 1.0);
    switch (response) {
    case SensorResponse::gamma22: return std::pow(linear, 1.0 / 2.2);
    case SensorResponse::filmic: return filmic_encode(linear);
    case SensorResponse::srgb: break;
    }
    return srgb_encode(linear);
}

double decode_signal(SensorResponse response, double encoded) {
    encoded = std::clamp(encoded, 0.0, 1.0);
    switch (response) {
    case SensorResponse::gamma22: return std::pow(encoded, 2.2);
    case SensorResponse::filmic: return filmic_decode(encoded);
    case SensorResponse::srgb: break;
    }
    return srgb_decode(encoded);
}

}  // namespace sim
