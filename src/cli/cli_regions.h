#pragma once
// Named regions on the command line: stats --regions and batch --regions
// measure every region of a region file on one picture in a run folder of
// their own in the cache folder.

#include <string>

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
