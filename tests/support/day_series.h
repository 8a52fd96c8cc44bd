#pragma once
// A generated day of captures: 180° angular fisheye pictures of a room whose
// window lets in a sun patch that grows through the day, with CAPDATE lines,
// written to disk in an order that is neither their names' nor their times'.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_places.h"

struct DayPicture {
    std::string name;  // "shot-07.hdr"
    std::string time;  // ISO: "2026-06-21T06:15:00"
};

// `count` pictures of size × size, a quarter of an hour apart from 06:00,
// into `folder`; returned in time order (none when one cannot be written).
std::vector<DayPicture> write_day_series(const std::filesystem::path& folder, int count = 48, int size = 64);

// The places of a run of candelux-cli as the built program has them, with
// its cache in `cache`.
CliPlaces series_places(const std::string& cache);

// The glare options the tests give: the pictures' own view.
inline constexpr const char* day_glare_options = "-vta -vv 180 -vh 180";
