#include "analysis/histogram_run.h"

#include <charconv>
#include <cmath>

#include "common/text_format.h"

namespace {

// A whole field as a number (the C form, as strtod reads histo's output).
std::optional<float> number(std::string_view field) {
    if (field.empty()) return std::nullopt;
    double value = 0;
    const char* begin = field.data();
    if (*begin == '+') ++begin;
    const auto [end, error] = std::from_chars(begin, field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
    return static_cast<float>(value);
}

}  // namespace

HistogramRange histogram_range(float minimum, float maximum) {
    const float lo = static_cast<float>(std::log10(static_cast<double>(minimum)) - 0.01);
    const float hi = static_cast<float>(std::log10(static_cast<double>(maximum)) + 0.01);
    return {format_default(lo), format_default(hi)};
}

std::string histogram_command(const std::string& sample_file, const HistogramRange& range) {
    return "/C rcalc -e 'L=$1;cond=L-1e-7;$1=log10(L)' " + sample_file + " | histo " + range.lo + " " + range.hi +
           " 256";
}

std::optional<LuminanceHistogram> parse_histogram(std::string_view output) {
    LuminanceHistogram histogram{};
    size_t at = 0;
    for (int bin = 0; bin < histogram_bins; ++bin) {
        if (at >= output.size()) return std::nullopt;
        size_t end = output.find('\n', at);
        const size_t next = end == std::string_view::npos ? output.size() : end + 1;
        if (end == std::string_view::npos) end = output.size();
        std::string_view line = output.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return std::nullopt;
        const auto centre = number(line.substr(0, tab));
        const auto count = number(line.substr(tab + 1));
        if (!centre || !count) return std::nullopt;
        histogram[static_cast<size_t>(bin)] = {*count, *centre};
        at = next;
    }
    if (at != output.size()) return std::nullopt;
    return histogram;
}
