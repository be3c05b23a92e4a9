// The main menu's toggles of the secondary windows, "Выход", and the about window's splash after start.
#include "link/nullport.h"
#include "link/unitcomport.h"
#include "monitor/formmain.h"
#include "monitor/protocolexport.h"
#include "monitor/readingstore.h"
#include "toolkit/stringgridmodel.h"
#include <QAction>
#include <QTest>
#include <QTimer>

namespace {
struct Rig {
    Rig() : link(std::make_unique<NullPortBackend>(), PortTable::fromList({})), window(link, search) {
        for (QWidget* w : {&stat, &logo, &help})
            w->setWindowFlag(Qt::Window);
        window.SetSecondaryWindows(&stat, &logo, &help);
        window.show();
    }
    LinkState link;
    NullSearch search;
    TFMain window;
    QWidget stat, logo, help;
};
} // namespace

class TestMenu : public QObject {
    Q_OBJECT
private slots:
    void itemsToggleTheirWindows_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("which");
        QTest::newRow("Статистика") << "N5" << 0;
        QTest::newRow("about") << "N8" << 1;
        QTest::newRow("?") << "N7" << 2;
    }
    void itemsToggleTheirWindows() {
        QFETCH(QString, item);
        QFETCH(int, which);
        Rig rig;
        QWidget* windows[] = {&rig.stat, &rig.logo, &rig.help};
        QAction* action = rig.window.findChild<QAction*>(item);
        QVERIFY(action);
        action->trigger();
        QVERIFY(windows[which]->isVisible());
        rig.window.raise(); // behind the main window it is still "shown": the item hides it
        action->trigger();
        QVERIFY(!windows[which]->isVisible());
        for (int i = 0; i < 3; ++i)
            QVERIFY(!windows[i]->isVisible());
    }

    void exportRunsOnTheShownPage() {
        struct Recorder final : ProtocolExport {
            void Run(int page, const ReadingStore& live, const StringGridModel& logger) override {
                pages << page;
                sizes << int(live.size()) << logger.rowCount();
            }
            QList<int> pages, sizes;
        } recorder;
        Rig rig;
        rig.window.SetProtocolExport(&recorder);
        rig.window.N1->trigger();
        rig.window.PageControl->setCurrentIndex(1);
        rig.window.N1->trigger();
        QCOMPARE(recorder.pages, (QList<int>{0, 1}));
        QCOMPARE(recorder.sizes, (QList<int>{0, 1, 0, 1}));
        QCOMPARE(rig.window.N1->text(), QString("Передать данные в  Excel"));
    }

    void exitClosesTheMainWindow() {
        Rig rig;
        rig.window.N9->trigger();
        QVERIFY(!rig.window.isVisible());
    }

    void splashShowsAtOneSecondAndGoesTenSecondsLater() {
        Rig rig;
        QVERIFY(rig.window.TimerLogo->isActive());
        QCOMPARE(rig.window.TimerLogo->interval(), 1000);
        rig.window.TimerLogoTimer(); // 1 s after start
        QVERIFY(rig.logo.isVisible());
        QCOMPARE(rig.window.TimerLogo->interval(), 10000);
        rig.logo.close();         // the user clicks it away...
        rig.window.N8->trigger(); // ...and opens it again from the menu
        QVERIFY(rig.logo.isVisible());
        rig.window.TimerLogoTimer(); // 11 s after start: hidden whatever happened meanwhile
        QVERIFY(!rig.logo.isVisible());
        QVERIFY(!rig.window.TimerLogo->isActive());
        rig.window.N8->trigger(); // from now on only the menu shows it
        QVERIFY(rig.logo.isVisible());
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
