#include "analysis/ui/calibration_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "analysis/calibration_ids.h"
#include "analysis/calibration_wizard.h"
#include "analysis/ui/choice_pages.h"
#include "analysis/ui/overflow_label.h"
#include "desktop/ui/control_ids.h"
#include "desktop/ui/numeric_field.h"

namespace {

QWidget* text_page(std::initializer_list<const char*> texts) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (const char* text : texts) layout->addWidget(page_text(text, page));
    layout->addStretch(1);
    return page;
}

constexpr const char* fine_tune_text =
    "This number is used as a fine-tune calibration value to the entire HDR image.";

}  // namespace

CalibrationOptionsPage::CalibrationOptionsPage(CalibrationWizard& wizard) : wizard_(wizard) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Calibration Options", this);
    auto* inner = new QVBoxLayout(group);
    luminance_ = with_id(new QRadioButton("Luminance Calibration", group), calibration_ids::luminance_kind);
    illuminance_ = with_id(new QRadioButton("Illuminance Calibration", group), calibration_ids::illuminance_kind);
    inner->addWidget(luminance_);
    inner->addWidget(illuminance_);
    layout->addWidget(group);
    overflow_ = make_overflow_label(this, calibration_ids::overflow, [this] { wizard_.on_calibration_link(); });
    layout->addWidget(overflow_);
    layout->addStretch(1);
    connect(luminance_, &QRadioButton::clicked, this, [this] { wizard_.on_kind_chosen(CalibrationKind::luminance); });
    connect(illuminance_, &QRadioButton::clicked, this,
            [this] { wizard_.on_kind_chosen(CalibrationKind::illuminance); });
}

void CalibrationOptionsPage::show_state() {
    const bool luminance = wizard_.record.kind == CalibrationKind::luminance;
    luminance_->setChecked(luminance);
    illuminance_->setChecked(!luminance);
    show_overflow(overflow_, wizard_.overflow());
}

MeasuredValuePage::MeasuredValuePage(CalibrationWizard& wizard, CalibrationKind kind) : wizard_(wizard), kind_(kind) {
    const bool luminance = kind == CalibrationKind::luminance;
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(luminance ? "Measured Luminance Value" : "Measured Iluminance Value", this));
    field_ = with_id(new QLineEdit(this), luminance ? calibration_ids::luminance_field
                                                    : calibration_ids::illuminance_field);
    field_->setMaximumWidth(110);
    field_->setAlignment(Qt::AlignRight);
    row->addWidget(field_);
    row->addWidget(new QLabel(luminance ? "cd/m²" : "lux", this));
    row->addStretch(1);
    layout->addLayout(row);
    layout->addWidget(page_text(fine_tune_text, this));
    auto* profile_row = new QHBoxLayout;
    save_to_profile_ = with_id(new QCheckBox("Save the factor into profile \u2026", this),
                               calibration_ids::save_to_profile);
    profiles_ = with_id(new QComboBox(this), calibration_ids::profile_list);
    profile_row->addWidget(save_to_profile_);
    profile_row->addWidget(profiles_, 1);
    layout->addLayout(profile_row);
    connect(save_to_profile_, &QCheckBox::toggled, this, [this](bool on) {
        wizard_.on_save_to_profile(on);
        profiles_->setEnabled(wizard_.save_to_profile);
    });
    connect(profiles_, &QComboBox::activated, this, [this](int index) { wizard_.on_profile_chosen(index); });
    if (!luminance) {
        computed_ = with_id(page_text("", this), calibration_ids::computed_illuminance);
        layout->addSpacing(8);
        layout->addWidget(computed_);
        // Here the sentence needs no link: this is the calibration it asks for.
        overflow_ = make_overflow_label(this, calibration_ids::overflow, [] {});
        layout->addWidget(overflow_);
    }
    layout->addStretch(1);
    bind_numeric_field(field_, [this](float value) {
        const bool filled = !field_->text().isEmpty();
        if (kind_ == CalibrationKind::luminance) wizard_.on_measured_luminance(filled, value);
        else wizard_.on_measured_illuminance(filled, value);
    });
}

void MeasuredValuePage::show_state() {
    // Both pages offer the choice; each shows the wizard's.
    const QSignalBlocker quiet(profiles_);
    profiles_->clear();
    for (const ProfileEntry& entry : wizard_.profiles()) profiles_->addItem(QString::fromStdString(entry.name));
    profiles_->setCurrentIndex(wizard_.profile_choice);
    save_to_profile_->setEnabled(!wizard_.profiles().empty());
    save_to_profile_->setToolTip(wizard_.profiles().empty() ? "No camera profiles yet: make one in Tools > Camera "
                                                              "Profiles..."
                                                            : QString());
    {
        const QSignalBlocker quiet_box(save_to_profile_);
        save_to_profile_->setChecked(wizard_.save_to_profile);
    }
    profiles_->setEnabled(wizard_.save_to_profile);
    if (computed_) computed_->setText(QString::fromStdString(wizard_.illuminance_text()));
    if (overflow_) {
        const std::string sentence = wizard_.overflow();
        overflow_->setText(QString::fromStdString(sentence).toHtmlEscaped());
        overflow_->setVisible(!sentence.empty());
    }
}

QWidget* make_luminance_intro_page() {
    return text_page({"It is recommended to linearly fine tune HDR images with a single luminance value of a gray "
                      "target that is measured from the camera viewpoint during the image capturing process.",
                      "Luminance calibration is done by calibrating a luminance value (from a selected region of "
                      "interest in the image) with a luminance measurement with a device such as a hand-held "
                      "luminance meter."});
}

QWidget* make_illuminance_intro_page() {
    return text_page({"Illuminance calibration is only possible for full frame fisheye images (180°), and if "
                      "illuminance measurements are taken at the camera position with and hand held illuminance "
                      "meter.",
                      "This projection is transformed into hemispherical fisheye (cosine corrected) projection for "
                      "illuminance calculation .Illuminance is calculated by multiplying the average luminance "
                      "values from the circular part of the hemispherical fisheye by PI.",
                      "The illuminance measurement done at the camera level during the image capturing process of "
                      "the sky dome is used to linearly calibrate the pixel values."});
}
