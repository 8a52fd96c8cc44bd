// The batch dialog (146) and the batch progress window (147) as a user sees
// and uses them, and the Qt desktop's side of a batch: the Yes/No question,
// and input while a replay runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "app/application.h"
#include "app/commands.h"
#include "app/ui/image_view.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_desktop.h"
#include "macro/batch_form.h"
#include "macro/ui/batch_dialog.h"
#include "macro/ui/batch_progress_dialog.h"
#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "support/ui/app_window.h"

namespace {

// Saves a picture of the widget when CANDELUX_SCREENSHOT names a folder.
void screenshot(QWidget& widget, const char* name) {
    if (const char* folder = std::getenv("CANDELUX_SCREENSHOT")) widget.grab().save(QString(folder) + "/" + name);
}

class BatchDialogTest : public ::testing::Test {
protected:
    template <class Widget = QWidget>
    Widget* control(int id) const {
        return dialog.findChild<Widget*>(QString::number(id));
    }

    ScriptedDesktop desktop;
    std::string sequence_path;
    std::string folder;
    BatchForm form{desktop, sequence_path, folder};
    BatchDialog dialog{nullptr, form};
};

// A click that arrives through the event loop, as a user's does.
void post_click(QWidget* widget) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(at);
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

}  // namespace

TEST_F(BatchDialogTest, HasEveryControlUnderItsIdentifier) {
    EXPECT_EQ(dialog.objectName(), "146");
    EXPECT_EQ(dialog.windowTitle(), "Batch Processing HDR files");
    EXPECT_TRUE(dialog.isModal());
    for (int id : {1188, 1189, 1190, 1191, 1, 2}) EXPECT_NE(control(id), nullptr) << id;
    EXPECT_EQ(control<QPushButton>(1189)->text(), "Browse");
    EXPECT_EQ(control<QPushButton>(1191)->text(), "Set Path");
    EXPECT_TRUE(control<QLineEdit>(1188)->isReadOnly());
    EXPECT_TRUE(control<QLineEdit>(1190)->isReadOnly());
    QStringList labels;
    for (auto* label : dialog.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("Sequence File"));
    EXPECT_TRUE(labels.contains("HDR File Collection"));
}

TEST_F(BatchDialogTest, ShowsTheChoicesAndClosesWithOkOnlyWhenBothAreMade) {
    dialog.show();
    control<QPushButton>(1)->click();
    EXPECT_TRUE(dialog.isVisible()) << "OK without choices keeps the dialog open";
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Invalid File/Path");

    desktop.file_answers.push_back({1, "/m/macro.seq"});
    control<QPushButton>(1189)->click();
    desktop.folder_answers.push_back("/pictures/today");
    control<QPushButton>(1191)->click();
    EXPECT_EQ(control<QLineEdit>(1188)->text(), "/m/macro.seq");
    EXPECT_EQ(control<QLineEdit>(1190)->text(), "/pictures/today");
    screenshot(dialog, "batch_dialog.png");
    control<QPushButton>(1)->click();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(sequence_path, "/m/macro.seq");
    EXPECT_EQ(folder, "/pictures/today");
}

TEST_F(BatchDialogTest, TheRegionsFileIsTypedOrChosenAndStartsEmpty) {
    auto* regions = control<QLineEdit>(batch_ids::regions_edit);
    auto* choose = control<QPushButton>(batch_ids::regions_button);
    ASSERT_TRUE(regions && choose);
    EXPECT_EQ(choose->text(), "Regions...");
    EXPECT_FALSE(regions->isReadOnly());
    EXPECT_TRUE(regions->text().isEmpty());
    dialog.show();
    desktop.file_answers.push_back({1, "/m/macro.seq"});
    control<QPushButton>(1189)->click();
    desktop.folder_answers.push_back("/pictures/today");
    control<QPushButton>(1191)->click();
    desktop.file_answers.push_back({1, "/m/room.regions.json"});
    choose->click();
    EXPECT_EQ(regions->text(), "/m/room.regions.json");
    EXPECT_EQ(form.regions_file(), "/m/room.regions.json");
    screenshot(dialog, "batch-regions.png");
    // Typing replaces the choice; a file that cannot be read keeps the
    // dialog open with why.
    regions->clear();
    QTest::keyClicks(regions, " /m/none.regions.json ");
    EXPECT_EQ(form.regions_file(), "/m/none.regions.json");
    control<QPushButton>(1)->click();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "File Error");
    regions->clear();
    QTest::keyClicks(regions, "x");
    QTest::keyClick(regions, Qt::Key_Backspace);
    control<QPushButton>(1)->click();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(form.regions_file(), "");
}

TEST_F(BatchDialogTest, CancelClosesWithZero) {
    dialog.show();
    control<QPushButton>(2)->click();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(BatchProgressDialogTest, ShowsTheStepAndStopsOnStopOrClose) {
    BatchProgressDialog progress(nullptr, 6);
    EXPECT_EQ(progress.objectName(), "147");
    EXPECT_EQ(progress.windowTitle(), "Batch Process");
    auto* bar = progress.findChild<QProgressBar*>("progress_bar");
    auto* stop = progress.findChild<QPushButton*>("stop");
    ASSERT_TRUE(bar && stop);
    EXPECT_EQ(stop->text(), "Stop");
    EXPECT_EQ(bar->maximum(), 6);
    progress.show();
    progress.set_progress(2, "b.hdr: step 1 of 3 (picture 2 of 2)");
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(progress.findChild<QLabel*>("progress_text")->text(), "b.hdr: step 1 of 3 (picture 2 of 2)");
    screenshot(progress, "batch_progress.png");
    EXPECT_FALSE(progress.stop_requested());
    stop->click();
    EXPECT_TRUE(progress.stop_requested());
    EXPECT_FALSE(stop->isEnabled());

    BatchProgressDialog closed(nullptr, 1);
    closed.show();
    closed.close();
    EXPECT_TRUE(closed.stop_requested());
    EXPECT_TRUE(closed.isVisible()) << "it stays until the replay ends";
}

class QtBatchDesktop : public ::testing::Test, protected AppWindow {
protected:
    QtBatchDesktop() : AppWindow("") {}
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(show()); }
};

TEST_F(QtBatchDesktop, WhileAReplayRunsOnlyTheStopButtonTakesInput) {
    desktop.show_batch_progress(4);
    BatchProgressDialog* progress = desktop.batch_progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->windowModality(), Qt::ApplicationModal);
    desktop.set_batch_progress(1, "a.hdr: step 2 of 2 (picture 1 of 2)");
    EXPECT_EQ(progress->findChild<QProgressBar*>("progress_bar")->value(), 1);

    // Closing the main window now would pull the working files from under the replay.
    write_file(cache / "dtemp.hdr", "working copy");
    QCoreApplication::postEvent(&window, new QCloseEvent);
    post_click(progress->findChild<QPushButton*>("stop"));
    EXPECT_FALSE(desktop.batch_stop_requested());
    desktop.pump_batch_progress();
    EXPECT_TRUE(desktop.batch_stop_requested());
    EXPECT_TRUE(std::filesystem::exists(cache / "dtemp.hdr"));
    desktop.close_batch_progress();
    EXPECT_FALSE(desktop.batch_stop_requested());
}

TEST_F(QtBatchDesktop, AsksYesOrNoWithNoAsTheDefault) {
    auto answer = [](QMessageBox::StandardButton button) {
        QTimer::singleShot(50, [button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Batch Process");
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
            box->button(button)->click();
        });
    };
    answer(QMessageBox::Yes);
    EXPECT_TRUE(desktop.ask_yes_no("Replace them?", "Batch Process", Owner::main_window));
    answer(QMessageBox::No);
    EXPECT_FALSE(desktop.ask_yes_no("Replace them?", "Batch Process", Owner::main_window));
}

TEST_F(QtBatchDesktop, TheMenuOpensTheBatchDialog) {
    QTimer::singleShot(50, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "146");
        dialog->findChild<QPushButton*>("2")->click();
    });
    window.action(command::batch_process)->trigger();
    EXPECT_TRUE(window.action(command::batch_process)->isEnabled());
}
