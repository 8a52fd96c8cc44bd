#include "tools/ward_form.h"

#include "common/numeric_edit.h"
#include "tools/export_paths.h"
#include "tools/tonemap_output.h"

void WardForm::on_open() {
    options_ = WardOptions{};
    browse_path_.clear();
    output_text.clear();
    switch_checked = {};
    exposure_text = format_default_wide_exponent(options_.exposure);
    exposure_enabled = false;
}

void WardForm::on_switch(size_t index, bool checked) {
    if (index >= switch_checked.size()) return;
    switch_checked[index] = checked;
    options_.switches[index] = checked;
    if (index + ward_ids::first_switch == ward_ids::linear) exposure_enabled = checked;
}

void WardForm::on_exposure_changed(const std::string& text) {
    exposure_text = text;
    options_.exposure = read_numeric_edit(text, static_cast<int>(text.size())).value;
}

void WardForm::on_browse() {
    // Cancelled, the path is empty again: OK then refuses it.
    browse_path_ = browse_for_jpeg(desktop_);
    output_text = browse_path_;
}

bool WardForm::on_ok() {
    options_.switches = switch_checked;
    return accept_tonemap_output(desktop_, output_text, output_name(), Owner::dialog);
}

std::string WardForm::output_name() const { return apply_output_name_rule(browse_path_, "jpg"); }
