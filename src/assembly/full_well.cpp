#include "full_well.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "assembly/response_samples.h"

namespace {

// Entries counted as at the top: the top code itself.
int top_code(int levels) { return levels; }

constexpr int least_crossings = 20;

}  // namespace

namespace {

std::optional<double> threshold_of(const std::vector<ReducedPicture>& pictures,
                                   const std::vector<double>& log_exposures, const ResponseCurve& curve, int channel,
                                   int roughness_limit) {
    if (pictures.size() < 2) return std::nullopt;
    const int width = pictures.front().width, height = pictures.front().height;
    const int levels = pictures.front().levels;
    const int clipped = clipped_code(levels), top = top_code(levels);
    const double to_node = static_cast<double>(response_nodes - 1) / levels;
    struct Entry {
        double log_signal;
        bool at_top;
    };
    std::vector<Entry> entries;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x) {
            const size_t index = static_cast<size_t>(y) * width + x;
            // Flat cells only: a cell mean is then every pixel's code. Where
            // a cell is clipped its neighbours are too, so flatness is judged
            // in the pictures that measure it: otherwise the cells just
            // below the top in a gradient would be left out, the clipped
            // ones kept, and the threshold pulled down.
            if (cell_roughness(pictures, index, channel, clipped) > roughness_limit) continue;
            double weights = 0, sum = 0;
            for (size_t j = 0; j < pictures.size(); ++j) {
                const int z = pictures[j].rgb[index * 3 + channel];
                if (z <= 0 || z >= clipped) continue;
                const double node = z * to_node;
                const double w = std::min(node, (response_nodes - 1) - node);
                weights += w;
                sum += w * (std::log(curve.signal(channel, node)) - log_exposures[j]);
            }
            if (weights <= 0) continue;
            const double log_radiance = sum / weights;
            for (size_t j = 0; j < pictures.size(); ++j) {
                const int z = pictures[j].rgb[index * 3 + channel];
                // Entries well inside the range say nothing about the top.
                if (z < clipped / 2) continue;
                // A cell on the edge of a clipped area is left out: JPEG
                // ringing there clips pixels that were not, and the cells
                // on either side of the edge stand as far from it.
                const bool at_top = z >= top;
                bool edge = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        edge |= (pictures[j].rgb[(index + dy * width + dx) * 3 + channel] >= top) != at_top;
                if (!edge) entries.push_back({log_radiance + log_exposures[j], at_top});
            }
        }
    // The threshold with the fewest entries on its wrong side.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.log_signal < b.log_signal; });
    // With the threshold above every entry, the entries at the top are wrong.
    long wrong = std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.at_top; });
    const long crossings = wrong, below = static_cast<long>(entries.size()) - wrong;
    if (crossings < least_crossings || below < least_crossings) return std::nullopt;
    long best = wrong;
    size_t best_at = entries.size();
    for (size_t i = entries.size(); i-- > 0;) {
        wrong += entries[i].at_top ? -1 : 1;  // entry i moves above the threshold
        if (wrong < best) {
            best = wrong;
            best_at = i;
        }
    }
    if (best_at == 0 || best_at >= entries.size()) return std::nullopt;
    return 0.5 * (entries[best_at - 1].log_signal + entries[best_at].log_signal);
}

}  // namespace

std::optional<double> log_full_well(const std::vector<ReducedPicture>& pictures,
                                    const std::vector<double>& log_exposures, const ResponseCurve& curve,
                                    int channel) {
    // Flat cells when the scene has enough of them; a scene of gradients
    // (a sky, a test ramp) then gives cells whose mean is still close to
    // their middle pixel's code.
    if (auto flat = threshold_of(pictures, log_exposures, curve, channel, 0)) return flat;
    return threshold_of(pictures, log_exposures, curve, channel, std::numeric_limits<int>::max());
}

void scale_to_full_well(const std::vector<ReducedPicture>& pictures, const std::vector<double>& log_exposures,
                        ResponseCurve& curve) {
    for (int c = 0; c < 3; ++c) {
        const auto full_well = log_full_well(pictures, log_exposures, curve, c);
        if (!full_well) continue;
        for (double& value : curve.log_signal[static_cast<size_t>(c)]) value -= *full_well;
    }
}
