#include "uxls.h"
#include "exportprogress.h"
#include "monitor/livetablemodel.h"
#include "monitor/readingstore.h"
#include "monitor/valuetext.h"
#include "toolkit/messages.h"
#include "toolkit/stringgridmodel.h"
#include "toolkit/timesource.h"
#include <QCoreApplication>
#include <QTime>

namespace {
constexpr int Columns = 10;      // A to J carry texts
constexpr int WidthColumns = 11; // K as well carries a width, the header fill and the frame

// Ends the progress however the export ends.
struct ProgressScope {
    ExportProgress& progress;
    ~ProgressScope() { progress.End(); }
};
} // namespace

XlsExport::XlsExport(Automation& automation, AutoRef& XlsApp, AutoRef& XlsSheet, ExportProgress* progress)
    : automation_(automation), XlsApp(XlsApp), XlsSheet(XlsSheet), progress_(progress) {}

void XlsExport::Run(int pageIndex, const ReadingStore& live, const StringGridModel& logger) {
    DialogProgress window;
    ExportProgress& progress = progress_ ? *progress_ : window;
    try {
        Steps(pageIndex, live, logger, progress);
    } catch (const AutomationError& error) {
        Messages::show(QMessageBox::Critical, QCoreApplication::applicationName(), error.text());
    }
}

void XlsExport::XlsConnect() {
    try {
        XlsApp = automation_.GetActiveObject(AutomationName);
        return;
    } catch (const AutomationError&) {
    }
    try {
        XlsApp = automation_.CreateObject(AutomationName);
    } catch (const AutomationError&) {
        Messages::show(QMessageBox::Critical, Caption, TextNoExcel, QMessageBox::Ok);
    }
}

bool XlsExport::XlsOpenWorkbook() {
    try {
        automation_.Call(automation_.Get(XlsApp, QStringLiteral("WorkBooks")), QStringLiteral("add"));
        XlsSheet = automation_.Get(XlsApp, QStringLiteral("WorkSheets"), {1});
        return true;
    } catch (const AutomationError&) {
        Messages::show(QMessageBox::Critical, Caption, TextNoWorkbook, QMessageBox::Ok);
        return false;
    }
}

void XlsExport::XlsSetCell(int row, int column, const QString& text) {
    try {
        automation_.Set(automation_.Get(XlsSheet, QStringLiteral("Cells"), {row, column}),
                        QStringLiteral("Value"), text);
    } catch (const AutomationError&) {
    }
}

void XlsExport::Frame(AutoRef& range, const QString& area) {
    range = automation_.Get(XlsApp, QStringLiteral("Range"), {area});
    for (int border = 1; border <= 4; ++border)
        automation_.Set(automation_.Get(automation_.Get(range, QStringLiteral("Borders")),
                                        QStringLiteral("Item"), {border}),
                        QStringLiteral("LineStyle"), 1);
}

void XlsExport::Steps(int pageIndex, const ReadingStore& live, const StringGridModel& logger,
                      ExportProgress& progress) {
    // What goes out is fixed now: the progress window lets timers run, and a reading or a logger record
    // that arrives meanwhile belongs to the next protocol. Every reading gave each of the nine live series
    // one point, so each column's own length is the count of readings.
    const auto readings = static_cast<int>(live.size());
    const int gridRows = logger.rowCount() + 1; // with the header row, as the table counts its rows
    const qint64 cells = pageIndex == 0 ? qint64{readings} * Columns : qint64{gridRows - 1} * Columns;
    qint64 done = 0;
    progress.Begin(1 + Columns + cells);
    ProgressScope scope{progress};
    auto setCell = [&](int row, int column, const QString& text) {
        XlsSetCell(row, column, text);
        progress.Advance(++done);
    };

    XlsConnect();
    // Past a failure here, nothing is bound to write into: the export ends with the box.
    if (!XlsOpenWorkbook())
        return;

    for (int column = 1; column <= WidthColumns; ++column)
        automation_.Set(automation_.Get(automation_.Get(XlsSheet, QStringLiteral("Columns")),
                                        QStringLiteral("Item"), {column}),
                        QStringLiteral("ColumnWidth"), column == 1 ? 17 : 11);
    automation_.Set(
        automation_.Get(automation_.Get(XlsSheet, QStringLiteral("Range"), {QStringLiteral("A2:K2")}),
                        QStringLiteral("Interior")),
        QStringLiteral("ColorIndex"), 6);
    AutoRef range = automation_.Get(XlsApp, QStringLiteral("Range"), {QStringLiteral("A1:J65536")});
    automation_.Set(range, QStringLiteral("HorizontalAlignment"), 3);

    setCell(1, 5, Title);
    for (int column = 1; column <= Columns; ++column)
        setCell(2, column, Headers[column - 1]);

    if (pageIndex == 0) {
        Frame(range, QStringLiteral("A2:K%1").arg(readings + 2));
        for (int i = 0; i < readings; ++i)
            setCell(i + 3, 1, LongTimeText(QTime::fromMSecsSinceStartOfDay(live.at(i).secondOfDay * 1000)));
        // Columns B to J take THC, WBGT, RH, tв, tш, tвт, tтр, tрад, W: the live table's columns 1 to 9.
        const QLocale locale;
        for (int column = 2; column <= Columns; ++column) {
            const auto quantity = static_cast<Reading::Column>(column - 2);
            for (int i = 0; i < readings; ++i) {
                const Reading& reading = live.at(static_cast<std::size_t>(i));
                // A reading without a dew point shows "--" in the table and goes out the same.
                setCell(i + 3, column,
                        reading.has(quantity) ? TenthsText(reading.tenths[quantity], locale)
                                              : LiveTableModel::NoValueText);
            }
        }
    } else {
        // The table's last row is always the empty one, so the frame ends at the last record and the empty
        // row goes out just below it.
        Frame(range, QStringLiteral("A2:K%1").arg(gridRows));
        for (int column = 0; column < Columns; ++column)
            for (int r = 1; r < gridRows; ++r)
                setCell(r + 2, column + 1, logger.cell(column, r - 1));
    }

    if (XlsApp)
        automation_.Set(XlsApp, QStringLiteral("Visible"), true);
}

XlsProtocolExport::XlsProtocolExport() : Excel(MakeSystemAutomation()) {}

XlsProtocolExport::~XlsProtocolExport() = default;

void XlsProtocolExport::Run(int pageIndex, const ReadingStore& live, const StringGridModel& logger) {
    XlsExport(*Excel, XlsApp, XlsSheet).Run(pageIndex, live, logger);
}
