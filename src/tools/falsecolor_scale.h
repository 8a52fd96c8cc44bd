#pragma once
// A falsecolor scale that several pictures can share: a fixed range, a
// logarithmic or linear axis, a number of steps, a palette, the units of the
// values and how the picture shows them. Values are in cd/m² (or lx for
// illuminance pictures); a position on the scale runs from 0 at the bottom
// to 1 at the top.
//
// The default scale (logarithmic, the window's own palette, smooth) is the
// falsecolor view as it always was, down to its rule that every value at or
// below 1 cd/m² takes the bottom colour; every other choice uses the true
// logarithm, so that a scale may start below 1.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "tools/falsecolor.h"

// classic: the falsecolor view's own palette, which is also Radiance's
// default ("def") falsecolor palette; viridis: perceptually uniform, from
// matplotlib; spectral: a look-alike of the spectral palette of Radiance's
// falsecolor script, a hue sweep from blue-violet through green and yellow
// to red.
enum class FalsecolorPalette { classic, viridis, spectral };
enum class FalsecolorUnits { candela, lux };
// smooth: every value its colour; contours: lines at the step values over
// the tone-mapped picture; bands: bands around the step values over the
// tone-mapped picture, wider where the luminance changes slowly;
// posterised: one flat colour per step.
enum class FalsecolorDisplay { smooth, contours, bands, posterised };

inline constexpr int falsecolor_min_steps = 1;
inline constexpr int falsecolor_max_steps = 64;

struct FalsecolorScale {
    float bottom = 0;
    float top = 0;
    bool logarithmic = true;
    int steps = 8;
    FalsecolorPalette palette = FalsecolorPalette::classic;
    FalsecolorUnits units = FalsecolorUnits::candela;
    FalsecolorDisplay display = FalsecolorDisplay::smooth;

    // The view's original rendering (the units only change the words).
    bool classic() const {
        return logarithmic && palette == FalsecolorPalette::classic && display == FalsecolorDisplay::smooth;
    }
};

const std::array<Rgb8, 256>& palette_colours(FalsecolorPalette palette);

// "cd/m²" or "lx".
std::string units_text(FalsecolorUnits units);

// Where values lie on a scale. For the classic scale the ends and the values
// are the floored logarithms of the original view.
class ScaleAxis {
public:
    explicit ScaleAxis(const FalsecolorScale& scale);
    // The position of a value: below 0 under the bottom, above 1 over the
    // top; a value with no logarithm (0, negative, not a number) lies far
    // below the bottom.
    float position(float value) const;
    // The value at a position.
    float value(float position) const;
    // The palette index at a position: 0 at or below 0, 255 at or above 1.
    static int index(float position);
    bool degenerate() const { return !(hi_ > lo_); }

private:
    bool logarithmic_;
    bool floored_;
    float lo_;
    float hi_;
};

// The step values from bottom to top: steps + 1 of them.
std::vector<float> step_values(const FalsecolorScale& scale);

// Why a scale cannot be used, or "" when it can: the range must be finite
// with its top above its bottom, a logarithmic range must start above 0, and
// the steps lie within 1 … 64.
std::string scale_problem(const FalsecolorScale& scale);

// The scale file: text lines "key value" (see README.md), '#' starts a
// comment. Reading refuses unknown keys and values, naming the line.
Result<FalsecolorScale> read_scale_file(const std::string& path);
bool write_scale_file(const std::string& path, const FalsecolorScale& scale);
std::vector<std::string> scale_file_lines(const FalsecolorScale& scale);
Result<FalsecolorScale> parse_scale_lines(const std::vector<std::string>& lines);
