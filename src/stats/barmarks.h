#pragma once
#include <QObject>
#include <QRectF>
#include <QStringList>
#include <vector>

class QAbstractBarSeries;
class QBarSet;
class QChart;
class QGraphicsRectItem;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;

// Marks over the bars of one bar set: a small framed text above each bar on a short leader line, as
// chart marks are drawn. Qt's own bar labels can only print the bar's value, and these texts are the
// window's (a share in percent). The marks follow the plot area; after changing an axis call place().
class BarMarks : public QObject {
    Q_OBJECT
public:
    // Owned by the chart, as are the marks' items.
    BarMarks(QChart* chart, QAbstractBarSeries* series, QBarSet* set);

    // One text per bar, in bar order; an empty list removes every mark.
    void setTexts(const QStringList& texts);
    QStringList texts() const { return texts_; }
    // The frame of a bar's mark in the chart's coordinates (empty without a mark).
    QRectF markRect(int bar) const;
    void place();

private:
    struct Mark {
        QGraphicsLineItem* leader;
        QGraphicsRectItem* box;
        QGraphicsSimpleTextItem* text;
    };
    void clear();

    QChart* chart_;
    QAbstractBarSeries* series_;
    QBarSet* set_;
    QStringList texts_;
    std::vector<Mark> marks_;
};
