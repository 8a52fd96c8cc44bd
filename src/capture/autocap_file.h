#pragma once
// "autocap.asf": the exposures of an automatic capture run, one a line, in
// capture order. A line is an aperture ("F" or any one character, then an
// aperture label), a comma, and a shutter-speed label, for example
// "F5.6,1/125". White space anywhere in a line is ignored; a line that holds
// nothing else is skipped. Labels must match the tables' texts exactly.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

inline constexpr const char* autocap_file_name = "autocap.asf";

struct AutoExposure {
    uint32_t aperture = 0;  // code
    uint32_t shutter = 0;   // code
    std::string text;       // the line without its white space, for reports
};

struct AutocapList {
    enum class Status { ok, missing, damaged } status = Status::ok;
    std::vector<AutoExposure> entries;  // only when ok
    size_t damaged_entry = 0;           // 0-based index among the non-empty lines
};

// The line with every space, tab, line feed, vertical tab, form feed and
// carriage return removed.
std::string strip_white_space(const std::string& line);

// Checks every line before accepting any, so a damaged line anywhere means no
// exposure at all.
AutocapList parse_autocap(const std::vector<std::string>& lines);

// Reads and parses the file; `missing` when it cannot be opened.
AutocapList read_autocap_file(const std::filesystem::path& path);
