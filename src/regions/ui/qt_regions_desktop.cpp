#include "regions/ui/qt_regions_desktop.h"

#include <QColorDialog>
#include <QDockWidget>
#include <QFileDialog>
#include <QMainWindow>

#include "desktop/ui/control_ids.h"
#include "desktop/ui/message_boxes.h"
#include "regions/region_list_form.h"
#include "regions/region_table_form.h"
#include "regions/ui/region_panel.h"
#include "regions/ui/region_table_window.h"

namespace {

RegionTableWindow* table_window_of(QWidget& main_window) {
    return main_window.findChild<RegionTableWindow*>(id_name(region_table_ids::window));
}

}  // namespace

RegionPanel* QtRegionsDesktop::panel() const { return panel_; }
QDockWidget* QtRegionsDesktop::dock() const { return dock_; }

QWidget* QtRegionsDesktop::owner() const {
    QWidget* window = table_window_of(main_window_);
    return window && window->isActiveWindow() ? window : &main_window_;
}

void QtRegionsDesktop::show_region_panel(bool shown) {
    if (!dock_ && shown && form_) {
        dock_ = new QDockWidget("Regions", &main_window_);
        dock_->setObjectName(id_name(region_panel_ids::dock));
        // View > Regions shows and hides it; a close button would leave the
        // menu's check mark behind.
        dock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
        panel_ = new RegionPanel(dock_, *form_);
        dock_->setWidget(panel_);
        main_window_.addDockWidget(Qt::RightDockWidgetArea, dock_);
    }
    if (dock_) dock_->setVisible(shown);
}

void QtRegionsDesktop::regions_changed() {
    if (panel_) panel_->show_state();
}

std::string QtRegionsDesktop::choose_region_file(bool save, const std::string& suggested) {
    const QString filter = "Region files (*.regions.json);;JSON files (*.json);;All files (*)";
    const QString start = QString::fromStdString(suggested);
    return (save ? QFileDialog::getSaveFileName(owner(), "Save Regions", start, filter)
                 : QFileDialog::getOpenFileName(owner(), "Load Regions", start, filter))
        .toStdString();
}

std::string QtRegionsDesktop::choose_table_file(const std::string& suggested) {
    return QFileDialog::getSaveFileName(owner(), save_regions_csv_title, QString::fromStdString(suggested),
                                        "Comma Separated Value (*.csv)", nullptr, QFileDialog::DontConfirmOverwrite)
        .toStdString();
}

std::string QtRegionsDesktop::choose_region_color(const std::string& current) {
    const QColor chosen = QColorDialog::getColor(QColor(QString::fromStdString(current)), owner(), "Region Colour");
    return chosen.isValid() ? chosen.name().toStdString() : std::string();
}

void QtRegionsDesktop::region_message(const std::string& text, MessageIcon icon) {
    show_message_box(owner(), regions_caption, text, icon);
}

bool QtRegionsDesktop::region_question(const std::string& text) { return ask_yes_no(owner(), regions_caption, text); }

void QtRegionsDesktop::show_region_table(RegionTableForm& form) {
    // The earlier window refers to the earlier form, which is about to go.
    delete table_window_of(main_window_);
    auto* window = new RegionTableWindow(&main_window_, form);
    window->show();
    window->raise();
    window->activateWindow();
}
