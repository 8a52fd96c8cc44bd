// The "Assemble HDR" dialog with real widgets: the table of exposures, an
// edit reaching the form, a run with its progress bar, Cancel, and the
// assembled picture opened in the main window.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/commands.h"
#include "assembly/assembly_form.h"
#include "assembly/scripted_assembly_desktop.h"
#include "assembly/simulated_series.h"
#include "assembly/ui/assembly_dialog.h"
#include "support/ui/app_window.h"

namespace {

// The scripted windows, with the progress shown in the real dialog.
struct DialogDesktop : ScriptedAssemblyDesktop {
    AssemblyDialog* dialog = nullptr;
    bool assembly_progress(double done) override {
        ScriptedAssemblyDesktop::assembly_progress(done);
        return dialog->show_progress(done);
    }
};

class AssemblyDialogTest : public ::testing::Test, public AppWindow {
protected:
    void SetUp() override {
        write_hdr_scene(series_folder / "scene.hdr");
        series = photograph_series(series_folder / "scene.hdr", "filmic", series_folder / "series",
                                   two_stop_shutter_codes());
        ASSERT_EQ(series.size(), 7u);
        app.set_assembly_desktop(&assembly);
        ASSERT_NO_FATAL_FAILURE(show({900, 600}));
        app.on_command(command::assemble_hdr);
        ASSERT_NE(assembly.shown, nullptr);
        dialog = new AssemblyDialog(&window, *assembly.shown);
        assembly.dialog = dialog;
        dialog->show();
    }

    template <class Widget = QWidget>
    Widget* control(int id) const {
        return dialog->findChild<Widget*>(QString::number(id));
    }

    void add_series() {
        assembly.picture_answers.push_back(series);
        QTest::mouseClick(control<QPushButton>(assembly_ids::add), Qt::LeftButton);
    }

    void screenshot(QWidget& widget, const char* name) {
        if (const char* folder = std::getenv("CANDELUX_SCREENSHOT")) widget.grab().save(QString(folder) + "/" + name);
    }

    TempFolder series_folder;
    std::vector<std::string> series;
    DialogDesktop assembly;
    AssemblyDialog* dialog = nullptr;
};

TEST_F(AssemblyDialogTest, ShowsTheExposuresAndTakesCorrections) {
    auto* table = control<QTableWidget>(assembly_ids::table);
    EXPECT_FALSE(control<QPushButton>(assembly_ids::assemble)->isEnabled());
    add_series();
    ASSERT_EQ(table->rowCount(), 7);
    EXPECT_EQ(table->item(0, assembly_column::picture)->text().toStdString(), "IMG_0001.JPG");
    EXPECT_EQ(table->item(0, assembly_column::time)->text().toStdString(), "1/1024");
    EXPECT_EQ(table->item(6, assembly_column::time)->text().toStdString(), "4");
    EXPECT_EQ(table->item(6, assembly_column::f_number)->text().toStdString(), "8");
    EXPECT_EQ(table->item(6, assembly_column::iso)->text().toStdString(), "100");
    EXPECT_FALSE(table->item(0, assembly_column::picture)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(control<QPushButton>(assembly_ids::assemble)->isEnabled());
    EXPECT_FALSE(control<QPushButton>(assembly_ids::cancel)->isEnabled());
    table->item(2, assembly_column::time)->setText(" 1/60 ");
    EXPECT_EQ(assembly.shown->rows[2].time, "1/60");
    auto* align = dialog->findChild<QCheckBox*>(QString::number(assembly_ids::align));
    ASSERT_NE(align, nullptr);
    EXPECT_FALSE(assembly.shown->align);
    QTest::mouseClick(align, Qt::LeftButton);
    EXPECT_TRUE(assembly.shown->align);
    table->setCurrentCell(2, 0);
    QTest::mouseClick(control<QPushButton>(assembly_ids::remove), Qt::LeftButton);
    EXPECT_EQ(table->rowCount(), 6);
    EXPECT_EQ(control<QLabel>(assembly_ids::status)->text().toStdString(), "6 pictures");
}

TEST_F(AssemblyDialogTest, ARunFillsTheBarAndOpensThePicture) {
    add_series();
    assembly.output_answers.push_back((series_folder / "room.hdr").string());
    screenshot(*dialog, "assembly_dialog_before.png");
    QTest::mouseClick(control<QPushButton>(assembly_ids::assemble), Qt::LeftButton);
    EXPECT_EQ(control<QProgressBar>(assembly_ids::progress)->value(), 100);
    const std::string status = control<QLabel>(assembly_ids::status)->text().toStdString();
    EXPECT_EQ(status.rfind("room.hdr: 360 x 240, response residual", 0), 0u) << status;
    EXPECT_TRUE(app.image_loaded());
    EXPECT_EQ(window.windowTitle().toStdString(), "candelux - " + (series_folder / "room.hdr").string());
    screenshot(*dialog, "assembly_dialog_done.png");
    dialog->hide();
    screenshot(window, "assembled_picture.png");
}

TEST_F(AssemblyDialogTest, OffersTheProfilesOfTheProfilesFolder) {
    auto* none = control<QComboBox>(assembly_ids::profile);
    ASSERT_NE(none, nullptr);
    ASSERT_EQ(none->count(), 1);
    EXPECT_EQ(none->itemText(0), "No profile");
    CameraProfile profile;
    profile.name = "Lab fisheye";
    std::filesystem::create_directories(config / "candelux" / "profiles");
    ASSERT_TRUE(write_camera_profile((config / "candelux" / "profiles" / "lab.cdxprofile").string(), profile));
    // The dialog belongs to the form the command is about to replace.
    delete dialog;
    app.on_command(command::assemble_hdr);
    dialog = new AssemblyDialog(&window, *assembly.shown);
    assembly.dialog = dialog;
    dialog->show();
    auto* choice = control<QComboBox>(assembly_ids::profile);
    ASSERT_EQ(choice->count(), 2);
    EXPECT_EQ(choice->itemText(1), "Lab fisheye");
    EXPECT_EQ(assembly.shown->profile, 0);
    choice->setCurrentIndex(1);
    EXPECT_EQ(assembly.shown->profile, 1);
    screenshot(*dialog, "assembly_dialog_profile.png");
}

TEST_F(AssemblyDialogTest, CancelStopsTheRunAndWritesNothing) {
    add_series();
    assembly.output_answers.push_back((series_folder / "room.hdr").string());
    // Cancel is pressed while the run shows its progress.
    QTimer::singleShot(0, dialog, [this] {
        auto* cancel = control<QPushButton>(assembly_ids::cancel);
        EXPECT_TRUE(cancel->isEnabled());
        EXPECT_FALSE(control<QPushButton>(assembly_ids::assemble)->isEnabled());
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    QTest::mouseClick(control<QPushButton>(assembly_ids::assemble), Qt::LeftButton);
    EXPECT_EQ(control<QLabel>(assembly_ids::status)->text().toStdString(), "Cancelled: nothing written");
    EXPECT_FALSE(std::filesystem::exists(series_folder / "room.hdr"));
    EXPECT_FALSE(app.image_loaded());
    EXPECT_TRUE(control<QPushButton>(assembly_ids::assemble)->isEnabled());
}

}  // namespace

namespace {

// The Ev check's field and tolerance, and "Save Response into Profile" once a
// run has recovered a curve.
TEST_F(AssemblyDialogTest, TheEvCheckAndTheResponseCurveGoThroughTheDialog) {
    CameraProfile profile;
    profile.name = "Lab fisheye";
    profile.projection = LensProjection{};
    const auto path = config / "candelux" / "profiles" / "lab.cdxprofile";
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(write_camera_profile(path.string(), profile));
    delete dialog;
    app.on_command(command::assemble_hdr);
    dialog = new AssemblyDialog(&window, *assembly.shown);
    assembly.dialog = dialog;
    dialog->show();
    add_series();

    auto* save = control<QPushButton>(assembly_ids::save_response);
    auto* meter = control<QLineEdit>(assembly_ids::measured_illuminance);
    auto* tolerance = control<QDoubleSpinBox>(assembly_ids::ev_tolerance);
    ASSERT_TRUE(save && meter && tolerance);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(tolerance->value(), 10);
    control<QComboBox>(assembly_ids::profile)->setCurrentIndex(1);
    QTest::keyClicks(meter, "1e9");
    EXPECT_EQ(assembly.shown->measured_illuminance, "1e9");
    tolerance->setValue(25);
    EXPECT_EQ(assembly.shown->ev_tolerance, 25);
    assembly.output_answers.push_back((series_folder / "room.hdr").string());
    QTest::mouseClick(control<QPushButton>(assembly_ids::assemble), Qt::LeftButton);
    const std::string status = control<QLabel>(assembly_ids::status)->text().toStdString();
    EXPECT_NE(status.find("\nEv check: the picture gives "), std::string::npos) << status;
    EXPECT_NE(status.find("more than 25 % apart"), std::string::npos) << status;
    ASSERT_FALSE(assembly.messages.empty());
    EXPECT_EQ(assembly.messages.back().second, MessageIcon::warning);
    screenshot(*dialog, "assembly_dialog_ev_check.png");

    EXPECT_TRUE(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_NE(control<QLabel>(assembly_ids::status)->text().toStdString().find(
                  "Response curve saved into the profile Lab fisheye"),
              std::string::npos);
    auto stored = read_camera_profile(path.string());
    ASSERT_TRUE(stored) << stored.failure().message;
    EXPECT_TRUE(stored.value().response);
}

}  // namespace
