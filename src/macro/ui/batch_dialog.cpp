#include "macro/ui/batch_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "macro/batch_form.h"

namespace {
QLineEdit* read_only_field(int id, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(id_name(id));
    edit->setReadOnly(true);
    edit->setMinimumWidth(320);
    return edit;
}

QPushButton* button(const char* text, int id, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(id_name(id));
    b->setAutoDefault(false);
    return b;
}
}  // namespace

BatchDialog::BatchDialog(QWidget* parent, BatchForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(batch_ids::dialog));
    setWindowTitle("Batch Processing HDR files");
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    sequence_edit_ = read_only_field(batch_ids::sequence_edit, this);
    folder_edit_ = read_only_field(batch_ids::folder_edit, this);
    auto* browse = button("Browse", batch_ids::browse, this);
    auto* set_path = button("Set Path", batch_ids::set_path, this);
    grid->addWidget(new QLabel("Sequence File", this), 0, 0, 1, 2);
    grid->addWidget(sequence_edit_, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(new QLabel("HDR File Collection", this), 2, 0, 1, 2);
    grid->addWidget(folder_edit_, 3, 0);
    grid->addWidget(set_path, 3, 1);
    // Optional: empty, the batch only replays the sequence.
    regions_edit_ = new QLineEdit(this);
    regions_edit_->setObjectName(id_name(batch_ids::regions_edit));
    regions_edit_->setPlaceholderText("(none)");
    auto* regions = button("Regions...", batch_ids::regions_button, this);
    auto* regions_label = new QLabel("Regions file", this);
    regions_label->setToolTip(
        "Optional: its regions are measured on every picture processed, as NAME_regions.csv beside it");
    grid->addWidget(regions_label, 4, 0, 1, 2);
    grid->addWidget(regions_edit_, 5, 0);
    grid->addWidget(regions, 5, 1);
    layout->addLayout(grid);

    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, [this] {
        form_.on_browse();
        show_form();
    });
    connect(set_path, &QPushButton::clicked, this, [this] {
        form_.on_set_path();
        show_form();
    });
    connect(regions, &QPushButton::clicked, this, [this] {
        form_.on_regions();
        show_form();
    });
    connect(regions_edit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.regions_text = text.toStdString(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (form_.on_ok()) done(1);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });

    show_form();
}

void BatchDialog::show_form() {
    sequence_edit_->setText(QString::fromStdString(form_.sequence_text));
    folder_edit_->setText(QString::fromStdString(form_.folder_text));
    regions_edit_->setText(QString::fromStdString(form_.regions_text));
}
