// The emulated meter itself: the bytes it answers with, its logger memory and its faults. The link tests
// and the end-to-end tests lean on it, so it must be right on its own.
#include "metermodel.h"
#include <QTest>

namespace {
std::vector<std::uint8_t> fromMeter(const MeterModel& m) {
    std::vector<std::uint8_t> bytes;
    for (const auto& e : m.transcript())
        if (e.dir == WireEvent::Dir::FromMeter)
            bytes.push_back(e.byte);
    return bytes;
}

// Feeds the bytes one after the other, answering every data byte with its echo like the computer does.
void feed(MeterModel& m, std::initializer_list<int> bytes, std::int64_t t = 0) {
    for (int b : bytes)
        m.receive(static_cast<std::uint8_t>(b), t);
}

bool hourContinues(int previous, int next) {
    return next == previous || next == previous + 1 || (previous == 23 && next == 0);
}
} // namespace

class TestMeterModel : public QObject {
    Q_OBJECT
private slots:
    void channelsGoHighByteFirstAndSigned() {
        MeterConfig config;
        config.rh = 0xFF38;
        config.airTemp = -200;
        config.globeTemp = 315;
        MeterModel m(config);
        feed(m, {0xA3});
        for (int i = 0; i < 6; ++i)
            feed(m, {fromMeter(m).back()}); // echo each data byte
        QCOMPARE(fromMeter(m), (std::vector<std::uint8_t>{0xA3, 0xFF, 0x38, 0xFF, 0x38, 0x01, 0x3B}));
    }

    void dataWaitsForTheEcho() {
        MeterModel m;
        feed(m, {0xA3});
        QCOMPARE(fromMeter(m).size(), std::size_t{2}); // the command's answer and the first data byte only
        feed(m, {fromMeter(m).back()});
        QCOMPARE(fromMeter(m).size(), std::size_t{3});
    }

    void identificationAndConfiguration() {
        MeterConfig config;
        config.identByte = 65;
        config.configByte = 2;
        MeterModel m(config);
        feed(m, {0xA7, 65, 0xAB, 2});
        QCOMPARE(fromMeter(m), (std::vector<std::uint8_t>{0xA7, 65, 0xAB, 2}));
    }

    void clockWriteAnswersEveryByteAndSetsTheClock() {
        MeterModel m;
        feed(m, {0xAF, 3, 14, 5, 3, 21});
        QCOMPARE(fromMeter(m), (std::vector<std::uint8_t>{0xAF, 3, 14, 5, 3, 21}));
        QCOMPARE(m.clock(), (MeterClock{3, 14, 5, 3, 21}));
        QCOMPARE(m.clockWrites(), 1);
        feed(m, {0x37}); // back to commands afterwards
        QCOMPARE(fromMeter(m).back(), std::uint8_t{0x37});
    }

    void recordRequestTakesTwoAddressBytes() {
        MeterConfig config;
        config.records = 3000;
        MeterModel m(config);
        feed(m, {0xAD, 0x75, 0x30}); // address 30000, the last record
        const auto sent = fromMeter(m);
        QCOMPARE(sent.size(), std::size_t{4});
        QCOMPARE(sent[3], m.recordBytes(30000)[0]);
        QVERIFY(m.recordBytes(30000) != m.recordBytes(30010));
    }

    void continuousMemoryKeepsTheHourRuleAcrossMidnightAndNewYear() {
        MeterConfig config;
        config.records = 3000;
        config.stepMinutes = 7;
        config.logStart = {50, 22, 31, 12, 26};
        MeterModel m(config);
        for (int i = 2; i <= 3000; ++i)
            QVERIFY2(hourContinues(m.recordBytes((i - 1) * 10)[10], m.recordBytes(i * 10)[10]),
                     qPrintable(QString::number(i)));
        QCOMPARE(m.recordStamp(1), (MeterClock{50, 22, 31, 12, 26}));
        QCOMPARE(m.recordStamp(11), (MeterClock{0, 0, 1, 1, 27})); // 70 minutes later: new year
        const auto first = m.recordBytes(10);
        QCOMPARE(int(first[9]), 50);
        QCOMPARE(int(first[11]), 26);
        QCOMPARE(int(first[12]), 12);
        QCOMPARE(int(first[13]), 31);
    }

    void breakAtRecordKBreaksTheHourRuleThereOnly() {
        MeterConfig config;
        config.records = 100;
        config.breakAt = 40;
        MeterModel m(config);
        for (int i = 2; i <= 100; ++i) {
            const bool continues = hourContinues(m.recordBytes((i - 1) * 10)[10], m.recordBytes(i * 10)[10]);
            QCOMPARE(continues, i != 40);
        }
    }

    void addressesWithoutARecordReadAsErasedMemory_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("address");
        QTest::newRow("empty memory") << 0 << 10;
        QTest::newRow("past the last record") << 5 << 60;
        QTest::newRow("not a record address") << 5 << 15;
        QTest::newRow("past the memory") << 3000 << 30010;
    }
    void addressesWithoutARecordReadAsErasedMemory() {
        QFETCH(int, records);
        QFETCH(int, address);
        MeterConfig config;
        config.records = records;
        MeterModel m(config);
        for (std::uint8_t b : m.recordBytes(address))
            QCOMPARE(b, std::uint8_t{0xFF});
    }

    void faults() {
        MeterConfig silent;
        silent.silent = true;
        MeterModel a(silent);
        feed(a, {0x37, 0xA7});
        QVERIFY(!a.hasOutput());

        MeterConfig after;
        after.silentAfter = 3;
        MeterModel b(after);
        feed(b, {0x37, 0xA3, 0, 0, 0});
        QCOMPARE(fromMeter(b).size(), std::size_t{3});

        MeterConfig garbage;
        garbage.garbageAfter = 1;
        garbage.probeAnswer = 0x10;
        MeterModel c(garbage);
        feed(c, {0x37, 0x37});
        QCOMPARE(fromMeter(c), (std::vector<std::uint8_t>{0x10, 0xEE, 0x10}));
    }

    void halfDoneExchangeIsForgottenAfterAPause() {
        MeterModel m;
        feed(m, {0xA3}, 0); // the computer gives up after the first data byte
        m.receive(0x37, 2'000'000);
        QCOMPARE(fromMeter(m).back(), std::uint8_t{0x37}); // taken as a new probe, not as an echo
        QCOMPARE(fromMeter(m).size(), std::size_t{3});
    }

    void pacingTakesTheWireTimeBothWays() {
        MeterConfig config;
        config.paced = true;
        MeterModel m(config);
        m.receive(0xA3, 0);
        // The command takes one byte time to arrive; the answer one more, the first data byte one more.
        QCOMPARE(m.nextReadyUs(), 2 * MeterModel::ByteTimeUs);
        m.popOutput();
        QCOMPARE(m.nextReadyUs(), 3 * MeterModel::ByteTimeUs);

        MeterConfig slow;
        slow.slowUs = 250'000;
        MeterModel s(slow);
        s.receive(0x37, 1000);
        QCOMPARE(s.nextReadyUs(), std::int64_t{251'000});
    }
};

QTEST_GUILESS_MAIN(TestMeterModel)
#include "tst_metermodel.moc"
