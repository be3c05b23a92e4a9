#include "metermodel.h"
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {
constexpr std::uint8_t Probe = 0x37, ReadChannels = 0xA3, Identify = 0xA7, ReadConfig = 0xAB,
                       ReadRecord = 0xAD, SetClock = 0xAF;

void put16(std::uint8_t* at, int value) {
    at[0] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    at[1] = static_cast<std::uint8_t>(value & 0xFF);
}
} // namespace

MeterModel::MeterModel(MeterConfig config) : config_(config) {}

void MeterModel::receive(std::uint8_t byte, std::int64_t tUs) {
    // On a paced line a byte is complete one byte time after it started, and not before the last one.
    now_ = config_.paced ? std::max(tUs, lastInEnd_) + ByteTimeUs : tUs;
    lastInEnd_ = now_;
    transcript_.push_back({now_, WireEvent::Dir::ToMeter, byte});
    if (state_ != State::Idle && now_ - lastActivity_ > config_.resetUs)
        state_ = State::Idle; // the computer gave up on the last exchange
    lastActivity_ = now_;

    switch (state_) {
    case State::Idle:
        command(byte);
        break;
    case State::Params:
        send(byte); // every parameter byte is answered with one byte
        params_.push_back(byte);
        if (params_.size() == paramsWanted_)
            paramsComplete();
        break;
    case State::Data:
        // The echo of the byte in flight: the next data byte follows it.
        if (++dataIndex_ < data_.size())
            send(data_[dataIndex_]);
        else
            state_ = State::Idle;
        break;
    }
}

void MeterModel::command(std::uint8_t byte) {
    switch (byte) {
    case Probe:
        send(config_.probeAnswer);
        break;
    case ReadChannels: {
        send(byte);
        const auto bytes = channelBytes(now_);
        startData(bytes.data(), static_cast<int>(bytes.size()));
        break;
    }
    case Identify:
        send(byte);
        startData(&config_.identByte, 1);
        break;
    case ReadConfig:
        send(byte);
        startData(&config_.configByte, 1);
        break;
    case ReadRecord:
    case SetClock:
        send(byte);
        pendingCommand_ = byte;
        params_.clear();
        paramsWanted_ = byte == ReadRecord ? 2 : 5;
        state_ = State::Params;
        break;
    default:
        send(byte); // unknown bytes are answered all the same, and change nothing
        break;
    }
}

void MeterModel::paramsComplete() {
    if (pendingCommand_ == ReadRecord) {
        const auto bytes = recordBytes(params_[0] << 8 | params_[1]);
        startData(bytes.data(), static_cast<int>(bytes.size()));
        return;
    }
    clock_ = {params_[0], params_[1], params_[2], params_[3], params_[4]};
    ++clockWrites_;
    state_ = State::Idle;
}

void MeterModel::startData(const std::uint8_t* bytes, int count) {
    data_.assign(bytes, bytes + count);
    dataIndex_ = 0;
    state_ = State::Data;
    send(data_[0]);
}

void MeterModel::send(std::uint8_t byte) {
    auto queue = [this](std::uint8_t b) {
        if (config_.silent || (config_.silentAfter >= 0 && sentCount_ >= config_.silentAfter))
            return;
        std::int64_t ready = now_ + config_.slowUs;
        if (config_.paced)
            ready = std::max(ready, lastOutEnd_) + ByteTimeUs;
        lastOutEnd_ = ready;
        out_.push_back({b, ready});
        transcript_.push_back({ready, WireEvent::Dir::FromMeter, b});
        ++sentCount_;
    };
    if (config_.garbageAfter >= 0 && sentCount_ == config_.garbageAfter)
        queue(config_.garbageByte); // a byte nobody asked for, ahead of the real one
    queue(byte);
}

std::uint8_t MeterModel::popOutput() {
    const std::uint8_t byte = out_.front().byte;
    out_.pop_front();
    return byte;
}

std::array<std::uint8_t, 6> MeterModel::channelBytes(std::int64_t tUs) const {
    int rh = config_.rh, air = config_.airTemp, globe = config_.globeTemp;
    if (config_.drift) {
        // A room warming and cooling over twenty minutes, humidity moving against it.
        const double phase = 2.0 * 3.14159265358979 * static_cast<double>(tUs) / 1.2e9;
        air += static_cast<int>(std::lround(15.0 * std::sin(phase)));
        globe += static_cast<int>(std::lround(18.0 * std::sin(phase + 0.3)));
        rh -= static_cast<int>(std::lround(40.0 * std::sin(phase)));
        rh = std::clamp(rh, 0, 1000);
    }
    std::array<std::uint8_t, 6> bytes{};
    put16(&bytes[0], rh);
    put16(&bytes[2], air);
    put16(&bytes[4], globe);
    return bytes;
}

MeterClock MeterModel::recordStamp(int index) const {
    using namespace std::chrono;
    const MeterClock& s = config_.logStart;
    long offset = static_cast<long>(index - 1) * config_.stepMinutes;
    if (config_.breakAt > 0 && index >= config_.breakAt)
        offset += 120;
    const sys_days startDay{year{2000 + s.yearByte} / s.month / s.day};
    const auto t = startDay + hours{s.hour} + minutes{s.minute} + minutes{offset};
    const auto day = floor<days>(t);
    const year_month_day ymd{day};
    const hh_mm_ss hms{t - day};
    return {static_cast<int>(hms.minutes().count()), static_cast<int>(hms.hours().count()),
            static_cast<int>(static_cast<unsigned>(ymd.day())),
            static_cast<int>(static_cast<unsigned>(ymd.month())), static_cast<int>(ymd.year()) - 2000};
}

std::array<std::uint8_t, 16> MeterModel::recordBytes(int address) const {
    std::array<std::uint8_t, 16> bytes{};
    const int index = address / 10;
    if (!config_.customRecords.empty()) {
        if (address % 10 == 0 && index >= 1 && index <= static_cast<int>(config_.customRecords.size()))
            return config_.customRecords[static_cast<std::size_t>(index - 1)];
        bytes.fill(0xFF);
        return bytes;
    }
    if (address % 10 != 0 || index < 1 || index > std::min(config_.records, MaxRecords)) {
        bytes.fill(0xFF); // erased memory
        return bytes;
    }
    // Stored readings vary gently from record to record so that a download shows a curve.
    const int wave = (index * 7) % 40 - 20;
    put16(&bytes[0], 0);
    put16(&bytes[2], std::clamp(config_.rh + wave * 2, 0, 1000));
    put16(&bytes[4], config_.airTemp + wave);
    put16(&bytes[6], config_.globeTemp + wave + (index % 3));
    bytes[8] = 0;
    const MeterClock stamp = recordStamp(index);
    bytes[9] = static_cast<std::uint8_t>(stamp.minute);
    bytes[10] = static_cast<std::uint8_t>(stamp.hour);
    bytes[11] = static_cast<std::uint8_t>(stamp.yearByte);
    bytes[12] = static_cast<std::uint8_t>(stamp.month);
    bytes[13] = static_cast<std::uint8_t>(stamp.day);
    put16(&bytes[14], 0);
    return bytes;
}

std::string formatTranscript(const std::vector<WireEvent>& events) {
    std::string text;
    char line[64];
    for (const auto& e : events) {
        std::snprintf(line, sizeof line, "%12.3f ms %s 0x%02X\n", static_cast<double>(e.tUs) / 1000.0,
                      e.dir == WireEvent::Dir::ToMeter ? "PC->meter" : "meter->PC", e.byte);
        text += line;
    }
    return text;
}
