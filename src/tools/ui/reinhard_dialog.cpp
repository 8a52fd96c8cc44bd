#include "tools/ui/reinhard_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "desktop/ui/numeric_field.h"
#include "tools/reinhard_form.h"
#include "tools/ui/tonemap_widgets.h"

ReinhardDialog::ReinhardDialog(QWidget* parent, ReinhardForm& form) : QDialog(parent), form_(form) {
    setObjectName(QString::number(reinhard_ids::dialog));
    setWindowTitle(reinhard_title);

    auto* layout = new QVBoxLayout(this);
    const OutputRow output = add_output_row(layout, this, "Save as", "Browse", reinhard_ids::output,
                                            reinhard_ids::browse);
    output_ = output.path;

    auto* numbers = new QFormLayout;
    key_ = number_field(reinhard_ids::key);
    white_ = number_field(reinhard_ids::white);
    gamma_ = number_field(reinhard_ids::gamma);
    threshold_ = number_field(reinhard_ids::threshold);
    numbers->addRow("Key Value", key_);
    numbers->addRow("White Point Value", white_);
    numbers->addRow("Gamma Correction", gamma_);
    numbers->addRow("Threshold", threshold_);
    layout->addLayout(numbers);

    dodging_ = with_id(new QCheckBox("Use Dodging and Burning Version (-scale)", this), reinhard_ids::dodging);
    layout->addWidget(dodging_);
    layout->addWidget(operator_link(this, reinhard_ids::link, "About Reinhard's photographic tone reproduction",
                                    reinhard_link_url));

    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    connect(output.browse, &QPushButton::clicked, this, [this] {
        form_.on_browse();
        show_form();
    });
    connect(dodging_, &QCheckBox::toggled, this, [this](bool checked) { form_.dodging_checked = checked; });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        form_.output_text = output_->text().toStdString();
        if (form_.on_ok()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    show_form();
}

QLineEdit* ReinhardDialog::number_field(int id) {
    auto* field = with_id(new QLineEdit(this), id);
    bind_numeric_field(field, [this, field, id](float) { form_.on_number_changed(id, field->text().toStdString()); });
    return field;
}

void ReinhardDialog::show_form() {
    for (auto [field, text] : {std::pair{output_, &form_.output_text}, std::pair{key_, &form_.key_text},
                               std::pair{white_, &form_.white_text}, std::pair{gamma_, &form_.gamma_text},
                               std::pair{threshold_, &form_.threshold_text}}) {
        const QSignalBlocker quiet(field);
        field->setText(QString::fromStdString(*text));
    }
    const QSignalBlocker quiet(dodging_);
    dodging_->setChecked(form_.dodging_checked);
}
