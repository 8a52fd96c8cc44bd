#include "merge_tables.h"

#include <cmath>

MergeTables::MergeTables(const ResponseCurve& curve, const std::vector<double>& exposures, double reference,
                         int code_levels)
    : levels(code_levels), clipped(clipped_code(code_levels)), weight(exposures.size()), value(exposures.size()) {
    for (size_t j = 0; j < exposures.size(); ++j) {
        if (exposures[j] < exposures[shortest]) shortest = j;
        if (exposures[j] > exposures[longest]) longest = j;
    }
    const double to_node = static_cast<double>(response_nodes - 1) / levels;
    const double middle = 0.5 * levels;
    for (size_t j = 0; j < exposures.size(); ++j) {
        weight[j].resize(static_cast<size_t>(levels) + 1);
        for (int z = 0; z <= levels; ++z) {
            double w = z <= middle ? z : levels - z;
            if ((j == shortest && z > middle) || (j == longest && z < middle)) w = middle;
            if (z == 0 || z >= clipped) w = 0;
            weight[j][static_cast<size_t>(z)] = static_cast<float>(w / middle);
        }
        for (int c = 0; c < 3; ++c) {
            std::vector<float>& table = value[j][static_cast<size_t>(c)];
            table.resize(static_cast<size_t>(levels) + 1);
            for (int z = 0; z <= levels; ++z)
                table[static_cast<size_t>(z)] =
                    z == 0 ? 0.0f : static_cast<float>(curve.signal(c, z * to_node) * reference / exposures[j]);
        }
    }
}

size_t merge_band(const MergeTables& tables, const std::vector<const uint16_t*>& codes, size_t pixels, float* out,
                  size_t& black) {
    const size_t count = codes.size();
    const uint16_t* shortest = codes[tables.shortest];
    const uint16_t* longest = codes[tables.longest];
    const auto top = static_cast<uint16_t>(tables.clipped);
    size_t saturated = 0;
    for (size_t p = 0; p < pixels; ++p) {
        const size_t at = p * 3;
        if (shortest[at] >= top || shortest[at + 1] >= top || shortest[at + 2] >= top) {
            // Over-exposed even in the shortest exposure: its value is only a
            // lower bound, and the header says how many pixels have one.
            for (int c = 0; c < 3; ++c) out[at + c] = tables.value[tables.shortest][c][shortest[at + c]];
            ++saturated;
            continue;
        }
        bool all_black = true;
        for (int c = 0; c < 3; ++c) {
            float weights = 0, sum = 0;
            for (size_t j = 0; j < count; ++j) {
                const uint16_t z = codes[j][at + c];
                const float w = tables.weight[j][z];
                weights += w;
                sum += w * tables.value[j][c][z];
                all_black = all_black && z == 0;
            }
            out[at + c] = weights > 0 ? sum / weights : tables.value[tables.longest][c][longest[at + c]];
        }
        black += all_black;
    }
    return saturated;
}
