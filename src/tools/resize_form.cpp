#include "tools/resize_form.h"

#include <cmath>

#include "common/text_format.h"
#include "common/unsigned_field.h"
#include "tools/geometry_commands.h"

namespace {

// What a field that can hold only an unsigned 32-bit number shows for a
// computed size.
std::string field_number(double value) {
    const double limited = value < 0 ? 0 : (value > 4294967295.0 ? 4294967295.0 : value);
    return strprintf("%llu", static_cast<unsigned long long>(limited));
}

int64_t field_value(const std::string& text) { return parse_unsigned_field(text).value_or(0); }

}  // namespace

ResizeForm::ResizeForm(ResizeLock& lock, int picture_width, int picture_height)
    : lock_(lock), picture_width_(picture_width), picture_height_(picture_height) {}

void ResizeForm::on_open() {
    width_text = strprintf("%d", picture_width_);
    height_text = strprintf("%d", picture_height_);
    keep_aspect = true;
    // The dialog fills its own fields: neither is a change to follow.
    lock_.locked = true;
    lock_.last_width = picture_width_;
    lock_.last_height = picture_height_;
    lock_.width_set_by_dialog = false;
    lock_.height_set_by_dialog = false;
}

void ResizeForm::on_width_changed(const std::string& text) {
    width_text = text;
    if (lock_.locked) {
        lock_.ratio = static_cast<double>(picture_width_) / static_cast<double>(picture_height_);
        const int64_t width = field_value(text);
        if (width != lock_.last_width) {
            if (lock_.width_set_by_dialog) {
                lock_.width_set_by_dialog = false;
            } else {
                lock_.height_set_by_dialog = true;
                on_height_changed(field_number(std::trunc(static_cast<double>(width) / lock_.ratio + 0.5)));
                // The echo is over even when Height did not change (it then
                // sent no notice), so the flag cannot swallow the user's
                // next edit of Height.
                lock_.height_set_by_dialog = false;
            }
        }
        lock_.last_width = width;
    }
    lock_.locked = keep_aspect;
}

void ResizeForm::on_height_changed(const std::string& text) {
    height_text = text;
    if (!lock_.locked) return;
    lock_.ratio = static_cast<double>(picture_width_) / static_cast<double>(picture_height_);
    const int64_t height = field_value(text);
    if (height != lock_.last_height) {
        if (lock_.height_set_by_dialog) {
            lock_.height_set_by_dialog = false;
        } else {
            lock_.width_set_by_dialog = true;
            on_width_changed(field_number(std::trunc(static_cast<double>(height) * lock_.ratio + 0.5)));
            lock_.width_set_by_dialog = false;
        }
    }
    lock_.last_height = height;
}

void ResizeForm::on_keep_aspect_clicked(bool checked) {
    keep_aspect = checked;
    lock_.locked = checked;
}

int ResizeForm::on_ok() {
    const uint32_t width = parse_unsigned_field(width_text).value_or(0);
    const uint32_t height = parse_unsigned_field(height_text).value_or(0);
    if (width == 0 || height == 0) return 0;
    const double fx = static_cast<double>(picture_width_) / width;
    const double fy = static_cast<double>(picture_height_) / height;
    factor_x = format_default_double(fx);
    factor_y = format_default_double(fy);
    return fx == 1.0 && fy == 1.0 ? 0 : 1;
}
