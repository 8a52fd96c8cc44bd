#include "analysis/calibration_wizard.h"

#include "analysis/calibration_ids.h"
#include "analysis/compute_statistics.h"
#include "analysis/lens_figures.h"
#include "desktop/desktop.h"
#include "picture/rgbe_reader.h"
#include "profiles/profile_updates.h"
#include "tools/working_files.h"

namespace {

std::vector<WizardPage> calibration_wizard_pages() {
    using namespace calibration_pages;
    return {
        {options, "Illuminance & Luminance Calibration"},
        {luminance_intro, "Luminance Calibration"},
        {region, "Luminance Calibration - Select a Region"},
        {measured_luminance, "Luminance Calibration - Measured Illuminance"},
        {illuminance_intro, "Illuminance Calibration"},
        {measured_illuminance, "Illuminance Calibration - Measured Illuminance"},
    };
}

}  // namespace

CalibrationWizard::CalibrationWizard(CalibrationHost& host)
    : host_(host), sheet_("Calibration Wizard", calibration_wizard_pages()), region_page_(record, host, sheet_) {}

void CalibrationWizard::start() {
    overflow_ = overflow_sentence(working_copy_lens(host_.statistics_context()));
    sheet_.start(*this);
}

void CalibrationWizard::on_calibration_link() {
    record.kind = CalibrationKind::illuminance;
    if (sheet_.current_page() == calibration_pages::options) sheet_.press_next();
}

void CalibrationWizard::set_profile_folder(const std::string& folder) {
    profiles_ = list_profiles(folder);
    profile_choice = 0;
    if (profiles_.empty()) save_to_profile = false;
}

void CalibrationWizard::on_profile_chosen(int index) {
    if (index >= 0 && static_cast<size_t>(index) < profiles_.size()) profile_choice = index;
}

void CalibrationWizard::save_factor_into_profile(const std::vector<std::string>& picture_header) {
    const ProfileEntry& entry = profiles_[static_cast<size_t>(profile_choice)];
    // The picture is divided by the factor; the profile multiplies.
    auto stored = store_calibration_factor(entry.path, 1.0 / record.factor, picture_header);
    if (!stored)
        host_.desktop().message_box("The factor could not be saved into the profile \"" + entry.name + "\": " +
                                        stored.failure().message,
                                    calibration_error_caption, MessageIcon::warning, Owner::dialog);
}

void CalibrationWizard::offer_finish(bool has_text) {
    sheet_.set_buttons(has_text ? wizard_button::back | wizard_button::finish : wizard_button::back);
}

void CalibrationWizard::on_measured_luminance(bool has_text, float value) {
    luminance_field_filled_ = has_text;
    record.measured_luminance = value;
    if (sheet_.current_page() == calibration_pages::measured_luminance) offer_finish(has_text);
}

void CalibrationWizard::on_measured_illuminance(bool has_text, float value) {
    record.measured_illuminance = value;
    if (sheet_.current_page() == calibration_pages::measured_illuminance) offer_finish(has_text);
}

void CalibrationWizard::on_activate(int page) {
    namespace pages = calibration_pages;
    const bool first = displayed_.insert(page).second;
    switch (page) {
    case pages::options: sheet_.set_buttons(wizard_button::next); break;
    case pages::region:
        if (first) region_page_.on_first_display();
        region_page_.on_activate();
        break;
    // Finish only once there is a reading to calibrate against.
    case pages::measured_luminance: offer_finish(luminance_field_filled_); break;
    case pages::measured_illuminance:
        picture_illuminance_ = working_copy_illuminance(host_);
        illuminance_text_ = illuminance_rule_text(picture_illuminance_);
        sheet_.set_buttons(wizard_button::back | wizard_button::finish);
        break;
    default: sheet_.set_buttons(wizard_button::back | wizard_button::next); break;
    }
}

int CalibrationWizard::on_next(int page) {
    namespace pages = calibration_pages;
    switch (page) {
    case pages::options:
        return record.kind == CalibrationKind::luminance ? pages::luminance_intro : pages::illuminance_intro;
    case pages::luminance_intro: return pages::region;
    case pages::region: return pages::measured_luminance;
    case pages::illuminance_intro: return pages::measured_illuminance;
    default: return stay_on_page;
    }
}

int CalibrationWizard::on_back(int page) {
    namespace pages = calibration_pages;
    switch (page) {
    case pages::luminance_intro:
    case pages::illuminance_intro: return pages::options;
    case pages::region: return pages::luminance_intro;
    case pages::measured_luminance: return pages::region;
    case pages::measured_illuminance: return pages::illuminance_intro;
    default: return stay_on_page;
    }
}

bool CalibrationWizard::on_finish(int page) {
    const bool luminance = page == calibration_pages::measured_luminance;
    if (!luminance && page != calibration_pages::measured_illuminance) return false;
    const bool saving = save_to_profile && static_cast<size_t>(profile_choice) < profiles_.size();
    // The header as the picture was before the division.
    std::vector<std::string> header;
    if (saving) {
        auto read = read_picture_header(host_.statistics_context().cache_directory + working_file::working_copy);
        if (read) header = read.value();
    }
    const bool finished = luminance ? finish_luminance_calibration(host_, record, region_page_.region())
                                    : finish_illuminance_calibration(host_, record, picture_illuminance_.value);
    if (finished && saving) save_factor_into_profile(header);
    return finished;
}

void CalibrationWizard::on_cancel(int) {
    // A sheet closed while the page waited for a region gives the commands
    // back.
    if (record.awaiting_region) {
        record.awaiting_region = false;
        host_.set_calibration_enabled(true);
        host_.set_picture_commands_enabled(true);
    }
    host_.set_main_window_enabled(true);
}

bool CalibrationWizard::show_page() {
    const bool was_shown = sheet_.shown();
    sheet_.set_shown(true);
    return was_shown;
}

void CalibrationWizard::region_selected(const Region& region) { region_page_.region_selected(region); }
