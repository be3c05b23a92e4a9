// A full 3000-record logger download through the main window (worker thread, table rows, chart points),
// from the meter-emulator program over a pseudo-terminal, unpaced and paced at 9600 baud.
//   QT_QPA_PLATFORM=offscreen bench_download [unpaced|paced|both]
#include "emulatorprocess.h"
#include "link/nullport.h"
#include "link/serialportbackend.h"
#include "link/unitcomport.h"
#include "monitor/formmain.h"
#include "toolkit/stringgridmodel.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {
// 3000 records of 3 command round trips and 16 echoed bytes, plus the probe: 2 bytes each way per trip.
constexpr double WireSeconds = (3000.0 * (3 + 16) + 1) * 2 * 10 / 9600;

int run(bool paced) {
    QStringList options{"--records", "3000"};
    if (paced)
        options << "--paced";
    EmulatorProcess meter(options);
    if (!meter.ok()) {
        std::fprintf(stderr, "cannot start the emulator: %s\n", qPrintable(meter.error()));
        return -1;
    }
    LinkState link(std::make_unique<SerialPortBackend>(), PortTable::fromList({meter.path()}));
    link.PublishFound(1);
    NullSearch search;
    TFMain window(link, search);
    window.show();
    QElapsedTimer timer;
    timer.start();
    window.ButtonZagruzit->click();
    if (!QTest::qWaitFor([&] { return !window.ExchangeBusy(); }, 600'000))
        return -1;
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const int rows = window.GridL->rowCount() - 1;
    if (paced)
        std::printf(
            "paced at 9600 baud: %d records in %.2f s; wire time %.2f s; %+.1f %% (target within 5 %%)\n",
            rows, seconds, WireSeconds, 100.0 * (seconds - WireSeconds) / WireSeconds);
    else
        std::printf("unpaced: %d records in %.2f s (target <= 10 s)\n", rows, seconds);
    return rows;
}
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir fontHome; // fonts the system lacks go here, not into the user's folder
    qputenv("XDG_DATA_HOME", fontHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("both");
    if (mode != "paced" && run(false) != 3000)
        return 1;
    if (mode != "unpaced" && run(true) != 3000)
        return 1;
    return 0;
}
