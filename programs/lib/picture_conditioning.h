#pragma once
// pcond: conditions a picture for display the way a person would see the
// scene (Ward Larson, Rushmeier & Piatko 1997), writing a display-referred
// RGBE picture whose stored values are meant for a display of ld_max cd/m².
//
// The tone curve comes from histogram adjustment of the world brightness
// seen by one-degree foveal pixels plus point samples; a scene whose range
// fits the display (as sampled before any veil), or -l, or -e, or one whose
// histogram cannot be adjusted, gets a linear scale instead (and the only
// EXPOSURE line of the output). Samples, foveal image and interpolations
// follow Radiance's pcond closely enough to give its figures. Optional effects of human vision: veiling
// glare (-v), loss of acuity (-a) and of colour (-c) in the dark, contrast
// sensitivity (-s); -w weights the middle of the view.
//
// Output header: the input's lines less FORMAT, PRIMARIES and every line with
// an EXPOSURE (nested copies too: a reader that counts those would otherwise
// square the exposure), the command, EXPOSURE= (linear only), FORMAT.

#include <optional>
#include <string>

#include "lib/histogram_adjustment.h"
#include "lib/program_status.h"

struct ConditionOptions {
    bool acuity = false;           // -a
    bool veil = false;             // -v
    bool sensitivity = false;      // -s
    bool colour = false;           // -c
    bool centre_weighted = false;  // -w
    bool linear = false;           // -l
    std::optional<double> scale;   // -e: a fixed linear factor
    DisplayRange display;          // -u, -d
    std::string map_file;          // -x: world and display luminance per bin
    std::string input;
    std::string output;   // standard output when empty
    std::string command;  // recorded in the header
};

ProgramStatus condition_picture(const ConditionOptions& options);
