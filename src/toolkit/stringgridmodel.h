#pragma once
#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

// A grid of texts for a QTableView, addressed like the old string grids by column and row. The fixed
// header row is the view's horizontal header; data rows are counted from 0 below it. Rows are only
// ever appended: the grids of this program grow and are never cleared.
class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StringGridModel(int columns, int rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    QString header(int column) const;
    void setHeader(int column, const QString& text);
    // Empty for a cell outside the grid.
    QString cell(int column, int row) const;
    // Ignored for a cell outside the grid.
    void setCell(int column, int row, const QString& text);
    void appendRow();

private:
    bool inside(int column, int row) const;

    int columns_;
    QStringList headers_;
    std::vector<QStringList> rows_;
};
