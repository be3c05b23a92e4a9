// Through real pseudo-terminals served by the meter-emulator program, with the QSerialPort backend: the
// bytes on the wire, the waits, and the search, as a user's machine would see them.
#include "app/portsearch.h"
#include "app/rcpthread.h"
#include "emulatorprocess.h"
#include "link/serialportbackend.h"
#include "link/unitcomport.h"
#include "meterexchanges.h"
#include "monitor/formmain.h"
#include "monitor/livetablemodel.h"
#include "recordingsearch.h"
#include "settings/formoptions.h"
#include "toolkit/statuspanels.h"
#include "toolkit/stringgridmodel.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {
std::unique_ptr<LinkState> linkOn(const QStringList& slotNames) {
    return std::make_unique<LinkState>(std::make_unique<SerialPortBackend>(), PortTable::fromList(slotNames));
}

// "PC 37", "M 00", ... from the emulator's transcript lines.
QStringList wire(const QString& transcript) {
    static const QRegularExpression line(QStringLiteral("(PC->meter|meter->PC) 0x([0-9A-F]{2})"));
    QStringList out;
    for (auto it = line.globalMatch(transcript); it.hasNext();) {
        const auto m = it.next();
        out << (m.captured(1) == "PC->meter" ? "PC " : "M ") + m.captured(2);
    }
    return out;
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void probeAnsweredWithZeroCountsAsPresent() {
        EmulatorProcess meter({"--probe-answer", "0"});
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        auto link = linkOn({meter.path()});
        link->OpenPort('1');
        QVERIFY(link->PortHandle);
        QCOMPARE(link->ProbeMeter(), 1u);
        QCOMPARE(link->ReceiveBuffer, 0);
        link->ClosePort();
        QCOMPARE(wire(meter.stopAndReadTranscript()), (QStringList{"PC 37", "M 00"}));
    }

    void identificationExchangeOnTheWire() {
        EmulatorProcess meter({"--ident", "65", "--config", "2"});
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        auto link = linkOn({meter.path()});
        std::optional<std::uint8_t> ident, config;
        const auto result = RunExchange(*link, Probe::Skip, [&] {
            return link->Command(Cmd::CmdIdentify) && (ident = link->ReadEcho()) &&
                   link->Command(Cmd::CmdReadConfig) && (config = link->ReadEcho());
        });
        QCOMPARE(result, ExchangeResult::Done);
        QCOMPARE(ident.value_or(0), 65);
        QCOMPARE(config.value_or(0xFF), 2);
        QCOMPARE(wire(meter.stopAndReadTranscript()),
                 (QStringList{"PC A7", "M A7", "M 41", "PC 41", "PC AB", "M AB", "M 02", "PC 02"}));
    }

    void liveChannelsArriveWithAnEchoForEveryByte() {
        EmulatorProcess meter({"--rh", "45.2", "--tair", "-20", "--tglobe", "31.5"});
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        auto link = linkOn({meter.path()});
        std::vector<std::uint8_t> data;
        QCOMPARE(RunExchange(*link, Probe::First, [&] { return readChannels(*link, data); }),
                 ExchangeResult::Done);
        QCOMPARE(data, (std::vector<std::uint8_t>{0x01, 0xC4, 0xFF, 0x38, 0x01, 0x3B}));
        QStringList expected{"PC 37", "M 37", "PC A3", "M A3"};
        for (auto b : data) {
            const QString hex = QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
            expected << "M " + hex << "PC " + hex;
        }
        QCOMPARE(wire(meter.stopAndReadTranscript()), expected);
    }

    void silentPortCostsElevenReads() {
        EmulatorProcess meter({"--silent"});
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        auto link = linkOn({meter.path()});
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(RunExchange(*link, Probe::First, [] { return true; }), ExchangeResult::NoAnswer);
        const auto ms = timer.elapsed();
        QVERIFY2(ms >= 11 * 40 - 5 && ms < 1000, qPrintable(QString::number(ms)));
    }

    void missingOrBusyPortsAreSkippedFast() {
        EmulatorProcess meter;
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        SerialPortBackend holder; // another program holds the port
        QVERIFY(holder.open(meter.path()));
        auto link = linkOn({"/dev/zevadav-no-such-port", meter.path()});
        for (char digit : {'1', '2'}) {
            QElapsedTimer timer;
            timer.start();
            link->OpenPort(digit);
            QVERIFY(!link->PortHandle);
            QCOMPARE(link->ProbeMeter(), 0u);
            link->ClosePort();
            QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
        }
    }

    void meterFallingSilentEndsTheExchangeInAboutTwoSeconds() {
        EmulatorProcess meter({"--silent-after", "4"});
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        auto link = linkOn({meter.path()});
        std::vector<std::uint8_t> data;
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(RunExchange(*link, Probe::First, [&] { return readChannels(*link, data); }),
                 ExchangeResult::Lost);
        const auto ms = timer.elapsed();
        QVERIFY2(ms >= 2000 && ms < 2600, qPrintable(QString::number(ms)));
        QCOMPARE(data.size(), std::size_t{2}); // the bytes that came before stay
        QVERIFY(!link->PortHandle);
        // The port was really closed: it opens again at once.
        SerialPortBackend again;
        QVERIFY(again.open(meter.path()));
    }

    void pulledCableEndsTheExchangeAtOnce() {
        auto meter = std::make_unique<EmulatorProcess>(QStringList{"--slow-ms", "400"});
        QVERIFY2(meter->ok(), qPrintable(meter->error()));
        auto link = linkOn({meter->path()});
        QElapsedTimer timer;
        const auto result = RunExchange(*link, Probe::Skip, [&] {
            meter->kill(); // the meter's end of the line goes away before its answer comes
            timer.start();
            return link->Command(Cmd::CmdIdentify).has_value();
        });
        QCOMPARE(result, ExchangeResult::Lost);
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    }

    void searchFindsTheMeterBehindSilentAndMissingPorts() {
        EmulatorProcess silent1({"--silent"}), silent3({"--silent"}), meter;
        QVERIFY(silent1.ok() && silent3.ok() && meter.ok());
        auto link = linkOn({silent1.path(), "/dev/zevadav-no-such-port", silent3.path(), "", meter.path()});
        PortSearch search(*link);
        QStringList texts;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(search.Pass([&](const QString& t) { texts << t; }, [] { return true; }));
        const auto ms = timer.elapsed();
        QCOMPARE(link->PortNumber, 5);
        QCOMPARE(link->PortName, QString("COM5"));
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts.last(), PortSearch::TextFound);
        // 11 reads on the first port, one on the third; missing ports cost nothing.
        QVERIFY2(ms >= 12 * 40 - 10 && ms < 1500, qPrintable(QString::number(ms)));
        QCOMPARE(wire(silent3.stopAndReadTranscript()), QStringList{"PC 37"});
        QCOMPARE(wire(meter.stopAndReadTranscript()), (QStringList{"PC 37", "M 37"}));
    }

    void searchThreadShowsSuccessInPanelThree() {
        EmulatorProcess silent({"--silent"}), meter;
        QVERIFY(silent.ok() && meter.ok());
        auto link = linkOn({silent.path(), meter.path()});
        StatusPanels panels;
        panels.setPanels(
            {{55, Qt::AlignHCenter}, {70, Qt::AlignHCenter}, {50, Qt::AlignHCenter}, {50, Qt::AlignLeft}});
        MyThread thread(*link);
        thread.Resume([&](const QString& text) { panels.setPanelText(3, text); });
        QTRY_COMPARE_WITH_TIMEOUT(panels.panelText(3), PortSearch::TextFound, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(thread.isFinished(), 2000);
        QCOMPARE(link->PortNumber, 2);
    }

    void liveMonitoringOverAPseudoTerminal() {
        EmulatorProcess meter({"--rh", "45.2", "--tair", "23.1", "--tglobe", "25.4"});
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        auto link = linkOn({meter.path()});
        link->PublishFound(1);
        RecordingSearch search;
        TFMain window(*link, search);
        TFOptions options(window.TimerInterval);
        window.SetOptionsWindow(&options);
        window.TimerDetektTimer();
        QVERIFY(window.ButtonStartStop->isEnabled());
        window.ButtonStartStopClick();
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelMessage), QString("Чтение каналов"));
        QVERIFY(window.TimerInterval->isActive());
        for (int i = 0; i < 5; ++i)
            window.ReadCycle();
        QCOMPARE(window.GridD->rowCount(), 6);
        QCOMPARE(window.Label23->text(), QLocale().toString(45.2));
        QCOMPARE(window.Label21->text(), QLocale().toString(23.1));
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelMessage), QString("Чтение данных ..."));
        window.show();
        QVERIFY(window.grab().save(QDir::temp().filePath("zevadav-live.png")));
        // The fifth cycle on the wire, probe first: 2 + 2 + 12 bytes each.
        QCOMPARE(wire(meter.stopAndReadTranscript()).size(), 4 + 5 * 16 + 2 /* start probe */);
    }

    // A paced download (about 40 ms a record on the wire), ended by a second press: the window keeps
    // painting meanwhile, and the records read stay.
    void downloadOverAPseudoTerminalEndsOnASecondPress() {
        EmulatorProcess meter({"--records", "3000", "--paced"});
        QVERIFY2(meter.ok(), qPrintable(meter.error()));
        auto link = linkOn({meter.path()});
        link->PublishFound(1);
        RecordingSearch search;
        TFMain window(*link, search);
        window.show();
        window.ButtonZagruzit->click();
        QCOMPARE(window.ButtonZagruzit->text(), QString("Загрузка данных, ждите ...."));
        QTRY_VERIFY_WITH_TIMEOUT(window.GridL->rowCount() > 5, 5000); // rows arrive while it runs
        window.ButtonZagruzit->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.ExchangeBusy(), 5000);
        const int rows = window.GridL->rowCount() - 1;
        QVERIFY2(rows > 5 && rows < 3000, qPrintable(QString::number(rows)));
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelMessage),
                 QStringLiteral("Загрузка прервана, загружено записей: %1").arg(rows));
        QCOMPARE(window.ButtonZagruzit->text(), QString("Загрузить"));
        window.PageControl->setCurrentIndex(1);
        QVERIFY(window.grab().save(QDir::temp().filePath("zevadav-logger.png")));
        // Every record on the wire was a whole one: probe, then 3 + 16 round trips per record.
        const QStringList bytes = wire(meter.stopAndReadTranscript());
        QCOMPARE(bytes.size(), 2 + rows * 38);
    }

    // The program itself, as the README starts it: it finds the emulated meter on its own and, at the
    // next tick of its identification timer, asks what it is.
    void programFindsTheMeterOnItsOwn() {
        EmulatorProcess meter;
        QVERIFY(meter.ok());
        QProcess program;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("ZEVADAV_PORTS", ":" + meter.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZEVADAV_PATH), {});
        QVERIFY(program.waitForStarted(5000));
        QString transcript;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000 && !wire(transcript).contains("PC 18")) {
            QTest::qWait(100);
            QFile file(meter.transcriptPath());
            if (file.open(QIODevice::ReadOnly))
                transcript = QString::fromUtf8(file.readAll());
        }
        program.terminate();
        program.waitForFinished(5000);
        QCOMPARE(wire(transcript), (QStringList{"PC 37", "M 37", "PC A7", "M A7", "M 18", "PC 18"}));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
