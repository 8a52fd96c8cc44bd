#include "analysis/ui/calibration_wizard_dialog.h"

#include "analysis/calibration_ids.h"
#include "analysis/calibration_wizard.h"
#include "analysis/ui/calibration_pages.h"
#include "analysis/ui/calibration_region_page_widget.h"

CalibrationWizardDialog::CalibrationWizardDialog(CalibrationWizard& wizard) : WizardSheetDialog(wizard.sheet()) {
    setObjectName("calibration_wizard");
    resize(600, 480);
    using namespace calibration_pages;
    auto add = [this](int id, auto* page) {
        add_page(id, page);
        page_states_.push_back([page] { page->show_state(); });
    };
    add(options, new CalibrationOptionsPage(wizard));
    add_page(luminance_intro, make_luminance_intro_page());
    add(region, new CalibrationRegionPageWidget(wizard.region_page()));
    add(measured_luminance, new MeasuredValuePage(wizard, CalibrationKind::luminance));
    add_page(illuminance_intro, make_illuminance_intro_page());
    add(measured_illuminance, new MeasuredValuePage(wizard, CalibrationKind::illuminance));
    set_page_refresh([this] {
        for (const auto& show : page_states_) show();
    });
}
