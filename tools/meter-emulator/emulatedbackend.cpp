#include "emulatedbackend.h"
#include <QStringList>

void EmulatedPortBackend::addPort(const QString& name, std::shared_ptr<MeterModel> meter) {
    std::lock_guard lock(mutex_);
    ports_[name] = std::move(meter);
}

void EmulatedPortBackend::removePort(const QString& name) {
    std::lock_guard lock(mutex_);
    ports_.erase(name);
    if (open_ == name)
        meter_.reset(); // the cable is pulled: the open port fails from now on
}

void EmulatedPortBackend::setClockUs(std::int64_t tUs) {
    std::lock_guard lock(mutex_);
    now_ = tUs;
}

bool EmulatedPortBackend::open(const QString& systemName) {
    std::lock_guard lock(mutex_);
    open_.clear();
    meter_.reset();
    named_ = systemName;
    if (!ports_.count(systemName)) {
        events_.push_back({now_, systemName, Event::Kind::OpenFailed, 0});
        return false;
    }
    open_ = systemName;
    meter_ = ports_[systemName];
    // Like a real port opened anew: whatever the meter sent to nobody is gone.
    if (meter_)
        while (meter_->hasOutput() && meter_->nextReadyUs() <= now_)
            meter_->popOutput();
    events_.push_back({now_, systemName, Event::Kind::Open, 0});
    return true;
}

void EmulatedPortBackend::close() {
    std::lock_guard lock(mutex_);
    if (!open_.isEmpty())
        events_.push_back({now_, open_, Event::Kind::Close, 0});
    open_.clear();
    meter_.reset();
}

bool EmulatedPortBackend::write(std::uint8_t byte) {
    std::lock_guard lock(mutex_);
    if (open_.isEmpty() || !ports_.count(open_)) {
        events_.push_back({now_, named_, Event::Kind::WriteFailed, byte});
        return false;
    }
    events_.push_back({now_, open_, Event::Kind::Write, byte});
    if (meter_)
        meter_->receive(byte, now_);
    return true;
}

PortBackend::Read EmulatedPortBackend::read(std::uint8_t& byte, int timeoutMs) {
    std::lock_guard lock(mutex_);
    if (open_.isEmpty() || !ports_.count(open_)) {
        events_.push_back({now_, named_, Event::Kind::ReadFailed, 0});
        return Read::Failed;
    }
    const std::int64_t limit = now_ + std::int64_t{timeoutMs} * 1000;
    if (meter_ && meter_->hasOutput() && meter_->nextReadyUs() <= limit) {
        now_ = std::max(now_, meter_->nextReadyUs());
        byte = meter_->popOutput();
        events_.push_back({now_, open_, Event::Kind::ReadByte, byte});
        return Read::Byte;
    }
    now_ = limit;
    events_.push_back({now_, open_, Event::Kind::ReadTimeout, 0});
    return Read::Timeout;
}

std::int64_t EmulatedPortBackend::nowUs() const {
    std::lock_guard lock(mutex_);
    return now_;
}

std::vector<EmulatedPortBackend::Event> EmulatedPortBackend::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

void EmulatedPortBackend::clearEvents() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

int EmulatedPortBackend::readsOn(const QString& port) const {
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const auto& e : events_)
        if (e.port == port && (e.kind == Event::Kind::ReadByte || e.kind == Event::Kind::ReadTimeout ||
                               e.kind == Event::Kind::ReadFailed))
            ++count;
    return count;
}

QStringList EmulatedPortBackend::opened() const {
    std::lock_guard lock(mutex_);
    QStringList names;
    for (const auto& e : events_)
        if (e.kind == Event::Kind::Open)
            names << e.port;
    return names;
}

QString describe(const std::vector<EmulatedPortBackend::Event>& events) {
    using K = EmulatedPortBackend::Event::Kind;
    QStringList lines;
    for (const auto& e : events) {
        const QString hex = QStringLiteral("%1").arg(e.byte, 2, 16, QLatin1Char('0')).toUpper();
        switch (e.kind) {
        case K::Open:
            lines << QStringLiteral("open ") + e.port;
            break;
        case K::OpenFailed:
            lines << QStringLiteral("open-failed ") + e.port;
            break;
        case K::Close:
            lines << QStringLiteral("close");
            break;
        case K::Write:
            lines << QStringLiteral("w ") + hex;
            break;
        case K::WriteFailed:
            lines << QStringLiteral("w! ") + hex;
            break;
        case K::ReadByte:
            lines << QStringLiteral("r ") + hex;
            break;
        case K::ReadTimeout:
            lines << QStringLiteral("r -");
            break;
        case K::ReadFailed:
            lines << QStringLiteral("r!");
            break;
        }
    }
    return lines.join(QLatin1Char('\n'));
}
