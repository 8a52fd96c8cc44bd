#include "analysis/ui/choice_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "desktop/ui/balloon_warning.h"
#include "desktop/ui/control_ids.h"
#include "desktop/ui/numeric_field.h"

namespace {

QLineEdit* number_field(int id, const char* text, QWidget* parent) {
    auto* field = with_id(new QLineEdit(text, parent), id);
    field->setMaximumWidth(80);
    field->setAlignment(Qt::AlignRight);
    return field;
}

}  // namespace

QLabel* page_text(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

AnalysisTypePage::AnalysisTypePage(AnalysisWizard& wizard) : wizard_(wizard) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page_text(
        "The spatial distribution of light is a measure of luminance variability across a plane or surface. An "
        "adequate amount of variation in luminance assures good visual comfort and performance and an "
        "aesthetically pleasing environment.",
        this));
    layout->addWidget(page_text("Statistical analysis can be used as indicators of the quality of lighting design. ",
                                this));
    auto* group = new QGroupBox("Per Pixel Analysis Methods", this);
    auto* inner = new QVBoxLayout(group);
    single_ = with_id(new QRadioButton("Single Region of Interest", group), analysis_ids::single_kind);
    inner->addWidget(single_);
    inner->addWidget(page_text("Provides statistical analysis results from a selected single region or from the "
                               "entire scene. ",
                               group));
    multiple_ = with_id(new QRadioButton("Multiple Regions of Interest", group), analysis_ids::multiple_kind);
    inner->addWidget(multiple_);
    inner->addWidget(page_text("Allows a comparative analysis from two selected regions in the scene.", group));
    // Only while the region panel's list has regions: without them the page
    // is as it always was.
    all_regions_ = with_id(new QRadioButton("All regions in the list", group), analysis_ids::all_regions_kind);
    auto* all_regions_text =
        page_text("Analyses every region of the region list with the same statistics, one row per region in a "
                  "table.",
                  group);
    inner->addWidget(all_regions_);
    inner->addWidget(all_regions_text);
    all_regions_->setVisible(wizard_.all_regions_offered());
    all_regions_text->setVisible(wizard_.all_regions_offered());
    glare_ = with_id(new QRadioButton("Glare Analysis", group), analysis_ids::glare_kind);
    inner->addWidget(glare_);
    inner->addWidget(page_text(
        "Utilizes Evalglare software to calculate Daylight Glare Probability (DGP), Daylight Glare Index (DGI), "
        "Unified Glare Rating (UGR), Visual Comport Probability (VCP), and CIE Glare Index (CGI).",
        group));
    inner->addWidget(page_text("Evalglare is developed by Jan Wienold (www.jan-wienold.com).", group));
    layout->addWidget(group);
    layout->addStretch(1);

    connect(single_, &QRadioButton::clicked, this, [this] { wizard_.on_kind_chosen(AnalysisKind::single_region); });
    connect(multiple_, &QRadioButton::clicked, this,
            [this] { wizard_.on_kind_chosen(AnalysisKind::multiple_regions); });
    connect(glare_, &QRadioButton::clicked, this, [this] { wizard_.on_kind_chosen(AnalysisKind::glare); });
    connect(all_regions_, &QRadioButton::clicked, this, [this] { wizard_.on_all_regions_chosen(); });
}

void AnalysisTypePage::show_state() {
    const AnalysisKind kind = wizard_.chosen_kind();
    const bool all = wizard_.all_regions_chosen();
    single_->setChecked(!all && kind == AnalysisKind::single_region);
    multiple_->setChecked(!all && kind == AnalysisKind::multiple_regions);
    glare_->setChecked(!all && kind == AnalysisKind::glare);
    all_regions_->setChecked(all);
}

StatisticsChoicePage::StatisticsChoicePage(AnalysisWizard& wizard) : wizard_(wizard) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Choose Statistics to Calculate", this);
    auto* inner = new QVBoxLayout(group);
    auto* general = with_id(new QCheckBox("General Statistics", group), analysis_ids::general_statistics);
    general->setChecked(true);
    general->setEnabled(false);
    inner->addWidget(general);
    inner->addWidget(page_text("Provides histogram, mean, median, standard deviation, minimum and maximum "
                               "luminance values in cd/m²",
                               group));
    percentile_ = with_id(new QCheckBox("Percentile of Image Luminance", group), analysis_ids::percentile_box);
    inner->addWidget(percentile_);
    inner->addWidget(page_text("Percentile analysis can be performed as a ratio of mean luminance values between a "
                               "given upper and lower percentiles. ",
                               group));
    criterion_ = with_id(new QCheckBox("Criterion Rating", group), analysis_ids::criterion_box);
    inner->addWidget(criterion_);
    inner->addWidget(page_text("Criterion Rating calculates the percentage of pixels that are above or below a "
                               "specified luminance threshold.",
                               group));
    layout->addWidget(group);
    layout->addStretch(1);
    connect(percentile_, &QCheckBox::toggled, this, [this](bool on) {
        wizard_.percentile_checked = on;
        wizard_.on_statistics_boxes_changed();
    });
    connect(criterion_, &QCheckBox::toggled, this, [this](bool on) {
        wizard_.criterion_checked = on;
        wizard_.on_statistics_boxes_changed();
    });
}

void StatisticsChoicePage::show_state() {
    const QSignalBlocker quiet_percentile(percentile_), quiet_criterion(criterion_);
    percentile_->setChecked(wizard_.percentile_checked);
    criterion_->setChecked(wizard_.criterion_checked);
}

PercentilePage::PercentilePage(AnalysisWizard& wizard) : wizard_(wizard) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Percentile Statistics", this);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(page_text("The ratio of the mean luminance values from upper percentile will be compared to "
                               "the mean luminance values from lower percentile. ",
                               group));
    auto* upper = number_field(analysis_ids::upper_percentile, "10", group);
    auto* lower = number_field(analysis_ids::lower_percentile, "10", group);
    for (auto [caption, field] : {std::pair{"Upper Percentile", upper}, std::pair{"Lower Percentile", lower}}) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(caption, group));
        row->addStretch(1);
        row->addWidget(field);
        row->addWidget(new QLabel("%", group));
        inner->addLayout(row);
    }
    layout->addWidget(group);
    layout->addStretch(1);
    bind_numeric_field(upper, [this](float value) { wizard_.on_upper_percentile(value); }, NumberForm::digits);
    bind_numeric_field(lower, [this](float value) { wizard_.on_lower_percentile(value); }, NumberForm::digits);
}

void PercentilePage::show_state() {
    if (wizard_.balloon_shown() && wizard_.balloon_requests() != balloons_shown_) {
        balloons_shown_ = wizard_.balloon_requests();
        show_balloon_warning(this);
    } else if (!wizard_.balloon_shown() && QToolTip::isVisible() && QToolTip::text() == percentile_warning) {
        QToolTip::hideText();
    }
}

CriterionPage::CriterionPage(AnalysisWizard& wizard) : wizard_(wizard) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Criteria", this);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(page_text("Criterion is a threshold luminance value. The percentage of pixels that satisfy "
                               "the criteria (i.e. equal to, greater than or less than the given threshold value) "
                               "will be calculated.",
                               group));
    auto* row = new QHBoxLayout;
    kind_ = with_id(new QComboBox(group), analysis_ids::criterion_list);
    kind_->addItems({"greater than", "lesser than", "equal to"});
    kind_->setCurrentIndex(static_cast<int>(CriterionKind::lesser_than));
    auto* threshold = number_field(analysis_ids::threshold, "2000", group);
    row->addWidget(kind_);
    row->addWidget(threshold);
    row->addWidget(new QLabel("cd/m²", group));
    row->addStretch(1);
    inner->addLayout(row);
    layout->addWidget(group);
    layout->addStretch(1);
    connect(kind_, &QComboBox::currentIndexChanged, this,
            [this](int index) { wizard_.on_criterion_chosen(static_cast<CriterionKind>(index)); });
    bind_numeric_field(threshold, [this](float value) { wizard_.on_threshold(value); }, NumberForm::decimal);
}

void CriterionPage::show_state() {
    const QSignalBlocker quiet(kind_);
    kind_->setCurrentIndex(static_cast<int>(wizard_.main.criterion_kind));
}

TwoRegionStatisticsPage::TwoRegionStatisticsPage(AnalysisWizard& wizard) : wizard_(wizard) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Choose Statistics to Calculate", this);
    auto* inner = new QVBoxLayout(group);
    auto* general = with_id(new QCheckBox("General Statistics", group), analysis_ids::two_region_general);
    general->setChecked(true);
    general->setEnabled(false);
    inner->addWidget(general);
    inner->addWidget(page_text("General statistics analysis provides histogram, mean, median, standard deviation, "
                               "minimum and maximum luminance values in cd/m²",
                               group));
    contrast_ = with_id(new QCheckBox("Contrast", group), analysis_ids::contrast_box);
    inner->addWidget(contrast_);
    inner->addWidget(page_text("A task is visible when it differs from its background in luminance. Luminance "
                               "contrast of a task is defined as (Fg-Bg)/Fg. Fg is Foreground (Region A) and Bg is "
                               "Background (Region B). ",
                               group));
    layout->addWidget(group);
    layout->addStretch(1);
    connect(contrast_, &QCheckBox::toggled, this, [this](bool on) { wizard_.contrast_checked = on; });
}

void TwoRegionStatisticsPage::show_state() {
    const QSignalBlocker quiet(contrast_);
    contrast_->setChecked(wizard_.contrast_checked);
}
