// The logger page of the main window against the emulated meter: downloads into the table and the chart,
// their failures, the chart/table switch of both pages, and the meter's clock.
#include "emulatedlink.h"
#include "monitor/formmain.h"
#include "monitor/loggerseries.h"
#include "recordingsearch.h"
#include "settings/formoptions.h"
#include "toolkit/statuspanels.h"
#include "toolkit/stringgridmodel.h"
#include "toolkit/timesource.h"
#include "toolkit/windowedchart.h"
#include <QComboBox>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTest>

namespace {
using Bytes = std::array<std::uint8_t, 16>;

// A record: RH, tв, tш in tenths, and its stamp.
Bytes record(int rh, int tv, int tsh, int hour, int minute = 0) {
    auto hi = [](int v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); };
    auto lo = [](int v) { return static_cast<std::uint8_t>(v & 0xFF); };
    return {0,
            0,
            hi(rh),
            lo(rh),
            hi(tv),
            lo(tv),
            hi(tsh),
            lo(tsh),
            0,
            static_cast<std::uint8_t>(minute),
            static_cast<std::uint8_t>(hour),
            17,
            4,
            7,
            0,
            0};
}

struct Rig : EmulatedLink {
    explicit Rig(MeterConfig config = {}, bool found = true) : EmulatedLink(config, found) {
        window = std::make_unique<TFMain>(*link, search);
        options = std::make_unique<TFOptions>(window->TimerInterval);
        window->SetOptionsWindow(options.get());
        window->SetTimeSource(&clock);
        ports->clearEvents();
    }
    // Presses "Загрузить" and waits for the download to end.
    bool download() {
        window->ButtonZagruzit->click();
        return QTest::qWaitFor([&] { return !window->ExchangeBusy(); }, 10000) &&
               window->ButtonZagruzit->text() == "Загрузить";
    }
    QString panel3() const { return window->StatusBar->panelText(TFMain::PanelMessage); }
    QString cell(int column, int row) const { return window->GridL->cell(column, row); }

    RecordingSearch search;
    std::unique_ptr<TFMain> window;
    std::unique_ptr<TFOptions> options;
    FakeTimeSource clock;
};
} // namespace

class TestLoggerPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void beforeAnyDownload() {
        Rig rig;
        QCOMPARE(rig.window->GridL->rowCount(), 1);
        QCOMPARE(rig.window->Series1->count(), 0);
        QVERIFY(rig.window->Series1->isVisible());
        QVERIFY(!rig.window->Series2->isVisible());
        QCOMPARE(rig.window->ChartValue->axisY()->min(), -30.0);
        QCOMPARE(rig.window->ChartValue->axisY()->max(), 100.0);
    }

    void recordsFillTheTableAndTheChart() {
        MeterConfig config;
        config.customRecords = {
            record(452, 231, 254, 9, 5), record(0, 0, 187, 9, 6), // RH and tв zero: no guard here
            record(500, 250, 100, 10, 0), // tш below tв: shown as tв, THC and WBGT from the received one
            record(0xFF38, 0xFF38, 0xFF38, 10, 1), // signed tв and tш, unsigned RH
        };
        Rig rig(config);
        QVERIFY(rig.download());
        QCOMPARE(rig.window->GridL->rowCount(), 5); // four records and the empty last row
        QCOMPARE(rig.cell(0, 0), QString("9:5 7.4.17"));
        QCOMPARE(rig.cell(3, 0), QString("45.2"));
        QCOMPARE(rig.cell(6, 1), QString("-5.9")); // F1 at RH 0, tв 0 gives −5.94
        QCOMPARE(rig.cell(7, 1), QString("--"));   // no dew point without humidity
        QCOMPARE(rig.cell(5, 2), rig.cell(4, 2));  // tш clamped to tв
        QCOMPARE(rig.cell(5, 2), QString("25"));
        // By hand: tвт = (0.636 + 0.1905)·25 + 2.73 − 4.94 = 18.4525, held as 18.5; THC = (7·18.5 + 3·10)/10
        // = 15.95 with the received tш (held in single precision as 15.9499998: "15.9"); the clamped 25
        // would have given 20.45.
        QCOMPARE(rig.cell(6, 2), QString("18.5"));
        QCOMPARE(rig.cell(1, 2), QString("15.9"));
        QCOMPARE(rig.cell(3, 3), QString("6533.6"));
        QCOMPARE(rig.cell(4, 3), QString("-20"));
        // Chart points: X the address, one per record in each of the four series (a series is fed
        // when it is chosen).
        const auto* s4 = rig.window->Series4;
        rig.window->ComboBoxZ->setCurrentIndex(3);
        QCOMPARE(s4->count(), 4);
        QCOMPARE(s4->at(0).x(), 10.0);
        QCOMPARE(s4->at(2).y(), 25.0); // the clamped tш
        rig.window->ComboBoxZ->setCurrentIndex(1);
        QCOMPARE(rig.window->Series2->at(3).y(), 6533.6);
        QCOMPARE(rig.panel3(), QString()); // a download that ran to its end leaves no status text
    }

    void twoDownloadsAccumulateInAddressOrder() {
        MeterConfig config;
        config.records = 20;
        Rig rig(config);
        QVERIFY(rig.download());
        QVERIFY(rig.download());
        QCOMPARE(rig.window->GridL->rowCount(), 41);
        QCOMPARE(rig.cell(0, 20), rig.cell(0, 0)); // the second download's rows come below the first's
        const LoggerSeries& points = rig.window->LoggerPoints();
        QCOMPARE(points.size(), std::size_t{40});
        QCOMPARE(points.addressAt(0), 10);
        QCOMPARE(points.addressAt(1), 10);
        QCOMPARE(points.addressAt(39), 200);
    }

    void failures_data() {
        QTest::addColumn<bool>("found");
        QTest::addColumn<long>("silentAfter");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("panel");
        QTest::newRow("search not done")
            << false << -1L << 1 << "Прибор не найден, обмен с ним пока невозможен";
        QTest::newRow("silent meter") << true << 0L << 1 << "Нет отклика от прибора";
        QTest::newRow("silent mid-record")
            << true << long(1 + 2 * 19 + 10) << 3 << "Прибор перестал отвечать, загружено записей: 2";
    }
    void failures() {
        QFETCH(bool, found);
        QFETCH(long, silentAfter);
        QFETCH(int, rows);
        QFETCH(QString, panel);
        MeterConfig config;
        config.records = 10;
        config.silentAfter = silentAfter;
        Rig rig(config, found);
        QVERIFY(rig.download());
        QCOMPARE(rig.window->GridL->rowCount(), rows);
        QCOMPARE(rig.panel3(), panel);
        if (!found)
            QVERIFY(rig.ports->events().empty());
    }

    void timersWaitForTheDownload() {
        MeterConfig config;
        config.records = 50;
        Rig rig(config);
        rig.window->ButtonZagruzit->click();
        QVERIFY(rig.window->ExchangeBusy());
        QVERIFY(!rig.window->MainMenu->isEnabled());
        const int eventsBefore = int(rig.ports->events().size());
        rig.clock.Set(QDateTime(QDate(2021, 3, 5), QTime(14, 3)));
        rig.window->TimerDataVremyTimer(); // held back while the port is in use
        QCOMPARE(rig.window->CSpinEditChas->value(), 16);
        QVERIFY(int(rig.ports->events().size()) >= eventsBefore);
        QVERIFY(QTest::qWaitFor([&] { return !rig.window->ExchangeBusy(); }, 10000));
        QCOMPARE(rig.window->CSpinEditChas->value(), 14); // and runs once afterwards
        QVERIFY(rig.window->MainMenu->isEnabled());
    }

    void clockRefillAndWrite() {
        Rig rig;
        QCOMPARE(rig.window->CSpinEditGod->value(), 2009);
        rig.clock.Set(QDateTime(QDate(2021, 3, 5), QTime(14, 3, 59)));
        rig.window->TimerDataVremyTimer();
        QCOMPARE((QList<int>{rig.window->CSpinEditChas->value(), rig.window->CSpinEditMin->value(),
                             rig.window->CSpinEditDen->value(), rig.window->CSpinEditMes->value(),
                             rig.window->CSpinEditGod->value()}),
                 (QList<int>{14, 3, 5, 3, 2021}));
        rig.window->ButtonSave->click();
        QCOMPARE(rig.meter->clock(), (MeterClock{3, 14, 5, 3, 21}));
        QCOMPARE(rig.panel3(), QString("Запись времяни и даты завершена"));
        QCOMPARE(describe(rig.ports->events()).count("w 37"), 1); // one probe
    }

    void clockWriteToASilentMeter() {
        MeterConfig config;
        config.silent = true;
        Rig rig(config);
        rig.window->ButtonSave->click();
        QCOMPARE(rig.panel3(), QString("Нет отклика от прибора"));
        QCOMPARE(rig.window->CSpinEditChas->value(), 16);
        QCOMPARE(rig.meter->clockWrites(), 0);
    }

    void seriesChoice() {
        Rig rig;
        rig.window->ComboBoxZ->setCurrentIndex(1);
        QVERIFY(!rig.window->Series1->isVisible());
        QVERIFY(rig.window->Series2->isVisible());
        rig.window->ComboBoxZChange(-1); // nothing selected: nothing changes
        QVERIFY(rig.window->Series2->isVisible());
        rig.window->ComboBoxZ->setCurrentIndex(3);
        QVERIFY(rig.window->Series4->isVisible() && !rig.window->Series2->isVisible());
    }

    void axisLabelOfPointNIsTheTimeOfItsRow() {
        MeterConfig config;
        config.records = 5;
        Rig rig(config);
        QVERIFY(rig.download());
        for (int n = 0; n < 5; ++n)
            QCOMPARE(rig.window->ChartValueGetAxisLabel(n), rig.cell(0, n));
        QVERIFY(!rig.window->ChartValueGetAxisLabel(0).isEmpty());
    }

    void eachPageKeepsItsTableChoice() {
        Rig rig;
        rig.window->show();
        rig.window->StatusBar->setPanelText(TFMain::PanelMessage, "message");
        rig.window->PageControl->setCurrentIndex(1);
        QCOMPARE(rig.panel3(), QString(" "));
        rig.window->TabSet->setCurrentIndex(1); // "Данные" on the logger page
        QVERIFY(rig.window->StringGridL->isVisible());
        QCOMPARE(rig.window->StringGridL->size(), QSize(646, 468));
        rig.window->StatusBar->setPanelText(TFMain::PanelMessage, "message");
        rig.window->PageControl->setCurrentIndex(0);
        QCOMPARE(rig.window->TabSet->currentIndex(), 0); // the live page still shows its charts
        QVERIFY(!rig.window->StringGridD->isVisible());
        QCOMPARE(rig.panel3(), QString("message"));
        rig.window->PageControl->setCurrentIndex(1);
        QCOMPARE(rig.window->TabSet->currentIndex(), 1);
        QVERIFY(rig.window->StringGridL->isVisible());
        rig.window->TabSet->setCurrentIndex(0);
        QVERIFY(!rig.window->StringGridL->isVisible());
    }

    void scaleFollowsTheSettingsWindow() {
        Rig rig;
        rig.options->TrackBarYMax->setValue(60);
        QCOMPARE(rig.window->ChartValue->axisY()->max(), 60.0);
        rig.options->TrackBarYMin->setValue(10);
        QCOMPARE(rig.window->ChartValue->axisY()->min(), 10.0);
    }
};

QTEST_MAIN(TestLoggerPage)
#include "tst_loggerpage.moc"
