// The plot of a series: panels, axes and curves as data, and the SVG and
// PNG drawn from them.

#include <gtest/gtest.h>

#include <algorithm>

#include "series/series_plot.h"
#include "support/png_reading.h"
#include "support/temp_folder.h"

namespace {

std::vector<SeriesRow> day_rows() {
    std::vector<SeriesRow> rows;
    // Given out of order; 06:00 to 18:00, an hour apart.
    for (int hour : {12, 6, 18, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17}) {
        SeriesRow row;
        row.time = (hour < 10 ? "2026-06-21T0" : "2026-06-21T") + std::to_string(hour) + ":00:00";
        row.time_source = "capdate";
        row.picture = "p" + std::to_string(hour) + ".hdr";
        row.vertical_illuminance = std::to_string(1000 + 100 * hour);
        row.glare[0] = hour == 9 ? "" : std::to_string(0.2 + 0.01 * hour);
        row.ceiling_pixels = "0";
        row.regions = {std::to_string(50 * hour), "1"};
        rows.push_back(row);
    }
    return rows;
}

TEST(SeriesPlot, HasAPanelPerFigureWithItsRangeTicksAndTimeLabels) {
    const auto rows = day_rows();
    auto made = series_plot_layout(rows, {"window"}, {"dgp", "ev", "window_mean"}, 900);
    ASSERT_TRUE(made.ok()) << made.failure().message;
    const PlotLayout& layout = made.value();
    ASSERT_EQ(layout.panels.size(), 3u);
    ASSERT_EQ(layout.curves.size(), 3u);
    EXPECT_EQ(layout.width, 900);
    EXPECT_GT(layout.height, 3 * 100);
    for (size_t i = 1; i < layout.panels.size(); ++i) EXPECT_GT(layout.panels[i].top, layout.panels[i - 1].bottom);

    // Ev from 1600 to 2800 lx: the axis covers it with round ends.
    const PlotPanel& ev = layout.panels[1];
    EXPECT_LE(ev.y_low, 1600);
    EXPECT_GE(ev.y_high, 2800);
    EXPECT_GT(ev.y_low, 1000);
    EXPECT_LT(ev.y_high, 3500);

    // Points in time order from the left edge to the right; the missing DGP
    // at 09:00 breaks its line in two.
    const PlotCurve& dgp = layout.curves[0];
    ASSERT_EQ(dgp.runs.size(), 2u);
    EXPECT_EQ(dgp.runs[0].size() + dgp.runs[1].size(), 12u);
    EXPECT_DOUBLE_EQ(dgp.runs[0].front().x, layout.panels[0].left);
    EXPECT_DOUBLE_EQ(dgp.runs[1].back().x, layout.panels[0].right);
    EXPECT_EQ(rows[dgp.runs[0].front().row].picture, "p6.hdr");
    const auto& evs = layout.curves[1].runs[0];
    for (size_t i = 1; i < evs.size(); ++i) {
        EXPECT_GT(evs[i].x, evs[i - 1].x);
        EXPECT_LT(evs[i].y, evs[i - 1].y);  // rising values go up the plot
    }

    auto has_text = [&](const std::string& text) {
        return std::any_of(layout.texts.begin(), layout.texts.end(), [&](const PlotText& t) { return t.text == text; });
    };
    EXPECT_TRUE(has_text("DGP"));
    EXPECT_TRUE(has_text("Ev (lx)"));
    EXPECT_TRUE(has_text("window mean (cd/m\u00b2)"));
    EXPECT_TRUE(has_text("08:00"));
    EXPECT_TRUE(has_text("18:00"));
    EXPECT_TRUE(has_text("time (2026-06-21)"));
    EXPECT_TRUE(has_text("2000"));
}

TEST(SeriesPlot, RefusesUnknownFiguresAndSpansDaysWithDates) {
    EXPECT_FALSE(series_plot_layout(day_rows(), {}, {"window_mean"}).ok());
    EXPECT_FALSE(series_plot_layout(day_rows(), {}, {}).ok());
    EXPECT_EQ(plot_figure_list("dgp,,ev,"), (std::vector<std::string>{"dgp", "ev"}));

    std::vector<SeriesRow> rows = day_rows();
    rows[0].time = "2026-06-25T12:00:00";
    auto layout = series_plot_layout(rows, {}, {"ev"});
    ASSERT_TRUE(layout.ok());
    const auto& texts = layout.value().texts;
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const PlotText& t) { return t.text == "06-23"; }));
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const PlotText& t) { return t.text == "time (2026-06-21 to 2026-06-25)"; }));
    EXPECT_EQ(iso_seconds("1970-01-02T00:00:01"), 86401);
    EXPECT_FALSE(iso_seconds("noon"));
}

TEST(SeriesPlot, IsWrittenAsSvgAndAsPngOfItsSize) {
    TempFolder folder;
    const PlotLayout layout = series_plot_layout(day_rows(), {}, {"dgp", "ev"}, 640).value();
    const std::string svg = plot_svg(layout);
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\"", 0), 0u);
    EXPECT_NE(svg.find("<polyline"), std::string::npos);
    EXPECT_NE(svg.find(">Ev (lx)</text>"), std::string::npos);

    ASSERT_TRUE(write_plot(layout, (folder / "p.SVG").string()).ok());
    EXPECT_EQ(read_file(folder / "p.SVG"), svg);
    ASSERT_TRUE(write_plot(layout, (folder / "p.png").string()).ok());
    const BgrRaster png = read_png_raster(folder / "p.png");
    EXPECT_EQ(png.width, 640);
    EXPECT_EQ(png.height, layout.height);
    // White around the panels; the curves in their colours.
    const uint8_t* corner = png.at(2, 2);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 3 * 255);
    for (const PlotCurve& curve : layout.curves) {
        const PlotCurve::Point& p = curve.runs.front().front();
        const uint8_t* pixel = png.at(static_cast<int>(p.x + 0.5), static_cast<int>(p.y + 0.5));
        EXPECT_EQ(pixel[2], curve.colour.r);
        EXPECT_EQ(pixel[1], curve.colour.g);
        EXPECT_EQ(pixel[0], curve.colour.b);
    }
    EXPECT_FALSE(write_plot(layout, (folder / "p.gif").string()).ok());
}

}  // namespace

namespace {

// The texts under the lowest panel: the time labels.
std::vector<std::string> time_labels(const PlotLayout& layout) {
    std::vector<std::string> labels;
    for (const PlotText& text : layout.texts)
        if (text.y > layout.panels.back().bottom && text.anchor == TextAnchor::middle &&
            text.text.rfind("time (", 0) != 0)
            labels.push_back(text.text);
    return labels;
}

}  // namespace

TEST(SeriesPlot, YearsApartShowFewYearLabelsAndAFlatZeroStaysAtZero) {
    // Captures 17 years apart: labels are years, few enough not to overlap.
    std::vector<SeriesRow> rows(3);
    rows[0].time = "2003-12-15T17:44:01", rows[1].time = "2011-06-01T12:00:00", rows[2].time = "2021-02-19T09:00:00";
    for (SeriesRow& row : rows) row.vertical_illuminance = "100", row.ceiling_pixels = "0";
    auto made = series_plot_layout(rows, {}, {"ev", "ceiling"}, 900);
    ASSERT_TRUE(made.ok()) << made.failure().message;
    const auto labels = time_labels(made.value());
    ASSERT_GE(labels.size(), 3u);
    EXPECT_LE(labels.size(), 9u);
    for (const std::string& label : labels) EXPECT_EQ(label.size(), 4u) << label;
    // Each year's label stands where that year begins: 2008-01-01 lies at
    // its share of the way from the first capture to the last.
    const auto& texts = made.value().texts;
    const auto at_2008 = std::find_if(texts.begin(), texts.end(), [](const PlotText& t) { return t.text == "2008"; });
    ASSERT_NE(at_2008, texts.end());
    const PlotPanel& panel = made.value().panels.back();
    const double first = *iso_seconds("2003-12-15T17:44:01"), last = *iso_seconds("2021-02-19T09:00:00");
    const double share = (*iso_seconds("2008-01-01T00:00:00") - first) / (last - first);
    EXPECT_NEAR(at_2008->x, panel.left + share * (panel.right - panel.left), 0.01);
    // A count that stays 0 is drawn on 0 to 1, with no negative tick.
    EXPECT_EQ(made.value().panels[1].y_low, 0);
    EXPECT_EQ(made.value().panels[1].y_high, 1);
    EXPECT_GT(made.value().panels[0].y_low, 0);  // 100 lx all along: a tenth either side
}
