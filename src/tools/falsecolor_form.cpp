#include "tools/falsecolor_form.h"

#include <cmath>
#include <utility>

#include "common/numeric_edit.h"
#include "common/text_format.h"
#include "tools/falsecolor.h"

void FalsecolorForm::show_range(float minimum, float maximum) {
    top_text = format_default(maximum);
    bottom_text = format_default(minimum);
    const auto values = falsecolor_labels(minimum, maximum);
    for (size_t i = 0; i < labels.size(); ++i) labels[i] = format_default(values[i]);
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
    if (send) send(FalsecolorRequest{-1, 0, 0});
}

std::optional<FalsecolorRequest> FalsecolorForm::read_request() {
    if (!edited_) return std::nullopt;
    edited_ = false;
    if (maximum_range_checked) {
        show_range(measured_minimum_, measured_maximum_);
        return FalsecolorRequest{0, measured_minimum_, measured_maximum_};
    }
    // The fields hold only finite numbers (the numeric filter sees to it).
    float bottom = std::fabs(read_numeric_edit(bottom_text, static_cast<int>(bottom_text.size())).value);
    float top = std::fabs(read_numeric_edit(top_text, static_cast<int>(top_text.size())).value);
    if (top < bottom) std::swap(top, bottom);
    show_range(bottom, top);
    return FalsecolorRequest{1, bottom, top};
}
