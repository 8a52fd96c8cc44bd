#pragma once
// The windows of the named regions: the dockable panel (made the first time
// it is shown, so the main window is as it always was until then), Qt's
// file and colour dialogs, message boxes with the caption "Regions", and
// the table window.

#include <QPointer>

#include "regions/regions_desktop.h"

class QDockWidget;
class QMainWindow;
class QWidget;
class RegionListForm;
class RegionPanel;

class QtRegionsDesktop : public RegionsDesktop {
public:
    explicit QtRegionsDesktop(QMainWindow& main_window) : main_window_(main_window) {}

    // The list the panel shows; needed before the panel is first shown.
    void attach(RegionListForm& form) { form_ = &form; }
    // Null until the panel was first shown.
    RegionPanel* panel() const;
    QDockWidget* dock() const;

    void show_region_panel(bool shown) override;
    void regions_changed() override;
    std::string choose_region_file(bool save, const std::string& suggested) override;
    std::string choose_table_file(const std::string& suggested) override;
    std::string choose_region_color(const std::string& current) override;
    void region_message(const std::string& text, MessageIcon icon) override;
    bool region_question(const std::string& text) override;
    void show_region_table(RegionTableForm& form) override;

protected:
    QWidget* owner() const;
    QMainWindow& main_window_;

private:
    RegionListForm* form_ = nullptr;
    QPointer<QDockWidget> dock_;
    QPointer<RegionPanel> panel_;
};
