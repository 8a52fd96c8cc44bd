#include "series/series_plot.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "common/text_format.h"
#include "series/picture_time.h"

namespace {

constexpr double margin_left = 80;
constexpr double margin_right = 24;
constexpr double margin_top = 28;
constexpr double panel_height = 180;
constexpr double panel_gap = 36;
constexpr double margin_bottom = 56;

constexpr PlotColour frame_colour{0, 0, 0};
constexpr PlotColour grid_colour{220, 220, 220};
constexpr PlotColour text_colour{0, 0, 0};
// Distinct colours that stay apart for readers with a red-green deficiency
// (Okabe and Ito's palette).
constexpr PlotColour curve_colours[] = {{0, 114, 178},  {213, 94, 0},   {0, 158, 115}, {204, 121, 167},
                                        {230, 159, 0},  {86, 180, 233}, {0, 0, 0}};

int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
    int64_t year;
    unsigned month, day;
};
Civil civil_from_days(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

int64_t floor_div(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

std::string date_text(int64_t seconds) {
    const Civil c = civil_from_days(floor_div(seconds, 86400));
    return strprintf("%04lld-%02u-%02u", static_cast<long long>(c.year), c.month, c.day);
}

// A step of 1, 2 or 5 times a power of ten giving about `count` ticks.
double nice_step(double range, int count) {
    const double raw = range / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw) return factor * power;
    return 10 * power;
}

std::string tick_text(double value, double step) {
    if (std::fabs(value) < step * 1e-6) value = 0;
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    return strprintf("%.*f", std::clamp(decimals, 0, 9), value);
}

}  // namespace

std::optional<int64_t> iso_seconds(std::string_view iso) {
    const auto normal = iso_time_of(iso);
    if (!normal) return std::nullopt;
    const std::string& t = *normal;
    auto number = [&](size_t at, size_t count) { return std::stoi(t.substr(at, count)); };
    return days_from_civil(number(0, 4), static_cast<unsigned>(number(5, 2)), static_cast<unsigned>(number(8, 2))) *
               86400 +
           number(11, 2) * 3600 + number(14, 2) * 60 + number(17, 2);
}

std::vector<std::string> plot_figure_list(std::string_view text) {
    std::vector<std::string> figures;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(',', start), text.size());
        if (end > start) figures.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return figures;
}

std::string figure_caption(std::string_view figure) {
    if (figure == "ev" || figure == "vertical_illuminance_lx") return "Ev (lx)";
    if (figure == "ceiling" || figure == "ceiling_pixels") return "Clipped pixels";
    if (figure == "lveil") return "Lveil (cd/m\u00b2)";
    for (const char* name : glare_index_names)
        if (figure == name) {
            std::string index(figure);
            for (char& c : index) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return index;
        }
    std::string caption(figure);
    for (std::string_view suffix : {std::string_view("_weighted_mean"), std::string_view("_mean")}) {
        if (caption.size() > suffix.size() && caption.ends_with(suffix)) {
            caption = caption.substr(0, caption.size() - suffix.size()) +
                      (suffix == "_mean" ? " mean" : " weighted mean") + " (cd/m\u00b2)";
            break;
        }
    }
    return caption;
}

Result<PlotLayout> series_plot_layout(const std::vector<SeriesRow>& rows, const std::vector<std::string>& region_names,
                                      const std::vector<std::string>& figures, int width, int height) {
    if (figures.empty()) return Failure{-2, "no figure to plot"};
    for (const std::string& figure : figures)
        if (!is_series_figure(figure, region_names))
            return Failure{-2, "\"" + figure + "\" is not a figure of this series"};

    // The rows in time order, each with its time.
    std::vector<std::pair<int64_t, size_t>> timed;
    for (size_t i = 0; i < rows.size(); ++i)
        if (const auto seconds = iso_seconds(rows[i].time)) timed.emplace_back(*seconds, i);
    std::stable_sort(timed.begin(), timed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    PlotLayout layout;
    layout.font_size = 14;
    layout.width = std::max(width, 320);
    const auto count = static_cast<double>(figures.size());
    layout.height = height > 0 ? height
                               : static_cast<int>(margin_top + count * panel_height + (count - 1) * panel_gap +
                                                  margin_bottom);
    const double left = margin_left, right = layout.width - margin_right;
    const double each = (layout.height - margin_top - margin_bottom - (count - 1) * panel_gap) / count;

    // The time axis: whole minutes, hours or days, about eight ticks.
    int64_t t0 = timed.empty() ? 0 : timed.front().first, t1 = timed.empty() ? 3600 : timed.back().first;
    if (t1 - t0 < 60) t0 -= 1800, t1 += 1800;
    const double span = static_cast<double>(t1 - t0);
    auto x_of = [&](int64_t t) { return left + (right - left) * static_cast<double>(t - t0) / span; };
    int64_t step = 0;
    constexpr int64_t day = 86400, year = 365 * day;
    for (int64_t s : {int64_t(60), int64_t(120), int64_t(300), int64_t(600), int64_t(900), int64_t(1800),
                      int64_t(3600), int64_t(7200), int64_t(10800), int64_t(21600), int64_t(43200), day, 2 * day,
                      7 * day, 30 * day, 91 * day, year, 2 * year, 5 * year, 10 * year, 20 * year, 50 * year}) {
        step = s;
        if ((t1 - t0) / s <= 8) break;
    }
    if ((t1 - t0) / step > 8) step = (t1 - t0) / 8 + 1;
    std::vector<int64_t> time_ticks;
    if (step >= 30 * day) {
        // Months and years as the calendar has them: the first of every
        // month, quarter (January, April, July, October) or year, and of
        // every 2nd, 5th, 10th … year, labelled by what they begin.
        const int64_t months = step >= year ? 12 * (step / year) : step >= 91 * day ? 3 : 1;
        const Civil first = civil_from_days(floor_div(t0, day));
        int64_t k = first.year * 12 + static_cast<int64_t>(first.month) - 1;  // months since year 0
        k = floor_div(k + months - 1, months) * months;
        for (;; k += months) {
            const int64_t y = floor_div(k, 12);
            const int64_t t = days_from_civil(y, static_cast<unsigned>(k - y * 12) + 1, 1) * day;
            if (t > t1) break;
            if (t >= t0) time_ticks.push_back(t);
        }
    } else {
        for (int64_t t = floor_div(t0 + step - 1, step) * step; t <= t1; t += step) time_ticks.push_back(t);
    }

    for (size_t f = 0; f < figures.size(); ++f) {
        const std::string& figure = figures[f];
        PlotPanel panel;
        panel.figure = figure;
        panel.left = left, panel.right = right;
        panel.top = margin_top + static_cast<double>(f) * (each + panel_gap);
        panel.bottom = panel.top + each;

        PlotCurve curve{figure, curve_colours[f % std::size(curve_colours)], {}};
        std::vector<std::pair<int64_t, double>> values;
        std::vector<size_t> value_rows;
        double low = INFINITY, high = -INFINITY;
        for (const auto& [seconds, row] : timed) {
            const auto value = row_figure(rows[row], region_names, figure);
            if (value && std::isfinite(*value)) low = std::min(low, *value), high = std::max(high, *value);
        }
        if (!(low <= high)) low = 0, high = 1;
        if (high - low < 1e-12 * std::max(1.0, std::fabs(high))) {
            // One value all along: a count of clipped pixels that stays 0
            // reads best on 0 to 1, anything else a tenth either side.
            const double pad = high == 0 ? 1 : std::fabs(high) * 0.1;
            if (low >= 0 && low - pad < 0) low = 0;
            else low -= pad;
            high += pad;
        }
        const double y_step = nice_step(high - low, 5);
        panel.y_low = std::floor(low / y_step) * y_step;
        panel.y_high = std::ceil(high / y_step) * y_step;
        auto y_of = [&](double v) {
            return panel.bottom - (panel.bottom - panel.top) * (v - panel.y_low) / (panel.y_high - panel.y_low);
        };

        for (double v = panel.y_low; v <= panel.y_high + y_step * 1e-6; v += y_step) {
            const double y = y_of(v);
            layout.lines.push_back({left, y, right, y, grid_colour});
            layout.lines.push_back({left - 5, y, left, y, frame_colour});
            layout.texts.push_back({left - 8, y + layout.font_size * 0.35, tick_text(v, y_step), TextAnchor::end,
                                    text_colour});
        }
        for (int64_t t : time_ticks) {
            const double x = x_of(t);
            layout.lines.push_back({x, panel.top, x, panel.bottom, grid_colour});
            layout.lines.push_back({x, panel.bottom, x, panel.bottom + 5, frame_colour});
        }
        // The frame over the grid.
        layout.lines.push_back({left, panel.top, right, panel.top, frame_colour});
        layout.lines.push_back({right, panel.top, right, panel.bottom, frame_colour});
        layout.lines.push_back({left, panel.bottom, right, panel.bottom, frame_colour});
        layout.lines.push_back({left, panel.top, left, panel.bottom, frame_colour});
        layout.texts.push_back({left, panel.top - 8, figure_caption(figure), TextAnchor::start, text_colour});

        std::vector<PlotCurve::Point> run;
        for (const auto& [seconds, row] : timed) {
            const auto value = row_figure(rows[row], region_names, figure);
            if (!value || !std::isfinite(*value)) {
                if (!run.empty()) curve.runs.push_back(std::move(run)), run.clear();
                continue;
            }
            run.push_back({x_of(seconds), y_of(*value), row});
        }
        if (!run.empty()) curve.runs.push_back(std::move(run));
        layout.curves.push_back(std::move(curve));
        layout.panels.push_back(panel);
    }

    // Time labels under the lowest panel, the dates the plot covers as the
    // axis' title; over several days a tick at midnight shows its date.
    const double axis = layout.panels.back().bottom;
    for (int64_t t : time_ticks) {
        const int64_t in_day = t - floor_div(t, 86400) * 86400;
        const std::string label = step < 86400 && in_day != 0
                                      ? strprintf("%02lld:%02lld", static_cast<long long>(in_day / 3600),
                                                  static_cast<long long>(in_day % 3600 / 60))
                                  : step < 86400 && date_text(t0) == date_text(t1) ? std::string("00:00")
                                  : step >= year                                   ? date_text(t).substr(0, 4)
                                  : step >= 30 * day                               ? date_text(t).substr(0, 7)
                                                                                   : date_text(t).substr(5);
        layout.texts.push_back({x_of(t), axis + 8 + layout.font_size, label, TextAnchor::middle, text_colour});
    }
    const std::string first = date_text(t0), last = date_text(t1);
    layout.texts.push_back({(left + right) / 2, axis + 16 + 2 * layout.font_size,
                            "time (" + (first == last ? first : first + " to " + last) + ")", TextAnchor::middle,
                            text_colour});
    return layout;
}
