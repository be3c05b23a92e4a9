// The statistics window: its layout, the refresh on show, "Обновить" and a change of quantity, the bars,
// their labels and marks, the minimum and maximum read-outs, and the duct section's radio buttons.
#include "monitor/readingstore.h"
#include "readings.h"
#include "stats/barmarks.h"
#include "stats/formstat.h"
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
QList<qreal> bars(const TFStat& f) {
    QList<qreal> values;
    for (int i = 0; i < f.BarSetStat->count(); ++i)
        values << f.BarSetStat->at(i);
    return values;
}

const QStringList TemperatureLabels = {"-30", "-20", "-10", "0", "10", "20", "30", "40", "50", "60"};
const QStringList HumidityLabels = {"10", "20", "30", "40", "50", "60", "70", "80", "90", "100"};
} // namespace

class TestFormStat : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }

    void layout() {
        TFStat f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Статистика"));
        QCOMPARE(f.size(), QSize(603, 456));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.ComboBoxStat->geometry(), QRect(2, 2, 167, 21));
        QCOMPARE(f.ButtonStatReload->geometry(), QRect(181, 2, 241, 21));
        QCOMPARE(f.ButtonStatReload->text(), QStringLiteral("Обновить"));
        QCOMPARE(f.PanelMinMax->geometry(), QRect(432, 0, 169, 25));
        QCOMPARE(f.StaticTextMin->parentWidget(), f.PanelMinMax);
        QCOMPARE(f.StaticTextMin->geometry(), QRect(39, 4, 40, 17));
        QCOMPARE(f.StaticTextMax->geometry(), QRect(119, 4, 40, 17));
        QCOMPARE(f.StaticTextMin->alignment(), Qt::AlignCenter);
        QStringList captions;
        for (const QLabel* l : f.PanelMinMax->findChildren<QLabel*>())
            captions << l->text();
        QVERIFY(captions.contains(QStringLiteral("Мин.")));
        QVERIFY(captions.contains(QStringLiteral("Макс.")));
        QCOMPARE(f.ChartStat->geometry(), QRect(2, 26, 600, 400));
        QCOMPARE(f.ButtonClose->geometry(), QRect(0, 430, 601, 25));
        QCOMPARE(f.ButtonClose->text(), QStringLiteral("Закрыть"));
        // The duct section lies just below the client area, out of sight.
        QCOMPARE(f.m3c->geometry(), QRect(0, 456, 601, 73));
        QCOMPARE(f.m3c->title(), QStringLiteral("Расход"));
        QVERIFY(!f.rect().intersects(f.m3c->geometry()));
    }

    void chartStyle() {
        TFStat f;
        QChart* chart = f.ChartStat->chart();
        QCOMPARE(chart->backgroundBrush().color(), QColor(192, 192, 192));
        QCOMPARE(chart->plotAreaBackgroundBrush().color(), QColor(Qt::white));
        QVERIFY(chart->isPlotAreaBackgroundVisible());
        QVERIFY(!chart->legend()->isVisible());
        QVERIFY(chart->title().isEmpty());
        QCOMPARE(chart->margins(), QMargins(2, 2, 2, 2));
        QCOMPARE(chart->series().size(), 1);
        QCOMPARE(chart->series().first(), f.BarSeriesStat);
        QCOMPARE(f.BarSetStat->color(), QColor(255, 0, 0));
    }

    void quantityList() {
        TFStat f;
        QCOMPARE(f.ComboBoxStat->count(), 3);
        QCOMPARE(f.ComboBoxStat->itemText(0), QStringLiteral("Температура tв, *С"));
        QCOMPARE(f.ComboBoxStat->itemText(1), QStringLiteral("Влажность RH, %"));
        QCOMPARE(f.ComboBoxStat->itemText(2), QStringLiteral("Температура tсф, *С"));
        QCOMPARE(f.ComboBoxStat->currentIndex(), -1);
        QVERIFY(!f.ComboBoxStat->isEditable());
    }

    void firstShowingIsEmpty() {
        ReadingStore store;
        store.append(reading(250, 500, 250));
        TFStat f(&store);
        f.show();
        QCOMPARE(f.BarSetStat->count(), 0);
        QCOMPARE(f.AxisClasses->count(), 0);
        QVERIFY(f.StaticTextMin->text().isEmpty());
        QVERIFY(f.StaticTextMax->text().isEmpty());
        QVERIFY(f.MarksStat->texts().isEmpty());
    }

    void histogramOfEachQuantity_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<qreal>>("expected");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        // tв: -30.0, -30.1, 70.0, 25.0, 29.9, 0.0; RH: 0.0, 100.0, 50.5, 9.9, 10.0, 55.0; tш: 45.5 ... 12.3
        QTest::addRow("tв") << 0 << QList<qreal>{1, 0, 0, 1, 0, 2, 0, 0, 0, 0} << TemperatureLabels << "-30,1"
                            << "70";
        QTest::addRow("RH") << 1 << QList<qreal>{2, 1, 0, 0, 0, 2, 0, 0, 0, 0} << HumidityLabels << "0"
                            << "100";
        QTest::addRow("tш") << 2 << QList<qreal>{0, 0, 1, 1, 1, 0, 0, 3, 0, 0} << TemperatureLabels << "-5"
                            << "45,5";
    }
    void histogramOfEachQuantity() {
        QFETCH(int, index);
        QFETCH(QList<qreal>, expected);
        QFETCH(QStringList, labels);
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        ReadingStore store;
        store.append(reading(-300, 0, 455));
        store.append(reading(-301, 1000, 401));
        store.append(reading(700, 505, 400));
        store.append(reading(250, 99, -50));
        store.append(reading(299, 100, 0));
        store.append(reading(0, 550, 123));
        TFStat f(&store);
        f.show();
        f.ComboBoxStat->setCurrentIndex(index);
        QCOMPARE(bars(f), expected);
        QCOMPARE(f.AxisClasses->categories(), labels);
        QCOMPARE(f.StaticTextMin->text(), minimum);
        QCOMPARE(f.StaticTextMax->text(), maximum);
    }

    void emptyStoreGivesTenZeroBars() {
        ReadingStore store;
        TFStat f(&store);
        f.show();
        f.ComboBoxStat->setCurrentIndex(1);
        QCOMPARE(bars(f), QList<qreal>(10, 0.0));
        QCOMPARE(f.AxisClasses->categories(), HumidityLabels);
        QCOMPARE(f.StaticTextMin->text(), QStringLiteral("0"));
        QCOMPARE(f.StaticTextMax->text(), QStringLiteral("0"));
        QCOMPARE(f.MarksStat->texts(), QStringList(10, QStringLiteral("0 %")));
    }

    void marksShowEachBarsShare() {
        ReadingStore store;
        for (const std::int32_t tv : {-250, 10, 20, 150, 160, 170, 180, 190, 650, 800, -400})
            store.append(reading(tv, 500, 0));
        TFStat f(&store);
        f.show();
        f.ComboBoxStat->setCurrentIndex(0);
        // 9 readings in the classes: 1 at -30, 2 at 0, 5 at 10, 1 at 60; 80.0 and -40.0 count in none.
        const QStringList expected = {"11,11 %", "0 %", "0 %", "22,22 %", "55,56 %",
                                      "0 %",     "0 %", "0 %", "0 %",     "11,11 %"};
        QCOMPARE(f.MarksStat->texts(), expected);
    }

    void snapshotFollowsTheStoreOnlyWhenAsked() {
        ReadingStore store;
        store.append(reading(215, 500, 0));
        TFStat f(&store);
        f.show();
        f.ComboBoxStat->setCurrentIndex(0);
        QCOMPARE(f.BarSetStat->at(5), 1.0);

        store.append(reading(225, 500, 0));
        store.append(reading(-123, 500, 0));
        QCOMPARE(f.BarSetStat->at(5), 1.0); // a snapshot: nothing follows by itself
        QCOMPARE(f.StaticTextMin->text(), QStringLiteral("21,5"));

        QTest::mouseClick(f.ButtonStatReload, Qt::LeftButton);
        QCOMPARE(f.BarSetStat->at(5), 2.0);
        QCOMPARE(f.BarSetStat->at(1), 1.0);
        QCOMPARE(f.StaticTextMin->text(), QStringLiteral("-12,3"));
        QCOMPARE(f.StaticTextMax->text(), QStringLiteral("22,5"));

        // Showing the window again also counts afresh.
        f.ButtonClose->click();
        QVERIFY(!f.isVisible());
        store.append(reading(555, 500, 0));
        f.show();
        QCOMPARE(f.BarSetStat->at(8), 1.0);
        QCOMPARE(f.StaticTextMax->text(), QStringLiteral("55,5"));
    }

    // With no quantity chosen the chart is emptied and the read-outs keep what they showed.
    void noQuantityLeavesTheReadOuts() {
        ReadingStore store;
        store.append(reading(215, 815, -215));
        TFStat f(&store);
        f.show();
        f.ComboBoxStat->setCurrentIndex(0);
        f.ComboBoxStat->setCurrentIndex(-1);
        QCOMPARE(f.BarSetStat->count(), 0);
        QCOMPARE(f.AxisClasses->count(), 0);
        QCOMPARE(f.StaticTextMin->text(), QStringLiteral("21,5"));
        QCOMPARE(f.StaticTextMax->text(), QStringLiteral("21,5"));
    }

    // A mark stands above its bar: higher bars have higher marks.
    void marksFollowTheBars() {
        ReadingStore store;
        for (const std::int32_t tv : {15, 115, 125, 215, 225, 235})
            store.append(reading(tv, 500, 0));
        TFStat f(&store);
        f.show();
        f.ComboBoxStat->setCurrentIndex(0);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QChart* chart = f.ChartStat->chart();
        QList<qreal> tops;
        for (int bar = 0; bar < 10; ++bar) {
            const QRectF mark = f.MarksStat->markRect(bar);
            QVERIFY(!mark.isEmpty());
            // Centred over its bar's category.
            const QPointF base = chart->mapToPosition(QPointF(bar, f.BarSetStat->at(bar)), f.BarSeriesStat);
            QVERIFY(qAbs(mark.center().x() - base.x()) < 1);
            QVERIFY(mark.bottom() < base.y());
            tops << mark.top();
        }
        QVERIFY(f.MarksStat->markRect(10).isEmpty());
        QVERIFY(tops[3] > tops[4]); // 1 reading at 0, 2 at 10
        QVERIFY(tops[4] > tops[5]); // 3 at 20
        QCOMPARE(tops[0], tops[9]); // both empty
        QVERIFY(tops[0] > tops[3]);
        const QRectF plot = chart->plotArea();
        for (const qreal top : tops)
            QVERIFY(top >= plot.top());
    }

    void radioButtonsSwitchTheEdits() {
        TFStat f;
        QCOMPARE(f.RadioButtonXY->text(), QStringLiteral("Прямоугольная"));
        QCOMPARE(f.RadioButtonD->text(), QStringLiteral("Круглая"));
        QCOMPARE(f.RadioButtonS->text(), QStringLiteral("Произвольная"));
        for (const QLineEdit* e : {f.EditX, f.EditY, f.EditD, f.EditS})
            QCOMPARE(e->text(), QStringLiteral("1"));
        auto enabled = [&f] {
            return QList<bool>{f.EditX->isEnabled(), f.EditY->isEnabled(), f.EditD->isEnabled(),
                               f.EditS->isEnabled()};
        };
        QVERIFY(f.RadioButtonXY->isChecked());
        QCOMPARE(enabled(), (QList<bool>{true, true, false, false}));
        f.RadioButtonD->click();
        QCOMPARE(enabled(), (QList<bool>{false, false, true, false}));
        f.RadioButtonS->click();
        QCOMPARE(enabled(), (QList<bool>{false, false, false, true}));
        f.RadioButtonXY->click();
        QCOMPARE(enabled(), (QList<bool>{true, true, false, false}));
        QVERIFY(f.StaticTextP->text().isEmpty());
        QVERIFY(f.StaticTextP->font().bold());
        QCOMPARE(f.StaticTextP->font().pixelSize(), 21);
        QStringList texts;
        for (const QLabel* l : f.m3c->findChildren<QLabel*>())
            texts << l->text();
        for (const char* caption : {"Сечение ", "воздуховода:", "Ширина, м", "Высота, м", "Диаметр, м",
                                    "Площадь, м", "м  /ч", "2", "3"})
            QVERIFY2(texts.contains(QString::fromUtf8(caption)), caption);
    }
};

QTEST_MAIN(TestFormStat)
#include "tst_formstat.moc"
