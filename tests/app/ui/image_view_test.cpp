// The main window with a real picture: open it through the file dialog, click
// a patch of known luminance, draw a rectangle, zoom with the wheel, clear
// with ESC. Offscreen, with real widgets and real mouse events.

#include <QApplication>
#include <QImageReader>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/commands.h"
#include "app/ui/image_view.h"
#include "common/status_text.h"
#include "common/physics.h"
#include "picture/rgbe_pixel.h"
#include "support/ui/app_window.h"
#include "support/ui/modal_answers.h"

namespace {

QString status(MainWindow& window, int part) { return window.status_label(part)->text(); }

class ViewWindow : public ::testing::Test, protected AppWindow {
protected:
    void SetUp() override {
        const std::string command = std::string(CANDELUX_BIN_DIR) + "/make_samples " + samples.str();
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_NO_FATAL_FAILURE(show({1100, 600}));
        view = window.view();
    }
    void open_chart() {
        open_through_dialog((samples / "chart.hdr").string());
        ASSERT_TRUE(app.image_loaded());
    }

    TempFolder samples;
    ImageView* view = nullptr;
};

TEST_F(ViewWindow, OpensTheChartThroughTheFileDialog) {
    open_chart();
    EXPECT_EQ(window.windowTitle().toStdString(), "candelux - " + (samples / "chart.hdr").string());
    EXPECT_EQ(status(window, status_part::resolution), "960x400");
    EXPECT_EQ(view->picture().size(), QSize(960, 400));
    EXPECT_TRUE(window.action(command::fit_to_display)->isEnabled());
    if (const char* folder = std::getenv("CANDELUX_SCREENSHOT")) {
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, over(780, 180));
        window.grab().save(QString(folder) + "/view_chart.png");
    }
}

TEST_F(ViewWindow, OpensADisplayPictureLargerThanQtsImageLimit) {
    // Qt refuses pictures above a limit (128 or 256 MB, less than the
    // display copy of a 100-megapixel picture). With the limit lowered to
    // 1 MB, the chart's display copy (1.5 MB) stands for such a picture.
    const int kept = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    open_chart();
    EXPECT_EQ(view->picture().size(), QSize(960, 400));
    QImageReader::setAllocationLimit(kept);
}

TEST_F(ViewWindow, ClickingAPatchShowsItsLuminance) {
    open_chart();
    // The 100 000 cd/m² patch: second row, seventh column of 120-pixel patches.
    const float v = static_cast<float>(100000.0 / physics::luminous_efficacy);
    const RgbePixel p = encode_rgbe(v, v, v);
    const float expected = rgbe_luminance(p.r, p.g, p.b, p.e, 1.0f);
    EXPECT_NEAR(expected, 100000.0f, 400.0f);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, over(780, 180));
    EXPECT_EQ(status(window, status_part::luminance).toStdString(), status_luminance_text(expected));
    // The patch of exact zeros reads as (almost) nothing.
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, over(900, 180));
    EXPECT_EQ(status(window, status_part::luminance).toStdString(), status_luminance_text(0.0f));
}

TEST_F(ViewWindow, DrawingARectangleShowsItsCorners) {
    open_chart();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, over(500, 50));
    EXPECT_FALSE(status(window, status_part::luminance).isEmpty());
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, over(10.2f, 20.2f));
    QTest::mouseMove(view, over(60, 40));
    QTest::mouseMove(view, over(100.2f, 50.2f));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, over(100.2f, 50.2f));
    const Region& s = app.tools().selection();
    ASSERT_TRUE(s.has_rectangle());
    EXPECT_EQ(status(window, status_part::position).toStdString(),
              status_rectangle_text(s.x0, s.y0, s.x1, s.y1).substr(1));
    EXPECT_NEAR(s.x0, 10, 1.0);
    EXPECT_NEAR(s.x1, 100, 1.0);
    // While a selection exists the mouse empties the luminance part.
    EXPECT_TRUE(status(window, status_part::luminance).isEmpty());
}

TEST_F(ViewWindow, TheWheelZoomsInTenthsAndEscapeClears) {
    open_chart();
    const float before = app.zoom();
    QWheelEvent up(QPointF(200, 200), view->mapToGlobal(QPointF(200, 200)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &up);
    EXPECT_FLOAT_EQ(app.zoom(), before + 0.1f);
    EXPECT_EQ(status(window, status_part::zoom).toStdString(), status_zoom_text(app.zoom()).substr(1));

    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, over(100, 100));
    QTest::mouseMove(view, over(200, 150));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, over(200, 150));
    ASSERT_TRUE(app.tools().selection().any());
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(app.tools().selection().any());
}

TEST_F(ViewWindow, RightDragPansAnEnlargedPicture) {
    open_chart();
    for (int i = 0; i < 10; ++i) app.on_wheel(120);
    view->repaint();
    const PointF before = app.pan();
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
    EXPECT_EQ(view->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(view, QPoint(300, 250));
    view->repaint();
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, QPoint(300, 250));
    EXPECT_LT(app.pan().x, before.x - 90);
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ViewWindow, ARightDoubleClickDoesNotStartPanningAgain) {
    open_chart();
    for (int i = 0; i < 10; ++i) app.on_wheel(120);
    view->repaint();
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
    const PointF before = app.pan();
    // The second click of a double click arrives as a double-click event.
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(400, 300), view->mapToGlobal(QPointF(400, 300)),
                       Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(view, &second);
    EXPECT_NE(view->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(view, QPoint(300, 250));
    view->repaint();
    EXPECT_EQ(app.pan(), before);
}

}  // namespace

namespace {

// A real photograph with a circle and then a polygon drawn on it. With
// CANDELUX_SCREENSHOT set to a folder, the window is saved there as PNG.
TEST_F(ViewWindow, DrawsCircleAndPolygonOutlinesOverARealPicture) {
    const std::string photo = shared_picture("fisheye_photo_786.hdr");
    if (photo.empty()) GTEST_SKIP() << "test pictures not present";
    window.resize(900, 700);
    answer_file_dialog(QString::fromStdString(photo));
    window.action(command::open)->trigger();
    ASSERT_TRUE(app.image_loaded());
    app.on_command(command::guidelines);

    app.on_command(command::circle_tool);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, over(390, 300));
    QTest::mouseMove(view, over(470, 300));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, over(470, 300));
    EXPECT_NEAR(app.tools().selection().radius, 80, 2);
    const QImage with_circle = window.grab().toImage();

    app.on_command(command::polygon_tool);
    for (QPoint p : {over(120, 420), over(300, 380), over(330, 600), over(150, 640), over(100, 520)})
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, over(100, 520));
    QTest::mouseMove(view, over(500, 200));
    EXPECT_EQ(app.tools().selection().vertex_count, 5);
    view->repaint();
    const QImage with_polygon = window.grab().toImage();
    EXPECT_NE(with_circle, with_polygon);

    if (const char* folder = std::getenv("CANDELUX_SCREENSHOT")) {
        with_circle.save(QString(folder) + "/view_circle.png");
        with_polygon.save(QString(folder) + "/view_polygon.png");
    }
}

}  // namespace
