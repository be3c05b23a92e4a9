#include "ptyserver.h"
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
std::atomic<bool> stopRequested{false};

std::int64_t monoUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

PtyServer::PtyServer(MeterModel& meter) : meter_(meter) {}

PtyServer::~PtyServer() {
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

void PtyServer::stop() {
    stopRequested = true;
}

std::string PtyServer::open() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return {};
    const char* name = ::ptsname(master_);
    if (!name)
        return {};
    std::string path = name;
    slave_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0)
        return {};
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B9600);
    ::tcsetattr(slave_, TCSANOW, &tio);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Wake up on time for paced bytes: the default 50 µs timer slack would stretch every byte.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    return path;
}

int PtyServer::serve(int transcriptFd) {
    const std::int64_t start = monoUs();
    while (!stopRequested) {
        const std::int64_t now = monoUs() - start;
        // Send what is due.
        while (meter_.hasOutput() && meter_.nextReadyUs() <= now) {
            const std::uint8_t byte = meter_.popOutput();
            if (::write(master_, &byte, 1) < 0 && errno != EAGAIN)
                return 1;
        }
        if (!meter_.transcript().empty()) {
            if (transcriptFd >= 0) {
                const std::string text = formatTranscript(meter_.transcript());
                if (::write(transcriptFd, text.data(), text.size()) < 0)
                    transcriptFd = -1;
            }
            meter_.clearTranscript(); // a meter served for days must not grow without bound
        }
        timespec timeout{0, 200'000'000};
        if (meter_.config().paced && meter_.hasOutput()) {
            // A paced byte is due a byte time after the one it answers arrived; a sleeping process wakes a
            // few hundred microseconds late on a virtual machine, so keep polling without sleeping until it
            // is sent. While nothing is due, sleep until the computer writes: a busy core here would have
            // to be shared with the kernel's terminal work and the program, and every answer would be late.
            timeout = {0, 0};
        } else if (meter_.hasOutput()) {
            // Slow bytes: sleep until shortly before the byte is due, then poll without sleeping.
            constexpr std::int64_t SpinUs = 400;
            const std::int64_t wait =
                std::max<std::int64_t>(0, meter_.nextReadyUs() - (monoUs() - start) - SpinUs);
            timeout = {static_cast<time_t>(wait / 1'000'000), static_cast<long>(wait % 1'000'000) * 1000};
        }
        pollfd fd{master_, POLLIN, 0};
        const int ready = ::ppoll(&fd, 1, &timeout, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (ready > 0 && (fd.revents & POLLIN)) {
            std::uint8_t buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            const std::int64_t at = monoUs() - start;
            for (ssize_t i = 0; i < n; ++i)
                meter_.receive(buffer[i], at);
        }
    }
    return 0;
}
