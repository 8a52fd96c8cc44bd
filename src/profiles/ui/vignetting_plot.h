#pragma once
// The vignetting fit against the data it was fitted to: the relative signal
// over the normalised radius (distance from the image-circle centre over its
// radius), the fitted fall-off as a line, the measured rings as dots.

#include <QWidget>

struct CameraProfile;

class VignettingPlot : public QWidget {
    Q_OBJECT
public:
    explicit VignettingPlot(QWidget* parent);

    // Draws `profile`'s fit and data; the profile must outlive the next paint.
    void show_profile(const CameraProfile* profile);

    QSize sizeHint() const override { return {320, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CameraProfile* profile_ = nullptr;
};
