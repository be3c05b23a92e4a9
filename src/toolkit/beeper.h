#pragma once
#include <QtGlobal>
#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A synchronous tone: Beep returns when the tone has played, or has given up trying.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void Beep(int frequencyHz, int durationMs) = 0;
};

// The computer's loudspeaker (Linux: ALSA's "default" device). Never throws and never reports: a
// missing, busy or stuck sound device only means that no tone is heard.
std::unique_ptr<Beeper> MakeSystemBeeper();

// Tests: remembers the tones instead of playing them.
class RecordingBeeper final : public Beeper {
public:
    void Beep(int hz, int ms) override { calls.emplace_back(hz, ms); }
    std::vector<std::pair<int, int>> calls;
};

#ifndef Q_OS_WIN
// A sine tone through an ALSA playback device, mono S16 at 48 kHz (or 44.1 kHz where 48 is refused),
// with a few milliseconds of fade at both ends so that the tone does not click.
//
// The device is driven by a worker thread; Beep waits for it for at most the duration + GraceMs. A
// worker that is still stuck after that (a device that blocks inside the driver) is left to finish
// on its own, and until it has, further beeps are skipped at once instead of piling up threads.
class AlsaBeeper final : public Beeper {
public:
    enum class Outcome { None, Played, NoDevice, Refused, Stalled, Busy };
    static constexpr int GraceMs = 500;

    // device: an ALSA device name. configText, if given, is ALSA configuration in which that name is
    // looked up instead of the system's (tests define devices of their own this way).
    explicit AlsaBeeper(std::string device = "default", std::string configText = {});
    void Beep(int frequencyHz, int durationMs) override;

    Outcome lastOutcome() const { return last_; }
    // True while a worker, possibly one given up on, still holds the device.
    bool busy() const;

private:
    struct Shared;
    std::string device_;
    std::string config_;
    Outcome last_ = Outcome::None;
    std::shared_ptr<Shared> shared_;
};
#endif
