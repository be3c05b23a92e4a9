#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <limits>

// One live reading as the program keeps it: the time of day and the nine quantities already rounded to
// one decimal place, held as whole tenths. A reading costs 40 bytes; the table and the charts are views.
struct Reading {
    // Columns of the quantity set after the time: THC, WBGT, RH, tв, tш, tвт, tтр, tрад, W.
    enum Column { THC, WBGT, RH, Tv, Tsh, Tvt, Ttr, Trad, W, Count };
    static constexpr std::int32_t NoValue = std::numeric_limits<std::int32_t>::min(); // e.g. no dew point

    std::int32_t secondOfDay = 0;
    std::array<std::int32_t, Count> tenths{};

    bool has(Column c) const { return tenths[c] != NoValue; }
    double value(Column c) const { return static_cast<double>(tenths[c]) * 0.1; }
};

// Every live reading of the run, in order. Chunked storage: no reallocation spike however long it runs.
class ReadingStore {
public:
    void append(const Reading& r) { readings_.push_back(r); }
    std::size_t size() const { return readings_.size(); }
    bool empty() const { return readings_.empty(); }
    const Reading& at(std::size_t i) const { return readings_[i]; }
    const Reading& back() const { return readings_.back(); }

private:
    std::deque<Reading> readings_;
};
