#pragma once
// Photographic tone reproduction (Reinhard, Stark, Shirley & Ferwerda 2002):
// world luminance (cd/m²) to display luminance in [0, 1).
//
// The scene's key is its log-average luminance over the pixels that have
// light (black fisheye corners would otherwise pull it down by stops). The
// global operator compresses L / (1 + L) with a burn-out term for L near
// `white`; the local one ("dodging and burning") divides by the surround
// luminance at the largest scale around each pixel that still looks uniform
// by the centre-surround test.

#include <vector>

struct ReinhardParameters {
    double key = 0.18;       // a: the display value of the log-average
    double white = 1e20;     // smallest scaled luminance shown as white
    double threshold = 0.05;  // eps: scale-selection threshold (local only)
    bool local = false;
};

inline constexpr double reinhard_log_delta = 1e-4;  // cd/m², keeps log() finite
inline constexpr int reinhard_scale_count = 8;      // s = 1.6^i, i = 0..7
inline constexpr double reinhard_scale_ratio = 1.6;
inline constexpr double reinhard_sharpness = 8.0;   // phi

// exp(mean of ln(delta + Lw)) over the finite Lw > 0; 0 when there are none.
double log_average_luminance(const std::vector<float>& world);

// Standard deviation (pixels) of the centre kernel at scale s: alpha1 s / sqrt 2
// with alpha1 = 1 / (2 sqrt 2), the paper's exp(-r² / (alpha1 s)²) kernel.
double centre_sigma(double scale);

// The display luminance of every pixel (height rows of width); pixels without
// light (Lw <= 0 or not finite) give 0, as does a picture without any light.
std::vector<float> reinhard_display_luminance(const std::vector<float>& world, int width, int height,
                                              const ReinhardParameters& parameters);
