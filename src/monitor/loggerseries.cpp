#include "loggerseries.h"
#include <algorithm>
#include <cmath>

void LoggerSeries::append(int address, const std::array<std::int32_t, Count>& tenths) {
    rows_.push_back(tenths);
    const auto at = std::upper_bound(order_.begin(), order_.end(), address,
                                     [](int a, const Entry& e) { return a < e.address; });
    order_.insert(at, Entry{address, static_cast<std::uint32_t>(rows_.size() - 1)});
}

std::size_t LoggerSeries::rankOf(double x) const {
    return static_cast<std::size_t>(std::lower_bound(order_.begin(), order_.end(), x,
                                                     [](const Entry& e, double v) { return e.address < v; }) -
                                    order_.begin());
}

void LoggerSeries::feed(Series series, double from, double to, QList<QPointF>& out) const {
    for (std::size_t i = rankOf(from); i < order_.size() && order_[i].address <= to; ++i)
        out.append(QPointF(order_[i].address, static_cast<double>(rows_[order_[i].row][series]) * 0.1));
}
