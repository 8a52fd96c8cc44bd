#pragma once
// Page 113: the figures of the analysis, the histogram, the view of a
// two-region analysis and "Save...". Shows a ResultsPage.

#include <QWidget>
#include <map>

class HistogramFrame;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class ResultsPage;

class ResultsPageWidget : public QWidget {
    Q_OBJECT
public:
    explicit ResultsPageWidget(ResultsPage& page);
    void show_state();

    HistogramFrame* histogram() const { return histogram_; }

private:
    QLabel* add_label(int id, const char* text);

    ResultsPage& page_;
    HistogramFrame* histogram_;
    std::map<int, QLabel*> labels_;
    QGroupBox* views_;
    QPushButton* save_button_;
    QRadioButton* view_a_;
    QRadioButton* view_b_;
    QRadioButton* view_ratio_;
    QGroupBox* lens_group_;
    QLabel* overflow_;
    QCheckBox* weight_box_;
};
