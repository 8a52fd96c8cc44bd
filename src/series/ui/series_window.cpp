#include "series/ui/series_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <fstream>

#include "cli/cli_places.h"
#include "desktop/ui/control_ids.h"
#include "series/series_form.h"
#include "series/ui/folder_follower.h"
#include "series/ui/plot_painter.h"
#include "series/ui/series_plot_widget.h"
#include "series/ui/series_table_model.h"

namespace {

// The plot is laid out again at most this often while rows stream in.
constexpr int plot_refresh_ms = 200;
// A followed picture that cannot be measured is looked at again this often
// before it counts as failed (a writer may pause with the size unchanged).
constexpr int follow_attempts = 3;

QStringList qt_texts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) list << QString::fromStdString(text);
    return list;
}

// The CSV's fields of a row, exactly as the file has them.
QStringList row_cells(const SeriesRow& row) {
    std::string line = series_row_line(row);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return qt_texts(csv_fields(line));
}

// The region names of a series file's header line: the columns after the
// fixed ones come in pairs "<name>_mean", "<name>_weighted_mean".
std::vector<std::string> region_names_of_header(const std::string& csv) {
    std::ifstream in(csv, std::ios::binary);
    std::string line;
    if (!std::getline(in, line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> columns = csv_fields(line);
    std::vector<std::string> names;
    const std::string suffix = "_mean";
    for (size_t i = series_fixed_columns; i < columns.size(); i += 2) {
        const std::string& column = columns[i];
        if (column.size() > suffix.size() && column.ends_with(suffix))
            names.push_back(column.substr(0, column.size() - suffix.size()));
    }
    return names;
}

}  // namespace

SeriesWindow::SeriesWindow(QWidget* parent, SeriesForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(series_ids::window));
    setWindowTitle("Series");
    setAttribute(Qt::WA_DeleteOnClose);
    form_.jobs = std::max(1, QThread::idealThreadCount());

    folder_ = with_id(new QLineEdit(QString::fromStdString(form_.folder), this), series_ids::folder);
    folder_->setReadOnly(true);
    folder_->setPlaceholderText("Choose the folder of pictures");
    choose_folder_ = with_id(new QPushButton("&Folder...", this), series_ids::choose_folder);
    regions_ = with_id(new QLineEdit(QString::fromStdString(form_.regions), this), series_ids::regions);
    regions_->setPlaceholderText("No regions (optional: a *.regions.json file)");
    choose_regions_ = with_id(new QPushButton("R&egions...", this), series_ids::choose_regions);
    glare_ = with_id(new QCheckBox("&Glare figures, evalglare options:", this), series_ids::glare);
    glare_options_ = with_id(new QLineEdit(QString::fromStdString(form_.glare_options), this), series_ids::glare_options);
    follow_ = with_id(new QCheckBox("F&ollow folder (add new pictures as they are written)", this), series_ids::follow);

    run_ = with_id(new QPushButton("&Run", this), series_ids::run);
    run_->setDefault(true);
    resume_ = with_id(new QPushButton("Res&ume", this), series_ids::resume);
    stop_button_ = with_id(new QPushButton("&Stop", this), series_ids::stop);
    save_csv_ = with_id(new QPushButton("Save &CSV...", this), series_ids::save_csv);
    save_plot_ = with_id(new QPushButton("Save &Plot...", this), series_ids::save_plot);
    auto* close = with_id(new QPushButton("Close", this), series_ids::close);
    progress_ = with_id(new QProgressBar(this), series_ids::progress);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    status_ = with_id(new QLabel(this), series_ids::status);
    status_->setWordWrap(true);

    model_ = new SeriesTableModel(this);
    table_ = with_id(new QTableView(this), series_ids::table);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    plot_ = with_id(new SeriesPlotWidget(this, form_), series_ids::plot);
    plot_timer_ = new QTimer(this);
    plot_timer_->setSingleShot(true);
    plot_timer_->setInterval(plot_refresh_ms);
    connect(plot_timer_, &QTimer::timeout, plot_, &SeriesPlotWidget::refresh);
    follower_ = new FolderFollower(this);
    connect(follower_, &FolderFollower::picture_ready, this, &SeriesWindow::on_picture_arrived);

    connect(choose_folder_, &QPushButton::clicked, this, [this] {
        if (form_.on_choose_folder()) folder_->setText(QString::fromStdString(form_.folder));
        forget_stopped_run();
    });
    connect(choose_regions_, &QPushButton::clicked, this, [this] {
        if (form_.on_choose_regions()) regions_->setText(QString::fromStdString(form_.regions));
        forget_stopped_run();
    });
    connect(regions_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.regions = text.trimmed().toStdString();
        forget_stopped_run();
    });
    connect(glare_, &QCheckBox::toggled, this, [this](bool on) {
        form_.glare = on;
        glare_options_->setEnabled(on && !running_);
        forget_stopped_run();
    });
    connect(glare_options_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.glare_options = text.trimmed().toStdString();
        forget_stopped_run();
    });
    connect(follow_, &QCheckBox::toggled, this, [this](bool on) {
        form_.follow = on;
        if (!on) {
            follower_->stop();
        } else if (!running_ && !form_.table.rows.empty()) {
            if (auto listed = series_pictures_of_folder(form_.folder)) start_following(listed.value());
        }
        show_state();
    });
    connect(run_, &QPushButton::clicked, this, [this] { on_run(false); });
    connect(resume_, &QPushButton::clicked, this, [this] { on_run(true); });
    connect(stop_button_, &QPushButton::clicked, this, &SeriesWindow::on_stop);
    connect(save_csv_, &QPushButton::clicked, this, [this] { form_.on_save_csv(); });
    connect(save_plot_, &QPushButton::clicked, this, [this] {
        form_.on_save_plot([](const PlotLayout& layout, const std::string& path) {
            return plot_image(layout).save(QString::fromStdString(path), "PNG");
        });
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(plot_, &SeriesPlotWidget::picture_requested, this,
            [this](qulonglong row) { form_.open_picture(static_cast<size_t>(row)); });
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { form_.open_picture(static_cast<size_t>(index.row())); });

    auto* choices = new QGridLayout;
    choices->addWidget(new QLabel("Folder:", this), 0, 0);
    choices->addWidget(folder_, 0, 1);
    choices->addWidget(choose_folder_, 0, 2);
    choices->addWidget(new QLabel("Regions:", this), 1, 0);
    choices->addWidget(regions_, 1, 1);
    choices->addWidget(choose_regions_, 1, 2);
    choices->addWidget(glare_, 2, 0);
    choices->addWidget(glare_options_, 2, 1, 1, 2);
    choices->addWidget(follow_, 3, 0, 1, 3);

    auto* plot_area = new QWidget(this);
    // The figures' check boxes scroll sideways: a regions file may name many
    // regions, and the window must not grow with them.
    figures_ = new QWidget;
    figure_row_ = new QHBoxLayout(figures_);
    figure_row_->setContentsMargins(0, 0, 0, 0);
    figure_row_->addWidget(new QLabel("Plot:", figures_));
    figure_row_->addStretch();
    auto* figure_strip = new QScrollArea(plot_area);
    figure_strip->setWidget(figures_);
    figure_strip->setWidgetResizable(true);
    figure_strip->setFrameShape(QFrame::NoFrame);
    figure_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    figure_strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    figure_strip->setFixedHeight(QCheckBox("Ev").sizeHint().height() +
                                 figure_strip->horizontalScrollBar()->sizeHint().height() + 2);
    auto* plot_layout = new QVBoxLayout(plot_area);
    plot_layout->setContentsMargins(0, 0, 0, 0);
    plot_layout->addWidget(figure_strip);
    plot_layout->addWidget(plot_, 1);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table_);
    splitter->addWidget(plot_area);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(progress_, 1);
    buttons->addWidget(run_);
    buttons->addWidget(resume_);
    buttons->addWidget(stop_button_);
    buttons->addSpacing(12);
    buttons->addWidget(save_csv_);
    buttons->addWidget(save_plot_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(splitter, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    resize(960, 720);

    glare_->setChecked(form_.glare);
    glare_options_->setEnabled(form_.glare);
    follow_->setChecked(form_.follow);
    show_table();
    show_state();
}

SeriesWindow::~SeriesWindow() { stop_worker(); }

bool SeriesWindow::following() const { return follower_->following(); }

void SeriesWindow::closeEvent(QCloseEvent* event) {
    follower_->stop();
    stop_worker();
    QDialog::closeEvent(event);
}

void SeriesWindow::forget_stopped_run() {
    // Other choices would mix rows of two kinds in one file.
    stopped_ = false;
    show_state();
}

void SeriesWindow::stop_worker() {
    stop_requested_ = true;
    if (worker_.joinable()) worker_.join();
}

void SeriesWindow::on_run(bool resume) {
    if (running_) return;
    follower_->stop();
    arrived_.clear();
    attempts_.clear();
    auto pictures = form_.folder_pictures();
    if (!pictures) return;
    const std::vector<SeriesInput> listed = *pictures;
    // Resumed, the pictures the CSV holds already are skipped by the run.
    if (!start(std::move(*pictures), resume)) return;
    // What this run measures is known; anything written from now on is new.
    if (form_.follow) start_following(listed);
    show_state();
}

void SeriesWindow::start_following(const std::vector<SeriesInput>& known) {
    QStringList paths;
    for (const SeriesInput& picture : known) paths << QString::fromStdString(picture.path);
    follower_->start(QString::fromStdString(form_.folder), paths);
}

void SeriesWindow::on_stop() {
    stop_requested_ = true;
    follower_->stop();
    arrived_.clear();
    if (running_) status_->setText("Stopping: the pictures under way finish first...");
    show_state();
}

void SeriesWindow::on_picture_arrived(const QString& path) {
    const QFileInfo info(path);
    arrived_.push_back({info.absoluteFilePath().toStdString(), info.fileName().toStdString()});
    if (!running_) {
        std::vector<SeriesInput> pictures(arrived_.begin(), arrived_.end());
        arrived_.clear();
        start(std::move(pictures), true);
    }
}

bool SeriesWindow::start(std::vector<SeriesInput> pictures, bool add) {
    auto options = form_.run_options(std::move(pictures), add && !form_.table.rows.empty());
    if (!options) return false;
    if (worker_.joinable()) worker_.join();
    if (!add) {
        form_.table = {};
        failed_ = 0;
        present_figures_.clear();
        show_table();
    }
    adding_ = add;
    stopped_ = false;
    running_ = true;
    stop_requested_ = false;
    progress_->setRange(0, static_cast<int>(options.value().pictures.size()));
    progress_->setValue(0);
    show_state();
    worker_ = std::thread([this, options = std::move(options.value())]() mutable {
        // evalglare's scaled copies and the regions' working folders go into
        // a folder of this run's own, removed when it ends.
        const RunFolder scratch(options.scratch_folder);
        options.scratch_folder = scratch.path();
        const Result<SeriesReport> report =
            !scratch.created() ? Result<SeriesReport>(Failure{-1, scratch.error()})
                               : run_series(
                                     options,
                                     [this](const SeriesProgress& progress) {
                                         Step step{progress.done,   progress.total,   progress.picture,
                                                   progress.failed, progress.problem, {}};
                                         if (progress.row) step.row = *progress.row;
                                         QMetaObject::invokeMethod(
                                             this, [this, step] { on_step(step); }, Qt::QueuedConnection);
                                     },
                                     &stop_requested_);
        QMetaObject::invokeMethod(this, [this, report] { on_finished(report); }, Qt::QueuedConnection);
    });
    return true;
}

void SeriesWindow::on_step(const Step& step) {
    progress_->setRange(0, static_cast<int>(step.total));
    progress_->setValue(static_cast<int>(step.done));
    if (step.row) {
        if (form_.table.rows.empty()) {
            form_.table.region_names = region_names_of_header(form_.working_csv());
            show_table();
        }
        add_row(*step.row);
    } else if (step.failed) {
        const QString path = QDir(QString::fromStdString(form_.folder)).filePath(QString::fromStdString(step.picture));
        // A picture still being written fails to read; it is looked at again
        // once it has settled anew, and given up only when it stays the same.
        Attempts& tried = attempts_[step.picture];
        const qint64 size = QFileInfo(path).size();
        if (size != tried.size) tried = {0, size};
        if (adding_ && follower_->following() && ++tried.count < follow_attempts) {
            follower_->retry(path);
        } else {
            ++failed_;
            status_->setText(QString::fromStdString(step.problem));
        }
    }
    if (running_ && !stop_requested_)
        status_->setText(QString("Measuring: %1 of %2 pictures").arg(step.done).arg(step.total) +
                         (failed_ ? QString(", %1 could not be measured").arg(failed_) : QString()));
}

void SeriesWindow::on_finished(const Result<SeriesReport>& result) {
    if (worker_.joinable()) worker_.join();
    running_ = false;
    if (!result) {
        form_.desktop().series_message("The series cannot run: " + result.failure().message, MessageIcon::warning);
        show_state();
        return;
    }
    const SeriesReport& report = result.value();
    stopped_ = report.stopped;
    // The file is in time order now; the table and plot show it so.
    form_.reload_table();
    show_table();
    QString text;
    if (report.stopped)
        text = QString("Stopped: %1 pictures kept").arg(form_.table.rows.size());
    else
        text = QString("%1 pictures measured").arg(form_.table.rows.size());
    if (failed_) text += QString(", %1 could not be measured").arg(failed_);
    if (!report.problems.empty() && !adding_) text += ": " + QString::fromStdString(report.problems.front());
    status_->setText(text);
    if (!report.stopped && !arrived_.empty()) {
        std::vector<SeriesInput> pictures(arrived_.begin(), arrived_.end());
        arrived_.clear();
        start(std::move(pictures), true);
    }
    show_state();
}

void SeriesWindow::add_row(const SeriesRow& row) {
    form_.table.rows.push_back(row);
    model_->append_row(row_cells(row), QString::fromStdString(form_.picture_path(form_.table.rows.size() - 1)));
    bool newly_present = false;
    for (const std::string& figure : shown_figures_)
        if (!present_figures_.contains(figure) && row_figure(row, form_.table.region_names, figure)) {
            present_figures_.insert(figure);
            newly_present = true;
        }
    if (newly_present) rebuild_figures();
    if (!plot_timer_->isActive()) plot_timer_->start();
}

void SeriesWindow::show_table() {
    model_->reset(qt_texts(series_columns(form_.table.region_names)));
    present_figures_.clear();
    shown_figures_ = form_.available_figures();
    for (size_t r = 0; r < form_.table.rows.size(); ++r) {
        const SeriesRow& row = form_.table.rows[r];
        model_->append_row(row_cells(row), QString::fromStdString(form_.picture_path(r)));
        for (const std::string& figure : shown_figures_)
            if (!present_figures_.contains(figure) && row_figure(row, form_.table.region_names, figure))
                present_figures_.insert(figure);
    }
    rebuild_figures();
    plot_->refresh();
}

void SeriesWindow::rebuild_figures() {
    // The check boxes stay while the figures are the same; only whether a
    // figure has values changes.
    if (figure_boxes_.size() != shown_figures_.size()) {
        for (QCheckBox* box : figure_boxes_) delete box;
        figure_boxes_.clear();
        for (size_t i = 0; i < shown_figures_.size(); ++i) {
            const std::string figure = shown_figures_[i];
            auto* box = with_id(new QCheckBox(QString::fromStdString(figure_caption(figure)), figures_),
                                series_ids::first_figure + static_cast<int>(i));
            box->setProperty("figure", QString::fromStdString(figure));
            figure_row_->insertWidget(static_cast<int>(i) + 1, box);
            connect(box, &QCheckBox::toggled, this, [this, figure](bool on) {
                auto& chosen = form_.figures;
                std::erase(chosen, figure);
                if (on) {
                    // The panels follow the check boxes' order.
                    chosen.push_back(figure);
                    std::vector<std::string> ordered;
                    for (const std::string& f : shown_figures_)
                        if (std::find(chosen.begin(), chosen.end(), f) != chosen.end()) ordered.push_back(f);
                    chosen = ordered;
                }
                plot_->refresh();
            });
            figure_boxes_.push_back(box);
        }
    }
    for (size_t i = 0; i < figure_boxes_.size(); ++i) {
        QCheckBox* box = figure_boxes_[i];
        const std::string& figure = shown_figures_[i];
        const QSignalBlocker quiet(box);
        box->setChecked(std::find(form_.figures.begin(), form_.figures.end(), figure) != form_.figures.end());
        // A figure no row has a value for cannot be plotted; one chosen
        // stays usable so that it can be unchecked.
        box->setEnabled(present_figures_.contains(figure) || box->isChecked());
    }
}

void SeriesWindow::show_state() {
    const bool idle = !running_;
    run_->setEnabled(idle);
    resume_->setEnabled(idle && stopped_ && !form_.table.rows.empty());
    stop_button_->setEnabled((running_ && !stop_requested_) || follower_->following());
    choose_folder_->setEnabled(idle);
    choose_regions_->setEnabled(idle);
    regions_->setEnabled(idle);
    glare_->setEnabled(idle);
    glare_options_->setEnabled(idle && form_.glare);
    save_csv_->setEnabled(idle && !form_.table.rows.empty());
    save_plot_->setEnabled(!form_.table.rows.empty());
    if (idle && follower_->following())
        status_->setText(status_->text().section(" - following", 0, 0) + " - following the folder");
}
