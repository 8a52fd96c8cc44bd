#include "analysis/ui/region_page_widget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/analysis_ids.h"
#include "analysis/region_page.h"
#include "analysis/ui/choice_pages.h"

namespace {

template <class T>
T* with_id(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

const char* group_title(int page) {
    switch (page) {
    case analysis_pages::region_a: return "Select Region A (Foreground)";
    case analysis_pages::region_b: return "Select Region B (Background)";
    default: return "Select Region";
    }
}

}  // namespace

RegionPageWidget::RegionPageWidget(RegionPage& page) : page_(page) {
    using namespace analysis_ids;
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(group_title(page.template_id()), this);
    auto* grid = new QGridLayout(group);
    from_image_ = with_id(new QRadioButton("From Image", group), from_image);
    tools_ = with_id(new QComboBox(group), tool_list);
    tools_->addItems({"Circle", "Polygon", "Rectangle"});
    select_ = with_id(new QPushButton("Click to Select >>", group), click_to_select);
    status_ = with_id(new QLabel(group), page.status_label());
    from_mask_ = with_id(new QRadioButton("From Mask File", group), from_mask);
    browse_ = with_id(new QPushButton("Browse...", group), browse);
    file_ = with_id(new QLabel(group), file_label);

    grid->addWidget(from_image_, 0, 0);
    grid->addWidget(new QLabel("Selection Tool", group), 0, 1);
    grid->addWidget(tools_, 0, 2);
    grid->addWidget(select_, 1, 1);
    grid->addWidget(status_, 1, 2);
    grid->addWidget(from_mask_, 2, 0);
    grid->addWidget(browse_, 2, 1);
    grid->addWidget(file_, 2, 2);
    grid->setColumnStretch(2, 1);
    layout->addWidget(group);

    layout->addWidget(page_text("The region of interest can be selected interactively from the image. Rectangle and "
                                "circle options provide predefined geometries, where as polygon option allows the "
                                "user to select irregular closed polygons. ",
                                this));
    help_ = with_id(page_text("", this), help_text);
    layout->addWidget(help_);
    help_tail_ = with_id(page_text("", this), help_tail);
    layout->addWidget(help_tail_);
    layout->addWidget(page_text("Once the region is selected, press ENTER key to return to the wizard.", this));
    layout->addWidget(page_text("Region of interest can also be selected by using a binary mask file.", this));
    if (page.template_id() == analysis_pages::region_a)
        layout->addWidget(page_text("Click Next to select Region B.", this));
    if (page.template_id() == analysis_pages::region_b)
        layout->addWidget(
            page_text("The second region, Region B, is \u201cdenominator\u201d in ratio calculations.", this));
    layout->addStretch(1);

    connect(from_image_, &QRadioButton::clicked, this, [this] { page_.on_source(RegionSource::from_image); });
    connect(from_mask_, &QRadioButton::clicked, this, [this] { page_.on_source(RegionSource::from_mask_file); });
    connect(tools_, &QComboBox::activated, this,
            [this](int index) { page_.on_tool_chosen(static_cast<ToolChoice>(index)); });
    connect(select_, &QPushButton::clicked, this, [this] { page_.on_click_to_select(); });
    connect(browse_, &QPushButton::clicked, this, [this] { page_.on_browse(); });
}

void RegionPageWidget::show_state() {
    const QSignalBlocker quiet_tools(tools_);
    const bool mask = page_.source() == RegionSource::from_mask_file;
    from_image_->setChecked(!mask);
    from_mask_->setChecked(mask);
    tools_->setCurrentIndex(static_cast<int>(page_.tool_choice()));
    tools_->setEnabled(page_.tool_list_enabled());
    select_->setEnabled(page_.selection_controls_enabled());
    status_->setEnabled(page_.selection_controls_enabled());
    browse_->setEnabled(page_.mask_controls_enabled());
    file_->setEnabled(page_.mask_controls_enabled());
    status_->setText(QString::fromStdString(page_.status_text()));
    file_->setText(QString::fromStdString(page_.file_label()));
    help_->setText(QString::fromStdString(page_.help_text()));
    help_tail_->setText(QString::fromStdString(page_.help_tail()));
}
