// Reading, writing and merging series files.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

#include "common/regular_file.h"
#include "common/text_format.h"
#include "series/series_run.h"

namespace fs = std::filesystem;

namespace {

// The region names of a header's columns; a failure when the header is not
// a series file's.
Result<std::vector<std::string>> region_names_of(const std::vector<std::string>& columns, const std::string& path) {
    const std::vector<std::string> fixed = series_columns({});
    if (columns.size() < series_fixed_columns || !std::equal(fixed.begin(), fixed.end(), columns.begin()) ||
        (columns.size() - series_fixed_columns) % 2 != 0)
        return Failure{-2, path + " is not a series file (its first line is not the series' columns)"};
    std::vector<std::string> names;
    for (size_t i = series_fixed_columns; i < columns.size(); i += 2) {
        const std::string& mean = columns[i];
        constexpr std::string_view suffix = "_mean";
        if (mean.size() <= suffix.size() || mean.compare(mean.size() - suffix.size(), suffix.size(), suffix) != 0)
            return Failure{-2, path + ": the column " + mean + " is not a region's mean"};
        names.push_back(mean.substr(0, mean.size() - suffix.size()));
        if (columns[i + 1] != names.back() + "_weighted_mean")
            return Failure{-2, path + ": the column " + columns[i + 1] + " is not " + names.back() + "_weighted_mean"};
    }
    return names;
}

}  // namespace

Result<SeriesTable> read_series_csv(const std::string& path) {
    if (const std::string problem = regular_file_problem(path); !problem.empty()) return Failure{-2, path + ": " + problem};
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure{-1, "cannot read " + path};
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    SeriesTable table;
    size_t start = 0;
    size_t column_count = 0;
    bool header = true;
    // Only complete lines count: a last line without its end was cut short.
    for (size_t end = text.find('\n'); end != std::string::npos; start = end + 1, end = text.find('\n', start)) {
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (header) {
            const std::vector<std::string> columns = csv_fields(line);
            auto names = region_names_of(columns, path);
            if (!names) return names.failure();
            table.region_names = names.value();
            column_count = columns.size();
            header = false;
            continue;
        }
        if (line.empty()) continue;
        auto row = parse_series_row(line, column_count);
        if (!row) return Failure{-2, path + ": " + row.failure().message};
        table.rows.push_back(std::move(row.value()));
    }
    if (header) return Failure{-2, path + " is not a series file (it has no line of columns)"};
    return table;
}

Result<bool> write_series_csv(const std::string& path, SeriesTable table) {
    for (const SeriesRow& row : table.rows)
        if (row.regions.size() != 2 * table.region_names.size())
            return Failure{-2, row.picture + ": its row has other region columns than the table"};
    std::stable_sort(table.rows.begin(), table.rows.end(), series_row_before);
    std::string text = series_header_line(table.region_names);
    for (const SeriesRow& row : table.rows) text += series_row_line(row);
    const std::string fresh = path + strprintf(".new-%ld", static_cast<long>(::getpid()));
    std::FILE* file = create_regular_file(fresh);
    bool ok = file != nullptr;
    if (file) {
        ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        ok = std::fclose(file) == 0 && ok;
    }
    std::error_code ec;
    if (ok) fs::rename(fresh, path, ec);
    if (!ok || ec) {
        fs::remove(fresh, ec);
        return Failure{-1, "cannot write " + path};
    }
    return true;
}

Result<SeriesTable> collect_series_parts(const std::vector<std::string>& parts, const std::string& output) {
    if (parts.empty()) return Failure{-2, "no part to collect"};
    SeriesTable all;
    std::set<std::string> pictures;
    for (size_t i = 0; i < parts.size(); ++i) {
        auto part = read_series_csv(parts[i]);
        if (!part) return part.failure();
        if (i == 0) all.region_names = part.value().region_names;
        else if (part.value().region_names != all.region_names)
            return Failure{-2, parts[i] + " has other region columns than " + parts[0]};
        for (SeriesRow& row : part.value().rows) {
            if (!pictures.insert(row.picture).second)
                return Failure{-2, row.picture + " has a row in more than one part (" + parts[i] + ")"};
            all.rows.push_back(std::move(row));
        }
    }
    auto written = write_series_csv(output, all);
    if (!written) return written.failure();
    std::stable_sort(all.rows.begin(), all.rows.end(), series_row_before);
    return all;
}
