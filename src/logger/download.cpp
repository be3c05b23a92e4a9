#include "download.h"
#include "link/unitcomport.h"

DownloadEnd DownloadRecords(LinkState& link, const std::function<bool(const LoggerRecord&)>& onRecord) {
    DownloadEnd end = DownloadEnd::LastAddress;
    const ExchangeResult result = RunExchange(link, Probe::First, [&] {
        int previousHour = -1;
        for (int address = LoggerRecord::FirstAddress; address <= LoggerRecord::LastAddress;
             address += LoggerRecord::AddressStep) {
            const std::uint8_t request[] = {Cmd::CmdReadRecord, static_cast<std::uint8_t>(address >> 8),
                                            static_cast<std::uint8_t>(address & 0xFF)};
            for (std::uint8_t b : request)
                if (!link.Command(b))
                    return false;
            std::array<std::uint8_t, LoggerRecord::Bytes> bytes{};
            for (auto& byte : bytes) {
                const auto b = link.ReadEcho();
                if (!b)
                    return false;
                byte = *b;
            }
            const LoggerRecord record = LoggerRecord::Decode(address, bytes);
            if (!record.HasValidStamp()) {
                end = DownloadEnd::NoRecord;
                return true;
            }
            // The first record is always taken; from the second on, the hours must run on.
            if (address > LoggerRecord::FirstAddress && !HourContinues(previousHour, record.hour)) {
                end = DownloadEnd::HourBreak;
                return true;
            }
            previousHour = record.hour;
            if (!onRecord(record)) {
                end = DownloadEnd::Cancelled;
                return true;
            }
        }
        return true;
    });
    if (result == ExchangeResult::NoAnswer)
        return DownloadEnd::NoAnswer;
    if (result == ExchangeResult::Lost)
        return DownloadEnd::Lost;
    return end;
}

std::uint8_t YearByte(int year) {
    return static_cast<std::uint8_t>(((year & 0xFF) + 0x30) & 0xFF);
}

ClockWriteEnd WriteClock(LinkState& link, int minute, int hour, int day, int month, int year,
                         const std::function<void()>& afterProbe) {
    const ExchangeResult result = RunExchange(link, Probe::First, [&] {
        if (afterProbe)
            afterProbe();
        const std::uint8_t message[] = {Cmd::CmdSetClock,
                                        static_cast<std::uint8_t>(minute),
                                        static_cast<std::uint8_t>(hour),
                                        static_cast<std::uint8_t>(day),
                                        static_cast<std::uint8_t>(month),
                                        YearByte(year)};
        for (std::uint8_t b : message)
            if (!link.Command(b))
                return false;
        return true;
    });
    switch (result) {
    case ExchangeResult::Done:
        return ClockWriteEnd::Done;
    case ExchangeResult::NoAnswer:
        return ClockWriteEnd::NoAnswer;
    case ExchangeResult::Lost:
        return ClockWriteEnd::Lost;
    }
    return ClockWriteEnd::Lost;
}
