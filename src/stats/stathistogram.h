#pragma once
#include "monitor/readingstore.h"
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The statistics of one monitored quantity over the live readings, without any widget: ten classes ten
// units wide, counted per reading, and the smallest and largest value held.

constexpr int StatClasses = 10;

// A quantity of the statistics window's list, by the index of its item.
struct StatQuantity {
    Reading::Column column;
    int lowest;       // lower bound of the first class; class k holds [lowest + 10k, lowest + 10k + 10)
    bool upperLabels; // bars are labelled with the class's upper bound instead of its lower one
};

// The quantity of item 0 (tв), 1 (RH) or 2 (tш); nullptr for any other index (no item chosen).
const StatQuantity* StatQuantityAt(int index);

// The bar labels of a quantity, in class order.
QStringList StatClassLabels(const StatQuantity& quantity);

struct StatHistogram {
    std::array<std::int64_t, StatClasses> counts{};
    std::int64_t total() const;
    // Over every reading that has the value, inside the classes or not; both 0 when there is none.
    std::int32_t minTenths = 0;
    std::int32_t maxTenths = 0;
};

// Counts every reading of the store into its class; values outside all ten classes are not counted.
StatHistogram ComputeStatHistogram(const ReadingStore& store, const StatQuantity& quantity);

// A bar's share of all bars in percent, at most two decimals, trailing zeros dropped, the locale's
// decimal separator and " %" after it: "33,33 %", "50 %". A chart whose bars are all 0 shows "0 %".
QString StatPercentText(std::int64_t count, std::int64_t total, const QLocale& locale = QLocale());

// The minimum or maximum as the general floating-point text of the value held (shortest form, trailing
// zeros dropped, the locale's decimal separator).
QString StatValueText(std::int32_t tenths, const QLocale& locale = QLocale());
