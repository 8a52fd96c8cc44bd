#pragma once
// The regions of a region file measured on a picture file, as batch replay
// and a series measure them on every picture: the picture becomes the
// working copy of a folder of the caller's (masks are applied to it, its
// header gives the view), the regions are fitted to its size and analysed.

#include <string>

#include "regions/region_file.h"
#include "regions/region_table.h"

class Desktop;
class ProcessRunner;

// The failure code when a region cannot be used on the picture (outside it,
// too small, a mask file that cannot reach a command line or is missing);
// any other failure is the work's own (a copy, a program).
inline constexpr int regions_refused = -2;

struct PictureRegions {
    RegionTable table;
    std::string scaled_message;  // "" when the file was drawn on a picture of this size
};

// The regions of `file` fitted to a picture of width x height, every mask
// checked; a failure (code regions_refused) names the regions refused.
Result<RegionFit> fit_picture_regions(const RegionFile& file, const std::string& region_file_path, int32_t width,
                                      int32_t height);

// Every region of `file` (read from `region_file_path`, which finds the
// masks) fitted to the picture at `picture`, whose luminance is `map`, and
// measured. `work_folder` must exist and be the caller's alone: the
// picture is copied into it as "dtemp.hdr", and masked copies are made
// there. Failures the programs show go through `desktop` as well.
Result<PictureRegions> measure_picture_regions(const std::string& picture, const LuminanceMap& map,
                                               const RegionFile& file, const std::string& region_file_path,
                                               const std::string& work_folder, ProcessRunner& runner,
                                               Desktop& desktop, const RegionTableRequest& request);

// Beside the picture: "<folder>/<its name without the extension>_regions.csv".
std::string picture_regions_csv_path(const std::string& picture);
