#include "analysis/ui/region_page_widget.h"

#include <QLabel>
#include <QVBoxLayout>

#include "analysis/analysis_ids.h"
#include "analysis/region_page.h"
#include "analysis/ui/choice_pages.h"
#include "analysis/ui/region_group.h"
#include "desktop/ui/control_ids.h"

namespace {

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
    group_ = new RegionGroup(
        this, group_title(page.template_id()), "From Mask File",
        RegionGroupIds{from_image, tool_list, click_to_select, page.status_label(), from_mask, browse, file_label,
                       whole_picture},
        RegionGroupEvents{
            [this](bool mask) { page_.on_source(mask ? RegionSource::from_mask_file : RegionSource::from_image); },
            [this](int index) { page_.on_tool_chosen(static_cast<ToolChoice>(index)); },
            [this] { page_.on_click_to_select(); }, [this] { page_.on_browse(); },
            [this] { page_.on_whole_picture(); }});
    layout->addWidget(group_);

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
}

void RegionPageWidget::show_state() {
    group_->show_state({page_.source() == RegionSource::from_mask_file, static_cast<int>(page_.tool_choice()),
                        page_.tool_list_enabled(), page_.selection_controls_enabled(), page_.mask_controls_enabled(),
                        page_.status_text(), page_.file_label()});
    help_->setText(QString::fromStdString(page_.help_text()));
    help_tail_->setText(QString::fromStdString(page_.help_tail()));
}
