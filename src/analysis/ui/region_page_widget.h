#pragma once
// Pages 109, 114 and 115: a region drawn on the main window or taken from a
// mask file. Shows a RegionPage and reports every control to it.

#include <QWidget>

class QLabel;
class RegionGroup;
class RegionPage;

class RegionPageWidget : public QWidget {
    Q_OBJECT
public:
    explicit RegionPageWidget(RegionPage& page);
    void show_state();

private:
    RegionPage& page_;
    RegionGroup* group_;
    QLabel* help_;
    QLabel* help_tail_;
};
