#include "settings/settings_file.h"

#include "common/text_file.h"

namespace {

// Start and length of the value on a line, or nothing when the line holds no
// value ('<' and '>' missing or out of order, or nothing between them).
struct ValueSpan {
    long start;
    long end;  // inclusive
};

ValueSpan value_span(const std::string& line) {
    const auto lt = line.find('<');
    const auto gt = line.find('>');
    const long start = lt == std::string::npos ? 0 : static_cast<long>(lt) + 1;
    const long end = gt == std::string::npos ? -2 : static_cast<long>(gt) - 1;
    return {start, end};
}

}  // namespace

SettingsFile::SettingsFile(PlatformFolders folders) : folders_(std::move(folders)) {}

std::filesystem::path SettingsFile::folder() const {
    return std::filesystem::path(folders_.appdata.value_or("")) / settings_folder_name;
}

std::filesystem::path SettingsFile::path() const { return folder() / settings_file_name; }

std::filesystem::path SettingsFile::fallback_cache_folder() const { return folder() / "cache"; }

SettingsFile::Status SettingsFile::ensure_settings_file() const {
    if (!folders_.appdata) return Status::appdata_missing;
    std::error_code ec;
    std::filesystem::create_directories(folder(), ec);

    if (std::filesystem::exists(path(), ec)) {
        // Something that is not a file (a folder, say) can be neither read
        // nor replaced.
        return std::filesystem::is_regular_file(path(), ec) ? Status::ok : Status::cannot_open;
    }

    std::vector<std::string> lines;
    Status status = Status::ok;
    std::string cache;
    if (folders_.cache) {
        ensure_private_folder(*folders_.cache);
        cache = *folders_.cache;
    } else {
        // An empty file (or an empty CACHE value) could never be set from the
        // Settings dialog afterwards, since only existing values are replaced.
        // Write a usable folder of our own instead.
        ensure_private_folder(fallback_cache_folder().string());
        cache = fallback_cache_folder().string();
        status = Status::temp_missing;
    }
    lines.push_back("CACHE=<" + cache + ">");
    lines.push_back("DEFTONEMAP=<ward>");
    lines.push_back("IMGDISP=<bmp>");
    if (!write_text_lines(path(), lines)) return Status::cannot_open;
    return status;
}

std::string SettingsFile::read_setting(std::string_view key) const {
    if (!folders_.appdata) return {};
    auto lines = read_text_lines(path());
    if (!lines) return {};
    std::string result;
    for (const auto& line : *lines) {
        if (line.find(key) == std::string::npos) continue;
        const ValueSpan span = value_span(line);
        if (span.start <= span.end)
            result = line.substr(static_cast<size_t>(span.start), static_cast<size_t>(span.end - span.start + 1));
    }
    return result;
}

void SettingsFile::write_setting(std::string_view key, std::string_view value) const {
    if (!folders_.appdata) return;
    auto lines = read_text_lines(path());
    if (!lines) return;
    for (auto& line : *lines) {
        if (line.find(key) == std::string::npos) continue;
        const ValueSpan span = value_span(line);
        if (span.start <= span.end)
            line.replace(static_cast<size_t>(span.start), static_cast<size_t>(span.end - span.start + 1), value);
    }
    write_text_lines(path(), *lines);
}
