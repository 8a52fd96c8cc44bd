#include "tools/reinhard_form.h"

#include "common/numeric_edit.h"
#include "tools/export_paths.h"
#include "tools/tonemap_output.h"

namespace {
float field_value(const std::string& text) { return read_numeric_edit(text, static_cast<int>(text.size())).value; }
}  // namespace

void ReinhardForm::on_open() {
    options_ = ReinhardOptions{};
    browse_path_.clear();
    output_text.clear();
    dodging_checked = false;
    key_text = format_default_wide_exponent(options_.key);
    white_text = format_default_wide_exponent(options_.white);
    gamma_text = format_default_wide_exponent(options_.gamma);
    threshold_text = format_default_wide_exponent(options_.threshold);
}

void ReinhardForm::on_number_changed(int id, const std::string& text) {
    const float value = field_value(text);
    switch (id) {
    case reinhard_ids::key: key_text = text, options_.key = value; break;
    case reinhard_ids::white: white_text = text, options_.white = value; break;
    case reinhard_ids::gamma: gamma_text = text, options_.gamma = value; break;
    case reinhard_ids::threshold: threshold_text = text, options_.threshold = value; break;
    default: break;
    }
}

void ReinhardForm::on_browse() {
    // Cancelled, the path is empty again: OK then refuses it.
    browse_path_ = browse_for_jpeg(desktop_);
    output_text = browse_path_;
}

bool ReinhardForm::on_ok() {
    options_.dodging = dodging_checked;
    return accept_tonemap_output(desktop_, output_text, output_name(), Owner::none);
}

std::string ReinhardForm::output_name() const { return apply_output_name_rule(browse_path_, "jpg"); }
