#pragma once
// The picture in the main window: paints the display picture with the
// Application's zoom and pan, the guidelines and the selection outlines, and
// forwards mouse and key events. The status bar lies over its bottom edge, as
// the view's placement rules expect.

#include <QImage>
#include <QPixmap>
#include <QWidget>

class Application;
class QStatusBar;

class ImageView : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent);

    void attach(Application& application) { application_ = &application; }
    void set_status_bar(QStatusBar* bar);

    // The display picture; false when the file cannot be decoded (the
    // previous picture then stays).
    bool load_picture(const QString& path);
    void clear_picture();
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const QPixmap& scaled_picture(float zoom);

    Application* application_ = nullptr;
    QStatusBar* status_bar_ = nullptr;
    QImage picture_;
    // The picture scaled to the current zoom (when not enlarged), so that a
    // paint only copies pixels.
    QPixmap scaled_;
    float scaled_zoom_ = 0;
    int wheel_remainder_ = 0;
};
