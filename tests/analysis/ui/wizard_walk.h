#pragma once
// Walks the analysis wizard in the real windows: the main window with the
// Application behind it, and the wizard sheet it opens. A walk is a list of
// steps run one after the other from the event loop while Tools > Analyze...
// waits for the sheet; a step returns false to be tried again a little later
// (the sheet not shown yet, the user's drawing not handed back yet).

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/ui/app_window.h"
#include "support/ui/modal_answers.h"

class WizardSheetDialog;

using WalkStep = std::function<bool()>;

class WizardWalk : public AppWindow {
public:
    WizardWalk();

    // Runs Tools > Analyze... with the steps; false when the walk stalled
    // (the sheet is then cancelled so the test can end).
    bool run(std::vector<WalkStep> steps);
    // The same through another menu command that opens a wizard sheet
    // (Tools > Calibration...).
    bool run(int menu_command, std::vector<WalkStep> steps);

    WizardSheetDialog* sheet() const;
    QWidget* page(int template_id) const;
    int current_page() const;
    template <class T>
    T* control(int template_id, int id) const {
        QWidget* p = page(template_id);
        return p ? p->findChild<T*>(QString::number(id)) : nullptr;
    }
    QString label_text(int template_id, int id) const;
    void click(QAbstractButton* button) const;
    void press(const char* sheet_button) const;  // "back", "next", "finish", "cancel"
    void type_into(QLineEdit* field, const QString& text) const;

    // Drags a rectangle on the view between two picture positions (as the
    // status bar reads them) and presses ENTER.
    void draw_rectangle(PointF from, PointF to);
    // A circle from its centre out to the radius, then ENTER.
    void draw_circle(PointF centre, float radius);
    // The same as steps of a walk: each waits until the sheet has hidden
    // itself for the drawing.
    WalkStep rectangle_drawn(PointF from, PointF to);
    WalkStep circle_drawn(PointF centre, float radius);

    TempFolder files;

private:
    QPoint window_point(PointF picture) const;
};

// A steps' helper: true when the sheet shows the page.
bool on_page(const WizardWalk& walk, int template_id);
// With CANDELUX_SCREENSHOT set to a folder, saves the widget there as `name`.
void save_screenshot(QWidget* widget, const char* name);
