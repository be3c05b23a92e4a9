// The main window as created: layout, captions and design state of its controls.
#include "link/nullport.h"
#include "link/searchcontrol.h"
#include "link/unitcomport.h"
#include "monitor/formmain.h"
#include "recordingsearch.h"
#include "settings/chartpoints.h"
#include "toolkit/statuspanels.h"
#include "toolkit/stringgridmodel.h"
#include <QAbstractItemModelTester>
#include <QChartView>
#include <QHeaderView>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>

namespace {
struct Rig {
    Rig() : link(std::make_unique<NullPortBackend>(), PortTable::fromList({})), window(link, search) {}
    template <typename T = QWidget> T* find(const QString& name) {
        T* child = window.findChild<T*>(name);
        if (!child)
            qFatal("no child %s", qPrintable(name));
        return child;
    }
    LinkState link;
    RecordingSearch search;
    TFMain window;
};

const QStringList Headers{"Время",  "THC,*C",  "WBGT,*C", "RH,%",     "tв.,*C",
                          "tш.,*C", "tвт.,*C", "tтр.,*C", "tрад.,*C", "W,Вт/м2"};
} // namespace

class TestFormMain : public QObject {
    Q_OBJECT
private slots:
    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("PageControl") << "PageControl"
                                     << "centralwidget" << QRect(0, 0, 655, 523);
        QTest::newRow("Panel4") << "Panel4"
                                << "TabSheet1" << QRect(0, 0, 214, 176);
        QTest::newRow("Panel6") << "Panel6"
                                << "TabSheet1" << QRect(432, 0, 214, 176);
        QTest::newRow("Panel2") << "Panel2"
                                << "TabSheet1" << QRect(216, 235, 214, 176);
        QTest::newRow("Image1") << "Image1"
                                << "Panel1" << QRect(2, 2, 210, 172);
        QTest::newRow("Chart1 in Panel2") << "Chart1"
                                          << "Panel2" << QRect(14, 11, 186, 154);
        QTest::newRow("Chart2 in Panel1") << "Chart2"
                                          << "Panel1" << QRect(14, 11, 186, 154);
        QTest::newRow("Panel8") << "Panel8"
                                << "TabSheet1" << QRect(216, 174, 214, 59);
        QTest::newRow("Panel12") << "Panel12"
                                 << "TabSheet1" << QRect(432, 409, 214, 59);
        QTest::newRow("Label18") << "Label18"
                                 << "Panel10" << QRect(16, 40, 88, 13);
        QTest::newRow("ButtonStartStop") << "ButtonStartStop"
                                         << "TabSheet1" << QRect(0, 470, 646, 25);
        QTest::newRow("StringGridD") << "StringGridD"
                                     << "TabSheet1" << QRect(0, 0, 145, 129);
        QTest::newRow("PanelDataTime") << "PanelDataTime"
                                       << "TabSheet3" << QRect(0, 0, 298, 28);
        QTest::newRow("CSpinEditGod") << "CSpinEditGod"
                                      << "PanelDataTime" << QRect(168, 3, 49, 22);
        QTest::newRow("ButtonSave") << "ButtonSave"
                                    << "PanelDataTime" << QRect(220, 3, 75, 22);
        QTest::newRow("ComboBoxZ") << "ComboBoxZ"
                                   << "TabSheet3" << QRect(500, 3, 145, 21);
        QTest::newRow("ChartValue") << "ChartValue"
                                    << "TabSheet3" << QRect(0, 30, 646, 437);
        QTest::newRow("ButtonZagruzit") << "ButtonZagruzit"
                                        << "TabSheet3" << QRect(0, 470, 647, 25);
        QTest::newRow("StringGridL") << "StringGridL"
                                     << "TabSheet3" << QRect(0, 0, 129, 105);
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, rect);
        Rig rig;
        QWidget* widget = rig.find(name);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QCOMPARE(widget->geometry(), rect);
    }

    void windowIsFixedBelowItsMenu() {
        Rig rig;
        TFMain& w = rig.window;
        QCOMPARE(w.windowTitle().toUtf8(), QByteArray("ЗЕЛТ ТНС Zevadav в. 2.0.7"));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!w.windowIcon().isNull());
        const QPixmap picture = rig.find<QLabel>("Image3")->pixmap();
        QCOMPARE(picture.size(), QSize(210, 172));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(655, w.menuBar()->height() + 542));
        QCOMPARE(w.centralWidget()->geometry(), QRect(0, w.menuBar()->height(), 655, 523));
        QCOMPARE(w.StatusBar->geometry(), QRect(0, w.menuBar()->height() + 523, 655, 19));
        // The tab strip lies over the right end of the status bar and is not hidden by it.
        QCOMPARE(w.TabSet->parentWidget(), &w);
        QCOMPARE(w.TabSet->geometry(), QRect(544, w.menuBar()->height() + 524, 112, 17));
        QCOMPARE(w.childAt(w.TabSet->geometry().center()), w.TabSet);
    }

    void valueLabels_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("top");
        QTest::addColumn<QColor>("colour");
        const QColor red(255, 0, 0), lime(0, 255, 0);
        QTest::newRow("THC") << "Label12" << QByteArray("ТНС, *С") << "Label25" << 9 << red;
        QTest::newRow("WBGT") << "Label13" << QByteArray("WBGT, *C") << "Label26" << 33 << lime;
        QTest::newRow("RH") << "Label14" << QByteArray("RH, %") << "Label23" << 9 << red;
        QTest::newRow("tв") << "Label15" << QByteArray("tв., *C") << "Label21" << 9 << red;
        QTest::newRow("tш") << "Label16" << QByteArray("tсф., *C") << "Label22" << 33 << lime;
        QTest::newRow("tвт") << "Label17" << QByteArray("tвл.тер., *С") << "Label27" << 9 << red;
        QTest::newRow("tтр") << "Label18" << QByteArray("tточ.росы, *C") << "Label28" << 33 << lime;
        QTest::newRow("tрад") << "Label19" << QByteArray("tрад., *С") << "Label29" << 9 << red;
        QTest::newRow("W") << "Label20" << QByteArray("W, Вт/м2") << "Label30" << 9 << red;
    }
    void valueLabels() {
        QFETCH(QString, caption);
        QFETCH(QByteArray, text);
        QFETCH(QString, value);
        QFETCH(int, top);
        QFETCH(QColor, colour);
        Rig rig;
        auto* captionLabel = rig.find<QLabel>(caption);
        auto* valueLabel = rig.find<QLabel>(value);
        QCOMPARE(captionLabel->text().toUtf8(), text);
        QVERIFY(captionLabel->font().bold());
        QCOMPARE(captionLabel->parentWidget(), valueLabel->parentWidget());
        QCOMPARE(valueLabel->text(), QStringLiteral("0.0"));
        QCOMPARE(valueLabel->palette().color(QPalette::WindowText), colour);
        QCOMPARE(valueLabel->y(), top);
        QCOMPARE(valueLabel->x() + valueLabel->width(), 196);
        QVERIFY(valueLabel->alignment() & Qt::AlignRight);
        // The face must really be there: a missing font would fall back silently.
        QCOMPARE(QFontInfo(valueLabel->font()).family(), QStringLiteral("Digital Readout Thick Upright"));
        QCOMPARE(valueLabel->font().pixelSize(), 24);
        QVERIFY(valueLabel->font().bold());
    }

    void valueTextIsDrawnWhole() {
        Rig rig;
        auto* label = rig.find<QLabel>("Label25");
        const QImage image = label->grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            QCOMPARE(image.pixelColor(0, y).red() > 200 && image.pixelColor(0, y).green() < 60, false);
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        }
        QVERIFY2(red > 40, qPrintable(QString::number(red)));
    }

    void grids() {
        Rig rig;
        for (const char* name : {"StringGridD", "StringGridL"}) {
            auto* view = rig.find<QTableView>(name);
            QVERIFY(view->isHidden());
            QAbstractItemModel* model = view->model();
            QVERIFY(model);
            QCOMPARE(model->columnCount(), 10);
            QCOMPARE(model->rowCount(), 1); // the one empty row under the headers
            QStringList headers;
            for (int column = 0; column < 10; ++column) {
                headers << model->headerData(column, Qt::Horizontal).toString();
                QCOMPARE(model->index(0, column).data().toString(), QString());
                QCOMPARE(view->columnWidth(column), 61);
            }
            QCOMPARE(headers, Headers);
            QCOMPARE(view->rowHeight(0), 18);
            QVERIFY(view->verticalHeader()->isHidden());
        }
    }

    void gridModelGrowsByRows() {
        Rig rig;
        StringGridModel* grid = rig.window.GridL;
        QAbstractItemModelTester tester(grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(grid, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(grid, &QAbstractItemModel::dataChanged);
        grid->setCell(3, 0, QStringLiteral("45.2"));
        grid->appendRow();
        grid->setCell(0, 1, QStringLiteral("12:00:05"));
        grid->setCell(10, 1, QStringLiteral("outside"));
        grid->setCell(0, 2, QStringLiteral("outside"));
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(grid->index(0, 3).data().toString(), QStringLiteral("45.2"));
        QCOMPARE(grid->cell(0, 1), QStringLiteral("12:00:05"));
        QCOMPARE(grid->cell(3, 1), QString());
        QCOMPARE(grid->header(0), QStringLiteral("Время"));
    }

    void startButtonDisabled() {
        Rig rig;
        QVERIFY(!rig.window.ButtonStartStop->isEnabled());
        QCOMPARE(rig.window.ButtonStartStop->text(), QStringLiteral("Старт"));
    }

    void timers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("active");
        QTest::newRow("TimerDetekt") << "TimerDetekt" << 3000 << true;
        QTest::newRow("TimerInterval") << "TimerInterval" << 3000 << false;
        QTest::newRow("TimerPeriod") << "TimerPeriod" << 20000 << false;
        QTest::newRow("TimerLogo") << "TimerLogo" << 1000 << true;
        QTest::newRow("TimerDataVremy") << "TimerDataVremy" << 60000 << true;
    }
    void timers() {
        QFETCH(QString, name);
        QFETCH(int, interval);
        QFETCH(bool, active);
        Rig rig;
        const std::map<QString, QTimer*> members{{"TimerDetekt", rig.window.TimerDetekt},
                                                 {"TimerInterval", rig.window.TimerInterval},
                                                 {"TimerPeriod", rig.window.TimerPeriod},
                                                 {"TimerLogo", rig.window.TimerLogo},
                                                 {"TimerDataVremy", rig.window.TimerDataVremy}};
        QTimer* timer = members.at(name);
        QCOMPARE(timer, rig.find<QTimer>(name));
        QCOMPARE(timer->interval(), interval);
        QCOMPARE(timer->isActive(), active);
    }

    void creationSetsChartPointsAndStartsTheSearch() {
        ChartPoints = 321;
        Rig rig;
        QCOMPARE(ChartPoints, 100);
        QCOMPARE(rig.search.resumed, 1);
        QCOMPARE(rig.window.StatusBar->panelCount(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(rig.window.StatusBar->panelText(i), QString());
        rig.search.status(QStringLiteral("Поиск оборудования ..."));
        QCOMPARE(rig.window.StatusBar->panelText(TFMain::PanelMessage),
                 QStringLiteral("Поиск оборудования ..."));
    }

    void menuAndPages() {
        Rig rig;
        QStringList names, texts;
        for (QAction* action : rig.window.MainMenu->actions()) {
            QVERIFY(!action->menu());
            names << action->objectName();
            texts << action->text();
        }
        QCOMPARE(names, QStringList({"N1", "N5", "N8", "N7", "N9"}));
        QCOMPARE(texts,
                 QStringList({"Передать данные в  Excel", "Статистика", "\"НТП \"ЗЕЛТ\"", "?", "Выход"}));
        QCOMPARE(rig.window.PageControl->count(), 2);
        QCOMPARE(rig.window.PageControl->currentIndex(), 0);
        QCOMPARE(rig.window.PageControl->tabText(0), QStringLiteral("Текущие показания"));
        QCOMPARE(rig.window.PageControl->tabText(1), QStringLiteral("Дата логгер"));
        QCOMPARE(rig.window.TabSet->count(), 2);
        QCOMPARE(rig.window.TabSet->tabText(0), QStringLiteral("Графики"));
        QCOMPARE(rig.window.TabSet->tabText(1), QStringLiteral("Данные"));
        QCOMPARE(rig.window.TabSet->currentIndex(), 0);
    }

    void loggerPage() {
        Rig rig;
        QComboBox* box = rig.window.ComboBoxZ;
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, QStringList({"ТНС индекс, *С", "Влажность RH, %", "Температура tв, *С",
                                     "Температура tсф, *С"}));
        QCOMPARE(box->currentText(), items.first());
        QCOMPARE(rig.window.ButtonZagruzit->text(), QStringLiteral("Загрузить"));
        QCOMPARE(rig.window.ButtonSave->text(), QStringLiteral("Записать"));
        struct Spin {
            QSpinBox* box;
            int min, max, value;
        };
        for (const Spin& s :
             {Spin{rig.window.CSpinEditChas, 0, 23, 16}, Spin{rig.window.CSpinEditMin, 0, 59, 10},
              Spin{rig.window.CSpinEditDen, 1, 31, 7}, Spin{rig.window.CSpinEditMes, 1, 12, 4},
              Spin{rig.window.CSpinEditGod, 2009, 2100, 2009}}) {
            QCOMPARE(s.box->minimum(), s.min);
            QCOMPARE(s.box->maximum(), s.max);
            QCOMPARE(s.box->value(), s.value);
        }
    }

    void chartSeries_data() {
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QStringList>("series");
        QTest::newRow("Chart4") << "Chart4" << QStringList{"Series11", "LineSeries3"};
        QTest::newRow("Chart6") << "Chart6" << QStringList{"LineSeries5", "Series13"};
        QTest::newRow("Chart2") << "Chart2" << QStringList{"Series12", "Series14"};
        QTest::newRow("Chart1") << "Chart1" << QStringList{"LineSeries1"};
        QTest::newRow("ChartValue") << "ChartValue"
                                    << QStringList{"Series1", "Series2", "Series3", "Series4", "Series5",
                                                   "Series6", "Series7", "Series8", "Series9", "Series10"};
    }
    void chartSeries() {
        QFETCH(QString, chart);
        QFETCH(QStringList, series);
        Rig rig;
        QStringList names;
        for (QAbstractSeries* s : rig.find<QChartView>(chart)->chart()->series()) {
            names << s->objectName();
            QCOMPARE(qobject_cast<QLineSeries*>(s)->count(), 0);
        }
        QCOMPARE(names, series);
        if (chart == "ChartValue") {
            QVERIFY(rig.window.Series1->isVisible());
            QVERIFY(!rig.window.Series2->isVisible());
            QVERIFY(!rig.window.Series4->isVisible());
        }
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
