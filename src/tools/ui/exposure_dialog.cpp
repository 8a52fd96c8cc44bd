#include "tools/ui/exposure_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "desktop/ui/numeric_field.h"
#include "tools/exposure_form.h"
#include "tools/ui/dialog_parts.h"

ExposureDialog::ExposureDialog(QWidget* parent, ExposureForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(exposure_ids::dialog));
    setWindowTitle("Set Exposure Value");

    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    value_ = new QLineEdit(this);
    value_->setObjectName(id_name(exposure_ids::value));
    fields->addRow("Exposure:", value_);
    layout->addLayout(fields);
    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    show_text(value_, form_.text);
    bind_numeric_field(value_);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        form_.text = value_->text().toStdString();
        if (const std::optional<int> result = form_.on_ok()) done(*result);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
}
