// The logger download and the clock write on the wire, against the emulated meter's memory and clock.
#include "emulatedlink.h"
#include "logger/download.h"
#include <QTest>

namespace {
struct Rig : EmulatedLink {
    explicit Rig(MeterConfig config = {}) : EmulatedLink(config) {}
    std::vector<LoggerRecord> download(int cancelAfter = -1) {
        std::vector<LoggerRecord> taken;
        end = DownloadRecords(*link, [&](const LoggerRecord& r) {
            taken.push_back(r);
            return static_cast<int>(taken.size()) != cancelAfter;
        });
        return taken;
    }
    DownloadEnd end{};
};

MeterConfig memory(int records, int breakAt = 0, MeterClock start = {0, 8, 1, 12, 26}, int step = 1) {
    MeterConfig c;
    c.records = records;
    c.breakAt = breakAt;
    c.logStart = start;
    c.stepMinutes = step;
    return c;
}
} // namespace

class TestDownload : public QObject {
    Q_OBJECT
private slots:
    void stopRule_data() {
        QTest::addColumn<MeterConfig>("config");
        QTest::addColumn<int>("taken");
        QTest::addColumn<int>("end");
        QTest::newRow("full memory ends at address 30000")
            << memory(3000, 0, {0, 8, 1, 12, 26}, 7) << 3000 << int(DownloadEnd::LastAddress);
        QTest::newRow("hour gap before record 40") << memory(100, 40) << 39 << int(DownloadEnd::HourBreak);
        QTest::newRow("23 to 0 goes on")
            << memory(30, 0, {50, 23, 31, 12, 26}) << 30 << int(DownloadEnd::NoRecord);
        QTest::newRow("same hour goes on")
            << memory(50, 0, {0, 5, 1, 1, 27}, 0) << 50 << int(DownloadEnd::NoRecord);
        QTest::newRow("first record always taken") << memory(1) << 1 << int(DownloadEnd::NoRecord);
        QTest::newRow("empty memory") << memory(0) << 0 << int(DownloadEnd::NoRecord);
    }
    void stopRule() {
        QFETCH(MeterConfig, config);
        QFETCH(int, taken);
        QFETCH(int, end);
        Rig rig(config);
        const auto records = rig.download();
        QCOMPARE(int(records.size()), taken);
        QCOMPARE(int(rig.end), end);
        for (std::size_t i = 0; i < records.size(); ++i) {
            QCOMPARE(records[i].address, int(10 * (i + 1)));
            const MeterClock stamp = rig.meter->recordStamp(static_cast<int>(i) + 1);
            QCOMPARE(records[i].hour, stamp.hour);
            QCOMPARE(records[i].minute, stamp.minute);
        }
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
    }

    void hourJumpByTwoEndsWithoutTakingTheRecord() {
        // 5 then 7: the record stamped 7 is read from the meter but not taken.
        Rig rig(memory(10, 3, {0, 5, 1, 12, 26}));
        const auto records = rig.download();
        QCOMPARE(records.size(), std::size_t{2});
        QCOMPARE(records.back().hour, 5);
        QCOMPARE(rig.meter->recordStamp(3).hour, 7);
        QCOMPARE(rig.end, DownloadEnd::HourBreak);
    }

    void wireOfTheFirstRecord() {
        Rig rig(memory(2));
        rig.download();
        QStringList expected{
            "open /dev/ttyUSB0", "w 37", "r 37", "w AD", "r AD", "w 00", "r 00", "w 0A", "r 0A"};
        for (auto b : rig.meter->recordBytes(10)) {
            const QString hex = QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
            expected << "r " + hex << "w " + hex;
        }
        QCOMPARE(describe(rig.ports->events()).split('\n').mid(0, expected.size()), expected);
        QVERIFY(describe(rig.ports->events()).contains("w AD\nr AD\nw 00\nr 00\nw 14\nr 14")); // address 20
    }

    void cancelKeepsWhatWasRead() {
        Rig rig(memory(100));
        QCOMPARE(rig.download(5).size(), std::size_t{5});
        QCOMPARE(rig.end, DownloadEnd::Cancelled);
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
    }

    void silentMeter_data() {
        QTest::addColumn<long>("silentAfter");
        QTest::addColumn<int>("taken");
        QTest::addColumn<int>("end");
        QTest::newRow("no answer to the probe") << 0L << 0 << int(DownloadEnd::NoAnswer);
        // probe 1 + per record 3 answers and 16 data bytes: silent in the middle of the fourth record.
        QTest::newRow("silent mid-record") << long(1 + 3 * 19 + 3 + 7) << 3 << int(DownloadEnd::Lost);
    }
    void silentMeter() {
        QFETCH(long, silentAfter);
        QFETCH(int, taken);
        QFETCH(int, end);
        MeterConfig config = memory(100);
        config.silentAfter = silentAfter;
        Rig rig(config);
        QCOMPARE(int(rig.download().size()), taken);
        QCOMPARE(int(rig.end), end);
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
        QVERIFY(rig.ports->nowUs() < 3'000'000); // bounded: two seconds of silence, then the end
    }

    void decoding() {
        std::array<std::uint8_t, 16> bytes{0x12, 0x34, 0xFF, 0x38, 0xFF, 0x38, 0xFF, 0x38,
                                           0xAA, 5,    9,    17,   4,    7,    0xBB, 0xCC};
        const auto r = LoggerRecord::Decode(10, bytes);
        QCOMPARE(r.RH(), 6533.6f); // unsigned
        QCOMPARE(r.tv(), -20.0f);  // signed
        QCOMPARE(r.tsh(), -20.0f);
        QCOMPARE(r.TimeText(), QString("9:5 7.4.17"));
        QVERIFY(r.HasValidStamp());
        bytes[10] = 24;
        QVERIFY(!LoggerRecord::Decode(10, bytes).HasValidStamp());
    }

    void hourContinuity() {
        QVERIFY(HourContinues(5, 5));
        QVERIFY(HourContinues(5, 6));
        QVERIFY(HourContinues(23, 0));
        QVERIFY(!HourContinues(5, 7));
        QVERIFY(!HourContinues(6, 5));
        QVERIFY(!HourContinues(22, 0));
    }

    void clockWrite_data() {
        QTest::addColumn<QList<int>>("fields"); // minute hour day month year
        QTest::addColumn<QList<int>>("sent");
        QTest::newRow("14:03 5 March 2021")
            << QList<int>{3, 14, 5, 3, 2021} << QList<int>{0xAF, 3, 14, 5, 3, 21};
        QTest::newRow("2100") << QList<int>{59, 23, 31, 12, 2100} << QList<int>{0xAF, 59, 23, 31, 12, 100};
        QTest::newRow("2009") << QList<int>{10, 16, 7, 4, 2009} << QList<int>{0xAF, 10, 16, 7, 4, 9};
    }
    void clockWrite() {
        QFETCH(QList<int>, fields);
        QFETCH(QList<int>, sent);
        Rig rig;
        QCOMPARE(WriteClock(*rig.link, fields[0], fields[1], fields[2], fields[3], fields[4]),
                 ClockWriteEnd::Done);
        QStringList expected{"open /dev/ttyUSB0", "w 37", "r 37"};
        for (int b : sent) {
            const QString hex = QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
            expected << "w " + hex << "r " + hex;
        }
        expected << "close";
        QCOMPARE(describe(rig.ports->events()).split('\n'), expected);
        QCOMPARE(rig.meter->clock(), (MeterClock{sent[1], sent[2], sent[3], sent[4], sent[5]}));
    }

    void clockWriteToASilentMeterSendsOnlyTheProbe() {
        MeterConfig config;
        config.silent = true;
        Rig rig(config);
        QCOMPARE(WriteClock(*rig.link, 3, 14, 5, 3, 2021), ClockWriteEnd::NoAnswer);
        QVERIFY(!describe(rig.ports->events()).contains("w AF"));
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
