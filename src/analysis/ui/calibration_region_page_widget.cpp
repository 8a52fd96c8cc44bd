#include "analysis/ui/calibration_region_page_widget.h"

#include <QLabel>
#include <QVBoxLayout>

#include "analysis/calibration_ids.h"
#include "analysis/calibration_region_page.h"
#include "analysis/ui/choice_pages.h"
#include "analysis/ui/region_group.h"

CalibrationRegionPageWidget::CalibrationRegionPageWidget(CalibrationRegionPage& page) : page_(page) {
    using namespace calibration_ids;
    auto* layout = new QVBoxLayout(this);
    group_ = new RegionGroup(
        this, "Region Selection", "From Maskfile",
        RegionGroupIds{from_image, tool_list, click_to_select, status_label, from_mask, browse, file_label},
        RegionGroupEvents{
            [this](bool mask) {
                page_.on_source(mask ? CalibrationSource::from_mask_file : CalibrationSource::from_image);
            },
            [this](int index) { page_.on_tool_chosen(static_cast<ToolChoice>(index)); },
            [this] { page_.on_click_to_select(); }, [this] { page_.on_browse(); }});
    layout->addWidget(group_);
    layout->addWidget(page_text("The calibration area can be selected interactively from the image or from a mask "
                                "file. The selected region should match to the measured area with a hand-held "
                                "luminance meter. Once the region is selected, press ENTER key to return to the "
                                "wizard.",
                                this));
    layout->addStretch(1);
}

void CalibrationRegionPageWidget::show_state() {
    const bool selection = page_.selection_controls_enabled();
    group_->show_state({page_.source() == CalibrationSource::from_mask_file, static_cast<int>(page_.tool_choice()),
                        selection, selection, page_.mask_controls_enabled(), page_.status_text(),
                        page_.file_label()});
}
