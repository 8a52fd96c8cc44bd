#include "series/series_row.h"

#include <algorithm>

#include "common/csv_field.h"
#include "common/text_format.h"

namespace {

const char* const fixed_names[series_fixed_columns] = {"time", "time_source", "picture", "vertical_illuminance_lx",
                                               "dgp",  "dgi",         "ugr",     "vcp",
                                               "cgi",  "lveil",       "ceiling_pixels"};

std::optional<double> number_of(const std::string& text) {
    if (text.empty()) return std::nullopt;
    double value = 0;
    if (parse_decimal_prefix(text, value) != text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::vector<std::string> series_columns(const std::vector<std::string>& region_names) {
    std::vector<std::string> columns(std::begin(fixed_names), std::end(fixed_names));
    for (const std::string& name : region_names) {
        columns.push_back(name + "_mean");
        columns.push_back(name + "_weighted_mean");
    }
    return columns;
}

std::string series_header_line(const std::vector<std::string>& region_names) {
    std::string line;
    for (const std::string& column : series_columns(region_names))
        line.append(line.empty() ? "" : ",").append(csv_field(column));
    return line + "\n";
}

std::string series_row_line(const SeriesRow& row) {
    std::string line = csv_field(row.time) + "," + csv_field(row.time_source) + "," + csv_field(row.picture) + "," +
                       csv_field(row.vertical_illuminance);
    for (const std::string& figure : row.glare) line.append(",").append(csv_field(figure));
    line.append(",").append(csv_field(row.ceiling_pixels));
    for (const std::string& figure : row.regions) line.append(",").append(csv_field(figure));
    return line + "\n";
}

std::vector<std::string> csv_fields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') fields.back() += c;
            else if (i + 1 < line.size() && line[i + 1] == '"') fields.back() += '"', ++i;
            else quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

Result<SeriesRow> parse_series_row(std::string_view line, size_t column_count) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string> fields = csv_fields(line);
    if (fields.size() != column_count || column_count < series_fixed_columns || (column_count - series_fixed_columns) % 2 != 0)
        return Failure{-2, strprintf("%zu fields where the header has %zu", fields.size(), column_count)};
    SeriesRow row;
    row.time = fields[0];
    row.time_source = fields[1];
    row.picture = fields[2];
    row.vertical_illuminance = fields[3];
    for (size_t i = 0; i < row.glare.size(); ++i) row.glare[i] = fields[4 + i];
    row.ceiling_pixels = fields[10];
    row.regions.assign(fields.begin() + series_fixed_columns, fields.end());
    if (row.picture.empty()) return Failure{-2, "a row without a picture"};
    return row;
}

bool series_row_before(const SeriesRow& a, const SeriesRow& b) {
    if (a.time != b.time) return a.time < b.time;
    return a.picture < b.picture;
}

std::vector<std::string> series_figures(const std::vector<std::string>& region_names) {
    std::vector<std::string> figures(glare_index_names.begin(), glare_index_names.end());
    figures.insert(figures.end(), {"ev", "ceiling"});
    for (const std::string& name : region_names) {
        figures.push_back(name + "_mean");
        figures.push_back(name + "_weighted_mean");
    }
    return figures;
}

bool is_series_figure(std::string_view figure, const std::vector<std::string>& region_names) {
    if (figure == "vertical_illuminance_lx" || figure == "ceiling_pixels") return true;
    const std::vector<std::string> figures = series_figures(region_names);
    return std::find(figures.begin(), figures.end(), figure) != figures.end();
}

std::optional<double> row_figure(const SeriesRow& row, const std::vector<std::string>& region_names,
                                 std::string_view figure) {
    if (figure == "ev" || figure == "vertical_illuminance_lx") return number_of(row.vertical_illuminance);
    if (figure == "ceiling" || figure == "ceiling_pixels") return number_of(row.ceiling_pixels);
    for (size_t i = 0; i < glare_index_names.size(); ++i)
        if (figure == glare_index_names[i]) return number_of(row.glare[i]);
    for (size_t i = 0; i < region_names.size() && 2 * i + 1 < row.regions.size(); ++i) {
        if (figure == region_names[i] + "_mean") return number_of(row.regions[2 * i]);
        if (figure == region_names[i] + "_weighted_mean") return number_of(row.regions[2 * i + 1]);
    }
    return std::nullopt;
}
