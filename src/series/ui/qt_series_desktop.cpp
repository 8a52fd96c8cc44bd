#include "series/ui/qt_series_desktop.h"

#include <QFileDialog>

#include "desktop/ui/control_ids.h"
#include "desktop/ui/message_boxes.h"
#include "series/ui/series_window.h"

namespace {

SeriesWindow* window_of(QWidget& main_window) {
    return main_window.findChild<SeriesWindow*>(id_name(series_ids::window));
}

// A save dialog whose chosen filter's extension is added to a name typed
// without one, before the dialog asks about replacing the file.
FileDialogAnswer save_dialog(QWidget* owner, const QString& title, const QString& suggested,
                             const QStringList& filters, const QStringList& suffixes) {
    QFileDialog dialog(owner, title, suggested);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixes.front());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(suffixes.value(static_cast<int>(filters.indexOf(filter)), suffixes.front()));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    FileDialogAnswer answer;
    answer.filter_index = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    answer.path = dialog.selectedFiles().front().toStdString();
    return answer;
}

}  // namespace

QWidget* QtSeriesDesktop::owner() const {
    QWidget* window = window_of(main_window_);
    return window ? window : &main_window_;
}

std::string QtSeriesDesktop::choose_series_folder() {
    return QFileDialog::getExistingDirectory(owner(), "Folder of the Series", QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog)
        .toStdString();
}

std::string QtSeriesDesktop::choose_regions_file() {
    return QFileDialog::getOpenFileName(owner(), "Regions of the Series", QString(),
                                        "Regions (*.regions.json *.REGIONS.JSON);;All files (*)")
        .toStdString();
}

std::string QtSeriesDesktop::choose_series_csv(const std::string& suggested) {
    return save_dialog(owner(), "Save the Series", QString::fromStdString(suggested), {"CSV files (*.csv)"}, {"csv"})
        .path;
}

FileDialogAnswer QtSeriesDesktop::choose_series_plot(const std::string& suggested) {
    // The filters' order is PlotFileKind's.
    return save_dialog(owner(), "Save the Plot", QString::fromStdString(suggested),
                       {"PNG pictures (*.png)", "SVG drawings (*.svg)"}, {"png", "svg"});
}

void QtSeriesDesktop::series_message(const std::string& text, MessageIcon icon) {
    show_message_box(owner(), "Series", text, icon);
}

void QtSeriesDesktop::show_series_window(SeriesForm& form) {
    // The earlier window refers to the earlier form, which is about to go.
    delete window_of(main_window_);
    auto* window = new SeriesWindow(&main_window_, form);
    window->show();
    window->raise();
    window->activateWindow();
}
