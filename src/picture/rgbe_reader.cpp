#include "picture/rgbe_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>

#include "common/huge_pages.h"
#include "common/parallel_bands.h"
#include "common/regular_file.h"
#include "common/text_format.h"
#include "picture/block_reader.h"
#include "picture/header_limit.h"
#include "picture/luminance_bands.h"
#include "picture/resolution_line.h"
#include "picture/scanline_codec.h"

namespace {

constexpr size_t header_line_chars = 2047;   // a 2048-byte line buffer
constexpr size_t header_piece_chars = 2046;  // over-long lines are cut here
constexpr size_t resolution_line_chars = 31;
// Wider scanlines than any camera or renderer makes are refused before their
// buffer is allocated.
constexpr int max_scanline_length = 1 << 24;
constexpr const char* rgbe_format = "32-bit_rle_rgbe";

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

Failure bad_header() { return {read_bad_header, "Something is wrong here\n"}; }
Failure bad_scanline() { return {read_bad_scanline, "error reading Radiance picture"}; }
Failure out_of_memory() { return {read_out_of_memory, "Out of memory in ra2picarray"}; }

struct Preamble {
    std::vector<float> exposures;
    std::vector<std::string> lines;  // the header's lines, without line ends
    ResolutionLine resolution;
};

bool is_header_end(const std::string& line) { return line == "\n" || line == "\r\n"; }

// The value of an EXPOSURE= anywhere in the line, when it is a usable factor.
// The line is C text: a NUL byte ends it. The number is a plain decimal in
// the C locale's form, whatever locale the program runs under ("0x10" is 0).
void collect_exposure(const std::string& line, std::vector<float>& exposures) {
    const std::string_view text(line.c_str(), std::strlen(line.c_str()));
    const size_t key = text.find("EXPOSURE=");
    if (key == std::string_view::npos) return;
    const float value = parse_decimal_float(text.substr(key + 9));
    // A value that is not a positive finite number would make every luminance
    // infinite, zero or NaN; such a line (often a comment) is not an exposure.
    if (std::isfinite(value) && value > 0.0f) exposures.push_back(value);
}

// The value of a FORMAT= line: the first word after the key.
void collect_format(const std::string& line, std::string& format) {
    if (!starts_with(line, "FORMAT=")) return;
    size_t i = 7;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    size_t end = i;
    while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
    if (end > i) format = line.substr(i, end - i);
}

Result<Preamble> read_preamble(BlockReader& in) {
    Preamble preamble;
    std::string format;
    std::string line;
    for (;;) {
        if (!in.read_line(line, header_line_chars)) return bad_header();
        if (is_header_end(line)) break;
        if (in.offset() > max_header_bytes) return Failure{read_bad_header, header_too_long_text};
        if (line.size() == header_line_chars && line[header_piece_chars] != '\n') {
            // Over-long line: cut it and read the rest as the next line.
            in.unget();
            line.resize(header_piece_chars);
        }
        collect_exposure(line, preamble.exposures);
        collect_format(line, format);
        std::string text(line.c_str());
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        preamble.lines.push_back(std::move(text));
    }
    if (!format.empty() && format != rgbe_format) return bad_header();

    if (!in.read_line(line, resolution_line_chars)) return bad_header();
    auto resolution = parse_resolution_line(line);
    if (!resolution) return bad_header();
    preamble.resolution = *resolution;
    return preamble;
}

Result<File> open_picture(const std::string& path) {
    std::string kind;
    File file(open_regular_file(path, &kind));
    if (!file && !kind.empty()) return Failure{read_cannot_open, path + " is " + kind};
    if (!file) return Failure{read_cannot_open, strprintf("Could not open %s file\n", path.c_str())};
    return file;
}

}  // namespace

float exposure_product(const std::vector<float>& exposures) {
    float product = 1.0f;
    for (float value : exposures) product *= value;
    return product;
}

namespace {

// The header read and the resolution line checked against what the file
// can hold. Every scanline takes at least four bytes of the file, so a
// resolution line that claims more scanlines than the rest of the file could
// hold is refused before anything of its size is allocated. Where the size is
// not known (memory, a pipe), known_rows is 0 and the result grows row by
// row as scanlines arrive, so a claim the data does not keep costs nothing.
struct Opened {
    Preamble preamble;
    size_t known_rows = 0;
    uint64_t data_bytes = 0;  // the file's bytes after the resolution line; 0 when not known
};

Result<Opened> open_scanlines(std::FILE* file, BlockReader& in) {
    auto preamble = read_preamble(in);
    if (!preamble) return preamble.failure();
    Opened opened{std::move(preamble.value()), 0};
    const ResolutionLine& res = opened.preamble.resolution;
    if (res.scanline_length > max_scanline_length) return out_of_memory();
    struct stat info {};
    const int descriptor = fileno(file);
    if (descriptor >= 0 && ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        const uint64_t size = static_cast<uint64_t>(info.st_size);
        const uint64_t left = size > in.offset() ? size - in.offset() : 0;
        if (static_cast<uint64_t>(res.scanline_count) > left / 4) return bad_scanline();
        opened.known_rows = static_cast<size_t>(res.scanline_count);
        opened.data_bytes = left;
    }
    return opened;
}

// Decodes a picture scanline by scanline. `prepare` sees the header and the
// number of rows the file can be trusted to hold (0 when its size is not
// known), so that it can reserve room; `take_row` receives each decoded
// scanline as planes and grows the result.
template <class Prepare, class TakeRow>
std::optional<Failure> decode_picture(std::FILE* file, Prepare prepare, TakeRow take_row) {
    BlockReader in(file);
    auto opened = open_scanlines(file, in);
    if (!opened) return opened.failure();
    const ResolutionLine& res = opened.value().preamble.resolution;
    const size_t length = static_cast<size_t>(res.scanline_length);
    std::vector<uint8_t> planes;
    ScanlineDecoder decoder(in, res.scanline_length);
    try {
        prepare(opened.value().preamble, opened.value().known_rows);
        planes.resize(4 * length);
        for (int row = 0; row < res.scanline_count; ++row) {
            if (!decoder.decode(planes.data())) return bad_scanline();
            take_row(static_cast<size_t>(row), planes.data());
        }
    } catch (const std::bad_alloc&) {
        return out_of_memory();
    } catch (const std::length_error&) {
        return out_of_memory();
    }
    return std::nullopt;
}

// Bytes of the file looked at in one go when scanlines are converted in
// bands: enough for every core to have many scanlines to take, few enough
// that the window and the rows it fills stay in the cores' caches between
// indexing, decoding and converting.
constexpr size_t band_window_bytes = size_t{1} << 19;

// A window of the file's bytes: whole run-length scanlines, indexed, and the
// start of the next one.
struct Window {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(band_window_bytes);
    size_t size = 0;
    RleScanlines index;
};

// Fills the window after the `kept` bytes already at its start; false when
// the file could not be read.
bool read_window(std::FILE* file, Window& window, size_t kept) {
    window.size = kept;
    while (window.size < window.bytes.size()) {
        const size_t got = std::fread(window.bytes.data() + window.size, 1, window.bytes.size() - window.size, file);
        if (got == 0) return !std::ferror(file);
        window.size += got;
    }
    return true;
}

// Run-length scanlines are converted in bands on every core, a window at a
// time; while the bands of one window are converted, this thread reads and
// indexes the next. From the first scanline in any other form, or a damaged
// one, the rest is decoded in order by the sequential decoder, which gives
// the same result and the same refusal as reading everything in order.
std::optional<Failure> decode_luminance(std::FILE* file, BlockReader& in, LuminanceMap& map, bool size_known) {
    const int length = map.width;
    const size_t width = static_cast<size_t>(length);
    const size_t rows = static_cast<size_t>(map.height);
    ScanlineDecoder decoder(in, length);
    size_t row = 0;
    if (length >= 8 && length <= 0x7fff && rows > 0) {
        Window windows[2];
        Window* current = &windows[0];
        Window* next = &windows[1];
        // What the header's reader took past the header starts the first window.
        const size_t taken = std::min(in.available(), current->bytes.size());
        std::memcpy(current->bytes.data(), in.data(), taken);
        in.consume(taken);
        if (!read_window(file, *current, taken)) return bad_scanline();
        index_rle_scanlines(current->bytes.data(), current->size, length, rows, current->index);
        std::function<void(size_t, size_t)> convert;
        BandPool pool;
        while (current->index.rows > 0) {
            const RleScanlines& index = current->index;
            map.data.resize((row + index.rows) * width);
            const uint8_t* data = current->bytes.data();
            float* out = map.data.data() + row * width;
            convert = [&, data, out](size_t first, size_t last) {
                rle_scanlines_to_luminance(data, index, first, last, length, map.exposure, out);
            };
            pool.start(index.rows, rows_per_band, convert);
            // Where the file's size is known the map never moves, so the next
            // window is read while this one is converted.
            if (!size_known) pool.finish();
            const size_t tail = current->size - index.bytes;
            std::memcpy(next->bytes.data(), data + index.bytes, tail);
            const bool read = read_window(file, *next, tail);
            if (read) {
                index_rle_scanlines(next->bytes.data(), next->size, length, rows - row - index.rows, next->index);
                // Rows the bands are not writing: made room for meanwhile.
                if (size_known) map.data.resize((row + index.rows + next->index.rows) * width);
            }
            pool.finish();
            if (!read) return bad_scanline();
            decoder.remember_last_pixel(index.last_pixel);
            row += index.rows;
            std::swap(current, next);
        }
        // The rest, if any, goes to the sequential decoder.
        in.put_back(current->bytes.data(), current->size);
    }
    std::vector<uint8_t> planes(4 * width);
    for (; row < rows; ++row) {
        if (!decoder.decode(planes.data())) return bad_scanline();
        map.data.resize((row + 1) * width);
        planes_to_luminance(planes.data(), length, map.exposure, map.data.data() + row * width);
    }
    return std::nullopt;
}

}  // namespace

Result<RgbePicture> ra2picarray(const std::string& path) {
    auto file = open_picture(path);
    if (!file) return file.failure();
    return ra2picarray(file.value().get());
}

Result<RgbePicture> ra2picarray(std::FILE* file) {
    RgbePicture picture;
    auto failure = decode_picture(
        file,
        [&](Preamble& preamble, size_t known_rows) {
            const ResolutionLine& res = preamble.resolution;
            picture.scanline_length = res.scanline_length;
            picture.scanline_count = res.scanline_count;
            picture.orientation = res.flags;
            picture.exposures = std::move(preamble.exposures);
            picture.pixels.reserve(static_cast<size_t>(res.scanline_length) * known_rows);
        },
        [&](size_t row, const uint8_t* planes) {
            const size_t length = static_cast<size_t>(picture.scanline_length);
            picture.pixels.resize((row + 1) * length);
            planes_to_pixels(planes, picture.scanline_length, picture.pixels.data() + row * length);
        });
    if (failure) return *failure;
    return picture;
}

Result<float> read_picture_exposure(const std::string& path) {
    auto file = open_picture(path);
    if (!file) return file.failure();
    BlockReader in(file.value().get());
    auto preamble = read_preamble(in);
    if (!preamble) return preamble.failure();
    return exposure_product(preamble.value().exposures);
}

Result<std::vector<std::string>> read_picture_header(const std::string& path) {
    auto file = open_picture(path);
    if (!file) return file.failure();
    BlockReader in(file.value().get());
    auto preamble = read_preamble(in);
    if (!preamble) return preamble.failure();
    return std::move(preamble.value().lines);
}

Result<LuminanceMap> load_luminance_map(const std::string& path) {
    auto file = open_picture(path);
    if (!file) return file.failure();
    return load_luminance_map(file.value().get());
}

Result<LuminanceMap> load_luminance_map(std::FILE* file) {
    BlockReader in(file);
    auto opened = open_scanlines(file, in);
    if (!opened) return opened.failure();
    const Preamble& preamble = opened.value().preamble;
    LuminanceMap map;
    map.width = preamble.resolution.scanline_length;
    map.height = preamble.resolution.scanline_count;
    map.exposure = exposure_product(preamble.exposures);
    try {
        const size_t known_rows = opened.value().known_rows;
        map.data.reserve(static_cast<size_t>(map.width) * known_rows);
        advise_huge_pages(map.data.data(), map.data.capacity() * sizeof(float));
        // The new map's pages are cleared by the system on this thread of
        // its own while the first window is read, not by the converting ones:
        // as many as the file can fill (a run-length scanline holds at most
        // 127 pixels in every 8 bytes), so that a file claiming more rows
        // than it holds makes no more memory present than it did before.
        const uint64_t fillable = opened.value().data_bytes * 16;
        const size_t populated = static_cast<size_t>(std::min<uint64_t>(map.data.capacity(), fillable));
        std::jthread populate([&map, populated] { populate_pages(map.data.data(), populated * sizeof(float)); });
        if (auto failure = decode_luminance(file, in, map, known_rows > 0)) return *failure;
    } catch (const std::bad_alloc&) {
        return out_of_memory();
    } catch (const std::length_error&) {
        return out_of_memory();
    }
    return map;
}
