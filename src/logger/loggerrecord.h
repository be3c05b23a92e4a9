#pragma once
#include <QString>
#include <array>
#include <cstdint>

// One record of the meter's memory as it answers a record request: 16 bytes, 16-bit fields high byte
// first. The stamp bytes are plain numbers (not BCD), as the clock write sends them.
struct LoggerRecord {
    static constexpr int Bytes = 16;
    static constexpr int FirstAddress = 10;
    static constexpr int AddressStep = 10;
    static constexpr int LastAddress = 30000; // 3000 records at most

    int address = 0;
    std::uint16_t rhRaw = 0; // tenths of %, unsigned
    std::int16_t tvRaw = 0;  // tenths of °C, signed
    std::int16_t tshRaw = 0; // tenths of °C, signed
    int minute = 0, hour = 0, year = 0, month = 0, day = 0;

    static LoggerRecord Decode(int address, const std::array<std::uint8_t, Bytes>& bytes);

    float RH() const;
    float tv() const;
    float tsh() const;
    // hour ":" minute " " day "." month "." year, no leading zeros: 9:5 7.4.17
    QString TimeText() const;
    // A stamp no clock can show (hour 24 and up, minute 60 and up, month or day 0 or out of range) marks
    // memory that holds no record, such as erased memory reading all ones.
    bool HasValidStamp() const;
};

// The download goes on while each record's hour equals the previous one's, is one more, or wraps 23 -> 0.
bool HourContinues(int previousHour, int hour);
