#include "response_samples.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr int value_bins = 160;
constexpr size_t per_bin = 6;
// A cell counts as flat when its eight neighbours differ from it by no more
// than this many codes plus this share (percent) of its value, in every
// picture: its mean then stands for each of its pixels.
constexpr int flat_share = 1;
constexpr size_t least_samples = 64;
constexpr double largest_search = 250000;

// A deterministic scatter of candidates inside a bin, so that the chosen
// blocks do not all come from the top left of a flat area.
uint32_t scatter(uint32_t index) {
    index ^= index >> 16;
    index *= 0x7feb352dU;
    index ^= index >> 15;
    index *= 0x846ca68bU;
    return index ^ (index >> 16);
}

}  // namespace

int cell_roughness(const std::vector<ReducedPicture>& pictures, size_t index, int channel, int unjudged_from) {
    const int width = pictures.front().width;
    const int flat_codes = std::max(2, pictures.front().levels / 100);
    int roughness = std::numeric_limits<int>::min();
    for (const ReducedPicture& picture : pictures) {
        const auto at = [&](size_t i) { return static_cast<int>(picture.rgb[i * 3 + channel]); };
        const int value = at(index);
        if (value >= unjudged_from) continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                roughness = std::max(roughness, std::abs(at(index + dy * width + dx) - value) - value * flat_share / 100 -
                                                    flat_codes);
    }
    return roughness;
}

ResponseSamples choose_response_samples(const std::vector<ReducedPicture>& pictures,
                                        const std::vector<double>& log_exposures) {
    ResponseSamples samples;
    samples.log_exposures = log_exposures;
    if (pictures.empty()) return samples;
    const int width = pictures.front().width, height = pictures.front().height;
    const size_t count = pictures.size();
    const int levels = pictures.front().levels;
    const double to_node = static_cast<double>(response_nodes - 1) / levels;
    const int clipped = clipped_code(levels);
    // Large pictures are searched on a coarser grid of cells: a few hundred
    // thousand candidates give the bins all they need.
    const int step = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(width) * height / largest_search)));

    for (int c = 0; c < 3; ++c) {
        struct Candidate {
            int roughness;
            uint32_t order;
            size_t index;
        };
        std::vector<std::vector<Candidate>> bins(value_bins);
        for (int y = 1; y + 1 < height; y += step) {
            for (int x = 1; x + 1 < width; x += step) {
                const size_t index = static_cast<size_t>(y) * width + x;
                long sum = 0;
                int informative = 0;
                for (const ReducedPicture& picture : pictures) {
                    const int value = picture.rgb[index * 3 + c];
                    sum += value;
                    informative += value > 0 && value < clipped;
                }
                const int roughness = cell_roughness(pictures, index, c);
                if (informative < 2) continue;
                // The sum of a block's codes over the series rises with its
                // brightness, whatever the curve: bins of it spread the
                // samples over the scene's range.
                const auto bin = static_cast<size_t>(sum * (value_bins - 1) / (static_cast<long>(levels) * count));
                bins[bin].push_back({roughness, scatter(static_cast<uint32_t>(index)), index});
            }
        }
        // Flat cells when the series has enough of them; the least rough
        // otherwise (a picture of nothing but gradients).
        const auto by_roughness = [](const Candidate& a, const Candidate& b) {
            return a.roughness != b.roughness ? a.roughness < b.roughness : a.order < b.order;
        };
        size_t flat = 0;
        for (auto& bin : bins) {
            std::sort(bin.begin(), bin.end(), by_roughness);
            for (size_t i = 0; i < bin.size() && i < per_bin && bin[i].roughness <= 0; ++i) ++flat;
        }
        const bool flat_only = flat >= least_samples;
        std::vector<double>& positions = samples.positions[c];
        for (const auto& bin : bins)
            for (size_t i = 0; i < bin.size() && i < per_bin && (!flat_only || bin[i].roughness <= 0); ++i)
                for (const ReducedPicture& picture : pictures)
                    positions.push_back(picture.rgb[bin[i].index * 3 + c] * to_node);
    }
    return samples;
}
