#pragma once
// Models of the human visual system that pcond imitates, all on luminance
// in cd/m² (Ferwerda, Pattanaik, Shirley & Greenberg 1996, as fitted by Ward
// Larson, Rushmeier & Piatko 1997).

// The smallest visible luminance difference at adaptation luminance La.
double threshold_contrast(double adaptation);

// The finest visible grating, cycles per degree, at luminance L. The fit
// turns negative below about 1e-10 cd/m² (-1.38 for black); the reference
// uses it so, and a negative acuity means no blur.
double visual_acuity(double luminance);

// Where colour vision fades: fully photopic above the upper bound, fully
// scotopic (colourless) below the lower one.
inline constexpr double mesopic_upper = 5.62;
inline constexpr double mesopic_lower = 5.62e-3;

// The share of colour vision left at luminance L: 1 above the mesopic range,
// 0 below it, linear in between.
double colour_sensitivity(double luminance);

// Rod sensitivity relative to luminance weights: scotopic luminance is
// 179 * scotopic_scale * scotopic_brightness(r, g, b) in physical units.
inline constexpr double scotopic_scale = 2.26;
inline double scotopic_brightness(double r, double g, double b) { return 0.062 * r + 0.608 * g + 0.330 * b; }
