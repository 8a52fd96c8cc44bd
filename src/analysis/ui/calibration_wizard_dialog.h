#pragma once
// The "Calibration Wizard" sheet: every page of the CalibrationWizard in a
// WizardSheetDialog.

#include <functional>
#include <vector>

#include "analysis/ui/wizard_sheet_dialog.h"

class CalibrationWizard;

class CalibrationWizardDialog : public WizardSheetDialog {
    Q_OBJECT
public:
    explicit CalibrationWizardDialog(CalibrationWizard& wizard);

private:
    std::vector<std::function<void()>> page_states_;
};
