#include "tools/ui/crop_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "tools/crop_form.h"
#include "tools/ui/dialog_parts.h"

CropDialog::CropDialog(QWidget* parent, CropForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(crop_ids::dialog));
    setWindowTitle("Crop");

    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    left_ = whole_number_field(crop_ids::left, this);
    top_ = whole_number_field(crop_ids::top, this);
    width_ = whole_number_field(crop_ids::width, this);
    height_ = whole_number_field(crop_ids::height, this);
    fields->addRow("Left:", left_);
    fields->addRow("Top:", top_);
    fields->addRow("Width:", width_);
    fields->addRow("Height:", height_);
    layout->addLayout(fields);
    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    show_text(left_, form_.left_text);
    show_text(top_, form_.top_text);
    show_text(width_, form_.width_text);
    show_text(height_, form_.height_text);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        form_.left_text = left_->text().toStdString();
        form_.top_text = top_->text().toStdString();
        form_.width_text = width_->text().toStdString();
        form_.height_text = height_->text().toStdString();
        if (const std::optional<int> result = form_.on_ok()) done(*result);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
}
