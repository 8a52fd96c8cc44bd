#pragma once
// The window of Analyze All Regions: a row per region with its figures as
// columns (the fields of the CSV), the histogram of the row chosen, drawn as
// the results page draws it, and "Save CSV...". Shows a RegionTableForm.

#include <QWidget>

class HistogramFrame;
class QCheckBox;
class QLabel;
class QTableWidget;
class RegionTableForm;

namespace region_table_ids {
inline constexpr int window = 6350;
inline constexpr int table = 6351;
inline constexpr int histogram = 6352;
inline constexpr int save = 6353;
inline constexpr int close = 6354;
inline constexpr int caption = 6355;
inline constexpr int weight = 6356;
}  // namespace region_table_ids

class RegionTableWindow : public QWidget {
    Q_OBJECT
public:
    RegionTableWindow(QWidget* parent, RegionTableForm& form);

    QTableWidget* table() const { return table_; }
    HistogramFrame* histogram() const { return histogram_; }

private:
    // The form's titles and rows into the table, keeping the row chosen.
    void show_table();
    void on_row(int row);

    RegionTableForm& form_;
    QTableWidget* table_;
    HistogramFrame* histogram_;
    QLabel* caption_;
    QCheckBox* weight_;
    int row_ = -1;
};
