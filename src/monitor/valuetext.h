#pragma once
#include <QLocale>
#include <QString>
#include <cstdint>

// Every value the user sees (label, table cell, chart point) is first rounded to tenths, and that rounding
// is done in double precision by dividing by 0.1 rather than multiplying by 10: the division makes exact
// ties of values such as 0.75 (7.5 tenths, which goes to 8) and 0.45 (4.5, which goes to 4), and ties go
// to the even whole number. Held quantities are single precision, so 0.85f shows 0.9 while 0.85 shows 0.8.

// v / 0.1, to the nearest whole number with ties to the even one, times 0.1 (double).
double RoundTenth(double v);
// The whole number of tenths that RoundTenth multiplies back (ties to even); saturates at the int32 range,
// and a NaN has none (0).
std::int32_t Tenths(double v);
// The displayed text of a value: RoundTenth, then the shortest general decimal form with up to 15
// significant digits (printf's %.15g: trailing zeros dropped, exponent only from 1e15 up), never "-0",
// ASCII digits and sign, the locale's decimal separator and no group separators ("6543,6" in Russian).
QString ValueText(double v, const QLocale& locale = QLocale());
// The same text for a value held as tenths (tenths * 0.1 in double is exactly RoundTenth's result).
QString TenthsText(std::int32_t tenths, const QLocale& locale = QLocale());
