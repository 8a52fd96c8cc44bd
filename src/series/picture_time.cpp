#include "series/picture_time.h"

#include <sys/stat.h>

#include <ctime>

#include "common/text_format.h"

namespace {

bool digits(std::string_view text, size_t at, size_t count, int& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap(year) ? 29 : days[month - 1];
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// A header line without its nesting: how many tabs it is indented by (a
// program that copies its input's header indents it by one more) and the
// rest.
struct NestedLine {
    size_t depth = 0;
    std::string_view text;
};
NestedLine nested(std::string_view line) {
    NestedLine n;
    while (n.depth < line.size() && line[n.depth] == '\t') ++n.depth;
    n.text = line.substr(n.depth);
    return n;
}

// Our exposure assembly names each photograph in a SERIES= line.
bool assembled(const std::vector<std::string>& lines, size_t depth) {
    for (const std::string& line : lines) {
        const NestedLine n = nested(line);
        if (n.depth == depth && starts_with(n.text, "SERIES=")) return true;
    }
    return false;
}

std::string mtime_of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return "";
    std::tm local{};
    const time_t seconds = info.st_mtime;
    if (!localtime_r(&seconds, &local)) return "";
    return strprintf("%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace

std::optional<std::string> iso_time_of(std::string_view text) {
    text = trimmed(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (text.size() != 19 || !digits(text, 0, 4, year) || !digits(text, 5, 2, month) || !digits(text, 8, 2, day) ||
        !digits(text, 11, 2, hour) || !digits(text, 14, 2, minute) || !digits(text, 17, 2, second))
        return std::nullopt;
    const bool date_marks = (text[4] == ':' && text[7] == ':') || (text[4] == '-' && text[7] == '-');
    if (!date_marks || (text[10] != ' ' && text[10] != 'T') || text[13] != ':' || text[16] != ':') return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > days_in_month(year, month) || hour > 23 || minute > 59 ||
        second > 60)
        return std::nullopt;
    return strprintf("%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second);
}

PictureTime picture_time(const std::string& path, const std::vector<std::string>& header_lines) {
    // The Radiance programs (pcomb, pcompos, pinterp, evalglare) stamp
    // their output with the time they ran, a CAPDATE= line followed by a
    // GMT= line, and copy their input's header indented below it. The
    // capture date is then the input's: the least nested CAPDATE= that is
    // no such stamp (the last of its depth), else a stamp of the picture's
    // own header.
    std::optional<std::pair<size_t, std::string>> capture, stamp;
    for (size_t i = 0; i < header_lines.size(); ++i) {
        const NestedLine line = nested(header_lines[i]);
        if (!starts_with(line.text, "CAPDATE=")) continue;
        const auto iso = iso_time_of(line.text.substr(8));
        if (!iso) continue;
        const NestedLine next = i + 1 < header_lines.size() ? nested(header_lines[i + 1]) : NestedLine{};
        const bool stamped = next.depth == line.depth && starts_with(next.text, "GMT=");
        auto& kept = stamped ? stamp : capture;
        if (!kept || line.depth <= kept->first) kept = std::make_pair(line.depth, *iso);
    }
    if (capture)
        return {capture->second, assembled(header_lines, capture->first) ? time_source_exif : time_source_capdate};
    if (stamp && stamp->first == 0) return {stamp->second, time_source_capdate};
    return {mtime_of(path), time_source_mtime};
}
