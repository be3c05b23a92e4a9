#include "loggerrecord.h"

namespace {
int word(const std::array<std::uint8_t, LoggerRecord::Bytes>& b, int at) {
    return b[at] << 8 | b[at + 1];
}
float tenths(int raw) {
    return static_cast<float>(static_cast<long double>(raw) * 0.1L);
}
} // namespace

LoggerRecord LoggerRecord::Decode(int address, const std::array<std::uint8_t, Bytes>& b) {
    LoggerRecord r;
    r.address = address;
    // Bytes 0-1, 8 and 14-15 are read and acknowledged but carry nothing the program uses.
    r.rhRaw = static_cast<std::uint16_t>(word(b, 2));
    r.tvRaw = static_cast<std::int16_t>(static_cast<std::uint16_t>(word(b, 4)));
    r.tshRaw = static_cast<std::int16_t>(static_cast<std::uint16_t>(word(b, 6)));
    r.minute = b[9];
    r.hour = b[10];
    r.year = b[11];
    r.month = b[12];
    r.day = b[13];
    return r;
}

float LoggerRecord::RH() const {
    return tenths(rhRaw);
}
float LoggerRecord::tv() const {
    return tenths(tvRaw);
}
float LoggerRecord::tsh() const {
    return tenths(tshRaw);
}

QString LoggerRecord::TimeText() const {
    return QStringLiteral("%1:%2 %3.%4.%5").arg(hour).arg(minute).arg(day).arg(month).arg(year);
}

bool LoggerRecord::HasValidStamp() const {
    return hour <= 23 && minute <= 59 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool HourContinues(int previousHour, int hour) {
    return hour == previousHour || hour == previousHour + 1 || (previousHour == 23 && hour == 0);
}
