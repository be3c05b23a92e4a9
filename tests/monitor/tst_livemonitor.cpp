// Live monitoring in the main window against the emulated meter: start and stop, the read cycle on the
// wire and on the screen, the alarms and the timed window, with a fake clock and a recording beeper.
#include "emulatedlink.h"
#include "monitor/formmain.h"
#include "monitor/livetablemodel.h"
#include "recordingsearch.h"
#include "settings/chartpoints.h"
#include "settings/formoptions.h"
#include "settings/maskedit.h"
#include "toolkit/beeper.h"
#include "toolkit/statuspanels.h"
#include "toolkit/timesource.h"
#include "toolkit/windowedchart.h"
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

namespace {
struct Rig : EmulatedLink {
    explicit Rig(MeterConfig config = {}) : EmulatedLink(config) {
        window = std::make_unique<TFMain>(*link, search);
        options = std::make_unique<TFOptions>(window->TimerInterval);
        window->SetOptionsWindow(options.get());
        clock.Set(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 37)));
        window->SetTimeSource(&clock);
        window->SetBeeper(&beeper);
        ports->clearEvents();
    }
    QString panel3() const { return window->StatusBar->panelText(TFMain::PanelMessage); }
    int probes() const {
        int n = 0;
        for (const auto& e : ports->events())
            n += e.kind == EmulatedPortBackend::Event::Kind::Write && e.byte == 0x37;
        return n;
    }
    QStringList labels() const {
        QStringList texts;
        for (QLabel* l : {window->Label25, window->Label26, window->Label23, window->Label21, window->Label22,
                          window->Label27, window->Label28, window->Label29, window->Label30})
            texts << l->text();
        return texts;
    }

    RecordingSearch search;
    std::unique_ptr<TFMain> window;
    std::unique_ptr<TFOptions> options;
    FakeTimeSource clock;
    RecordingBeeper beeper;
};

MeterConfig channels(int rh, int air, int globe) {
    MeterConfig c;
    c.rh = static_cast<std::uint16_t>(rh);
    c.airTemp = static_cast<std::int16_t>(air);
    c.globeTemp = static_cast<std::int16_t>(globe);
    return c;
}
} // namespace

class TestLiveMonitor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // --- start and stop

    void startStop_data() {
        QTest::addColumn<bool>("timedBox");
        QTest::addColumn<bool>("intervalOn");
        QTest::addColumn<bool>("periodOn");
        QTest::addColumn<bool>("meterAnswers");
        QTest::addColumn<bool>("intervalAfter");
        QTest::addColumn<bool>("periodAfter");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("panel");
        const QString kept = "(kept)";
        QTest::newRow("continuous start") << false << false << false << true << true << false << "Стоп"
                                          << "Чтение каналов";
        QTest::newRow("continuous start, silent")
            << false << false << false << false << false << false << "Старт"
            << "Нет отклика от прибора";
        QTest::newRow("continuous stop") << false << true << false << true << false << false << "Старт"
                                         << " ";
        QTest::newRow("continuous stop, silent")
            << false << true << false << false << false << false << "Старт"
            << " ";
        QTest::newRow("timed start") << true << false << false << true << false << true << "Стоп"
                                     << "Соединение прошло успешно, ожидание начала измерений ";
        QTest::newRow("timed start, silent") << true << false << false << false << false << false << "(kept)"
                                             << "Нет отклика от прибора...";
        QTest::newRow("timed stop") << true << true << true << true << false << false << "Старт" << kept;
        // The mode is the box's state at the press: a running continuous mode does not stop a timed start.
        QTest::newRow("timed start while continuous")
            << true << true << false << true << true << true << "Стоп"
            << "Соединение прошло успешно, ожидание начала измерений ";
        QTest::newRow("continuous start while waiting")
            << false << false << true << true << true << true << "Стоп"
            << "Чтение каналов";
    }
    void startStop() {
        QFETCH(bool, timedBox);
        QFETCH(bool, intervalOn);
        QFETCH(bool, periodOn);
        QFETCH(bool, meterAnswers);
        QFETCH(bool, intervalAfter);
        QFETCH(bool, periodAfter);
        QFETCH(QString, caption);
        QFETCH(QString, panel);
        MeterConfig config;
        config.silent = !meterAnswers;
        Rig rig(config);
        rig.options->CheckBoxTimer->setChecked(timedBox);
        if (intervalOn)
            rig.window->TimerInterval->start();
        if (periodOn)
            rig.window->TimerPeriod->start();
        rig.window->ButtonStartStop->setText("(kept)");
        rig.window->StatusBar->setPanelText(TFMain::PanelMessage, "(kept)");

        rig.window->ButtonStartStopClick();
        QCOMPARE(rig.window->TimerInterval->isActive(), intervalAfter);
        QCOMPARE(rig.window->TimerPeriod->isActive(), periodAfter);
        QCOMPARE(rig.window->ButtonStartStop->text(), caption);
        QCOMPARE(rig.panel3(), panel);
        // One presence probe per press, no command, the port closed again.
        QCOMPARE(rig.probes(), 1);
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
        QCOMPARE(rig.meter->transcript().size(), std::size_t{meterAnswers ? 2u : 1u});
    }

    // --- the read cycle

    void cycleOnTheWire() {
        Rig rig(channels(452, 231, 254));
        rig.window->ReadCycle();
        QStringList wire{"open /dev/ttyUSB0", "w 37", "r 37", "w A3", "r A3"};
        for (auto b : rig.meter->channelBytes(0)) {
            const QString hex = QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
            wire << "r " + hex << "w " + hex;
        }
        wire << "close";
        QCOMPARE(describe(rig.ports->events()).split('\n'), wire);
        QCOMPARE(rig.panel3(), QString("Чтение данных ..."));
    }

    void cycleShowsTheReading_data() {
        QTest::addColumn<int>("rh");
        QTest::addColumn<int>("air");
        QTest::addColumn<int>("globe");
        QTest::addColumn<QStringList>("labels"); // THC WBGT RH tв tш tвт tтр tрад W
        // RH and tв both zero: every derived quantity is 0 while tш shows its own value.
        QTest::newRow("guard") << 0 << 0 << 315
                               << QStringList{"0", "0", "0", "0", "31.5", "0", "0", "0", "0"};
        // tв from the bytes FF 9C; tш below it is shown as measured; no dew point without humidity.
        // By hand: tвт = 0.636·(−10) − 4·0.25 − 4.94 = −12.3; THC = (7·−12.3 + 3·−15)/10 = −13.11;
        // WBGT = (7·−12.3 + 2·−15 − 10)/10 = −12.61; the clamp makes tрад = tв and W = 0.
        QTest::newRow("negative air")
            << 0 << -100 << -150
            << QStringList{"-13.1", "-12.6", "0", "-10", "-15", "-12.3", "--", "-10", "0"};
    }
    void cycleShowsTheReading() {
        QFETCH(int, rh);
        QFETCH(int, air);
        QFETCH(int, globe);
        QFETCH(QStringList, labels);
        Rig rig(channels(rh, air, globe));
        rig.window->ReadCycle();
        QCOMPARE(rig.labels(), labels);
        const LiveTableModel* table = rig.window->GridD;
        QCOMPARE(table->rowCount(), 2); // the reading and the empty last row
        QCOMPARE(table->cell(0, 0), QString("14:05:37"));
        QCOMPARE(table->cell(1, 0), labels[0]);
        QCOMPARE(table->cell(7, 0), labels[6]);
        QCOMPARE(table->cell(5, 0), labels[4]);
        QCOMPARE(table->cell(0, 1), QString());
    }

    void liveTableIsAConsistentModel() {
        Rig rig(channels(452, 231, 254));
        QAbstractItemModelTester tester(rig.window->GridD,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int i = 0; i < 3; ++i) {
            rig.clock.Advance(3);
            rig.window->ReadCycle();
        }
        QCOMPARE(rig.window->GridD->rowCount(), 4);
        QCOMPARE(rig.window->GridD->cell(0, 2), QString("14:05:46"));
        QCOMPARE(rig.window->GridD->headerData(3, Qt::Horizontal).toString(), QString("RH,%"));
    }

    void chartsShowTheLastChartPointsReadings() {
        Rig rig(channels(452, 231, 254));
        rig.window->ReadCycle();
        for (WindowedChartView* chart : rig.window->LiveCharts()) {
            QCOMPARE(chart->axisX()->min(), -100.0);
            QCOMPARE(chart->axisX()->max(), 0.0);
        }
        ChartPoints = 150;
        for (int i = 0; i < 299; ++i)
            rig.window->ReadCycle();
        QCOMPARE(rig.window->GridD->store().size(), std::size_t{300});
        for (WindowedChartView* chart : rig.window->LiveCharts()) {
            QCOMPARE(chart->axisX()->min(), 149.0);
            QCOMPARE(chart->axisX()->max(), 299.0);
            for (QAbstractSeries* s : chart->chart()->series()) {
                const auto* line = static_cast<QLineSeries*>(s);
                // Fed only the visible window, however many readings the run holds.
                QVERIFY(line->count() >= 151 && line->count() <= 153);
                QCOMPARE(line->at(line->count() - 1).x(), 299.0);
            }
        }
        QCOMPARE(rig.window->LineSeries4->at(0).y(), 45.2);
        ChartPoints = 100;
    }

    void silentMeterStopsMonitoringAndChangesNothingElse_data() {
        QTest::addColumn<int>("silentAfter");
        QTest::newRow("no answer to the probe") << 1;
        QTest::newRow("silent after the probe") << 3;
    }
    void silentMeterStopsMonitoringAndChangesNothingElse() {
        QFETCH(int, silentAfter);
        MeterConfig config = channels(452, 231, 254);
        Rig rig(config);
        rig.window->ButtonStartStopClick(); // continuous monitoring on
        rig.window->TimerPeriod->start();
        rig.window->ReadCycle();
        const QStringList before = rig.labels();
        rig.meter->config().silentAfter = static_cast<long>(rig.meter->transcript().size()) / 2 + silentAfter;
        rig.window->ReadCycle();
        QCOMPARE(rig.panel3(), QString("Нет отклика от прибора"));
        QVERIFY(!rig.window->TimerInterval->isActive());
        QVERIFY(!rig.window->TimerPeriod->isActive());
        QCOMPARE(rig.window->ButtonStartStop->text(), QString("Старт"));
        QCOMPARE(rig.labels(), before);
        QCOMPARE(rig.window->GridD->rowCount(), 2);
        QCOMPARE(rig.window->LineSeries4->count(), 1);
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
    }

    // --- alarms

    void alarms_data() {
        QTest::addColumn<QString>("box");   // which quantities' boxes are checked: T, R, V
        QTest::addColumn<QString>("level"); // lower;upper for all three
        QTest::addColumn<bool>("beepBox");
        QTest::addColumn<int>("beeps");
        // Readings: tв 23.1, RH 45.2, tш 25.4.
        QTest::newRow("all levels at 0.0 cross") << "TRV"
                                                 << "0.0;0.0" << true << 3;
        QTest::newRow("no beep without the sound box") << "TRV"
                                                       << "0.0;0.0" << false << 0;
        QTest::newRow("upper equal counts") << "T"
                                            << "-50;23.1" << true << 1;
        QTest::newRow("lower equal counts") << "R"
                                            << "45.2;90" << true << 1;
        QTest::newRow("between the levels") << "TRV"
                                            << "0;60" << true << 0;
        QTest::newRow("box off") << ""
                                 << "0.0;0.0" << true << 0;
        QTest::newRow("text that is no number is not tested") << "T"
                                                              << "abc;xyz" << true << 0;
        QTest::newRow("the other level still is") << "T"
                                                  << "abc;20" << true << 1;
        QTest::newRow("comma taken as a point") << "V"
                                                << "0;25,4" << true << 1;
    }
    void alarms() {
        QFETCH(QString, box);
        QFETCH(QString, level);
        QFETCH(bool, beepBox);
        QFETCH(int, beeps);
        Rig rig(channels(452, 231, 254));
        TFOptions& o = *rig.options;
        o.CheckBoxT->setChecked(box.contains('T'));
        o.CheckBoxRH->setChecked(box.contains('R'));
        o.CheckBoxV->setChecked(box.contains('V'));
        o.CheckBoxBeep->setChecked(beepBox);
        const QStringList levels = level.split(';');
        for (QLineEdit* e : {o.EditTmin, o.EditRHmin, o.EditVmin})
            e->setText(levels[0]);
        for (QLineEdit* e : {o.EditTmax, o.EditRHmax, o.EditVmax})
            e->setText(levels[1]);
        rig.window->ReadCycle();
        QCOMPARE(int(rig.beeper.calls.size()), beeps);
        for (const auto& call : rig.beeper.calls)
            QCOMPARE(call, (std::pair<int, int>{1000, 500}));
    }

    // --- the timed window

    void timedWindow_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<bool>("intervalAfter");
        QTest::addColumn<bool>("periodAfter");
        QTest::newRow("start minute") << "08:30"
                                      << "09:00" << QTime(8, 30, 10) << true << true;
        QTest::newRow("before the start") << "08:30"
                                          << "09:00" << QTime(8, 29, 59) << false << true;
        QTest::newRow("end minute") << "08:30"
                                    << "09:00" << QTime(9, 0, 40) << false << false;
        QTest::newRow("same start and end") << "08:30"
                                            << "08:30" << QTime(8, 30, 0) << false << false;
        QTest::newRow("blank start never matches") << "  :  "
                                                   << "  :  " << QTime(0, 0, 0) << false << true;
        QTest::newRow("blank first hour place") << " 8:30"
                                                << "" << QTime(8, 30, 0) << false << true;
    }
    void timedWindow() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QTime, now);
        QFETCH(bool, intervalAfter);
        QFETCH(bool, periodAfter);
        Rig rig;
        rig.options->MaskEditTimeN->setText(start);
        rig.options->MaskEditTimeK->setText(end);
        rig.options->CheckBoxTimer->setChecked(true);
        rig.window->ButtonStartStopClick();
        QVERIFY(rig.window->TimerPeriod->isActive());
        QCOMPARE(rig.window->TimerPeriod->interval(), 20000);
        rig.clock.Set(QDateTime(QDate(2026, 12, 8), now));
        rig.window->TimerPeriodTimer();
        QCOMPARE(rig.window->TimerInterval->isActive(), intervalAfter);
        QCOMPARE(rig.window->TimerPeriod->isActive(), periodAfter);
        QCOMPARE(rig.window->ButtonStartStop->text(), QString(periodAfter ? "Стоп" : "Старт"));
    }

    void firstReadingOfAWindowComesOneIntervalAfterItsStart() {
        Rig rig;
        rig.options->TrackBarInterv->setValue(600);
        QCOMPARE(rig.window->TimerInterval->interval(), 600'000);
        rig.options->MaskEditTimeN->setText("08:30");
        rig.options->CheckBoxTimer->setChecked(true);
        rig.window->ButtonStartStopClick();
        rig.clock.Set(QDateTime(QDate(2026, 12, 8), QTime(8, 30, 5)));
        rig.window->TimerPeriodTimer();
        QVERIFY(rig.window->TimerInterval->isActive());
        QVERIFY(rig.window->TimerInterval->remainingTime() > 590'000);
        // The next tick in the same minute does not restart the timer.
        QTest::qWait(20);
        const int remaining = rig.window->TimerInterval->remainingTime();
        rig.window->TimerPeriodTimer();
        QVERIFY(rig.window->TimerInterval->remainingTime() <= remaining);
    }
};

QTEST_MAIN(TestLiveMonitor)
#include "tst_livemonitor.moc"
