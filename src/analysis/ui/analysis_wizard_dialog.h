#pragma once
// The "Analysis Wizard" sheet: every page of the AnalysisWizard in a
// WizardSheetDialog.

#include <functional>
#include <vector>

#include "analysis/ui/wizard_sheet_dialog.h"

class AnalysisWizard;

class AnalysisWizardDialog : public WizardSheetDialog {
    Q_OBJECT
public:
    explicit AnalysisWizardDialog(AnalysisWizard& wizard);

private:
    std::vector<std::function<void()>> page_states_;
};
