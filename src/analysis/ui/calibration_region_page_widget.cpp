#include "analysis/ui/calibration_region_page_widget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/calibration_ids.h"
#include "analysis/calibration_region_page.h"
#include "analysis/ui/choice_pages.h"

namespace {

template <class T>
T* with_id(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

}  // namespace

CalibrationRegionPageWidget::CalibrationRegionPageWidget(CalibrationRegionPage& page) : page_(page) {
    using namespace calibration_ids;
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Region Selection", this);
    auto* grid = new QGridLayout(group);
    from_image_ = with_id(new QRadioButton("From Image", group), from_image);
    tools_ = with_id(new QComboBox(group), tool_list);
    tools_->addItems({"Circle", "Polygon", "Rectangle"});
    select_ = with_id(new QPushButton("Click to Select >>", group), click_to_select);
    status_ = with_id(new QLabel(group), status_label);
    from_mask_ = with_id(new QRadioButton("From Maskfile", group), from_mask);
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
    layout->addWidget(page_text("The calibration area can be selected interactively from the image or from a mask "
                                "file. The selected region should match to the measured area with a hand-held "
                                "luminance meter. Once the region is selected, press ENTER key to return to the "
                                "wizard.",
                                this));
    layout->addStretch(1);

    connect(from_image_, &QRadioButton::clicked, this, [this] { page_.on_source(CalibrationSource::from_image); });
    connect(from_mask_, &QRadioButton::clicked, this,
            [this] { page_.on_source(CalibrationSource::from_mask_file); });
    connect(tools_, &QComboBox::activated, this,
            [this](int index) { page_.on_tool_chosen(static_cast<ToolChoice>(index)); });
    connect(select_, &QPushButton::clicked, this, [this] { page_.on_click_to_select(); });
    connect(browse_, &QPushButton::clicked, this, [this] { page_.on_browse(); });
}

void CalibrationRegionPageWidget::show_state() {
    const QSignalBlocker quiet_tools(tools_);
    const bool mask = page_.source() == CalibrationSource::from_mask_file;
    from_image_->setChecked(!mask);
    from_mask_->setChecked(mask);
    tools_->setCurrentIndex(static_cast<int>(page_.tool_choice()));
    tools_->setEnabled(page_.selection_controls_enabled());
    select_->setEnabled(page_.selection_controls_enabled());
    status_->setEnabled(page_.selection_controls_enabled());
    browse_->setEnabled(page_.mask_controls_enabled());
    file_->setEnabled(page_.mask_controls_enabled());
    status_->setText(QString::fromStdString(page_.status_text()));
    file_->setText(QString::fromStdString(page_.file_label()));
}
