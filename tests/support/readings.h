#pragma once
#include "monitor/readingstore.h"

// A live reading with the three measured values in tenths and every other quantity zero.
inline Reading reading(std::int32_t tv, std::int32_t rh, std::int32_t tsh) {
    Reading r;
    r.tenths.fill(0);
    r.tenths[Reading::Tv] = tv;
    r.tenths[Reading::RH] = rh;
    r.tenths[Reading::Tsh] = tsh;
    return r;
}
