#include "analysis/ui/analysis_wizard_dialog.h"

#include "analysis/analysis_ids.h"
#include "analysis/analysis_wizard.h"
#include "analysis/glare_ids.h"
#include "analysis/ui/choice_pages.h"
#include "analysis/ui/glare_page_widgets.h"
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
    GlarePages& glare = wizard.glare();
    add_page(glare_page::intro, make_glare_intro_page());
    add(glare_page::task_area, new TaskAreaPage(glare));
    add(glare_page::task_position, new TaskPositionPage(glare));
    add(glare_page::field_of_view, new FieldOfViewPage(glare));
    add(glare_page::view_types, new ViewTypesPage(glare));
    add(glare_page::advanced, new AdvancedOptionsPage(glare));
    add(glare_page::results, new GlareResultsPage(glare));
    set_page_refresh([this] {
        for (const auto& show : page_states_) show();
    });
}
