#include "monitor/valuetext.h"
#include <charconv>
#include <cmath>
#include <limits>

namespace {
// The whole number of tenths as a double; nearbyint rounds ties to even in the default rounding mode,
// which the program never changes.
double WholeTenths(double v) {
    return std::nearbyint(v / 0.1);
}

QString GeneralText(double rounded, const QLocale& locale) {
    if (rounded == 0)
        rounded = 0; // -0 (from -0.04, or from a tie such as -0.05 going to even) is shown as 0
    // %.15g, but independent of the C library's locale: Qt sets LC_NUMERIC from the environment.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}
} // namespace

double RoundTenth(double v) {
    return WholeTenths(v) * 0.1;
}

std::int32_t Tenths(double v) {
    const double whole = WholeTenths(v);
    if (std::isnan(whole))
        return 0;
    if (whole >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (whole <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(whole);
}

QString ValueText(double v, const QLocale& locale) {
    return GeneralText(RoundTenth(v), locale);
}

QString TenthsText(std::int32_t tenths, const QLocale& locale) {
    return GeneralText(tenths * 0.1, locale);
}
