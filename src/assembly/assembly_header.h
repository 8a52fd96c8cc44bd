#pragma once
// The header of an assembled picture: where it came from (software, capture
// date, camera, lens, one SERIES= line per picture with its exposure), how its
// values became luminance (CALIBRATION=, EXPOSURE=) and how many pixels were
// over-exposed even in the shortest exposure (SATURATED= count share%),
// whose luminance is then only a lower bound.
//
// The SATURATED= line is written padded and filled in once the merge has
// counted, so the picture can be streamed to the file.

#include <cstdio>
#include <string>
#include <vector>

struct AssemblyRequest;
struct PictureShift;

struct SeriesHeader {
    std::vector<std::string> lines;
    size_t saturated_line = 0;  // index of the SATURATED= line
};

// exposure: the EXPOSURE= value; 0 writes none (relative values). With
// shifts, each SERIES= line ends in the picture's shift ("shift 3 -2").
SeriesHeader series_header(const AssemblyRequest& request, bool absolute, double exposure,
                           const std::vector<PictureShift>& shifts = {});

// "SATURATED= 1234 0.012%"
std::string saturated_line(size_t count, double share_percent);

// Writes "#?RADIANCE", the lines, FORMAT and the resolution line;
// saturated_at receives the file offset of the SATURATED= line.
bool write_series_header(std::FILE* out, const SeriesHeader& header, int width, int height, long& saturated_at);

// Fills in the padded SATURATED= line and returns to the end of the file.
bool fill_saturated_line(std::FILE* out, long saturated_at, size_t count, double share_percent);
