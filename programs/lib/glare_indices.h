#pragma once
// The glare indices evalglare reports, from the glare sources found in a
// picture and a few figures of the whole scene. Luminance in cd/m², solid
// angles in sr, illuminance in lux, angles in degrees.
//
//   DGP    daylight glare probability, Wienold & Christoffersen (2006), with
//          the low-light correction of Wienold (2009) below 1000 lx
//   DGI    daylight glare index, Hopkinson's Cornell formula
//   UGR    unified glare rating, CIE 117-1995
//   VCP    visual comfort probability, IES, through the discomfort glare rating
//   CGI    CIE glare index, Einhorn (1979)
//   Lveil  veiling luminance, 5 · Σ L·ω·cos σ / σ
//
// Every index is defined for a scene without sources too (DGP from the
// illuminance alone, VCP 100, the others 0), and none is ever infinite or
// NaN: the guards below say what is printed where a formula breaks down.

#include <span>

struct SourceFigures {
    double luminance = 0;       // mean over the source, ω-weighted
    double solid_angle = 0;
    double position_index = 1;
    double off_axis = 0;        // σ of the source's direction
};

struct SceneFigures {
    double illuminance = 0;          // Ev from the picture
    double dgp_illuminance = 0;      // Ev used for DGP (the picture's or a measured one)
    double direct_illuminance = 0;   // the glare sources' share of Ev
    double background = 0;           // background luminance Lb
    double average = 0;              // mean luminance of the field of view
};

struct GlareIndices {
    double dgp = 0;
    double dgi = 0;
    double ugr = 0;
    double vcp = 100;
    double cgi = 0;
    double veil = 0;
    double dgr = 0;  // the discomfort glare rating VCP is read from
};

// e^(0.024 E - 4) / (1 + e^(0.024 E - 4)) below 1000 lx, else 1.
double low_light_factor(double illuminance);

// Σ L²·ω / P², the sum DGP, UGR and CGI share.
double weighted_square_sum(std::span<const SourceFigures> sources);

double daylight_glare_probability(double illuminance, std::span<const SourceFigures> sources);
double daylight_glare_index(double background, std::span<const SourceFigures> sources);
double unified_glare_rating(double background, std::span<const SourceFigures> sources);
double cie_glare_index(double illuminance, double direct_illuminance, std::span<const SourceFigures> sources);
double discomfort_glare_rating(double average, std::span<const SourceFigures> sources);
double visual_comfort_probability(double discomfort_glare_rating);
double veiling_luminance(std::span<const SourceFigures> sources);

GlareIndices glare_indices(const SceneFigures& scene, std::span<const SourceFigures> sources);
