#include "capture/autocap_file.h"

#include <algorithm>

#include "capture/exposure_tables.h"
#include "common/text_file.h"

namespace {

bool is_white_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string strip_white_space(const std::string& line) {
    std::string kept = line;
    kept.erase(std::remove_if(kept.begin(), kept.end(), is_white_space), kept.end());
    return kept;
}

AutocapList parse_autocap(const std::vector<std::string>& lines) {
    AutocapList list;
    for (const std::string& line : lines) {
        std::string entry = strip_white_space(line);
        if (entry.empty()) continue;
        const size_t comma = entry.find(',');
        AutoExposure exposure;
        if (comma != std::string::npos) {
            exposure.aperture = aperture_code(std::string_view(entry).substr(0, comma));
            exposure.shutter = shutter_code(std::string_view(entry).substr(comma + 1));
        }
        if (exposure.aperture == 0 || exposure.shutter == 0) {
            list.status = AutocapList::Status::damaged;
            list.damaged_entry = list.entries.size();
            list.entries.clear();
            return list;
        }
        exposure.text = std::move(entry);
        list.entries.push_back(std::move(exposure));
    }
    return list;
}

AutocapList read_autocap_file(const std::filesystem::path& path) {
    auto lines = read_text_lines(path);
    if (!lines) return {AutocapList::Status::missing, {}, 0};
    return parse_autocap(*lines);
}
