// The region panel in the running main window: regions drawn with the
// selection tools, added, named, hidden, ordered, chosen and deleted; the
// region file saved and loaded; the outlines over the picture; and the table
// of Tools > Analyze All Regions. Offscreen, with real widgets and mouse
// events; every file dialog and message is answered from a script.

#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "analysis/ui/histogram_frame.h"
#include "app/commands.h"
#include "app/ui/image_view.h"
#include "common/status_text.h"
#include "regions/region_list_form.h"
#include "regions/region_table_form.h"
#include "regions/ui/qt_regions_desktop.h"
#include "regions/ui/region_panel.h"
#include "regions/ui/region_table_window.h"
#include "support/scripted_regions_desktop.h"
#include "support/ui/app_window.h"

namespace {

// The real panel, dock and table window; the dialogs answered by the script.
struct ScriptedQtRegionsDesktop : QtRegionsDesktop, RegionsScript {
    using QtRegionsDesktop::QtRegionsDesktop;
    std::string choose_region_file(bool, const std::string& start) override { return region_file(start); }
    std::string choose_table_file(const std::string& start) override { return table_file(start); }
    std::string choose_region_color(const std::string&) override { return next(colors); }
    void region_message(const std::string& text, MessageIcon icon) override { messages.emplace_back(text, icon); }
    bool region_question(const std::string& text) override { return question(text); }
};

class RegionPanelWindow : public ::testing::Test, protected AppWindow {
protected:
    void SetUp() override {
        const std::string command = std::string(CANDELUX_BIN_DIR) + "/make_samples " + samples.str();
        ASSERT_EQ(std::system(command.c_str()), 0);
        app.set_regions_desktop(&regions);
        regions.attach(*app.region_list());
        ASSERT_NO_FATAL_FAILURE(show({1100, 600}));
        view = window.view();
        open((samples / "chart.hdr").string());
    }

    void show_panel() {
        window.action(command::regions_panel)->trigger();
        QApplication::processEvents();
        ASSERT_NE(regions.panel(), nullptr);
        list = regions.panel()->list();
        // The narrower view shows the whole picture again.
        window.action(command::fit_to_display)->trigger();
        QApplication::processEvents();
    }
    void press(int id) {
        auto* button = regions.panel()->findChild<QPushButton*>(QString::number(id));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }
    void tool(int id) { window.action(id)->trigger(); }
    void drag(PointF from, PointF to) {
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, over(from.x, from.y));
        QTest::mouseMove(view, over((from.x + to.x) / 2, (from.y + to.y) / 2));
        QTest::mouseMove(view, over(to.x, to.y));
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, over(to.x, to.y));
    }
    void polygon(std::initializer_list<PointF> points) {
        for (PointF p : points) {
            QTest::mouseMove(view, over(p.x, p.y));
            QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, over(p.x, p.y));
        }
        QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, over(300, 300));
    }
    // Where the four regions of a study are drawn, in picture pixels.
    struct FourRegions {
        std::array<PointF, 2> task;        // a rectangle's corners
        std::array<PointF, 4> window;      // a polygon
        std::array<PointF, 2> screen;      // a circle: centre, then a point on it
        std::array<PointF, 2> back_wall;   // a rectangle
    };
    // Task, window, screen and back wall, drawn and added with the panel.
    void add_four(const FourRegions& at = {{PointF{100, 100}, {300, 200}},
                                           {PointF{400, 60}, {560, 60}, {580, 220}, {420, 240}},
                                           {PointF{700, 150}, {760, 150}},
                                           {PointF{60, 260}, {900, 380}}}) {
        ASSERT_NO_FATAL_FAILURE(show_panel());
        tool(command::rectangle_tool);
        drag(at.task[0], at.task[1]);
        ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::add));
        tool(command::polygon_tool);
        polygon({at.window[0], at.window[1], at.window[2], at.window[3]});
        ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::add));
        tool(command::circle_tool);
        drag(at.screen[0], at.screen[1]);
        ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::add));
        tool(command::rectangle_tool);
        drag(at.back_wall[0], at.back_wall[1]);
        ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::add));
        ASSERT_EQ(list->count(), 4);
        for (auto [row, name] : {std::pair{0, "task"}, {1, "window"}, {2, "screen"}, {3, "back wall"}})
            ASSERT_NO_FATAL_FAILURE(rename(row, name));
    }
    // fisheye_photo_786 (false when the shared pictures are not here) with
    // the four regions of a study of its room.
    bool open_room_with_four_regions() {
        const std::string picture = shared_picture("fisheye_photo_786.hdr");
        if (picture.empty()) return false;
        window.resize(1180, 760);
        open(picture);
        add_four({{PointF{300, 520}, {470, 600}},
                  {PointF{90, 200}, {300, 150}, {310, 400}, {100, 420}},
                  {PointF{520, 420}, {560, 420}},
                  {PointF{430, 180}, {650, 330}}});
        return true;
    }
    // As a person does: the editor of the row, a name typed, Return.
    void rename(int row, const QString& name) {
        list->editItem(list->item(row));
        QApplication::processEvents();
        auto* editor = list->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
    void click_row(int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
        QApplication::processEvents();
    }
    QStringList texts() const {
        QStringList all;
        for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
        return all;
    }
    const RegionListForm& form() const { return *app.region_list(); }
    // Whether a pixel within two of (u, v) of the picture has `colour` on the
    // view as painted now.
    bool colour_near(const QImage& shot, float u, float v, const QColor& colour) const {
        const QPoint at = over(u, v);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor c = shot.pixelColor(at + QPoint(dx, dy));
                if (std::abs(c.red() - colour.red()) < 12 && std::abs(c.green() - colour.green()) < 12 &&
                    std::abs(c.blue() - colour.blue()) < 12)
                    return true;
            }
        return false;
    }

    TempFolder samples;
    ScriptedQtRegionsDesktop regions{window};
    ImageView* view = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(RegionPanelWindow, StartsHiddenAndViewRegionsTogglesIt) {
    EXPECT_EQ(window.findChild<QDockWidget*>(), nullptr);
    EXPECT_FALSE(window.action(command::regions_panel)->isChecked());
    const QSize view_size = view->size();
    ASSERT_NO_FATAL_FAILURE(show_panel());
    EXPECT_TRUE(regions.dock()->isVisible());
    EXPECT_TRUE(window.action(command::regions_panel)->isChecked());
    EXPECT_LT(view->width(), view_size.width());
    auto enabled = [&](int id) { return regions.panel()->findChild<QPushButton*>(QString::number(id))->isEnabled(); };
    // With a picture and no region chosen: only what needs no region.
    EXPECT_TRUE(enabled(region_panel_ids::add));
    EXPECT_TRUE(enabled(region_panel_ids::load));
    EXPECT_FALSE(enabled(region_panel_ids::up));
    EXPECT_FALSE(enabled(region_panel_ids::remove));
    window.action(command::regions_panel)->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(regions.dock()->isVisible());
    EXPECT_FALSE(window.action(command::regions_panel)->isChecked());
    EXPECT_EQ(view->size(), view_size);
}

TEST_F(RegionPanelWindow, AddsRenamesHidesReordersAndDeletesRegions) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    EXPECT_EQ(texts(), QStringList({"task", "window", "screen", "back wall"}));
    EXPECT_EQ(form().regions()[1].kind, RegionKind::polygon);
    EXPECT_EQ(form().regions()[2].kind, RegionKind::circle);
    EXPECT_NEAR(form().regions()[2].geometry.radius, 60, 2);

    list->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(form().regions()[2].visible);

    ASSERT_NO_FATAL_FAILURE(click_row(1));
    ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::up));
    EXPECT_EQ(texts(), QStringList({"window", "task", "screen", "back wall"}));
    EXPECT_EQ(list->currentRow(), 0);
    ASSERT_NO_FATAL_FAILURE(click_row(2));
    ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::down));
    EXPECT_EQ(texts(), QStringList({"window", "task", "back wall", "screen"}));
    EXPECT_EQ(list->item(3)->checkState(), Qt::Unchecked);

    ASSERT_NO_FATAL_FAILURE(click_row(1));
    ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::remove));
    EXPECT_EQ(texts(), QStringList({"window", "back wall", "screen"}));
    ASSERT_EQ(form().regions().size(), 3u);
    EXPECT_TRUE(regions.messages.empty());
}

TEST_F(RegionPanelWindow, AChosenRegionBecomesTheSelection) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(app.tools().selection().any());
    ASSERT_NO_FATAL_FAILURE(click_row(2));
    EXPECT_EQ(app.tools().tool(), RegionKind::circle);
    EXPECT_EQ(app.tools().selection().radius, form().regions()[2].geometry.radius);
    EXPECT_TRUE(window.action(command::circle_tool)->isChecked());
    EXPECT_FALSE(window.action(command::rectangle_tool)->isChecked());
    ASSERT_NO_FATAL_FAILURE(click_row(0));
    EXPECT_EQ(app.tools().tool(), RegionKind::rectangle);
    EXPECT_EQ(app.tools().selection().x0, form().regions()[0].geometry.x0);
    EXPECT_EQ(app.tools().selection().y1, form().regions()[0].geometry.y1);
    const Region& task = form().regions()[0].geometry;
    EXPECT_EQ(window.status_label(status_part::position)->text().toStdString(),
              status_rectangle_text(task.x0, task.y0, task.x1, task.y1).substr(1));
    // The view takes the keyboard back, so ENTER hands the region to a
    // wizard waiting for one.
    EXPECT_EQ(window.focusWidget(), view);
}

TEST_F(RegionPanelWindow, SavesTheFileBesideThePictureAndLoadsItAgain) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    const std::string beside = (samples / "chart.hdr.regions.json").string();
    regions.region_files = {beside};
    ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::save));
    ASSERT_EQ(regions.suggested.size(), 1u);
    EXPECT_EQ(regions.suggested[0], beside);
    ASSERT_TRUE(std::filesystem::exists(beside));

    while (list->count() > 0) {
        ASSERT_NO_FATAL_FAILURE(click_row(0));
        ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::remove));
    }
    regions.region_files = {beside};
    ASSERT_NO_FATAL_FAILURE(press(region_panel_ids::load));
    EXPECT_EQ(texts(), QStringList({"task", "window", "screen", "back wall"}));

    // The same picture opened again offers its file; another size scales it.
    regions.answers = {true};
    open((samples / "chart.hdr").string());
    EXPECT_EQ(regions.questions.size(), 1u);
    EXPECT_EQ(texts(), QStringList({"task", "window", "screen", "back wall"}));
    std::filesystem::copy_file(beside, samples / "fisheye.hdr.regions.json");
    regions.answers = {true};
    open((samples / "fisheye.hdr").string());
    EXPECT_EQ(list->count(), 4);
    ASSERT_EQ(regions.messages.size(), 1u);
    EXPECT_NE(regions.messages[0].first.find("960 x 400"), std::string::npos);
}

TEST_F(RegionPanelWindow, DrawsTheVisibleRegionsInTheirColours) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    QTest::keyClick(view, Qt::Key_Escape);  // no dashed selection over them
    view->repaint();
    const Region task = form().regions()[0].geometry;
    const QColor task_colour(QString::fromStdString(form().regions()[0].color));
    const Region screen = form().regions()[2].geometry;
    const QColor screen_colour(QString::fromStdString(form().regions()[2].color));
    QImage shot = view->grab().toImage();
    const float middle = (task.y0 + task.y1) / 2;
    EXPECT_TRUE(colour_near(shot, task.x0, middle, task_colour));
    EXPECT_TRUE(colour_near(shot, task.x1, middle, task_colour));
    EXPECT_FALSE(colour_near(shot, (task.x0 + task.x1) / 2, middle, task_colour));
    EXPECT_TRUE(colour_near(shot, screen.centre_x + screen.radius, screen.centre_y, screen_colour));

    list->item(0)->setCheckState(Qt::Unchecked);
    view->repaint();
    shot = view->grab().toImage();
    EXPECT_FALSE(colour_near(shot, task.x0, middle, task_colour));
    EXPECT_TRUE(colour_near(shot, screen.centre_x + screen.radius, screen.centre_y, screen_colour));
}

TEST_F(RegionPanelWindow, TheTableWindowShowsTheCoreFiguresOfEveryRegion) {
    ASSERT_NO_FATAL_FAILURE(add_four());
    EXPECT_TRUE(window.action(command::analyze_all_regions)->isEnabled());
    window.action(command::analyze_all_regions)->trigger();
    QApplication::processEvents();
    auto* shown = window.findChild<RegionTableWindow*>();
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(shown->isVisible());
    QTableWidget* table = shown->table();
    ASSERT_EQ(table->rowCount(), 4);

    const RegionTableForm& table_form = *form().table_form();
    int mean_column = -1, count_column = -1, median_column = -1;
    for (int c = 0; c < table->columnCount(); ++c) {
        const QString title = table->horizontalHeaderItem(c)->text();
        if (title == "mean") mean_column = c;
        if (title == "count") count_column = c;
        if (title == "median") median_column = c;
    }
    ASSERT_GE(mean_column, 0);
    ASSERT_GE(count_column, 0);
    ASSERT_GE(median_column, 0);
    StatisticsContext context{app.luminance_map(), app.cache_directory(), app.runner(), app.desktop(), false};
    for (int r = 0; r < 4; ++r) {
        const NamedRegion& region = form().regions()[static_cast<size_t>(r)];
        AnalysisSettings settings;
        settings.general_statistics = true;
        const RegionChoice choice = region_choice(region, "");
        const Result<RegionAnalysis> single = analyse_region_choice(context, table_form.table().lens, choice,
                                                                    region_record(settings, choice), false);
        ASSERT_TRUE(single);
        const RegionStatistics& s = single.value().statistics;
        EXPECT_EQ(table->item(r, 0)->text().toStdString(), region.name);
        // Each cell holds the whole field in its tool tip.
        EXPECT_EQ(table->item(r, count_column)->toolTip().toInt(), s.count()) << region.name;
        EXPECT_EQ(table->item(r, mean_column)->toolTip().toFloat(), s.mean) << region.name;
        EXPECT_EQ(table->item(r, median_column)->toolTip().toFloat(), s.median) << region.name;
        EXPECT_NEAR(table->item(r, mean_column)->text().toDouble(), s.mean, 1e-6 * s.mean) << region.name;
        EXPECT_GT(s.count(), 100) << region.name;
    }

    // The chosen row's histogram is made and painted.
    table->setCurrentCell(2, 0);
    QApplication::processEvents();
    EXPECT_TRUE(table_form.table().rows[2].has_histogram);
    const QImage histogram = shown->histogram()->grab().toImage();
    int dark = 0;
    for (int x = HistogramFrame::left_margin + 1; x < histogram.width() - HistogramFrame::right_margin; ++x)
        if (qGray(histogram.pixel(x, shown->histogram()->plot_bottom() - 2)) < 64) ++dark;
    EXPECT_GT(dark, 3);

    regions.table_files = {(samples / "chart.csv").string()};
    QTest::mouseClick(shown->findChild<QPushButton*>(QString::number(region_table_ids::save)), Qt::LeftButton);
    EXPECT_EQ(regions.suggested.back(), (samples / "chart").string());
    const std::string written = read_file(samples / "chart_regions.csv");
    EXPECT_EQ(written, region_table_csv(table_form.table()));
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 5);
}

}  // namespace

namespace {

// A real fisheye photograph of an office with the four regions of a study:
// the desk, the window, the screen and the back wall. With
// CANDELUX_SCREENSHOT set to a folder, the main window and the table window
// are saved there.
TEST_F(RegionPanelWindow, MeasuresFourRegionsOfARealFisheyePhotograph) {
    bool opened = false;
    ASSERT_NO_FATAL_FAILURE(opened = open_room_with_four_regions());
    if (!opened) GTEST_SKIP() << "the shared pictures are not on this machine";
    ASSERT_NO_FATAL_FAILURE(click_row(0));
    view->repaint();

    window.action(command::analyze_all_regions)->trigger();
    QApplication::processEvents();
    auto* shown = window.findChild<RegionTableWindow*>();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->table()->rowCount(), 4);
    const RegionTable& table = form().table_form()->table();
    ASSERT_TRUE(table.lens.has_view());
    for (const RegionRow& row : table.rows) {
        EXPECT_GT(row.analysis.count(), 1000) << row.name;
        EXPECT_GT(row.analysis.lens.solid_angle, 0) << row.name;
    }
    // The window is brighter than the desk.
    EXPECT_GT(table.rows[1].analysis.statistics.mean, table.rows[0].analysis.statistics.mean);

    // Weighted by solid angle, each row is the weighted single-region figure.
    auto* weight = shown->findChild<QCheckBox*>(QString::number(region_table_ids::weight));
    ASSERT_NE(weight, nullptr);
    ASSERT_TRUE(weight->isEnabled());
    const float unweighted = table.rows[1].analysis.statistics.mean;
    QTest::mouseClick(weight, Qt::LeftButton);
    QApplication::processEvents();
    const RegionTable& weighted = form().table_form()->table();
    ASSERT_TRUE(weighted.settings.weight_by_solid_angle);
    StatisticsContext context{app.luminance_map(), app.cache_directory(), app.runner(), app.desktop(), false};
    AnalysisSettings settings;
    settings.weight_by_solid_angle = true;
    const RegionChoice choice = region_choice(form().regions()[1], "");
    const Result<RegionAnalysis> single =
        analyse_region_choice(context, weighted.lens, choice, region_record(settings, choice), false);
    ASSERT_TRUE(single);
    EXPECT_EQ(weighted.rows[1].analysis.statistics.mean, single.value().statistics.mean);
    EXPECT_NE(weighted.rows[1].analysis.statistics.mean, unweighted);
    int mean_column = 0;
    while (shown->table()->horizontalHeaderItem(mean_column)->text() != "mean") ++mean_column;
    EXPECT_EQ(shown->table()->item(1, mean_column)->toolTip().toFloat(), single.value().statistics.mean);
    QTest::mouseClick(weight, Qt::LeftButton);
    EXPECT_EQ(form().table_form()->table().rows[1].analysis.statistics.mean, unweighted);

    if (const char* folder = std::getenv("CANDELUX_SCREENSHOT")) {
        shown->table()->setCurrentCell(1, 0);
        QApplication::processEvents();
        window.grab().save(QString(folder) + "/regions-main-window.png");
        shown->grab().save(QString(folder) + "/regions-table-window.png");
    }
}

}  // namespace

// Edit > Rotate turns the outlines with the picture: the window's regions
// lie over the same parts of the photograph afterwards.
TEST_F(RegionPanelWindow, TheOutlinesTurnWithThePicture) {
    bool opened = false;
    ASSERT_NO_FATAL_FAILURE(opened = open_room_with_four_regions());
    if (!opened) GTEST_SKIP() << "the shared pictures are not on this machine";
    const char* folder = std::getenv("CANDELUX_SCREENSHOT");
    if (folder) window.grab().save(QString(folder) + "/regions-before-turn.png");
    const Region desk = form().regions()[0].geometry;
    const int height = app.luminance_map().height;
    window.action(command::rotate_90)->trigger();
    QApplication::processEvents();
    ASSERT_EQ(form().regions().size(), 4u);
    const Region turned = form().regions()[0].geometry;
    EXPECT_EQ(turned.x0, static_cast<float>(height) - std::trunc(std::min(desk.y0, desk.y1)));
    EXPECT_EQ(turned.y0, std::trunc(std::min(desk.x0, desk.x1)));
    view->repaint();
    if (folder) window.grab().save(QString(folder) + "/regions-after-turn.png");
}
