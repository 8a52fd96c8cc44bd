#pragma once
// Page 124 of the calibration wizard: a region drawn on the main window or
// taken from a mask file. Shows a CalibrationRegionPage and reports every
// control to it.

#include <QWidget>

class CalibrationRegionPage;
class RegionGroup;

class CalibrationRegionPageWidget : public QWidget {
    Q_OBJECT
public:
    explicit CalibrationRegionPageWidget(CalibrationRegionPage& page);
    void show_state();

private:
    CalibrationRegionPage& page_;
    RegionGroup* group_;
};
