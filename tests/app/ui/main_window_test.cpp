// The main window as a user first sees it: title, size, the whole menu with
// its initial states, and the five-part status bar.

#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/commands.h"
#include "app/menu_table.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_desktop.h"
#include "support/temp_folder.h"
#include "support/ui/app_window.h"

namespace {

class MainWindowTest : public ::testing::Test, protected AppWindow {
protected:
    MainWindowTest() : AppWindow("") { start(); }
};

TEST_F(MainWindowTest, IsTheCandeluxWindowAt640By480) {
    EXPECT_EQ(window.objectName(), "WICViewerD2D");
    EXPECT_EQ(window.windowTitle(), "candelux");
    EXPECT_EQ(window.size(), QSize(640, 480));
    ASSERT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().pixmap(64, 64).size(), QSize(64, 64));
}

TEST_F(MainWindowTest, HasEveryMenuItemWithItsTextAndInitialState) {
    int items = 0;
    for (const MenuItem& item : main_menu()) {
        if (item.separator()) continue;
        QAction* action = window.action(item.id);
        ASSERT_NE(action, nullptr) << item.id;
        EXPECT_EQ(action->objectName(), QString::number(item.id));
        EXPECT_EQ(action->text().toStdString(), item.text);
        EXPECT_EQ(action->isEnabled(), item.enabled) << item.text;
        EXPECT_EQ(action->isChecked(), item.checked) << item.text;
        ++items;
    }
    EXPECT_EQ(items, 38);
    QStringList top;
    for (QAction* menu : window.menuBar()->actions()) top << menu->text();
    EXPECT_EQ(top, QStringList({"&File", "&Edit", "&View", "&Tools", "&Capture", "&Help"}));
}

TEST_F(MainWindowTest, EnablesOnlyTheStartItemsAndChecksRectangle) {
    QStringList enabled;
    for (const MenuItem& item : main_menu())
        if (!item.separator() && window.action(item.id)->isEnabled()) enabled << QString::number(item.id);
    EXPECT_EQ(enabled, QStringList({"40001", "40060", "40002", "40070", "40011", "40061", "40064", "40054", "40003", "40048", "40047"}));
    EXPECT_TRUE(window.action(command::rectangle_tool)->isChecked());
}

TEST_F(MainWindowTest, RotateSubmenuKeepsTheDegreeSigns) {
    EXPECT_EQ(window.action(command::rotate_90)->text(), QString::fromUtf8("Rotate &90º [Clockwise]"));
    EXPECT_EQ(window.action(command::rotate_180)->text(), QString::fromUtf8("Rotate &180º"));
}

TEST_F(MainWindowTest, HasAFivePartStatusBarWithTheRightEdges) {
    QStatusBar* bar = window.findChild<QStatusBar*>("102");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), "102");
    EXPECT_GE(bar->minimumHeight(), 22);
    window.show();
    for (int width : {640, 900, 400}) {
        window.resize(width, 480);
        QCoreApplication::processEvents();
        int left = 0;
        for (int part = 0; part < 5; ++part) {
            QLabel* label = window.status_label(part);
            ASSERT_NE(label, nullptr);
            // Positions from the bar's left edge, not only the widths.
            const QRect in_bar(label->mapTo(bar, QPoint(0, 0)), label->size());
            ASSERT_EQ(bar->mapTo(&window, QPoint(0, 0)).x(), 0);
            EXPECT_EQ(in_bar.left(), left) << "part " << part << " at width " << width;
            EXPECT_EQ(in_bar.left() + in_bar.width(), status_part::right_edges[part]) << "part " << part;
            EXPECT_TRUE(label->text().isEmpty());
            left = status_part::right_edges[part];
        }
    }
    EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(241, 237, 237));
}

TEST_F(MainWindowTest, CentresTabbedStatusTexts) {
    desktop.set_status_text(status_part::zoom, "\t30%");
    EXPECT_EQ(window.status_label(status_part::zoom)->text(), "30%");
    EXPECT_TRUE(window.status_label(status_part::zoom)->alignment() & Qt::AlignHCenter);
    desktop.set_status_text(status_part::luminance, "     0.0 cd/m\u00b2");
    EXPECT_FALSE(window.status_label(status_part::luminance)->alignment() & Qt::AlignHCenter);
}

TEST_F(MainWindowTest, CheckMarksFollowTheProgramNotTheClick) {
    app.set_image_menu_items(true);
    QAction* rectangle = window.action(command::rectangle_tool);
    rectangle->trigger();  // already the tool: stays checked rather than toggling off
    EXPECT_TRUE(rectangle->isChecked());
    window.action(command::circle_tool)->trigger();
    EXPECT_TRUE(window.action(command::circle_tool)->isChecked());
    EXPECT_FALSE(rectangle->isChecked());
    EXPECT_FALSE(window.action(command::polygon_tool)->isChecked());
    QAction* guidelines = window.action(command::guidelines);
    guidelines->trigger();
    EXPECT_TRUE(guidelines->isChecked());
    guidelines->trigger();
    EXPECT_FALSE(guidelines->isChecked());
}

TEST_F(MainWindowTest, ShowsAndClosesTheProgressWindowCentredOnTheMainWindow) {
    window.show();
    desktop.show_progress();
    ASSERT_TRUE(desktop.progress_shown());
    auto* label = window.findChild<QLabel*>("1003");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Processing...");
    desktop.close_progress();
    EXPECT_FALSE(desktop.progress_shown());
}

TEST_F(MainWindowTest, ClosingRunsTheCleanUpButExitDoesNot) {
    write_file(cache / "dtemp.hdr", "x");
    window.show();
    app.on_command(command::exit);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(std::filesystem::exists(cache / "dtemp.hdr"));

    MainWindow second;
    QtDesktop second_desktop(second);
    Application second_app(second_desktop, PlatformFolders{config.str(), cache.str()}, "");
    second.attach(second_app);
    ASSERT_TRUE(second_app.on_create());
    second.show();
    second.close();
    EXPECT_FALSE(std::filesystem::exists(cache / "dtemp.hdr"));
}

}  // namespace
