#include "lib/picture_filter.h"

#include <cmath>
#include <functional>
#include <new>
#include <vector>

#include "common/physics.h"
#include "common/text_format.h"
#include "lib/picture_messages.h"
#include "lib/picture_output.h"
#include "lib/rgbe_color.h"

namespace {

const PictureMessages messages = {
    "can't open file \"{file}\"", "bad picture size", "bad picture size", "bad picture size",
    "truncated input (y={y})",
};

constexpr std::string_view xyze_format_name = "32-bit_rle_xyze";
constexpr double hot_level = 100.0;
constexpr double target_brightness = 0.5;

// Input index range [begin, end) of every output index along one axis.
struct AxisRange {
    int begin = 0;
    int end = 0;
};

std::vector<AxisRange> axis_ranges(int input, int output) {
    std::vector<AxisRange> ranges(static_cast<size_t>(output));
    const int64_t n = output;
    const int64_t big_n = input;
    if (output < input) {
        for (auto& r : ranges) r.begin = input;
        for (int64_t k = 0; k < big_n; ++k) {
            AxisRange& r = ranges[static_cast<size_t>(k * n / big_n)];
            if (k < r.begin) r.begin = static_cast<int>(k);
            r.end = static_cast<int>(k + 1);
        }
    } else {
        for (int64_t c = 0; c < n; ++c) {
            const int k = static_cast<int>((2 * c + 1) * big_n / (2 * n));
            ranges[static_cast<size_t>(c)] = {k, k + 1};
        }
    }
    return ranges;
}

using ScanlineSource = std::function<bool(uint8_t* planes)>;

// Filters `count` scanlines of `length` pixels from `next` into `out`.
bool filter_scanlines(const ScanlineSource& next, int length, int count, int out_length, int out_count,
                      float factor, PictureOutput& out) {
    const size_t n = static_cast<size_t>(length);
    const size_t out_n = static_cast<size_t>(out_length);
    std::vector<uint8_t> planes(4 * n);
    std::vector<RgbePixel> result(out_n);
    const auto& table = rgbe_scale_table();

    if (length == out_length && count == out_count) {
        // Read in order; each scanline scaled and encoded by one of the cores.
        return out.write_scanlines_read(static_cast<size_t>(count), length, next,
                                        [&](uint8_t* planes) { scale_planes(planes, length, factor); });
    }

    const auto xs = axis_ranges(length, out_length);
    const auto ys = axis_ranges(count, out_count);
    std::vector<Color3> line(n);
    std::vector<Color3> sum(out_n);
    int decoded = -1;  // index of the scanline now in `line`
    for (int cy = 0; cy < out_count; ++cy) {
        const AxisRange& yr = ys[static_cast<size_t>(cy)];
        std::fill(sum.begin(), sum.end(), Color3{});
        for (int yi = yr.begin; yi < yr.end; ++yi) {
            while (decoded < yi) {
                if (!next(planes.data())) return false;
                ++decoded;
            }
            for (size_t i = 0; i < n; ++i) {
                const float f = table.scale[planes[3 * n + i]] * factor;
                line[i] = {(planes[i] + 0.5f) * f, (planes[n + i] + 0.5f) * f, (planes[2 * n + i] + 0.5f) * f};
            }
            for (size_t cx = 0; cx < out_n; ++cx) {
                Color3& s = sum[cx];
                for (int xi = xs[cx].begin; xi < xs[cx].end; ++xi) {
                    const Color3& c = line[static_cast<size_t>(xi)];
                    s.r += c.r;
                    s.g += c.g;
                    s.b += c.b;
                }
            }
        }
        for (size_t cx = 0; cx < out_n; ++cx) {
            const float area = static_cast<float>((yr.end - yr.begin) * (xs[cx].end - xs[cx].begin));
            result[cx] = encode_color(sum[cx].r / area, sum[cx].g / area, sum[cx].b / area);
        }
        out.write_pixels(result.data(), out_length);
    }
    // Scanlines below the last one used are still read, so that a
    // truncated picture is noticed.
    while (decoded + 1 < count) {
        if (!next(planes.data())) return false;
        ++decoded;
    }
    return true;
}

// Mean brightness of the pixels with 0 < brightness < hot; 0 when none.
double mean_brightness(const std::vector<uint8_t>& picture, size_t length, size_t count, bool xyze, double hot) {
    double total = 0;
    size_t used = 0;
    for (size_t s = 0; s < count; ++s) {
        const uint8_t* planes = picture.data() + 4 * length * s;
        for (size_t i = 0; i < length; ++i) {
            const Color3 c = decode_color(planes[i], planes[length + i], planes[2 * length + i], planes[3 * length + i]);
            const double brightness = xyze ? c.g
                                           : physics::radiance_weight_red * c.r +
                                                 physics::radiance_weight_green * c.g +
                                                 physics::radiance_weight_blue * c.b;
            if (brightness > 0 && brightness < hot) {
                total += brightness;
                ++used;
            }
        }
    }
    return used > 0 ? total / static_cast<double>(used) : 0.0;
}

std::vector<std::string> filter_header(const FilterOptions& options, const PictureHeader& input, double aspect,
                                       double factor) {
    std::vector<std::string> lines = input.lines;
    lines.push_back(options.command);
    if (aspect < 0.98 || aspect > 1.02) lines.push_back(strprintf("PIXASPECT=%f", aspect));
    if (factor != 1.0) lines.push_back(exposure_line(factor));
    return lines;
}

}  // namespace

long filtered_size(const FilterSize& size, int input) {
    if (!size.set) return input;
    if (!size.reduce) return static_cast<long>(size.value);
    const double value = std::trunc(input * (1.0 / size.value) + 0.5);
    return value > 1e9 || !(value > 0) ? 0 : static_cast<long>(value);
}

ProgramStatus filter_picture(const FilterOptions& options) {
    PictureInput in;
    if (auto status = open_picture(in, options.input, messages, false); !status.ok()) return status;
    const bool xyze = in.header().format() == xyze_format_name;
    if (!in.header().is_rgbe() && !xyze) return program_failure("bad picture size");

    const int length = in.scanline_length();
    const int count = in.scanline_count();
    const long out_length = filtered_size(options.x, length);
    const long out_count = filtered_size(options.y, count);
    if (out_length <= 0 || out_count <= 0 || out_length > 1000000 || out_count > 1000000)
        return program_failure("illegal output resolution");

    double aspect = (static_cast<double>(out_length) / length) / (static_cast<double>(out_count) / count);
    if (!(in.resolution().flags & ResolutionLine::y_major)) aspect = 1.0 / aspect;

    double factor = options.exposure;
    ScanlineSource next = [&in](uint8_t* planes) { return in.read_planes(planes); };
    std::vector<uint8_t> picture;
    size_t row = 0;
    if (!options.one_pass) {
        const size_t n = static_cast<size_t>(length);
        try {
            picture.resize(4 * n * static_cast<size_t>(count));
        } catch (const std::bad_alloc&) {
            return program_failure("out of memory");
        }
        for (int s = 0; s < count; ++s)
            if (!in.read_planes(picture.data() + 4 * n * static_cast<size_t>(s)))
                return read_failure(messages, in, options.input);
        const double mean = mean_brightness(picture, n, static_cast<size_t>(count), xyze,
                                            hot_level * in.header().exposure());
        if (!(mean > 0)) return program_failure("picture too dark or too bright");
        factor *= target_brightness / mean;
        next = [&picture, &row, n](uint8_t* planes) {
            std::copy_n(picture.data() + 4 * n * row++, 4 * n, planes);
            return true;
        };
    }

    ResolutionLine resolution = in.resolution();
    resolution.scanline_length = static_cast<int>(out_length);
    resolution.scanline_count = static_cast<int>(out_count);
    PictureOutput out;
    out.open_standard_output();
    out.write_header(filter_header(options, in.header(), aspect, factor), resolution);
    if (!filter_scanlines(next, length, count, static_cast<int>(out_length), static_cast<int>(out_count),
                          static_cast<float>(factor), out))
        return read_failure(messages, in, options.input);
    if (!out.finish()) return program_failure("write error");
    return success();
}
