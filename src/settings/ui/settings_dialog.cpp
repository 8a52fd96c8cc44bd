#include "settings/ui/settings_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "settings/settings_form.h"

namespace {
QRadioButton* radio(const char* text, int id, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(id_name(id));
    return button;
}
}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent, SettingsForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(settings_ids::dialog));
    setWindowTitle("Settings");

    auto* layout = new QVBoxLayout(this);
    auto* cache_group = new QGroupBox("Cache Directory", this);
    auto* cache_row = new QHBoxLayout(cache_group);
    cache_edit_ = new QLineEdit(cache_group);
    cache_edit_->setObjectName(id_name(settings_ids::cache_edit));
    cache_edit_->setReadOnly(true);
    cache_edit_->setMinimumWidth(280);
    auto* browse = new QPushButton("Browse", cache_group);
    browse->setObjectName(id_name(settings_ids::browse));
    cache_row->addWidget(cache_edit_);
    cache_row->addWidget(browse);
    layout->addWidget(cache_group);

    auto* tone_group = new QGroupBox("Tonemapping for JPG Save", this);
    auto* tone_row = new QHBoxLayout(tone_group);
    reinhard_ = radio("Reinhard", settings_ids::reinhard, tone_group);
    ward_ = radio("Ward", settings_ids::ward, tone_group);
    tone_row->addWidget(reinhard_);
    tone_row->addWidget(ward_);
    layout->addWidget(tone_group);

    auto* display_group = new QGroupBox("Image Display", this);
    auto* display_row = new QHBoxLayout(display_group);
    uncompressed_ = radio("Uncompressed (slower)", settings_ids::uncompressed, display_group);
    compressed_ = radio("Compressed (Faster)", settings_ids::compressed, display_group);
    display_row->addWidget(uncompressed_);
    display_row->addWidget(compressed_);
    layout->addWidget(display_group);

    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, [this] {
        read_choices();
        form_.on_browse();
        show_form();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        read_choices();
        done(form_.on_ok());
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });

    show_form();
}

void SettingsDialog::show_form() {
    cache_edit_->setText(QString::fromStdString(form_.cache_text));
    // Radio buttons in one group box are exclusive; "neither" needs the
    // exclusivity lifted for a moment.
    for (auto [button, checked] : {std::pair{reinhard_, form_.reinhard_checked}, std::pair{ward_, form_.ward_checked},
                                   std::pair{uncompressed_, form_.uncompressed_checked},
                                   std::pair{compressed_, form_.compressed_checked}}) {
        button->setAutoExclusive(false);
        button->setChecked(checked);
        button->setAutoExclusive(true);
    }
}

void SettingsDialog::read_choices() {
    form_.cache_text = cache_edit_->text().toStdString();
    form_.reinhard_checked = reinhard_->isChecked();
    form_.ward_checked = ward_->isChecked();
    form_.uncompressed_checked = uncompressed_->isChecked();
    form_.compressed_checked = compressed_->isChecked();
}
