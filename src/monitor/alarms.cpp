#include "alarms.h"
#include <QLocale>
#include <cmath>

std::optional<double> ParseLevel(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool CrossesLevel(float value, std::optional<double> lower, std::optional<double> upper) {
    if (upper && value >= static_cast<float>(*upper))
        return true;
    return lower && value <= static_cast<float>(*lower);
}
