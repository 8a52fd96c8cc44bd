#include "analysis/ui/results_page_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QSignalBlocker>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/results_page.h"
#include "analysis/ui/histogram_frame.h"
#include "analysis/ui/overflow_label.h"

ResultsPageWidget::ResultsPageWidget(ResultsPage& page) : page_(page) {
    using namespace results_ids;
    auto* layout = new QVBoxLayout(this);
    histogram_ = new HistogramFrame(this, [this](int w, int h) { return page_.picture(w, h); });
    histogram_->setObjectName(QString::number(histogram_frame));
    layout->addWidget(histogram_, 1);

    auto* axis = new QHBoxLayout;
    axis->addWidget(add_label(axis_minimum, "0"));
    axis->addStretch(1);
    QLabel* peak_label = add_label(peak, "0");
    peak_label->hide();
    axis->addWidget(peak_label);
    QLabel* axis_max = add_label(axis_maximum, "0");
    axis_max->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    axis->addWidget(axis_max);
    layout->addLayout(axis);

    auto* figures = new QGridLayout;
    const char* placeholders[] = {"min", "max", "mean", "median", "sd"};
    for (int row = 0; row < 5; ++row) {
        const FigureCaption& caption = general_captions[row];
        figures->addWidget(add_label(caption.caption_id, caption.text), row, 0);
        figures->addWidget(add_label(caption.value_id, placeholders[row]), row, 1);
    }
    figures->addWidget(add_label(percentile_caption, "Percentile Ratio:"), 0, 2);
    figures->addWidget(add_label(percentile, "pc"), 0, 3);
    figures->addWidget(add_label(contrast_caption, "Contrast:"), 1, 2);
    figures->addWidget(add_label(contrast, "CR"), 1, 3);
    figures->setColumnStretch(1, 1);
    figures->setColumnStretch(3, 1);
    // The second column group: the figures through the lens.
    auto* columns = new QHBoxLayout;
    columns->addLayout(figures, 1);
    lens_group_ = new QGroupBox("Through the lens", this);
    lens_group_->setObjectName(QString::number(lens_group));
    auto* lens_grid = new QGridLayout(lens_group_);
    for (int row = 0; row < lens_rows; ++row) {
        lens_grid->addWidget(add_label(lens_first_caption + 2 * row, ""), row, 0);
        lens_grid->addWidget(add_label(lens_first_caption + 2 * row + 1, ""), row, 1);
    }
    lens_grid->setColumnStretch(1, 1);
    columns->addWidget(lens_group_, 1);
    layout->addLayout(columns);
    overflow_ = make_overflow_label(this, overflow, [this] {
        // The calibration runs once the wizard has closed.
        page_.on_calibration_link();
        QMetaObject::invokeMethod(window(), "reject", Qt::QueuedConnection);
    });
    layout->addWidget(overflow_);

    auto* criterion_row = new QHBoxLayout;
    criterion_row->addWidget(add_label(criterion_caption, "Criteria Result:"));
    criterion_row->addWidget(add_label(criterion, "X Pixels are greater than 2000 Nits"), 1);
    layout->addLayout(criterion_row);

    auto* bottom = new QHBoxLayout;
    // The group box itself is never seen; its buttons are, with two regions.
    views_ = new QGroupBox(this);
    views_->setFlat(true);
    views_->setStyleSheet("QGroupBox { border: 0; margin: 0; padding: 0; }");
    auto* view_row = new QHBoxLayout(views_);
    view_row->setContentsMargins(0, 0, 0, 0);
    view_a_ = new QRadioButton("Region A", views_);
    view_a_->setObjectName(QString::number(view_a));
    view_b_ = new QRadioButton("Region B", views_);
    view_b_->setObjectName(QString::number(view_b));
    view_ratio_ = new QRadioButton("Ratio A:B", views_);
    view_ratio_->setObjectName(QString::number(view_ratio));
    for (QRadioButton* button : {view_a_, view_b_, view_ratio_}) view_row->addWidget(button);
    bottom->addWidget(views_);
    bottom->addWidget(add_label(ratio_mark, ""));
    bottom->addStretch(1);
    weight_box_ = new QCheckBox("Weight by solid angle", this);
    weight_box_->setObjectName(QString::number(weight_box));
    bottom->addWidget(weight_box_);
    save_button_ = new QPushButton("Save...", this);
    save_button_->setObjectName(QString::number(save));
    save_button_->setAutoDefault(false);
    bottom->addWidget(save_button_);
    layout->addLayout(bottom);

    auto view_chosen = [this](ResultView view) {
        page_.on_view(view);
        show_state();
    };
    connect(view_a_, &QRadioButton::clicked, this, [view_chosen] { view_chosen(ResultView::region_a); });
    connect(view_b_, &QRadioButton::clicked, this, [view_chosen] { view_chosen(ResultView::region_b); });
    connect(view_ratio_, &QRadioButton::clicked, this, [view_chosen] { view_chosen(ResultView::ratio_ab); });
    connect(save_button_, &QPushButton::clicked, this, [this] { page_.on_save(); });
    connect(weight_box_, &QCheckBox::toggled, this, [this](bool on) {
        page_.on_weighting(on);
        show_state();
    });

}

QLabel* ResultsPageWidget::add_label(int id, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setObjectName(QString::number(id));
    labels_[id] = label;
    return label;
}

void ResultsPageWidget::show_state() {
    using namespace results_ids;
    const ResultLines lines = page_.lines();
    for (const auto& [id, text] : lines.texts)
        if (auto found = labels_.find(id); found != labels_.end())
            found->second->setText(QString::fromStdString(text));
    labels_[axis_minimum]->setVisible(lines.axis_labels_shown);
    labels_[axis_maximum]->setVisible(lines.axis_labels_shown);
    labels_[peak]->hide();
    labels_[ratio_mark]->setVisible(lines.ratio_mark_shown);

    const std::vector<LensLine> lens = page_.lens_lines();
    for (int row = 0; row < lens_rows; ++row) {
        const bool shown = size_t(row) < lens.size();
        QLabel* caption = labels_[lens_first_caption + 2 * row];
        QLabel* value = labels_[lens_first_caption + 2 * row + 1];
        caption->setText(shown ? QString::fromStdString(lens[size_t(row)].caption) : QString());
        value->setText(shown ? QString::fromStdString(lens[size_t(row)].value) : QString());
        caption->setVisible(shown);
        value->setVisible(shown);
    }
    lens_group_->setVisible(!lens.empty());
    show_overflow(overflow_, page_.overflow());
    {
        const QSignalBlocker quiet(weight_box_);
        weight_box_->setChecked(page_.weighted());
    }
    weight_box_->setEnabled(page_.lens().has_view());

    save_button_->setEnabled(page_.save_enabled());
    views_->setVisible(page_.views_shown());
    const ResultView view = page_.view();
    view_a_->setChecked(view == ResultView::region_a);
    view_b_->setChecked(view == ResultView::region_b);
    view_ratio_->setChecked(view == ResultView::ratio_ab);
    histogram_->update();
}
