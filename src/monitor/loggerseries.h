#pragma once
#include <QList>
#include <QPointF>
#include <array>
#include <cstdint>
#include <vector>

// The points of the logger chart's four series: X is the record's address, Y the quantity rounded to one
// decimal place. Downloads accumulate; the points stay in ascending X, those of a later download after the
// earlier ones at the same address. Each series is fed to the chart by X range, never held whole by it.
class LoggerSeries {
public:
    enum Series { THC, RH, Tv, Tsh, Count };

    void append(int address, const std::array<std::int32_t, Count>& tenths);
    std::size_t size() const { return order_.size(); }
    // Appends the points of one series with X in [from, to], in X order.
    void feed(Series series, double from, double to, QList<QPointF>& out) const;
    // The position in X order of the first point with X >= x.
    std::size_t rankOf(double x) const;
    // The X of the point at a position in X order.
    int addressAt(std::size_t rank) const { return order_[rank].address; }

private:
    struct Entry {
        int address;
        std::uint32_t row;
    };
    std::vector<std::array<std::int32_t, Count>> rows_;
    std::vector<Entry> order_; // sorted by address, stable
};
