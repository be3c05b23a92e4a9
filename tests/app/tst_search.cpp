// The port search: the algorithm on the emulated ports, then the thread around it with a real event loop.
#include "app/portsearch.h"
#include "app/rcpthread.h"
#include "emulatedbackend.h"
#include "link/unitcomport.h"
#include "toolkit/statuspanels.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {
const QStringList Slots{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"};

struct Rig {
    Rig() {
        auto backend = std::make_unique<EmulatedPortBackend>();
        ports = backend.get();
        link = std::make_unique<LinkState>(std::move(backend), PortTable::fromList(Slots));
    }
    void silent(std::initializer_list<int> numbers) {
        for (int n : numbers)
            ports->addPort(Slots[n - 1]);
    }
    void meterOn(int slot) { ports->addPort(Slots[slot - 1], std::make_shared<MeterModel>()); }
    QList<int> readsPerPort(const QStringList& names) const {
        QList<int> reads;
        for (const auto& n : names)
            reads << ports->readsOn(n);
        return reads;
    }

    EmulatedPortBackend* ports = nullptr;
    std::unique_ptr<LinkState> link;
    QStringList texts;
    std::function<void(const QString&)> show = [this](const QString& t) { texts << t; };
};
} // namespace

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void meterBehindFourSilentPorts() {
        Rig rig;
        rig.silent({1, 2, 3, 4});
        rig.meterOn(5);
        PortSearch search(*rig.link);
        int steps = 0;
        QVERIFY(search.Pass(rig.show, [&] { return ++steps, true; }));
        // The never-reset counter: eleven reads on the first port, one on every later one.
        QCOMPARE(rig.readsPerPort({"COM1", "COM2", "COM3", "COM4", "COM5"}), (QList<int>{11, 1, 1, 1, 1}));
        QCOMPARE(rig.ports->opened(), (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5"}));
        QCOMPARE(steps, 4);
        QCOMPARE(rig.texts,
                 (QStringList{PortSearch::TextSearching, PortSearch::TextSearching, PortSearch::TextSearching,
                              PortSearch::TextSearching, PortSearch::TextFound}));
        QVERIFY(rig.link->IsDeviceFound());
        QCOMPARE(rig.link->PortNumber, 5);
        QCOMPARE(rig.link->PortName, QString("COM5"));
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
    }

    void meterOnTheFirstPortIsTheOnlyPortOpened() {
        Rig rig;
        rig.meterOn(1);
        rig.silent({2, 3});
        PortSearch search(*rig.link);
        QVERIFY(search.Pass(rig.show, [] { return true; }));
        QCOMPARE(rig.ports->opened(), QStringList{"COM1"});
        QCOMPARE(rig.texts, QStringList{PortSearch::TextFound});
        QCOMPARE(rig.link->PortName, QString("COM1"));
    }

    void missingPortsAreSkippedWithoutWaiting() {
        Rig rig;
        rig.meterOn(7); // slots 1..6 hold no port at all
        PortSearch search(*rig.link);
        QVERIFY(search.Pass(rig.show, [] { return true; }));
        QCOMPARE(rig.link->PortNumber, 7);
        QVERIFY2(rig.ports->nowUs() < 5'000, qPrintable(QString::number(rig.ports->nowUs())));
        QCOMPARE(search.SearchMissCount, 11 + 5);
    }

    void meterPluggedInWhileTheSearchCycles() {
        Rig rig;
        rig.silent({1, 2, 3, 4, 5, 6, 7, 8});
        PortSearch search(*rig.link);
        int steps = 0;
        const auto afterMiss = [&] {
            if (++steps == 8) // the first pass is over: the user plugs the meter in on COM3
                rig.ports->addPort("COM3", std::make_shared<MeterModel>());
            return true;
        };
        QVERIFY(!search.Pass(rig.show, afterMiss));
        QVERIFY(!rig.link->IsDeviceFound());
        const int readsBefore = rig.ports->readsOn("COM3");
        QVERIFY(search.Pass(rig.show, afterMiss));
        QCOMPARE(rig.ports->readsOn("COM3") - readsBefore, 1);
        QCOMPARE(rig.link->PortNumber, 3);
        QCOMPARE(steps, 10);
    }

    void noMeterAtAllKeepsSearchingAndSaysNothingElse() {
        Rig rig;
        rig.silent({2, 4, 6});
        PortSearch search(*rig.link);
        for (int pass = 0; pass < 5; ++pass)
            QVERIFY(!search.Pass(rig.show, [] { return true; }));
        QVERIFY(!rig.link->IsDeviceFound());
        QCOMPARE(rig.texts.size(), 5 * 8);
        QCOMPARE(rig.texts.count(PortSearch::TextSearching), 5 * 8);
        // The eleven reads went to the missing COM1, the first port probed; every later probe reads once.
        QCOMPARE(rig.ports->readsOn("COM1"), 11 + 4);
        QCOMPARE(rig.ports->readsOn("COM2"), 5);
    }

    void endingTheSearchStopsThePassAtOnce() {
        Rig rig;
        rig.meterOn(4);
        PortSearch search(*rig.link);
        QVERIFY(!search.Pass(rig.show, [] { return false; }));
        QCOMPARE(rig.ports->readsOn("COM1"), 11);
        QCOMPARE(rig.ports->readsOn("COM2") + rig.ports->readsOn("COM4"), 0);
        QVERIFY(!rig.link->IsDeviceFound());
    }

    // --- the thread

    void threadShowsTheTextsInPanelThreeAndEndsOnceFound() {
        Rig rig;
        rig.silent({1, 2});
        rig.meterOn(3);
        StatusPanels panels;
        panels.setPanels(
            {{55, Qt::AlignHCenter}, {70, Qt::AlignHCenter}, {50, Qt::AlignHCenter}, {50, Qt::AlignLeft}});
        QStringList seen;
        MyThread thread(*rig.link);
        thread.Resume([&](const QString& text) {
            QVERIFY(QThread::currentThread() == qApp->thread()); // widgets only on the main thread
            seen << text;
            panels.setPanelText(3, text);
        });
        QTRY_COMPARE_WITH_TIMEOUT(panels.panelText(3), PortSearch::TextFound, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(thread.isFinished(), 2000); // no spinning once the meter is found
        QVERIFY(rig.link->IsDeviceFound());
        QCOMPARE(rig.link->PortNumber, 3);
        QCOMPARE(seen,
                 (QStringList{PortSearch::TextSearching, PortSearch::TextSearching, PortSearch::TextFound}));
        thread.Suspend();
    }

    void searchGoesNoFasterThanTheMainThreadServesIt() {
        Rig rig;
        rig.silent({1, 2, 3, 4, 5, 6, 7, 8});
        MyThread thread(*rig.link);
        thread.Resume([](const QString&) {});
        // The main thread does not serve events: the search must wait after its first silent port.
        QThread::msleep(300);
        QCOMPARE(rig.ports->opened(), QStringList{"COM1"});
        QTRY_VERIFY_WITH_TIMEOUT(rig.ports->opened().size() > 8, 5000);
        QElapsedTimer timer;
        timer.start();
        thread.Shutdown();
        QVERIFY(thread.isFinished());
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!rig.link->IsDeviceFound());
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
