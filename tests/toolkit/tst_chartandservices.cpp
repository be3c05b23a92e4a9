// The clock and the beeper behind their interfaces, and the windowed chart view with its mouse zoom and
// pan. No sound card is needed: the beeper plays into devices defined in ALSA configuration text.
#include "toolkit/beeper.h"
#include "toolkit/lastrowfollower.h"
#include "toolkit/timesource.h"
#include "toolkit/windowedchart.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsLayout>
#include <QLocale>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestTimeSource : public QObject {
    Q_OBJECT
private slots:
    void longTimeText_data() {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning") << QTime(8, 5, 7) << "08:05:07";
        QTest::newRow("midnight") << QTime(0, 0, 0) << "00:00:00";
        QTest::newRow("one pm") << QTime(13, 0, 0) << "13:00:00";
        QTest::newRow("milliseconds cut") << QTime(23, 59, 59, 999) << "23:59:59";
        QTest::newRow("invalid") << QTime() << "";
    }
    void longTimeText() {
        QFETCH(QTime, time);
        QFETCH(QString, text);
        // A 12-hour locale must not turn 13:00 into 1:00.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString written = LongTimeText(time);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(written, text);
    }

    void clocks() {
        FakeTimeSource fake;
        fake.Set(QDateTime(QDate(2024, 3, 10), QTime(23, 59, 30)));
        fake.Advance(45);
        QCOMPARE(fake.Now(), QDateTime(QDate(2024, 3, 11), QTime(0, 0, 15)));
        fake.Advance(-15);
        QCOMPARE(static_cast<const TimeSource&>(fake).Now(), QDateTime(QDate(2024, 3, 11), QTime(0, 0)));

        const QDateTime before = QDateTime::currentDateTime();
        const QDateTime now = SystemTimeSource().Now();
        QVERIFY(before <= now && now <= QDateTime::currentDateTime());
    }
};

namespace {
// A device named "tone" that writes its samples raw into a file (or FIFO), over the null device.
std::string fileDevice(const QString& path) {
    return "pcm.tone { type file slave.pcm { type null } format raw file \"" + path.toStdString() + "\" }";
}

qint64 beepTime(Beeper& beeper, int hz, int ms) {
    QElapsedTimer clock;
    clock.start();
    beeper.Beep(hz, ms);
    return clock.elapsed();
}
} // namespace

class TestBeeper : public QObject {
    Q_OBJECT
private slots:
    void recordingBeeperKeepsTheCalls() {
        RecordingBeeper beeper;
        static_cast<Beeper&>(beeper).Beep(1000, 500);
        beeper.Beep(440, 20);
        QCOMPARE(beeper.calls, (std::vector<std::pair<int, int>>{{1000, 500}, {440, 20}}));
    }

    void systemBeeperReturnsSoon() {
        const qint64 ms = beepTime(*MakeSystemBeeper(), 1000, 500);
        qInfo("Beep(1000, 500) on this machine: %lld ms", ms);
        QVERIFY2(ms < 1500, qPrintable(QString::number(ms)));
    }

    void missingDeviceFailsAtOnce() {
        AlsaBeeper beeper("zevadav_no_such_device");
        QVERIFY(beepTime(beeper, 1000, 500) < 400);
        QCOMPARE(beeper.lastOutcome(), AlsaBeeper::Outcome::NoDevice);
        beeper.Beep(0, 500);
        QCOMPARE(beeper.lastOutcome(), AlsaBeeper::Outcome::None);
    }

    void toneIsASineWithFadesAndASilentTail() {
        QTemporaryDir dir;
        AlsaBeeper beeper("tone", fileDevice(dir.filePath("tone.raw")));
        beeper.Beep(1000, 200);
        QCOMPARE(beeper.lastOutcome(), AlsaBeeper::Outcome::Played);
        QFile file(dir.filePath("tone.raw"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto* s = reinterpret_cast<const int16_t*>(bytes.constData());
        const int tone = 48000 / 5, tail = 480, ms = 48; // frames at 48 kHz
        QCOMPARE(bytes.size(), 2 * (tone + tail));
        auto peak = [&](int from, int to) {
            int p = 0;
            for (int i = from; i < to; ++i)
                p = std::max(p, std::abs(int(s[i])));
            return p;
        };
        int crossings = 0;
        for (int i = 1; i < tone; ++i)
            crossings += (s[i - 1] < 0) != (s[i] < 0);
        QVERIFY2(std::abs(crossings - 400) <= 2, qPrintable(QString::number(crossings))); // 200 periods
        const int full = peak(5 * ms, tone - 5 * ms);
        QVERIFY(full > 15000 && full < 17000);
        QVERIFY(peak(0, ms) <= full / 5 + 1); // the fades keep the first and last millisecond quiet
        QVERIFY(peak(tone - ms, tone) <= full / 5 + 1);
        QCOMPARE(peak(tone, tone + tail), 0);
    }

    // Opening a FIFO that nobody reads blocks inside ALSA, as a wedged driver would.
    void stuckDeviceIsGivenUpOnAtTheDeadline() {
        QTemporaryDir dir;
        const QByteArray fifo = dir.filePath("stuck").toLocal8Bit();
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        AlsaBeeper beeper("tone", fileDevice(QString::fromLocal8Bit(fifo)));
        const qint64 ms = beepTime(beeper, 1000, 100);
        QVERIFY2(ms >= 100 + AlsaBeeper::GraceMs - 20 && ms < 100 + AlsaBeeper::GraceMs + 300,
                 qPrintable(QString::number(ms)));
        QCOMPARE(beeper.lastOutcome(), AlsaBeeper::Outcome::Stalled);
        // While the stuck worker holds the device, beeps are skipped without waiting.
        QVERIFY(beepTime(beeper, 1000, 100) < 50);
        QCOMPARE(beeper.lastOutcome(), AlsaBeeper::Outcome::Busy);
        // Once the device comes loose, the worker ends by itself and the beeper plays again.
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(!beeper.busy(), 3000);
        beeper.Beep(1000, 50);
        ::close(reader);
        QCOMPARE(beeper.lastOutcome(), AlsaBeeper::Outcome::Played);
    }
};

namespace {
struct Calls {
    int count = 0;
    double from = 0, to = 0;
};

void prepare(WindowedChartView& view) {
    view.resize(400, 300);
    view.chart()->legend()->hide();
    view.chart()->setMargins({});
    view.chart()->layout()->setContentsMargins(0, 0, 0, 0);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(view.chart()->plotArea().width() > 300);
}

// A point of the plot, in fractions of its width and height from its top left corner.
QPoint at(const WindowedChartView& view, double fx, double fy) {
    const QRectF plot = view.chart()->plotArea();
    return QPointF(plot.left() + fx * plot.width(), plot.top() + fy * plot.height()).toPoint();
}

void drag(WindowedChartView& view, Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(view.viewport(), button, {}, from);
    QTest::mouseMove(view.viewport(), (from + to) / 2);
    QTest::mouseMove(view.viewport(), to);
    QTest::mouseRelease(view.viewport(), button, {}, to);
}
} // namespace

class TestWindowedChart : public QObject {
    Q_OBJECT
    std::vector<double> history_;
    Calls calls_;
    std::unique_ptr<WindowedChartView> view_;
    QLineSeries* a_ = nullptr;
    QLineSeries* b_ = nullptr;

    QValueAxis* x() const { return view_->axisX(); }
    QValueAxis* y() const { return view_->axisY(); }
    // Within two pixels' worth of value.
    bool nearX(double v, double want) const {
        return std::abs(v - want) < 2 * (x()->max() - x()->min()) / 400;
    }
    bool nearY(double v, double want) const {
        return std::abs(v - want) < 2 * (y()->max() - y()->min()) / 300;
    }
    // Both series hold exactly the points of the visible range widened by the margin, in order.
    void checkFed() const {
        const double first = std::max(0.0, std::ceil(x()->min() - 1));
        const double last = std::min(double(history_.size() - 1), std::floor(x()->max() + 1));
        for (const QLineSeries* s : {a_, b_}) {
            QCOMPARE(s->count(), qsizetype(last - first + 1));
            for (qsizetype i = 0; i < s->count(); ++i)
                QCOMPARE(s->at(i).x(), first + double(i));
        }
        QCOMPARE(a_->at(0).y(), history_[size_t(first)]);
    }

private slots:
    void init() {
        history_.resize(100000);
        for (size_t i = 0; i < history_.size(); ++i)
            history_[i] = double(i % 100);
        calls_ = {};
        view_ = std::make_unique<WindowedChartView>();
        prepare(*view_);
        // The window first: with the X axis still automatic, a feed would be asked for all its points.
        view_->setYRange(0, 100);
        view_->showXWindow(99899, 99999);
        auto count = [this] { return qsizetype(history_.size()); };
        auto feed = IndexedFeed(count, [this](qsizetype i) { return history_[size_t(i)]; });
        a_ = view_->addFeed(new QLineSeries, [this, feed](double from, double to, QList<QPointF>& out) {
            calls_ = {calls_.count + 1, from, to};
            feed(from, to, out);
        });
        b_ = view_->addFeed(new QLineSeries, IndexedFeed(count, [](qsizetype) { return 1.0; }));
    }
    void cleanup() { view_.reset(); }

    void seriesHoldOnlyTheWindow() {
        for (QLineSeries* s : {a_, b_}) {
            QCOMPARE(s->attachedAxes(), (QList<QAbstractAxis*>{x(), y()}));
            QCOMPARE(s->count(), 102);
        }
        QVERIFY(!x()->isVisible() && !y()->isVisible());
        QCOMPARE(x()->alignment(), Qt::AlignBottom);
        QCOMPARE(calls_.count, 1);
        QCOMPARE(calls_.from, 99898.0);
        QCOMPARE(calls_.to, 100000.0);
        checkFed();
        QVERIFY(!view_->isZoomed());

        QSignalSpy replaced(a_, &QXYSeries::pointsReplaced);
        QSignalSpy added(a_, &QXYSeries::pointAdded);
        history_.push_back(42);
        view_->showXWindow(99900, 100000);
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(added.count(), 0);
        checkFed();
        QCOMPARE(a_->at(a_->count() - 1), QPointF(100000, 42));
    }

    void automaticXFitsTheFeedsUntilAWindowIsSet() {
        WindowedChartView view;
        QList<double> data{3, 1, 4, 1, 5};
        QLineSeries* s = view.addFeed(new QLineSeries, [&](double from, double to, QList<QPointF>& out) {
            for (int i = 0; i < data.size(); ++i)
                if (i + 10 >= from && i + 10 <= to)
                    out.append(QPointF(i + 10, data[i]));
        });
        QCOMPARE(s->count(), 5);
        QCOMPARE(std::pair(view.axisX()->min(), view.axisX()->max()), std::pair(10.0, 14.0));
        data << 9 << 2;
        view.refeed();
        QCOMPARE(s->count(), 7);
        QCOMPARE(view.axisX()->max(), 16.0);
        view.showXWindow(12, 13);
        data << 6;
        view.refeed();
        QCOMPARE(s->count(), 4); // 11 to 14
        QCOMPARE(view.axisX()->max(), 13.0);
    }

    void aHiddenSeriesWaitsAndIsFedWhenShown() {
        b_->setVisible(false);
        QSignalSpy replaced(b_, &QXYSeries::pointsReplaced);
        history_.push_back(42);
        view_->showXWindow(99950, 100000);
        QCOMPARE(replaced.count(), 0); // not fed while hidden: it still holds the old window
        QCOMPARE(b_->at(0).x(), 99898.0);
        b_->setVisible(true);
        QCOMPARE(replaced.count(), 1);
        checkFed(); // both series hold the window shown now

        // With the X axis automatic, the fit follows the visible series only.
        WindowedChartView view;
        auto range = [](double first, double last) {
            return [first, last](double from, double to, QList<QPointF>& out) {
                for (double v = std::max(first, from); v <= std::min(last, to); ++v)
                    out.append(QPointF(v, 0));
            };
        };
        view.addFeed(new QLineSeries, range(0, 10));
        QLineSeries* wide = view.addFeed(new QLineSeries, range(-5, 20));
        QCOMPARE(std::pair(view.axisX()->min(), view.axisX()->max()), std::pair(-5.0, 20.0));
        wide->setVisible(false);
        view.refeed();
        QCOMPARE(std::pair(view.axisX()->min(), view.axisX()->max()), std::pair(0.0, 10.0));
        wide->setVisible(true);
        QCOMPARE(std::pair(view.axisX()->min(), view.axisX()->max()), std::pair(-5.0, 20.0));
    }

    void dragDownRightZoomsIntoTheRectangle() {
        drag(*view_, Qt::LeftButton, at(*view_, 0.25, 0.25), at(*view_, 0.75, 0.75));
        QVERIFY2(nearX(x()->min(), 99924) && nearX(x()->max(), 99974),
                 qPrintable(QString::number(x()->min())));
        QVERIFY2(nearY(y()->min(), 25) && nearY(y()->max(), 75), qPrintable(QString::number(y()->min())));
        QVERIFY(view_->isZoomed());
        QCOMPARE(calls_.count, 2);
        checkFed();
    }

    void dragBackRestoresTheNormalView_data() {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::newRow("up left") << QPointF(0.75, 0.75) << QPointF(0.25, 0.25);
        QTest::newRow("left") << QPointF(0.75, 0.5) << QPointF(0.25, 0.5);
        QTest::newRow("up right") << QPointF(0.25, 0.75) << QPointF(0.75, 0.25);
    }
    void dragBackRestoresTheNormalView() {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        drag(*view_, Qt::LeftButton, at(*view_, 0.1, 0.1), at(*view_, 0.3, 0.4));
        drag(*view_, Qt::RightButton, at(*view_, 0.5, 0.5), at(*view_, 0.6, 0.4));
        QVERIFY(view_->isZoomed() && a_->count() < 30);
        drag(*view_, Qt::LeftButton, at(*view_, from.x(), from.y()), at(*view_, to.x(), to.y()));
        QVERIFY(!view_->isZoomed());
        QCOMPARE(std::pair(x()->min(), x()->max()), std::pair(99899.0, 99999.0));
        QCOMPARE(std::pair(y()->min(), y()->max()), std::pair(0.0, 100.0));
        checkFed();
    }

    void clicksAndTinyDragsChangeNothing_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("move");
        QTest::newRow("left click") << Qt::LeftButton << QPoint(0, 0);
        QTest::newRow("left, 4 px back") << Qt::LeftButton << QPoint(-4, -4);
        QTest::newRow("right click") << Qt::RightButton << QPoint(0, 0);
        QTest::newRow("right, 4 px") << Qt::RightButton << QPoint(4, -4);
    }
    void clicksAndTinyDragsChangeNothing() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, move);
        drag(*view_, Qt::LeftButton, at(*view_, 0.2, 0.2), at(*view_, 0.6, 0.7));
        const auto before = std::tuple(x()->min(), x()->max(), y()->min(), y()->max(), calls_.count);
        drag(*view_, button, at(*view_, 0.5, 0.5), at(*view_, 0.5, 0.5) + move);
        QCOMPARE(std::tuple(x()->min(), x()->max(), y()->min(), y()->max(), calls_.count), before);
    }

    void rightDragPansBothAxesAndTheSeriesFollow() {
        QTest::mousePress(view_->viewport(), Qt::RightButton, {}, at(*view_, 0.5, 0.5));
        QTest::mouseMove(view_->viewport(), at(*view_, 0.625, 0.375));
        QVERIFY(nearX(x()->min(), 99899 - 12.5)); // the plot follows the cursor while the button is down
        checkFed();
        QTest::mouseMove(view_->viewport(), at(*view_, 0.75, 0.25));
        QTest::mouseRelease(view_->viewport(), Qt::RightButton, {}, at(*view_, 0.75, 0.25));
        // A quarter of the plot right and up: earlier X and lower Y come into view.
        QVERIFY(nearX(x()->min(), 99874) && nearX(x()->max(), 99974));
        QVERIFY2(nearY(y()->min(), -25) && nearY(y()->max(), 75), qPrintable(QString::number(y()->min())));
        QVERIFY(view_->isZoomed());
        checkFed();
    }

    void theOwnersWindowKeepsAZoomedVerticalRange() {
        drag(*view_, Qt::LeftButton, at(*view_, 0.2, 0.2), at(*view_, 0.6, 0.7));
        const auto zoomedY = std::pair(y()->min(), y()->max());
        view_->showXWindow(99900, 100000);
        QCOMPARE(std::pair(x()->min(), x()->max()), std::pair(99900.0, 100000.0));
        QCOMPARE(std::pair(y()->min(), y()->max()), zoomedY);
        QVERIFY(view_->isZoomed());
        checkFed();
        drag(*view_, Qt::LeftButton, at(*view_, 0.8, 0.8), at(*view_, 0.2, 0.2));
        QCOMPARE(std::tuple(x()->min(), y()->min(), y()->max()), std::tuple(99900.0, 0.0, 100.0));
        view_->setYRange(5, 5); // an empty range is widened, never handed to the axis as is
        QVERIFY(y()->max() > y()->min());
    }

    void aRemovedSeriesIsNoLongerFed() {
        view_->chart()->removeSeries(a_);
        delete a_;
        view_->showXWindow(1000, 1100);
        QCOMPARE(calls_.count, 1);
        QCOMPARE(b_->count(), 103);
    }

    void indexedFeedClipsToTheHistory_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<double>>("xs");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("everything") << -inf << inf << 4 << QList<double>{0, 1, 2, 3};
        QTest::newRow("fractions") << -3.5 << 2.8 << 4 << QList<double>{0, 1, 2};
        QTest::newRow("one point") << 2.0 << 2.0 << 4 << QList<double>{2};
        QTest::newRow("past the end") << 4.0 << 1e300 << 4 << QList<double>{};
        QTest::newRow("reversed") << 3.0 << 1.0 << 4 << QList<double>{};
        QTest::newRow("empty history") << -inf << inf << 0 << QList<double>{};
        QTest::newRow("not a number") << std::nan("") << 3.0 << 4 << QList<double>{};
    }
    void indexedFeedClipsToTheHistory() {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, count);
        QFETCH(QList<double>, xs);
        QList<QPointF> out{QPointF(-7, -7)}; // a feed appends
        IndexedFeed([count] { return qsizetype(count); },
                    [](qsizetype i) { return 10.0 * double(i); })(from, to, out);
        QList<QPointF> want{QPointF(-7, -7)};
        for (double v : xs)
            want << QPointF(v, 10 * v);
        QCOMPARE(out, want);
    }

    void linesAreDrawnOnHiddenAxesAndFollowTheZoom() {
        WindowedChartView view;
        prepare(view);
        view.chart()->setBackgroundBrush(Qt::white);
        for (auto [level, colour] : {std::pair(25.0, QColor(Qt::red)), std::pair(75.0, QColor(0, 255, 0))}) {
            auto* s = new QLineSeries;
            s->setPen(QPen(colour, 2));
            view.addFeed(s, IndexedFeed([] { return qsizetype(100); }, [level](qsizetype) { return level; }));
        }
        view.setYRange(0, 100);
        view.showXWindow(0, 99);
        auto red = [](QColor c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; };
        auto lime = [](QColor c) { return c.green() > 200 && c.red() < 90 && c.blue() < 90; };
        // Whether a line of that colour crosses the middle column within two pixels of the height fy.
        auto lineAt = [&](const QImage& image, double fy, auto colour) {
            const QPoint p = at(view, 0.5, fy);
            for (int row = p.y() - 2; row <= p.y() + 2; ++row)
                if (colour(image.pixelColor(p.x(), row)))
                    return true;
            return false;
        };
        QImage image = view.grab().toImage();
        QVERIFY(lineAt(image, 0.75, red) && lineAt(image, 0.25, lime) && !lineAt(image, 0.5, lime));
        int inked = 0; // nothing but the two lines: no axis lines, labels or grid
        for (int row = 0; row < image.height(); ++row)
            for (int col = 0; col < image.width(); ++col)
                inked += image.pixelColor(col, row) != QColor(Qt::white);
        QVERIFY2(inked <= 2 * 4 * image.width(), qPrintable(QString::number(inked)));

        // The upper half, enlarged: the lime line moves to the middle, the red one leaves the plot.
        drag(view, Qt::LeftButton, at(view, 0, 0), at(view, 1, 0.5));
        QCOMPARE(view.axisY()->min(), 50.0);
        image = view.grab().toImage();
        QVERIFY(lineAt(image, 0.5, lime) && !lineAt(image, 0.75, red) && !lineAt(image, 0.99, red));
    }
};

class TestLastRowFollower : public QObject {
    Q_OBJECT
    static bool atLastRow(const QTableView& view) {
        const QScrollBar* bar = view.verticalScrollBar();
        return bar->maximum() > 0 && bar->value() == bar->maximum();
    }

private slots:
    void aShownViewFollowsAHiddenOneCatchesUpWhenShown() {
        QStandardItemModel model(0, 2);
        QWidget window;
        QTableView view(&window);
        view.setModel(&model);
        view.resize(200, 150);
        auto* follower = new LastRowFollower(&view);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto add = [&](int rows) {
            for (int i = 0; i < rows; ++i)
                model.appendRow({new QStandardItem(QString::number(model.rowCount())), new QStandardItem});
            follower->rowsAdded();
        };
        add(50);
        QVERIFY(atLastRow(view));
        add(1);
        QVERIFY(atLastRow(view));

        view.hide();
        add(200); // hidden: not scrolled now...
        view.verticalScrollBar()->setValue(0);
        view.show(); // ...but as soon as it is shown again
        QTRY_VERIFY(atLastRow(view));
        QVERIFY(view.indexAt(QPoint(5, view.viewport()->height() - 5)).row() >= 240);

        // Shown through its window, too; and a view with nothing pending is left where the user put it.
        window.hide();
        add(10);
        window.show();
        QTRY_VERIFY(atLastRow(view));
        view.verticalScrollBar()->setValue(3);
        view.hide();
        view.show();
        QTest::qWait(20);
        QCOMPARE(view.verticalScrollBar()->value(), 3);
    }
};

// Four classes in one program; functions named on the command line pick the class that has them.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestTimeSource clock;
    TestBeeper beeper;
    TestWindowedChart chart;
    TestLastRowFollower follower;
    int failed = 0, ran = 0;
    for (QObject* tests : std::initializer_list<QObject*>{&clock, &beeper, &chart, &follower}) {
        bool has = true;
        for (int i = 1; i < argc; ++i) {
            const QByteArray arg(argv[i]);
            if (!arg.startsWith('-') && (i == 1 || argv[i - 1] != QByteArrayLiteral("-o")))
                has &= tests->metaObject()->indexOfMethod(arg.split(':').first() + "()") >= 0;
        }
        if (has) {
            failed += QTest::qExec(tests, argc, argv);
            ++ran;
        }
    }
    return ran ? failed : 1;
}

#include "tst_chartandservices.moc"
