// The export's automation calls, recorded: their order and shape for both pages, the cells' own failures,
// the two "Ошибка" boxes and what happens after them, and the progress it reports.
#include "export/exportprogress.h"
#include "export/recordingautomation.h"
#include "export/uxls.h"
#include "monitor/readingstore.h"
#include "toolkit/messages.h"
#include "toolkit/stringgridmodel.h"
#include <QCoreApplication>
#include <QTest>

namespace {
const QString App = QStringLiteral("Excel.Application");
const QString Sheet = QStringLiteral("Excel.Application.WorkSheets(1)");

// The calls the protocol asks for, written out step by step from its layout.
struct Expected {
    QStringList lines;

    Expected& attach(bool fails = false) {
        lines << "attach Excel.Application" + QString(fails ? " -> failed" : "");
        return *this;
    }
    Expected& create(bool fails = false) {
        lines << "create Excel.Application" + QString(fails ? " -> failed" : "");
        return *this;
    }
    Expected& workbook() {
        lines << "get Excel.Application.WorkBooks"
              << "call Excel.Application.WorkBooks.add()"
              << "get Excel.Application.WorkSheets(1)";
        return *this;
    }
    Expected& layout() {
        for (int k = 1; k <= 11; ++k) {
            const QString item = QString("%1.Columns.Item(%2)").arg(Sheet).arg(k);
            lines << "get " + Sheet + ".Columns"
                  << "get " + item << QString("set %1.ColumnWidth = %2").arg(item).arg(k == 1 ? 17 : 11);
        }
        lines << "get " + Sheet + ".Range(\"A2:K2\")"
              << "get " + Sheet + ".Range(\"A2:K2\").Interior"
              << "set " + Sheet + ".Range(\"A2:K2\").Interior.ColorIndex = 6";
        lines << "get Excel.Application.Range(\"A1:J65536\")"
              << "set Excel.Application.Range(\"A1:J65536\").HorizontalAlignment = 3";
        cell(1, 5, "ПРОТОКОЛ ИЗМЕРЕНИЙ ПАРАМЕТРОВ МИКРОКЛИМАТА");
        const char* headers[] = {"Время",    "THC, *C",  "WBGT, *C", "RH, %",     "tв., *C",
                                 "tсф., *C", "tвт., *C", "tтр., *C", "tрад., *C", "W, Вт/м2"};
        for (int c = 1; c <= 10; ++c)
            cell(2, c, headers[c - 1]);
        return *this;
    }
    Expected& cell(int row, int column, const QString& text) {
        const QString cells = QString("%1.Cells(%2, %3)").arg(Sheet).arg(row).arg(column);
        lines << "get " + cells << "set " + cells + ".Value = \"" + text + "\"";
        return *this;
    }
    Expected& frame(const QString& area) {
        const QString range = "Excel.Application.Range(\"" + area + "\")";
        lines << "get " + range;
        for (int b = 1; b <= 4; ++b)
            lines << "get " + range + ".Borders" << QString("get %1.Borders.Item(%2)").arg(range).arg(b)
                  << QString("set %1.Borders.Item(%2).LineStyle = 1").arg(range).arg(b);
        return *this;
    }
    Expected& visible() {
        lines << "set Excel.Application.Visible = true";
        return *this;
    }
};

struct Box {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
};

class RecordingProgress final : public ExportProgress {
public:
    void Begin(qint64 t) override {
        total = t;
        ++begun;
    }
    void Advance(qint64 done) override {
        if (done <= last)
            monotonic = false;
        last = done;
    }
    void End() override { ++ended; }
    qint64 total = -1, last = 0;
    int begun = 0, ended = 0;
    bool monotonic = true;
};

Reading reading(int hour, int minute, int second, std::array<std::int32_t, Reading::Count> tenths) {
    Reading r;
    r.secondOfDay = hour * 3600 + minute * 60 + second;
    r.tenths = tenths;
    return r;
}

// Where two call lists part, so that a failure names the first differing call.
QString firstDifference(const QStringList& actual, const QStringList& expected) {
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const QString a = i < actual.size() ? actual[i] : "<none>";
        const QString e = i < expected.size() ? expected[i] : "<none>";
        if (a != e)
            return QString("call %1 of %2 (expected %3):\n  actual:   %4\n  expected: %5")
                .arg(i)
                .arg(actual.size())
                .arg(expected.size())
                .arg(a, e);
    }
    return {};
}
} // namespace

#define COMPARE_CALLS(actual, expected)                                                                      \
    do {                                                                                                     \
        const QString difference = firstDifference(actual, expected);                                        \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                              \
    } while (false)

class TestXlsExport : public QObject {
    Q_OBJECT

    std::vector<Box> boxes;
    RecordingAutomation excel;
    AutoRef XlsApp, XlsSheet;
    RecordingProgress progress;
    ReadingStore live;
    std::unique_ptr<StringGridModel> grid;

    void run(int page) { XlsExport(excel, XlsApp, XlsSheet, &progress).Run(page, live, *grid); }
    // The recorder knows no running instance: attach fails and a new one is started.
    void noRunningInstance() {
        excel.FailWhen = [](const AutomationCall& c) { return c.kind == AutomationCall::Attach; };
    }

private slots:
    void init() {
        boxes.clear();
        Messages::setHandler([this](QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons buttons) {
            boxes.push_back({icon, caption, text, buttons});
            return QMessageBox::Ok;
        });
        excel = RecordingAutomation();
        XlsApp.reset();
        XlsSheet.reset();
        progress = RecordingProgress();
        live = ReadingStore();
        grid = std::make_unique<StringGridModel>(10, 1);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }
    void cleanup() {
        Messages::setHandler({});
        QLocale::setDefault(QLocale::c());
    }

    void livePageWithoutReadings() {
        noRunningInstance();
        run(0);
        Expected e;
        e.attach(true).create().workbook().layout().frame("A2:K2").visible();
        COMPARE_CALLS(excel.Texts(), e.lines);
        QVERIFY(boxes.empty());
        QCOMPARE(RecordingAutomation::PathOf(XlsApp), App);
        QCOMPARE(RecordingAutomation::PathOf(XlsSheet), Sheet);
    }

    void livePageWithReadings() {
        noRunningInstance();
        live.append(reading(14, 5, 37, {235, 219, 451, 250, 262, 171, 110, 280, 1700}));
        // RH 0: no dew point, which the table shows as "--".
        live.append(reading(14, 5, 40, {-5, 0, 0, 31, -12, -40, Reading::NoValue, -1, 0}));
        live.append(reading(9, 0, 3, {1000, 1, 999, 12345, -100, 5, -305, 1600, 25}));
        run(0);

        Expected e;
        e.attach(true).create().workbook().layout().frame("A2:K5");
        // Column A first, from the THC series' labels; then the columns one after another.
        e.cell(3, 1, "14:05:37").cell(4, 1, "14:05:40").cell(5, 1, "09:00:03");
        e.cell(3, 2, "23,5").cell(4, 2, "-0,5").cell(5, 2, "100");
        e.cell(3, 3, "21,9").cell(4, 3, "0").cell(5, 3, "0,1");
        e.cell(3, 4, "45,1").cell(4, 4, "0").cell(5, 4, "99,9");
        e.cell(3, 5, "25").cell(4, 5, "3,1").cell(5, 5, "1234,5");
        e.cell(3, 6, "26,2").cell(4, 6, "-1,2").cell(5, 6, "-10");
        e.cell(3, 7, "17,1").cell(4, 7, "-4").cell(5, 7, "0,5");
        e.cell(3, 8, "11").cell(4, 8, "--").cell(5, 8, "-30,5");
        e.cell(3, 9, "28").cell(4, 9, "-0,1").cell(5, 9, "160");
        e.cell(3, 10, "170").cell(4, 10, "0").cell(5, 10, "2,5");
        e.visible();
        COMPARE_CALLS(excel.Texts(), e.lines);
        QVERIFY(boxes.empty());
    }

    void liveValuesUseTheLocaleSeparator_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << "23,5";
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << "23.5";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "23,5";
    }
    void liveValuesUseTheLocaleSeparator() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        live.append(reading(10, 0, 0, {235, 235, 235, 235, 235, 235, 235, 235, 12345}));
        run(0);
        const QStringList calls = excel.Texts();
        QVERIFY(calls.contains(QString("set %1.Cells(3, 2).Value = \"%2\"").arg(Sheet, text)));
        // No group separator, whatever the locale groups with.
        QVERIFY(calls.contains(
            QString("set %1.Cells(3, 10).Value = \"1234%2\"").arg(Sheet, text.mid(2, 1) + "5")));
        // Every value is passed as text, never as a number.
        for (const AutomationCall& call : excel.Calls)
            if (call.member == "Value")
                QVERIFY(std::holds_alternative<QString>(call.args.at(0)));
    }

    void loggerPageWithNothingDownloaded() {
        noRunningInstance();
        run(1);
        Expected e;
        e.attach(true).create().workbook().layout().frame("A2:K2");
        for (int c = 1; c <= 10; ++c)
            e.cell(3, c, "");
        e.visible();
        COMPARE_CALLS(excel.Texts(), e.lines);
    }

    void loggerPageWithRows_data() {
        QTest::addColumn<int>("page");
        QTest::newRow("logger page") << 1;
        QTest::newRow("any page but the first") << 2;
    }
    void loggerPageWithRows() {
        QFETCH(int, page);
        // Two records and the empty last row; with its header row the table has M = 4 rows.
        grid->appendRow();
        grid->appendRow();
        for (int c = 0; c < 10; ++c) {
            grid->setCell(c, 0, QString("a%1").arg(c));
            grid->setCell(c, 1, QString("b%1").arg(c));
        }
        grid->setCell(0, 0, "14:5 1.2.24");
        grid->setCell(3, 1, "23,5");
        grid->setCell(7, 1, "--");
        // The live page's readings are not what this page exports.
        live.append(reading(10, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}));
        run(page);

        Expected e;
        e.attach().workbook().layout().frame("A2:K4");
        for (int c = 0; c < 10; ++c) {
            e.cell(3, c + 1, c == 0 ? QString("14:5 1.2.24") : QString("a%1").arg(c));
            e.cell(4, c + 1, c == 3 ? QString("23,5") : c == 7 ? QString("--") : QString("b%1").arg(c));
            e.cell(5, c + 1, "");
        }
        e.visible();
        COMPARE_CALLS(excel.Texts(), e.lines);
    }

    void runningInstanceIsUsed() {
        run(0);
        QCOMPARE(excel.Texts().first(), "attach Excel.Application");
        QVERIFY(!excel.Texts().contains("create Excel.Application"));
        QCOMPARE(excel.Texts().last(), "set Excel.Application.Visible = true");
    }

    void attachAndStartFail() {
        excel.FailWhen = [](const AutomationCall& c) {
            return c.kind == AutomationCall::Attach || c.kind == AutomationCall::Create;
        };
        live.append(reading(10, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}));
        run(0);
        // Both boxes, the workbook step tried in between on the empty reference, and nothing after it.
        const QStringList expected{"attach Excel.Application -> failed", "create Excel.Application -> failed",
                                   "get <empty>.WorkBooks -> failed"};
        COMPARE_CALLS(excel.Texts(), expected);
        QCOMPARE(boxes.size(), std::size_t(2));
        QCOMPARE(boxes[0].text,
                 "Невозможно открыть Microsoft Excel!Возможно Excel не установлен на компьютере.");
        QCOMPARE(boxes[1].text, "Ошибка открытия книги Microsoft Excel!");
        for (const Box& box : boxes) {
            QCOMPARE(box.caption, "Ошибка");
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QVERIFY(!XlsApp);
        QVERIFY(!XlsSheet);
        QCOMPARE(progress.ended, 1);
    }

    void workbookStepFails_data() {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("callsMade");
        QTest::newRow("add") << "add" << 3;
        QTest::newRow("WorkSheets") << "WorkSheets" << 4;
        QTest::newRow("WorkBooks") << "WorkBooks" << 2;
    }
    void workbookStepFails() {
        QFETCH(QString, failing);
        QFETCH(int, callsMade);
        // A sheet from an earlier export stays where it was.
        const AutoRef earlierSheet = std::make_shared<AutoObject>();
        XlsSheet = earlierSheet;
        excel.FailWhen = [failing](const AutomationCall& c) { return c.member == failing; };
        run(0);
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].caption, "Ошибка");
        QCOMPARE(boxes[0].text, "Ошибка открытия книги Microsoft Excel!");
        QCOMPARE(excel.Calls.size(), std::size_t(callsMade));
        QVERIFY(excel.Calls.back().failed);
        QVERIFY(XlsSheet == earlierSheet);
        QCOMPARE(RecordingAutomation::PathOf(XlsApp), App);
    }

    void failedConnectKeepsTheEarlierApplication() {
        run(0);
        const AutoRef firstApp = XlsApp;
        const AutoRef firstSheet = XlsSheet;
        excel.Calls.clear();
        excel.FailWhen = [](const AutomationCall& c) {
            return c.kind == AutomationCall::Attach || c.kind == AutomationCall::Create;
        };
        run(0);
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].text, XlsExport::TextNoExcel);
        QVERIFY(XlsApp == firstApp);
        QVERIFY(XlsSheet != firstSheet);
        // The protocol still goes into a new workbook of the earlier instance, made visible at the end.
        Expected e;
        e.attach(true).create(true).workbook().layout().frame("A2:K2").visible();
        COMPARE_CALLS(excel.Texts(), e.lines);
    }

    void twoExportsAddTwoWorkbooks() {
        noRunningInstance();
        run(0);
        excel.FailWhen = {};
        run(1);
        const QStringList calls = excel.Texts();
        QCOMPARE(calls.count("call Excel.Application.WorkBooks.add()"), 2);
        QCOMPARE(calls.count("set Excel.Application.Visible = true"), 2);
        QCOMPARE(calls.count("create Excel.Application"), 1);
        QCOMPARE(calls.count("attach Excel.Application"), 1);
    }

    void failingCellsAreSkipped() {
        live.append(reading(10, 0, 0, {235, 1, 1, 1, 1, 1, 1, 1, 1}));
        live.append(reading(10, 0, 3, {240, 1, 1, 1, 1, 1, 1, 1, 1}));
        const QString b3 = Sheet + ".Cells(3, 2)";
        const QString a4 = Sheet + ".Cells(4, 1)";
        excel.FailWhen = [&](const AutomationCall& c) {
            return (c.kind == AutomationCall::Get && c.target == Sheet && c.member == "Cells" &&
                    c.args == AutoArgs{3, 2}) ||
                   (c.kind == AutomationCall::Set && c.target == a4) ||
                   (c.kind == AutomationCall::Set && c.target.endsWith("Cells(1, 5)"));
        };
        run(0);
        QVERIFY(boxes.empty());
        const QStringList calls = excel.Texts();
        QVERIFY(calls.contains("get " + b3 + " -> failed"));
        QVERIFY(!calls.contains("set " + b3 + ".Value = \"23,5\""));
        QVERIFY(calls.contains("set " + a4 + ".Value = \"10:00:03\" -> failed"));
        // The cells after each failure are still written, and the export ends as usual.
        QVERIFY(calls.contains("set " + Sheet + ".Cells(2, 1).Value = \"Время\""));
        QVERIFY(calls.contains("set " + Sheet + ".Cells(4, 2).Value = \"24\""));
        QCOMPARE(calls.last(), "set Excel.Application.Visible = true");
    }

    void otherFailuresEndTheExport_data() {
        QTest::addColumn<QString>("member");
        QTest::newRow("column width") << "ColumnWidth";
        QTest::newRow("fill") << "Interior";
        QTest::newRow("alignment") << "HorizontalAlignment";
        QTest::newRow("frame") << "Borders";
        QTest::newRow("visible") << "Visible";
    }
    void otherFailuresEndTheExport() {
        QFETCH(QString, member);
        live.append(reading(10, 0, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}));
        excel.FailWhen = [member](const AutomationCall& c) { return c.member == member; };
        run(0);
        // Ended at the first failure; shown as the application shows an error that leaves a handler.
        QVERIFY(excel.Calls.back().failed);
        QCOMPARE(excel.Calls.back().member, member);
        QCOMPARE(int(std::count_if(excel.Calls.begin(), excel.Calls.end(), [](auto& c) { return c.failed; })),
                 1);
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].caption, QCoreApplication::applicationName());
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(boxes[0].text.contains(member), qPrintable(boxes[0].text));
        QCOMPARE(progress.ended, 1);
    }

    void progressCountsEveryCell() {
        for (int i = 0; i < 7; ++i)
            live.append(reading(10, 0, i, {1, 1, 1, 1, 1, 1, 1, 1, 1}));
        run(0);
        QCOMPARE(progress.begun, 1);
        QCOMPARE(progress.total, 11 + 7 * 10); // title, headers, then every data cell
        QCOMPARE(progress.last, progress.total);
        QVERIFY(progress.monotonic);
        QCOMPARE(progress.ended, 1);
        // One "Cells" get for every step.
        QCOMPARE(excel.Texts().filter(".Cells(").filter(QRegularExpression("^get ")).size(), progress.total);
    }
};

QTEST_MAIN(TestXlsExport)
#include "tst_uxls.moc"
