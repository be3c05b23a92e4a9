// The quantity formulas and the displayed-value text, against values computed independently by
// expected_quantities.py (exact arithmetic, with the long double steps replayed where they decide a tie).
// Regenerate the tables with:  python3 tests/monitor/expected_quantities.py
#include "monitor/quantities.h"
#include "monitor/valuetext.h"
#include <QTest>
#include <bit>
#include <cmath>
#include <limits>

namespace {
using Bits = QList<quint32>;

quint32 BitsOf(float v) {
    return std::bit_cast<quint32>(v);
}

std::array<std::uint8_t, 6> Bytes(const QByteArray& raw) {
    std::array<std::uint8_t, 6> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(raw.at(static_cast<qsizetype>(i)));
    return bytes;
}

// The nine values in the tables' column order; the dew point is absent when there is none.
QList<std::optional<float>> Columns(const LiveQuantities& q) {
    return {q.THC, q.WBGT, q.RH, q.tv, q.tsh, q.tvt, q.ttr, q.trad, q.W};
}

const char* const ColumnNames[] = {"THC", "WBGT", "RH", "tv", "tsh", "tvt", "ttr", "trad", "W"};

void CompareColumns(const char* set, const LiveQuantities& q, const QStringList& texts, const Bits& bits) {
    const auto values = Columns(q);
    QCOMPARE(values.size(), texts.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QByteArray what = QByteArray(set) + " " + ColumnNames[i];
        // "" in the table: no dew point (RH = 0 outside the live guard)
        QVERIFY2(values[i].has_value() == !texts[i].isEmpty(), what);
        if (!values[i])
            continue;
        QVERIFY2(ValueText(*values[i], QLocale::c()) == texts[i],
                 what + ": " + ValueText(*values[i], QLocale::c()).toUtf8() + " instead of " +
                     texts[i].toUtf8());
        QVERIFY2(BitsOf(*values[i]) == bits[i],
                 what + ": bits " + QByteArray::number(BitsOf(*values[i]), 16));
    }
}
} // namespace

class TestQuantities : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The expected bits replay long double steps with a 64-bit significand.
        QCOMPARE(std::numeric_limits<long double>::digits, 64);
    }

    void decodeChannels_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("RH");
        QTest::addColumn<QString>("tv");
        QTest::addColumn<QString>("tsh");
        QTest::newRow("FF 9C everywhere") << QByteArray::fromHex("FF9CFF9CFF9C") << "6543.6"
                                          << "-10"
                                          << "-10";
        QTest::newRow("FF 38 everywhere") << QByteArray::fromHex("FF38FF38FF38") << "6533.6"
                                          << "-20"
                                          << "-20";
        QTest::newRow("high byte first") << QByteArray::fromHex("0102030405FF") << "25.8"
                                         << "77.2"
                                         << "153.5";
        QTest::newRow("extremes") << QByteArray::fromHex("FFFF7FFF8000") << "6553.5"
                                  << "3276.7"
                                  << "-3276.8";
        QTest::newRow("zero and minus a tenth") << QByteArray::fromHex("0000FFFF0000") << "0"
                                                << "-0.1"
                                                << "0";
    }
    void decodeChannels() {
        QFETCH(QByteArray, raw);
        QFETCH(QString, RH);
        QFETCH(QString, tv);
        QFETCH(QString, tsh);
        const Channels c = DecodeChannels(Bytes(raw));
        QCOMPARE(ValueText(c.RH, QLocale::c()), RH);
        QCOMPARE(ValueText(c.tv, QLocale::c()), tv);
        QCOMPARE(ValueText(c.tsh, QLocale::c()), tsh);
    }

    // Every word on every channel gives the single-precision number nearest to word / 10.
    void decodeChannelsEveryWord() {
        for (int w = 0; w <= 0xFFFF; ++w) {
            const auto hi = static_cast<std::uint8_t>(w >> 8);
            const auto lo = static_cast<std::uint8_t>(w & 0xFF);
            const int signedWord = w >= 0x8000 ? w - 0x10000 : w;
            const Channels a = DecodeChannels({hi, lo, hi, lo, 0, 0});
            const Channels b = DecodeChannels({0, 0, 0, 0, hi, lo});
            QCOMPARE(BitsOf(a.RH), BitsOf(static_cast<float>(w / 10.0)));
            QCOMPARE(BitsOf(a.tv), BitsOf(static_cast<float>(signedWord / 10.0)));
            QCOMPARE(BitsOf(b.tsh), BitsOf(static_cast<float>(signedWord / 10.0)));
            QCOMPARE(BitsOf(b.RH), 0u);
        }
    }

    void quantitySets_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QStringList>("liveTexts");
        QTest::addColumn<Bits>("liveBits");
        QTest::addColumn<QStringList>("loggerTexts");
        QTest::addColumn<Bits>("loggerBits");
        // THC, WBGT, RH, tv, tsh, tvt, ttr, trad, W; "" and 0 where there is no dew point
        QTest::newRow("indoor climate")
            << QByteArray::fromHex("01C200E100E7")
            << QStringList{"17.9", "17.9", "45", "22.5", "23.1", "15.7", "10", "23.3", "5"}
            << Bits{0x418f5c29, 0x418ee148, 0x42340000, 0x41b40000, 0x41b8cccd,
                    0x417b3333, 0x411f9230, 0x41babf14, 0x409eec42}
            << QStringList{"17.9", "17.9", "45", "22.5", "23.1", "15.7", "10", "23.3", "5"}
            << Bits{0x418f5c29, 0x418ee148, 0x42340000, 0x41b40000, 0x41b8cccd,
                    0x417b3333, 0x411f9230, 0x41babf14, 0x409eec42};
        QTest::newRow("hot and humid")
            << QByteArray::fromHex("0355015B019C")
            << QStringList{"35.2", "34.5", "85.3", "34.7", "41.2", "32.6", "31.9", "45.1", "72.7"}
            << Bits{0x420cb852, 0x420a1eb8, 0x42aa999a, 0x420acccd, 0x4224cccd,
                    0x42026666, 0x41fee72e, 0x4234884a, 0x429151de}
            << QStringList{"35.2", "34.5", "85.3", "34.7", "41.2", "32.6", "31.9", "45.1", "72.7"}
            << Bits{0x420cb852, 0x420a1eb8, 0x42aa999a, 0x420acccd, 0x4224cccd,
                    0x42026666, 0x41fee72e, 0x4234884a, 0x429151de};
        QTest::newRow("sub-zero") << QByteArray::fromHex("02D4FF82FF99")
                                  << QStringList{"-12",   "-12.2", "72.4", "-12.6", "-10.3",
                                                 "-12.7", "-16.5", "-8.4", "17.1"}
                                  << Bits{0xc13fae14, 0xc1435c29, 0x4290cccd, 0xc149999a, 0xc124cccd,
                                          0xc14b3333, 0xc1843ae7, 0xc1072f78, 0x4188825e}
                                  << QStringList{"-12",   "-12.2", "72.4", "-12.6", "-10.3",
                                                 "-12.7", "-16.5", "-8.4", "17.1"}
                                  << Bits{0xc13fae14, 0xc1435c29, 0x4290cccd, 0xc149999a, 0xc124cccd,
                                          0xc14b3333, 0xc1843ae7, 0xc1072f78, 0x4188825e};
        QTest::newRow("globe below air")
            << QByteArray::fromHex("01F400FA00CC")
            << QStringList{"19.1", "19.5", "50", "25", "20.4", "18.5", "13.9", "25", "0"}
            << Bits{0x41988f5c, 0x419c3d71, 0x42480000, 0x41c80000, 0x41a33333,
                    0x41940000, 0x415da783, 0x41c80000, 0x00000000}
            << QStringList{"19.1", "19.5", "50", "25", "25", "18.5", "13.9", "25", "0"}
            << Bits{0x41988f5c, 0x419c3d71, 0x42480000, 0x41c80000, 0x41c80000,
                    0x41940000, 0x415da783, 0x41c80000, 0x00000000};
        QTest::newRow("RH 0 and air 0")
            << QByteArray::fromHex("0000000000BB")
            << QStringList{"0", "0", "0", "0", "18.7", "0", "0", "0", "0"}
            << Bits{0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x4195999a,
                    0x00000000, 0x00000000, 0x00000000, 0x00000000}
            << QStringList{"1.5", "-0.4", "0", "0", "18.7", "-5.9", "", "35.9", "201.6"}
            << Bits{0x3fbd70a5, 0xbec7ae12, 0x00000000, 0x00000000, 0x4195999a,
                    0xc0bccccd, 0,          0x420f896b, 0x43499ba0};
        QTest::newRow("RH 0, air 15.2")
            << QByteArray::fromHex("0000009800A0")
            << QStringList{"7.4", "7.3", "0", "15.2", "16", "3.7", "", "16.4", "6.4"}
            << Bits{0x40ec7ae1, 0x40e9eb85, 0x00000000, 0x41733333, 0x41800000,
                    0x406ccccd, 0,          0x4182ff3f, 0x40cdbf2c}
            << QStringList{"7.4", "7.3", "0", "15.2", "16", "3.7", "", "16.4", "6.4"}
            << Bits{0x40ec7ae1, 0x40e9eb85, 0x00000000, 0x41733333, 0x41800000,
                    0x406ccccd, 0,          0x4182ff3f, 0x40cdbf2c};
        QTest::newRow("FF 9C on each channel")
            << QByteArray::fromHex("FF9CFF9CFF9C")
            << QStringList{"-11742.1", "-11742.1", "6543.6", "-10", "-10", "-16770.1", "58.7", "-10", "0"}
            << Bits{0xc6377847, 0xc6377847, 0x45cc7ccd, 0xc1200000, 0xc1200000,
                    0xc6830433, 0x426a9d2b, 0xc1200000, 0x00000000}
            << QStringList{"-11742.1", "-11742.1", "6543.6", "-10", "-10", "-16770.1", "58.7", "-10", "0"}
            << Bits{0xc6377847, 0xc6377847, 0x45cc7ccd, 0xc1200000, 0xc1200000,
                    0xc6830433, 0x426a9d2b, 0xc1200000, 0x00000000};
        QTest::newRow("FF 38, air -20")
            << QByteArray::fromHex("022BFF380000")
            << QStringList{"-13.2", "-15.2", "55.5", "-20", "0", "-18.9", "-26.6", "22.1", "197.9"}
            << Bits{0xc153ae14, 0xc173ae14, 0x425e0000, 0xc1a00000, 0x00000000,
                    0xc1973333, 0xc1d4f454, 0x41b08d78, 0x4345ef11}
            << QStringList{"-13.2", "-15.2", "55.5", "-20", "0", "-18.9", "-26.6", "22.1", "197.9"}
            << Bits{0xc153ae14, 0xc173ae14, 0x425e0000, 0xc1a00000, 0x00000000,
                    0xc1973333, 0xc1d4f454, 0x41b08d78, 0x4345ef11};
        QTest::newRow("saturated air")
            << QByteArray::fromHex("03E800FA00FA")
            << QStringList{"24.9", "24.9", "100", "25", "25", "24.9", "25", "25", "0"}
            << Bits{0x41c770a4, 0x41c770a4, 0x42c80000, 0x41c80000, 0x41c80000,
                    0x41c73333, 0x41c80000, 0x41c80000, 0x00000000}
            << QStringList{"24.9", "24.9", "100", "25", "25", "24.9", "25", "25", "0"}
            << Bits{0x41c770a4, 0x41c770a4, 0x42c80000, 0x41c80000, 0x41c80000,
                    0x41c73333, 0x41c80000, 0x41c80000, 0x00000000};
        QTest::newRow("globe far above air")
            << QByteArray::fromHex("0190006401F4")
            << QStringList{"18.6", "14.6", "40", "10", "50", "5.1", "-3", "81", "527.7"}
            << Bits{0x41948f5c, 0x41691eb8, 0x42200000, 0x41200000, 0x42480000,
                    0x40a33333, 0xc03f2533, 0x42a2014b, 0x4403efab}
            << QStringList{"18.6", "14.6", "40", "10", "50", "5.1", "-3", "81", "527.7"}
            << Bits{0x41948f5c, 0x41691eb8, 0x42200000, 0x41200000, 0x42480000,
                    0x40a33333, 0xc03f2533, 0x42a2014b, 0x4403efab};
        QTest::newRow("RH 0, air 2.5")
            << QByteArray::fromHex("00000019001E")
            << QStringList{"-2.1", "-2.2", "0", "2.5", "3", "-4.3", "", "3.2", "3.5"}
            << Bits{0xc0070a3e, 0xc00a3d71, 0x00000000, 0x40200000, 0x40400000,
                    0xc089999a, 0,          0x404f4e21, 0x4061bd68}
            << QStringList{"-2.1", "-2.2", "0", "2.5", "3", "-4.3", "", "3.2", "3.5"}
            << Bits{0xc0070a3e, 0xc00a3d71, 0x00000000, 0x40200000, 0x40400000,
                    0xc089999a, 0,          0x404f4e21, 0x4061bd68};
        QTest::newRow("RH 25, air -36")
            << QByteArray::fromHex("00FAFE98FE98")
            << QStringList{"-31.9", "-31.9", "25", "-36", "-36", "-30.1", "-49", "-36", "0"}
            << Bits{0xc1fef5c3, 0xc1fef5c3, 0x41c80000, 0xc2100000, 0xc2100000,
                    0xc1f0cccd, 0xc243cfdf, 0xc2100000, 0x00000000}
            << QStringList{"-31.9", "-31.9", "25", "-36", "-36", "-30.1", "-49", "-36", "0"}
            << Bits{0xc1fef5c3, 0xc1fef5c3, 0x41c80000, 0xc2100000, 0xc2100000,
                    0xc1f0cccd, 0xc243cfdf, 0xc2100000, 0x00000000};
    }
    void quantitySets() {
        QFETCH(QByteArray, raw);
        QFETCH(QStringList, liveTexts);
        QFETCH(Bits, liveBits);
        QFETCH(QStringList, loggerTexts);
        QFETCH(Bits, loggerBits);
        const Channels c = DecodeChannels(Bytes(raw));
        CompareColumns("live", ComputeLive(c), liveTexts, liveBits);
        if (QTest::currentTestFailed())
            return;
        CompareColumns("logger", ComputeLogger(c), loggerTexts, loggerBits);
    }

    // The live guard and the clamp, by their structure rather than by value.
    void liveAndLoggerDiffer() {
        const LiveQuantities guarded = ComputeLive({0.0f, 0.0f, 18.7f});
        QCOMPARE(guarded.ttr, std::optional<float>(0.0f)); // the guard shows a dew point of 0, not none
        for (float v : {guarded.tvt, guarded.THC, guarded.WBGT, guarded.trad, guarded.W})
            QCOMPARE(BitsOf(v), 0u);
        QCOMPARE(ComputeLogger({0.0f, 0.0f, 18.7f}).ttr, std::nullopt);
        QCOMPARE(ComputeLive({0.0f, 15.2f, 16.0f}).ttr, std::nullopt);

        const Channels below{50.0f, 25.0f, 20.4f};
        const LiveQuantities live = ComputeLive(below);
        const LiveQuantities logger = ComputeLogger(below);
        QCOMPARE(BitsOf(live.tsh), BitsOf(20.4f));
        QCOMPARE(BitsOf(logger.tsh), BitsOf(25.0f));
        // THC and WBGT keep the measured globe temperature, the radiant temperature sees it raised
        QCOMPARE(BitsOf(live.THC), BitsOf(Thc(live.tvt, 20.4f)));
        QCOMPARE(BitsOf(logger.WBGT), BitsOf(Wbgt(logger.tvt, 20.4f, 25.0f)));
        QCOMPARE(BitsOf(live.trad), BitsOf(RadiantTemp(25.0f, 25.0f)));
    }

    void formulas_data() {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<float>("a");
        QTest::addColumn<float>("b");
        QTest::addColumn<float>("c");
        QTest::addColumn<quint32>("bits");
        QTest::addColumn<QString>("text");
        // "(*)": a tie that only long double with long double constants settles this way
        QTest::newRow("F1 RH 0 air 0") << "F1" << 0.0f << 0.0f << 0.0f << 0xc0bccccdu << "-5.9";
        QTest::newRow("F1 indoor") << "F1" << 45.0f << 22.5f << 0.0f << 0x417b3333u << "15.7";
        QTest::newRow("F1 RH 6543.6") << "F1" << 6543.6f << -10.0f << 0.0f << 0xc6830433u << "-16770.1";
        QTest::newRow("F1 RH 0 air 2.5 (*)") << "F1" << 0.0f << 2.5f << 0.0f << 0xc089999au << "-4.3";
        QTest::newRow("F1 RH 25 air -36 (*)") << "F1" << 25.0f << -36.0f << 0.0f << 0xc1f0cccdu << "-30.1";
        QTest::newRow("F1 RH 25 air 12 (*)") << "F1" << 25.0f << 12.0f << 0.0f << 0x40a00000u << "5";
        QTest::newRow("F1 RH 56 air 5 (*)") << "F1" << 56.0f << 5.0f << 0.0f << 0x4019999au << "2.4";
        QTest::newRow("F1 RH 48 air 3.75 (*)") << "F1" << 48.0f << 3.75f << 0.0f << 0x3f4ccccdu << "0.8";
        QTest::newRow("F2 saturated") << "F2" << 100.0f << 25.0f << 0.0f << 0x41c80000u << "25";
        QTest::newRow("F2 dry") << "F2" << 5.3f << -3.7f << 0.0f << 0xc215845au << "-37.4";
        QTest::newRow("F2 above 100 %") << "F2" << 6543.6f << -10.0f << 0.0f << 0x426a9d2bu << "58.7";
        QTest::newRow("F3 tenth tie") << "F3" << 0.1f << 0.6f << 0.0f << 0x3e800000u << "0.2";
        QTest::newRow("F3 single tie") << "F3" << 18.3f << 27.9f << 0.0f << 0x41a970a4u << "21.2";
        QTest::newRow("F3 32.9 27.4 (*)") << "F3" << 32.9f << 27.4f << 0.0f << 0x41fa0000u << "31.2";
        QTest::newRow("F4 plain") << "F4" << 18.3f << 27.9f << 24.4f << 0x41a6a3d7u << "20.8";
        QTest::newRow("F4 tenth tie") << "F4" << 0.1f << 0.1f << 1.6f << 0x3e800000u << "0.2";
        QTest::newRow("F4 15 27.7 25.1 (*)") << "F4" << 15.0f << 27.7f << 25.1f << 0x41946666u << "18.5";
        QTest::newRow("F5 equal") << "F5" << 25.0f << 25.0f << 0.0f << 0x41c80000u << "25";
        QTest::newRow("F5 above") << "F5" << 35.5f << 21.3f << 0.0f << 0x4238b5b0u << "46.2";
        QTest::newRow("F5 below absolute zero")
            << "F5" << -300.0f << -300.0f << 0.0f << 0xc3766666u << "-246.4";
        QTest::newRow("F6 above") << "F6" << 47.25f << 21.3f << 0.0f << 0x432b638bu << "171.4";
        QTest::newRow("F6 just below") << "F6" << 24.999998f << 25.0f << 0.0f << 0xb74072fau << "0";
    }
    void formulas() {
        QFETCH(QString, formula);
        QFETCH(float, a);
        QFETCH(float, b);
        QFETCH(float, c);
        QFETCH(quint32, bits);
        QFETCH(QString, text);
        float v = std::numeric_limits<float>::quiet_NaN();
        if (formula == "F1")
            v = WetBulb(a, b);
        else if (formula == "F2")
            v = DewPoint(a, b);
        else if (formula == "F3")
            v = Thc(a, b);
        else if (formula == "F4")
            v = Wbgt(a, b, c);
        else if (formula == "F5")
            v = RadiantTemp(a, b);
        else if (formula == "F6")
            v = RadiantFlux(a, b);
        QCOMPARE(ValueText(v, QLocale::c()), text);
        QCOMPARE(QByteArray::number(BitsOf(v), 16), QByteArray::number(bits, 16));
    }

    void roundingOfDoubles_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::addColumn<qint64>("tenths");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.25") << 0.25 << 0.2 << 2LL << "0.2";
        QTest::newRow("0.75") << 0.75 << 0.8 << 8LL << "0.8";
        QTest::newRow("-0.25") << -0.25 << -0.2 << -2LL << "-0.2";
        QTest::newRow("-0.75") << -0.75 << -0.8 << -8LL << "-0.8";
        QTest::newRow("0.05") << 0.05 << 0.0 << 0LL << "0";
        QTest::newRow("-0.05") << -0.05 << 0.0 << 0LL << "0";
        QTest::newRow("0.45") << 0.45 << 0.4 << 4LL << "0.4";
        QTest::newRow("0.65") << 0.65 << 0.6000000000000001 << 6LL << "0.6";
        QTest::newRow("0.85") << 0.85 << 0.8 << 8LL << "0.8";
        QTest::newRow("1.05") << 1.05 << 1.0 << 10LL << "1";
        QTest::newRow("2.45") << 2.45 << 2.4000000000000004 << 24LL << "2.4";
        QTest::newRow("0.15") << 0.15 << 0.1 << 1LL << "0.1";
        QTest::newRow("0.35") << 0.35 << 0.30000000000000004 << 3LL << "0.3";
        QTest::newRow("22.45") << 22.45 << 22.400000000000002 << 224LL << "22.4";
        QTest::newRow("0.30000000000000004") << 0.30000000000000004 << 0.30000000000000004 << 3LL << "0.3";
        QTest::newRow("25") << 25.0 << 25.0 << 250LL << "25";
        QTest::newRow("-10") << -10.0 << -10.0 << -100LL << "-10";
        QTest::newRow("6543.6") << 6543.6 << 6543.6 << 65436LL << "6543.6";
        QTest::newRow("-0.04") << -0.04 << 0.0 << 0LL << "0";
        QTest::newRow("0") << 0.0 << 0.0 << 0LL << "0";
        QTest::newRow("1e20") << 1e20 << 1e+20 << 2147483647LL << "1e+20";
        QTest::newRow("123456789012.34")
            << 123456789012.34 << 123456789012.3 << 2147483647LL << "123456789012.3";
        QTest::newRow("-3276.8") << -3276.8 << -3276.8 << -32768LL << "-3276.8";
        QTest::newRow("1e-7") << 1e-7 << 0.0 << 0LL << "0";
        QTest::newRow("99999999999999.97")
            << 99999999999999.97 << 100000000000000.0 << 2147483647LL << "100000000000000";
        QTest::newRow("999999999999999.9")
            << 999999999999999.9 << 999999999999999.9 << 2147483647LL << "1e+15";
        QTest::newRow("-1e20") << -1e20 << -1e+20 << -2147483648LL << "-1e+20";
    }
    void roundingOfDoubles() {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QFETCH(qint64, tenths);
        QFETCH(QString, text);
        QVERIFY2(RoundTenth(value) == rounded, QByteArray::number(RoundTenth(value), 'g', 17));
        QCOMPARE(qint64(Tenths(value)), tenths);
        QCOMPARE(ValueText(value, QLocale::c()), text);
    }

    void roundingOfFloats_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.25f") << 0.25f << "0.2";
        QTest::newRow("0.45f") << 0.45f << "0.4";
        QTest::newRow("0.65f") << 0.65f << "0.6";
        QTest::newRow("0.85f") << 0.85f << "0.9";
        QTest::newRow("2.45f") << 2.45f << "2.5";
        QTest::newRow("22.45f") << 22.45f << "22.5";
        QTest::newRow("23.45f") << 23.45f << "23.5";
    }
    void roundingOfFloats() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(ValueText(value, QLocale::c()), text);
    }

    void tenthsAndNaN() {
        QCOMPARE(Tenths(std::numeric_limits<double>::quiet_NaN()), 0);
        QCOMPARE(Tenths(214748364.7), std::numeric_limits<std::int32_t>::max());
        QCOMPARE(Tenths(-214748364.8), std::numeric_limits<std::int32_t>::min());
        QCOMPARE(Tenths(214748364.8), std::numeric_limits<std::int32_t>::max());
    }

    // Held tenths and held values give the same text, so a store of tenths shows what the labels show.
    void tenthsTextMatchesValueText() {
        for (std::int32_t t = -40000; t <= 70000; ++t) {
            const double v = t * 0.1;
            QCOMPARE(Tenths(v), t);
            QCOMPARE(TenthsText(t, QLocale::c()), ValueText(v, QLocale::c()));
        }
        QCOMPARE(TenthsText(235, QLocale::c()), QStringLiteral("23.5"));
        QCOMPARE(TenthsText(-1, QLocale::c()), QStringLiteral("-0.1"));
        QCOMPARE(TenthsText(std::numeric_limits<std::int32_t>::max(), QLocale::c()),
                 QStringLiteral("214748364.7"));
        QCOMPARE(TenthsText(std::numeric_limits<std::int32_t>::min(), QLocale::c()),
                 QStringLiteral("-214748364.8"));
    }

    void locales_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("ru 23.5") << ru << 23.5 << "23,5";
        QTest::newRow("ru 6543.6, no group separator") << ru << 6543.6 << "6543,6";
        QTest::newRow("ru -10") << ru << -10.0 << "-10";
        QTest::newRow("ru 25") << ru << 25.0 << "25";
        QTest::newRow("ru 0.75") << ru << 0.75 << "0,8";
        QTest::newRow("ru -0.05") << ru << -0.05 << "0";
        QTest::newRow("ru 150000000") << ru << 1.5e8 << "150000000";
        QTest::newRow("ru 1234567.8") << ru << 1234567.8 << "1234567,8";
        QTest::newRow("de 1234.5") << de << 1234.5 << "1234,5";
        QTest::newRow("us 1234.5") << us << 1234.5 << "1234.5";
        QTest::newRow("us -6543.6") << us << -6543.6 << "-6543.6";
    }
    void locales() {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(ValueText(value, locale), text);
        QCOMPARE(TenthsText(Tenths(value), locale), text);
    }

    void defaultLocaleIsTheUsers() {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        const QString text = ValueText(23.5);
        QLocale::setDefault(saved);
        QCOMPARE(text, QStringLiteral("23,5"));
    }
};

QTEST_APPLESS_MAIN(TestQuantities)
#include "tst_quantities.moc"
