// The byte primitives against the in-process emulated meter on a virtual clock.
#include "emulatedbackend.h"
#include "link/unitcomport.h"
#include "meterexchanges.h"
#include <QTest>

namespace {
const QStringList Slots{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"};

struct Rig {
    explicit Rig(MeterConfig config = {}) : meter(std::make_shared<MeterModel>(config)) {
        auto backend = std::make_unique<EmulatedPortBackend>();
        ports = backend.get();
        ports->addPort("COM1", meter);
        link = std::make_unique<LinkState>(std::move(backend), PortTable::fromList(Slots));
        link->PortNumber = 1;
    }
    QStringList events() const { return describe(ports->events()).split('\n'); }

    std::shared_ptr<MeterModel> meter;
    EmulatedPortBackend* ports = nullptr;
    std::unique_ptr<LinkState> link;
};

QStringList repeat(const QString& line, int times) {
    QStringList lines;
    for (int i = 0; i < times; ++i)
        lines << line;
    return lines;
}

QString hex(int byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

class TestLink : public QObject {
    Q_OBJECT
private slots:
    void probeCountsAnyAnswerByte_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("zero") << 0x00;
        QTest::newRow("echo of the probe") << 0x37;
        QTest::newRow("all ones") << 0xFF;
        QTest::newRow("a command byte") << 0xA3;
    }
    void probeCountsAnyAnswerByte() {
        QFETCH(int, answer);
        MeterConfig config;
        config.probeAnswer = static_cast<std::uint8_t>(answer);
        Rig rig(config);
        rig.link->OpenPort('1');
        QCOMPARE(rig.link->ProbeMeter(), 1u);
        QCOMPARE(rig.link->ReceiveBuffer, answer);
        QCOMPARE(rig.events(), (QStringList{"open COM1", "w 37", "r " + hex(answer)}));
    }

    void probeWithoutMeter_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("read");
        QTest::addColumn<qint64>("elapsedUs");
        // A present but silent port costs eleven full reads; a missing one fails each read at once.
        QTest::newRow("silent port") << "COM2"
                                     << "r -" << qint64(11 * 40'000);
        QTest::newRow("missing port") << "COM3"
                                      << "r!" << qint64(0);
    }
    void probeWithoutMeter() {
        QFETCH(QString, port);
        QFETCH(QString, read);
        QFETCH(qint64, elapsedUs);
        Rig rig;
        rig.ports->addPort("COM2"); // exists, nothing attached; COM3 does not exist
        rig.link->OpenPort(static_cast<char>('0' + Slots.indexOf(port) + 1));
        QCOMPARE(rig.link->PortHandle, port == "COM2");
        rig.link->ProbeMeter();
        QCOMPARE(rig.link->ReceivedCount, 0u);
        QCOMPARE(rig.ports->readsOn(port), 11);
        QCOMPARE(rig.events().mid(rig.events().size() - 11), repeat(read, 11));
        QCOMPARE(rig.ports->nowUs(), elapsedUs);
    }

    void probeCounterStartsAfreshEveryCall() {
        Rig rig;
        rig.ports->addPort("COM2");
        rig.link->PortNumber = 2;
        rig.link->OpenPort('2');
        rig.link->ProbeMeter();
        rig.link->ProbeMeter();
        QCOMPARE(rig.ports->readsOn("COM2"), 22);
    }

    void recordRequestReadsOneAnswerPerSentByteAndEchoesEachDataByte() {
        MeterConfig config;
        config.records = 5;
        Rig rig(config);
        const auto expected = rig.meter->recordBytes(0x010E); // address 270 is past the records: erased
        const auto stored = rig.meter->recordBytes(30);
        std::vector<std::uint8_t> got;
        const auto result = RunExchange(*rig.link, Probe::First, [&] {
            for (std::uint8_t b : {Cmd::CmdReadRecord, std::uint8_t{0x00}, std::uint8_t{30}})
                if (!rig.link->Command(b))
                    return false;
            for (int i = 0; i < Cmd::RecordBytes; ++i) {
                const auto byte = rig.link->ReadEcho();
                if (!byte)
                    return false;
                got.push_back(*byte);
            }
            return true;
        });
        QCOMPARE(result, ExchangeResult::Done);
        QVERIFY(std::equal(got.begin(), got.end(), stored.begin(), stored.end()));
        QVERIFY(stored != expected);

        QStringList wire{"open COM1", "w 37", "r 37", "w AD", "r AD", "w 00", "r 00", "w 1E", "r 1E"};
        for (std::uint8_t b : stored)
            wire << "r " + hex(b) << "w " + hex(b);
        wire << "close";
        QCOMPARE(rig.events(), wire);

        // The meter saw every echo as the byte it had sent.
        std::vector<std::uint8_t> toMeter, fromMeter;
        for (const auto& e : rig.meter->transcript())
            (e.dir == WireEvent::Dir::ToMeter ? toMeter : fromMeter).push_back(e.byte);
        QCOMPARE(toMeter.size(), std::size_t{4 + 16});
        QVERIFY(std::equal(toMeter.begin() + 4, toMeter.end(), stored.begin()));
    }

    void noAnswerToTheProbeClosesThePortAndRunsNoExchange() {
        MeterConfig config;
        config.silent = true;
        Rig rig(config);
        bool bodyRan = false;
        const auto result = RunExchange(*rig.link, Probe::First, [&] { return bodyRan = true; });
        QCOMPARE(result, ExchangeResult::NoAnswer);
        QVERIFY(!bodyRan);
        QCOMPARE(rig.events(), (QStringList{"open COM1", "w 37"} + repeat("r -", 11) + QStringList{"close"}));
    }

    void skippedProbeSendsTheCommandFirst() {
        Rig rig;
        std::optional<std::uint8_t> ident;
        const auto result = RunExchange(*rig.link, Probe::Skip, [&] {
            return rig.link->Command(Cmd::CmdIdentify) && (ident = rig.link->ReadEcho());
        });
        QCOMPARE(result, ExchangeResult::Done);
        QCOMPARE(ident.value_or(0), 24);
        QCOMPARE(rig.events(), (QStringList{"open COM1", "w A7", "r A7", "r 18", "w 18", "close"}));
    }

    // A meter that falls silent mid-exchange ends it after two seconds without a byte, port closed, and
    // what was received before stays.
    void meterFallingSilentEndsTheExchangeWithinTheLimit_data() {
        QTest::addColumn<int>("silentAfter");
        QTest::addColumn<int>("bytesKept");
        QTest::newRow("no answer to the command") << 1 << 0;
        QTest::newRow("after the second data byte") << 4 << 2;
        QTest::newRow("before the last data byte") << 7 << 5;
    }
    void meterFallingSilentEndsTheExchangeWithinTheLimit() {
        QFETCH(int, silentAfter);
        QFETCH(int, bytesKept);
        MeterConfig config;
        config.silentAfter = silentAfter; // counts the probe answer and the command's answer
        Rig rig(config);
        std::vector<std::uint8_t> data;
        const auto result =
            RunExchange(*rig.link, Probe::First, [&] { return readChannels(*rig.link, data); });
        QCOMPARE(result, ExchangeResult::Lost);
        QCOMPARE(int(data.size()), bytesKept);
        const auto events = rig.ports->events();
        QCOMPARE(events.back().kind, EmulatedPortBackend::Event::Kind::Close);
        // From the last byte received to the close: the two-second limit, overshot by at most one read.
        std::int64_t lastByte = 0;
        for (const auto& e : events)
            if (e.kind == EmulatedPortBackend::Event::Kind::ReadByte)
                lastByte = e.tUs;
        const std::int64_t waited = events.back().tUs - lastByte;
        QVERIFY2(waited >= 2'000'000 && waited <= 2'040'000, qPrintable(QString::number(waited)));
    }

    void pulledCableEndsTheExchangeAtOnce() {
        Rig rig;
        std::vector<std::uint8_t> data;
        const auto result = RunExchange(*rig.link, Probe::First, [&] {
            if (!rig.link->Command(Cmd::CmdReadChannels))
                return false;
            const std::int64_t before = rig.ports->nowUs();
            rig.ports->removePort("COM1");
            const bool ok = readChannels(*rig.link, data);
            return ok || rig.ports->nowUs() - before > 1000; // no waiting on a port that is gone
        });
        QCOMPARE(result, ExchangeResult::Lost);
    }

    void garbageByteDoesNotHangAndTheLinkRecovers() {
        MeterConfig config;
        config.garbageAfter = 3;
        Rig rig(config);
        std::vector<std::uint8_t> first;
        const auto disturbed =
            RunExchange(*rig.link, Probe::First, [&] { return readChannels(*rig.link, first); });
        QVERIFY(disturbed == ExchangeResult::Done || disturbed == ExchangeResult::Lost);
        QVERIFY(rig.ports->nowUs() < 2'500'000);
        QCOMPARE(first.size(), std::size_t{6});
        QVERIFY(first[1] == config.garbageByte);

        rig.ports->setClockUs(rig.ports->nowUs() + 1'500'000); // the meter forgets the broken exchange
        std::vector<std::uint8_t> second;
        QCOMPARE(RunExchange(*rig.link, Probe::First, [&] { return readChannels(*rig.link, second); }),
                 ExchangeResult::Done);
        const auto expected = rig.meter->channelBytes(0);
        QVERIFY(std::equal(second.begin(), second.end(), expected.begin(), expected.end()));
    }

    void handOverPublishesPortNumberAndName() {
        Rig rig;
        QVERIFY(!rig.link->IsDeviceFound());
        QCOMPARE(rig.link->PortName, QString("COM*"));
        rig.link->PublishFound(6);
        QVERIFY(rig.link->IsDeviceFound());
        QCOMPARE(rig.link->PortNumber, 6);
        QCOMPARE(rig.link->PortName, QString("COM6"));
        QCOMPARE(rig.link->PortDigit(), '6');
    }

    void portTableSlots() {
        const auto table = PortTable::fromSpec(":/dev/pts/7::/tmp/meter:x:x:x:x:/dev/ninth");
        QCOMPARE(table.systemName(1), QString());
        QCOMPARE(table.systemName(2), QString("/dev/pts/7"));
        QCOMPARE(table.systemName(3), QString());
        QCOMPARE(table.systemName(4), QString("/tmp/meter"));
        QCOMPARE(table.systemName(8), QString("x"));
        QCOMPARE(table.systemName(9), QString()); // a ninth entry is never a slot
        QCOMPARE(table.systemName(0), QString());
        QCOMPARE(table.displayName(2), QString("7"));
        QCOMPARE(table.displayName(4), QString("meter"));

        qputenv("ZEVADAV_PORTS", "/dev/ttyUSB3:");
        const auto fromEnv = PortTable::fromEnvironment();
        qunsetenv("ZEVADAV_PORTS");
        QCOMPARE(fromEnv.systemName(1), QString("/dev/ttyUSB3"));
        QCOMPARE(fromEnv.systemName(2), QString());
    }

    void systemPortsComeAdaptersFirstInNumericOrder() {
        const QStringList found{"/dev/ttyS10",  "/dev/ttyS2",   "/dev/ttyUSB1", "/dev/ttyAMA0",
                                "/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyS0"};
        QCOMPARE(PortTable::orderSystemPorts(found),
                 (QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyS2",
                              "/dev/ttyS10", "/dev/ttyAMA0"}));
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
