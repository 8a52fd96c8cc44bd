#pragma once
// The calibration wizard: the sheet "Calibration Wizard" with its six pages,
// its record, where each page's Back and Next lead, the hand-back of a region
// drawn on the main window, and Finish.
//
// Page 122 chooses the calibration. Luminance: 123 (about it), 124 (the
// region), 125 (the meter's luminance), Finish. Illuminance: 128 (about it),
// 140 (the meter's illuminance), Finish.
//
// Pages 125 and 140 also offer "Save the factor into profile …": the factor
// Finish finds is then stored into the chosen camera profile as well.

#include <set>
#include <string>

#include "analysis/calibration_finish.h"
#include "analysis/calibration_host.h"
#include "analysis/calibration_region_page.h"
#include "analysis/calibration_settings.h"
#include "analysis/wizard_sheet.h"
#include "profiles/profile_form.h"
#include "view/region_hand_back.h"

class CalibrationWizard : public WizardController, public CalibrationRegionReceiver {
public:
    explicit CalibrationWizard(CalibrationHost& host);

    WizardSheet& sheet() { return sheet_; }
    const WizardSheet& sheet() const { return sheet_; }
    // Lists the camera profiles of `folder` ("" for none) to offer.
    void set_profile_folder(const std::string& folder);
    // Shows the first page.
    void start();

    CalibrationSettings record;

    CalibrationRegionPage& region_page() { return region_page_; }

    // --- page 122 ---
    void on_kind_chosen(CalibrationKind kind) { record.kind = kind; }
    // --- pages 125 and 140: after every change of the field, whether it
    // holds text and the value the numeric filter read ---
    void on_measured_luminance(bool has_text, float value);
    void on_measured_illuminance(bool has_text, float value);
    // --- page 140: what the picture gives, and by which rule ---
    const PictureIlluminance& picture_illuminance() const { return picture_illuminance_; }
    const std::string& illuminance_text() const { return illuminance_text_; }
    // --- pages 122 and 140: the clipped-pixel sentence of the picture as the
    // wizard found it, or ""; its link chooses the illuminance calibration ---
    const std::string& overflow() const { return overflow_; }
    void on_calibration_link();
    // --- pages 125 and 140: "Save the factor into profile …" ---
    const std::vector<ProfileEntry>& profiles() const { return profiles_; }
    bool save_to_profile = false;
    int profile_choice = 0;  // index into profiles()
    void on_save_to_profile(bool save) { save_to_profile = save && !profiles_.empty(); }
    void on_profile_chosen(int index);

    // --- WizardController ---
    void on_activate(int page) override;
    int on_next(int page) override;
    int on_back(int page) override;
    bool on_finish(int page) override;
    void on_cancel(int page) override;

    // --- CalibrationRegionReceiver ---
    bool waiting() const override { return region_page_.waiting(); }
    bool show_page() override;
    void region_selected(const Region& region) override;

private:
    void offer_finish(bool has_text);
    void save_factor_into_profile(const std::vector<std::string>& picture_header);

    CalibrationHost& host_;
    WizardSheet sheet_;
    CalibrationRegionPage region_page_;
    std::set<int> displayed_;
    bool luminance_field_filled_ = false;  // field 1171 holds text
    PictureIlluminance picture_illuminance_;
    std::string illuminance_text_;
    std::string overflow_;
    std::vector<ProfileEntry> profiles_;
};
