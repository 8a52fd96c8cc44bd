#include "regions/ui/region_table_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/histogram_picture.h"
#include "analysis/ui/histogram_frame.h"
#include "desktop/ui/control_ids.h"
#include "regions/region_table_form.h"

namespace {

// The CSV's column names, spaced for a person.
QString title_text(const std::string& title) { return QString::fromStdString(title).replace('_', ' '); }

}  // namespace

RegionTableWindow::RegionTableWindow(QWidget* parent, RegionTableForm& form)
    : QWidget(parent, Qt::Window), form_(form) {
    setObjectName(id_name(region_table_ids::window));
    setWindowTitle("Region Table");
    setAttribute(Qt::WA_DeleteOnClose);

    const auto& titles = form_.titles();
    const auto& rows = form_.rows();
    table_ = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(titles.size()), this);
    table_->setObjectName(id_name(region_table_ids::table));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->setVisible(false);
    for (int c = 0; c < static_cast<int>(titles.size()); ++c)
        table_->setHorizontalHeaderItem(c, new QTableWidgetItem(title_text(titles[static_cast<size_t>(c)])));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& fields = rows[static_cast<size_t>(r)];
        for (int c = 0; c < static_cast<int>(fields.size()) && c < table_->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(fields[static_cast<size_t>(c)]));
            if (c > 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
        // The name's cell carries the region's colour.
        if (QTableWidgetItem* name = table_->item(r, 0); name && static_cast<size_t>(r) < form_.table().rows.size()) {
            QPixmap swatch(12, 12);
            swatch.fill(QColor(QString::fromStdString(form_.table().rows[static_cast<size_t>(r)].color)));
            name->setIcon(QIcon(swatch));
        }
    }
    table_->resizeColumnsToContents();
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

    auto* save = new QPushButton("Save &CSV...", this);
    save->setObjectName(id_name(region_table_ids::save));
    connect(save, &QPushButton::clicked, this, [this] { form_.on_save_csv(); });
    auto* close = new QPushButton("Close", this);
    close->setObjectName(id_name(region_table_ids::close));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(caption_, 1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(histogram_);
    layout->addLayout(buttons);
    resize(900, 520);
    if (!rows.empty()) table_->setCurrentCell(0, 0);
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
