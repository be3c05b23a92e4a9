#include "stats/stathistogram.h"
#include "monitor/valuetext.h"
#include <algorithm>
#include <charconv>

namespace {
constexpr StatQuantity Quantities[] = {
    {Reading::Tv, -30, false},
    {Reading::RH, 0, true},
    {Reading::Tsh, -30, false},
};
constexpr int ClassWidthTenths = 100;
} // namespace

const StatQuantity* StatQuantityAt(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(Quantities)))
        return nullptr;
    return &Quantities[index];
}

QStringList StatClassLabels(const StatQuantity& quantity) {
    QStringList labels;
    const int shift = quantity.upperLabels ? 10 : 0;
    for (int k = 0; k < StatClasses; ++k)
        labels << QString::number(quantity.lowest + 10 * k + shift);
    return labels;
}

std::int64_t StatHistogram::total() const {
    std::int64_t sum = 0;
    for (const std::int64_t c : counts)
        sum += c;
    return sum;
}

StatHistogram ComputeStatHistogram(const ReadingStore& store, const StatQuantity& quantity) {
    StatHistogram h;
    // Classes are compared in whole tenths, which is exactly the value the user sees: -30.0 belongs to the
    // class from -30 whatever the binary form of -300 * 0.1 happens to be.
    const std::int64_t lowest = static_cast<std::int64_t>(quantity.lowest) * 10;
    bool first = true;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const Reading& r = store.at(i);
        if (!r.has(quantity.column))
            continue;
        const std::int32_t t = r.tenths[quantity.column];
        if (first) {
            h.minTenths = h.maxTenths = t;
            first = false;
        } else {
            h.minTenths = std::min(h.minTenths, t);
            h.maxTenths = std::max(h.maxTenths, t);
        }
        const std::int64_t offset = t - lowest;
        if (offset >= 0 && offset < std::int64_t{StatClasses} * ClassWidthTenths)
            ++h.counts[static_cast<std::size_t>(offset / ClassWidthTenths)];
    }
    return h;
}

QString StatPercentText(std::int64_t count, std::int64_t total, const QLocale& locale) {
    const double percent = total > 0 ? 100.0 * static_cast<double>(count) / static_cast<double>(total) : 0.0;
    // Fixed with two decimals, then the zeros that say nothing go; to_chars ignores the C locale.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, percent, std::chars_format::fixed, 2);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text + QStringLiteral(" %");
}

QString StatValueText(std::int32_t tenths, const QLocale& locale) {
    // The readings are held as tenths; tenths * 0.1 is the very number a chart point holds, and TenthsText
    // writes it in the general form without rounding it again.
    return TenthsText(tenths, locale);
}
