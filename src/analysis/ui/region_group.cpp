#include "analysis/ui/region_group.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "desktop/ui/control_ids.h"

RegionGroup::RegionGroup(QWidget* page, const QString& title, const QString& mask_text, const RegionGroupIds& ids,
                         const RegionGroupEvents& events)
    : QGroupBox(title, page) {
    auto* grid = new QGridLayout(this);
    from_image_ = with_id(new QRadioButton("From Image", this), ids.from_image);
    tools_ = with_id(new QComboBox(this), ids.tool_list);
    tools_->addItems({"Circle", "Polygon", "Rectangle"});
    select_ = with_id(new QPushButton("Click to Select >>", this), ids.click_to_select);
    status_ = with_id(new QLabel(this), ids.status_label);
    from_mask_ = with_id(new QRadioButton(mask_text, this), ids.from_mask);
    browse_ = with_id(new QPushButton("Browse...", this), ids.browse);
    file_ = with_id(new QLabel(this), ids.file_label);

    grid->addWidget(from_image_, 0, 0);
    grid->addWidget(new QLabel("Selection Tool", this), 0, 1);
    grid->addWidget(tools_, 0, 2);
    grid->addWidget(select_, 1, 1);
    grid->addWidget(status_, 1, 2);
    grid->addWidget(from_mask_, 2, 0);
    grid->addWidget(browse_, 2, 1);
    grid->addWidget(file_, 2, 2);
    if (ids.whole_picture) {
        whole_ = with_id(new QPushButton("Whole Picture", this), ids.whole_picture);
        whole_->setToolTip("Take every pixel of the picture as the region");
        grid->addWidget(whole_, 1, 0);
        connect(whole_, &QPushButton::clicked, page, [on = events.on_whole_picture] { on(); });
    }
    grid->setColumnStretch(2, 1);

    connect(from_image_, &QRadioButton::clicked, page, [on = events.on_source] { on(false); });
    connect(from_mask_, &QRadioButton::clicked, page, [on = events.on_source] { on(true); });
    connect(tools_, &QComboBox::activated, page, events.on_tool_chosen);
    connect(select_, &QPushButton::clicked, page, [on = events.on_click_to_select] { on(); });
    connect(browse_, &QPushButton::clicked, page, [on = events.on_browse] { on(); });
}

void RegionGroup::show_state(const RegionGroupState& state) {
    const QSignalBlocker quiet_tools(tools_);
    from_image_->setChecked(!state.from_mask);
    from_mask_->setChecked(state.from_mask);
    tools_->setCurrentIndex(state.tool);
    tools_->setEnabled(state.tool_list_enabled);
    select_->setEnabled(state.selection_controls_enabled);
    if (whole_) whole_->setEnabled(state.selection_controls_enabled);
    status_->setEnabled(state.selection_controls_enabled);
    browse_->setEnabled(state.mask_controls_enabled);
    file_->setEnabled(state.mask_controls_enabled);
    status_->setText(QString::fromStdString(state.status_text));
    file_->setText(QString::fromStdString(state.file_label));
}
