#include "profiles/profile_settings.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/text_file.h"
#include "common/text_format.h"

namespace {

constexpr const char* capture_key = "CAPTURE_PROFILE=";
constexpr const char* tolerance_key = "EV_TOLERANCE=";

std::vector<std::string> lines_of(const std::string& file) {
    std::vector<std::string> lines;
    const auto bytes = file.empty() ? std::nullopt : read_file_bytes(file);
    // A few lines of settings: anything long is not ours.
    if (!bytes || bytes->size() > 65536) return lines;
    std::istringstream in(*bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

bool starts(const std::string& line, const char* key) { return line.rfind(key, 0) == 0; }

}  // namespace

std::string profile_settings_file(const std::optional<std::string>& configuration_folder) {
    if (!configuration_folder) return "";
    return *configuration_folder + "/candelux/profile_settings";
}

ProfileSettings read_profile_settings(const std::string& file) {
    ProfileSettings settings;
    for (const std::string& line : lines_of(file)) {
        if (starts(line, capture_key)) settings.capture_profile = line.substr(std::string(capture_key).size());
        if (starts(line, tolerance_key)) {
            const std::string text = line.substr(std::string(tolerance_key).size());
            double value = 0;
            if (parse_decimal_prefix(text, value) == text.size() && value > 0 && std::isfinite(value))
                settings.ev_tolerance = value;
        }
    }
    return settings;
}

bool write_profile_settings(const std::string& file, const ProfileSettings& settings) {
    if (file.empty()) return false;
    std::string text;
    for (const std::string& line : lines_of(file))
        if (!starts(line, capture_key) && !starts(line, tolerance_key)) text += line + "\n";
    text += capture_key + settings.capture_profile + "\n";
    text += tolerance_key + strprintf("%.6g", settings.ev_tolerance) + "\n";
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}
