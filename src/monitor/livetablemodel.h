#pragma once
#include "readingstore.h"
#include <QAbstractTableModel>
#include <QStringList>

// The live table StringGridD as a view of the reading store: the ten columns of the quantity set, one row
// per reading and an empty last row, as the grid always has one. Texts are made when a row is painted.
class LiveTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LiveTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    QString header(int column) const;
    void setHeader(int column, const QString& text);
    // The text of a cell, row 0 being the first reading; empty for the last row and outside the table.
    QString cell(int column, int row) const;

    // Appends a reading to the store and shows it in the row that was the empty last one.
    void append(const Reading& reading);
    const ReadingStore& store() const { return store_; }

    // The text of a stored value: its displayed form, or "--" where there is no value.
    static QString valueText(const Reading& reading, Reading::Column column);
    inline static const QString NoValueText = QStringLiteral("--");

private:
    ReadingStore store_;
    QStringList headers_;
};
