// The falsecolor window's "Options >>" with real widgets: hidden at first,
// the scale controls drive the view, and a screenshot of contour lines over
// a photograph goes to /tmp/shots-falsecolor/.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/ui/image_view.h"
#include "support/formula_pictures.h"
#include "support/ui/app_window.h"
#include "tools/falsecolor_form.h"
#include "tools/falsecolor_render.h"
#include "tools/ui/falsecolor_window.h"

namespace {

bool same_colour(QRgb pixel, const Rgb8& colour) {
    return qRed(pixel) == colour.r && qGreen(pixel) == colour.g && qBlue(pixel) == colour.b;
}

class FalsecolorOptions : public ::testing::Test, protected AppWindow {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(show({900, 640})); }
    FalsecolorWindow* legend_window() const {
        return window.findChild<FalsecolorWindow*>(QString::number(falsecolor_ids::dialog));
    }
    template <class Widget = QWidget>
    Widget* control(int id) const {
        return legend_window()->findChild<Widget*>(QString::number(id));
    }
    void apply() {
        QTest::mouseClick(control<QPushButton>(falsecolor_ids::apply), Qt::LeftButton);
        QApplication::processEvents();
    }

    TempFolder pictures;
};

TEST_F(FalsecolorOptions, AreHiddenAtFirstAndDriveTheViewOnceShown) {
    const std::string path = (pictures / "ramp.hdr").string();
    ASSERT_TRUE(write_grey_picture(path, 120, 60, [](int x, int) {
        return 0.11f * std::pow(10.0f, 3.0f * static_cast<float>(x) / 119.0f);
    }));
    open(path);
    window.action(command::falsecolor)->trigger();
    QApplication::processEvents();
    ASSERT_NE(legend_window(), nullptr);
    auto* display = control<QComboBox>(falsecolor_ids::display);
    ASSERT_NE(display, nullptr);
    EXPECT_FALSE(display->isVisible());
    EXPECT_EQ(control<QPushButton>(falsecolor_ids::options)->text(), "Options >>");

    QTest::mouseClick(control<QPushButton>(falsecolor_ids::options), Qt::LeftButton);
    EXPECT_TRUE(display->isVisible());
    EXPECT_EQ(control<QSpinBox>(falsecolor_ids::steps)->value(), 8);
    EXPECT_EQ(display->currentText(), "Smooth");

    // Viridis: the legend shows it at once; Apply paints the view with it.
    control<QComboBox>(falsecolor_ids::palette)->setCurrentIndex(1);
    const QImage legend = control<QLabel>(falsecolor_ids::legend)->pixmap().toImage();
    EXPECT_TRUE(same_colour(legend.pixel(10, 0), palette_colours(FalsecolorPalette::viridis)[255]));
    apply();
    EXPECT_EQ(app.falsecolor_scale().palette, FalsecolorPalette::viridis);
    EXPECT_TRUE(same_colour(window.view()->picture().pixel(0, 30), palette_colours(FalsecolorPalette::viridis)[0]));

    // Contour lines in 3 steps over the picture, in lux.
    display->setCurrentIndex(1);
    control<QSpinBox>(falsecolor_ids::steps)->setValue(3);
    control<QComboBox>(falsecolor_ids::units)->setCurrentIndex(1);
    apply();
    const FalsecolorScale scale = app.falsecolor_scale();
    EXPECT_EQ(scale.display, FalsecolorDisplay::contours);
    EXPECT_EQ(scale.steps, 3);
    EXPECT_EQ(scale.units, FalsecolorUnits::lux);
    const auto levels = contour_levels(scale_positions(app.luminance_map(), scale), 120, 60, 3);
    const QImage view = window.view()->picture();
    int lines = 0;
    for (int x = 0; x < 120; ++x) {
        const int k = levels[static_cast<size_t>(30 * 120 + x)];
        if (k < 0) continue;
        EXPECT_TRUE(same_colour(view.pixel(x, 30), level_colour(scale, k))) << x;
        ++lines;
    }
    EXPECT_GE(lines, 2);
    EXPECT_TRUE(legend_window()->findChild<QLabel*>()->parent() != nullptr);
    bool lux_caption = false;
    for (QLabel* label : legend_window()->findChildren<QLabel*>()) lux_caption |= label->text() == "Top (lx)";
    EXPECT_TRUE(lux_caption);

    // The export choices reach the form that Save As reads.
    control<QCheckBox>(falsecolor_ids::legend_in_picture)->setChecked(true);
    legend_window()->close();
    QApplication::processEvents();
    EXPECT_FALSE(app.falsecolor_open());
}

TEST_F(FalsecolorOptions, ScreenshotOfContourLinesOverAPhotograph) {
    const std::string path = shared_picture("fisheye_photo_786.hdr");
    if (path.empty()) GTEST_SKIP() << "test pictures not present";
    open(path);
    window.action(command::falsecolor)->trigger();
    QApplication::processEvents();
    ASSERT_NE(legend_window(), nullptr);
    QTest::mouseClick(control<QPushButton>(falsecolor_ids::options), Qt::LeftButton);
    control<QComboBox>(falsecolor_ids::display)->setCurrentIndex(1);
    control<QSpinBox>(falsecolor_ids::steps)->setValue(6);
    control<QCheckBox>(falsecolor_ids::legend_in_picture)->setChecked(true);
    apply();
    ASSERT_EQ(app.falsecolor_scale().display, FalsecolorDisplay::contours);
    window.view()->repaint();
    const QPixmap main_shot = window.grab();
    const QPixmap legend_shot = legend_window()->grab();
    QDir().mkpath("/tmp/shots-falsecolor");
    QPixmap both(main_shot.width() + legend_shot.width() + 10, std::max(main_shot.height(), legend_shot.height()));
    both.fill(Qt::darkGray);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, main_shot);
    painter.drawPixmap(main_shot.width() + 10, 0, legend_shot);
    painter.end();
    EXPECT_TRUE(both.save("/tmp/shots-falsecolor/contours_over_photograph.png"));
    legend_window()->close();
}

}  // namespace
