// The editing commands in the real main window: a double click inside the
// selection opens the crop dialog, and a fisheye photograph is projected
// through the Projections dialog. Modal dialogs are answered from timers.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/application.h"
#include "app/commands.h"
#include "app/ui/image_view.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_desktop.h"
#include "picture/rgbe_writer.h"
#include "support/temp_folder.h"
#include "tools/crop_form.h"
#include "tools/projection_form.h"
#include "tools/ui/crop_dialog.h"
#include "tools/ui/projection_dialog.h"

namespace {

// Runs `answer` on the modal dialog of type Dialog once it is up.
template <class Dialog>
void answer_dialog(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(50, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            answer_dialog<Dialog>(answer);
            return;
        }
        answer(*dialog);
    });
}

void press_ok(QWidget& dialog) {
    QMetaObject::invokeMethod(dialog.findChild<QPushButton*>("1"), "click", Qt::QueuedConnection);
}

class EditingWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.attach(app);
        ASSERT_TRUE(app.on_create());
        window.resize(1000, 760);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        view = window.view();
    }
    void open(const std::string& path) {
        app.on_open_command(path);
        QApplication::processEvents();
        ASSERT_TRUE(app.image_loaded());
        view->repaint();
    }
    QPoint over(float u, float v) const {
        return {static_cast<int>(u * app.zoom() + app.pan().x), static_cast<int>(v * app.zoom() + app.pan().y)};
    }

    TempFolder config;
    TempFolder cache;
    TempFolder pictures;
    MainWindow window;
    QtDesktop desktop{window};
    Application app{desktop, PlatformFolders{config.str(), cache.str()}, CANDELUX_PROGRAMS_DIR};
    ImageView* view = nullptr;
};

TEST_F(EditingWindow, ADoubleClickInsideTheSelectionOpensTheCropDialog) {
    RgbePictureHeader header;
    header.resolution = standard_resolution(320, 200);
    const std::string path = (pictures / "p.hdr").string();
    ASSERT_TRUE(write_rgbe_picture(path, header, std::vector<RgbePixel>(320 * 200, {128, 128, 128, 128})));
    open(path);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, over(40, 30));
    QTest::mouseMove(view, over(120, 90));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, over(120, 90));
    ASSERT_TRUE(app.tools().selection().has_rectangle());

    bool answered = false;
    answer_dialog<CropDialog>([&](CropDialog& dialog) {
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
    answer_dialog<ProjectionDialog>([](ProjectionDialog& dialog) { press_ok(dialog); });
    window.action(command::projections)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(app.image_loaded());
    EXPECT_EQ(app.luminance_map().width, 544);
    EXPECT_NE(read_file(cache / "dtemp.hdr").find("\nVIEW= -vth "), std::string::npos);
    view->repaint();
    if (shots) window.grab().save(QString(shots) + "/fisheye_after_projection.png");
}

}  // namespace
