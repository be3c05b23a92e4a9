#pragma once
#include "link/portbackend.h"
#include "metermodel.h"
#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// An in-process PortBackend on a virtual clock: an empty 40 ms read costs nothing but moves the clock,
// so unit tests of timing rules (11 probe reads, the 2 s silence limit) run in microseconds.
// Ports are named; a port may hold a meter, hold nothing (a silent port), or not exist.
class EmulatedPortBackend final : public PortBackend {
public:
    struct Event {
        enum class Kind { Open, OpenFailed, Close, Write, WriteFailed, ReadByte, ReadTimeout, ReadFailed };
        std::int64_t tUs;
        QString port;
        Kind kind;
        std::uint8_t byte;
    };

    // A port that exists; with a meter on it when meter is not null. Safe to call while a search runs.
    void addPort(const QString& name, std::shared_ptr<MeterModel> meter = nullptr);
    void removePort(const QString& name);
    // Moves the virtual clock, as time passing outside any read.
    void setClockUs(std::int64_t tUs);

    bool open(const QString& systemName) override;
    void close() override;
    bool write(std::uint8_t byte) override;
    Read read(std::uint8_t& byte, int timeoutMs) override;
    std::int64_t nowUs() const override;

    std::vector<Event> events() const;
    void clearEvents();
    // Reads (of any outcome) made on a port, and the ports opened, in order.
    int readsOn(const QString& port) const;
    QStringList opened() const;

private:
    mutable std::mutex mutex_;
    std::map<QString, std::shared_ptr<MeterModel>> ports_;
    QString open_;
    QString named_; // the port of the last open, kept when it failed, to name the failed calls
    std::shared_ptr<MeterModel> meter_;
    std::int64_t now_ = 0;
    std::vector<Event> events_;
};

// Compact text of the events, one per line: "open COM5", "w 37", "r 37", "r -", "close"; for test diffs.
QString describe(const std::vector<EmulatedPortBackend::Event>& events);
