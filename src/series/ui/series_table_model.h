#pragma once
// The series window's table: one row per picture, the CSV's columns with the
// CSV's own texts, so what the window shows is what "Save CSV..." writes.
// Each row remembers its picture's path for double clicks.

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

class SeriesTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Starts afresh with these columns and no rows.
    void reset(const QStringList& columns);
    void append_row(const QStringList& cells, const QString& picture);

    QString picture(int row) const;
    const QStringList& columns() const { return columns_; }
    QString cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QStringList cells;
        QString picture;
    };
    QStringList columns_;
    std::vector<Row> rows_;
};
