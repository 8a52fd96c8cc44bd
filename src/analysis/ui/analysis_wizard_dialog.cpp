#include "analysis/ui/analysis_wizard_dialog.h"

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "analysis/ui/choice_pages.h"
#include "analysis/ui/region_page_widget.h"
#include "analysis/ui/results_page_widget.h"

AnalysisWizardDialog::AnalysisWizardDialog(AnalysisWizard& wizard) : WizardSheetDialog(wizard.sheet()) {
    setObjectName("analysis_wizard");
    resize(620, 560);
    using namespace analysis_pages;
    auto add = [this](int id, auto* page) {
        add_page(id, page);
        page_states_.push_back([page] { page->show_state(); });
    };
    add(type, new AnalysisTypePage(wizard));
    add(single_region, new RegionPageWidget(wizard.single_page()));
    add(statistics, new StatisticsChoicePage(wizard));
    add(percentiles, new PercentilePage(wizard));
    add(criterion, new CriterionPage(wizard));
    add(results, new ResultsPageWidget(wizard.results()));
    add(region_a, new RegionPageWidget(wizard.a_page()));
    add(region_b, new RegionPageWidget(wizard.b_page()));
    add(two_region_statistics, new TwoRegionStatisticsPage(wizard));
    add_page(glare_first, make_glare_notice_page());
    // The rest of the glare pages keep their places in the sheet.
    for (int id : {138, 131, 132, 133, 134, 135}) add_page(id, new QWidget);
    set_page_refresh([this] {
        for (const auto& show : page_states_) show();
    });
}
