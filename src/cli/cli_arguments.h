#pragma once
// The command lines of candelux-cli, read into one options record per
// command. Reading checks only the words themselves (known options, values
// present, numbers well formed); what needs the picture (a region inside it,
// a pixel on it) is checked when the command runs.
//
// Numbers are read as the program's numeric fields read them: finite
// decimals in the C form, nothing else in the text.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/region_choice.h"
#include "common/result.h"
#include "picture/radiance_luminance.h"
#include "view/region.h"

struct LuminanceOptions {
    std::string picture;
    int64_t x = 0;
    int64_t y = 0;
};

// The figures asked for besides the general statistics (stats, and the
// region tables of batch --regions): --percentile, --criterion, --weighted.
struct RegionFigureOptions {
    std::optional<float> upper_percentile;
    std::optional<float> lower_percentile;
    std::optional<CriterionKind> criterion_kind;
    float criterion_threshold = 0;
    bool weighted = false;  // --weighted: the figures weighted by solid angle
};

struct StatsOptions : RegionFigureOptions {
    std::string picture;
    RegionChoice region;                   // the single region, or Region A
    std::optional<RegionChoice> region_b;  // two regions: A and B with the contrast
    std::string report_base;  // "" for no reports
    bool overwrite = false;
    bool json = false;
    std::string regions_file;  // --regions: every region of a region file; "" for none
    bool csv = false;          // --csv (with --regions): one CSV row per region
};

struct IlluminanceOptions {
    std::string picture;
    LuminanceWeights weights = LuminanceWeights::bt709;  // --weights
};

struct FalsecolorOptions {
    std::string picture;
    std::string output;
    // The range as typed ("" without --range: the measured range).
    std::string bottom_text;
    std::string top_text;
    bool overwrite = false;
    // With --out-dir: every picture on one scale, written into the folder.
    std::vector<std::string> pictures;
    std::string out_dir;
    std::string scale_file;  // --scale
    bool auto_scale = false;
    bool legend = false;
    bool extrema = false;
    bool contours = false;
    bool png = false;
};

struct BatchOptions : RegionFigureOptions {  // the figures of the region tables
    std::string sequence;
    std::string folder;
    int jobs = 0;  // 0: one per processor
    bool overwrite = false;
    bool emit_jobs = false;
    std::string cache_folder;  // the one the sequence's lines name; "" for the program's own
    std::string picture;       // replay only this picture of the folder; "" for all
    std::string regions_file;  // --regions: measured on every result; "" for none
};

struct AssembleOptions {
    std::string output;
    std::vector<std::string> pictures;
    std::string response_file;       // "" to recover the curve from the series
    std::string save_response_file;  // "" for none
    std::string profile;             // a camera profile to apply; "" for none
    bool force = false;              // apply it though camera or lens differ
    std::optional<double> meter_lux;     // the Ev check's reading at the lens
    std::optional<double> ev_tolerance;  // percent; the check's default without
    std::optional<std::vector<double>> exposures;  // seconds, one per picture
    double meter_constant = 12.5;
    bool align = false;
    bool overwrite = false;
    bool json = false;
};

struct CaptureOptions {
    std::string folder;
    std::vector<std::string> shutter_labels;  // as the capture dialog shows them; none: autocap.asf
    std::string aperture;                     // "8", "5.6"; "" for the camera's current one
    bool assemble = false;
    std::string profile;  // with assemble: a camera profile to apply
    bool json = false;
};

// profile circle PICTURE | profile show PROFILE | profile vignetting PROFILE PICTURE...
// | profile response PROFILE PICTURE... | profile apply PROFILE PICTURE... --out-dir DIR
struct ProfileOptions {
    std::string action;                 // "circle", "show", "vignetting", "response" or "apply"
    std::string profile;                // a name in the profile folder or a path
    std::vector<std::string> pictures;  // circle: one; vignetting: one assembled picture or a series; response: a series
    std::string save_to;                // circle --save PROFILE
    bool keep_picture = false;          // vignetting: keep the uniform picture as the vignetting picture
    std::string out_dir;                // apply: where the corrected pictures go
    bool overwrite = false;             // apply: replace pictures there
    bool json = false;
};

// series FOLDER|PICTURE... --csv OUT.csv [options] | series --collect PART... --csv OUT.csv
struct SeriesCliOptions {
    std::vector<std::string> inputs;    // one folder, or pictures; with --collect the parts
    std::string csv;
    std::string regions_file;
    std::optional<std::string> glare;   // evalglare's options
    int jobs = 1;
    bool resume = false;
    bool overwrite = false;
    bool emit_jobs = false;
    int chunk = 1;                      // pictures per emitted job
    bool collect = false;
    std::vector<std::string> only;      // --picture NAME: these pictures of the folder
    std::string plot;                   // "" for none
    std::string figures = "dgp,ev";
};

struct HelpRequest {
    std::string command;  // "" for the overview
};

using CliCommand =
    std::variant<HelpRequest, LuminanceOptions, StatsOptions, FalsecolorOptions, BatchOptions, AssembleOptions,
                 CaptureOptions, IlluminanceOptions, ProfileOptions, SeriesCliOptions>;

// Reads the words after the program's name. A failure's message names what
// is wrong in one line.
Result<CliCommand> parse_cli_arguments(const std::vector<std::string>& words);

// Exactly `count` numbers separated by `separator`.
Result<std::vector<float>> parse_number_list(const std::string& text, size_t count, char separator = ',');
