#pragma once
// Where a region to analyse comes from, as a command line or a region file
// names it: drawn with a selection tool, a mask file, or the whole picture.
// And whether such a region can be analysed on a picture of a given size.
//
// Geometry is in picture pixels (see view/region.h).

#include <cstdint>
#include <string>

#include "view/region.h"

struct RegionChoice {
    enum class Source { whole_picture, drawn, mask_file };
    Source source = Source::whole_picture;
    RegionKind tool = RegionKind::mask;  // for a drawn region: rectangle, circle or polygon
    Region geometry;
    std::string mask_file;
    int mask_type = 0;  // the mask dialog's type index by the file's extension
};

// The mask dialog's type index for a file name (.hdr, .pic, .bmp, .tif in
// any case), 0 for anything else.
int mask_type_of(const std::string& path);

// Why the region cannot be analysed on a picture of width x height, or "".
// `name` starts the sentence ("the region", "Region A", "Region \"Task\"").
// A drawn region must lie inside the picture (edges included) and be large
// enough to sample as drawn; a mask file must be a regular file whose path
// can reach a command line.
std::string region_problem(const RegionChoice& choice, const std::string& name, int32_t width, int32_t height);

// Only whether the drawn geometry lies inside the picture (edges included);
// true for a mask or the whole picture.
bool region_inside_picture(const RegionChoice& choice, int32_t width, int32_t height);
