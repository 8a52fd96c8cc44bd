#include "wizard_walk.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "analysis/ui/wizard_sheet_dialog.h"
#include "app/commands.h"
#include "app/ui/image_view.h"

namespace {
constexpr int step_interval_ms = 10;
constexpr int stall_limit_ms = 30000;
}  // namespace

WizardWalk::WizardWalk() { show({1000, 720}); }

WizardSheetDialog* WizardWalk::sheet() const {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "analysis_wizard" || widget->objectName() == "calibration_wizard")
            return static_cast<WizardSheetDialog*>(widget);
    return nullptr;
}

QWidget* WizardWalk::page(int template_id) const {
    WizardSheetDialog* s = sheet();
    return s ? s->page(template_id) : nullptr;
}

int WizardWalk::current_page() const {
    WizardSheetDialog* s = sheet();
    if (!s || !s->isVisible()) return 0;
    for (int id = 100; id <= 150; ++id)
        if (QWidget* p = s->page(id); p && p->isVisible()) return id;
    return 0;
}

QString WizardWalk::label_text(int template_id, int id) const {
    QLabel* label = control<QLabel>(template_id, id);
    return label ? label->text() : QString("<no label %1>").arg(id);
}

void WizardWalk::click(QAbstractButton* button) const {
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
    button->click();
}

void WizardWalk::press(const char* sheet_button) const {
    click(sheet()->findChild<QPushButton*>(sheet_button));
}

void WizardWalk::type_into(QLineEdit* field, const QString& text) const {
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

QPoint WizardWalk::window_point(PointF picture) const {
    // The inverse of the view's mapping from window to picture positions.
    const float zoom = app.zoom();
    const PointF pan = app.pan();
    return {static_cast<int>(std::lround((picture.x - 0.5f) * zoom + pan.x - 0.5f)),
            static_cast<int>(std::lround((picture.y - 0.5f) * zoom + pan.y - 0.5f))};
}

void WizardWalk::draw_rectangle(PointF from, PointF to) {
    ImageView* view = window.view();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, window_point(from));
    QTest::mouseMove(view, window_point({(from.x + to.x) / 2, (from.y + to.y) / 2}));
    QTest::mouseMove(view, window_point(to));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, window_point(to));
    QTest::keyClick(view, Qt::Key_Return);
}

void WizardWalk::draw_circle(PointF centre, float radius) {
    ImageView* view = window.view();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, window_point(centre));
    QTest::mouseMove(view, window_point({centre.x + radius / 2, centre.y}));
    QTest::mouseMove(view, window_point({centre.x + radius, centre.y}));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, window_point({centre.x + radius, centre.y}));
    QTest::keyClick(view, Qt::Key_Return);
}

WalkStep WizardWalk::rectangle_drawn(PointF from, PointF to) {
    return [this, from, to] {
        if (sheet()->isVisible()) return false;
        draw_rectangle(from, to);
        return true;
    };
}

WalkStep WizardWalk::circle_drawn(PointF centre, float radius) {
    return [this, centre, radius] {
        if (sheet()->isVisible()) return false;
        draw_circle(centre, radius);
        return true;
    };
}

bool WizardWalk::run(std::vector<WalkStep> steps) { return run(command::analyze, std::move(steps)); }

bool WizardWalk::run(int menu_command, std::vector<WalkStep> steps) {
    size_t next = 0;
    bool running = false;
    int idle_ms = 0;
    bool stalled = false;
    QTimer timer;
    timer.setInterval(step_interval_ms);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        // A step that opens a dialog runs the dialog's own loop; the timer
        // must not start the next step inside it.
        if (running || next >= steps.size()) return;
        running = true;
        if (steps[next]()) {
            ++next;
            idle_ms = 0;
        } else if ((idle_ms += step_interval_ms) > stall_limit_ms) {
            stalled = true;
            ADD_FAILURE() << "the walk stalled at step " << next;
            next = steps.size();
            // A hidden sheet waits for ENTER before Cancel works again.
            QTest::keyClick(window.view(), Qt::Key_Return);
            if (WizardSheetDialog* s = sheet()) QMetaObject::invokeMethod(s, "reject", Qt::QueuedConnection);
        }
        running = false;
    });
    timer.start();
    window.action(menu_command)->trigger();
    timer.stop();
    EXPECT_EQ(next, steps.size()) << "the wizard closed before the walk ended";
    return !stalled && next == steps.size();
}

bool on_page(const WizardWalk& walk, int template_id) { return walk.current_page() == template_id; }

void save_screenshot(QWidget* widget, const char* name) {
    if (const char* folder = std::getenv("CANDELUX_SCREENSHOT")) {
        std::filesystem::create_directories(folder);
        widget->grab().save(QString(folder) + "/" + name);
    }
}
