#pragma once
#include <cstdint>

// The meter's command set. Every byte the computer sends (command or parameter) is answered by the meter
// with exactly one byte, which is read and dropped; every data byte the meter sends is echoed back at once.
namespace Cmd {
inline constexpr std::uint8_t CmdProbe = 0x37;        // any one byte back means "present"
inline constexpr std::uint8_t CmdReadChannels = 0xA3; // 6 data bytes: RH, tв, tш (16 bit, high first)
inline constexpr std::uint8_t CmdIdentify = 0xA7; // 1 data byte: 24 = ЛРГ/24, 65 = has a configuration byte
inline constexpr std::uint8_t CmdReadConfig = 0xAB; // 1 data byte: configuration 0, 1 or 2
inline constexpr std::uint8_t CmdReadRecord = 0xAD; // + address high, low; 16 data bytes
inline constexpr std::uint8_t CmdSetClock = 0xAF;   // + minute, hour, day, month, year byte; no data

inline constexpr int ChannelBytes = 6;
inline constexpr int RecordBytes = 16;
} // namespace Cmd
