// The "Series" window with real widgets, opened from Tools > Series...: a run
// over a folder of generated captures fills the table with the core's rows
// and plots them; Stop keeps what was measured; Follow folder adds a picture
// written afterwards; a point under the pointer names its picture and opens
// it on a double click; the CSV and the plot are saved.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include "app/commands.h"
#include "series/scripted_series_desktop.h"
#include "series/series_form.h"
#include "series/ui/folder_follower.h"
#include "series/ui/series_plot_widget.h"
#include "series/ui/series_table_model.h"
#include "series/ui/qt_series_desktop.h"
#include "series/ui/series_window.h"
#include "support/day_series.h"
#include "support/ui/app_window.h"

namespace fs = std::filesystem;

namespace {

// A run of a few small pictures ends well within this (milliseconds).
constexpr int run_timeout_ms = 60000;

class SeriesWindowTest : public ::testing::Test, public AppWindow {
protected:
    void SetUp() override {
        app.set_series_desktop(&series);
        ASSERT_NO_FATAL_FAILURE(show({900, 600}));
        window.action(command::series)->trigger();
        ASSERT_NE(series.shown, nullptr);
        form = series.shown;
        series_window = new SeriesWindow(&window, *form);
        series_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(series_window));
    }
    void TearDown() override { delete series_window.data(); }

    template <class Widget = QWidget>
    Widget* control(int id) const {
        auto* widget = series_window->findChild<Widget*>(QString::number(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    void click(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }
    // A check box is clicked on its box, as its label may be far narrower
    // than the widget.
    void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

    void choose_folder(const fs::path& folder) {
        series.folder_answers.push_back(folder.string());
        click(series_ids::choose_folder);
    }
    // Runs and waits until the run has ended.
    void run_and_wait() {
        click(series_ids::run);
        ASSERT_TRUE(series_window->running());
        ASSERT_TRUE(QTest::qWaitFor([this] { return !series_window->running(); }, run_timeout_ms));
    }

    // The core's own run over the same pictures, as the command line does it.
    SeriesTable core_rows(const std::vector<SeriesInput>& pictures) {
        SeriesOptions options;
        options.pictures = pictures;
        options.csv = (output / "core.csv").string();
        options.existing = ExistingCsv::overwrite;
        options.program_folder = CANDELUX_PROGRAMS_DIR;
        options.scratch_folder = output.str();
        if (form->glare) options.glare_options = form->glare_options;
        auto report = run_series(options);
        EXPECT_TRUE(report) << (report ? "" : report.failure().message);
        auto table = read_series_csv(options.csv);
        EXPECT_TRUE(table);
        return table ? table.value() : SeriesTable{};
    }

    // The table's cells of `row`.
    QStringList shown_row(int row) const {
        QStringList cells;
        const SeriesTableModel& model = series_window->model();
        for (int c = 0; c < model.columnCount(); ++c) cells << model.cell(row, c);
        return cells;
    }

    void screenshot(QWidget& widget, const char* name) {
        QApplication::processEvents();
        if (const char* shots = std::getenv("CANDELUX_SCREENSHOT")) widget.grab().save(QString(shots) + "/" + name);
    }

    TempFolder pictures;
    TempFolder output;
    ScriptedSeriesDesktop series;
    SeriesForm* form = nullptr;
    QPointer<SeriesWindow> series_window;  // gone once closed
};

std::vector<SeriesInput> pictures_of(const fs::path& folder) {
    auto listed = series_pictures_of_folder(folder.string());
    return listed ? listed.value() : std::vector<SeriesInput>{};
}

}  // namespace

TEST_F(SeriesWindowTest, ARunShowsTheCoresRowsInTimeOrderAndPlotsThem) {
    const std::vector<DayPicture> day = write_day_series(pictures.path(), 6);
    ASSERT_EQ(day.size(), 6u);
    EXPECT_FALSE(control<QPushButton>(series_ids::save_csv)->isEnabled());
    choose_folder(pictures.path());
    EXPECT_EQ(control<QLineEdit>(series_ids::folder)->text().toStdString(), pictures.str());
    ASSERT_NO_FATAL_FAILURE(run_and_wait());

    const SeriesTable core = core_rows(pictures_of(pictures.path()));
    ASSERT_EQ(core.rows.size(), 6u);
    SeriesTableModel& model = series_window->model();
    ASSERT_EQ(model.rowCount(), 6);
    ASSERT_EQ(model.columnCount(), static_cast<int>(series_fixed_columns));
    EXPECT_EQ(model.columns().front(), "time");
    EXPECT_EQ(model.columns()[3], "vertical_illuminance_lx");
    for (int r = 0; r < 6; ++r) {
        std::string line = series_row_line(core.rows[static_cast<size_t>(r)]);
        line.pop_back();
        EXPECT_EQ(shown_row(r).join(",").toStdString(), line) << r;
    }
    // In time order, whatever the names' order; CAPDATE gave the times.
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(model.cell(r, 0).toStdString(), day[static_cast<size_t>(r)].time);
        EXPECT_EQ(model.cell(r, 1), "capdate");
        EXPECT_EQ(model.cell(r, 2).toStdString(), day[static_cast<size_t>(r)].name);
        EXPECT_EQ(model.picture(r).toStdString(), (pictures / day[static_cast<size_t>(r)].name).string());
    }
    // The window's CSV is the core's, byte for byte.
    EXPECT_EQ(read_file(form->working_csv()), read_file(output / "core.csv"));

    EXPECT_EQ(control<QProgressBar>(series_ids::progress)->value(), 6);
    EXPECT_EQ(control<QLabel>(series_ids::status)->text(), "6 pictures measured");
    EXPECT_TRUE(control<QPushButton>(series_ids::save_csv)->isEnabled());
    EXPECT_FALSE(control<QPushButton>(series_ids::stop)->isEnabled());

    // Ev is plotted from the start; DGP has no values without glare.
    const PlotLayout& layout = series_window->plot().layout();
    ASSERT_EQ(layout.curves.size(), 1u);
    EXPECT_EQ(layout.curves[0].figure, "ev");
    size_t points = 0;
    for (const auto& run : layout.curves[0].runs) points += run.size();
    EXPECT_EQ(points, 6u);
    auto* ev = control<QCheckBox>(series_ids::first_figure);
    auto* dgp = control<QCheckBox>(series_ids::first_figure + 1);
    EXPECT_TRUE(ev->isChecked());
    EXPECT_TRUE(ev->isEnabled());
    EXPECT_FALSE(dgp->isEnabled());
    auto* ceiling = control<QCheckBox>(series_ids::first_figure + 7);
    EXPECT_EQ(ceiling->property("figure").toString(), "ceiling");
    tick(ceiling);
    EXPECT_EQ(form->figures, (std::vector<std::string>{"ev", "ceiling"}));
    EXPECT_EQ(series_window->plot().layout().curves.size(), 2u);
    tick(ev);
    EXPECT_EQ(form->figures, (std::vector<std::string>{"ceiling"}));
    EXPECT_EQ(series_window->plot().layout().curves.size(), 1u);
}

TEST_F(SeriesWindowTest, GlareFiguresComeFromEvalglareAsTheCoreRunsIt) {
    ASSERT_EQ(write_day_series(pictures.path(), 3).size(), 3u);
    choose_folder(pictures.path());
    tick(control<QCheckBox>(series_ids::glare));
    EXPECT_TRUE(form->glare);
    EXPECT_EQ(form->glare_options, "-vta -vv 180 -vh 180");
    ASSERT_NO_FATAL_FAILURE(run_and_wait());
    const SeriesTable core = core_rows(pictures_of(pictures.path()));
    ASSERT_EQ(series_window->model().rowCount(), 3)
        << control<QLabel>(series_ids::status)->text().toStdString()
        << (series.messages.empty() ? "" : series.messages[0].first);
    for (int r = 0; r < 3; ++r) {
        EXPECT_FALSE(series_window->model().cell(r, 4).isEmpty()) << r;  // dgp
        EXPECT_EQ(series_window->model().cell(r, 4).toStdString(), core.rows[static_cast<size_t>(r)].glare[0]);
    }
    EXPECT_TRUE(control<QCheckBox>(series_ids::first_figure + 1)->isEnabled());
}

TEST_F(SeriesWindowTest, RegionsAddTheirColumnsAndFigures) {
    ASSERT_EQ(write_day_series(pictures.path(), 8).size(), 8u);
    const std::string regions = (output / "room.regions.json").string();
    write_file(regions, R"({"width": 64, "height": 64, "regions": [
        {"name": "window", "color": "#0080ff", "kind": "rectangle", "points": [[20, 12], [44, 30]]},
        {"name": "sun patch", "color": "#ff8000", "kind": "circle", "center": [38, 45], "radius": 7}]})");
    choose_folder(pictures.path());
    series.regions_answers.push_back(regions);
    click(series_ids::choose_regions);
    EXPECT_EQ(control<QLineEdit>(series_ids::regions)->text().toStdString(), regions);
    ASSERT_NO_FATAL_FAILURE(run_and_wait());

    SeriesTableModel& model = series_window->model();
    ASSERT_EQ(model.rowCount(), 8);
    ASSERT_EQ(model.columnCount(), static_cast<int>(series_fixed_columns) + 4);
    EXPECT_EQ(model.columns().mid(static_cast<int>(series_fixed_columns)),
              QStringList({"window_mean", "window_weighted_mean", "sun patch_mean", "sun patch_weighted_mean"}));
    // The run's scratch files went with it: the cache folder holds the CSV
    // and what the main window keeps there, nothing more.
    for (const auto& entry : fs::directory_iterator(fs::path(form->working_csv()).parent_path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "series.csv" || name.rfind("dtemp", 0) == 0) << name;
    }
    SeriesOptions options = form->run_options(pictures_of(pictures.path()), false).value();
    options.csv = (output / "core.csv").string();
    options.scratch_folder = output.str();
    ASSERT_TRUE(run_series(options));
    EXPECT_EQ(read_file(form->working_csv()), read_file(output / "core.csv"));

    auto* patch = control<QCheckBox>(series_ids::first_figure + 10);
    EXPECT_EQ(patch->property("figure").toString(), "sun patch_mean");
    EXPECT_TRUE(patch->isEnabled());
    tick(patch);
    ASSERT_EQ(series_window->plot().layout().curves.size(), 2u);
    EXPECT_EQ(series_window->plot().layout().curves[1].figure, "sun patch_mean");
    screenshot(*series_window, "series-regions.png");
}

TEST_F(SeriesWindowTest, BadGlareOptionsAreRefusedBeforeAnythingRuns) {
    ASSERT_EQ(write_day_series(pictures.path(), 2).size(), 2u);
    choose_folder(pictures.path());
    tick(control<QCheckBox>(series_ids::glare));
    auto* options = control<QLineEdit>(series_ids::glare_options);
    options->selectAll();
    QTest::keyClicks(options, "-vta; rm -rf x");
    click(series_ids::run);
    EXPECT_FALSE(series_window->running());
    ASSERT_EQ(series.messages.size(), 1u);
    EXPECT_EQ(series.messages[0].first.rfind("The glare options cannot be used", 0), 0u) << series.messages[0].first;
    EXPECT_EQ(series_window->model().rowCount(), 0);
}

TEST_F(SeriesWindowTest, StopKeepsWhatWasMeasured) {
    const int count = 60;
    ASSERT_EQ(write_day_series(pictures.path(), count, 160).size(), static_cast<size_t>(count));
    choose_folder(pictures.path());
    form->jobs = 1;
    // Stop is pressed as soon as the first row shows.
    const auto stopper = QObject::connect(&series_window->model(), &QAbstractItemModel::rowsInserted, series_window, [this] {
        if (control<QPushButton>(series_ids::stop)->isEnabled()) click(series_ids::stop);
    });
    ASSERT_NO_FATAL_FAILURE(run_and_wait());
    const int kept = series_window->model().rowCount();
    EXPECT_GE(kept, 1);
    EXPECT_LT(kept, count);
    EXPECT_EQ(control<QLabel>(series_ids::status)->text(), QString("Stopped: %1 pictures kept").arg(kept));
    // The CSV holds exactly the rows shown, as the core measures them.
    auto saved = read_series_csv(form->working_csv());
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved.value().rows.size(), static_cast<size_t>(kept));
    std::vector<SeriesInput> measured;
    for (const SeriesRow& row : saved.value().rows)
        measured.push_back({(pictures / row.picture).string(), row.picture});
    const SeriesTable core = core_rows(measured);
    EXPECT_EQ(read_file(form->working_csv()), read_file(output / "core.csv"));
    for (int r = 0; r < kept; ++r)
        EXPECT_EQ(series_window->model().cell(r, 2).toStdString(), core.rows[static_cast<size_t>(r)].picture);
    EXPECT_TRUE(control<QPushButton>(series_ids::run)->isEnabled());

    // Resume measures the rest: the same file a run without a stop writes.
    QObject::disconnect(stopper);
    ASSERT_TRUE(control<QPushButton>(series_ids::resume)->isEnabled());
    click(series_ids::resume);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !series_window->running(); }, run_timeout_ms));
    EXPECT_EQ(series_window->model().rowCount(), count);
    core_rows(pictures_of(pictures.path()));
    EXPECT_EQ(read_file(form->working_csv()), read_file(output / "core.csv"));
    EXPECT_EQ(control<QLabel>(series_ids::status)->text(), QString("%1 pictures measured").arg(count));
    EXPECT_FALSE(control<QPushButton>(series_ids::resume)->isEnabled());
}

TEST_F(SeriesWindowTest, FollowingTheFolderAddsAPictureWrittenLater) {
    // Four captures are made; the last arrives once the window follows.
    const std::vector<DayPicture> day = write_day_series(output / "camera", 4);
    ASSERT_EQ(day.size(), 4u);
    for (int i = 0; i < 3; ++i) fs::copy_file(output / "camera" / day[i].name, pictures / day[i].name);
    choose_folder(pictures.path());
    tick(control<QCheckBox>(series_ids::follow));
    series_window->follower().set_settle_interval(50);
    ASSERT_NO_FATAL_FAILURE(run_and_wait());
    ASSERT_EQ(series_window->model().rowCount(), 3);
    EXPECT_TRUE(series_window->following());
    EXPECT_TRUE(control<QPushButton>(series_ids::stop)->isEnabled());

    // A capture arrives in two writes: the first half, a pause, the rest.
    const std::string bytes = read_file(output / "camera" / day[3].name);
    write_file(pictures / "later.hdr", bytes.substr(0, bytes.size() / 2));
    QTest::qWait(30);
    write_file(pictures / "later.hdr", bytes);
    // Not a picture: never added.
    write_file(pictures / "notes.txt", "clouds after 11");
    ASSERT_TRUE(QTest::qWaitFor([this] { return series_window->model().rowCount() == 4 && !series_window->running(); },
                                run_timeout_ms));
    SeriesTableModel& model = series_window->model();
    // In time order, the later capture last.
    EXPECT_EQ(model.cell(3, 0).toStdString(), day[3].time);
    EXPECT_EQ(model.cell(3, 2), "later.hdr");
    auto saved = read_series_csv(form->working_csv());
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved.value().rows.size(), 4u);
    EXPECT_EQ(saved.value().rows[3].picture, "later.hdr");
    const SeriesTable core = core_rows({{(pictures / "later.hdr").string(), "later.hdr"}});
    EXPECT_EQ(saved.value().rows[3].vertical_illuminance, core.rows[0].vertical_illuminance);
    size_t points = 0;
    for (const auto& run : series_window->plot().layout().curves.at(0).runs) points += run.size();
    EXPECT_EQ(points, 4u);
    EXPECT_TRUE(control<QLabel>(series_ids::status)->text().endsWith(" - following the folder"));
    screenshot(*series_window, "series-following.png");

    // Stop ends the following: a later picture stays out.
    click(series_ids::stop);
    EXPECT_FALSE(series_window->following());
    fs::copy_file(output / "camera" / day[0].name, pictures / "evening.hdr");
    QTest::qWait(300);
    EXPECT_EQ(series_window->model().rowCount(), 4);
}

TEST_F(SeriesWindowTest, FollowChosenAfterARunWatchesFromThen) {
    const std::vector<DayPicture> day = write_day_series(output / "camera", 3);
    ASSERT_EQ(day.size(), 3u);
    for (int i = 0; i < 2; ++i) fs::copy_file(output / "camera" / day[i].name, pictures / day[i].name);
    choose_folder(pictures.path());
    ASSERT_NO_FATAL_FAILURE(run_and_wait());
    EXPECT_FALSE(series_window->following());
    series_window->follower().set_settle_interval(50);
    tick(control<QCheckBox>(series_ids::follow));
    EXPECT_TRUE(series_window->following());
    fs::copy_file(output / "camera" / day[2].name, pictures / day[2].name);
    ASSERT_TRUE(QTest::qWaitFor([this] { return series_window->model().rowCount() == 3 && !series_window->running(); },
                                run_timeout_ms));
    EXPECT_EQ(series_window->model().cell(2, 2).toStdString(), day[2].name);
    // Unticked, the folder is no longer watched.
    tick(control<QCheckBox>(series_ids::follow));
    EXPECT_FALSE(series_window->following());
}

TEST_F(SeriesWindowTest, APointNamesItsPictureAndOpensItOnADoubleClick) {
    const std::vector<DayPicture> day = write_day_series(pictures.path(), 5);
    ASSERT_EQ(day.size(), 5u);
    choose_folder(pictures.path());
    ASSERT_NO_FATAL_FAILURE(run_and_wait());
    SeriesPlotWidget& plot = series_window->plot();
    const PlotLayout& layout = plot.layout();
    ASSERT_EQ(layout.curves.size(), 1u);
    ASSERT_FALSE(layout.curves[0].runs.empty());
    const auto& points = layout.curves[0].runs[0];
    ASSERT_EQ(points.size(), 5u);
    // The third point in time.
    const std::string name = day[2].name;
    const QString text = QString::fromStdString(name + "\n" + day[2].time);
    const PlotCurve::Point& point = points[2];
    const QPoint at(static_cast<int>(std::lround(point.x)), static_cast<int>(std::lround(point.y)));
    ASSERT_EQ(plot.row_at(at), std::optional<size_t>(point.row));
    EXPECT_EQ(form->table.rows[point.row].picture, name);
    EXPECT_EQ(plot.point_text(point.row), text);
    // Between points nothing is hit.
    EXPECT_FALSE(plot.row_at(QPointF((points[1].x + points[2].x) / 2, layout.height - 1.0)));

    // The pointer comes over the point (QTest's mouse moves go through the
    // cursor, which the offscreen platform does not move).
    QMouseEvent move(QEvent::MouseMove, QPointF(at), plot.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&plot, &move);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == text; }, 2000)) << QToolTip::text().toStdString();

    QTest::mouseDClick(&plot, Qt::LeftButton, {}, at);
    EXPECT_TRUE(app.image_loaded());
    EXPECT_EQ(app.picture_name(), (pictures / name).string());
    EXPECT_EQ(window.windowTitle().toStdString(), "candelux - " + (pictures / name).string());

    // A row of the table opens its picture too.
    auto* table = control<QTableView>(series_ids::table);
    const QRect cell = table->visualRect(table->model()->index(4, 2));
    // The first click of the two selects the row, as a person's does.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(app.picture_name(), (pictures / day[4].name).string());
}

TEST_F(SeriesWindowTest, SavesTheCsvAndThePlotAsPngAndSvg) {
    const std::vector<DayPicture> day = write_day_series(pictures.path(), 4);
    ASSERT_EQ(day.size(), 4u);
    choose_folder(pictures.path());
    ASSERT_NO_FATAL_FAILURE(run_and_wait());

    series.csv_answers.push_back((output / "day.csv").string());
    click(series_ids::save_csv);
    EXPECT_EQ(read_file(output / "day.csv"), read_file(form->working_csv()));
    EXPECT_NE(read_file(output / "day.csv").find(day[3].name), std::string::npos);

    series.plot_answers.push_back({static_cast<int>(PlotFileKind::png), (output / "day.png").string()});
    click(series_ids::save_plot);
    QImage png((output / "day.png").c_str());
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.width(), 1200);
    EXPECT_GT(png.height(), 100);
    // The curve is drawn: some pixels are neither white nor grey.
    int coloured = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            const QColor c = png.pixelColor(x, y);
            if (std::abs(c.red() - c.green()) > 40 || std::abs(c.green() - c.blue()) > 40) ++coloured;
        }
    EXPECT_GT(coloured, 50);

    series.plot_answers.push_back({static_cast<int>(PlotFileKind::svg), (output / "day.svg").string()});
    click(series_ids::save_plot);
    const std::string svg = read_file(output / "day.svg");
    ASSERT_NE(svg.find("<svg"), std::string::npos);
    auto layout = form->plot(1200, 0);
    ASSERT_TRUE(layout);
    EXPECT_EQ(svg, plot_svg(layout.value()));

    // Cancelled: nothing written, nothing said.
    click(series_ids::save_plot);
    EXPECT_TRUE(series.messages.empty());
    EXPECT_EQ(series.suggested, (std::vector<std::string>{"series.csv", "series.png", "series.png", "series.png"}));
}

TEST_F(SeriesWindowTest, ADayWithGlarePlotsDgpAndEvInTwoPanels) {
    const int count = 48;
    ASSERT_EQ(write_day_series(pictures.path(), count, 96).size(), static_cast<size_t>(count));
    choose_folder(pictures.path());
    tick(control<QCheckBox>(series_ids::glare));
    ASSERT_NO_FATAL_FAILURE(run_and_wait());
    ASSERT_EQ(series_window->model().rowCount(), count);
    tick(control<QCheckBox>(series_ids::first_figure + 1));  // DGP
    EXPECT_EQ(form->figures, (std::vector<std::string>{"ev", "dgp"}));
    const PlotLayout& layout = series_window->plot().layout();
    ASSERT_EQ(layout.panels.size(), 2u);
    ASSERT_EQ(layout.curves.size(), 2u);
    // The sun patch grows all day: the largest Ev and DGP come in the last hour.
    for (const PlotCurve& curve : layout.curves) {
        const PlotCurve::Point* top = nullptr;
        for (const auto& run : curve.runs)
            for (const PlotCurve::Point& point : run)
                if (!top || point.y < top->y) top = &point;
        ASSERT_NE(top, nullptr);
        const std::string time = form->table.rows[top->row].time;
        EXPECT_GE(time, "2026-06-21T17:00:00") << curve.figure;
    }
    series_window->resize(1100, 780);
    screenshot(*series_window, "series-window.png");
    if (const char* shots = std::getenv("CANDELUX_SCREENSHOT")) {
        series.plot_answers.push_back({static_cast<int>(PlotFileKind::svg), std::string(shots) + "/series-plot.svg"});
        series.plot_answers.push_back({static_cast<int>(PlotFileKind::png), std::string(shots) + "/series-plot.png"});
        click(series_ids::save_plot);
        click(series_ids::save_plot);
        EXPECT_TRUE(series.messages.empty());
    }
}

TEST_F(SeriesWindowTest, APictureThatCannotBeReadIsReportedAndTheOthersMeasured) {
    ASSERT_EQ(write_day_series(pictures.path(), 3).size(), 3u);
    write_file(pictures / "broken.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 10 +X 10\n");
    choose_folder(pictures.path());
    ASSERT_NO_FATAL_FAILURE(run_and_wait());
    EXPECT_EQ(series_window->model().rowCount(), 3);
    const QString status = control<QLabel>(series_ids::status)->text();
    EXPECT_TRUE(status.startsWith("3 pictures measured, 1 could not be measured: broken.hdr")) << status.toStdString();
}

TEST_F(SeriesWindowTest, ClosingTheWindowStopsTheRunAndKeepsTheRows) {
    const int count = 60;
    ASSERT_EQ(write_day_series(pictures.path(), count, 160).size(), static_cast<size_t>(count));
    choose_folder(pictures.path());
    form->jobs = 1;
    click(series_ids::run);
    ASSERT_TRUE(QTest::qWaitFor([this] { return series_window->model().rowCount() >= 1; }, run_timeout_ms));
    series_window->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return series_window.isNull(); }, 5000));
    auto kept = read_series_csv(form->working_csv());
    ASSERT_TRUE(kept);
    EXPECT_GE(kept.value().rows.size(), 1u);
    EXPECT_LT(kept.value().rows.size(), static_cast<size_t>(count));
}

TEST_F(SeriesWindowTest, AFolderIsNeededBeforeARun) {
    click(series_ids::run);
    EXPECT_FALSE(series_window->running());
    ASSERT_EQ(series.messages.size(), 1u);
    EXPECT_EQ(series.messages[0].first, "Choose a folder of pictures first.");
    click(series_ids::save_csv);  // disabled: no message
    EXPECT_EQ(series.messages.size(), 1u);
}

TEST(SeriesMenu, ToolsSeriesOpensOneWindowOverTheMainWindow) {
    AppWindow main;
    QtSeriesDesktop desktop(main.window);
    main.app.set_series_desktop(&desktop);
    ASSERT_NO_FATAL_FAILURE(main.show({800, 600}));
    QAction* item = main.window.action(command::series);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Se&ries...");
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    auto windows = main.window.findChildren<SeriesWindow*>("6200");
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), "Series");
    EXPECT_TRUE(windows[0]->isVisible());
    // Again: the earlier window makes way for a new one.
    QPointer<SeriesWindow> first = windows[0];
    item->trigger();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(main.window.findChildren<SeriesWindow*>("6200").size(), 1);
}
