#include "tools/ui/resize_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "tools/resize_form.h"
#include "tools/ui/dialog_parts.h"

ResizeDialog::ResizeDialog(QWidget* parent, ResizeForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(resize_ids::dialog));
    setWindowTitle("Resize Image");

    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    width_ = whole_number_field(resize_ids::width, this);
    height_ = whole_number_field(resize_ids::height, this);
    fields->addRow("Width:", width_);
    fields->addRow("Height:", height_);
    layout->addLayout(fields);
    keep_aspect_ = new QCheckBox("Maintain aspect ratio", this);
    keep_aspect_->setObjectName(id_name(resize_ids::keep_aspect));
    layout->addWidget(keep_aspect_);
    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    show_form();
    connect(width_, &QLineEdit::textChanged, this, [this](const QString& text) {
        form_.on_width_changed(text.toStdString());
        show_form();
    });
    connect(height_, &QLineEdit::textChanged, this, [this](const QString& text) {
        form_.on_height_changed(text.toStdString());
        show_form();
    });
    connect(keep_aspect_, &QCheckBox::clicked, this, [this](bool checked) { form_.on_keep_aspect_clicked(checked); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(form_.on_ok()); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
}

void ResizeDialog::show_form() {
    show_text(width_, form_.width_text);
    show_text(height_, form_.height_text);
    keep_aspect_->setChecked(form_.keep_aspect);
}
