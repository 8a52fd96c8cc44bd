#include "tools/falsecolor_form.h"

#include <cmath>
#include <utility>

#include "common/numeric_edit.h"
#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/export_commands.h"
#include "tools/export_paths.h"
#include "tools/falsecolor.h"

namespace {

constexpr const char* scale_caption = "Falsecolor";
constexpr const char* scale_extension = "fcs";

FileDialogRequest scale_file_request(FileDialogRequest::Kind kind) {
    FileDialogRequest request;
    request.kind = kind;
    request.title = kind == FileDialogRequest::Kind::open ? "Load Falsecolor Scale" : "Save Falsecolor Scale";
    request.filters = {{"Falsecolor Scale (*.fcs)", "*.fcs;"}};
    request.owner = Owner::dialog;
    return request;
}

float field_value(const std::string& text) {
    return std::fabs(read_numeric_edit(text, static_cast<int>(text.size())).value);
}

}  // namespace

void FalsecolorForm::show_range(float minimum, float maximum) {
    top_text = format_default(maximum);
    bottom_text = format_default(minimum);
    show_labels(minimum, maximum);
}

void FalsecolorForm::show_labels(float minimum, float maximum) {
    FalsecolorScale scale = choice;
    scale.bottom = minimum;
    scale.top = maximum;
    if (scale.classic()) {
        const auto values = falsecolor_labels(minimum, maximum);
        for (size_t i = 0; i < labels.size(); ++i) labels[i] = format_default(values[i]);
        return;
    }
    // The values beside the same palette rows as the original labels.
    const ScaleAxis axis(scale);
    const float rows[6] = {50.01f, 85.01f, 115.01f, 150.01f, 185.01f, 220.01f};
    for (size_t i = 0; i < labels.size(); ++i) labels[i] = format_default(axis.value(rows[i] / 256.0f));
}

void FalsecolorForm::on_choice_changed() {
    edited_ = true;
    const FalsecolorScale fields = scale_of_fields();
    show_labels(fields.bottom, fields.top);
}

std::string FalsecolorForm::top_caption() const { return "Top (" + units_text(choice.units) + ")"; }
std::string FalsecolorForm::bottom_caption() const { return "Bottom (" + units_text(choice.units) + ")"; }

FalsecolorScale FalsecolorForm::scale_of_fields() const {
    FalsecolorScale scale = choice;
    scale.bottom = field_value(bottom_text);
    scale.top = field_value(top_text);
    if (scale.top < scale.bottom) std::swap(scale.top, scale.bottom);
    return scale;
}

bool FalsecolorForm::on_load_scale() {
    if (!desktop) return false;
    const FileDialogAnswer answer = desktop->file_dialog(scale_file_request(FileDialogRequest::Kind::open));
    if (answer.cancelled()) return false;
    const auto scale = read_scale_file(answer.path);
    if (!scale) {
        desktop->message_box(scale.failure().message, scale_caption, MessageIcon::warning, Owner::dialog);
        return false;
    }
    choice = scale.value();
    maximum_range_checked = false;
    edited_ = true;
    show_range(scale.value().bottom, scale.value().top);
    return true;
}

bool FalsecolorForm::on_save_scale() {
    if (!desktop) return false;
    const FalsecolorScale scale = scale_of_fields();
    if (const std::string problem = scale_problem(scale); !problem.empty()) {
        desktop->message_box("This scale cannot be saved: " + problem, scale_caption, MessageIcon::warning,
                             Owner::dialog);
        return false;
    }
    const FileDialogAnswer answer = desktop->file_dialog(scale_file_request(FileDialogRequest::Kind::save));
    if (answer.cancelled()) return false;
    const std::string name = apply_output_name_rule(answer.path, scale_extension);
    if (!confirm_replace(*desktop, name, Owner::dialog)) return false;
    if (!write_scale_file(name, scale)) {
        desktop->message_box("Could not write " + name, "File IO Error!", MessageIcon::warning, Owner::dialog);
        return false;
    }
    return true;
}

void FalsecolorForm::on_open(float label_minimum, float label_maximum, float measured_minimum,
                             float measured_maximum) {
    measured_minimum_ = measured_minimum;
    measured_maximum_ = measured_maximum;
    maximum_range_checked = true;
    edited_ = false;
    show_range(label_minimum, label_maximum);
}

void FalsecolorForm::on_field_edited() {
    maximum_range_checked = false;
    edited_ = true;
}

void FalsecolorForm::on_maximum_range() {
    maximum_range_checked = true;
    edited_ = true;
    show_range(measured_minimum_, measured_maximum_);
}

std::optional<FalsecolorRequest> FalsecolorForm::on_apply() {
    auto request = read_request();
    if (request && send) send(*request);
    return request;
}

void FalsecolorForm::on_close() {
    if (send) send(FalsecolorRequest{-1, 0, 0, {}});
}

std::optional<FalsecolorRequest> FalsecolorForm::read_request() {
    if (!edited_) return std::nullopt;
    edited_ = false;
    if (maximum_range_checked) {
        show_range(measured_minimum_, measured_maximum_);
        return FalsecolorRequest{0, measured_minimum_, measured_maximum_, choice};
    }
    // The fields hold only finite numbers (the numeric filter sees to it).
    const FalsecolorScale scale = scale_of_fields();
    show_range(scale.bottom, scale.top);
    return FalsecolorRequest{1, scale.bottom, scale.top, choice};
}
