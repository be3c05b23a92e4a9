#include "stringgridmodel.h"

StringGridModel::StringGridModel(int columns, int rows, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), headers_(columns),
      rows_(static_cast<std::size_t>(rows), QStringList(columns)) {}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || !inside(index.column(), index.row()))
        return {};
    return rows_[static_cast<std::size_t>(index.row())][index.column()];
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columns_) {
        if (role == Qt::DisplayRole)
            return headers_[section];
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString StringGridModel::header(int column) const {
    return column >= 0 && column < columns_ ? headers_[column] : QString();
}

void StringGridModel::setHeader(int column, const QString& text) {
    if (column < 0 || column >= columns_ || headers_[column] == text)
        return;
    headers_[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString StringGridModel::cell(int column, int row) const {
    return inside(column, row) ? rows_[static_cast<std::size_t>(row)][column] : QString();
}

void StringGridModel::setCell(int column, int row, const QString& text) {
    if (!inside(column, row))
        return;
    QString& target = rows_[static_cast<std::size_t>(row)][column];
    if (target == text)
        return;
    target = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void StringGridModel::appendRow() {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.emplace_back(columns_);
    endInsertRows();
}

bool StringGridModel::inside(int column, int row) const {
    return column >= 0 && column < columns_ && row >= 0 && row < rowCount();
}
