#include "analysis/glare_command.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "common/text_format.h"
#include "picture/resolution_line.h"

namespace {

int scaled_size(int size, double factor) {
    return static_cast<int>(std::trunc(size * (1.0 / factor) + 0.5));
}

// Output pixel of input pixel `k` counted from the top (or left) edge.
int scaled_index(int k, int size, int new_size) {
    if (size <= 0 || new_size <= 0) return 0;
    const long long index = static_cast<long long>(k) * new_size / size;
    return static_cast<int>(std::clamp<long long>(index, 0, new_size - 1));
}

}  // namespace

GlareScale glare_scale(int width, int height) {
    GlareScale scale{"", width, height, width, height};
    const int longer = std::max(width, height);
    if (longer <= glare_size_limit) return scale;
    scale.factor = format_default(static_cast<float>(longer) / static_cast<float>(glare_size_limit));
    // pfilt divides by the factor it reads from its command line.
    const double factor = parse_decimal_float(scale.factor);
    scale.scaled_width = scaled_size(width, factor);
    scale.scaled_height = scaled_size(height, factor);
    return scale;
}

TaskPixel scaled_task_position(const GlareScale& scale, int x, int y) {
    const int row = scale.height - 1 - y;  // from the top
    if (!scale.scaled()) return {x, scale.rows_from_top ? row : y};
    const int scaled_row = scaled_index(row, scale.height, scale.scaled_height);
    return {scaled_index(x, scale.width, scale.scaled_width),
            scale.rows_from_top ? scaled_row : scale.scaled_height - 1 - scaled_row};
}

bool rows_numbered_from_top(const std::string& picture) {
    std::ifstream in(picture, std::ios::binary);
    std::string line;
    while (std::getline(in, line) && !line.empty() && line != "\r") {
    }
    if (!std::getline(in, line)) return false;
    const auto resolution = parse_resolution_line(line);
    return resolution && (resolution->flags & ResolutionLine::y_decreasing) == 0;
}

std::string glare_option_text(const GlareSettings& s, const GlareScale& scale) {
    std::string text;
    // A task at 0 is taken for no task at all.
    if (s.task_area && s.task_x != 0 && s.task_y != 0 && s.task_angle != 0) {
        const TaskPixel task = scaled_task_position(scale, s.task_x, s.task_y);
        text += strprintf(" -T %d %d ", task.x, task.y) + format_default(s.task_angle);
    }
    if (s.guth_cut == 1) text += strprintf(" -G %d", static_cast<int>(s.field_of_view));
    if (s.view_mode == GlareViewMode::by_type) {
        const size_t type = static_cast<size_t>(std::clamp(s.view_type, 0, int(glare_view_types.size()) - 1));
        text += std::string(glare_view_types[type].option) + " -vv " + format_default(s.view_vertical) + " -vh " +
                format_default(s.view_horizontal);
    } else if (s.view_mode == GlareViewMode::by_file) {
        text += " -vf " + s.view_file;
    }
    if (s.smoothing) text += " -s ";
    if (s.external_ev) text += " -I " + format_default(s.ev);
    if (s.search_radius) text += " -r " + format_default(s.radius);
    if (!s.peak_extraction) text += " -x ";
    else if (s.peak_threshold == 0) text += " -y ";
    else text += " -Y " + format_default(s.peak_threshold);
    if (s.glare_threshold && s.threshold > 0) text += " -b " + format_default(s.threshold);
    return text;
}

std::string glare_downscale_command(const std::string& factor, const std::string& input, const std::string& output) {
    return "/C pfilt -x /" + factor + " -y /" + factor + " " + input + " > " + output;
}

std::string glare_command(const std::string& check_picture, const std::string& options, const std::string& input) {
    return "/C evalglare -c " + check_picture + " " + options + " " + input;
}

bool has_glare_result(std::string_view text) {
    constexpr std::string_view head = "dgp,dgi,ugr,vcp,cgi,Lveil:";
    for (size_t at = text.find(head); at != std::string_view::npos; at = text.find(head, at + 1))
        if (at == 0 || text[at - 1] == '\n') return true;
    return false;
}
