#include "tools/exposure_form.h"

#include <cmath>

#include "common/numeric_edit.h"
#include "common/text_format.h"
#include "desktop/desktop.h"

ExposureForm::ExposureForm(Desktop& desktop, float current_exposure) : desktop_(desktop), current_(current_exposure) {}

void ExposureForm::on_open() {
    text = shown_ = format_default(current_);
    entered = current_;
}

std::optional<int> ExposureForm::on_ok() {
    // The field shows the exposure to six digits; reading that back would
    // change a picture whose exposure has more.
    if (text == shown_) return 0;
    const std::optional<float> value = parse_numeric_field(text);
    if (!value || !std::isfinite(*value) || !(*value > 0)) {
        desktop_.message_box("The exposure must be a number greater than 0.", "Input Error", MessageIcon::warning,
                             Owner::dialog);
        return std::nullopt;
    }
    entered = *value;
    return entered == current_ ? 0 : 1;
}
