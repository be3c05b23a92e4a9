#pragma once
#include <QString>
#include <optional>

// A critical level as typed into the settings window: "0.0" with a decimal point; a comma is taken as
// well. Anything else is no level, and such a level is not tested.
std::optional<double> ParseLevel(const QString& text);

// Whether a value crosses its levels: the upper one is tested first (v >= upper); only when it is not
// crossed, the lower one (v <= lower). A missing level is never crossed. The levels are compared at the
// precision the value is held in (single), so that a reading equal to its level counts: 45.2 typed as a
// level must meet the 45.2 the meter sent, which single precision holds as 45.2000008.
bool CrossesLevel(float value, std::optional<double> lower, std::optional<double> upper);
