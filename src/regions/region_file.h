#pragma once
// Named regions saved beside a picture: the region file.
//
// The file is JSON, by default "<picture>.regions.json" beside the picture:
//
//   {"width": W, "height": H, "regions": [
//     {"name": "Task", "color": "#ff8000", "kind": "rectangle", "points": [[x0, y0], [x1, y1]]},
//     {"name": "Lamp", "color": "#00ff00", "kind": "circle", "center": [x, y], "radius": r},
//     {"name": "Window", "color": "#0080ff", "kind": "polygon", "points": [[x, y], ...]},
//     {"name": "Wall", "color": "#ffffff", "kind": "mask", "file": "wall_mask.bmp"}]}
//
// W and H are the size of the picture the regions were drawn on, in pixels.
// Geometry is in that picture's pixels (view/region.h: column x of row y,
// row 0 the first scanline, single precision). A mask's file is relative to
// the folder of the region file (an absolute path is kept as it is).
// "visible": false marks a region hidden in the region panel; it is written
// only then. Every key this version does not know, at the top and in each
// region, is kept when the file is read and written again.
//
// Numbers are read and written in the C form whatever the user's locale;
// coordinates are written in the fewest digits that read back as the same
// float.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/region_choice.h"
#include "common/json_value.h"
#include "common/result.h"
#include "view/region.h"

struct NamedRegion {
    std::string name;
    std::string color = "#ff0000";  // "#rrggbb"
    RegionKind kind = RegionKind::rectangle;
    // Picture pixels. Only the part of `kind` is used and written: the
    // rectangle's corners as drawn, the circle's centre and radius, the
    // polygon's vertices (at most max_polygon_vertices).
    Region geometry;
    std::string mask_file;  // kind mask: as the file names it
    bool visible = true;
    // The region's object as read, so that keys this version does not know
    // survive a rewrite.
    JsonValue document;
};

struct RegionFile {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<NamedRegion> regions;
    // The file as read (its top-level keys), for the same reason.
    JsonValue document;
};

inline constexpr const char* region_file_suffix = ".regions.json";

// "<picture>.regions.json": the picture's own path with the suffix added.
std::string default_region_file_path(const std::string& picture_path);

// "Region N" for the next region of the list: N counts on from the number
// of regions, past any name already taken.
std::string default_region_name(const std::vector<NamedRegion>& regions);

// A colour for the index-th region ("#rrggbb"), from a palette of colours
// that stand apart on a grey picture and from each other.
std::string default_region_color(size_t index);

// "#" and six hexadecimal digits (either case).
bool is_region_color(const std::string& text);

// "rectangle", "circle", "polygon", "mask".
const char* region_kind_name(RegionKind kind);

// A region drawn with a selection tool (rectangle, circle or polygon), only
// the tool's part of the geometry kept.
NamedRegion drawn_named_region(std::string name, std::string color, const Region& geometry, RegionKind tool);
// A region given by a mask file, named as the file will store it.
NamedRegion mask_named_region(std::string name, std::string color, std::string mask_file);

// Reads the text of a region file. Failures say what is wrong and, for a
// region, which one (by name, or by number when it has none): not JSON, a
// missing or ill-formed key, a colour not "#rrggbb", an unknown kind, a
// polygon of fewer than three or more than 256 vertices, a negative radius.
Result<RegionFile> parse_region_file(const std::string& text);
// The file's text: two-space indented JSON ending in a newline.
std::string region_file_text(const RegionFile& file);

// Reads `path` (a regular file only) and checks that every mask file exists
// as a regular file beside it. Failures start with the path.
Result<RegionFile> read_region_file(const std::string& path);
// Writes `path` through a temporary file beside it (a failed write leaves
// the old file whole); a symbolic link standing under the name is replaced,
// never written through.
Result<bool> write_region_file(const std::string& path, const RegionFile& file);

// Where a mask region's file is: a relative name is taken from the folder
// of the region file.
std::string region_mask_path(const std::string& region_file_path, const NamedRegion& region);
// How a region file at `region_file_path` names the mask at `mask_path`:
// relative to its folder when the mask lies in it or below, else as given.
std::string stored_mask_name(const std::string& region_file_path, const std::string& mask_path);

// The region as the analysis takes it: a drawn region, or the mask file
// (found from the region file's folder) with its type.
RegionChoice region_choice(const NamedRegion& region, const std::string& region_file_path);

// `region` with every coordinate multiplied by sx (x) and sy (y); a
// circle's radius by the geometric mean of the two, keeping its area's
// share of the picture. Masks are files and stay as they are.
NamedRegion scaled_region(const NamedRegion& region, double sx, double sy);

// The regions of `file` made ready for a picture of width x height: scaled
// when the file was drawn on another size (and said so), and every region
// that does not lie inside the picture, or is too small to sample, refused
// by name.
struct RegionFit {
    RegionFile file;              // the regions that fit, in the picture's pixels, its size set
    std::string scaled_message;   // "" when the sizes agree
    std::vector<std::string> refused;  // one sentence per region left out, naming it
};
RegionFit fit_region_file(const RegionFile& file, int32_t width, int32_t height);
// What a refusal calls a region: Region "Task".
std::string region_label(const NamedRegion& region);
