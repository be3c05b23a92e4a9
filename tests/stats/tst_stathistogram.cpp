// The statistics without a window: the quantities and their class labels, counting at the class edges,
// minimum and maximum over every reading, and the bars' shares in percent.
#include "readings.h"
#include "stats/stathistogram.h"
#include <QTest>
#include <random>

namespace {
// The counts of the plain class loop: for each class, every point whose value v (its tenths divided
// by ten) has L <= v < L + 10.
std::array<std::int64_t, StatClasses> referenceCounts(const std::vector<std::int32_t>& tenths, int lowest) {
    std::array<std::int64_t, StatClasses> counts{};
    for (int k = 0; k < StatClasses; ++k) {
        const double lower = lowest + 10.0 * k;
        for (const std::int32_t t : tenths) {
            const double v = t / 10.0;
            if (lower <= v && v < lower + 10)
                ++counts[k];
        }
    }
    return counts;
}
} // namespace

class TestStatHistogram : public QObject {
    Q_OBJECT
private slots:

    void labels() {
        QVERIFY(StatQuantityAt(-1) == nullptr);
        QVERIFY(StatQuantityAt(3) == nullptr);
        const QStringList temperature = {"-30", "-20", "-10", "0", "10", "20", "30", "40", "50", "60"};
        const QStringList humidity = {"10", "20", "30", "40", "50", "60", "70", "80", "90", "100"};
        QCOMPARE(StatClassLabels(*StatQuantityAt(0)), temperature);
        QCOMPARE(StatClassLabels(*StatQuantityAt(1)), humidity);
        QCOMPARE(StatClassLabels(*StatQuantityAt(2)), temperature);
    }

    // One reading of the quantity; the class it lands in (-1: none), by the label of its bar.
    void edges_data() {
        QTest::addColumn<int>("quantity");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<QString>("bar");
        QTest::addRow("tв -30.0") << 0 << -300 << "-30";
        QTest::addRow("tв -30.1") << 0 << -301 << "";
        QTest::addRow("tв -29.9") << 0 << -299 << "-30";
        QTest::addRow("tв -20.1") << 0 << -201 << "-30";
        QTest::addRow("tв -0.1") << 0 << -1 << "-10";
        QTest::addRow("tв 0.0") << 0 << 0 << "0";
        QTest::addRow("tв 9.9") << 0 << 99 << "0";
        QTest::addRow("tв 10.0") << 0 << 100 << "10";
        QTest::addRow("tв 69.9") << 0 << 699 << "60";
        QTest::addRow("tв 70.0") << 0 << 700 << "";
        QTest::addRow("tв 200.0") << 0 << 2000 << "";
        QTest::addRow("RH 0.0") << 1 << 0 << "10";
        QTest::addRow("RH 9.9") << 1 << 99 << "10";
        QTest::addRow("RH 10.0") << 1 << 100 << "20";
        QTest::addRow("RH 99.9") << 1 << 999 << "100";
        QTest::addRow("RH 100.0") << 1 << 1000 << "";
        QTest::addRow("tш -30.0") << 2 << -300 << "-30";
        QTest::addRow("tш 70.0") << 2 << 700 << "";
        QTest::addRow("tш 45.5") << 2 << 455 << "40";
    }
    void edges() {
        QFETCH(int, quantity);
        QFETCH(int, tenths);
        QFETCH(QString, bar);
        const StatQuantity& q = *StatQuantityAt(quantity);
        // The other two quantities hold a value far from this one's class, so a wrong column shows.
        std::int32_t values[Reading::Count] = {};
        values[Reading::Tv] = values[Reading::RH] = values[Reading::Tsh] = 555;
        values[q.column] = tenths;
        ReadingStore store;
        store.append(reading(values[Reading::Tv], values[Reading::RH], values[Reading::Tsh]));

        const StatHistogram h = ComputeStatHistogram(store, q);
        const int expectedBar = StatClassLabels(q).indexOf(bar);
        for (int k = 0; k < StatClasses; ++k)
            QCOMPARE(h.counts[k], k == expectedBar ? 1 : 0);
        // Counted or not, the value is the minimum and the maximum.
        QCOMPARE(h.minTenths, tenths);
        QCOMPARE(h.maxTenths, tenths);
    }

    void minimumAndMaximumOutsideTheClasses() {
        ReadingStore store;
        store.append(reading(250, 500, 250));
        store.append(reading(-301, 1000, 700));
        store.append(reading(700, 0, -301));
        store.append(reading(120, 455, 120));

        const StatHistogram tv = ComputeStatHistogram(store, *StatQuantityAt(0));
        QCOMPARE(tv.minTenths, -301);
        QCOMPARE(tv.maxTenths, 700);
        QCOMPARE(tv.total(), 2);
        const StatHistogram rh = ComputeStatHistogram(store, *StatQuantityAt(1));
        QCOMPARE(rh.minTenths, 0);
        QCOMPARE(rh.maxTenths, 1000);
        QCOMPARE(rh.total(), 3);
        const StatHistogram tsh = ComputeStatHistogram(store, *StatQuantityAt(2));
        QCOMPARE(tsh.minTenths, -301);
        QCOMPARE(tsh.maxTenths, 700);

        const QLocale russian(QLocale::Russian);
        QCOMPARE(StatValueText(tv.minTenths, russian), QStringLiteral("-30,1"));
        QCOMPARE(StatValueText(tv.maxTenths, russian), QStringLiteral("70"));
        QCOMPARE(StatValueText(tv.minTenths, QLocale::c()), QStringLiteral("-30.1"));
        QCOMPARE(StatValueText(455, russian), QStringLiteral("45,5"));
        QCOMPARE(StatValueText(3, russian), QStringLiteral("0,3"));
    }

    void emptyStore() {
        const ReadingStore store;
        for (int index = 0; index < 3; ++index) {
            const StatHistogram h = ComputeStatHistogram(store, *StatQuantityAt(index));
            for (const std::int64_t c : h.counts)
                QCOMPARE(c, 0);
            QCOMPARE(h.minTenths, 0);
            QCOMPARE(h.maxTenths, 0);
            QCOMPARE(StatValueText(h.minTenths, QLocale(QLocale::Russian)), QStringLiteral("0"));
        }
    }

    void readingsWithoutTheValueAreLeftOut() {
        ReadingStore store;
        store.append(reading(Reading::NoValue, 500, 100));
        store.append(reading(150, 500, 100));
        const StatHistogram h = ComputeStatHistogram(store, *StatQuantityAt(0));
        QCOMPARE(h.total(), 1);
        QCOMPARE(h.counts[4], 1);
        QCOMPARE(h.minTenths, 150);
        QCOMPARE(h.maxTenths, 150);
    }

    // Many readings spread over and beyond the classes, against the plain class loop.
    void manyReadingsAgainstTheClassLoop() {
        std::mt19937 random(20240611);
        std::uniform_int_distribution<std::int32_t> temperature(-450, 850);
        std::uniform_int_distribution<std::int32_t> humidity(0, 1000);
        ReadingStore store;
        std::vector<std::int32_t> tv, rh, tsh;
        for (int i = 0; i < 5000; ++i) {
            tv.push_back(temperature(random));
            rh.push_back(humidity(random));
            tsh.push_back(temperature(random));
            store.append(reading(tv.back(), rh.back(), tsh.back()));
        }
        QCOMPARE(ComputeStatHistogram(store, *StatQuantityAt(0)).counts, referenceCounts(tv, -30));
        QCOMPARE(ComputeStatHistogram(store, *StatQuantityAt(1)).counts, referenceCounts(rh, 0));
        QCOMPARE(ComputeStatHistogram(store, *StatQuantityAt(2)).counts, referenceCounts(tsh, -30));
        const StatHistogram h = ComputeStatHistogram(store, *StatQuantityAt(2));
        QCOMPARE(h.minTenths, *std::min_element(tsh.begin(), tsh.end()));
        QCOMPARE(h.maxTenths, *std::max_element(tsh.begin(), tsh.end()));
    }

    void percent_data() {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("c");
        QTest::addRow("a third") << qint64(1) << qint64(3) << "33,33 %"
                                 << "33.33 %";
        QTest::addRow("two thirds") << qint64(2) << qint64(3) << "66,67 %"
                                    << "66.67 %";
        QTest::addRow("half") << qint64(1) << qint64(2) << "50 %"
                              << "50 %";
        QTest::addRow("an eighth") << qint64(1) << qint64(8) << "12,5 %"
                                   << "12.5 %";
        QTest::addRow("all") << qint64(7) << qint64(7) << "100 %"
                             << "100 %";
        QTest::addRow("none of some") << qint64(0) << qint64(9) << "0 %"
                                      << "0 %";
        QTest::addRow("none of none") << qint64(0) << qint64(0) << "0 %"
                                      << "0 %";
        QTest::addRow("one in a thousand") << qint64(1) << qint64(1000) << "0,1 %"
                                           << "0.1 %";
        QTest::addRow("one in a million") << qint64(1) << qint64(1000000) << "0 %"
                                          << "0 %";
    }
    void percent() {
        QFETCH(qint64, count);
        QFETCH(qint64, total);
        QFETCH(QString, russian);
        QFETCH(QString, c);
        QCOMPARE(StatPercentText(count, total, QLocale(QLocale::Russian)), russian);
        QCOMPARE(StatPercentText(count, total, QLocale::c()), c);
    }
};

QTEST_APPLESS_MAIN(TestStatHistogram)
#include "tst_stathistogram.moc"
