#include "assembly/ui/qt_assembly_desktop.h"

#include <QFileDialog>

#include "assembly/ui/assembly_dialog.h"
#include "desktop/ui/control_ids.h"
#include "desktop/ui/message_boxes.h"

namespace {

AssemblyDialog* dialog_of(QWidget& main_window) {
    return main_window.findChild<AssemblyDialog*>(id_name(assembly_ids::dialog));
}

}  // namespace

QWidget* QtAssemblyDesktop::owner() const {
    QWidget* dialog = dialog_of(main_window_);
    return dialog ? dialog : &main_window_;
}

std::vector<std::string> QtAssemblyDesktop::choose_series_pictures() {
    const QStringList chosen = QFileDialog::getOpenFileNames(
        owner(), "Pictures of an Exposure Series", QString(),
        "JPEG and TIFF pictures (*.jpg *.JPG *.jpeg *.JPEG *.tif *.TIF *.tiff *.TIFF);;All files (*)");
    std::vector<std::string> paths;
    for (const QString& path : chosen) paths.push_back(path.toStdString());
    return paths;
}

std::string QtAssemblyDesktop::choose_assembly_output(const std::string& suggested) {
    return QFileDialog::getSaveFileName(owner(), "Save the Assembled Picture", QString::fromStdString(suggested),
                                        "Radiance pictures (*.hdr *.HDR)")
        .toStdString();
}

void QtAssemblyDesktop::assembly_message(const std::string& text, MessageIcon icon) {
    show_message_box(owner(), "Assemble HDR", text, icon);
}

bool QtAssemblyDesktop::assembly_question(const std::string& text) { return ask_yes_no(owner(), "Assemble HDR", text); }

bool QtAssemblyDesktop::assembly_progress(double done) {
    AssemblyDialog* dialog = dialog_of(main_window_);
    return dialog ? dialog->show_progress(done) : true;
}

void QtAssemblyDesktop::show_assembly_dialog(AssemblyForm& form) {
    // The earlier dialog refers to the earlier form, which is about to go.
    delete dialog_of(main_window_);
    auto* dialog = new AssemblyDialog(&main_window_, form);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
