#pragma once
#include <array>
#include <cstdint>
#include <optional>

// The meter's three channels and the six quantities derived from them. Values are held in single
// precision; each formula takes its inputs as held, computes in long double (64-bit significand, with long
// double constants) in the order written beside it, and holds the result in single precision again. The
// last bits decide the displayed tenth when a result falls on a tie, so neither the order nor the precision
// of the constants is free to change.

// Relative humidity (%), air temperature and globe temperature (°C), as received: tenths times 0.1.
struct Channels {
    float RH;
    float tv;
    float tsh;
};

// Three 16-bit words, high byte first: RH unsigned, tv and tsh signed.
Channels DecodeChannels(const std::array<std::uint8_t, 6>& bytes);

// Wet-bulb temperature: (0.636 + 0.00381·RH)·tv + 0.0546·RH − 4·(0.01·RH − 0.5)² − 4.94, rounded to tenths
// (RoundTenth, in double) before it is held.
float WetBulb(float RH, float tv);
// Dew point, Magnus form: γ = ln(1 + (0.01·RH − 1))·0.05712881977571225 + tv/(tv + 241.2), then
// 241.2·γ/(1 − γ). Only for RH != 0 (the logarithm of zero).
float DewPoint(float RH, float tv);
// Heat-stress index: (7·tvt + 3·tsh)·0.1, from the rounded wet-bulb temperature.
float Thc(float tvt, float tsh);
// WBGT: (7·tvt + 2·tsh + tv)·0.1.
float Wbgt(float tvt, float tsh, float tv);
// Mean radiant temperature: ((tsh + 273.2)⁴ + 48000000·((tsh − tv)⁵)^¼)^¼ − 273.2, with pow for the
// powers and each fourth root as two square roots. Needs tsh >= tv (the caller clamps).
float RadiantTemp(float tsh, float tv);
// Radiant heat flux (W/m²): ((trad + 273.2)⁴ − (tv + 273.2)⁴)·0.01·567·10⁻⁸, from the unrounded trad.
float RadiantFlux(float trad, float tv);

struct LiveQuantities {
    float RH, tv, tsh, tvt;
    std::optional<float> ttr; // empty: no dew point for RH = 0
    float THC, WBGT, trad, W;
};

// The live reading. RH and tv both exactly 0 mean no measurement: every derived quantity is 0 (the dew
// point too). Otherwise RH = 0 leaves the dew point empty. THC and WBGT use the measured tsh; only the
// radiant temperature and flux see tsh raised to tv when it is below, and tsh is reported as measured.
LiveQuantities ComputeLive(const Channels& c);
// A logger record: every record goes through the formulas (RH = tv = 0 gives a wet-bulb of -5.9), the
// dew point is empty for RH = 0, and the reported tsh is the one raised to tv.
LiveQuantities ComputeLogger(const Channels& c);
