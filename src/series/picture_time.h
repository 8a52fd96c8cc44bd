#pragma once
// When a picture was taken, as a series orders its rows: the capture date
// in its header, else the date the exposure assembly took from the
// photographs' EXIF data, else the file's modification time. The source is
// kept as a word beside the time, so a reader of the series knows which
// rows rest on a file system's clock.
//
// Times are local wall-clock times without a zone, as cameras and the
// CAPDATE= line give them, written in ISO 8601 ("2026-12-07T08:30:00"); a
// modification time is written in the machine's local time the same way.
// Text of that form sorts in time order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* time_source_capdate = "capdate";
inline constexpr const char* time_source_exif = "exif";
inline constexpr const char* time_source_mtime = "mtime";

struct PictureTime {
    std::string iso;     // "2026-12-07T08:30:00"; "" when even the file's time is unknown
    std::string source;  // time_source_capdate, _exif or _mtime
};

// "YYYY:MM:DD hh:mm:ss" (CAPDATE= and EXIF form; '-' between the date's
// parts and 'T' between date and time are taken too) as ISO 8601; nothing
// for any other text or an impossible date.
std::optional<std::string> iso_time_of(std::string_view date_time);

// The picture's time from its header lines (as read_picture_header gives
// them) and, failing those, the file `path`'s modification time.
//
// The capture date is a CAPDATE= line: the picture's own, or when a
// Radiance program (pcomb, pcompos, pinterp, evalglare) wrote the picture
// and stamped it with the time it ran (CAPDATE= then GMT=), the one of the
// input header it copied, indented by tabs; the stamp itself only when no
// other date is there. In a picture our exposure assembly wrote (SERIES=
// lines beside the CAPDATE= name the photographs) that line is the first
// photograph's EXIF DateTimeOriginal, and the source says "exif". A date
// that is not a real one counts as none.
PictureTime picture_time(const std::string& path, const std::vector<std::string>& header_lines);
