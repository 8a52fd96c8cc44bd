#include "picture/view_options.h"

#include <cmath>
#include <locale>
#include <sstream>
#include <vector>

#include "common/text_format.h"

namespace {

std::vector<std::string> words_of(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool read_numbers(const std::vector<std::string>& words, size_t at, double* out, int count) {
    if (at + static_cast<size_t>(count) > words.size()) return false;
    for (int i = 0; i < count; ++i) {
        if (parse_decimal_prefix(words[at + static_cast<size_t>(i)], out[i]) == 0) return false;
    }
    return true;
}

double length(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

}  // namespace

bool is_view_line(std::string_view line, std::string_view program) {
    std::string_view name = line.substr(0, line.find(' '));
    if (const size_t directory = name.find_last_of("/\\"); directory != std::string_view::npos)
        name.remove_prefix(directory + 1);
    if (!program.empty() && name.starts_with(program)) return true;
    for (const std::string_view known : {"VIEW=", "rpict", "rview", "rvu", "rpiece", "pinterp"})
        if (name.starts_with(known)) return true;
    return false;
}

int apply_view_options(View& view, std::string_view text) {
    const auto words = words_of(text);
    int applied = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 3 || w[0] != '-' || w[1] != 'v') continue;
        const std::string option = w.substr(2);
        double* target = nullptr;
        int count = 1;
        if (option.size() == 2 && option[0] == 't' && std::string_view("vlchas").find(option[1]) != std::string_view::npos) {
            view.type = option[1];
            ++applied;
            continue;
        }
        if (option == "p") target = view.position, count = 3;
        else if (option == "d") target = view.direction, count = 3;
        else if (option == "u") target = view.up, count = 3;
        else if (option == "h") target = &view.horizontal;
        else if (option == "v") target = &view.vertical;
        else if (option == "o") target = &view.fore;
        else if (option == "a") target = &view.aft;
        else if (option == "s") target = &view.shift;
        else if (option == "l") target = &view.lift;
        if (!target || !read_numbers(words, i + 1, target, count)) continue;
        i += static_cast<size_t>(count);
        ++applied;
    }
    return applied;
}

std::optional<std::string> view_problem(const View& view) {
    if (length(view.direction) == 0) return "zero view direction";
    const double* d = view.direction;
    const double* u = view.up;
    const double cross[3] = {d[1] * u[2] - d[2] * u[1], d[2] * u[0] - d[0] * u[2], d[0] * u[1] - d[1] * u[0]};
    if (length(cross) <= 1e-6 * length(d) * length(u)) return "illegal view up vector";
    const double h = view.horizontal, v = view.vertical;
    if (!(h > 0) || !(v > 0)) return "illegal view size";
    switch (view.type) {
        case 'v':
            if (h >= 180 || v >= 180) return "illegal perspective view angle";
            break;
        case 'c':
            if (h > 360 || v >= 180) return "illegal cylindrical view angle";
            break;
        case 'h':
            if (h > 180 || v > 180) return "illegal hemispherical view angle";
            break;
        case 'a':
        case 's':
            if (h > 360 || v > 360) return "illegal fisheye view angle";
            break;
        default:
            break;
    }
    if (view.aft != 0 && view.aft <= view.fore) return "illegal clipping planes";
    return std::nullopt;
}

std::string view_options_text(const View& view) {
    const double* p = view.position;
    const double* d = view.direction;
    const double* u = view.up;
    return strprintf(" -vt%c -vp %.6g %.6g %.6g -vd %.6g %.6g %.6g -vu %.6g %.6g %.6g -vh %.6g -vv %.6g -vo %.6g "
                     "-va %.6g -vs %.6g -vl %.6g",
                     view.type, p[0], p[1], p[2], d[0], d[1], d[2], u[0], u[1], u[2], view.horizontal, view.vertical,
                     view.fore, view.aft, view.shift, view.lift);
}
