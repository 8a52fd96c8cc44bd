#include "analysis/ui/results_page_widget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/results_page.h"
#include "analysis/ui/histogram_frame.h"

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
    layout->addLayout(figures);

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

    save_button_->setEnabled(page_.save_enabled());
    views_->setVisible(page_.views_shown());
    const ResultView view = page_.view();
    view_a_->setChecked(view == ResultView::region_a);
    view_b_->setChecked(view == ResultView::region_b);
    view_ratio_->setChecked(view == ResultView::ratio_ab);
    histogram_->update();
}
