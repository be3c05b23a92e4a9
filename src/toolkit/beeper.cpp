#include "toolkit/beeper.h"

#ifdef Q_OS_WIN
// Windows only; no build here compiles this branch.
#include <windows.h>

namespace {
class WinBeeper final : public Beeper {
public:
    void Beep(int frequencyHz, int durationMs) override {
        if (frequencyHz >= 37 && frequencyHz <= 32767 && durationMs > 0)
            ::Beep(DWORD(frequencyHz), DWORD(durationMs));
    }
};
} // namespace

std::unique_ptr<Beeper> MakeSystemBeeper() {
    return std::make_unique<WinBeeper>();
}

#else
#include <algorithm>
#include <alsa/asoundlib.h>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>
#include <thread>

using Clock = std::chrono::steady_clock;
using Outcome = AlsaBeeper::Outcome;

struct AlsaBeeper::Shared {
    std::atomic<bool> busy{false};
};

namespace {
constexpr int FadeMs = 5;
constexpr int TailMs = 10; // silence after the tone, so that stopping the device cannot cut it
constexpr double Amplitude = 0.5 * 32767;

// ALSA writes its complaints (no card, unknown device) to stderr; a missing sound card is normal here.
void quietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

int openDevice(snd_pcm_t** pcm, const std::string& device, const std::string& configText) {
    if (configText.empty())
        return snd_pcm_open(pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    snd_config_t* top = nullptr;
    snd_input_t* input = nullptr;
    int err = snd_config_top(&top);
    if (err >= 0)
        err = snd_input_buffer_open(&input, configText.data(), ssize_t(configText.size()));
    if (err >= 0)
        err = snd_config_load(top, input);
    if (input)
        snd_input_close(input);
    if (err >= 0)
        err = snd_pcm_open_lconf(pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK, top);
    if (top)
        snd_config_delete(top);
    return err;
}

std::vector<int16_t> sineTone(unsigned rate, int frequencyHz, int durationMs) {
    const size_t frames = size_t(rate) * size_t(durationMs) / 1000;
    const size_t tail = size_t(rate) * TailMs / 1000;
    const size_t fade = std::min(size_t(rate) * FadeMs / 1000, frames / 2);
    std::vector<int16_t> samples(frames + tail, 0);
    const double step = 2 * std::numbers::pi * frequencyHz / rate;
    for (size_t i = 0; i < frames; ++i) {
        double gain = 1.0;
        if (i < fade)
            gain = double(i) / double(fade);
        else if (frames - i <= fade)
            gain = double(frames - 1 - i) / double(fade);
        samples[i] = int16_t(std::lround(Amplitude * gain * std::sin(step * double(i))));
    }
    return samples;
}

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Writes the tone and waits until the device has played it, never past the deadline.
Outcome play(snd_pcm_t* pcm, int frequencyHz, int durationMs, Clock::time_point deadline) {
    unsigned rate = 0;
    for (unsigned candidate : {48000u, 44100u}) {
        if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, candidate, 1,
                               100000) >= 0) {
            rate = candidate;
            break;
        }
    }
    if (rate == 0)
        return Outcome::Refused;
    const std::vector<int16_t> tone = sineTone(rate, frequencyHz, durationMs);

    size_t written = 0;
    while (written < tone.size()) {
        const int left = msLeft(deadline);
        if (left == 0)
            return Outcome::Stalled;
        const int ready = snd_pcm_wait(pcm, std::min(left, 50));
        if (ready < 0 && snd_pcm_recover(pcm, ready, 1) < 0)
            return Outcome::Refused;
        if (ready <= 0)
            continue;
        snd_pcm_sframes_t n = snd_pcm_writei(pcm, tone.data() + written, tone.size() - written);
        if (n == -EAGAIN)
            continue;
        if (n < 0) {
            if (snd_pcm_recover(pcm, int(n), 1) < 0)
                return Outcome::Refused;
            continue;
        }
        written += size_t(n);
    }

    // A tone shorter than the start threshold has not started the device yet.
    if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED)
        snd_pcm_start(pcm);
    // Wait for the buffer to empty ourselves: snd_pcm_drain would wait without a bound.
    while (snd_pcm_state(pcm) == SND_PCM_STATE_RUNNING) {
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm, &delay) < 0 || delay <= 0)
            break;
        const int left = msLeft(deadline);
        if (left == 0)
            return Outcome::Stalled;
        const int playMs = int(delay * 1000 / rate) + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min({playMs, left, 20})));
    }
    return Outcome::Played;
}

struct Job {
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    Outcome outcome = Outcome::None;
};
} // namespace

AlsaBeeper::AlsaBeeper(std::string device, std::string configText)
    : device_(std::move(device)), config_(std::move(configText)), shared_(std::make_shared<Shared>()) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(quietAlsaErrors); });
}

bool AlsaBeeper::busy() const {
    return shared_->busy.load();
}

void AlsaBeeper::Beep(int frequencyHz, int durationMs) {
    if (frequencyHz <= 0 || durationMs <= 0) {
        last_ = Outcome::None;
        return;
    }
    if (shared_->busy.exchange(true)) {
        last_ = Outcome::Busy;
        return;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(durationMs + GraceMs);
    auto job = std::make_shared<Job>();
    // The worker owns copies of everything it touches, so that it may outlive this call and this beeper.
    std::thread([job, shared = shared_, device = device_, config = config_, frequencyHz, durationMs,
                 deadline] {
        Outcome outcome = Outcome::NoDevice;
        snd_pcm_t* pcm = nullptr;
        if (openDevice(&pcm, device, config) >= 0) {
            outcome = play(pcm, frequencyHz, durationMs, deadline);
            snd_pcm_drop(pcm);
            snd_pcm_close(pcm);
        }
        // Free before telling the caller, so that a beep right after this one is not refused as busy.
        shared->busy.store(false);
        {
            std::lock_guard lock(job->mutex);
            job->done = true;
            job->outcome = outcome;
        }
        job->doneChanged.notify_all();
    }).detach();

    std::unique_lock lock(job->mutex);
    if (job->doneChanged.wait_until(lock, deadline, [&] { return job->done; }))
        last_ = job->outcome;
    else
        last_ = Outcome::Stalled;
}

std::unique_ptr<Beeper> MakeSystemBeeper() {
    return std::make_unique<AlsaBeeper>();
}
#endif
