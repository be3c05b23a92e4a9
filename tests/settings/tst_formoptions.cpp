// The settings window: the scale bars' spring-back, the point count, the interval, the timed window's
// edits, the layout, and closing that keeps everything.
#include "settings/chartpoints.h"
#include "settings/formoptions.h"
#include "settings/maskedit.h"
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {
// Restores the global point count, which the window writes.
struct ChartPointsGuard {
    int saved = ChartPoints;
    ~ChartPointsGuard() { ChartPoints = saved; }
};

// Every value the window holds, in the order of its controls.
QStringList settingsOf(const TFOptions& f) {
    QStringList s;
    for (const QWidget* w : f.findChildren<QWidget*>()) {
        if (const auto* box = qobject_cast<const QCheckBox*>(w))
            s << QString::number(box->isChecked());
        else if (const auto* edit = qobject_cast<const MaskEdit*>(w))
            s << edit->text();
        else if (const auto* line = qobject_cast<const QLineEdit*>(w))
            s << line->text();
        else if (const auto* bar = qobject_cast<const QSlider*>(w))
            s << QString::number(bar->value());
        else if (const auto* label = qobject_cast<const QLabel*>(w))
            s << label->text();
    }
    return s;
}
} // namespace

class TestFormOptions : public QObject {
    Q_OBJECT
private slots:
    void scaleBarsSpringBack_data() {
        QTest::addColumn<int>("upperFirst");
        QTest::addColumn<int>("lowerFirst");
        QTest::addColumn<bool>("moveUpper");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("upperAfter");
        QTest::addColumn<int>("lowerAfter");
        QTest::addRow("upper onto lower") << 100 << 40 << true << 40 << 41 << 40;
        QTest::addRow("upper far below lower") << 100 << 40 << true << 10 << 41 << 40;
        QTest::addRow("upper onto lower at 99") << 100 << 99 << true << 99 << 100 << 99;
        QTest::addRow("upper free") << 100 << 20 << true << 55 << 55 << 20;
        QTest::addRow("lower onto upper") << 60 << 0 << false << 60 << 60 << 59;
        QTest::addRow("lower far above upper") << 60 << 0 << false << 99 << 60 << 59;
        QTest::addRow("lower free") << 60 << 0 << false << 30 << 60 << 30;
    }
    void scaleBarsSpringBack() {
        QFETCH(int, upperFirst);
        QFETCH(int, lowerFirst);
        QFETCH(bool, moveUpper);
        QFETCH(int, target);
        QFETCH(int, upperAfter);
        QFETCH(int, lowerAfter);
        TFOptions f;
        f.TrackBarYMax->setValue(upperFirst);
        f.TrackBarYMin->setValue(lowerFirst);
        QSignalSpy maxSpy(&f, &TFOptions::ChartValueMaximumChange);
        QSignalSpy minSpy(&f, &TFOptions::ChartValueMinimumChange);
        (moveUpper ? f.TrackBarYMax : f.TrackBarYMin)->setValue(target);

        QCOMPARE(f.TrackBarYMax->value(), upperAfter);
        QCOMPARE(f.TrackBarYMin->value(), lowerAfter);
        const int rest = moveUpper ? upperAfter : lowerAfter;
        const QLabel* readout = moveUpper ? f.StaticTextYMax : f.StaticTextYMin;
        QCOMPARE(readout->text(),
                 (moveUpper ? QStringLiteral("Max ") : QStringLiteral("Min ")) + QString::number(rest));
        // The chart is set once, where the bar came to rest; the steps on the way leave it alone.
        QCOMPARE((moveUpper ? maxSpy : minSpy), (QList<QList<QVariant>>{{rest}}));
        QCOMPARE((moveUpper ? minSpy : maxSpy).count(), 0);
    }

    void lowerBarWalksDownToZero() {
        TFOptions f;
        f.TrackBarYMax->setValue(1);
        QCOMPARE(f.StaticTextYMax->text(), QStringLiteral("Max 1"));
        f.TrackBarYMin->setValue(5);
        QCOMPARE(f.TrackBarYMin->value(), 0);
        QCOMPARE(f.StaticTextYMin->text(), QStringLiteral("Min 0"));
    }

    void drawnPositionsTouchNothing() {
        ChartPointsGuard guard;
        ChartPoints = 123;
        QTimer timer;
        timer.setInterval(3000);
        TFOptions f(&timer);
        QCOMPARE(ChartPoints, 123);
        QCOMPARE(timer.interval(), 3000);
        QCOMPARE(f.StaticTextYMax->text(), QStringLiteral("Max 100"));
        QCOMPARE(f.StaticTextYMin->text(), QStringLiteral("Min 0"));
        QCOMPARE(f.StaticTextXKol->text(), QStringLiteral("Kol 100"));
        QCOMPARE(f.LabelInterv->text(), QStringLiteral("Интервал измерений, 3 сек."));
        const QList<QList<int>> bars{{1, 100, 100, 2}, {0, 99, 0, 2}, {100, 500, 100, 10}, {3, 600, 3, 9}};
        const QList<QSlider*> sliders{f.TrackBarYMax, f.TrackBarYMin, f.TrackBarXKol, f.TrackBarInterv};
        for (qsizetype i = 0; i < sliders.size(); ++i) {
            const QSlider* s = sliders[i];
            QCOMPARE((QList<int>{s->minimum(), s->maximum(), s->value(), s->tickInterval()}), bars[i]);
        }
    }

    void pointCountFollowsTrackBar() {
        ChartPointsGuard guard;
        TFOptions f;
        for (int position : {250, 500, 100}) {
            f.TrackBarXKol->setValue(position);
            QCOMPARE(ChartPoints, position);
            QCOMPARE(f.StaticTextXKol->text(), QString::number(position));
        }
    }

    void intervalReachesTimer() {
        QTimer running;
        running.start(3000);
        TFOptions f(&running);
        f.TrackBarInterv->setValue(10);
        QCOMPARE(running.interval(), 10000);
        QVERIFY(running.isActive());
        // The last word in Latin letters, unlike the drawn caption's.
        QCOMPARE(f.LabelInterv->text(), QStringLiteral("Интервал измерений, 10 ") + QLatin1String("cek."));
        f.TrackBarInterv->setValue(600);
        QCOMPARE(running.interval(), 600000);

        QTimer idle;
        TFOptions g(&idle);
        g.TrackBarInterv->setValue(45);
        QCOMPARE(idle.interval(), 45000);
        QVERIFY(!idle.isActive());

        TFOptions alone;
        alone.TrackBarInterv->setValue(7);
        QCOMPARE(alone.LabelInterv->text(), QStringLiteral("Интервал измерений, 7 ") + QLatin1String("cek."));
    }

    void timeEditsStartBlank() {
        TFOptions f;
        for (const MaskEdit* e : {f.MaskEditTimeN, f.MaskEditTimeK}) {
            QCOMPARE(e->text(), QStringLiteral("  :  "));
            QCOMPARE(e->displayText(), QStringLiteral("__:__"));
            QCOMPARE(e->maxLength(), 5);
        }
    }

    void timeEditTyping_data() {
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addRow("full time") << 0 << QStringLiteral("0830") << QStringLiteral("08:30");
        QTest::addRow("blank first hour place") << 1 << QStringLiteral("830") << QStringLiteral(" 8:30");
        QTest::addRow("letters refused") << 0 << QStringLiteral("1x2y3z4") << QStringLiteral("12:34");
    }
    void timeEditTyping() {
        QFETCH(int, cursor);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        TFOptions f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.MaskEditTimeN->setFocus();
        f.MaskEditTimeN->setCursorPosition(cursor);
        QTest::keyClicks(f.MaskEditTimeN, keys);
        QCOMPARE(f.MaskEditTimeN->text(), text);
    }

    void timeEditSetText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addRow("blank first hour place") << QStringLiteral(" 8:30") << QStringLiteral("_8:30");
        QTest::addRow("blank required minute place") << QStringLiteral("08: 5") << QStringLiteral("08:_5");
    }
    void timeEditSetText() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        MaskEdit e;
        e.setEditMask(QStringLiteral("!90:00;1;_"));
        QSignalSpy edited(&e, &QLineEdit::textEdited);
        QSignalSpy changed(&e, &QLineEdit::textChanged);
        e.setText(text);
        QCOMPARE(e.displayText(), shown);
        QCOMPARE(e.text(), text);
        QCOMPARE(e.property("text").toString(), text);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(edited.count(), 0);
    }

    void editMaskTranslation_data() {
        QTest::addColumn<QString>("editMask");
        QTest::addColumn<QString>("inputMask");
        QTest::addColumn<QString>("literals");
        QTest::addColumn<bool>("keep");
        QTest::addRow("time") << "!90:00;1;_"
                              << "09:99;_"
                              << "..L.." << true;
        QTest::addRow("case, literals dropped") << ">LL<ll;0;*"
                                                << ">AA<aa;*"
                                                << "...." << false;
        QTest::addRow("case off, any") << "<>cC"
                                       << "!xX;_"
                                       << ".." << true;
        QTest::addRow("escapes") << "\\0x-#_;1; "
                                 << "\\0\\x-# ; "
                                 << "LLL.L" << true;
    }
    void editMaskTranslation() {
        QFETCH(QString, editMask);
        QFETCH(QString, inputMask);
        QFETCH(QString, literals);
        QFETCH(bool, keep);
        const EditMaskLayout layout = translateEditMask(editMask);
        QCOMPARE(layout.inputMask, inputMask);
        QString flags;
        for (bool literal : layout.literal)
            flags += literal ? u'L' : u'.';
        QCOMPARE(flags, literals);
        QCOMPARE(layout.keepLiterals, keep);
    }

    void literalsDroppedWhenNotKept() {
        MaskEdit e;
        e.setEditMask(QStringLiteral("00-00;0;_"));
        e.setText(QStringLiteral("1 34"));
        QCOMPARE(e.displayText(), QStringLiteral("1_-34"));
        QCOMPARE(e.text(), QStringLiteral("1 34"));
    }

    void hideAndShowKeepEverything() {
        ChartPointsGuard guard;
        QTimer timer;
        TFOptions f(&timer);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        for (QCheckBox* box : {f.CheckBoxT, f.CheckBoxV, f.CheckBoxBeep, f.CheckBoxTimer})
            box->setChecked(true);
        f.EditTmin->setText(QStringLiteral("-5.5"));
        f.EditRHmax->setText(QStringLiteral("80"));
        f.TrackBarYMin->setValue(20);
        f.TrackBarYMax->setValue(70);
        f.TrackBarXKol->setValue(300);
        f.TrackBarInterv->setValue(60);
        f.MaskEditTimeN->setText(QStringLiteral("08:30"));
        f.MaskEditTimeK->setText(QStringLiteral("17:45"));
        const QStringList before = settingsOf(f);
        QVERIFY(before.contains(QStringLiteral("Max 70")));
        QVERIFY(before.contains(QStringLiteral("17:45")));

        QSignalSpy maxSpy(&f, &TFOptions::ChartValueMaximumChange);
        QTest::mouseClick(f.ButtonClose, Qt::LeftButton);
        QVERIFY(f.isHidden());
        f.show();
        QCOMPARE(settingsOf(f), before);
        QVERIFY(f.close()); // the system close button takes the same road
        QVERIFY(f.isHidden());
        f.show();
        QCOMPARE(settingsOf(f), before);
        QCOMPARE(ChartPoints, 300);
        QCOMPARE(timer.interval(), 60000);
        QCOMPARE(maxSpy.count(), 0);
    }

    void windowFrame() {
        TFOptions f;
        QCOMPARE(f.size(), QSize(298, 445));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(f.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!f.windowFlags().testAnyFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        QVERIFY(!f.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(f.font().pointSize(), 8);
        const QPoint offCentre = f.geometry().center() - f.screen()->availableGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 2);
    }

    void geometries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("geometry");
        QTest::addRow("levels") << "GroupBox5"
                                << "TFOptions" << QRect(0, 4, 297, 145);
        QTest::addRow("timer") << "GroupBox2"
                               << "TFOptions" << QRect(0, 344, 297, 73);
        QTest::addRow("close") << "ButtonClose"
                               << "TFOptions" << QRect(0, 420, 297, 25);
        QTest::addRow("V min") << "EditVmin"
                               << "GroupBox5" << QRect(56, 80, 35, 21);
        QTest::addRow("upper bar") << "TrackBarYMax"
                                   << "GroupBox4" << QRect(50, 30, 241, 21);
        QTest::addRow("count read-out") << "StaticTextXKol"
                                        << "GroupBox4" << QRect(8, 97, 45, 17);
        QTest::addRow("interval bar") << "TrackBarInterv"
                                      << "GroupBox3" << QRect(20, 28, 240, 21);
        QTest::addRow("end time") << "MaskEditTimeK"
                                  << "GroupBox2" << QRect(245, 40, 35, 21);
    }
    void geometries() {
        QFETCH(QString, name);
        QFETCH(QString, parentName);
        QFETCH(QRect, geometry);
        TFOptions f;
        const auto* w = f.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget()->objectName(), parentName);
        QCOMPARE(w->geometry(), geometry);
    }
};

QTEST_MAIN(TestFormOptions)
#include "tst_formoptions.moc"
