#include "lib/guth_field.h"

namespace {

// Fitted boundaries, σ in degrees as functions of τ (above the line of
// sight) or of t = 180 - τ (below it).
double total_field_above(double tau) {
    const double root = 7.7458218 + 5.7407915e-4 * tau - 2.1746318e-4 * tau * tau + 8.5572726e-6 * tau * tau * tau;
    return root * root;
}

double total_field_below(double t) {
    return -1.0 / (-0.014699242 - 1.5541106e-5 * t + 4.6898068e-6 * t * t - 5.1539687e-8 * t * t * t);
}

double binocular_field_below(double t) {
    if (t > 73) return 60;
    return (68.227109 - 2.9524084 * t + 0.046674262 * t * t) /
           (1.0 - 0.042317294 * t + 7.5698419e-4 * t * t - 6.5364285e-7 * t * t * t);
}

}  // namespace

bool outside_guth_field(const SightAngles& a, GuthField field) {
    const bool above = a.up_component > 0;
    const double t = 180.0 - a.from_up;
    switch (field) {
        case GuthField::total:
            // Below the line of sight the fitted boundary of the total field
            // covers only the 45° around straight down; sideways of that the
            // field reaches past 90° and nothing is cut.
            return above ? a.off_axis > total_field_above(a.from_up)
                         : a.from_up > 135 && a.off_axis > total_field_below(t);
        case GuthField::binocular:
            return above ? a.off_axis > 60 : a.off_axis > binocular_field_below(t);
        case GuthField::none:
            break;
    }
    return false;
}
