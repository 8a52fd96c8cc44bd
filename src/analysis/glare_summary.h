#pragma once
// The glare results page's table: each index evalglare printed with its
// value and the comfort class the literature gives it, the vertical
// illuminance, the number of glare sources and, when the picture's brightest
// pixels are clipped, the overflow sentence.
//
// Comfort classes, each band closed below and open above
// (imperceptible < a ≤ perceptible < b ≤ disturbing < c ≤ intolerable):
//   DGP 0.35, 0.40, 0.45: Wienold, "Dynamic daylight glare evaluation",
//       Building Simulation 2009, as EN 17037:2018 takes them;
//   DGI 18, 24, 31: Hopkinson's scale (Chauvel et al. 1982);
//   UGR 13, 22, 28: CIE 117-1995's scale;
// all three as tabulated by Jakubiec and Reinhart, "The 'adaptive zone'",
// Lighting Res. Technol. 44 (2012) 149-170. VCP, CGI and Lveil are shown
// without a class.

#include <optional>
#include <string>
#include <vector>

// The sources of the classes, as the page says under its table.
inline constexpr const char* glare_comfort_sources =
    "Comfort classes: DGP after Wienold (2009) as in EN 17037, DGI after Hopkinson, UGR after CIE 117; as "
    "tabulated by Jakubiec and Reinhart (2012).";

struct GlareIndexRow {
    std::string name;   // DGP, DGI, UGR, VCP, CGI, Lveil, then the other figures
    std::string value;  // as printed
    std::string comfort;  // "" when the index has no class here
};

// The comfort class of an index value, or "" for an index without one.
std::string comfort_class(const std::string& index, double value);

// The rows of evalglare's result line ("dgp,dgi,...: v v ..."); none when
// the text has no such line.
std::vector<GlareIndexRow> glare_index_rows(const std::string& result_text);

// The figures evalglare's detailed output (-d) gives: "vertical illuminance
// Ev: X lx" and "glare sources: N".
struct GlareDetails {
    std::optional<double> vertical_illuminance;
    std::optional<int> glare_sources;
};
GlareDetails glare_details_of(const std::string& detailed_text);


// The table: the indices, then "Vertical illuminance" and "Glare sources"
// when the detailed run gave them.
std::vector<GlareIndexRow> glare_summary_rows(const std::string& result_text, const GlareDetails& details);

// The detailed run's command line: the options and input of the analysis,
// without the check picture.
std::string glare_detail_command(const std::string& options, const std::string& input);
