#include "analysis/lens_figures.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>

#include "analysis/vertical_illuminance.h"
#include "common/text_format.h"

std::optional<SaturatedLine> saturated_line(const std::vector<std::string>& header_lines) {
    std::optional<SaturatedLine> found;
    for (const std::string& line : header_lines) {
        if (line.rfind("SATURATED=", 0) != 0) continue;
        const char* p = line.c_str() + 10;
        const char* end = line.c_str() + line.size();
        while (p < end && *p == ' ') ++p;
        SaturatedLine value;
        auto [after_count, count_error] = std::from_chars(p, end, value.count);
        if (count_error != std::errc() || value.count < 0) continue;
        p = after_count;
        while (p < end && *p == ' ') ++p;
        auto [after_share, share_error] = std::from_chars(p, end, value.share_percent);
        if (share_error != std::errc()) value.share_percent = -1;  // worked out from the picture
        found = value;  // a later line speaks for the picture as it now is
    }
    return found;
}

int64_t mark_ceiling(const LuminanceMap& map, const std::vector<float>* solid_angle, std::vector<uint8_t>& ceiling) {
    const size_t n = map.data.size();
    ceiling.assign(n, 0);
    auto counted = [&](size_t p) { return std::isfinite(map.data[p]) && (!solid_angle || (*solid_angle)[p] > 0); };
    float top = 0;
    for (size_t p = 0; p < n; ++p)
        if (counted(p)) top = std::max(top, map.data[p]);
    if (!(top > sample_threshold)) return 0;
    const double floor = static_cast<double>(top) * (1.0 - ceiling_tolerance);
    std::vector<uint8_t> near(n, 0);
    size_t near_count = 0, considered = 0;
    for (size_t p = 0; p < n; ++p) {
        if (!counted(p)) continue;
        ++considered;
        if (map.data[p] >= floor) near[p] = 1, ++near_count;
    }
    if (near_count == considered) return 0;

    // Patches of touching pixels, each kept only when large enough.
    const int32_t w = map.width, h = map.height;
    int64_t total = 0;
    std::vector<size_t> patch;
    std::deque<size_t> queue;
    for (size_t start = 0; start < n; ++start) {
        if (near[start] != 1) continue;
        patch.clear();
        queue.push_back(start);
        near[start] = 2;
        while (!queue.empty()) {
            const size_t p = queue.front();
            queue.pop_front();
            patch.push_back(p);
            const int32_t x = static_cast<int32_t>(p % size_t(w)), y = static_cast<int32_t>(p / size_t(w));
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int32_t nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    const size_t q = size_t(ny) * size_t(w) + size_t(nx);
                    if (near[q] != 1) continue;
                    near[q] = 2;
                    queue.push_back(q);
                }
        }
        if (static_cast<int64_t>(patch.size()) < ceiling_patch) continue;
        for (size_t p : patch) ceiling[p] = 1;
        total += static_cast<int64_t>(patch.size());
    }
    return total;
}

namespace {

// The assembly's count of clipped pixels: they are the brightest ones.
int64_t mark_brightest(const LuminanceMap& map, const std::vector<float>* solid_angle, int64_t count,
                       std::vector<uint8_t>& ceiling) {
    ceiling.assign(map.data.size(), 0);
    std::vector<size_t> order;
    for (size_t p = 0; p < map.data.size(); ++p)
        if (std::isfinite(map.data[p]) && (!solid_angle || (*solid_angle)[p] > 0)) order.push_back(p);
    const size_t wanted = std::min(order.size(), static_cast<size_t>(count));
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(wanted), order.end(),
                      [&](size_t a, size_t b) { return map.data[a] > map.data[b]; });
    for (size_t k = 0; k < wanted; ++k) ceiling[order[k]] = 1;
    return static_cast<int64_t>(wanted);
}

size_t map_index(const SamplePosition& at, int32_t map_width) { return size_t(at.y) * size_t(map_width) + size_t(at.x); }

struct Weighted {
    float value;
    double weight;
};

// The weighted mean of the values making up `share` of the total weight,
// taken from the front of `sorted` (the boundary sample counts in part).
double share_mean(std::span<const Weighted> sorted, double share, bool from_top) {
    if (!(share > 0)) return 0;
    double left = share, sum = 0;
    for (size_t k = 0; k < sorted.size() && left > 0; ++k) {
        const Weighted& s = sorted[from_top ? sorted.size() - 1 - k : k];
        const double taken = std::min(left, s.weight);
        sum += taken * s.value;
        left -= taken;
    }
    return sum / (share - std::max(left, 0.0));
}

}  // namespace

PictureLens picture_lens(const LuminanceMap& map, const std::vector<std::string>& header_lines) {
    PictureLens lens;
    lens.geometry = lens_geometry(picture_view(header_lines), map.width, map.height);
    const std::vector<float>* in_view = lens.geometry ? &lens.geometry->solid_angle : nullptr;
    lens.pixels_in_view = static_cast<int64_t>(map.data.size());
    if (lens.geometry) {
        lens.pixels_in_view = 0;
        double sum = 0;
        for (size_t p = 0; p < map.data.size(); ++p) {
            if (!lens.geometry->in_view(p)) continue;
            ++lens.pixels_in_view;
            const float l = map.data[p];
            if (l > sample_threshold && std::isfinite(l)) sum += double(l) * lens.geometry->illuminance_weight[p];
        }
        lens.vertical_illuminance = sum;
    }
    const auto saturated = saturated_line(header_lines);
    if (saturated) {
        lens.ceiling_pixels = mark_brightest(map, in_view, saturated->count, lens.ceiling);
        lens.ceiling_share_percent = saturated->share_percent;
    } else {
        lens.ceiling_pixels = mark_ceiling(map, in_view, lens.ceiling);
    }
    if (!saturated || saturated->share_percent < 0)
        lens.ceiling_share_percent =
            lens.pixels_in_view > 0 ? 100.0 * double(lens.ceiling_pixels) / double(lens.pixels_in_view) : 0.0;
    return lens;
}

LensFigures lens_figures(const PictureLens& lens, std::span<const float> values,
                         std::span<const SamplePosition> positions, int32_t map_width) {
    LensFigures figures;
    figures.has_view = lens.has_view();
    double weighted = 0;
    for (size_t k = 0; k < positions.size() && k < values.size(); ++k) {
        const size_t p = map_index(positions[k], map_width);
        if (p < lens.ceiling.size() && lens.ceiling[p]) ++figures.ceiling_pixels;
        if (!lens.geometry || !lens.geometry->in_view(p)) continue;
        const double omega = lens.geometry->solid_angle[p];
        ++figures.count_in_view;
        figures.solid_angle += omega;
        weighted += double(values[k]) * omega;
        figures.vertical_illuminance += double(values[k]) * lens.geometry->illuminance_weight[p];
    }
    if (figures.solid_angle > 0) figures.weighted_mean = weighted / figures.solid_angle;
    if (lens.vertical_illuminance > 0) figures.illuminance_share = figures.vertical_illuminance / lens.vertical_illuminance;
    return figures;
}

void weight_by_solid_angle(const PictureLens& lens, const AnalysisSettings& settings, int32_t map_width,
                           RegionStatistics& statistics) {
    if (!lens.geometry) return;
    std::vector<Weighted> samples;
    double total = 0, sum = 0;
    for (size_t k = 0; k < statistics.positions.size() && k < statistics.samples.size(); ++k) {
        const size_t p = map_index(statistics.positions[k], map_width);
        if (!lens.geometry->in_view(p)) continue;
        const double omega = lens.geometry->solid_angle[p];
        samples.push_back({statistics.samples[k], omega});
        total += omega;
        sum += omega * statistics.samples[k];
    }
    if (!(total > 0)) return;
    std::sort(samples.begin(), samples.end(), [](const Weighted& a, const Weighted& b) { return a.value < b.value; });
    const double mean = sum / total;
    double squares = 0;
    for (const Weighted& s : samples) squares += s.weight * (s.value - mean) * (s.value - mean);
    statistics.mean = static_cast<float>(mean);
    statistics.standard_deviation = static_cast<float>(std::sqrt(squares / total));
    // The weighted median: where the running weight passes half the total;
    // a sample ending exactly at half shares the median with the next one.
    double running = 0;
    for (size_t k = 0; k < samples.size(); ++k) {
        running += samples[k].weight;
        if (running < total / 2) continue;
        const bool exactly = std::fabs(running - total / 2) <= total * 1e-12 && k + 1 < samples.size();
        statistics.median = exactly ? (samples[k].value + samples[k + 1].value) / 2.0f : samples[k].value;
        break;
    }
    if (settings.percentile_enabled) {
        const double high = share_mean(samples, total * settings.upper_percentile / 100.0, true);
        const double low = share_mean(samples, total * settings.lower_percentile / 100.0, false);
        statistics.percentile_ratio = static_cast<float>(high / low);
    }
}

std::string overflow_sentence(int64_t ceiling_pixels, double share_percent) {
    if (ceiling_pixels <= 0) return {};
    return strprintf("The brightest %lld pixels (%.3f %%) are clipped: illuminance and glare are underestimated. "
                     "Calibrate against a measured illuminance to correct it.",
                     static_cast<long long>(ceiling_pixels), share_percent);
}
