#include "analysis/wizard_sheet.h"

namespace {

// Holds the observer's notice until the outermost press is done, so the
// window redraws once per press rather than once per field.
class HeldChanges {
public:
    HeldChanges(int& held, WizardSheet& sheet) : held_(held), sheet_(sheet) { ++held_; }
    ~HeldChanges() {
        if (--held_ == 0) sheet_.changed();
    }
    HeldChanges(const HeldChanges&) = delete;
    HeldChanges& operator=(const HeldChanges&) = delete;

private:
    int& held_;
    WizardSheet& sheet_;
};

}  // namespace

WizardSheet::WizardSheet(std::string caption, std::vector<WizardPage> pages)
    : caption_(std::move(caption)), pages_(std::move(pages)) {}

void WizardSheet::start(WizardController& controller) {
    controller_ = &controller;
    closed_ = false;
    shown_ = true;
    enabled_ = true;
    if (!pages_.empty()) go_to(pages_.front().template_id);
}

const std::string& WizardSheet::header_title() const {
    static const std::string none;
    for (const WizardPage& page : pages_)
        if (page.template_id == current_) return page.header_title;
    return none;
}

void WizardSheet::go_to(int page) {
    HeldChanges hold(changes_held_, *this);
    current_ = page;
    if (controller_) controller_->on_activate(page);
}

void WizardSheet::close(int result) {
    closed_ = true;
    shown_ = false;
    result_ = result;
    changed();
}

void WizardSheet::press_back() {
    if (!controller_ || closed_ || !back_enabled_) return;
    HeldChanges hold(changes_held_, *this);
    const int target = controller_->on_back(current_);
    if (target != stay_on_page) go_to(target);
}

void WizardSheet::press_next() {
    if (!controller_ || closed_ || finish_offered_ || !next_enabled_) return;
    HeldChanges hold(changes_held_, *this);
    const int target = controller_->on_next(current_);
    if (target != stay_on_page) go_to(target);
}

void WizardSheet::press_finish() {
    if (!controller_ || closed_ || !finish_offered_ || !next_enabled_) return;
    HeldChanges hold(changes_held_, *this);
    if (controller_->on_finish(current_)) close(1);
}

void WizardSheet::press_cancel() {
    if (!controller_ || closed_ || !cancel_enabled_) return;
    HeldChanges hold(changes_held_, *this);
    controller_->on_cancel(current_);
    close(0);
}

void WizardSheet::abandon() {
    if (!controller_ || closed_) return;
    HeldChanges hold(changes_held_, *this);
    controller_->on_cancel(current_);
    close(0);
}

void WizardSheet::set_buttons(int flags) {
    back_enabled_ = (flags & wizard_button::back) != 0;
    finish_offered_ = (flags & wizard_button::finish) != 0;
    next_enabled_ = (flags & (wizard_button::next | wizard_button::finish)) != 0;
    cancel_enabled_ = true;
    changed();
}

void WizardSheet::enable_buttons(int flags) {
    back_enabled_ = (flags & wizard_button::back) != 0;
    next_enabled_ = (flags & (wizard_button::next | wizard_button::finish)) != 0;
    cancel_enabled_ = (flags & wizard_button::cancel) != 0;
    changed();
}

void WizardSheet::set_shown(bool shown) {
    shown_ = shown;
    changed();
}

void WizardSheet::set_enabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

void WizardSheet::changed() {
    if (changes_held_ > 0) return;
    if (observer_) observer_();
}
