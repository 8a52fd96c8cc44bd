#include "regions/ui/region_table_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <algorithm>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/histogram_picture.h"
#include "analysis/ui/histogram_frame.h"
#include "desktop/ui/control_ids.h"
#include "regions/region_table_form.h"

namespace {

// The CSV's column names, spaced for a person.
QString title_text(const std::string& title) { return QString::fromStdString(title).replace('_', ' '); }

// A field as the window shows it: the lens figures, which the CSV gives in
// every digit a double has, to seven significant digits (the whole field
// stays in the tool tip).
QTableWidgetItem* cell(const std::string& field) {
    const QString text = QString::fromStdString(field);
    bool number = false;
    const double value = text.toDouble(&number);
    auto* item = new QTableWidgetItem(number && text.size() > 10 ? QString::number(value, 'g', 7) : text);
    if (number) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(text);
    }
    return item;
}

}  // namespace

RegionTableWindow::RegionTableWindow(QWidget* parent, RegionTableForm& form)
    : QWidget(parent, Qt::Window), form_(form) {
    setObjectName(id_name(region_table_ids::window));
    setWindowTitle("Region Table");
    setAttribute(Qt::WA_DeleteOnClose);

    table_ = new QTableWidget(this);
    table_->setObjectName(id_name(region_table_ids::table));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->setVisible(false);
    show_table();
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) { on_row(row); });

    caption_ = new QLabel(this);
    caption_->setObjectName(id_name(region_table_ids::caption));
    histogram_ = new HistogramFrame(this, [this](int width, int height) {
        if (row_ < 0) return HistogramPicture{};
        const RegionAnalysis& analysis = form_.row_with_histogram(static_cast<size_t>(row_));
        const RegionAnalysis none;
        return histogram_picture(ResultView::single, analysis, none, none, width, height);
    });
    histogram_->setObjectName(id_name(region_table_ids::histogram));

    weight_ = new QCheckBox("Weight by solid angle", this);
    weight_->setObjectName(id_name(region_table_ids::weight));
    weight_->setEnabled(form_.can_weight());
    weight_->setChecked(form_.weighted());
    connect(weight_, &QCheckBox::toggled, this, [this](bool on) {
        if (!form_.set_weighted(on)) {
            const QSignalBlocker quiet(weight_);
            weight_->setChecked(form_.weighted());
            return;
        }
        show_table();
        histogram_->update();
    });

    auto* save = new QPushButton("Save &CSV...", this);
    save->setObjectName(id_name(region_table_ids::save));
    connect(save, &QPushButton::clicked, this, [this] { form_.on_save_csv(); });
    auto* close = new QPushButton("Close", this);
    close->setObjectName(id_name(region_table_ids::close));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(caption_, 1);
    buttons->addWidget(weight_);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(histogram_);
    layout->addLayout(buttons);
    // Wide enough for every column, as far as a screen allows.
    int width = 40;
    for (int c = 0; c < table_->columnCount(); ++c)
        if (!table_->isColumnHidden(c)) width += table_->columnWidth(c);
    resize(std::clamp(width, 600, 1400), 520);
    if (!form_.rows().empty()) table_->setCurrentCell(0, 0);
}

void RegionTableWindow::show_table() {
    const auto& titles = form_.titles();
    const auto& rows = form_.rows();
    const QSignalBlocker quiet(table_);
    table_->clear();
    table_->setRowCount(static_cast<int>(rows.size()));
    table_->setColumnCount(static_cast<int>(titles.size()));
    for (int c = 0; c < static_cast<int>(titles.size()); ++c)
        table_->setHorizontalHeaderItem(c, new QTableWidgetItem(title_text(titles[static_cast<size_t>(c)])));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& fields = rows[static_cast<size_t>(r)];
        for (int c = 0; c < static_cast<int>(fields.size()) && c < table_->columnCount(); ++c)
            table_->setItem(r, c, cell(fields[static_cast<size_t>(c)]));
        // The name's cell carries the region's colour.
        if (QTableWidgetItem* name = table_->item(r, 0); name && static_cast<size_t>(r) < form_.table().rows.size()) {
            QPixmap swatch(12, 12);
            swatch.fill(QColor(QString::fromStdString(form_.table().rows[static_cast<size_t>(r)].color)));
            name->setIcon(QIcon(swatch));
        }
    }
    // The figures that were not asked for stand at their "off" values in
    // the CSV; the window leaves them out.
    const AnalysisSettings& settings = form_.table().settings;
    for (int c = 0; c < static_cast<int>(titles.size()); ++c) {
        const std::string& title = titles[static_cast<size_t>(c)];
        if ((title == "criterion_percentage" && !settings.criterion_enabled) ||
            (title == "percentile_ratio" && !settings.percentile_enabled))
            table_->setColumnHidden(c, true);
    }
    table_->resizeColumnsToContents();
    if (row_ >= 0 && row_ < table_->rowCount()) table_->setCurrentCell(row_, 0);
}

void RegionTableWindow::on_row(int row) {
    if (row == row_) return;
    row_ = row;
    const auto& rows = form_.rows();
    caption_->setText(row >= 0 && static_cast<size_t>(row) < rows.size() && !rows[static_cast<size_t>(row)].empty()
                          ? "Histogram of " + QString::fromStdString(rows[static_cast<size_t>(row)][0])
                          : QString());
    // The histogram is made here rather than in the paint, which may not
    // pump the event loop while its programs run.
    if (row >= 0) form_.row_with_histogram(static_cast<size_t>(row));
    histogram_->update();
}
