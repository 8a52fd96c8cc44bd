#include "app/ui/file_dialog.h"

QStringList qt_name_filters(const FileDialogRequest& request) {
    QStringList filters;
    for (const auto& filter : request.filters) {
        QString pattern = QString::fromStdString(filter.pattern);
        pattern.replace(';', ' ');
        const QString label = QString::fromStdString(filter.label);
        const QString shown = "(" + pattern.simplified() + ")";
        // Some labels name their pattern already ("Bitmap Image (*.bmp)"):
        // it is shown once, and Qt reads it from there.
        filters << (label.endsWith(shown) ? label : label + " " + shown);
    }
    return filters;
}

void configure_file_dialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setObjectName("file_dialog");
    dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setNameFilters(qt_name_filters(request));
    if (request.kind == FileDialogRequest::Kind::open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwrite_prompt);
    }
}
