// The spreadsheet-file backend: the protocol written through it and read back from the .xlsx file, the
// files it leaves, the folder, what the user is told, the members it refuses, and the progress window.
#include "export/desktopopener.h"
#include "export/exportprogress.h"
#include "export/sheetmodel.h"
#include "export/uxls.h"
#include "export/xlsxautomation.h"
#include "monitor/readingstore.h"
#include "toolkit/messages.h"
#include "toolkit/stringgridmodel.h"
#include "toolkit/timesource.h"
#include "xlsxreadback.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Box {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
};

Reading reading(int secondOfDay, std::array<std::int32_t, Reading::Count> tenths) {
    Reading r;
    r.secondOfDay = secondOfDay;
    r.tenths = tenths;
    return r;
}

bool isText(const XlsxCell& cell) {
    return cell.type == "inlineStr" || cell.type == "s" || cell.type == "str";
}
bool isNumber(const XlsxCell& cell) {
    return cell.type.isEmpty() || cell.type == "n";
}
const QString Yellow = QStringLiteral("FFFFFF00");
} // namespace

class TestXlsxExport : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    std::vector<Box> boxes;
    QStringList opened;
    bool openerWorks = true;
    FakeTimeSource clock{QDateTime(QDate(2024, 5, 6), QTime(14, 5, 37))};
    QString folder;

    std::unique_ptr<XlsxAutomation> backend() {
        return std::make_unique<XlsxAutomation>(
            folder,
            [this](const QString& path) {
                opened << path;
                return openerWorks;
            },
            &clock);
    }
    // One export through the backend; returns the file it wrote.
    QString exportOnce(XlsxAutomation& excel, int page, const ReadingStore& live,
                       const StringGridModel& logger) {
        AutoRef app, sheet;
        XlsExport(excel, app, sheet).Run(page, live, logger);
        return excel.WrittenFiles().isEmpty() ? QString() : excel.WrittenFiles().last();
    }

private slots:
    void initTestCase() {
        // Nothing of these tests may land in the real user's folders.
        QVERIFY(home.isValid());
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath("cache")));
        Messages::setHandler([this](QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons) {
            boxes.push_back({icon, caption, text});
            return QMessageBox::Ok;
        });
    }
    void init() {
        boxes.clear();
        opened.clear();
        openerWorks = true;
        folder = home.filePath(QString("run-%1/Протоколы").arg(QTest::currentTestFunction()));
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void cleanupTestCase() { Messages::setHandler({}); }

    void protocolFolderIsInTheDocuments() {
        QFile::remove(home.filePath("config/user-dirs.dirs"));
        QCOMPARE(XlsxAutomation::ProtocolFolder(), home.filePath("Documents/Протоколы"));
        // A Russian desktop names the documents folder in its own language.
        QVERIFY(QDir().mkpath(home.filePath("config")));
        QFile dirs(home.filePath("config/user-dirs.dirs"));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n");
        dirs.close();
        QCOMPARE(XlsxAutomation::ProtocolFolder(), home.filePath("Документы/Протоколы"));
        QFile::remove(home.filePath("config/user-dirs.dirs"));
    }

    void liveProtocolReadBack() {
        auto excel = backend();
        ReadingStore live;
        live.append(reading(14 * 3600 + 5 * 60 + 37, {235, 219, 451, 250, 262, 171, 110, 280, 1700}));
        live.append(reading(14 * 3600 + 5 * 60 + 40, {-5, 0, 0, 31, -12, -40, Reading::NoValue, -1, 0}));
        live.append(reading(9 * 3600 + 3, {1000, 1, 999, 12345, -100, 5, -305, 1600, 25}));
        const QString path = exportOnce(*excel, 0, live, StringGridModel(10, 1));

        QVERIFY(boxes.empty());
        QCOMPARE(QFileInfo(path).fileName(), "Протокол 2024-05-06 14-05-37.xlsx");
        QCOMPARE(QFileInfo(path).absolutePath(), folder);
        QCOMPARE(opened, QStringList{path});

        const XlsxReadBack book(path);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.sheetName, "Лист1");

        // Title and headers, as texts.
        QCOMPARE(book.cells.value("E1").value, "ПРОТОКОЛ ИЗМЕРЕНИЙ ПАРАМЕТРОВ МИКРОКЛИМАТА");
        QVERIFY(isText(book.cells.value("E1")));
        QVERIFY(!book.cells.contains("A1"));
        const QStringList headers{"Время",    "THC, *C",  "WBGT, *C", "RH, %",     "tв., *C",
                                  "tсф., *C", "tвт., *C", "tтр., *C", "tрад., *C", "W, Вт/м2"};
        for (int c = 0; c < 10; ++c) {
            const QString ref = ColumnLetters(c + 1) + "2";
            QCOMPARE(book.cells.value(ref).value, headers[c]);
            QVERIFY(isText(book.cells.value(ref)));
        }

        // Times stay text; values written with the decimal comma are numbers; "--" stays text.
        QCOMPARE(book.cells.value("A3").value, "14:05:37");
        QVERIFY(isText(book.cells.value("A3")));
        QCOMPARE(book.cells.value("A5").value, "09:00:03");
        const struct {
            const char* ref;
            double value;
        } numbers[] = {{"B3", 23.5}, {"C3", 21.9},   {"J3", 170},   {"B4", -0.5}, {"F4", -1.2},
                       {"I4", -0.1}, {"E5", 1234.5}, {"H5", -30.5}, {"J5", 2.5},  {"C4", 0}};
        for (const auto& n : numbers) {
            const XlsxCell cell = book.cells.value(n.ref);
            QVERIFY2(isNumber(cell), n.ref);
            QCOMPARE(cell.value.toDouble(), n.value);
        }
        QCOMPARE(book.cells.value("H4").value, "--");
        QVERIFY(isText(book.cells.value("H4")));

        // Widths: 17 for A, 11 for B to K (the file adds the cell padding to the characters).
        for (int c = 1; c <= 11; ++c) {
            const XlsxColumn* column = book.column(c);
            QVERIFY2(column, qPrintable(QString("column %1 has no width").arg(c)));
            const double wanted = c == 1 ? 17 : 11;
            QVERIFY2(column->width >= wanted && column->width < wanted + 1,
                     qPrintable(QString("column %1 width %2").arg(c).arg(column->width)));
        }
        // Centred: A to J as whole columns, K not.
        for (int c = 1; c <= 10; ++c)
            QCOMPARE(book.format(book.column(c)->style).horizontal, "center");
        QVERIFY(book.format(book.column(11)->style).horizontal.isEmpty());

        // The header fill on A2:K2 only (K2 is written for its formatting alone).
        QVERIFY(book.cells.contains("K2"));
        QVERIFY(book.cells.value("K2").value.isEmpty());
        for (int c = 1; c <= 11; ++c)
            QCOMPARE(book.formatOf(ColumnLetters(c) + "2").fill, Yellow);
        QVERIFY(book.formatOf("A3").fill.isEmpty());
        QVERIFY(book.formatOf("E1").fill.isEmpty());

        // The frame: thin lines on all four edges of every cell of A2:K5, nothing outside it.
        for (int r = 2; r <= 5; ++r)
            for (int c = 1; c <= 11; ++c) {
                const QString ref = ColumnLetters(c) + QString::number(r);
                QVERIFY2(book.cells.contains(ref), qPrintable(ref));
                const CellFormat& f = book.formatOf(ref);
                QVERIFY2(f.left == "thin" && f.right == "thin" && f.top == "thin" && f.bottom == "thin",
                         qPrintable(ref));
                QCOMPARE(f.horizontal, c <= 10 ? QString("center") : QString());
            }
        QVERIFY(book.formatOf("E1").left.isEmpty() && book.formatOf("E1").bottom.isEmpty());
        QCOMPARE(book.formatOf("E1").horizontal, "center");
        QCOMPARE(book.lastRow(), 5);
    }

    void loggerProtocolReadBack() {
        auto excel = backend();
        StringGridModel logger(10, 1);
        logger.appendRow();
        logger.appendRow();
        const QStringList first{"14:5 17.4.7", "23,5", "-0,8", "45",   "21,3",
                                "22",          "15,1", "--",   "25,4", "14,2"};
        for (int c = 0; c < 10; ++c) {
            logger.setCell(c, 0, first[c]);
            logger.setCell(c, 1, QString::number(c)); // whole numbers read as numbers in any locale
        }
        logger.setCell(0, 1, "15:0 17.4.7");
        const QString path = exportOnce(*excel, 1, ReadingStore(), logger);
        const XlsxReadBack book(path);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));

        QCOMPARE(book.cells.value("A3").value, "14:5 17.4.7");
        QVERIFY(isText(book.cells.value("A3")));
        QVERIFY(isNumber(book.cells.value("B3")));
        QCOMPARE(book.cells.value("B3").value.toDouble(), 23.5);
        QCOMPARE(book.cells.value("C3").value.toDouble(), -0.8);
        QCOMPARE(book.cells.value("H3").value, "--");
        QCOMPARE(book.cells.value("J4").value.toDouble(), 9.0);
        // The frame ends at the last record (M = 4); the empty last row leaves no cells below it.
        QCOMPARE(book.formatOf("K4").bottom, "thin");
        QCOMPARE(book.lastRow(), 4);
    }

    void textsEnteredAsTheLocaleReadsThem_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::addColumn<double>("value");
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("ru comma") << ru << "23,5" << true << 23.5;
        QTest::newRow("ru negative") << ru << "-0,1" << true << -0.1;
        QTest::newRow("ru whole") << ru << "1700" << true << 1700.0;
        QTest::newRow("ru point is no separator") << ru << "23.5" << false << 0.0;
        QTest::newRow("ru time") << ru << "14:05:37" << false << 0.0;
        QTest::newRow("ru logger stamp") << ru << "14:5 17.4.7" << false << 0.0;
        QTest::newRow("ru no value") << ru << "--" << false << 0.0;
        QTest::newRow("ru word nan") << ru << "nan" << false << 0.0;
        QTest::newRow("ru word inf") << ru << "inf" << false << 0.0;
        QTest::newRow("en point") << en << "23.5" << true << 23.5;
        QTest::newRow("en comma is no separator") << en << "23,5" << false << 0.0;
        QTest::newRow("en time") << en << "09:00:03" << false << 0.0;
    }
    void textsEnteredAsTheLocaleReadsThem() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(bool, number);
        QFETCH(double, value);
        const CellValue entered = EnteredValue(text, locale);
        if (number) {
            QVERIFY(std::holds_alternative<double>(entered));
            QCOMPARE(std::get<double>(entered), value);
        } else {
            QVERIFY(std::holds_alternative<QString>(entered));
            QCOMPARE(std::get<QString>(entered), text);
        }
    }

    void emptyTextLeavesTheCellEmpty() {
        QVERIFY(std::holds_alternative<std::monostate>(EnteredValue("", QLocale())));
        SheetModel sheet("s");
        sheet.setValue(3, 2, EnteredValue("x", QLocale()));
        sheet.setValue(3, 2, EnteredValue("", QLocale()));
        QVERIFY(std::holds_alternative<std::monostate>(sheet.value(3, 2)));
    }

    void twoExportsLeaveTwoFiles() {
        auto excel = backend();
        ReadingStore live;
        live.append(reading(3600, {1, 2, 3, 4, 5, 6, 7, 8, 9}));
        const QString first = exportOnce(*excel, 0, live, StringGridModel(10, 1));
        const QString second = exportOnce(*excel, 1, live, StringGridModel(10, 1));
        QVERIFY(first != second);
        QVERIFY(QFileInfo::exists(first));
        QVERIFY(QFileInfo::exists(second));
        QCOMPARE(opened, (QStringList{first, second}));
        // Same second: the second file is numbered rather than overwriting the first.
        QCOMPARE(QFileInfo(second).fileName(), "Протокол 2024-05-06 14-05-37 (2).xlsx");
        // What each holds: the live reading, then the empty logger table.
        QCOMPARE(XlsxReadBack(first).cells.value("J3").value.toDouble(), 0.9);
        QVERIFY(!XlsxReadBack(second).cells.contains("J3"));
        clock.Advance(61);
        const QString third = exportOnce(*excel, 0, live, StringGridModel(10, 1));
        QCOMPARE(QFileInfo(third).fileName(), "Протокол 2024-05-06 14-06-38.xlsx");
        clock.Advance(-61);
    }

    void userIsToldWhereTheFileIsWhenNothingOpensIt() {
        openerWorks = false;
        auto excel = backend();
        const QString path = exportOnce(*excel, 0, ReadingStore(), StringGridModel(10, 1));
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].icon, QMessageBox::Information);
        QVERIFY2(boxes[0].text.contains(QDir::toNativeSeparators(path)), qPrintable(boxes[0].text));
    }

    void unwritableFolderIsReported() {
        // A file where the folder should be.
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto excel = backend();
        exportOnce(*excel, 0, ReadingStore(), StringGridModel(10, 1));
        QVERIFY(excel->WrittenFiles().isEmpty());
        QVERIFY(opened.isEmpty());
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].caption, QCoreApplication::applicationName());
        QVERIFY2(boxes[0].text.contains(QDir::toNativeSeparators(folder)), qPrintable(boxes[0].text));
    }

    void invisibleApplicationWritesNothing() {
        auto excel = backend();
        AutoRef app = excel->CreateObject("Excel.Application");
        excel->Call(excel->Get(app, "WorkBooks"), "add");
        excel->Set(app, "Visible", false);
        QVERIFY(excel->WrittenFiles().isEmpty());
        QVERIFY(!QFileInfo::exists(folder));
        // Made visible later, the workbook goes out then; attaching now finds the same instance.
        excel->Set(excel->GetActiveObject("excel.application"), "Visible", true);
        QCOMPARE(excel->WrittenFiles().size(), 1);
    }

    void refusedOperations_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("attach before start") << 0;
        QTest::newRow("other automation name") << 1;
        QTest::newRow("unknown member") << 2;
        QTest::newRow("width as text") << 3;
        QTest::newRow("colour 57") << 4;
        QTest::newRow("border 5") << 5;
        QTest::newRow("open-ended range") << 6;
        QTest::newRow("row 0") << 7;
        QTest::newRow("empty reference") << 8;
        QTest::newRow("worksheet 2") << 9;
        QTest::newRow("alignment 99") << 10;
        QTest::newRow("sheet before any workbook") << 11;
    }
    void refusedOperations() {
        QFETCH(int, which);
        auto excel = backend();
        auto attempt = [&] {
            if (which == 0)
                return void(excel->GetActiveObject("Excel.Application"));
            if (which == 1)
                return void(excel->CreateObject("Word.Application"));
            const AutoRef app = excel->CreateObject("Excel.Application");
            if (which == 11)
                return void(excel->Get(app, "WorkSheets", {1}));
            excel->Call(excel->Get(app, "WorkBooks"), "add");
            const AutoRef sheet = excel->Get(app, "WorkSheets", {1});
            switch (which) {
            case 2:
                excel->Get(sheet, "Rows");
                break;
            case 3:
                excel->Set(excel->Get(excel->Get(sheet, "Columns"), "Item", {1}), "ColumnWidth",
                           QString("17"));
                break;
            case 4:
                excel->Set(excel->Get(excel->Get(sheet, "Range", {QString("A2:K2")}), "Interior"),
                           "ColorIndex", 57);
                break;
            case 5:
                excel->Get(excel->Get(excel->Get(sheet, "Range", {QString("A2")}), "Borders"), "Item", {5});
                break;
            case 6:
                excel->Get(app, "Range", {QString("A2:K")});
                break;
            case 7:
                excel->Get(sheet, "Cells", {0, 1});
                break;
            case 8:
                excel->Set(AutoRef(), "Value", QString("x"));
                break;
            case 9:
                excel->Get(app, "WorkSheets", {2});
                break;
            case 10:
                excel->Set(excel->Get(app, "Range", {QString("A1")}), "HorizontalAlignment", 99);
                break;
            }
        };
        QVERIFY_THROWS_EXCEPTION(AutomationError, attempt());
    }

    void membersIgnoreLetterCase() {
        auto excel = backend();
        const AutoRef app = excel->CreateObject("Excel.Application");
        excel->Call(excel->Get(app, "workbooks"), "Add");
        const AutoRef sheet = excel->Get(app, "Worksheets", {1});
        excel->Set(excel->Get(sheet, "cells", {1, 1}), "value", QString("7"));
        excel->Set(app, "VISIBLE", true);
        QCOMPARE(XlsxReadBack(excel->WrittenFiles().value(0)).cells.value("A1").value.toDouble(), 7.0);
    }

    void areaReferences_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QList<int>>("area"); // top, left, bottom, right
        QTest::newRow("frame") << "A2:K2" << true << QList<int>{2, 1, 2, 11};
        QTest::newRow("alignment") << "A1:J65536" << true << QList<int>{1, 1, 65536, 10};
        QTest::newRow("one cell") << "E1" << true << QList<int>{1, 5, 1, 5};
        QTest::newRow("absolute, lower case, reversed") << "$c$7:b3" << true << QList<int>{3, 2, 7, 3};
        QTest::newRow("two letters") << "AA10" << true << QList<int>{10, 27, 10, 27};
        QTest::newRow("last cell") << "XFD1048576" << true << QList<int>{1048576, 16384, 1048576, 16384};
        QTest::newRow("beyond the columns") << "XFE1" << false << QList<int>{};
        QTest::newRow("beyond the rows") << "A1048577" << false << QList<int>{};
        QTest::newRow("no row") << "A2:K" << false << QList<int>{};
        QTest::newRow("row 0") << "A0" << false << QList<int>{};
        QTest::newRow("three parts") << "A1:B2:C3" << false << QList<int>{};
        QTest::newRow("empty") << "" << false << QList<int>{};
    }
    void areaReferences() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QList<int>, area);
        const auto parsed = ParseAreaReference(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE((QList<int>{parsed->top, parsed->left, parsed->bottom, parsed->right}), area);
    }

    void columnLetters() {
        QCOMPARE(ColumnLetters(1), "A");
        QCOMPARE(ColumnLetters(11), "K");
        QCOMPARE(ColumnLetters(26), "Z");
        QCOMPARE(ColumnLetters(27), "AA");
        QCOMPARE(ColumnLetters(16384), "XFD");
    }

    void progressWindowOnlyAfterASecond() {
        qint64 now = 0;
        DialogProgress progress(nullptr, [&] { return now; });
        progress.Begin(10000);
        for (qint64 done = 1; done <= 6000; ++done) {
            now = done / 6; // 1000 ms at step 6000
            progress.Advance(done);
        }
        QVERIFY(!progress.Dialog());
        now = 1300;
        progress.Advance(6400);
        QVERIFY(progress.Dialog());
        QVERIFY(progress.Dialog()->isVisible());
        QCOMPARE(progress.Dialog()->labelText(), "Передача данных в Excel...");
        QCOMPARE(progress.Dialog()->maximum(), 10000);
        QCOMPARE(progress.Dialog()->value(), 6400);
        QVERIFY(!progress.Dialog()->findChild<QPushButton*>()); // no cancel
        now = 1350;
        progress.Advance(10000);
        QCOMPARE(progress.Dialog()->value(), 10000);
        progress.End();
        QVERIFY(!progress.Dialog());
    }

    void quickExportShowsNoWindow() {
        qint64 now = 0;
        DialogProgress progress(nullptr, [&] { return now; });
        progress.Begin(300);
        now = 900;
        for (qint64 done = 1; done <= 300; ++done)
            progress.Advance(done);
        progress.End();
        QVERIFY(!progress.Dialog());
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(),
                             [](QWidget* w) { return qobject_cast<QProgressDialog*>(w) && w->isVisible(); }));
    }

    void hugeTotalsFitTheWindow() {
        qint64 now = 5000;
        DialogProgress progress(nullptr, [&] { return now; });
        progress.Begin(0);
        now = 0;
        progress.Begin(4'000'000'000LL);
        now = 2000;
        progress.Advance(2'000'000'000LL);
        QVERIFY(progress.Dialog());
        QCOMPARE(progress.Dialog()->value() * 2, progress.Dialog()->maximum());
        progress.End();
    }

    void desktopWithoutSpreadsheetApplication() {
        // The desktop's table knows no application for the type: nothing is started, the answer is no.
        QTemporaryDir bin;
        QFile tool(bin.filePath("xdg-mime"));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\necho \"$@\" > \"${0%/*}/asked\"\nexit 0\n"); // shell built-ins only
        tool.close();
        tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const bool result = OpenWithDesktop(home.filePath("Протокол.xlsx"));
        qputenv("PATH", path);
        QVERIFY(!result);
        QFile asked(bin.filePath("asked"));
        QVERIFY(asked.open(QIODevice::ReadOnly));
        QCOMPARE(asked.readAll().trimmed(),
                 "query default application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    }
};

QTEST_MAIN(TestXlsxExport)
#include "tst_xlsxexport.moc"
