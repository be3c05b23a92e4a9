#include "stats/barmarks.h"
#include <QAbstractBarSeries>
#include <QBarSet>
#include <QBrush>
#include <QChart>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>

namespace {
constexpr qreal LeaderLength = 8;
constexpr qreal Padding = 2;
const QColor MarkBackground(255, 255, 225); // the pale yellow of tooltips and chart marks
} // namespace

BarMarks::BarMarks(QChart* chart, QAbstractBarSeries* series, QBarSet* set)
    : QObject(chart), chart_(chart), series_(series), set_(set) {
    connect(chart_, &QChart::plotAreaChanged, this, &BarMarks::place);
}

void BarMarks::clear() {
    for (const Mark& m : marks_) {
        delete m.leader;
        delete m.box; // takes its text along
    }
    marks_.clear();
}

void BarMarks::setTexts(const QStringList& texts) {
    clear();
    texts_ = texts;
    QFont font = chart_->font();
    font.setPixelSize(11);
    for (const QString& t : texts_) {
        Mark m{};
        m.leader = new QGraphicsLineItem(chart_);
        m.leader->setPen(QPen(Qt::black, 1));
        m.box = new QGraphicsRectItem(chart_);
        m.box->setPen(QPen(Qt::black, 1));
        m.box->setBrush(MarkBackground);
        m.text = new QGraphicsSimpleTextItem(t, m.box);
        m.text->setFont(font);
        // Above the bars and their axes.
        m.leader->setZValue(100);
        m.box->setZValue(101);
        marks_.push_back(m);
    }
    place();
}

void BarMarks::place() {
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        const Mark& m = marks_[i];
        const qreal value = static_cast<int>(i) < set_->count() ? set_->at(static_cast<int>(i)) : 0.0;
        const QPointF top = chart_->mapToPosition(QPointF(static_cast<qreal>(i), value), series_);
        const QRectF textRect = m.text->boundingRect();
        const qreal w = textRect.width() + 2 * Padding;
        const qreal h = textRect.height() + 2 * Padding;
        const qreal bottom = top.y() - LeaderLength;
        m.leader->setLine(top.x(), top.y(), top.x(), bottom);
        m.box->setRect(0, 0, w, h);
        m.box->setPos(top.x() - w / 2, bottom - h);
        m.text->setPos(Padding, Padding);
    }
}

QRectF BarMarks::markRect(int bar) const {
    if (bar < 0 || bar >= static_cast<int>(marks_.size()))
        return {};
    const Mark& m = marks_[static_cast<std::size_t>(bar)];
    return m.box->mapRectToParent(m.box->rect());
}
