// The editing dialogs as real widgets, typed into with the keyboard: the
// resize lock, the crop dialog's limits, the exposure field's filter and the
// rest. Messages go to a scripted desktop, so no modal box ever waits.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/scripted_desktop.h"
#include "support/temp_folder.h"
#include "tools/crop_form.h"
#include "tools/exposure_form.h"
#include "tools/header_editing.h"
#include "tools/image_operation_form.h"
#include "tools/projection_form.h"
#include "tools/resize_form.h"
#include "tools/ui/crop_dialog.h"
#include "tools/ui/exposure_dialog.h"
#include "tools/ui/header_dialog.h"
#include "tools/ui/image_operation_dialog.h"
#include "tools/ui/projection_dialog.h"
#include "tools/ui/resize_dialog.h"

namespace {

template <class Widget = QLineEdit>
Widget* control(QWidget& dialog, int id) {
    auto* widget = dialog.findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

// Replaces a field's text by typing, as a user would.
void retype(QLineEdit* field, const char* text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Clicks a check box on its indicator (a wide box takes clicks on its text
// and indicator only).
void click_box(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

void click_ok(QWidget& dialog) { QTest::mouseClick(control<QPushButton>(dialog, 1), Qt::LeftButton); }

// Saves a picture of the dialog when CANDELUX_SHOTS names a folder.
void screenshot(QWidget& dialog, const char* name) {
    if (const char* folder = std::getenv("CANDELUX_SHOTS")) {
        EXPECT_TRUE(dialog.grab().save(QString(folder) + "/" + name + ".png"));
    }
}

TEST(ResizeDialog, TypingInHeightChangesWidthOnceAndNotBack) {
    ResizeLock lock;
    ResizeForm form(lock, 100, 1000);
    form.on_open();
    ResizeDialog dialog(nullptr, form);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Resize Image");
    EXPECT_EQ(control(dialog, resize_ids::width)->text(), "100");
    EXPECT_EQ(control(dialog, resize_ids::height)->text(), "1000");
    EXPECT_TRUE(control<QCheckBox>(dialog, resize_ids::keep_aspect)->isChecked());
    retype(control(dialog, resize_ids::height), "1001");
    EXPECT_EQ(control(dialog, resize_ids::width)->text(), "100");
    EXPECT_EQ(control(dialog, resize_ids::height)->text(), "1001");
}

TEST(ResizeDialog, HalvingTheWidthHalvesTheHeightAndOkGivesTheFactors) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    ResizeDialog dialog(nullptr, form);
    dialog.show();
    retype(control(dialog, resize_ids::width), "500");
    EXPECT_EQ(control(dialog, resize_ids::height)->text(), "250");
    screenshot(dialog, "resize_dialog");
    click_ok(dialog);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(form.factor_x, "2");
    EXPECT_EQ(form.factor_y, "2");
}

TEST(ResizeDialog, WithoutTheLockHeightStaysAndLettersCannotBeTyped) {
    ResizeLock lock;
    ResizeForm form(lock, 1000, 500);
    form.on_open();
    ResizeDialog dialog(nullptr, form);
    dialog.show();
    click_box(control<QCheckBox>(dialog, resize_ids::keep_aspect));
    EXPECT_FALSE(lock.locked);
    retype(control(dialog, resize_ids::width), "3x00");
    EXPECT_EQ(control(dialog, resize_ids::width)->text(), "300");
    EXPECT_EQ(control(dialog, resize_ids::height)->text(), "500");
}

class CropDialogTest : public ::testing::Test {
protected:
    ScriptedDesktop desktop;
    CropRectangle rectangle{10.7f, 20.2f, 110.9f, 80.8f};
    CropForm form{desktop, rectangle, 400, 300};
};

TEST_F(CropDialogTest, ShowsTheRectangleAndRefusesOnePixelTooManyThenAcceptsTheEdge) {
    form.on_open();
    CropDialog dialog(nullptr, form);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Crop");
    EXPECT_EQ(control(dialog, crop_ids::left)->text(), "10");
    EXPECT_EQ(control(dialog, crop_ids::top)->text(), "20");
    EXPECT_EQ(control(dialog, crop_ids::width)->text(), "100");
    EXPECT_EQ(control(dialog, crop_ids::height)->text(), "60");
    screenshot(dialog, "crop_dialog");

    retype(control(dialog, crop_ids::left), "300");
    retype(control(dialog, crop_ids::width), "101");
    click_ok(dialog);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Invalid Rectangle specification");
    EXPECT_EQ(desktop.messages[0].caption, "Crop Error");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(rectangle.x0, 10.7f);

    retype(control(dialog, crop_ids::width), "100");
    retype(control(dialog, crop_ids::top), "240");
    click_ok(dialog);
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(rectangle.x0, 300.0f);
    EXPECT_EQ(rectangle.x1, 400.0f);
    EXPECT_EQ(rectangle.y0, 240.0f);
    EXPECT_EQ(rectangle.y1, 300.0f);
}

TEST_F(CropDialogTest, TakesDigitsOnly) {
    form.on_open();
    CropDialog dialog(nullptr, form);
    dialog.show();
    retype(control(dialog, crop_ids::height), "-1a2.");
    EXPECT_EQ(control(dialog, crop_ids::height)->text(), "12");
}

TEST(ExposureDialog, FiltersTheFieldAndTakesTheNewExposure) {
    ScriptedDesktop desktop;
    ExposureForm form(desktop, 2.0f);
    form.on_open();
    ExposureDialog dialog(nullptr, form);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Set Exposure Value");
    QLineEdit* field = control(dialog, exposure_ids::value);
    EXPECT_EQ(field->text(), "2");
    retype(field, "inf");
    EXPECT_EQ(field->text(), "");
    retype(field, "2.5x");
    EXPECT_EQ(field->text(), "2.5");
    screenshot(dialog, "exposure_dialog");
    click_ok(dialog);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(form.entered, 2.5f);
}

TEST(ExposureDialog, ZeroIsRefusedAndTheDialogStaysOpen) {
    ScriptedDesktop desktop;
    ExposureForm form(desktop, 2.0f);
    form.on_open();
    ExposureDialog dialog(nullptr, form);
    dialog.show();
    retype(control(dialog, exposure_ids::value), "0");
    click_ok(dialog);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, "Input Error");
    EXPECT_TRUE(dialog.isVisible());
}

TEST(HeaderDialog, ShowsTheHeaderAndWritesTheEditBack) {
    TempFolder folder;
    const std::string text_file = (folder / "dtemp.txt").string();
    write_file(text_file, "/c/dtemp.hdr:\n\t#?RADIANCE\n\tEXPOSURE=2\n\t\n");
    ScriptedDesktop desktop;
    HeaderForm form(desktop, text_file);
    form.on_open();
    HeaderDialog dialog(nullptr, form);
    dialog.show();
    auto* text = control<QPlainTextEdit>(dialog, header_ids::text);
    EXPECT_EQ(text->toPlainText(), "#?RADIANCE\nEXPOSURE=2\n\n");
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, "SOFTWARE= typed");
    screenshot(dialog, "header_dialog");
    click_ok(dialog);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(read_file(text_file), "#?RADIANCE\nEXPOSURE=2\nSOFTWARE= typed\n\n");
}

TEST(HeaderDialog, KeepsBytesThatAreNotUtf8OnLinesLeftAlone) {
    TempFolder folder;
    const std::string text_file = (folder / "dtemp.txt").string();
    write_file(text_file, "/c/dtemp.hdr:\n\t#?RADIANCE\n\tOWNER= caf\xe9 \xb5m\n\tEXPOSURE=2\n\t\n");
    ScriptedDesktop desktop;
    HeaderForm form(desktop, text_file);
    form.on_open();
    HeaderDialog dialog(nullptr, form);
    dialog.show();
    auto* text = control<QPlainTextEdit>(dialog, header_ids::text);
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8("#?RADIANCE\nOWNER= caf\uFFFD \uFFFDm\nEXPOSURE=2\n\n"));
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, "SOFTWARE= typed");
    click_ok(dialog);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(read_file(text_file), "#?RADIANCE\nOWNER= caf\xe9 \xb5m\nEXPOSURE=2\nSOFTWARE= typed\n\n");
}

TEST(ImageOperationDialog, ShowsTheKeptPathsAndBrowsesThroughTheDesktop) {
    ScriptedDesktop desktop;
    ImageOperandPaths kept{"/p/a.hdr", ""};
    ImageOperation operation;
    ImageOperationForm form(desktop, kept, operation);
    form.on_open();
    ImageOperationDialog dialog(nullptr, form);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Image Operations");
    EXPECT_EQ(control(dialog, image_operation_ids::image_a)->text(), "/p/a.hdr");
    auto* operators = control<QComboBox>(dialog, image_operation_ids::operator_box);
    EXPECT_EQ(operators->count(), 4);
    EXPECT_EQ(operators->currentText(), "-");
    click_ok(dialog);
    EXPECT_EQ(desktop.messages.size(), 1u);  // B is missing
    desktop.file_answers.push_back({1, "/p/b.hdr"});
    QTest::mouseClick(control<QPushButton>(dialog, image_operation_ids::browse_b), Qt::LeftButton);
    EXPECT_EQ(control(dialog, image_operation_ids::image_b)->text(), "/p/b.hdr");
    operators->setCurrentIndex(3);
    screenshot(dialog, "image_operation_dialog");
    click_ok(dialog);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(operation.op, "/");
    EXPECT_EQ(operation.b, "/p/b.hdr");
}

TEST(ProjectionDialog, AntiAliasEnablesTheSizeFields) {
    ScriptedDesktop desktop;
    ProjectionChoice choice;
    ProjectionForm form(desktop, choice, 544, 544);
    form.on_open();
    ProjectionDialog dialog(nullptr, form);
    dialog.show();
    EXPECT_TRUE(control<QRadioButton>(dialog, projection_ids::fisheye_to_hemispherical)->isChecked());
    QLineEdit* x = control(dialog, projection_ids::width);
    EXPECT_EQ(x->text(), "544");
    EXPECT_FALSE(x->isEnabled());
    click_box(control<QCheckBox>(dialog, projection_ids::anti_alias));
    EXPECT_TRUE(x->isEnabled());
    retype(x, "1000");
    retype(control(dialog, projection_ids::height), "1000");
    screenshot(dialog, "projection_dialog");
    click_ok(dialog);
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_TRUE(choice.anti_alias);
    EXPECT_EQ(choice.width, 1000u);
}

}  // namespace
