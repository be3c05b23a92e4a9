#include "monitor/quantities.h"
#include "monitor/valuetext.h"
#include <cmath>

namespace {
using Real = long double;

float Held(Real v) {
    return static_cast<float>(v);
}

Real FourthRoot(Real v) {
    return std::sqrt(std::sqrt(v));
}

float Scaled(int word) {
    return Held(word * 0.1L);
}

int Word(const std::array<std::uint8_t, 6>& bytes, std::size_t at) {
    return bytes[at] << 8 | bytes[at + 1];
}

// Everything after the channels, shared by the live reading and the logger record.
LiveQuantities Derive(const Channels& c, bool reportClampedGlobe) {
    LiveQuantities q{c.RH, c.tv, c.tsh, 0, std::nullopt, 0, 0, 0, 0};
    q.tvt = WetBulb(c.RH, c.tv);
    if (c.RH != 0)
        q.ttr = DewPoint(c.RH, c.tv);
    q.THC = Thc(q.tvt, c.tsh);
    q.WBGT = Wbgt(q.tvt, c.tsh, c.tv);
    const float globe = c.tsh < c.tv ? c.tv : c.tsh; // the radiant temperature needs (tsh − tv)⁵ >= 0
    q.trad = RadiantTemp(globe, c.tv);
    q.W = RadiantFlux(q.trad, c.tv);
    if (reportClampedGlobe)
        q.tsh = globe;
    return q;
}
} // namespace

Channels DecodeChannels(const std::array<std::uint8_t, 6>& bytes) {
    return {Scaled(Word(bytes, 0)), Scaled(static_cast<std::int16_t>(Word(bytes, 2))),
            Scaled(static_cast<std::int16_t>(Word(bytes, 4)))};
}

float WetBulb(float RH, float tv) {
    const Real rh = RH;
    const Real t = tv;
    const Real d = 0.01L * rh - 0.5L;
    const Real v = (0.636L + 0.00381L * rh) * t + 0.0546L * rh - 4 * (d * d) - 4.94L;
    return static_cast<float>(RoundTenth(static_cast<double>(v)));
}

float DewPoint(float RH, float tv) {
    const Real t = tv;
    const Real gamma = std::log1p(0.01L * RH - 1) * 0.05712881977571225L + t / (t + 241.2L);
    return Held(241.2L * gamma / (1 - gamma));
}

float Thc(float tvt, float tsh) {
    return Held((7 * Real(tvt) + 3 * Real(tsh)) * 0.1L);
}

float Wbgt(float tvt, float tsh, float tv) {
    return Held((7 * Real(tvt) + 2 * Real(tsh) + Real(tv)) * 0.1L);
}

float RadiantTemp(float tsh, float tv) {
    const Real s = tsh;
    const Real t = tv;
    return Held(FourthRoot(std::pow(s + 273.2L, 4.0L) + 48000000 * FourthRoot(std::pow(s - t, 5.0L))) -
                273.2L);
}

float RadiantFlux(float trad, float tv) {
    const Real r = trad;
    const Real t = tv;
    return Held((std::pow(r + 273.2L, 4.0L) - std::pow(t + 273.2L, 4.0L)) * 0.01L * 567 * 1e-8L);
}

LiveQuantities ComputeLive(const Channels& c) {
    if (c.RH == 0 && c.tv == 0)
        return {c.RH, c.tv, c.tsh, 0, 0.0f, 0, 0, 0, 0};
    return Derive(c, false);
}

LiveQuantities ComputeLogger(const Channels& c) {
    return Derive(c, true);
}
