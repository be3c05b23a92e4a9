// meter-emulator: the meter on a pseudo-terminal. Prints the terminal's path on the first line of its
// output and serves until it is killed.
#include "metermodel.h"
#include "ptyserver.h"
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <getopt.h>
#include <string>
#include <unistd.h>

namespace {
void usage() {
    std::puts("usage: meter-emulator [options]\n"
              "  --link PATH          also place a symlink to the terminal at PATH\n"
              "  --transcript FILE    log every byte on the wire (time, direction, byte)\n"
              "  --probe-answer N     byte sent back to the presence probe (default 0x37; 0 allowed)\n"
              "  --ident N            identification byte (default 24)\n"
              "  --config N           configuration byte (default 0)\n"
              "  --rh X --tair X --tglobe X   live values (RH %, air and globe temperature in °C)\n"
              "  --drift              a slowly drifting indoor climate around the live values\n"
              "  --records N          records in the logger memory, 0 to 3000 (default 0)\n"
              "  --break-at K         an hour gap before record K\n"
              "  --step-min M         minutes between records (default 1)\n"
              "  --silent             answer nothing at all\n"
              "  --silent-after N     fall silent after sending N bytes\n"
              "  --garbage-after N    slip one unexpected byte in after N sent bytes\n"
              "  --slow-ms N          send every byte N ms late\n"
              "  --paced              take the wire time of 9600 baud for every byte");
}

int number(const char* text) {
    return static_cast<int>(std::strtol(text, nullptr, 0));
}
std::int16_t tenths(const char* text) {
    return static_cast<std::int16_t>(std::lround(std::atof(text) * 10.0));
}

void onSignal(int) {
    PtyServer::stop();
}
} // namespace

int main(int argc, char** argv) {
    MeterConfig config;
    std::string link, transcript;
    enum {
        Link = 1000,
        Transcript,
        ProbeAnswer,
        Ident,
        Config,
        Rh,
        Tair,
        Tglobe,
        Drift,
        Records,
        BreakAt,
        StepMin,
        Silent,
        SilentAfter,
        GarbageAfter,
        SlowMs,
        Paced,
        Help
    };
    const option options[] = {{"link", required_argument, nullptr, Link},
                              {"transcript", required_argument, nullptr, Transcript},
                              {"probe-answer", required_argument, nullptr, ProbeAnswer},
                              {"ident", required_argument, nullptr, Ident},
                              {"config", required_argument, nullptr, Config},
                              {"rh", required_argument, nullptr, Rh},
                              {"tair", required_argument, nullptr, Tair},
                              {"tglobe", required_argument, nullptr, Tglobe},
                              {"drift", no_argument, nullptr, Drift},
                              {"records", required_argument, nullptr, Records},
                              {"break-at", required_argument, nullptr, BreakAt},
                              {"step-min", required_argument, nullptr, StepMin},
                              {"silent", no_argument, nullptr, Silent},
                              {"silent-after", required_argument, nullptr, SilentAfter},
                              {"garbage-after", required_argument, nullptr, GarbageAfter},
                              {"slow-ms", required_argument, nullptr, SlowMs},
                              {"paced", no_argument, nullptr, Paced},
                              {"help", no_argument, nullptr, Help},
                              {nullptr, 0, nullptr, 0}};
    for (int c; (c = getopt_long(argc, argv, "", options, nullptr)) != -1;) {
        switch (c) {
        case Link:
            link = optarg;
            break;
        case Transcript:
            transcript = optarg;
            break;
        case ProbeAnswer:
            config.probeAnswer = static_cast<std::uint8_t>(number(optarg));
            break;
        case Ident:
            config.identByte = static_cast<std::uint8_t>(number(optarg));
            break;
        case Config:
            config.configByte = static_cast<std::uint8_t>(number(optarg));
            break;
        case Rh:
            config.rh = static_cast<std::uint16_t>(tenths(optarg));
            break;
        case Tair:
            config.airTemp = tenths(optarg);
            break;
        case Tglobe:
            config.globeTemp = tenths(optarg);
            break;
        case Drift:
            config.drift = true;
            break;
        case Records:
            config.records = number(optarg);
            break;
        case BreakAt:
            config.breakAt = number(optarg);
            break;
        case StepMin:
            config.stepMinutes = number(optarg);
            break;
        case Silent:
            config.silent = true;
            break;
        case SilentAfter:
            config.silentAfter = number(optarg);
            break;
        case GarbageAfter:
            config.garbageAfter = number(optarg);
            break;
        case SlowMs:
            config.slowUs = std::int64_t{number(optarg)} * 1000;
            break;
        case Paced:
            config.paced = true;
            break;
        case Help:
            usage();
            return 0;
        default:
            usage();
            return 2;
        }
    }
    if (config.records < 0 || config.records > MeterModel::MaxRecords) {
        std::fprintf(stderr, "meter-emulator: --records must be 0 to %d\n", MeterModel::MaxRecords);
        return 2;
    }

    MeterModel meter(config);
    PtyServer server(meter);
    const std::string path = server.open();
    if (path.empty()) {
        std::perror("meter-emulator: cannot open a pseudo-terminal");
        return 1;
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(path.c_str(), link.c_str()) != 0) {
            std::perror(("meter-emulator: cannot place the link " + link).c_str());
            return 1;
        }
    }
    int transcriptFd = -1;
    if (!transcript.empty()) {
        transcriptFd = ::open(transcript.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (transcriptFd < 0) {
            std::perror(("meter-emulator: cannot write " + transcript).c_str());
            return 1;
        }
    }
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);

    const int rc = server.serve(transcriptFd);
    if (!link.empty())
        ::unlink(link.c_str());
    if (meter.clockWrites() > 0) {
        const MeterClock& c = meter.clock();
        std::fprintf(stderr, "meter-emulator: clock set to %02d:%02d %d.%d.%d\n", c.hour, c.minute, c.day,
                     c.month, c.yearByte);
    }
    if (transcriptFd >= 0)
        ::close(transcriptFd);
    return rc;
}
