#pragma once
#include "link/unitcomport.h"
#include <QString>
#include <cstdint>
#include <optional>

// What the meter says it is: command 0xA7 without a probe first (the search has just probed the same
// port), and for a meter that reports a configuration, command 0xAB.
struct Identification {
    static constexpr std::int8_t SupportedMeter = 24; // ЛРГ/24: the one meter monitoring works with
    static constexpr std::int8_t ConfigMeter = 65;    // a meter that also reports a configuration byte

    ExchangeResult result = ExchangeResult::Done;
    std::int8_t IdentByte = 0;
    std::optional<std::int8_t> ConfigByte;

    static Identification Run(LinkState& link);
    // The status label of a configuration byte; none for values without one.
    static std::optional<QString> ConfigLabel(std::int8_t configByte);
};
