#include "toolkit/windowedchart.h"
#include <QMouseEvent>
#include <QRubberBand>
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {
// An axis cannot show an empty or reversed range: such a request is widened around its middle.
std::pair<double, double> usableRange(double lo, double hi) {
    if (lo > hi)
        std::swap(lo, hi);
    if (!(hi > lo)) {
        lo -= 0.5;
        hi += 0.5;
    }
    return {lo, hi};
}

bool tiny(QPoint delta) {
    return std::abs(delta.x()) < WindowedChartView::DragThreshold &&
           std::abs(delta.y()) < WindowedChartView::DragThreshold;
}
} // namespace

WindowedChartView::WindowedChartView(QWidget* parent)
    : QChartView(parent), axisX_(new QValueAxis), axisY_(new QValueAxis) {
    // Zoom and pan are ours: the view's own rubber band would zoom without refeeding.
    setRubberBand(QChartView::NoRubberBand);
    axisX_->setVisible(false);
    axisY_->setVisible(false);
    axisX_->setRange(normalXLo_, normalXHi_);
    axisY_->setRange(normalYLo_, normalYHi_);
    chart()->addAxis(axisX_, Qt::AlignBottom);
    chart()->addAxis(axisY_, Qt::AlignLeft);
}

QLineSeries* WindowedChartView::addFeed(QLineSeries* series, Feed feed) {
    chart()->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
    feeds_.push_back({series, std::move(feed)});
    // A hidden series is not fed (a chart may hold several histories and show one); it catches up
    // when it is shown.
    connect(series, &QAbstractSeries::visibleChanged, this, [this, series] {
        if (series->isVisible())
            refeed();
    });
    if (autoX_ && xFollowsNormal())
        fitXToFeeds(); // a refit refetches every series, since the new one may widen the range
    else
        feedSeries(feeds_.back(), axisX_->min() - FeedMargin, axisX_->max() + FeedMargin);
    return series;
}

void WindowedChartView::setYRange(double lo, double hi) {
    std::tie(normalYLo_, normalYHi_) = usableRange(lo, hi);
    axisY_->setRange(normalYLo_, normalYHi_);
}

void WindowedChartView::showXWindow(double xMin, double xMax) {
    autoX_ = false;
    std::tie(normalXLo_, normalXHi_) = usableRange(xMin, xMax);
    axisX_->setRange(normalXLo_, normalXHi_);
    refeed();
}

bool WindowedChartView::xFollowsNormal() const {
    return axisX_->min() == normalXLo_ && axisX_->max() == normalXHi_;
}

bool WindowedChartView::isZoomed() const {
    return !xFollowsNormal() || axisY_->min() != normalYLo_ || axisY_->max() != normalYHi_;
}

void WindowedChartView::refeed() {
    if (autoX_ && xFollowsNormal()) {
        fitXToFeeds();
        return;
    }
    const double from = axisX_->min() - FeedMargin;
    const double to = axisX_->max() + FeedMargin;
    for (const Fed& fed : feeds_)
        feedSeries(fed, from, to);
}

void WindowedChartView::feedSeries(const Fed& fed, double xFrom, double xTo) {
    if (!fed.series || !fed.series->isVisible())
        return;
    QList<QPointF> points;
    points.reserve(fed.series->count() + 2);
    fed.feed(xFrom, xTo, points);
    // One replace, never append: every append to a series redraws over all its points.
    fed.series->replace(points);
}

void WindowedChartView::fitXToFeeds() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    double lo = inf, hi = -inf;
    for (const Fed& fed : feeds_) {
        feedSeries(fed, -inf, inf);
        if (fed.series && fed.series->isVisible() && fed.series->count() > 0) {
            lo = std::min(lo, fed.series->at(0).x());
            hi = std::max(hi, fed.series->at(fed.series->count() - 1).x());
        }
    }
    if (lo > hi)
        return; // nothing to fit to: the axis keeps its range
    std::tie(normalXLo_, normalXHi_) = usableRange(lo, hi);
    axisX_->setRange(normalXLo_, normalXHi_);
}

WindowedChartView::Range WindowedChartView::currentRange() const {
    return {axisX_->min(), axisX_->max(), axisY_->min(), axisY_->max()};
}

void WindowedChartView::setRange(const Range& range) {
    const bool xChanged = range.xLo != axisX_->min() || range.xHi != axisX_->max();
    axisY_->setRange(range.yLo, range.yHi);
    axisX_->setRange(range.xLo, range.xHi);
    if (xChanged)
        refeed();
}

QRectF WindowedChartView::plotInViewport() const {
    return viewportTransform().mapRect(chart()->mapRectToScene(chart()->plotArea()));
}

void WindowedChartView::zoomTo(QPoint from, QPoint to) {
    const QPoint delta = to - from;
    if (delta.x() <= -DragThreshold || delta.y() <= -DragThreshold) {
        restoreNormalView();
        return;
    }
    const QRectF plot = plotInViewport();
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    // Only the part of the dragged rectangle that lies on the plot counts.
    const QRectF rect = QRectF(QPointF(from), QPointF(to)).normalized() & plot;
    Range range = currentRange();
    const Range old = range;
    if (rect.width() >= DragThreshold) {
        const double span = old.xHi - old.xLo;
        range.xLo = old.xLo + (rect.left() - plot.left()) / plot.width() * span;
        range.xHi = old.xLo + (rect.right() - plot.left()) / plot.width() * span;
    }
    if (rect.height() >= DragThreshold) {
        const double span = old.yHi - old.yLo;
        range.yHi = old.yHi - (rect.top() - plot.top()) / plot.height() * span;
        range.yLo = old.yHi - (rect.bottom() - plot.top()) / plot.height() * span;
    }
    setRange(range);
}

void WindowedChartView::restoreNormalView() {
    setRange({normalXLo_, normalXHi_, normalYLo_, normalYHi_});
}

void WindowedChartView::panTo(QPoint pos) {
    const QRectF plot = plotInViewport();
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    const QPoint delta = pos - pressPos_;
    // The plot follows the cursor: dragging to the right brings earlier X into view.
    const double dx = -delta.x() / plot.width() * (pressRange_.xHi - pressRange_.xLo);
    const double dy = delta.y() / plot.height() * (pressRange_.yHi - pressRange_.yLo);
    setRange({pressRange_.xLo + dx, pressRange_.xHi + dx, pressRange_.yLo + dy, pressRange_.yHi + dy});
}

void WindowedChartView::mousePressEvent(QMouseEvent* event) {
    if (drag_ != Drag::None) {
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
        QChartView::mousePressEvent(event);
        return;
    }
    drag_ = event->button() == Qt::LeftButton ? Drag::Zoom : Drag::Pan;
    dragPastThreshold_ = false;
    pressPos_ = event->position().toPoint();
    pressRange_ = currentRange();
    event->accept();
}

void WindowedChartView::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::None) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (!dragPastThreshold_ && tiny(pos - pressPos_)) {
        event->accept();
        return;
    }
    dragPastThreshold_ = true;
    if (drag_ == Drag::Zoom) {
        if (!band_)
            band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
        band_->setGeometry(QRect(pressPos_, pos).normalized());
        band_->show();
    } else {
        viewport()->setCursor(Qt::ClosedHandCursor);
        panTo(pos);
    }
    event->accept();
}

void WindowedChartView::mouseReleaseEvent(QMouseEvent* event) {
    const bool ends = (drag_ == Drag::Zoom && event->button() == Qt::LeftButton) ||
                      (drag_ == Drag::Pan && event->button() == Qt::RightButton);
    if (drag_ == Drag::None) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (!ends)
        return;
    const Drag drag = drag_;
    drag_ = Drag::None;
    const QPoint pos = event->position().toPoint();
    if (band_)
        band_->hide();
    viewport()->unsetCursor();
    // A drag that came back to where it started counts as a click only if it never went anywhere.
    if (tiny(pos - pressPos_) && !(drag == Drag::Pan && dragPastThreshold_))
        return;
    if (drag == Drag::Zoom)
        zoomTo(pressPos_, pos);
    else
        panTo(pos);
}

WindowedChartView::Feed IndexedFeed(std::function<qsizetype()> count,
                                    std::function<double(qsizetype)> valueAt) {
    return [count = std::move(count), valueAt = std::move(valueAt)](double xFrom, double xTo,
                                                                    QList<QPointF>& out) {
        if (!(xFrom <= xTo)) // also refuses NaN bounds, which std::max and std::min would pass on
            return;
        const qsizetype n = count();
        const double first = std::max(0.0, std::ceil(xFrom));
        const double last = std::min(double(n - 1), std::floor(xTo));
        if (n <= 0 || first > last)
            return;
        out.reserve(out.size() + qsizetype(last - first) + 1);
        for (qsizetype i = qsizetype(first); i <= qsizetype(last); ++i)
            out.append(QPointF(double(i), valueAt(i)));
    };
}
