#include "tools/ui/projection_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "tools/projection_form.h"
#include "tools/ui/dialog_parts.h"

ProjectionDialog::ProjectionDialog(QWidget* parent, ProjectionForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(projection_ids::dialog));
    setWindowTitle("Projections");

    auto* layout = new QVBoxLayout(this);
    fisheye_ = new QRadioButton("Angular Fisheye to Hemispherical", this);
    fisheye_->setObjectName(id_name(projection_ids::fisheye_to_hemispherical));
    layout->addWidget(fisheye_);
    anti_alias_ = new QCheckBox("Anti-alias", this);
    anti_alias_->setObjectName(id_name(projection_ids::anti_alias));
    layout->addWidget(anti_alias_);
    auto* fields = new QFormLayout;
    width_ = whole_number_field(projection_ids::width, this);
    height_ = whole_number_field(projection_ids::height, this);
    fields->addRow("X:", width_);
    fields->addRow("Y:", height_);
    layout->addLayout(fields);
    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);
    show_form();

    connect(fisheye_, &QRadioButton::clicked, this, [this] { form_.on_fisheye_clicked(); });
    connect(anti_alias_, &QCheckBox::clicked, this, [this](bool checked) {
        form_.width_text = width_->text().toStdString();
        form_.height_text = height_->text().toStdString();
        form_.on_anti_alias_clicked(checked);
        show_form();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        form_.width_text = width_->text().toStdString();
        form_.height_text = height_->text().toStdString();
        if (const std::optional<int> result = form_.on_ok()) done(*result);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
}

void ProjectionDialog::show_form() {
    fisheye_->setChecked(form_.fisheye_checked);
    anti_alias_->setChecked(form_.anti_alias_checked);
    show_text(width_, form_.width_text);
    show_text(height_, form_.height_text);
    width_->setEnabled(form_.size_enabled);
    height_->setEnabled(form_.size_enabled);
}
