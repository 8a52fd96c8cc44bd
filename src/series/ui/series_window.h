#pragma once
// Tools > Series...: the modeless "Series" window over a SeriesForm. The
// folder, regions file and glare options at the top; Run measures every
// picture of the folder on a thread of its own, with a progress bar and Stop
// (what was measured stays, and Resume goes on with the rest); the rows fill
// the table (the CSV's columns) and the plot over time below it, whose
// figures the check boxes choose. With
// "Follow folder" each picture written into the folder afterwards is added
// as it arrives. Save CSV... and Save Plot... (PNG or SVG) export.

#include <QDialog>
#include <atomic>
#include <deque>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "series/series_run.h"

class FolderFollower;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
class SeriesForm;
class SeriesPlotWidget;
class SeriesTableModel;

namespace series_ids {
inline constexpr int window = 6200;
inline constexpr int folder = 6201;
inline constexpr int choose_folder = 6202;
inline constexpr int regions = 6203;
inline constexpr int choose_regions = 6204;
inline constexpr int glare = 6205;
inline constexpr int glare_options = 6206;
inline constexpr int follow = 6207;
inline constexpr int run = 6208;
inline constexpr int stop = 6209;
inline constexpr int progress = 6210;
inline constexpr int status = 6211;
inline constexpr int table = 6212;
inline constexpr int plot = 6213;
inline constexpr int save_csv = 6214;
inline constexpr int save_plot = 6215;
inline constexpr int close = 6216;
inline constexpr int resume = 6217;
// The figures' check boxes: 6220 + the figure's place in available_figures().
inline constexpr int first_figure = 6220;
}  // namespace series_ids

class SeriesWindow : public QDialog {
    Q_OBJECT
public:
    SeriesWindow(QWidget* parent, SeriesForm& form);
    ~SeriesWindow() override;

    // Whether a run goes, and whether new pictures are being waited for.
    bool running() const { return running_; }
    bool following() const;
    FolderFollower& follower() { return *follower_; }
    SeriesTableModel& model() { return *model_; }
    SeriesPlotWidget& plot() { return *plot_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // One finished picture, as the worker reports it.
    struct Step {
        size_t done = 0, total = 0;
        std::string picture;
        bool failed = false;
        std::string problem;
        std::optional<SeriesRow> row;
    };

    // Run (afresh) or Resume (the CSV's rows kept, the other pictures added).
    void on_run(bool resume);
    void forget_stopped_run();
    void on_stop();
    void on_picture_arrived(const QString& path);
    // Starts the worker on `pictures`: afresh, or added to the rows so far.
    bool start(std::vector<SeriesInput> pictures, bool add);
    void on_step(const Step& step);
    void on_finished(const Result<SeriesReport>& result);
    // Watches the folder for pictures other than `known`.
    void start_following(const std::vector<SeriesInput>& known);
    void stop_worker();

    void add_row(const SeriesRow& row);
    void show_table();
    void rebuild_figures();
    void show_state();

    SeriesForm& form_;
    QLineEdit* folder_ = nullptr;
    QLineEdit* regions_ = nullptr;
    QCheckBox* glare_ = nullptr;
    QLineEdit* glare_options_ = nullptr;
    QCheckBox* follow_ = nullptr;
    QPushButton* choose_folder_ = nullptr;
    QPushButton* choose_regions_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* resume_ = nullptr;
    QPushButton* stop_button_ = nullptr;
    QPushButton* save_csv_ = nullptr;
    QPushButton* save_plot_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QTableView* table_ = nullptr;
    SeriesTableModel* model_ = nullptr;
    SeriesPlotWidget* plot_ = nullptr;
    QWidget* figures_ = nullptr;  // the check boxes' strip
    QHBoxLayout* figure_row_ = nullptr;
    std::vector<QCheckBox*> figure_boxes_;
    std::vector<std::string> shown_figures_;  // what the check boxes stand for
    std::set<std::string> present_figures_;   // figures some row has a value for
    QTimer* plot_timer_ = nullptr;            // one plot refresh for a burst of rows
    FolderFollower* follower_ = nullptr;

    std::thread worker_;
    std::atomic<bool> stop_requested_{false};
    bool running_ = false;
    bool adding_ = false;                   // the run adds to the rows so far
    bool stopped_ = false;                  // the last run was stopped: Resume may go on
    std::deque<SeriesInput> arrived_;     // followed pictures waiting for the worker
    struct Attempts {
        int count = 0;
        qint64 size = -1;  // the file's size at the last attempt
    };
    std::map<std::string, Attempts> attempts_;  // followed pictures that could not be read yet
    size_t failed_ = 0;
};
