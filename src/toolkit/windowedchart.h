#pragma once
#include <QChartView>
#include <QLineSeries>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QValueAxis>
#include <functional>
#include <vector>

class QRubberBand;

// A chart view over histories far longer than what it shows. Its line series never hold the whole
// history: each is fed by a function that supplies the points of an X range, and is refed with the
// points of the visible X range (plus FeedMargin either side, so that the lines run to the edges)
// whenever that range changes. A refeed costs O(points in the window) per series, whatever the length
// of the history, and hands each series its points in one QLineSeries::replace. Hidden series are not
// fed (they keep what they last held); showing one feeds it at once.
//
// Mouse, as the user instructions describe it:
// - left-button drag from top left to bottom right: the dragged rectangle fills the plot (both axes;
//   a side shorter than DragThreshold pixels leaves that axis as it is);
// - left-button drag leftwards or upwards: back to the normal view (the owner's X window, the Y range
//   of setYRange);
// - right-button drag: pans both axes;
// - a click, or a drag shorter than DragThreshold pixels, changes nothing.
//
// X axis: automatic until the first showXWindow — every refeed then asks each visible series' feed for
// all its points (X in [-inf, +inf]) and fits the X axis to them, which is meant for short histories. An owner with a
// long history calls showXWindow and stays in control of the window from then on.
//
// Both axes are hidden QValueAxis objects (bottom and left), attached to every series added through
// addFeed; show them with axisX()->setVisible(true) where a chart wants them. Do not replace the chart
// with setChart: the axes and feeds live in this one. Usable as a promoted widget in Designer forms.
class WindowedChartView : public QChartView {
    Q_OBJECT
public:
    // Appends the points with X in [xFrom, xTo], in ascending X.
    using Feed = std::function<void(double xFrom, double xTo, QList<QPointF>& out)>;
    static constexpr double FeedMargin = 1.0;
    static constexpr int DragThreshold = 5;

    explicit WindowedChartView(QWidget* parent = nullptr);

    // Takes the series: adds it to the chart, attaches both axes and feeds it for the current range.
    QLineSeries* addFeed(QLineSeries* series, Feed feed);
    // The vertical range of the normal view; also applied at once, zoomed or not.
    void setYRange(double lo, double hi);
    // The owner's window: sets the X range and refeeds. A zoomed or panned Y range stays as it is.
    void showXWindow(double xMin, double xMax);
    // Refetches every series for the current X range, e.g. after the history has grown.
    void refeed();
    // The view differs from the normal one (zoomed or panned).
    bool isZoomed() const;

    QValueAxis* axisX() const { return axisX_; }
    QValueAxis* axisY() const { return axisY_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Fed {
        QPointer<QLineSeries> series;
        Feed feed;
    };
    struct Range {
        double xLo, xHi, yLo, yHi;
    };
    enum class Drag { None, Zoom, Pan };

    QRectF plotInViewport() const;
    Range currentRange() const;
    void setRange(const Range& range);
    bool xFollowsNormal() const;
    void feedSeries(const Fed& fed, double xFrom, double xTo);
    void fitXToFeeds();
    void zoomTo(QPoint from, QPoint to);
    void restoreNormalView();
    void panTo(QPoint pos);

    QValueAxis* axisX_;
    QValueAxis* axisY_;
    std::vector<Fed> feeds_;
    bool autoX_ = true;
    double normalXLo_ = 0, normalXHi_ = 1, normalYLo_ = 0, normalYHi_ = 1;

    Drag drag_ = Drag::None;
    bool dragPastThreshold_ = false;
    QPoint pressPos_;
    Range pressRange_{};
    QRubberBand* band_ = nullptr;
};

// A feed over values at X = 0, 1, 2, ... (count() of them), read through valueAt(index).
WindowedChartView::Feed IndexedFeed(std::function<qsizetype()> count,
                                    std::function<double(qsizetype)> valueAt);
