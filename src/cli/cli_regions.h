#pragma once
// Named regions on the command line: stats --regions and batch --regions
// measure every region of a region file on one picture in a run folder of
// their own in the cache folder.

#include <string>

#include "analysis/analysis_settings.h"
#include "cli/cli_arguments.h"
#include "cli/cli_places.h"
#include "picture/luminance_map.h"
#include "regions/picture_regions.h"

// measure_picture_regions in a fresh run folder with this run's programs. A
// failure's code is exit_bad_input when a region was refused and
// exit_failed when the work itself failed; its message adds what a program
// said.
Result<PictureRegions> measure_regions_in_run_folder(const std::string& picture, const LuminanceMap& map,
                                                     const RegionFile& file, const std::string& region_file_path,
                                                     const CliPlaces& places, const RegionTableRequest& request);

// The settings of one region's analysis with the figures the options ask
// for: the general statistics, and the percentile ratio, the criterion and
// the weighting by solid angle when given.
AnalysisSettings figure_settings(const RegionFigureOptions& options);

// The options that give these figures again, for a command line
// (" --percentile 20,30 --criterion greater,25 --weighted"; "" for none).
std::string figure_option_words(const RegionFigureOptions& options);
