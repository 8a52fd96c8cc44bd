#pragma once
// Named regions on the command line: stats --regions and batch --regions
// measure every region of a region file on one picture, in a run folder of
// their own in the cache folder, as the window measures them.

#include <string>

#include "cli/cli_places.h"
#include "picture/luminance_map.h"
#include "regions/region_file.h"
#include "regions/region_table.h"

struct PictureRegions {
    RegionTable table;
    std::string scaled_message;  // "" when the file was drawn on a picture of this size
};

// Every region of `file` (read from `region_file_path`) measured on the
// picture file `picture`, whose luminance is `map`. A failure's code is
// exit_bad_input when a region was refused (outside the picture, too small,
// a mask that cannot be used) and exit_failed when the work itself failed.
Result<PictureRegions> measure_picture_regions(const std::string& picture, const LuminanceMap& map,
                                               const RegionFile& file, const std::string& region_file_path,
                                               const CliPlaces& places, const RegionTableRequest& request);

// Beside the picture: "<folder>/<its name without the extension>_regions.csv".
std::string picture_regions_csv_path(const std::string& picture);
