#include "assembly/assembly_header.h"

#include <algorithm>
#include <filesystem>

#include "assembly/assemble_series.h"
#include "assembly/series_exposures.h"
#include "common/text_format.h"
#include "picture/rgbe_writer.h"

namespace {

// Room for any count and share, so the line can be rewritten in place.
constexpr size_t saturated_width = 48;

// A header line must stay one line, and a name must not look like another
// header variable (the readers find EXPOSURE= anywhere in a line).
std::string header_safe(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '='; }, '_');
    return text;
}

std::string first_of(const std::vector<ShotExposure>& shots, std::string ShotExposure::*field) {
    for (const ShotExposure& shot : shots)
        if (!(shot.*field).empty()) return shot.*field;
    return "";
}

std::string padded(std::string line) {
    line.resize(std::max(line.size(), saturated_width), ' ');
    return line;
}

}  // namespace

SeriesHeader series_header(const AssemblyRequest& request, bool absolute, double exposure,
                           const std::vector<PictureShift>& shifts) {
    SeriesHeader header;
    header.lines.push_back("SOFTWARE= candelux " CANDELUX_VERSION);
    if (const std::string date = first_of(request.exposures, &ShotExposure::date_time); !date.empty())
        header.lines.push_back("CAPDATE= " + header_safe(date));
    if (const std::string camera = first_of(request.exposures, &ShotExposure::camera); !camera.empty())
        header.lines.push_back("CAMERA= " + header_safe(camera));
    if (const std::string lens = first_of(request.exposures, &ShotExposure::lens); !lens.empty())
        header.lines.push_back("LENS= " + header_safe(lens));
    for (size_t j = 0; j < request.pictures.size(); ++j) {
        const ShotExposure& shot = request.exposures[j];
        std::string line = "SERIES= " + header_safe(std::filesystem::path(request.pictures[j]).filename().string()) +
                           " " + exposure_time_text(shot.seconds) + " s";
        if (shot.f_number > 0) line += strprintf(" f/%g", shot.f_number);
        if (shot.iso > 0) line += strprintf(" ISO %g", shot.iso);
        if (j < shifts.size()) line += strprintf(" shift %d %d", shifts[j].dx, shifts[j].dy);
        header.lines.push_back(line);
    }
    header.lines.push_back(
        absolute ? strprintf("CALIBRATION= reflected-light meter K %g: L = K*N^2/(t*S) * signal/0.18 (mid-grey 18%%)",
                             request.meter_constant)
                 : "CALIBRATION= none: relative values (no f-number or ISO speed)");
    header.saturated_line = header.lines.size();
    header.lines.push_back(saturated_line(0, 0));
    if (exposure > 0) header.lines.push_back(strprintf("EXPOSURE=%.6e", exposure));
    return header;
}

std::string saturated_line(size_t count, double share_percent) {
    return strprintf("SATURATED= %zu %.3f%%", count, share_percent);
}

bool write_series_header(std::FILE* out, const SeriesHeader& header, int width, int height, long& saturated_at) {
    if (std::fputs("#?RADIANCE\n", out) < 0) return false;
    for (size_t i = 0; i < header.lines.size(); ++i) {
        if (i == header.saturated_line) saturated_at = std::ftell(out);
        const std::string line = (i == header.saturated_line ? padded(header.lines[i]) : header.lines[i]) + "\n";
        if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) return false;
    }
    RgbePictureHeader rest;
    rest.resolution = standard_resolution(width, height);
    const std::string tail = "FORMAT=32-bit_rle_rgbe\n\n" + rest.resolution.to_string() + "\n";
    return std::fwrite(tail.data(), 1, tail.size(), out) == tail.size();
}

bool fill_saturated_line(std::FILE* out, long saturated_at, size_t count, double share_percent) {
    const std::string line = padded(saturated_line(count, share_percent));
    if (std::fseek(out, saturated_at, SEEK_SET) != 0) return false;
    if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) return false;
    return std::fseek(out, 0, SEEK_END) == 0;
}
