// The editing commands in the real main window: a double click inside the
// selection opens the crop dialog, and a fisheye photograph is projected
// through the Projections dialog. Modal dialogs are answered from timers.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/commands.h"
#include "app/ui/image_view.h"
#include "support/formula_pictures.h"
#include "support/ui/app_window.h"
#include "support/ui/modal_answers.h"
#include "tools/crop_form.h"
#include "tools/projection_form.h"
#include "tools/ui/crop_dialog.h"
#include "tools/ui/projection_dialog.h"

namespace {

void press_ok(QWidget& dialog) {
    QMetaObject::invokeMethod(dialog.findChild<QPushButton*>("1"), "click", Qt::QueuedConnection);
}

class EditingWindow : public ::testing::Test, protected AppWindow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(show({1000, 760}));
        view = window.view();
    }

    TempFolder pictures;
    ImageView* view = nullptr;
};

TEST_F(EditingWindow, ADoubleClickInsideTheSelectionOpensTheCropDialog) {
    const std::string path = (pictures / "p.hdr").string();
    ASSERT_TRUE(write_formula_picture(path, 320, 200, [](int, int) { return RgbePixel{128, 128, 128, 128}; }));
    open(path);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, over(40, 30));
    QTest::mouseMove(view, over(120, 90));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, over(120, 90));
    ASSERT_TRUE(app.tools().selection().has_rectangle());

    bool answered = false;
    answer_modal<CropDialog>([&](CropDialog& dialog) {
        auto* left = dialog.findChild<QLineEdit*>(QString::number(crop_ids::left));
        EXPECT_NEAR(left->text().toInt(), 40, 1);
        left->setText("10");
        dialog.findChild<QLineEdit*>(QString::number(crop_ids::width))->setText("50");
        answered = true;
        press_ok(dialog);
    });
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, over(80, 60));
    EXPECT_TRUE(answered);
    const Region& s = app.tools().selection();
    EXPECT_EQ(s.x0, 10.0f);
    EXPECT_EQ(s.x1, 60.0f);
}

TEST_F(EditingWindow, AFisheyePhotographIsProjectedThroughTheDialog) {
    if (!std::filesystem::exists(std::string(CANDELUX_PROGRAMS_DIR) + "/pinterp"))
        GTEST_SKIP() << "pinterp is not built yet";
    const std::string photo = shared_picture("fisheye_photo_544.hdr");
    if (photo.empty()) GTEST_SKIP() << "no shared test pictures on this machine";
    open(photo);
    const char* shots = std::getenv("CANDELUX_SHOTS");
    if (shots) window.grab().save(QString(shots) + "/fisheye_before_projection.png");
    answer_modal<ProjectionDialog>([](ProjectionDialog& dialog) { press_ok(dialog); });
    window.action(command::projections)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(app.image_loaded());
    EXPECT_EQ(app.luminance_map().width, 544);
    EXPECT_NE(read_file(cache / "dtemp.hdr").find("\nVIEW= -vth "), std::string::npos);
    view->repaint();
    if (shots) window.grab().save(QString(shots) + "/fisheye_after_projection.png");
}

}  // namespace
