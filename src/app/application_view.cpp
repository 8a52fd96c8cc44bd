// The view's side of the Application: mouse, wheel, keys, placement, the
// luminance readout and the selection hand-back.

#include "app/application.h"
#include "app/commands.h"
#include "common/status_text.h"

namespace {
PointF window_point(int x, int y) { return {static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f}; }
}  // namespace

void Application::clear_selection() { tools_.clear(); }

Overlay Application::settle_selection() {
    PaintInput input;
    input.picture = bitmap_;
    input.map = {static_cast<float>(map_.width), static_cast<float>(map_.height)};
    input.anchor = picture_position(anchor_);
    input.cursor = picture_position(cursor_);
    input.shift = shift_down_;
    return tools_.settle(input);
}

void Application::show_position_or_rectangle(bool check_map) {
    const PointF p = picture_position(cursor_);
    if (check_map && !inside_picture(p, static_cast<float>(map_.width), static_cast<float>(map_.height))) return;
    const Region& s = tools_.selection();
    if (!s.has_rectangle()) {
        // The position is shown only over the picture.
        if (inside_picture(p, bitmap_.width, bitmap_.height))
            desktop_.set_status_text(status_part::position, status_position_text(p.x, p.y));
    } else {
        desktop_.set_status_text(status_part::position, status_rectangle_text(s.x0, s.y0, s.x1, s.y1));
    }
}

void Application::on_mouse_move(int x, int y, bool shift) {
    cursor_ = window_point(x, y);
    shift_down_ = shift;
    if (!image_loaded_) return;
    if (panning_) {
        desktop_.set_cursor(CursorShape::closed_hand);
        drag_ = {cursor_.x - anchor_.x, cursor_.y - anchor_.y};
    } else {
        desktop_.set_cursor(tools_.on_mouse_move(picture_position(cursor_)).value_or(CursorShape::arrow));
    }
    settle_selection();
    show_position_or_rectangle(true);
    if (tools_.selection().any()) desktop_.set_status_text(status_part::luminance, "");
    desktop_.repaint(false);
}

void Application::on_left_down(int x, int y, bool shift) {
    cursor_ = anchor_ = window_point(x, y);
    drag_ = {};
    shift_down_ = shift;
    if (!image_loaded_) return;
    const PointF p = picture_position(cursor_);
    // A click on the right or bottom edge has no pixel: the readout stays.
    if (auto luminance = luminance_at(map_, p.x, p.y))
        desktop_.set_status_text(status_part::luminance, status_luminance_text(*luminance));
    if (auto shape = tools_.on_left_down(p)) desktop_.set_cursor(*shape);
    settle_selection();
    desktop_.repaint(false);
}

void Application::on_left_up(int x, int y, bool shift) {
    cursor_ = window_point(x, y);
    shift_down_ = shift;
    if (!image_loaded_) return;
    settle_selection();
    const bool rectangle_tool = tools_.tool() == RegionKind::rectangle;
    tools_.on_left_up();
    if (rectangle_tool) show_position_or_rectangle(false);
    settle_selection();
    desktop_.repaint(false);
}

void Application::on_left_double_click(int x, int y) {
    cursor_ = window_point(x, y);
    edit_selection_rectangle();
}

void Application::on_right_down(int x, int y) {
    cursor_ = window_point(x, y);
    if (!image_loaded_) return;
    desktop_.set_cursor(CursorShape::closed_hand);
    anchor_ = {cursor_.x - pan_.x + 0.5f, cursor_.y - pan_.y + 0.5f};
    drag_ = {cursor_.x - anchor_.x, cursor_.y - anchor_.y};
    panning_ = true;
    tools_.on_right_down();
    settle_selection();
    desktop_.repaint(true);
}

void Application::on_right_up() {
    panning_ = false;
    desktop_.set_cursor(CursorShape::arrow);
    desktop_.repaint(false);
}

void Application::on_mouse_leave() { panning_ = false; }

void Application::on_wheel(int delta) {
    if (!image_loaded_) return;
    zoom_changed_ = true;
    const float zoom = wheel_zoom(zoom_, delta);
    if (zoom != zoom_) {
        zoom_ = zoom;
        desktop_.repaint(false);
    }
    desktop_.set_status_text(status_part::zoom, status_zoom_text(zoom_));
}

void Application::on_resize(int width, int height) {
    view_size_ = {static_cast<float>(width), static_cast<float>(height)};
    placement_recompute_ = true;
}

void Application::on_key_down(int key) {
    if (key == key_enter) {
        hand_back_region();
    } else if (key == key_escape) {
        clear_selection();
        desktop_.repaint(false);
    }
}

void Application::fit_to_display() {
    placement_recompute_ = true;
    zoom_changed_ = true;
    zoom_ = fit_zoom(view_size_, bitmap_);
    clear_selection();
    desktop_.repaint(true);
    desktop_.set_status_text(status_part::zoom, status_zoom_text(zoom_));
}

ViewFrame Application::paint_frame() {
    ViewFrame frame;
    if (!image_loaded_ || bitmap_.width <= 0 || bitmap_.height <= 0) return frame;
    if (panning_ || placement_recompute_ || zoom_changed_) pan_ = compute_placement(view_size_, bitmap_, zoom_, drag_);
    frame.has_picture = true;
    frame.zoom = zoom_;
    frame.pan = pan_;
    frame.bitmap = bitmap_;
    const PointF cursor = picture_position(cursor_);
    if (guidelines_ && inside_picture(cursor, static_cast<float>(map_.width), static_cast<float>(map_.height)))
        frame.guidelines = cursor;
    frame.overlay = settle_selection();
    placement_recompute_ = false;
    zoom_changed_ = false;
    return frame;
}

void Application::hand_back_region() {
    if (calibration_wizard_active_ && calibration_receiver_ && calibration_receiver_->waiting()) {
        const Region region = tools_.selection();
        if (calibration_receiver_->show_page()) return;
        calibration_receiver_->region_selected(region);
        return;
    }
    if (!analysis_wizard_active_ || !analysis_receiver_) return;
    for (int page : {region_page::single, region_page::region_a, region_page::region_b}) {
        if (!analysis_receiver_->waiting(page)) continue;
        if (page == region_page::region_a) region_a_ = tools_.selection();
        if (page == region_page::region_b) region_b_ = tools_.selection();
        analysis_receiver_->region_selected(tools_.selection(), page);
        return;
    }
}
