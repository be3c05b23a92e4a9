// The about window: its layout, the memos' looks and texts, the picture, and that a click on any part
// of it hides it.
#include "about/formlogo.h"
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

class TestFormLogo : public QObject {
    Q_OBJECT
private slots:
    void layout() {
        TFLogo f;
        QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.size(), QSize(604, 211));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QCOMPARE(f.PanelLogo->geometry(), QRect(0, 0, 605, 211));
        QCOMPARE(f.ImageZELT->parentWidget(), f.PanelLogo);
        QCOMPARE(f.ImageZELT->geometry(), QRect(2, 3, 300, 205));
        QCOMPARE(f.PanelAtributi->parentWidget(), f.PanelLogo);
        QCOMPARE(f.PanelAtributi->geometry(), QRect(304, 0, 300, 211));
        QCOMPARE(f.PanelAtributi->palette().color(QPalette::Window), QColor(166, 202, 240));
        QVERIFY(f.PanelAtributi->autoFillBackground());
        QCOMPARE(f.Memo1->geometry(), QRect(4, 12, 292, 38));
        QCOMPARE(f.Memo2->geometry(), QRect(4, 64, 292, 19));
        QCOMPARE(f.Memo3->geometry(), QRect(4, 88, 292, 57));
        QCOMPARE(f.Memo4->geometry(), QRect(4, 144, 292, 60));
    }

    void picture() {
        TFLogo f;
        const QPixmap pixmap = f.ImageZELT->pixmap();
        QCOMPARE(pixmap.size(), QSize(300, 205));
        // A drawing, not a blank: many colours.
        const QImage image = pixmap.toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        QVERIFY(colours.size() > 50);
    }

    void memos_data() {
        QTest::addColumn<int>("memo");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("italic");
        QTest::addRow("Memo1") << 1 << 2 << 17 << false;
        QTest::addRow("Memo2") << 2 << 1 << 16 << true;
        QTest::addRow("Memo3") << 3 << 3 << 13 << false;
        QTest::addRow("Memo4") << 4 << 4 << 13 << false;
    }
    void memos() {
        QFETCH(int, memo);
        QFETCH(int, lines);
        QFETCH(int, pixels);
        QFETCH(bool, italic);
        TFLogo f;
        QTextEdit* m = QList<QTextEdit*>{f.Memo1, f.Memo2, f.Memo3, f.Memo4}[memo - 1];
        QVERIFY(m->isReadOnly());
        QCOMPARE(m->frameShape(), QFrame::NoFrame);
        QCOMPARE(m->palette().color(QPalette::Base), QColor(166, 202, 240));
        QCOMPARE(m->font().pixelSize(), pixels);
        QVERIFY(m->font().bold());
        QCOMPARE(m->font().italic(), italic);
        QCOMPARE(m->font().families().value(0), QStringLiteral("Times New Roman"));
        QCOMPARE(m->document()->blockCount(), lines);
        for (QTextBlock b = m->document()->firstBlock(); b.isValid(); b = b.next()) {
            QVERIFY(!b.text().trimmed().isEmpty());
            QCOMPARE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        }
        // Every line is seen: the text is no higher and no wider than the memo.
        QVERIFY(m->document()->size().height() <= m->viewport()->height());
        QVERIFY(m->document()->idealWidth() <= m->viewport()->width());
    }

    void contactsAreFictional() {
        TFLogo f;
        const QString contacts = f.Memo4->toPlainText();
        QVERIFY(contacts.contains(QStringLiteral("example.ru")));
        QVERIFY(f.Memo1->toPlainText().contains(QStringLiteral("ЗЕЛТ")));
    }

    // Where each part shows itself (not covered by another), in the part's own coordinates.
    void clickHides_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QPoint>("at");
        QTest::addRow("PanelLogo") << "PanelLogo" << QPoint(303, 100);
        QTest::addRow("ImageZELT") << "ImageZELT" << QPoint(150, 100);
        QTest::addRow("PanelAtributi") << "PanelAtributi" << QPoint(150, 5);
        QTest::addRow("Memo1") << "Memo1" << QPoint(146, 10);
        QTest::addRow("Memo2") << "Memo2" << QPoint(146, 9);
        QTest::addRow("Memo3") << "Memo3" << QPoint(20, 50);
        QTest::addRow("Memo4") << "Memo4" << QPoint(146, 30);
    }
    void clickHides() {
        QFETCH(QString, part);
        QFETCH(QPoint, at);
        TFLogo f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* target = f.findChild<QWidget*>(part);
        QVERIFY(target);
        // The click goes to whatever widget lies under the point, as a user's would.
        QWidget* hit = f.childAt(target->mapTo(&f, at));
        QVERIFY(hit);
        QVERIFY(hit == target || target->isAncestorOf(hit));
        if (auto* memo = qobject_cast<QTextEdit*>(target))
            QCOMPARE(hit, memo->viewport());
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&f, target->mapTo(&f, at)));
        QVERIFY(!f.isVisible());
        // Hidden, not gone: it shows again with everything in place.
        f.show();
        QVERIFY(f.isVisible());
        QCOMPARE(f.ImageZELT->pixmap().size(), QSize(300, 205));
    }

    void rightClickLeavesItShown() {
        TFLogo f;
        f.show();
        QTest::mouseClick(f.ImageZELT, Qt::RightButton, {}, QPoint(150, 100));
        QVERIFY(f.isVisible());
    }
};

QTEST_MAIN(TestFormLogo)
#include "tst_formlogo.moc"
