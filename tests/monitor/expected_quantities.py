#!/usr/bin/env python3
"""Expected values for tst_quantities.cpp, computed without the program's code.

Only the standard library is used: Fraction for exact rationals, Decimal (60 digits) for logarithms and
roots, and Python's float, which is an IEEE double, for the displayed-value rounding.

Two ways of getting a single-precision result:

* Formulas made only of +, -, x (F1, F3, F4, and the channel scaling) are replayed operation by
  operation in 64-bit-significand long double arithmetic (`ld`, round to nearest, ties to even), each
  constant being the long double nearest to its decimal text, then rounded to single precision.  This
  reproduces the program bit for bit, including results that land on a single-precision tie.
* Formulas with a logarithm, a power or a root (F2, F5, F6) are computed exactly and rounded once to
  single precision.  The program's long double library functions agree with that unless the exact value
  lies within their error of a rounding boundary.  Long double has a unit roundoff of 5.4e-20, so a
  formula's few dozen operations stay far inside 1e-16 relative (times the cancellation in F6's
  difference of fourth powers).  Every value is checked to sit at least that far from a boundary; a row
  that fails the check must be replaced by other inputs.

The displayed text repeats the rounding in IEEE double: x / 0.1, round half to even (Python's round),
times 0.1, then '%.15g' with '-0' written as '0'.

Run:  python3 tests/monitor/expected_quantities.py   and paste the output into the _data() tables.
"""
import decimal
import struct
from decimal import Decimal as D
from fractions import Fraction as F

decimal.getcontext().prec = 60
MARGIN = F(1, 10**16)


def round_binary(x, digits, emin):
    """Round an exact rational to `digits` significant bits, ties to even (exponent not below emin)."""
    x = F(x)
    if x == 0:
        return F(0)
    sign = -1 if x < 0 else 1
    a = abs(x)
    e = a.numerator.bit_length() - a.denominator.bit_length()
    if F(2) ** e > a:
        e -= 1
    if F(2) ** (e + 1) <= a:
        e += 1
    e = max(e, emin)
    scale = F(2) ** (e - digits + 1)  # one unit in the last place at this exponent
    m = a / scale
    n = m.numerator // m.denominator
    rest = m - n
    if rest > F(1, 2) or (rest == F(1, 2) and n % 2 == 1):
        n += 1
    return sign * n * scale


def f32(x):
    out = float(round_binary(x, 24, -126))
    assert struct.unpack('<f', struct.pack('<f', out))[0] == out
    return out


def ld(x):
    return round_binary(x, 64, -16382)


def bits(x):
    return struct.unpack('<I', struct.pack('<f', x))[0]


def neighbour(x, up):
    """The next single-precision number above (or below) x."""
    if x == 0:
        return struct.unpack('<f', struct.pack('<I', 1))[0] * (1 if up else -1)
    b = bits(x)
    b += 1 if (x > 0) == up else -1
    return struct.unpack('<f', struct.pack('<I', b))[0]


def check_margin(x, what, amplification=1):
    """The exact value must not be near a point where single-precision rounding changes its mind."""
    x = F(x)
    r = f32(x)
    if F(r) == x:
        return
    boundary = (F(r) + F(neighbour(r, x > r))) / 2
    assert abs(boundary - x) > MARGIN * amplification * abs(x), (what, float(x))


def shown(v, sep='.'):
    """The displayed text of a double, and its whole number of tenths."""
    t = round(v / 0.1)
    r = t * 0.1
    if r == 0:
        r = 0.0
    return ('%.15g' % r).replace('.', sep), t


def fourth_root(x):
    return x.sqrt().sqrt()


# long double constants, as the compiler makes them from the decimal literals
C = {s: ld(F(s)) for s in ['0.636', '0.00381', '0.0546', '0.01', '0.5', '4.94', '0.1']}


def wet_bulb(RH, tv):
    """F1 replayed in long double: ((0.636 + 0.00381 RH) tv + 0.0546 RH) - 4 (0.01 RH - 0.5)^2 - 4.94."""
    rh, t = F(RH), F(tv)
    s = ld(ld(C['0.636'] + ld(C['0.00381'] * rh)) * t)
    s = ld(s + ld(C['0.0546'] * rh))
    d = ld(ld(C['0.01'] * rh) - C['0.5'])
    s = ld(s - 4 * ld(d * d))
    s = ld(s - C['4.94'])
    # then rounded to tenths in double: long double -> double, / 0.1, ties to even, x 0.1
    return f32(F(round(float(s) / 0.1) * 0.1))


def dew_point(RH, tv):
    rh, t = D(RH), D(tv)
    g = (D('0.01') * rh).ln() * D('0.05712881977571225') + t / (t + D('241.2'))
    exact = D('241.2') * g / (1 - g)
    check_margin(exact, 'F2')
    return f32(exact)


def thc(tvt, tsh):
    """F3 replayed in long double: (7 tvt + 3 tsh) x 0.1."""
    return f32(ld(ld(ld(7 * F(tvt)) + ld(3 * F(tsh))) * C['0.1']))


def wbgt(tvt, tsh, tv):
    """F4 replayed in long double: (7 tvt + 2 tsh + tv) x 0.1."""
    s = ld(ld(7 * F(tvt)) + ld(2 * F(tsh)))
    return f32(ld(ld(s + F(tv)) * C['0.1']))


def radiant_temp(tsh, tv):
    s, t = D(tsh), D(tv)
    exact = fourth_root((s + D('273.2')) ** 4 + 48000000 * fourth_root((s - t) ** 5)) - D('273.2')
    check_margin(exact, 'F5')
    return f32(exact)


def radiant_flux(trad, tv):
    a, b = F(trad) + F('273.2'), F(tv) + F('273.2')
    exact = (a ** 4 - b ** 4) * F('0.01') * 567 * F(1, 10**8)
    if exact != 0:
        check_margin(exact, 'F6', (a ** 4 + b ** 4) / abs(a ** 4 - b ** 4))
    return f32(exact)


def scaled(word, signed):
    if signed and word >= 32768:
        word -= 65536
    return f32(ld(word * C['0.1']))


def channels(raw):
    return (scaled(raw[0] * 256 + raw[1], False), scaled(raw[2] * 256 + raw[3], True),
            scaled(raw[4] * 256 + raw[5], True))


def quantity_set(raw, logger):
    """THC, WBGT, RH, tv, tsh, tvt, ttr, trad, W in the tables' column order; None for no dew point."""
    RH, tv, tsh = channels(raw)
    if not logger and RH == 0 and tv == 0:
        return [0.0, 0.0, RH, tv, tsh, 0.0, 0.0, 0.0, 0.0]
    tvt = wet_bulb(RH, tv)
    ttr = dew_point(RH, tv) if RH != 0 else None
    THC = thc(tvt, tsh)
    WBGT = wbgt(tvt, tsh, tv)
    clamped = tv if tsh < tv else tsh
    trad = radiant_temp(clamped, tv)
    W = radiant_flux(trad, tv)
    return [THC, WBGT, RH, tv, clamped if logger else tsh, tvt, ttr, trad, W]


ROWS = [
    ('indoor climate', '01C2 00E1 00E7'),       # 45.0 %, 22.5, 23.1
    ('hot and humid', '0355 015B 019C'),        # 85.3 %, 34.7, 41.2
    ('sub-zero', '02D4 FF82 FF99'),             # 72.4 %, -12.6, -10.3
    ('globe below air', '01F4 00FA 00CC'),      # 50.0 %, 25.0, 20.4
    ('RH 0 and air 0', '0000 0000 00BB'),       # 0, 0, 18.7
    ('RH 0, air 15.2', '0000 0098 00A0'),       # 0, 15.2, 16.0
    ('FF 9C on each channel', 'FF9C FF9C FF9C'),  # 6543.6 %, -10.0, -10.0
    ('FF 38, air -20', '022B FF38 0000'),       # 55.5 %, -20.0, 0
    ('saturated air', '03E8 00FA 00FA'),        # 100.0 %, 25.0, 25.0
    ('globe far above air', '0190 0064 01F4'),  # 40.0 %, 10.0, 50.0
    ('RH 0, air 2.5', '0000 0019 001E'),        # 0, 2.5, 3.0: F1 on a tie
    ('RH 25, air -36', '00FA FE98 FE98'),       # 25.0 %, -36.0, -36.0: F1 on a tie
]

# Rows marked "(*)" sit on a tie where the result depends on doing the arithmetic in long double with
# long double constants: long double with a double 0.1, or all-double arithmetic, shows another tenth.
SINGLES = [
    ('F1 RH 0 air 0', 'F1', ['0', '0'], lambda a: wet_bulb(*a)),
    ('F1 indoor', 'F1', ['45', '22.5'], lambda a: wet_bulb(*a)),
    ('F1 RH 6543.6', 'F1', ['6543.6', '-10'], lambda a: wet_bulb(*a)),
    ('F1 RH 0 air 2.5 (*)', 'F1', ['0', '2.5'], lambda a: wet_bulb(*a)),
    ('F1 RH 25 air -36 (*)', 'F1', ['25', '-36'], lambda a: wet_bulb(*a)),
    ('F1 RH 25 air 12 (*)', 'F1', ['25', '12'], lambda a: wet_bulb(*a)),
    ('F1 RH 56 air 5 (*)', 'F1', ['56', '5'], lambda a: wet_bulb(*a)),
    ('F1 RH 48 air 3.75 (*)', 'F1', ['48', '3.75'], lambda a: wet_bulb(*a)),
    ('F2 saturated', 'F2', ['100', '25'], lambda a: dew_point(*a)),
    ('F2 dry', 'F2', ['5.3', '-3.7'], lambda a: dew_point(*a)),
    ('F2 above 100 %', 'F2', ['6543.6', '-10'], lambda a: dew_point(*a)),
    ('F3 tenth tie', 'F3', ['0.1', '0.6'], lambda a: thc(*a)),
    ('F3 single tie', 'F3', ['18.3', '27.9'], lambda a: thc(*a)),
    ('F3 32.9 27.4 (*)', 'F3', ['32.9', '27.4'], lambda a: thc(*a)),
    ('F4 plain', 'F4', ['18.3', '27.9', '24.4'], lambda a: wbgt(*a)),
    ('F4 tenth tie', 'F4', ['0.1', '0.1', '1.6'], lambda a: wbgt(*a)),
    ('F4 15 27.7 25.1 (*)', 'F4', ['15', '27.7', '25.1'], lambda a: wbgt(*a)),
    ('F5 equal', 'F5', ['25', '25'], lambda a: radiant_temp(*a)),
    ('F5 above', 'F5', ['35.5', '21.3'], lambda a: radiant_temp(*a)),
    ('F5 below absolute zero', 'F5', ['-300', '-300'], lambda a: radiant_temp(*a)),
    ('F6 above', 'F6', ['47.25', '21.3'], lambda a: radiant_flux(*a)),
    ('F6 just below', 'F6', ['24.999998', '25'], lambda a: radiant_flux(*a)),
]

DOUBLES = ['0.25', '0.75', '-0.25', '-0.75', '0.05', '-0.05', '0.45', '0.65', '0.85', '1.05', '2.45', '0.15',
           '0.35', '22.45', '0.30000000000000004', '25', '-10', '6543.6', '-0.04', '0', '1e20',
           '123456789012.34', '-3276.8', '1e-7', '99999999999999.97', '999999999999999.9', '-1e20']

FLOATS = ['0.25', '0.45', '0.65', '0.85', '2.45', '22.45', '23.45']


def cpp_list(items):
    return '{' + ', '.join(items) + '}'


def main():
    print('// quantity sets: bytes; live texts and bits; logger texts and bits')
    print('// (order THC, WBGT, RH, tv, tsh, tvt, ttr, trad, W; "" and 0 where there is no dew point)')
    for name, hexbytes in ROWS:
        raw = bytes.fromhex(hexbytes.replace(' ', ''))
        out = []
        for logger in (False, True):
            vals = quantity_set(raw, logger)
            out.append('QStringList' + cpp_list('"%s"' % shown(v)[0] if v is not None else '""' for v in vals))
            out.append('Bits' + cpp_list('0x%08x' % bits(v) if v is not None else '0' for v in vals))
        print('QTest::newRow("%s") << QByteArray::fromHex("%s")\n    << %s\n    << %s\n    << %s\n    << %s;'
              % (name, hexbytes.replace(' ', ''), *out))

    print('\n// single formulas: formula, inputs as float literals, expected bits, text')
    for name, formula, args, fn in SINGLES:
        v = fn([f32(F(a)) for a in args])
        args = args + ['0'] * (3 - len(args))
        literals = ' << '.join('%sf' % a if '.' in a else '%s.0f' % a for a in args)
        print('QTest::newRow("%s") << "%s" << %s << 0x%08xu << "%s";' % (name, formula, literals, bits(v), shown(v)[0]))

    print('\n// doubles: value, rounded value, whole tenths (saturated to int32), text')
    for s in DOUBLES:
        text, t = shown(float(s))
        saturated = max(-2**31, min(2**31 - 1, t))
        print('QTest::newRow("%s") << %s << %s << %dLL << "%s";'
              % (s, s if ('e' in s or '.' in s) else s + '.0', repr(t * 0.1), saturated, text))

    print('\n// the same decimals held in single precision first')
    for s in FLOATS:
        print('QTest::newRow("%sf") << %sf << "%s";' % (s, s, shown(f32(F(s)))[0]))


if __name__ == '__main__':
    main()
