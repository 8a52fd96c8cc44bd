#include "response_curve.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

#include "common/text_format.h"

namespace {

constexpr int top_node = response_nodes - 1;

// Debevec and Malik's hat: codes near the ends of the range say least.
double hat(double node) { return node <= 0.5 * top_node ? node : top_node - node; }

// Clipped codes take no data (see clipped_node); nor does code 0, which says
// only "this dark or darker". The curve reaches the top by its smoothness.
double data_weight(double node) { return node <= 0 || node >= clipped_node - 0.5 ? 0.0 : hat(node); }

// Entries that miss the first fit by more than this (in ln units) or four
// times its residual are left out of the second.
constexpr double outlier_floor = 0.1;

// Smoothness keeps some stiffness at the ends, where there is little data.
constexpr double smoothness_floor = 10;

// A dense symmetric system solved by Cholesky decomposition; 256 unknowns
// take well under a millisecond.
bool solve_symmetric(std::vector<double>& a, std::vector<double>& b, int n) {
    for (int j = 0; j < n; ++j) {
        double diagonal = a[j * n + j];
        for (int k = 0; k < j; ++k) diagonal -= a[j * n + k] * a[j * n + k];
        if (!(diagonal > 0)) return false;
        const double root = std::sqrt(diagonal);
        a[j * n + j] = root;
        for (int i = j + 1; i < n; ++i) {
            double value = a[i * n + j];
            for (int k = 0; k < j; ++k) value -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = value / root;
        }
    }
    for (int i = 0; i < n; ++i) {
        double value = b[i];
        for (int k = 0; k < i; ++k) value -= a[i * n + k] * b[k];
        b[i] = value / a[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) {
        double value = b[i];
        for (int k = i + 1; k < n; ++k) value -= a[k * n + i] * b[k];
        b[i] = value / a[i * n + i];
    }
    return true;
}

struct Interpolated {
    int node;
    double fraction;  // of the way to node + 1
};

Interpolated interpolated(double position) {
    const double clamped = std::clamp(position, 0.0, static_cast<double>(top_node));
    const int node = std::min(static_cast<int>(clamped), top_node - 1);
    return {node, clamped - node};
}

// One channel. The unknowns are the curve g and each sample's log signal; the
// sample unknowns are eliminated in closed form (each is the weighted mean of
// its pictures' g(z) - ln e), leaving a 256 x 256 system. `weights` holds
// each entry's weight (0: left out).
std::optional<std::vector<double>> solve_channel(const std::vector<double>& positions,
                                                 const std::vector<double>& log_exposures,
                                                 const std::vector<double>& weights, int& used) {
    const int n = response_nodes;
    const size_t pictures = log_exposures.size();
    const size_t samples = positions.size() / pictures;
    std::vector<double> normal(static_cast<size_t>(n) * n, 0.0), right(n, 0.0);
    used = 0;
    std::vector<std::pair<int, double>> u;  // sum of W_j r_j, sparse
    for (size_t i = 0; i < samples; ++i) {
        double total = 0;
        int informative = 0;
        for (size_t j = 0; j < pictures; ++j) {
            total += weights[i * pictures + j];
            informative += weights[i * pictures + j] > 0;
        }
        if (informative < 2) continue;
        ++used;
        // The sample's rows: W_j (r_j·g - c_j)^2 minus the part its own
        // unknown absorbs, (sum W_j (r_j·g - c_j))^2 / total.
        u.clear();
        double uc = 0;  // sum of W_j c_j
        for (size_t j = 0; j < pictures; ++j) {
            const double w = weights[i * pictures + j];
            if (w == 0) continue;
            const auto [k, a] = interpolated(positions[i * pictures + j]);
            const double c = log_exposures[j];
            const double r[2] = {1 - a, a};
            for (int p = 0; p < 2; ++p) {
                for (int q = 0; q < 2; ++q) normal[(k + p) * n + (k + q)] += w * r[p] * r[q];
                right[k + p] += w * c * r[p];
                u.emplace_back(k + p, w * r[p]);
            }
            uc += w * c;
        }
        for (const auto& [row, value_row] : u) {
            for (const auto& [column, value_column] : u) normal[row * n + column] -= value_row * value_column / total;
            right[row] -= value_row * uc / total;
        }
    }
    if (used < 2) return std::nullopt;
    // Smoothness: the second difference, weighted by the hat, scaled to the
    // amount of data so that the balance does not depend on the sample count.
    const double lambda = 250.0 * used * static_cast<double>(pictures) / n;
    for (int z = 1; z < n - 1; ++z) {
        const double stiffness = std::max(hat(z), smoothness_floor);
        const double w = stiffness * stiffness * lambda;
        // The bend is measured against ln(code), so that a power law (a
        // gamma curve, and nearly sRGB), straight on that scale, costs
        // nothing however sharply it bends near black: g'' + g'/z.
        const int index[3] = {z - 1, z, z + 1};
        const double d[3] = {1 - 0.5 / z, -2, 1 + 0.5 / z};
        for (int p = 0; p < 3; ++p)
            for (int q = 0; q < 3; ++q) normal[index[p] * n + index[q]] += w * d[p] * d[q];
    }
    // The curve is fixed only up to a constant: pin the middle node, then
    // move the whole curve so that the top node is 0.
    normal[(n / 2) * n + n / 2] += normal[(n / 2) * n + n / 2] + 1.0;
    if (!solve_symmetric(normal, right, n)) return std::nullopt;
    const double top = right[n - 1];
    for (double& value : right) value -= top;
    return right;
}

// Each entry's misfit: its g(z) - ln e less its sample's weighted mean.
std::vector<double> misfits_of(const std::vector<double>& curve, const std::vector<double>& positions,
                               const std::vector<double>& log_exposures, const std::vector<double>& weights) {
    const size_t pictures = log_exposures.size();
    std::vector<double> misfits(positions.size(), 0.0);
    for (size_t i = 0; i < positions.size() / pictures; ++i) {
        double total = 0, sum = 0;
        for (size_t j = 0; j < pictures; ++j) {
            const auto [k, a] = interpolated(positions[i * pictures + j]);
            misfits[i * pictures + j] = (1 - a) * curve[k] + a * curve[k + 1] - log_exposures[j];
            total += weights[i * pictures + j];
            sum += weights[i * pictures + j] * misfits[i * pictures + j];
        }
        for (size_t j = 0; j < pictures; ++j) misfits[i * pictures + j] -= total > 0 ? sum / total : 0;
    }
    return misfits;
}

struct ChannelFit {
    std::vector<double> curve;
    double residual_sum = 0;
    double residual_count = 0;
    int samples = 0;
};

// Fits, leaves out the entries that disagree with the fit by far (a JPEG's
// clipped areas decode a few codes below the top and would pass for
// measured light), and fits again.
bool fit_channel(const std::vector<double>& positions, const std::vector<double>& log_exposures, ChannelFit& fit) {
    std::vector<double> weights(positions.size());
    for (size_t e = 0; e < positions.size(); ++e) {
        const double w = data_weight(positions[e]);
        weights[e] = w * w;
    }
    std::optional<std::vector<double>> curve;
    std::vector<double> misfits;
    for (int pass = 0; pass < 2; ++pass) {
        curve = solve_channel(positions, log_exposures, weights, fit.samples);
        if (!curve) return false;
        misfits = misfits_of(*curve, positions, log_exposures, weights);
        double sum = 0, count = 0;
        for (size_t e = 0; e < misfits.size(); ++e) {
            sum += weights[e] * misfits[e] * misfits[e];
            count += weights[e];
        }
        fit.residual_sum = sum;
        fit.residual_count = count;
        const double limit = std::max(outlier_floor, 4 * std::sqrt(sum / std::max(count, 1e-300)));
        for (size_t e = 0; e < misfits.size(); ++e)
            if (std::abs(misfits[e]) > limit) weights[e] = 0;
    }
    fit.curve = std::move(*curve);
    return true;
}

}  // namespace

double ResponseCurve::signal(int channel, double node) const {
    const auto [k, a] = interpolated(node);
    const std::vector<double>& g = log_signal[static_cast<size_t>(channel)];
    return std::exp((1 - a) * g[k] + a * g[k + 1]);
}

Result<RecoveredResponse> recover_response(const ResponseSamples& samples) {
    if (samples.log_exposures.size() < 2) return Failure{-1, "a response curve needs at least two pictures"};
    RecoveredResponse recovered;
    double residual_sum = 0, residual_count = 0;
    for (int c = 0; c < 3; ++c) {
        ChannelFit fit;
        if (!fit_channel(samples.positions[c], samples.log_exposures, fit))
            return Failure{-1, "the pictures do not show enough different brightnesses to recover a response curve"};
        recovered.curve.log_signal[c] = std::move(fit.curve);
        recovered.samples += fit.samples;
        residual_sum += fit.residual_sum;
        residual_count += fit.residual_count;
    }
    recovered.samples /= 3;
    recovered.residual = residual_count ? std::sqrt(residual_sum / residual_count) : 0;
    return recovered;
}

ResponseCurve linear_response() {
    ResponseCurve curve;
    for (auto& channel : curve.log_signal) {
        channel.resize(response_nodes);
        // Code 0 stands for a signal far below one step rather than -infinity.
        channel[0] = std::log(0.25 / top_node);
        for (int z = 1; z < response_nodes; ++z) channel[z] = std::log(static_cast<double>(z) / top_node);
    }
    return curve;
}

std::string response_file_text(const ResponseCurve& curve) {
    std::string text = "# candelux response curve: code, then ln(relative signal) of red, green, blue\n";
    for (int z = 0; z < response_nodes; ++z)
        text += strprintf("%d %.9g %.9g %.9g\n", z, curve.log_signal[0][z], curve.log_signal[1][z],
                          curve.log_signal[2][z]);
    return text;
}

Result<ResponseCurve> read_response_file(const std::string& path) {
    std::ifstream in(path);
    if (!in) return Failure{-1, path + ": cannot be opened"};
    ResponseCurve curve;
    for (auto& channel : curve.log_signal) channel.assign(response_nodes, 0.0);
    std::vector<bool> seen(response_nodes, false);
    std::string line;
    int line_number = 0;
    while (std::getline(in, line)) {
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        std::string_view rest(line);
        rest.remove_prefix(start);
        double values[4];
        for (double& value : values) {
            const size_t used = parse_decimal_prefix(rest, value);
            if (used == 0 || !std::isfinite(value))
                return Failure{-1, strprintf("%s: line %d is not \"code red green blue\"", path.c_str(), line_number)};
            rest.remove_prefix(used);
        }
        const int code = static_cast<int>(values[0]);
        if (values[0] != code || code < 0 || code >= response_nodes)
            return Failure{-1, strprintf("%s: line %d names no code from 0 to 255", path.c_str(), line_number)};
        for (int c = 0; c < 3; ++c) curve.log_signal[c][code] = values[c + 1];
        seen[code] = true;
    }
    if (std::count(seen.begin(), seen.end(), true) != response_nodes)
        return Failure{-1, path + ": a response file gives every code from 0 to 255"};
    for (const auto& channel : curve.log_signal)
        for (int z = 1; z < response_nodes; ++z)
            if (channel[z] < channel[z - 1])
                return Failure{-1, path + ": the response must not fall as the code rises"};
    return curve;
}
