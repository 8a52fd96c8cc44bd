#include "app/ui/image_view.h"

#include <QImageReader>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <cmath>

#include "app/application.h"
#include "app/ui/display_bmp.h"
#include "common/status_text.h"
#include "regions/region_list_form.h"

namespace {

const QColor background(211, 220, 235);

QPointF to_window(PointF p, const ViewFrame& frame) {
    return {p.x * frame.zoom + frame.pan.x, p.y * frame.zoom + frame.pan.y};
}

// Every outline is drawn twice, black dashes and then white dashes offset into
// the black ones' gaps, so it shows on any background.
void draw_twice(QPainter& painter, qreal width, const std::function<void()>& draw) {
    for (int pass = 0; pass < 2; ++pass) {
        QPen pen(pass == 0 ? Qt::black : Qt::white, width);
        pen.setDashPattern({2, 2});
        pen.setDashOffset(pass == 0 ? 0 : 2);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setMiterLimit(10);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        draw();
    }
}

// The named regions shown in the list: each outline solid in its colour,
// its name on a plate of that colour, in black or white by the plate's
// lightness, so it reads on any picture.
void draw_named_regions(QPainter& painter, const std::vector<NamedRegion>& regions, const ViewFrame& frame) {
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const NamedRegion& region : regions) {
        if (!region.visible || region.kind == RegionKind::mask) continue;
        const Region& g = region.geometry;
        const QColor colour(QString::fromStdString(region.color));
        painter.setPen(QPen(colour, 2.0));
        painter.setBrush(Qt::NoBrush);
        QPointF label;
        switch (region.kind) {
        case RegionKind::rectangle: {
            const QRectF r = QRectF(to_window({g.x0, g.y0}, frame), to_window({g.x1, g.y1}, frame)).normalized();
            painter.drawRect(r);
            label = r.topLeft();
            break;
        }
        case RegionKind::circle: {
            const qreal radius = g.radius * frame.zoom;
            const QPointF centre = to_window({g.centre_x, g.centre_y}, frame);
            painter.drawEllipse(centre, radius, radius);
            label = centre - QPointF(radius * 0.7071, radius * 0.7071);
            break;
        }
        case RegionKind::polygon: {
            QPolygonF polygon;
            for (int i = 0; i < g.vertex_count; ++i) polygon << to_window(g.vertices[static_cast<size_t>(i)], frame);
            painter.drawPolygon(polygon);
            label = polygon.boundingRect().topLeft();
            break;
        }
        case RegionKind::mask: break;
        }
        const QString name = QString::fromStdString(region.name);
        const QRectF plate(label + QPointF(2, 2), QSizeF(metrics.horizontalAdvance(name) + 6, metrics.height() + 2));
        painter.fillRect(plate, colour);
        painter.setPen(qGray(colour.rgb()) > 140 ? Qt::black : Qt::white);
        painter.drawText(plate, Qt::AlignCenter, name);
    }
}

int mouse_x(const QMouseEvent* e) { return static_cast<int>(std::floor(e->position().x())); }
int mouse_y(const QMouseEvent* e) { return static_cast<int>(std::floor(e->position().y())); }
bool shift_held(const QInputEvent* e) { return e->modifiers() & Qt::ShiftModifier; }

}  // namespace

ImageView::ImageView(QWidget* parent) : QWidget(parent) {
    setObjectName("view");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageView::set_status_bar(QStatusBar* bar) {
    status_bar_ = bar;
    status_bar_->setParent(this);
    status_bar_->setGeometry(0, height() - status_part::height, width(), status_part::height);
}

bool ImageView::load_picture(const QString& path) {
    // Qt refuses pictures of more than 256 MB by default; the display copy of
    // a 100-megapixel picture takes 400 MB, and the reader has already
    // accepted the picture it was made from.
    constexpr int display_limit_mb = 4096;
    const int limit = QImageReader::allocationLimit();
    if (limit > 0 && limit < display_limit_mb) QImageReader::setAllocationLimit(display_limit_mb);
    QImage image = read_display_bmp(path.toStdString());
    if (image.isNull()) image = QImage(path);
    if (image.isNull()) return false;
    // Opaque 32-bit pixels paint as fast as premultiplied ones; only other
    // formats are converted.
    picture_ = image.format() == QImage::Format_RGB32 ? std::move(image)
                                                      : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    scaled_ = QPixmap();
    scaled_zoom_ = 0;
    return true;
}

void ImageView::clear_picture() {
    picture_ = QImage();
    scaled_ = QPixmap();
    scaled_zoom_ = 0;
    update();
}

const QPixmap& ImageView::scaled_picture(float zoom) {
    if (scaled_zoom_ != zoom || scaled_.isNull()) {
        const int width = std::max(1, static_cast<int>(std::lround(picture_.width() * zoom)));
        const int height = std::max(1, static_cast<int>(std::lround(picture_.height() * zoom)));
        scaled_ = QPixmap::fromImage(picture_.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        scaled_zoom_ = zoom;
    }
    return scaled_;
}

void ImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background);
    if (!application_ || picture_.isNull()) return;
    const ViewFrame frame = application_->paint_frame();
    if (!frame.has_picture) return;

    const QRectF target(frame.pan.x, frame.pan.y, frame.bitmap.width * frame.zoom, frame.bitmap.height * frame.zoom);
    if (frame.zoom <= 1.0f) {
        painter.drawPixmap(target.topLeft(), scaled_picture(frame.zoom));
    } else {
        // Enlarged: draw only the part that is visible, interpolated.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF visible = target.intersected(QRectF(rect()));
        const QRectF source((visible.left() - frame.pan.x) / frame.zoom, (visible.top() - frame.pan.y) / frame.zoom,
                            visible.width() / frame.zoom, visible.height() / frame.zoom);
        painter.drawImage(visible, picture_, source);
    }

    painter.setRenderHint(QPainter::Antialiasing);
    if (frame.guidelines) {
        const PointF c = *frame.guidelines;
        draw_twice(painter, 1.0, [&] {
            painter.drawLine(to_window({c.x, 0}, frame), to_window({c.x, frame.bitmap.height}, frame));
            painter.drawLine(to_window({0, c.y}, frame), to_window({frame.bitmap.width, c.y}, frame));
        });
    }
    if (const RegionListForm* regions = application_->region_list()) draw_named_regions(painter, regions->regions(), frame);
    const Overlay& overlay = frame.overlay;
    draw_twice(painter, 2.0, [&] {
        for (const Segment& s : overlay.segments) painter.drawLine(to_window(s.from, frame), to_window(s.to, frame));
        for (const auto& r : overlay.rectangles)
            painter.drawRect(QRectF(to_window(r[0], frame), to_window(r[1], frame)).normalized());
        if (overlay.circle) {
            const qreal radius = overlay.circle->radius * frame.zoom;
            painter.drawEllipse(to_window(overlay.circle->centre, frame), radius, radius);
        }
    });
}

void ImageView::resizeEvent(QResizeEvent*) {
    if (status_bar_) status_bar_->setGeometry(0, height() - status_part::height, width(), status_part::height);
    if (application_) application_->on_resize(width(), height());
}

void ImageView::mouseMoveEvent(QMouseEvent* e) {
    if (application_) application_->on_mouse_move(mouse_x(e), mouse_y(e), shift_held(e));
}

void ImageView::mousePressEvent(QMouseEvent* e) {
    if (!application_) return;
    if (e->button() == Qt::LeftButton) application_->on_left_down(mouse_x(e), mouse_y(e), shift_held(e));
    else if (e->button() == Qt::RightButton) application_->on_right_down(mouse_x(e), mouse_y(e));
}

void ImageView::mouseReleaseEvent(QMouseEvent* e) {
    if (!application_) return;
    if (e->button() == Qt::LeftButton) application_->on_left_up(mouse_x(e), mouse_y(e), shift_held(e));
    else if (e->button() == Qt::RightButton) application_->on_right_up();
}

void ImageView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!application_) return;
    // Only the left button has a double click; the second press of a right
    // double click is not a new press either, so panning does not restart.
    if (e->button() == Qt::LeftButton) application_->on_left_double_click(mouse_x(e), mouse_y(e));
}

void ImageView::wheelEvent(QWheelEvent* e) {
    // One zoom step per notch of 120; touchpads deliver notches in pieces,
    // and sideways scrolling is no zoom at all.
    const int delta = e->angleDelta().y();
    if (!application_ || delta == 0) return;
    if ((delta > 0) != (wheel_remainder_ > 0)) wheel_remainder_ = 0;
    wheel_remainder_ += delta;
    while (std::abs(wheel_remainder_) >= 120) {
        application_->on_wheel(wheel_remainder_);
        wheel_remainder_ -= wheel_remainder_ > 0 ? 120 : -120;
    }
}

void ImageView::leaveEvent(QEvent*) {
    if (application_) application_->on_mouse_leave();
}

void ImageView::keyPressEvent(QKeyEvent* e) {
    if (!application_) return;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) application_->on_key_down(key_enter);
    else if (e->key() == Qt::Key_Escape) application_->on_key_down(key_escape);
    else QWidget::keyPressEvent(e);
}
