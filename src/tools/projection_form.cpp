#include "tools/projection_form.h"

#include "common/text_format.h"
#include "common/unsigned_field.h"
#include "desktop/desktop.h"
#include "tools/projection.h"

ProjectionForm::ProjectionForm(Desktop& desktop, ProjectionChoice& choice, int picture_width, int picture_height)
    : desktop_(desktop), choice_(choice), picture_width_(picture_width), picture_height_(picture_height) {}

void ProjectionForm::on_open() {
    fisheye_checked = true;
    anti_alias_checked = false;
    size_enabled = false;
    choice_.choice = projection_angular_to_hemispherical;
    choice_.anti_alias = false;
    width_text = strprintf("%d", picture_width_);
    height_text = strprintf("%d", picture_height_);
}

void ProjectionForm::on_anti_alias_clicked(bool checked) {
    anti_alias_checked = checked;
    choice_.anti_alias = checked;
    size_enabled = checked;
}

void ProjectionForm::on_fisheye_clicked() {
    fisheye_checked = true;
    choice_.choice = projection_angular_to_hemispherical;
}

std::optional<int> ProjectionForm::on_ok() {
    if ((choice_.choice & 0xFFFF) != projection_angular_to_hemispherical) return 1;
    choice_.anti_alias = anti_alias_checked;
    uint64_t width = static_cast<uint64_t>(picture_width_), height = static_cast<uint64_t>(picture_height_);
    if (anti_alias_checked) {
        const auto x = parse_unsigned_field(width_text);
        const auto y = parse_unsigned_field(height_text);
        width = x.value_or(0);
        height = y.value_or(0);
    }
    const std::string problem = projection_size_problem(width, height);
    if (!problem.empty()) {
        desktop_.message_box(problem, "Input Error", MessageIcon::warning, Owner::dialog);
        return std::nullopt;
    }
    choice_.width = static_cast<uint32_t>(width);
    choice_.height = static_cast<uint32_t>(height);
    return 1;
}
