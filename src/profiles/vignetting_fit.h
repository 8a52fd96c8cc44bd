#pragma once
// The vignetting of a lens measured on a picture of a uniform scene (an
// integrating sphere, an evenly lit white wall filling the view): the
// median luminance in rings around the image-circle centre, fitted by
// L(r) = L0 (1 + a1 r^2 + a2 r^4 + a3 r^6) with r the distance over the
// circle's radius. Rings out to 98 % of the radius count; the rim itself is
// left out, where the lens's own edge blurs the light.

#include <vector>

#include "common/result.h"
#include "picture/luminance_map.h"
#include "profiles/camera_profile.h"

struct VignettingRing {
    double radius = 0;    // normalised, the ring's middle
    double measured = 0;  // median luminance over the fitted centre level
    double fitted = 0;    // the fit's fall-off there
    size_t pixels = 0;
};

struct VignettingFit {
    std::vector<double> coefficients;  // a1, a2, a3
    double centre_level = 0;           // L0, in the picture's units
    double rms_percent = 0;            // of measured against fitted over the rings
    std::vector<VignettingRing> rings;
};

inline constexpr int vignetting_terms = 3;

// The circle to measure from: `circle` when its radius is set, else the
// picture's centre and half its diagonal (a lens whose image circle covers
// the sensor).
ImageCircle measuring_circle(const LuminanceMap& map, const ImageCircle& circle);

Result<VignettingFit> fit_vignetting(const LuminanceMap& map, const ImageCircle& circle);

// Keeps the fit in the profile: its coefficients and the rings it was fitted
// to (to show the fit against the data later).
void store_vignetting_fit(CameraProfile& profile, const VignettingFit& fit);
