#pragma once
// The calibration wizard's pages besides the region page: 122 (which
// calibration), the two introductions 123 and 128, and the pages of the
// meter readings, 125 (luminance) and 140 (illuminance).

#include <QWidget>

#include "analysis/calibration_settings.h"

class CalibrationWizard;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class CalibrationOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit CalibrationOptionsPage(CalibrationWizard& wizard);
    void show_state();

private:
    CalibrationWizard& wizard_;
    QRadioButton* luminance_;
    QRadioButton* illuminance_;
    QLabel* overflow_;
};

// A field that takes only a number, its unit and what it is for. The
// illuminance page also says what the picture gives.
class MeasuredValuePage : public QWidget {
    Q_OBJECT
public:
    MeasuredValuePage(CalibrationWizard& wizard, CalibrationKind kind);
    void show_state();

private:
    CalibrationWizard& wizard_;
    CalibrationKind kind_;
    QLineEdit* field_;
    QLabel* computed_ = nullptr;
    QLabel* overflow_ = nullptr;
    QCheckBox* save_to_profile_;
    QComboBox* profiles_;
};

QWidget* make_luminance_intro_page();
QWidget* make_illuminance_intro_page();
