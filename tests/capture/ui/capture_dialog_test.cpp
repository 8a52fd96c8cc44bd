#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/ui/main_window.h"
#include "app/ui/qt_desktop.h"
#include "capture/capture_fakes.h"
#include "capture/capture_form.h"
#include "profiles/camera_profile.h"
#include "capture/ui/capture_dialog.h"
#include "settings/settings_file.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"

namespace {

class CaptureDialogTest : public ::testing::Test {
protected:
    TempFolder appdata;
    ScriptedDesktop desktop;
    RecordingCamera camera;
    ManualClock steady;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
    SettingsFile settings{PlatformFolders{appdata.str(), appdata.str()}};
    CaptureForm form{desktop, camera, settings, steady.pacing(), [this] { return now; }};
    QPointer<CaptureDialog> dialog;

    void SetUp() override {
        form.on_open();
        dialog = new CaptureDialog(nullptr, form);
    }
    // The dialog schedules its own deletion when closed; no event loop runs
    // here to carry it out.
    void TearDown() override { delete dialog.data(); }

    template <class Widget = QWidget>
    Widget* control(int id) const {
        return dialog->findChild<Widget*>(QString::number(id));
    }

    void choose_folder() {
        desktop.folder_answers.push_back(appdata.str());
        control<QPushButton>(capture_ids::set_folder)->click();
    }

    void choose_two_apertures() {
        control<QRadioButton>(capture_ids::manual)->click();
        auto* mode = control<QComboBox>(capture_ids::aperture_mode);
        mode->setCurrentIndex(1);
        Q_EMIT mode->activated(1);
    }

    void tick_shutter(int list_id, const QString& label) {
        auto* list = control<QListWidget>(list_id);
        const auto found = list->findItems(label, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << label.toStdString();
        found.front()->setCheckState(Qt::Checked);
    }
};

}  // namespace

TEST_F(CaptureDialogTest, HasEveryControlUnderItsIdentifier) {
    EXPECT_EQ(dialog->objectName(), "141");
    EXPECT_EQ(dialog->windowTitle(), "Capture Settings");
    EXPECT_FALSE(dialog->isModal());
    for (int id : {1175, 1176, 1173, 1174, 1181, 1177, 1178, 1179, 1180, 1184, 1185, 1196, 1186, 1187, 1183, 1, 2})
        EXPECT_NE(control(id), nullptr) << id;
    EXPECT_EQ(control<QPushButton>(1176)->text(), "Set Folder");
    EXPECT_EQ(control<QRadioButton>(1173)->text(), "Automatic");
    EXPECT_EQ(control<QRadioButton>(1174)->text(), "Manual");
    EXPECT_EQ(control<QRadioButton>(1184)->text(), "Once");
    EXPECT_EQ(control<QRadioButton>(1185)->text(), "Timed");
    EXPECT_EQ(control<QLabel>(1187)->text(), "Next sequence in ");
    auto* mode = control<QComboBox>(1181);
    ASSERT_EQ(mode->count(), 2);
    EXPECT_EQ(mode->itemText(0), "Single Aperture");
    EXPECT_EQ(mode->itemText(1), "Two Apertures");
    QStringList groups;
    for (auto* group : dialog->findChildren<QGroupBox*>()) groups << group->title();
    EXPECT_EQ(groups, (QStringList{"Save Images in", "Capture Mode", "Manual Mode Settings", "Timed Capture"}));
    auto* timer = dialog->findChild<QTimer*>("20564");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(CaptureDialogTest, OpensInAutomaticOnceAskingForAFolder) {
    EXPECT_EQ(control<QLineEdit>(1175)->text(), "<Please set a valid path>");
    EXPECT_TRUE(control<QLineEdit>(1175)->isReadOnly());
    EXPECT_TRUE(control<QRadioButton>(1173)->isChecked());
    EXPECT_TRUE(control<QRadioButton>(1184)->isChecked());
    EXPECT_FALSE(control(1181)->isEnabled());
    EXPECT_FALSE(control(1177)->isEnabled());
    EXPECT_FALSE(control(1186)->isEnabled());
    EXPECT_TRUE(control(1178)->isHidden());
    EXPECT_TRUE(control(1180)->isHidden());
    EXPECT_TRUE(control(1187)->isHidden());
    EXPECT_EQ(control<QListWidget>(1179)->item(0)->text(), "2\"");
    EXPECT_EQ(control<QComboBox>(1177)->currentText(), "F5.6");
}

TEST_F(CaptureDialogTest, ManualTwoApertureModeShowsBothListsEnabled) {
    dialog->show();
    choose_folder();
    choose_two_apertures();
    control<QComboBox>(capture_ids::aperture2)->setCurrentIndex(control<QComboBox>(1178)->findText("F11"));
    tick_shutter(capture_ids::shutters1, "1/30");
    tick_shutter(capture_ids::shutters1, "1/125");
    tick_shutter(capture_ids::shutters2, "1/60");
    for (int id : {1181, 1177, 1178, 1179, 1180}) {
        EXPECT_TRUE(control(id)->isVisible()) << id;
        EXPECT_TRUE(control(id)->isEnabled()) << id;
    }
    EXPECT_EQ(control<QLineEdit>(1175)->text(), QString::fromStdString(appdata.str()));

    for (int id : {capture_ids::shutters1, capture_ids::shutters2}) {
        auto* list = control<QListWidget>(id);
        list->scrollToItem(list->findItems("1/30", Qt::MatchExactly).front(), QAbstractItemView::PositionAtTop);
    }
    // CANDELUX_SCREENSHOT names a folder, as for the other windows' tests.
    if (const char* folder = std::getenv("CANDELUX_SCREENSHOT")) {
        EXPECT_TRUE(dialog->grab().save(QString(folder) + "/capture_dialog_two_apertures.png"));
    }
}

TEST_F(CaptureDialogTest, OkStartsTheCountdownAndItsTickRunsTheCapture) {
    choose_folder();
    choose_two_apertures();
    tick_shutter(capture_ids::shutters1, "1/125");
    tick_shutter(capture_ids::shutters2, "1/250");
    control<QDateTimeEdit>(capture_ids::start_time)->setDateTime(QDateTime::currentDateTime().addSecs(-60));
    control<QPushButton>(capture_ids::ok)->click();
    QTimer* timer = dialog->countdown_timer();
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(camera.calls.empty());

    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    EXPECT_EQ(camera.calls, (std::vector<std::string>{"aperture 0x30", "shutter 0x70", "picture", "aperture 0x30",
                                                      "shutter 0x78", "picture"}));
}

TEST_F(CaptureDialogTest, TimedWithAnIntervalShowsTheCountdown) {
    choose_folder();
    control<QRadioButton>(capture_ids::timed)->click();
    EXPECT_TRUE(control(capture_ids::interval)->isEnabled());
    QTest::keyClicks(control<QLineEdit>(capture_ids::interval), "2x");
    EXPECT_EQ(control<QLineEdit>(capture_ids::interval)->text(), "2");
    control<QDateTimeEdit>(capture_ids::start_time)->setDateTime(QDateTime::currentDateTime().addSecs(-60));
    control<QPushButton>(capture_ids::ok)->click();
    EXPECT_FALSE(control(capture_ids::countdown)->isHidden());
    EXPECT_EQ(control<QLabel>(capture_ids::countdown)->text(), "00:01");
}

TEST_F(CaptureDialogTest, CancelEndsTheSessionAndClosesTheDialog) {
    dialog->show();
    choose_folder();
    control<QPushButton>(capture_ids::ok)->click();
    control<QPushButton>(capture_ids::cancel)->click();
    EXPECT_EQ(camera.disconnects, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->countdown_timer()->isActive());
}

TEST_F(CaptureDialogTest, EscapeIsCancel) {
    dialog->show();
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_EQ(camera.disconnects, 1);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(CaptureDialogTest, TheCloseButtonLeavesTheSessionOpen) {
    dialog->show();
    choose_folder();
    control<QPushButton>(capture_ids::ok)->click();
    dialog->close();
    EXPECT_EQ(camera.disconnects, 0);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->countdown_timer()->isActive());
    EXPECT_FALSE(form.timer_running());
}

TEST(QtDesktopCaptureDialog, ShowsTheDialogOverTheMainWindowAndReplacesAnEarlierOne) {
    TempFolder appdata;
    ScriptedDesktop scripted;
    RecordingCamera camera;
    ManualClock steady;
    SettingsFile settings{PlatformFolders{appdata.str(), appdata.str()}};
    auto clock = [] { return std::chrono::system_clock::now(); };
    CaptureForm first{scripted, camera, settings, steady.pacing(), clock};
    CaptureForm second{scripted, camera, settings, steady.pacing(), clock};
    first.on_open();
    second.on_open();

    MainWindow window;
    QtDesktop desktop(window);
    desktop.show_capture_dialog(first);
    auto dialogs = window.findChildren<CaptureDialog*>();
    ASSERT_EQ(dialogs.size(), 1);
    QPointer<CaptureDialog> earlier = dialogs.front();
    EXPECT_TRUE(earlier->isVisible());
    EXPECT_FALSE(earlier->isModal());

    desktop.show_capture_dialog(second);
    EXPECT_TRUE(earlier.isNull());
    dialogs = window.findChildren<CaptureDialog*>();
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs.front()->isVisible());
}

// "Assemble each series" chooses its camera profile beside it; the choice is
// the form's and outlives the dialog.
TEST(CaptureDialogProfile, TheProfileListFollowsAssembleEachSeriesAndIsRemembered) {
    TempFolder appdata;
    const std::filesystem::path folder = appdata / "candelux" / "profiles";
    std::filesystem::create_directories(folder);
    CameraProfile lab;
    lab.name = "Lab fisheye";
    ASSERT_TRUE(write_camera_profile((folder / "lab.cdxprofile").string(), lab));
    ScriptedDesktop desktop;
    RecordingCamera camera;
    ManualClock steady;
    SettingsFile settings{PlatformFolders{appdata.str(), appdata.str()}};
    const auto now = std::chrono::system_clock::now();
    CaptureForm form{desktop, camera, settings, steady.pacing(), [now] { return now; }};
    form.on_open();
    auto dialog = std::make_unique<CaptureDialog>(nullptr, form);
    auto* assemble = dialog->findChild<QCheckBox*>(QString::number(capture_ids::assemble_each));
    auto* profiles = dialog->findChild<QComboBox*>(QString::number(capture_ids::assembly_profile));
    ASSERT_TRUE(assemble && profiles);
    ASSERT_EQ(profiles->count(), 2);
    EXPECT_EQ(profiles->itemText(0), "No profile");
    EXPECT_EQ(profiles->itemText(1), "Lab fisheye");
    EXPECT_FALSE(profiles->isEnabled());
    assemble->click();
    EXPECT_TRUE(profiles->isEnabled());
    profiles->setCurrentIndex(1);
    Q_EMIT profiles->activated(1);
    EXPECT_EQ(form.assembly_profile, 1);
    EXPECT_TRUE(form.assemble_each_series);
    if (const char* shots = std::getenv("CANDELUX_SCREENSHOT")) dialog->grab().save(QString(shots) + "/capture_profile.png");

    CaptureForm later{desktop, camera, settings, steady.pacing(), [now] { return now; }};
    later.on_open();
    CaptureDialog again(nullptr, later);
    EXPECT_EQ(again.findChild<QComboBox*>(QString::number(capture_ids::assembly_profile))->currentIndex(), 1);
}
