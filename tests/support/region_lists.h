#pragma once
// Region lists for the tests of the region panel's form: a region file of
// named regions, written beside a picture and loaded into the list.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "regions/region_file.h"
#include "regions/region_list_form.h"

// A region of the list as drawn with `kind`'s selection tool.
inline NamedRegion listed_region(const char* name, RegionKind kind, const Region& geometry) {
    NamedRegion region;
    region.name = name;
    region.kind = kind;
    region.geometry = geometry;
    return region;
}

// Writes the regions, drawn on a picture of width x height, to `path` and
// loads them into `list`; a test that uses it checks with
// ASSERT_NO_FATAL_FAILURE.
inline void load_region_list(RegionListForm& list, const std::string& path, int width, int height,
                             std::initializer_list<NamedRegion> regions) {
    RegionFile file;
    file.width = width;
    file.height = height;
    file.regions.assign(regions.begin(), regions.end());
    ASSERT_TRUE(write_region_file(path, file));
    ASSERT_TRUE(list.load(path));
    ASSERT_EQ(list.regions().size(), regions.size());
}
