#pragma once
// Reading an RGBE picture from a file or standard input: the header, the
// resolution line, then one scanline at a time, in any of the scanline
// encodings (flat, old repeat markers, run-length).
//
// Scanlines come out either planar (red[n], green[n], blue[n], exponent[n]:
// cheap to decode, cheap to reverse or cut) or as interleaved pixels. The
// resolution line is reported as it stands; programs that treat scanlines as
// rows just use its length and count.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "lib/file_handle.h"
#include "lib/picture_header.h"
#include "picture/block_reader.h"
#include "picture/resolution_line.h"
#include "picture/scanline_codec.h"

enum class PictureProblem {
    none,
    cannot_open,     // errno says why
    bad_header,      // not a header: unprintable start, end of file inside it
    bad_resolution,  // no valid resolution line after the header
    read_error,      // a damaged or truncated scanline
};

class PictureInput {
public:
    PictureInput() = default;
    PictureInput(const PictureInput&) = delete;
    PictureInput& operator=(const PictureInput&) = delete;

    // Opens a file for reading; false (errno set) when it cannot be opened.
    bool open(const std::string& path);
    // Reads standard input instead.
    void open_standard_input();
    bool is_open() const { return file_ != nullptr; }

    // Reads the header and the resolution line.
    PictureProblem read_preamble();

    const PictureHeader& header() const { return header_; }
    const ResolutionLine& resolution() const { return resolution_; }
    int scanline_length() const { return resolution_.scanline_length; }
    int scanline_count() const { return resolution_.scanline_count; }
    // Scanlines read so far.
    int scanlines_read() const { return scanlines_read_; }

    // The next scanline into 4 * scanline_length() bytes. False on a damaged
    // or missing scanline.
    bool read_planes(uint8_t* planes);
    bool read_pixels(RgbePixel* pixels);
    // After a failed read: whether the data simply ended (a truncated file)
    // rather than holding something that is no scanline.
    bool ran_out();
    // Reads and drops scanlines up to (not including) `index`.
    bool skip_to(int index);

private:
    FileHandle owned_;
    std::FILE* file_ = nullptr;
    std::optional<BlockReader> reader_;
    std::optional<ScanlineDecoder> decoder_;
    PictureHeader header_;
    ResolutionLine resolution_;
    std::vector<uint8_t> planes_;
    int scanlines_read_ = 0;
};
