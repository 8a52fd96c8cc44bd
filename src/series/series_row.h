#pragma once
// One row of a series: one picture's time and figures, and the CSV it is
// written as.
//
// Columns, in this order: time, time_source, picture,
// vertical_illuminance_lx, dgp, dgi, ugr, vcp, cgi, lveil, ceiling_pixels,
// then for each named region <name>_mean and <name>_weighted_mean (cd/m²).
// Figures are kept as the text written, so a row read back from a file is
// written again byte for byte; an empty text is a figure not measured (the
// glare figures without a glare run, the illuminance of a picture without
// a view). Lines end in LF; a field holding a comma, a quote or a line end
// is quoted as CSV quotes.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

// evalglare's indices in the order of its result line and of the columns.
inline constexpr std::array<const char*, 6> glare_index_names{"dgp", "dgi", "ugr", "vcp", "cgi", "lveil"};
// The columns before the regions' ones.
inline constexpr size_t series_fixed_columns = 11;

struct SeriesRow {
    std::string time;         // ISO 8601
    std::string time_source;  // "capdate", "exif" or "mtime"
    std::string picture;      // as the run names it (a folder's file name, or the path given)
    std::string vertical_illuminance;  // lx
    std::array<std::string, 6> glare;  // glare_index_names' order
    std::string ceiling_pixels;
    std::vector<std::string> regions;  // per region its mean then its weighted mean
};

// The column names for these regions.
std::vector<std::string> series_columns(const std::vector<std::string>& region_names);
// The first line of the file, with its LF.
std::string series_header_line(const std::vector<std::string>& region_names);
// One row as a line, with its LF.
std::string series_row_line(const SeriesRow& row);

// A line of a series file (without its line end) back into a row of
// `column_count` fields; a failure says what is wrong with it.
Result<SeriesRow> parse_series_row(std::string_view line, size_t column_count);
// The fields of one CSV line (quotes undone).
std::vector<std::string> csv_fields(std::string_view line);

// Time order; pictures of the same time in order of their names.
bool series_row_before(const SeriesRow& a, const SeriesRow& b);

// The number a figure column holds for this row: "ev" (or
// vertical_illuminance_lx), a glare index, "ceiling" (ceiling_pixels), or a
// region column "<name>_mean" / "<name>_weighted_mean"; nothing when the
// figure is unknown or the row has no value for it.
std::optional<double> row_figure(const SeriesRow& row, const std::vector<std::string>& region_names,
                                 std::string_view figure);
// The figures a series with these regions can plot, in the order a chooser
// lists them: dgp, dgi, ugr, vcp, cgi, lveil, ev, ceiling, then
// <name>_mean and <name>_weighted_mean per region.
std::vector<std::string> series_figures(const std::vector<std::string>& region_names);
// Whether `figure` names a column of a series with these regions (the
// figures above, and the column names vertical_illuminance_lx and
// ceiling_pixels).
bool is_series_figure(std::string_view figure, const std::vector<std::string>& region_names);
