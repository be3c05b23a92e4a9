#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// The meter's side of the serial protocol, as a plain state machine fed with bytes and timestamps.
// The pseudo-terminal program drives it on the real clock, the in-process port backend on a virtual one.

struct MeterClock {
    int minute = 0, hour = 8, day = 1, month = 12;
    int yearByte = 26; // year of the century, as the meter stores it
    bool operator==(const MeterClock&) const = default;
};

struct MeterConfig {
    std::uint8_t probeAnswer = 0x37;
    std::uint8_t identByte = 24;
    std::uint8_t configByte = 0;

    // Live channels in tenths: RH unsigned, air and globe temperature signed.
    std::uint16_t rh = 452;
    std::int16_t airTemp = 231;
    std::int16_t globeTemp = 254;
    bool drift = false; // a slowly drifting indoor climate around the values above

    // Logger memory: records 1..records at addresses 10..records*10, stamped every stepMinutes from
    // logStart. breakAt = k puts an hour gap of two hours before record k (0 = continuous).
    int records = 0;
    int breakAt = 0;
    int stepMinutes = 1;
    MeterClock logStart{};
    // When not empty, the memory holds exactly these records, byte for byte (records is then ignored).
    std::vector<std::array<std::uint8_t, 16>> customRecords;

    // Faults.
    bool silent = false;    // answers nothing at all
    long silentAfter = -1;  // stops sending after this many bytes (-1 = never)
    long garbageAfter = -1; // slips one unexpected byte in after this many sent bytes
    std::uint8_t garbageByte = 0xEE;
    std::int64_t slowUs = 0; // every byte goes out this much later
    bool paced = false;      // both directions take the wire time of 9600 baud, 8N1
    // A half-done exchange is forgotten after this long without a byte from the computer.
    std::int64_t resetUs = 1'000'000;
};

struct WireEvent {
    enum class Dir { ToMeter, FromMeter };
    std::int64_t tUs;
    Dir dir;
    std::uint8_t byte;
    bool operator==(const WireEvent&) const = default;
};

class MeterModel {
public:
    static constexpr std::int64_t ByteTimeUs = 1042; // 10 bits at 9600 baud
    static constexpr int MaxRecords = 3000;

    explicit MeterModel(MeterConfig config = {});

    // A byte from the computer, read from the line at tUs.
    void receive(std::uint8_t byte, std::int64_t tUs);
    // Bytes on their way to the computer, each with the time it is complete on the line.
    bool hasOutput() const { return !out_.empty(); }
    std::int64_t nextReadyUs() const { return out_.front().readyUs; }
    std::uint8_t popOutput();

    const std::vector<WireEvent>& transcript() const { return transcript_; }
    void clearTranscript() { transcript_.clear(); }
    const MeterClock& clock() const { return clock_; }
    int clockWrites() const { return clockWrites_; }
    const MeterConfig& config() const { return config_; }
    MeterConfig& config() { return config_; }

    // What the meter would answer, for tests and for the logger memory.
    std::array<std::uint8_t, 6> channelBytes(std::int64_t tUs) const;
    std::array<std::uint8_t, 16> recordBytes(int address) const;
    MeterClock recordStamp(int index) const; // 1-based record index

private:
    enum class State { Idle, Params, Data };
    void send(std::uint8_t byte);
    void startData(const std::uint8_t* bytes, int count);
    void command(std::uint8_t byte);
    void paramsComplete();

    struct Out {
        std::uint8_t byte;
        std::int64_t readyUs;
    };

    MeterConfig config_;
    State state_ = State::Idle;
    std::uint8_t pendingCommand_ = 0;
    std::vector<std::uint8_t> params_;
    std::size_t paramsWanted_ = 0;
    std::vector<std::uint8_t> data_;
    std::size_t dataIndex_ = 0;

    std::deque<Out> out_;
    std::int64_t now_ = 0;        // time the byte in hand has been fully received
    std::int64_t lastInEnd_ = 0;  // end of the last byte received (pacing)
    std::int64_t lastOutEnd_ = 0; // end of the last byte sent (pacing)
    std::int64_t lastActivity_ = 0;
    long sentCount_ = 0;
    MeterClock clock_{};
    int clockWrites_ = 0;
    std::vector<WireEvent> transcript_;
};

std::string formatTranscript(const std::vector<WireEvent>& events);
