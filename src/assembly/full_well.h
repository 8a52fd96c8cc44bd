#pragma once
// Where full well lies on a recovered response curve. The least-squares fit
// fixes a curve's shape but not its scale, and the codes just below the top,
// which would fix it, are the least trustworthy in a JPEG (its noise turns
// clipped areas into codes a few steps below the top). So the scale is found
// from what the top code means instead: across the series, a flat area
// reaches the top code in the pictures where its signal (known from the
// other pictures) passes full well. The signal that best separates the
// entries at the top from those below it is full well.

#include <optional>
#include <vector>

#include "assembly/response_curve.h"
#include "assembly/series_picture.h"

// ln of full well in the units of `curve` for one channel; nothing when too
// few areas cross the top for a reliable answer.
std::optional<double> log_full_well(const std::vector<ReducedPicture>& pictures,
                                    const std::vector<double>& log_exposures, const ResponseCurve& curve, int channel);

// Moves each channel's curve so that full well is signal 1, where the
// series shows it; channels it does not show keep their extrapolated scale.
void scale_to_full_well(const std::vector<ReducedPicture>& pictures, const std::vector<double>& log_exposures,
                        ResponseCurve& curve);
