// The falsecolor view with real widgets: Tools > Falsecolor, the legend
// window on the measured range, a reversed user range typed and applied,
// and closing the window back to the normal view; "Options >>" hidden at
// first, then driving the view. Screenshots of a real picture go to
// /tmp/shots-export/, of contour lines over a photograph to
// /tmp/shots-falsecolor/.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/ui/image_view.h"
#include "common/text_format.h"
#include "support/formula_pictures.h"
#include "support/ui/app_window.h"
#include "tools/falsecolor.h"
#include "tools/falsecolor_form.h"
#include "tools/falsecolor_render.h"
#include "tools/ui/falsecolor_window.h"

namespace {

namespace fs = std::filesystem;

// Grey from left to right, 20 to about 20000 cd/m².
std::string write_ramp(const fs::path& path) {
    EXPECT_TRUE(write_grey_picture(path.string(), 120, 60, [](int x, int) {
        return 0.11f * std::pow(10.0f, 3.0f * static_cast<float>(x) / 119.0f);
    }));
    return path.string();
}

bool same_colour(QRgb pixel, const Rgb8& colour) {
    return qRed(pixel) == colour.r && qGreen(pixel) == colour.g && qBlue(pixel) == colour.b;
}

class FalsecolorView : public ::testing::Test, protected AppWindow {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(show({900, 640})); }
    FalsecolorWindow* legend_window() const {
        return window.findChild<FalsecolorWindow*>(QString::number(falsecolor_ids::dialog));
    }
    template <class Widget = QWidget>
    Widget* control(int id) const {
        return legend_window()->findChild<Widget*>(QString::number(id));
    }
    void type_into(int id, const QString& text) {
        auto* field = control<QLineEdit>(id);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    // The main window and the falsecolor window side by side, as on a desk.
    bool save_side_by_side(const QString& path) {
        const QPixmap main_shot = window.grab();
        const QPixmap legend_shot = legend_window()->grab();
        QPixmap both(main_shot.width() + legend_shot.width() + 10, std::max(main_shot.height(), legend_shot.height()));
        both.fill(Qt::darkGray);
        QPainter painter(&both);
        painter.drawPixmap(0, 0, main_shot);
        painter.drawPixmap(main_shot.width() + 10, 0, legend_shot);
        painter.end();
        return both.save(path);
    }

    TempFolder pictures;
};

TEST_F(FalsecolorView, ShowsTheMeasuredRangeAppliesAUserRangeAndClosesBackToTheNormalView) {
    open(write_ramp(pictures / "ramp.hdr"));
    const QImage normal = window.view()->picture();
    window.action(command::falsecolor)->trigger();
    QApplication::processEvents();

    FalsecolorWindow* legend = legend_window();
    ASSERT_NE(legend, nullptr);
    EXPECT_TRUE(legend->isVisible());
    EXPECT_FALSE(legend->isModal());
    EXPECT_EQ(legend->windowTitle(), "Falsecolor");
    EXPECT_TRUE(app.falsecolor_active());
    // The measured range, as pextrem found it.
    EXPECT_EQ(control<QLineEdit>(falsecolor_ids::bottom)->text().toStdString(), format_default(app.falsecolor_bottom()));
    EXPECT_EQ(control<QLineEdit>(falsecolor_ids::top)->text().toStdString(), format_default(app.falsecolor_top()));
    EXPECT_NEAR(app.falsecolor_bottom(), 19.7f, 0.2f);
    EXPECT_NEAR(app.falsecolor_top(), 19700.0f, 200.0f);
    EXPECT_TRUE(control<QCheckBox>(falsecolor_ids::maximum_range)->isChecked());
    const auto labels = falsecolor_labels(app.falsecolor_bottom(), app.falsecolor_top());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(control<QLabel>(falsecolor_ids::first_label + i)->text().toStdString(), format_default(labels[i]));
    EXPECT_FALSE(control<QPushButton>(falsecolor_ids::optimized_range)->isVisible());

    // The legend: index 255 at the top, 0 at the bottom.
    const QImage legend_image = control<QLabel>(falsecolor_ids::legend)->pixmap().toImage();
    ASSERT_EQ(legend_image.size(), QSize(legend_width, legend_height));
    EXPECT_TRUE(same_colour(legend_image.pixel(10, 0), falsecolor_palette()[255]));
    EXPECT_TRUE(same_colour(legend_image.pixel(90, legend_height - 1), falsecolor_palette()[0]));

    // The view shows the falsecolor picture; the picture's menus are off.
    EXPECT_NE(window.view()->picture(), normal);
    EXPECT_TRUE(same_colour(window.view()->picture().pixel(0, 30), falsecolor_palette()[0]));
    EXPECT_FALSE(window.action(command::open)->isEnabled());
    EXPECT_FALSE(window.action(command::crop)->isEnabled());
    EXPECT_TRUE(window.action(command::save_as)->isEnabled());

    // 500 at the bottom and 50 at the top: swapped on Apply.
    type_into(falsecolor_ids::bottom, "500");
    type_into(falsecolor_ids::top, "50");
    EXPECT_FALSE(control<QCheckBox>(falsecolor_ids::maximum_range)->isChecked());
    QTest::mouseClick(control<QPushButton>(falsecolor_ids::apply), Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>(falsecolor_ids::bottom)->text(), "50");
    EXPECT_EQ(control<QLineEdit>(falsecolor_ids::top)->text(), "500");
    EXPECT_FLOAT_EQ(app.falsecolor_bottom(), 50.0f);
    EXPECT_FLOAT_EQ(app.falsecolor_top(), 500.0f);
    EXPECT_EQ(control<QLabel>(falsecolor_ids::first_label)->text().toStdString(),
              format_default(falsecolor_labels(50.0f, 500.0f)[0]));
    // Everything above 500 cd/m² is now at the top of the scale.
    EXPECT_TRUE(same_colour(window.view()->picture().pixel(119, 30), falsecolor_palette()[255]));

    legend->close();
    QApplication::processEvents();
    EXPECT_FALSE(app.falsecolor_open());
    EXPECT_FALSE(app.falsecolor_active());
    EXPECT_EQ(legend_window(), nullptr);
    EXPECT_EQ(window.view()->picture(), normal);
    EXPECT_TRUE(window.action(command::open)->isEnabled());
    EXPECT_TRUE(window.action(command::crop)->isEnabled());
    EXPECT_TRUE(window.action(command::falsecolor)->isEnabled());
}

TEST_F(FalsecolorView, EscapeInTheWindowEndsTheViewToo) {
    open(write_ramp(pictures / "ramp.hdr"));
    window.action(command::falsecolor)->trigger();
    ASSERT_NE(legend_window(), nullptr);
    QTest::keyClick(legend_window(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(app.falsecolor_open());
    EXPECT_TRUE(window.action(command::open)->isEnabled());
}

TEST_F(FalsecolorView, ScreenshotOfARealPictureWithItsLegend) {
    const std::string path = shared_picture("fisheye_photo_786.hdr");
    if (path.empty()) GTEST_SKIP() << "test pictures not present";
    open(path);
    window.action(command::falsecolor)->trigger();
    QApplication::processEvents();
    FalsecolorWindow* legend = legend_window();
    ASSERT_NE(legend, nullptr);
    window.view()->repaint();
    QDir().mkpath("/tmp/shots-export");
    legend->grab().save("/tmp/shots-export/falsecolor_window.png");
    EXPECT_TRUE(save_side_by_side("/tmp/shots-export/falsecolor_view.png"));
    EXPECT_GT(app.falsecolor_top(), 1000.0f);
    legend->close();
}

TEST_F(FalsecolorView, HidesItsOptionsAtFirstAndLetsThemDriveTheView) {
    open(write_ramp(pictures / "ramp.hdr"));
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
    QTest::mouseClick(control<QPushButton>(falsecolor_ids::apply), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(app.falsecolor_scale().palette, FalsecolorPalette::viridis);
    EXPECT_TRUE(same_colour(window.view()->picture().pixel(0, 30), palette_colours(FalsecolorPalette::viridis)[0]));

    // Contour lines in 3 steps over the picture, in lux.
    display->setCurrentIndex(1);
    control<QSpinBox>(falsecolor_ids::steps)->setValue(3);
    control<QComboBox>(falsecolor_ids::units)->setCurrentIndex(1);
    QTest::mouseClick(control<QPushButton>(falsecolor_ids::apply), Qt::LeftButton);
    QApplication::processEvents();
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
    bool lux_caption = false;
    for (QLabel* label : legend_window()->findChildren<QLabel*>()) lux_caption |= label->text() == "Top (lx)";
    EXPECT_TRUE(lux_caption);

    legend_window()->close();
    QApplication::processEvents();
    EXPECT_FALSE(app.falsecolor_open());
}

TEST_F(FalsecolorView, ScreenshotOfContourLinesOverAPhotograph) {
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
    QTest::mouseClick(control<QPushButton>(falsecolor_ids::apply), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(app.falsecolor_scale().display, FalsecolorDisplay::contours);
    window.view()->repaint();
    QDir().mkpath("/tmp/shots-falsecolor");
    EXPECT_TRUE(save_side_by_side("/tmp/shots-falsecolor/contours_over_photograph.png"));
    legend_window()->close();
}

}  // namespace
