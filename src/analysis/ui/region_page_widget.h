#pragma once
// Pages 109, 114 and 115: a region drawn on the main window or taken from a
// mask file. Shows a RegionPage and reports every control to it.

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class RegionPage;

class RegionPageWidget : public QWidget {
    Q_OBJECT
public:
    explicit RegionPageWidget(RegionPage& page);
    void show_state();

private:
    RegionPage& page_;
    QRadioButton* from_image_;
    QRadioButton* from_mask_;
    QComboBox* tools_;
    QPushButton* select_;
    QLabel* status_;
    QPushButton* browse_;
    QLabel* file_;
    QLabel* help_;
    QLabel* help_tail_;
};
