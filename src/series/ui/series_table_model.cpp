#include "series/ui/series_table_model.h"


void SeriesTableModel::reset(const QStringList& columns) {
    beginResetModel();
    columns_ = columns;
    rows_.clear();
    endResetModel();
}

void SeriesTableModel::append_row(const QStringList& cells, const QString& picture) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.push_back({cells, picture});
    endInsertRows();
}

QString SeriesTableModel::picture(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return rows_[static_cast<size_t>(row)].picture;
}

QString SeriesTableModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount()) return {};
    const QStringList& cells = rows_[static_cast<size_t>(row)].cells;
    return column >= 0 && column < cells.size() ? cells[column] : QString();
}

int SeriesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SeriesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SeriesTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return cell(index.row(), index.column());
    if (role == Qt::ToolTipRole) return picture(index.row());
    if (role == Qt::TextAlignmentRole && index.column() > 2)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SeriesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return section < columns_.size() ? columns_[section] : QVariant();
    return section + 1;
}
