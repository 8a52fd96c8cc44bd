#include "analysis/glare_summary.h"

#include <cmath>
#include <sstream>

#include "common/text_format.h"

namespace {

struct ComfortBands {
    const char* index;
    double perceptible, disturbing, intolerable;
};

constexpr ComfortBands bands[] = {
    {"dgp", 0.35, 0.40, 0.45},
    {"dgi", 18, 24, 31},
    {"ugr", 13, 22, 28},
};

// The text after `head` on the line that begins with it.
std::optional<std::string> line_after(const std::string& text, const std::string& head) {
    for (size_t at = text.find(head); at != std::string::npos; at = text.find(head, at + 1)) {
        if (at != 0 && text[at - 1] != '\n') continue;
        const size_t from = at + head.size(), end = text.find('\n', from);
        return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
    }
    return std::nullopt;
}

}  // namespace

std::string comfort_class(const std::string& index, double value) {
    for (const ComfortBands& b : bands) {
        if (index != b.index) continue;
        if (value < b.perceptible) return "imperceptible";
        if (value < b.disturbing) return "perceptible";
        if (value < b.intolerable) return "disturbing";
        return "intolerable";
    }
    return {};
}

std::vector<GlareIndexRow> glare_index_rows(const std::string& result_text) {
    std::vector<GlareIndexRow> rows;
    for (size_t at = result_text.find("dgp,"); at != std::string::npos; at = result_text.find("dgp,", at + 1)) {
        if (at != 0 && result_text[at - 1] != '\n') continue;
        const size_t colon = result_text.find(':', at);
        if (colon == std::string::npos) break;
        const size_t end = result_text.find('\n', colon);
        std::istringstream values(result_text.substr(colon + 1, end == std::string::npos ? end : end - colon - 1));
        std::istringstream names(result_text.substr(at, colon - at));
        std::string name, value;
        while (std::getline(names, name, ',') && values >> value) {
            const float number = parse_decimal_float(value);
            std::string shown = name;
            if (name != "Lveil")
                for (char& c : shown) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            rows.push_back({shown, value, std::isfinite(number) ? comfort_class(name, number) : std::string()});
        }
        break;
    }
    return rows;
}

GlareDetails glare_details_of(const std::string& detailed_text) {
    GlareDetails details;
    if (const auto ev = line_after(detailed_text, "vertical illuminance Ev: ")) {
        const float value = parse_decimal_float(ev->substr(0, ev->find(' ')));
        if (std::isfinite(value)) details.vertical_illuminance = value;
    }
    if (const auto sources = line_after(detailed_text, "glare sources: ")) {
        const float value = parse_decimal_float(*sources);
        if (std::isfinite(value) && value >= 0) details.glare_sources = static_cast<int>(value);
    }
    return details;
}

std::vector<GlareIndexRow> glare_summary_rows(const std::string& result_text, const GlareDetails& details) {
    std::vector<GlareIndexRow> rows = glare_index_rows(result_text);
    if (details.vertical_illuminance)
        rows.push_back({"Vertical illuminance", strprintf("%.1f lx", *details.vertical_illuminance), ""});
    if (details.glare_sources) rows.push_back({"Glare sources", strprintf("%d", *details.glare_sources), ""});
    return rows;
}

std::string glare_detail_command(const std::string& options, const std::string& input) {
    return "/C evalglare -d " + options + " " + input;
}
