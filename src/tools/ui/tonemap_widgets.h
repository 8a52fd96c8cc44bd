#pragma once
// Pieces the two tone-mapping dialogs share: the read-only output row with
// its Browse button, and the link to a page about the operator.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "desktop/ui/control_ids.h"

class QBoxLayout;

// A line "caption [read-only path] [Browse]" added to `layout`.
struct OutputRow {
    QLineEdit* path = nullptr;
    QPushButton* browse = nullptr;
};
OutputRow add_output_row(QBoxLayout* layout, QWidget* parent, const QString& caption, const QString& browse_text,
                         int path_id, int browse_id);

// A link that opens `url` in the browser when clicked or when Enter is
// pressed on it.
QLabel* operator_link(QWidget* parent, int id, const QString& text, const char* url);
