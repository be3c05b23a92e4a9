// Software overhead of one byte round trip (Command / ReadEcho) over a pseudo-terminal served by the
// meter-emulator program, unpaced: everything measured here is time the wire would not take.
//   bench_roundtrip [exchanges]
#include "emulatorprocess.h"
#include "link/serialportbackend.h"
#include "link/unitcomport.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int exchanges = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
    EmulatorProcess meter;
    if (!meter.ok()) {
        std::fprintf(stderr, "cannot start the emulator: %s\n", qPrintable(meter.error()));
        return 1;
    }
    LinkState link(std::make_unique<SerialPortBackend>(), PortTable::fromList({meter.path()}));
    link.OpenPort('1');
    if (link.ProbeMeter() == 0) {
        std::fprintf(stderr, "the emulator does not answer\n");
        return 1;
    }
    // One exchange: the command's round trip and six echoed data bytes, seven round trips in all.
    constexpr int RoundTrips = 1 + Cmd::ChannelBytes;
    std::vector<double> perTripUs;
    perTripUs.reserve(static_cast<std::size_t>(exchanges));
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < exchanges; ++i) {
        QElapsedTimer t;
        t.start();
        bool ok = link.Command(Cmd::CmdReadChannels).has_value();
        for (int b = 0; ok && b < Cmd::ChannelBytes; ++b)
            ok = link.ReadEcho().has_value();
        if (!ok) {
            std::fprintf(stderr, "exchange %d lost\n", i);
            return 1;
        }
        perTripUs.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0 / RoundTrips);
    }
    const double totalMs = static_cast<double>(total.nsecsElapsed()) / 1e6;
    link.ClosePort();
    std::sort(perTripUs.begin(), perTripUs.end());
    auto at = [&](double q) {
        return perTripUs[static_cast<std::size_t>(q * static_cast<double>(perTripUs.size() - 1))];
    };
    std::printf("round trips: %d (%d exchanges of %d)\n", exchanges * RoundTrips, exchanges, RoundTrips);
    std::printf("per round trip: mean %.1f us, median %.1f us, p90 %.1f us, p99 %.1f us, max %.1f us\n",
                totalMs * 1000.0 / (exchanges * RoundTrips), at(0.5), at(0.9), at(0.99), perTripUs.back());
    std::printf("target: <= 100 us per round trip\n");
    return 0;
}
