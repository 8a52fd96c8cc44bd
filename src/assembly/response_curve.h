#pragma once
// A camera's response curve: for each colour channel and each of 256 nodes
// spaced evenly over the code range (code 0 to the largest code), the natural
// logarithm of the relative sensor signal that code stands for. The curve is
// normalised so that the largest code means signal 1 (full well), so the
// signal of any code is exp(g) in (0, 1].
//
// Codes of 16-bit pictures fall between nodes and are interpolated.

#include <array>
#include <string>
#include <vector>

#include "common/result.h"

inline constexpr int response_nodes = 256;

// Codes at or above this node are taken as clipped: a JPEG encoder's own
// noise turns a clipped area into codes a few steps below the top, which
// would otherwise pass for light that was measured.
inline constexpr int clipped_node = 250;

// The first clipped code of pictures whose largest code is `levels`.
inline int clipped_code(int levels) {
    return static_cast<int>((static_cast<long>(levels) * clipped_node + response_nodes - 2) / (response_nodes - 1));
}

struct ResponseCurve {
    std::array<std::vector<double>, 3> log_signal;  // response_nodes values per channel

    // The relative signal of a position on the node scale (0 to 255).
    double signal(int channel, double node) const;
};

// One sample position's codes in every picture of the series, on the node
// scale (code * 255 / largest code), pictures in the series' order.
struct ResponseSamples {
    std::vector<double> log_exposures;             // ln(t·S/N²) per picture
    std::array<std::vector<double>, 3> positions;  // per channel: samples x pictures, row-major
};

struct RecoveredResponse {
    ResponseCurve curve;
    double residual = 0;  // root mean square misfit of the samples, in ln units, weighted as fitted
    int samples = 0;      // per channel, on average
};

// Debevec and Malik's least-squares recovery with a smoothness term, per
// channel. Fails when the samples do not pin a curve down (every sample at
// the same code in every picture).
Result<RecoveredResponse> recover_response(const ResponseSamples& samples);

// The curve of an ideal linear sensor, for pictures that are already linear.
ResponseCurve linear_response();

// A response file: a comment line, then one line per node "code red green
// blue" with the natural logarithms of the signal, C-locale numbers.
std::string response_file_text(const ResponseCurve& curve);
Result<ResponseCurve> read_response_file(const std::string& path);
