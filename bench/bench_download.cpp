// A full 3000-record logger download through the main window (worker thread, table rows, chart points),
// from the meter-emulator program over a pseudo-terminal, unpaced and paced at 9600 baud.
//   QT_QPA_PLATFORM=offscreen bench_download [unpaced|paced|both|floor] [records]
// "floor" is the paced download by the exchange code alone on the bare descriptor: what this machine's
// pseudo-terminal allows any program.
#include "emulatorprocess.h"
#include "link/nullport.h"
#include "link/serialportbackend.h"
#include "link/unitcomport.h"
#include "logger/download.h"
#include "monitor/formmain.h"
#include "toolkit/stringgridmodel.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {
// Each record is 3 command round trips and 16 echoed bytes, plus the probe: 2 bytes each way per trip.
double wireSeconds(int records) {
    return (records * (3.0 + 16) + 1) * 2 * 10 / 9600;
}

// Where the time beyond the wire goes: for every byte the computer sent, the time from the end of the
// byte before it on the line (the meter's answer, or the computer's own last echo) to the moment the
// emulator read it: both pseudo-terminal hops and the program's turn-around, from the emulator's transcript.
void printTurnarounds(const QString& transcript, bool paced) {
    std::vector<double> gaps;
    double last = -1;
    for (const QString& line : transcript.split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.simplified().split(' ');
        if (f.size() < 4)
            continue;
        const double us = f[0].toDouble() * 1000;
        // a paced byte from the computer is logged when it is complete, one byte time after it was read
        if (f[2] == QLatin1String("PC->meter") && last >= 0)
            gaps.push_back(us - (paced ? 1e7 / 9600 : 0) - last);
        last = us;
    }
    if (gaps.empty())
        return;
    // Does the turn-around grow as the table and chart fill up? Mean of each tenth of the run.
    std::printf("  mean turn-around by tenths of the run, us:");
    for (int tenth = 0; tenth < 10; ++tenth) {
        const std::size_t from = gaps.size() * tenth / 10, to = gaps.size() * (tenth + 1) / 10;
        double part = 0;
        for (std::size_t i = from; i < to; ++i)
            part += gaps[i];
        std::printf(" %.0f", to > from ? part / static_cast<double>(to - from) : 0.0);
    }
    std::printf("\n");
    std::sort(gaps.begin(), gaps.end());
    double sum = 0;
    for (double g : gaps)
        sum += g;
    auto at = [&](double q) { return gaps[static_cast<std::size_t>(q * (gaps.size() - 1))]; };
    std::printf("  turn-around before each byte sent, %zu bytes: mean %.1f us, median %.1f, "
                "p90 %.1f, p99 %.1f, max %.1f\n",
                gaps.size(), sum / gaps.size(), at(0.5), at(0.9), at(0.99), gaps.back());
}

// The floor of what any program could do over this pseudo-terminal: the same exchange code on the bare
// descriptor (poll, read, write), on the main thread, with no window, no worker thread and no Qt serial port.
class BareFdBackend final : public PortBackend {
public:
    bool open(const QString& name) override {
        close();
        fd_ = ::open(name.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0)
            return false;
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::cfsetspeed(&tio, B9600);
        ::tcsetattr(fd_, TCSANOW, &tio);
        ::tcflush(fd_, TCIOFLUSH);
        return true;
    }
    void close() override {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    bool write(std::uint8_t byte) override { return fd_ >= 0 && ::write(fd_, &byte, 1) == 1; }
    Read read(std::uint8_t& byte, int timeoutMs) override {
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready == 0)
            return Read::Timeout;
        return ready > 0 && ::read(fd_, &byte, 1) == 1 ? Read::Byte : Read::Failed;
    }
    std::int64_t nowUs() const override { return clock_.nsecsElapsed() / 1000; }
    ~BareFdBackend() override { close(); }

private:
    int fd_ = -1;
    QElapsedTimer clock_{[] {
        QElapsedTimer t;
        t.start();
        return t;
    }()};
};

int runFloor(int records) {
    EmulatorProcess meter({"--records", QString::number(records), "--paced"});
    if (!meter.ok())
        return -1;
    LinkState link(std::make_unique<BareFdBackend>(), PortTable::fromList({meter.path()}));
    link.PublishFound(1);
    QElapsedTimer timer;
    timer.start();
    int rows = 0;
    DownloadRecords(link, [&](const LoggerRecord&) { return ++rows, true; });
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double wire = wireSeconds(records);
    std::printf(
        "floor, paced, bare descriptor, no window: %d records in %.2f s; wire time %.2f s; %+.1f %%\n", rows,
        seconds, wire, 100.0 * (seconds - wire) / wire);
    printTurnarounds(meter.stopAndReadTranscript(), true);
    return rows;
}

int run(bool paced, int records) {
    QStringList options{"--records", QString::number(records)};
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
    const double WireSeconds = wireSeconds(records);
    if (paced)
        std::printf(
            "paced at 9600 baud: %d records in %.2f s; wire time %.2f s; %+.1f %% (target within 5 %%)\n",
            rows, seconds, WireSeconds, 100.0 * (seconds - WireSeconds) / WireSeconds);
    else
        std::printf("unpaced: %d records in %.2f s (target <= 10 s)\n", rows, seconds);
    printTurnarounds(meter.stopAndReadTranscript(), paced);
    return rows;
}
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir fontHome; // fonts the system lacks go here, not into the user's folder
    qputenv("XDG_DATA_HOME", fontHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("both");
    const int records = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 3000) : 3000;
    if (mode == "floor")
        return runFloor(records) == records ? 0 : 1;
    if (mode != "paced" && run(false, records) != records)
        return 1;
    if (mode != "unpaced" && run(true, records) != records)
        return 1;
    return 0;
}
