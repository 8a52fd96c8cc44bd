#pragma once
// The open and save dialogs of the program, made from a FileDialogRequest.

#include <QFileDialog>
#include <QStringList>

#include "desktop/desktop.h"

// "HDR Images (*.hdr)" for {"HDR Images", "*.hdr;"}, in request order; a
// label that ends with its pattern already is taken as it is.
QStringList qt_name_filters(const FileDialogRequest& request);

// Titles, filters and mode of `dialog` as the request asks. Extensions match
// whatever their case, as users of cameras and old archives expect
// ("IMG_0001.HDR" is a picture like any other).
void configure_file_dialog(QFileDialog& dialog, const FileDialogRequest& request);
