// The display update of one read cycle (store append, table row, nine series, six axes, repaint) with
// 1 000 and with 1 000 000 readings already held, and the memory each held reading costs.
//   QT_QPA_PLATFORM=offscreen bench_readcycle [cycles]
#include "link/nullport.h"
#include "link/searchcontrol.h"
#include "link/unitcomport.h"
#include "monitor/formmain.h"
#include "monitor/livetablemodel.h"
#include "monitor/quantities.h"
#include "toolkit/windowedchart.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTime>
#include <cstdio>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {
long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// A thousand different readings, computed once: the bench measures the display, not the formulas.
LiveQuantities sample(int i) {
    static const std::vector<LiveQuantities> samples = [] {
        std::vector<LiveQuantities> v;
        for (int k = 0; k < 1000; ++k)
            v.push_back(ComputeLive({40.0f + static_cast<float>(k % 200) * 0.1f,
                                     22.0f + static_cast<float>(k % 50) * 0.1f,
                                     25.0f + static_cast<float>(k % 70) * 0.1f}));
        return v;
    }();
    return samples[static_cast<std::size_t>(i) % samples.size()];
}

struct Result {
    double usPerCycle;
    double bytesPerReading;
    double tableUs, chartsUs, paintUs; // where a cycle's time goes
};

// With tableShown, the live page shows its table instead of its charts.
Result measure(std::size_t held, int cycles, bool tableShown = false) {
    LinkState link(std::make_unique<NullPortBackend>(), PortTable::fromList({}));
    NullSearch search;
    TFMain window(link, search);
    window.show();
    if (tableShown)
        window.TabSet->setCurrentIndex(1);
    QApplication::processEvents();
    const long before = residentBytes();
    const QTime t(12, 0, 0);
    for (std::size_t i = 0; i < held; ++i)
        window.GridD->append(TFMain::MakeReading(sample(static_cast<int>(i)), t));
    QApplication::processEvents();
    const long after = residentBytes();

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < cycles; ++i) {
        window.PublishReading(sample(i), t);
        QApplication::processEvents(); // let the table and the charts repaint
    }
    const double cycleUs = static_cast<double>(timer.nsecsElapsed()) / 1000.0 / cycles;

    // The same work in its parts: the table row, the six chart windows, the repaint.
    qint64 table = 0, charts = 0, paint = 0;
    for (int i = 0; i < cycles; ++i) {
        QElapsedTimer part;
        part.start();
        window.AppendLiveRow(TFMain::MakeReading(sample(i), t));
        table += part.nsecsElapsed();
        part.restart();
        const double last = static_cast<double>(window.GridD->store().size() - 1);
        for (WindowedChartView* chart : window.LiveCharts())
            chart->showXWindow(last - 100, last);
        charts += part.nsecsElapsed();
        part.restart();
        QApplication::processEvents();
        paint += part.nsecsElapsed();
    }
    auto us = [&](qint64 ns) { return static_cast<double>(ns) / 1000.0 / cycles; };
    return {cycleUs, held ? static_cast<double>(after - before) / static_cast<double>(held) : 0.0, us(table),
            us(charts), us(paint)};
}
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir fontHome; // fonts the system lacks go here, not into the user's folder
    qputenv("XDG_DATA_HOME", fontHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    const Result small = measure(1'000, cycles);
    const Result large = measure(1'000'000, cycles);
    std::printf("display update per cycle: %.1f us with 1 000 readings held, %.1f us with 1 000 000 (%.2f x; "
                "target <= 1.5 x)\n",
                small.usPerCycle, large.usPerCycle, large.usPerCycle / small.usPerCycle);
    for (const auto& [name, r] : {std::pair{"1 000", small}, std::pair{"1 000 000", large}})
        std::printf("  with %s held: table %.1f us, charts %.1f us, repaint %.1f us\n", name, r.tableUs,
                    r.chartsUs, r.paintUs);
    // A shown table keeps its last row in view, and Qt lays out all its rows for that on every cycle.
    const Result table1k = measure(1'000, cycles, true);
    const Result table1m = measure(1'000'000, cycles, true);
    std::printf("with the live table shown instead of the charts: %.1f us with 1 000 held, %.1f us with "
                "1 000 000 (%.2f x)\n",
                table1k.usPerCycle, table1m.usPerCycle, table1m.usPerCycle / table1k.usPerCycle);
    std::printf("memory per reading held (store, table, charts): %.1f bytes (target <= 128)\n",
                large.bytesPerReading);
    return 0;
}
