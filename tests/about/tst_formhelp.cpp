// The help window: its text line by line against the instruction table (helptext.table), its layout, and
// that closing hides it and keeps whatever the user typed.
#include "about/formhelp.h"
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

namespace {
struct Row {
    int number;
    int leading; // -1 for an empty line
    int trailing;
    QString text;
};

// Rows of the table: "| n | leading | trailing | "text" |", or "| n | | | empty |".
QList<Row> tableRows() {
    QFile file(QStringLiteral(HELP_TABLE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression row(QStringLiteral(R"(^\| (\d+) \| (\d*) ?\| (\d*) ?\| (.*) \|$)"));
    QList<Row> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = row.match(line);
        if (!m.hasMatch())
            continue;
        const QString cell = m.captured(4);
        Row r{m.captured(1).toInt(), -1, -1, QString()};
        if (cell != QLatin1String("empty")) {
            r.leading = m.captured(2).toInt();
            r.trailing = m.captured(3).toInt();
            r.text = cell.mid(1, cell.size() - 2); // the outer quotes only delimit the line
        }
        rows << r;
    }
    return rows;
}

int leadingBlanks(const QString& s) {
    int n = 0;
    while (n < s.size() && s[n] == QLatin1Char(' '))
        ++n;
    return n;
}

int trailingBlanks(const QString& s) {
    int n = 0;
    while (n < s.size() && s[s.size() - 1 - n] == QLatin1Char(' '))
        ++n;
    return n;
}
} // namespace

class TestFormHelp : public QObject {
    Q_OBJECT
private slots:
    void tableIsWhole() {
        const QList<Row> rows = tableRows();
        QCOMPARE(rows.size(), 39);
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i].number, i + 1);
    }

    void textLineByLine() {
        TFHelp f;
        const QList<Row> rows = tableRows();
        QCOMPARE(f.MemoHelp->document()->blockCount(), 39);
        QTextBlock block = f.MemoHelp->document()->firstBlock();
        for (const Row& r : rows) {
            const QString line = block.text();
            const QByteArray where = "line " + QByteArray::number(r.number);
            QVERIFY2(line == r.text, where + ": \"" + line.toUtf8() + "\"");
            if (r.leading >= 0) {
                QVERIFY2(leadingBlanks(line) == r.leading, where);
                QVERIFY2(trailingBlanks(line) == r.trailing, where);
            }
            block = block.next();
        }
        QVERIFY(!block.isValid());
    }

    // The places the table's notes point out.
    void notedDetails() {
        TFHelp f;
        const QStringList lines = f.MemoHelp->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 39);
        QVERIFY(lines[19].contains(QStringLiteral("доступна  только")));
        QVERIFY(lines[29].contains(QStringLiteral("направлении.Для")));
        QVERIFY(lines[37].contains(QStringLiteral("\"Загрузить\"")));
        QVERIFY(lines[31].endsWith(QStringLiteral("направлении.")));
    }

    void layout() {
        TFHelp f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Помощь"));
        QCOMPARE(f.size(), QSize(462, 477));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowMinimizeButtonHint));
        QCOMPARE(f.MemoHelp->geometry(), QRect(0, 0, 461, 449));
        QCOMPARE(f.ButtonCloseHelp->geometry(), QRect(0, 451, 461, 25));
        QCOMPARE(f.ButtonCloseHelp->text(), QStringLiteral("Закрыть"));
        QCOMPARE(f.font().pixelSize(), 11);
        QVERIFY(!f.MemoHelp->isReadOnly());
        QCOMPARE(f.MemoHelp->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(f.MemoHelp->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(f.MemoHelp->palette().color(QPalette::Base),
                 QToolTip::palette().color(QPalette::ToolTipBase));
    }

    void closeHidesAndKeepsTheEdit() {
        TFHelp f;
        f.show();
        QVERIFY(f.isVisible());
        f.MemoHelp->moveCursor(QTextCursor::Start);
        QTest::keyClicks(f.MemoHelp, QStringLiteral("Note:")); // keyClicks types ASCII only
        QTest::mouseClick(f.ButtonCloseHelp, Qt::LeftButton);
        QVERIFY(!f.isVisible());
        f.show();
        QVERIFY(f.MemoHelp->toPlainText().startsWith(QStringLiteral("Note:  ")));
    }
};

QTEST_MAIN(TestFormHelp)
#include "tst_formhelp.moc"
