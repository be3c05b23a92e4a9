#include "livetablemodel.h"
#include "toolkit/timesource.h"
#include "valuetext.h"
#include <QTime>

namespace {
constexpr int Columns = 1 + Reading::Count;
}

LiveTableModel::LiveTableModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int i = 0; i < Columns; ++i)
        headers_ << QString();
}

int LiveTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(store_.size()) + 1;
}

int LiveTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QString LiveTableModel::valueText(const Reading& reading, Reading::Column column) {
    return reading.has(column) ? TenthsText(reading.tenths[column]) : NoValueText;
}

QString LiveTableModel::cell(int column, int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= store_.size() || column < 0 || column >= Columns)
        return {};
    const Reading& r = store_.at(static_cast<std::size_t>(row));
    if (column == 0)
        return LongTimeText(QTime::fromMSecsSinceStartOfDay(r.secondOfDay * 1000));
    return valueText(r, static_cast<Reading::Column>(column - 1));
}

QVariant LiveTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cell(index.column(), index.row());
}

QVariant LiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 && section < Columns)
        return headers_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString LiveTableModel::header(int column) const {
    return column >= 0 && column < Columns ? headers_[column] : QString();
}

void LiveTableModel::setHeader(int column, const QString& text) {
    if (column < 0 || column >= Columns)
        return;
    headers_[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void LiveTableModel::append(const Reading& reading) {
    // The reading goes in above the empty last row, which stays last.
    const int row = static_cast<int>(store_.size());
    beginInsertRows({}, row, row);
    store_.append(reading);
    endInsertRows();
}
