#include "analysis/glare_view_page.h"

#include "analysis/region_page.h"
#include "desktop/desktop.h"
#include "tools/command_path.h"

GlareViewPage::GlareViewPage(GlareSettings& record, Desktop& desktop, WizardSheet& sheet)
    : record_(record), desktop_(desktop), sheet_(sheet) {}

void GlareViewPage::on_first_display() {
    mode_ = GlareViewMode::none;
    type_choice_ = default_glare_view_type;
    file_label_ = no_view_file_text;
    record_.view_vertical = 0;
    record_.view_horizontal = 0;
    record_.view_mode = GlareViewMode::none;
    record_.view_file.clear();
    record_.view_type = default_glare_view_type;
}

void GlareViewPage::offer_next_when_sized() {
    const bool sized = record_.view_vertical != 0 && record_.view_horizontal != 0;
    sheet_.set_buttons(sized ? wizard_button::back | wizard_button::next : wizard_button::back);
}

void GlareViewPage::on_activate() {
    // Coming back to a view type without its sizes must not offer Next.
    if (mode_ == GlareViewMode::by_type) offer_next_when_sized();
    else sheet_.set_buttons(wizard_button::back | wizard_button::next);
}

void GlareViewPage::on_mode(GlareViewMode mode) {
    mode_ = mode;
    if (mode == GlareViewMode::by_type) offer_next_when_sized();
    else sheet_.set_buttons(wizard_button::back | wizard_button::next);
}

void GlareViewPage::on_vertical(float degrees) {
    record_.view_vertical = degrees;
    offer_next_when_sized();
}

void GlareViewPage::on_horizontal(float degrees) {
    record_.view_horizontal = degrees;
    offer_next_when_sized();
}

void GlareViewPage::on_browse() {
    FileDialogRequest request;
    request.title = open_view_file_title;
    request.filters = {{"View Files", "*.vf;"}, {"All Files", "*.*;"}};
    request.owner = Owner::dialog;
    const FileDialogAnswer answer = desktop_.file_dialog(request);
    if (answer.cancelled()) return;
    if (!is_command_safe_path(answer.path)) {
        record_.view_file.clear();
        file_label_ = no_view_file_text;
        sheet_.set_buttons(wizard_button::back);
        desktop_.message_box("File path cannot contain spaces", "Path Error", MessageIcon::error, Owner::dialog);
        return;
    }
    record_.view_file = answer.path;
    file_label_ = file_name_of(answer.path);
    sheet_.set_buttons(wizard_button::back | wizard_button::next);
}

bool GlareViewPage::on_next() {
    if (mode_ == GlareViewMode::by_file && record_.view_file.empty()) {
        desktop_.message_box("Choose a view file with Browse..., or another view option", "Input Error",
                             MessageIcon::warning, Owner::dialog);
        return false;
    }
    record_.view_mode = mode_;
    record_.view_type = type_choice_;
    return true;
}
