#pragma once
// The commands of candelux-cli. Each checks everything it is given
// before it writes anything, prints its results on `out`, and returns the
// exit status (0, exit_failed or exit_bad_input).

#include "analysis/lens_figures.h"
#include "analysis/result_lines.h"
#include "assembly/assemble_series.h"
#include "cli/cli_arguments.h"
#include "cli/cli_places.h"
#include "cli/cli_run.h"
#include "profiles/ev_check.h"

int run_luminance(const LuminanceOptions& options, const CliOutput& output);
// illuminance PICTURE (cli_illuminance.cpp).
int run_illuminance(const IlluminanceOptions& options, const CliOutput& output);
int run_stats(const StatsOptions& options, const CliPlaces& places, const CliOutput& output);
// What stats prints as text: the results page's figures (a count below 0
// is left out) and the figures through the lens (cli_stats.cpp).
void print_lines(std::ostream& out, const ResultLines& lines, int count);
void print_lens_lines(std::ostream& out, const PictureLens& lens, const RegionAnalysis& region);
// stats --regions FILE, with the single region's settings (cli_stats_regions.cpp).
int run_stats_regions(const StatsOptions& options, const AnalysisSettings& settings, const LuminanceMap& map,
                      const CliPlaces& places, const CliOutput& output);
int run_falsecolor(const FalsecolorOptions& options, const CliPlaces& places, const CliOutput& output);
// falsecolor PICTURE... --out-dir DIR (cli_falsecolor_folder.cpp).
int run_falsecolor_folder(const FalsecolorOptions& options, const CliPlaces& places, const CliOutput& output);
int run_assemble(const AssembleOptions& options, const CliOutput& output);
int run_capture(const CaptureOptions& options, const CliOutput& output);
int run_profile(const ProfileOptions& options, const CliOutput& output);

// What assemble prints for a finished assembly (text or --json), with the
// Ev check when a meter reading was given.
void print_assembly(const CliOutput& output, const AssembleOptions& options, const std::vector<ShotExposure>& shots,
                    const AssemblyReport& report, const std::optional<EvCheck>& ev = std::nullopt);
// series (cli_series.cpp).
int run_series_command(const SeriesCliOptions& options, const CliPlaces& places, const CliOutput& output);
int run_batch_command(const BatchOptions& options, const CliPlaces& places, const CliOutput& output);
