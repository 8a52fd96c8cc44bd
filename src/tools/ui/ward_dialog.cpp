#include "tools/ui/ward_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "desktop/ui/numeric_field.h"
#include "tools/ui/tonemap_widgets.h"
#include "tools/ward_form.h"

WardDialog::WardDialog(QWidget* parent, WardForm& form) : QDialog(parent), form_(form) {
    setObjectName(QString::number(ward_ids::dialog));
    setWindowTitle(ward_title);

    auto* layout = new QVBoxLayout(this);
    const OutputRow output = add_output_row(layout, this, "Save As", "Browse...", ward_ids::output, ward_ids::browse);
    output_ = output.path;

    for (size_t i = 0; i < switches_.size(); ++i) {
        auto* box = with_id(new QCheckBox(ward_switch_texts[i], this), ward_ids::first_switch + static_cast<int>(i));
        switches_[i] = box;
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, i](bool checked) {
            form_.on_switch(i, checked);
            show_form();
        });
    }

    auto* exposure_row = new QHBoxLayout;
    exposure_row->addWidget(new QLabel("Exposure (-e)", this));
    exposure_ = with_id(new QLineEdit(this), ward_ids::exposure);
    bind_numeric_field(exposure_, [this](float) { form_.on_exposure_changed(exposure_->text().toStdString()); });
    exposure_row->addWidget(exposure_);
    exposure_row->addStretch(1);
    layout->addLayout(exposure_row);
    layout->addWidget(operator_link(this, ward_ids::link, "About Ward's histogram adjustment (pcond)", ward_link_url));

    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    connect(output.browse, &QPushButton::clicked, this, [this] {
        form_.on_browse();
        show_form();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        form_.output_text = output_->text().toStdString();
        if (form_.on_ok()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    show_form();
}

void WardDialog::show_form() {
    {
        const QSignalBlocker quiet(output_);
        output_->setText(QString::fromStdString(form_.output_text));
    }
    for (size_t i = 0; i < switches_.size(); ++i) {
        const QSignalBlocker quiet(switches_[i]);
        switches_[i]->setChecked(form_.switch_checked[i]);
    }
    const QSignalBlocker quiet(exposure_);
    if (exposure_->text().toStdString() != form_.exposure_text)
        exposure_->setText(QString::fromStdString(form_.exposure_text));
    exposure_->setEnabled(form_.exposure_enabled);
}
