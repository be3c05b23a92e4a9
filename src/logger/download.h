#pragma once
#include "loggerrecord.h"
#include <functional>

class LinkState;

// How a download ended.
enum class DownloadEnd {
    NoAnswer,    // the probe got no answer: nothing was read
    Lost,        // the meter fell silent in the middle of a record; the records before it stand
    HourBreak,   // a record's hour broke the continuity: that record and the rest are not taken
    NoRecord,    // an address held no record (an impossible stamp): the stored records have all been read
    LastAddress, // all 3000 addresses were read
    Cancelled,   // the user ended it; the records read stand
};

// Reads the meter's records one request at a time (probe first; per record 0xAD, the address high and
// low byte, then 16 echoed bytes), from address 10 in steps of 10 up to 30000, ending at the first record
// whose hour does not continue the previous one, or at the first address that holds no record. onRecord gets
// every record taken and returns false to end the download after it. Opens and closes the port itself. Needs
// no window.
DownloadEnd DownloadRecords(LinkState& link, const std::function<bool(const LoggerRecord&)>& onRecord);

// Sets the meter's clock after the probe: 0xAF, minute, hour, day, month, and the year's low byte plus 48.
// Values go out as plain bytes, truncated to 8 bits.
enum class ClockWriteEnd { Done, NoAnswer, Lost };
// afterProbe runs once the meter has answered the probe, before the message goes out.
ClockWriteEnd WriteClock(LinkState& link, int minute, int hour, int day, int month, int year,
                         const std::function<void()>& afterProbe = {});
// The year byte the meter takes: (year & 0xFF) + 0x30, modulo 256; 2017 -> 17, 2100 -> 100.
std::uint8_t YearByte(int year);
