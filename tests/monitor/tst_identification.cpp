// The identification: the exchange on its own, then the main window's timer handler around it.
#include "emulatedbackend.h"
#include "monitor/formmain.h"
#include "monitor/identification.h"
#include "recordingsearch.h"
#include "settings/formoptions.h"
#include "toolkit/statuspanels.h"
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
// The meter on the second slot, so that the port's digit and name are seen to come from the search.
struct Rig {
    explicit Rig(MeterConfig config) : meter(std::make_shared<MeterModel>(config)) {
        auto backend = std::make_unique<EmulatedPortBackend>();
        ports = backend.get();
        ports->addPort("/dev/ttyUSB0", meter);
        link = std::make_unique<LinkState>(std::move(backend), PortTable::fromList({"", "/dev/ttyUSB0"}));
        link->PublishFound(2);
    }
    std::shared_ptr<MeterModel> meter;
    EmulatedPortBackend* ports = nullptr;
    std::unique_ptr<LinkState> link;
};
} // namespace

class TestIdentification : public QObject {
    Q_OBJECT
private slots:
    void exchangeAndConfiguration_data() {
        QTest::addColumn<int>("ident");
        QTest::addColumn<int>("config");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("label");
        // No probe before 0xA7; 0xAB only for the meter that reports a configuration.
        QTest::newRow("ЛРГ/24") << 24 << 1 << "open /dev/ttyUSB0|w A7|r A7|r 18|w 18|close"
                                << "-";
        QTest::newRow("65, configuration 0")
            << 65 << 0 << "open /dev/ttyUSB0|w A7|r A7|r 41|w 41|w AB|r AB|r 00|w 00|close"
            << "нет";
        QTest::newRow("65, configuration 1")
            << 65 << 1 << "open /dev/ttyUSB0|w A7|r A7|r 41|w 41|w AB|r AB|r 01|w 01|close"
            << "гол.2";
        QTest::newRow("65, configuration 2")
            << 65 << 2 << "open /dev/ttyUSB0|w A7|r A7|r 41|w 41|w AB|r AB|r 02|w 02|close"
            << "гол.1";
        QTest::newRow("65, configuration 3")
            << 65 << 3 << "open /dev/ttyUSB0|w A7|r A7|r 41|w 41|w AB|r AB|r 03|w 03|close"
            << "-";
        QTest::newRow("another meter") << 0xC8 << 1 << "open /dev/ttyUSB0|w A7|r A7|r C8|w C8|close"
                                       << "-";
    }
    void exchangeAndConfiguration() {
        QFETCH(int, ident);
        QFETCH(int, config);
        QFETCH(QString, wire);
        QFETCH(QString, label);
        MeterConfig mc;
        mc.identByte = static_cast<std::uint8_t>(ident);
        mc.configByte = static_cast<std::uint8_t>(config);
        Rig rig(mc);
        const auto id = Identification::Run(*rig.link);
        QCOMPARE(id.result, ExchangeResult::Done);
        QCOMPARE(id.IdentByte, static_cast<std::int8_t>(ident)); // a signed byte: 0xC8 is -56
        QCOMPARE(id.ConfigByte.has_value(), ident == 65);
        if (id.ConfigByte)
            QCOMPARE(Identification::ConfigLabel(*id.ConfigByte).value_or("-"), label);
        QCOMPARE(describe(rig.ports->events()).replace('\n', '|'), wire);
    }

    void meterFallingSilentEndsTheIdentification_data() {
        QTest::addColumn<int>("silentAfter");
        QTest::addColumn<int>("identKept");
        QTest::newRow("no answer to 0xA7") << 0 << 0;
        QTest::newRow("silent before the configuration") << 2 << 65;
    }
    void meterFallingSilentEndsTheIdentification() {
        QFETCH(int, silentAfter);
        QFETCH(int, identKept);
        MeterConfig mc;
        mc.identByte = 65;
        mc.silentAfter = silentAfter;
        Rig rig(mc);
        const auto id = Identification::Run(*rig.link);
        QCOMPARE(id.result, ExchangeResult::Lost);
        QCOMPARE(int(id.IdentByte), identKept);
        QVERIFY(!id.ConfigByte);
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
        QVERIFY(rig.ports->nowUs() <= 2'100'000);
    }

    // --- the main window's TimerDetekt

    void waitsForTheSearchWithoutTouchingThePort() {
        MeterConfig mc;
        auto meter = std::make_shared<MeterModel>(mc);
        auto backend = std::make_unique<EmulatedPortBackend>();
        auto* ports = backend.get();
        ports->addPort("/dev/ttyUSB0", meter);
        LinkState link(std::move(backend), PortTable::fromList({"/dev/ttyUSB0"}));
        RecordingSearch search;
        TFMain window(link, search);
        QVERIFY(window.TimerDetekt->isActive());
        QCOMPARE(window.TimerDetekt->interval(), 3000);
        window.TimerDetektTimer();
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelMessage), TFMain::TextNotFound);
        QVERIFY(window.TimerDetekt->isActive());
        QVERIFY(ports->events().empty());
        QCOMPARE(search.suspended, 0);
        QVERIFY(!window.ButtonStartStop->isEnabled());
    }

    void windowAfterIdentification_data() {
        QTest::addColumn<int>("ident");
        QTest::addColumn<int>("config");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("configLabel");
        QTest::addColumn<bool>("startEnabled");
        QTest::newRow("ЛРГ/24") << 24 << 0 << "ЛРГ/24"
                                << "" << true;
        QTest::newRow("65, configuration 0") << 65 << 0 << ""
                                             << "нет" << false;
        QTest::newRow("65, configuration 1") << 65 << 1 << ""
                                             << "гол.2" << false;
        QTest::newRow("65, configuration 2") << 65 << 2 << ""
                                             << "гол.1" << false;
        QTest::newRow("65, configuration 3") << 65 << 3 << ""
                                             << "" << false;
        QTest::newRow("another byte") << 7 << 0 << ""
                                      << "" << false;
    }
    void windowAfterIdentification() {
        QFETCH(int, ident);
        QFETCH(int, config);
        QFETCH(QString, model);
        QFETCH(QString, configLabel);
        QFETCH(bool, startEnabled);
        MeterConfig mc;
        mc.identByte = static_cast<std::uint8_t>(ident);
        mc.configByte = static_cast<std::uint8_t>(config);
        Rig rig(mc);
        RecordingSearch search;
        TFMain window(*rig.link, search);
        TFOptions options(window.TimerInterval);
        options.CheckBoxT->setEnabled(false); // so that the handler's enabling shows
        window.SetOptionsWindow(&options);

        window.TimerDetektTimer();
        QCOMPARE(search.suspended, 1);
        QVERIFY(!window.TimerDetekt->isActive());
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelPort), QString("ttyUSB0"));
        QCOMPARE(rig.link->PortName, QString("COM2"));
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelModel), model);
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelConfig), configLabel);
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelMessage),
                 QString("Для начала работы нажмите старт"));
        QCOMPARE(window.ButtonStartStop->isEnabled(), startEnabled);
        QCOMPARE(options.CheckBoxT->isEnabled(), startEnabled);
        QVERIFY(!rig.ports->events().empty() &&
                rig.ports->events().front().kind == EmulatedPortBackend::Event::Kind::Open);
        QCOMPARE(describe(rig.ports->events()).split('\n').at(1), QString("w A7")); // no probe first
    }

    void settingsButtonTogglesTheSettingsWindow() {
        Rig rig(MeterConfig{});
        RecordingSearch search;
        TFMain window(*rig.link, search);
        TFOptions options(window.TimerInterval);
        window.SetOptionsWindow(&options);
        QVERIFY(window.ButtonSettings && window.ButtonSettings->isVisibleTo(&window));
        window.ButtonSettings->click();
        QVERIFY(options.isVisible());
        window.ButtonSettings->click();
        QVERIFY(!options.isVisible());
    }

    void meterFallingSilentLeavesTheWindowUsable() {
        MeterConfig mc;
        mc.identByte = 65;
        mc.silentAfter = 2;
        Rig rig(mc);
        RecordingSearch search;
        TFMain window(*rig.link, search);
        window.TimerDetektTimer();
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelMessage), TFMain::TextIdentificationLost);
        QCOMPARE(window.StatusBar->panelText(TFMain::PanelPort), QString("ttyUSB0"));
        QVERIFY(!window.ButtonStartStop->isEnabled());
        QVERIFY(!window.TimerDetekt->isActive());
        QVERIFY(window.TimerDataVremy->isActive());
        QCOMPARE(rig.ports->events().back().kind, EmulatedPortBackend::Event::Kind::Close);
    }
};

QTEST_MAIN(TestIdentification)
#include "tst_identification.moc"
