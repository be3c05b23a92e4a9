#pragma once
#include "automation.h"
#include "monitor/protocolexport.h"
#include <QStringList>
#include <memory>

class ExportProgress;
class ReadingStore;
class StringGridModel;

// The measurement protocol, handed to the spreadsheet application through automation: a new workbook whose
// first worksheet gets the title, the coloured header row, one row per reading and a cell frame. Every value
// goes out as the text the program shows; each cell is its own pair of calls ("Cells", then "Value").
class XlsExport {
public:
    inline static const QString AutomationName = QStringLiteral("Excel.Application");
    inline static const QString Caption = QStringLiteral("Ошибка");
    inline static const QString TextNoExcel =
        QStringLiteral("Невозможно открыть Microsoft Excel!Возможно Excel не установлен на компьютере.");
    inline static const QString TextNoWorkbook = QStringLiteral("Ошибка открытия книги Microsoft Excel!");
    inline static const QString Title = QStringLiteral("ПРОТОКОЛ ИЗМЕРЕНИЙ ПАРАМЕТРОВ МИКРОКЛИМАТА");
    // Row 2, columns A to J: the protocol's own headers, not the tables'.
    inline static const QStringList Headers{QStringLiteral("Время"),     QStringLiteral("THC, *C"),
                                            QStringLiteral("WBGT, *C"),  QStringLiteral("RH, %"),
                                            QStringLiteral("tв., *C"),   QStringLiteral("tсф., *C"),
                                            QStringLiteral("tвт., *C"),  QStringLiteral("tтр., *C"),
                                            QStringLiteral("tрад., *C"), QStringLiteral("W, Вт/м2")};

    // XlsApp and XlsSheet are the main window's references, kept from one export to the next. Without a
    // progress, a window shows how far a long export has come.
    XlsExport(Automation& automation, AutoRef& XlsApp, AutoRef& XlsSheet, ExportProgress* progress = nullptr);

    // The whole export. Page 0 (the live page) exports the live readings, any other page the logger
    // table's texts. A failing automation operation outside the cells ends the export with a message box
    // of its text, as an error that leaves a handler is shown.
    void Run(int pageIndex, const ReadingStore& live, const StringGridModel& logger);

private:
    void Steps(int pageIndex, const ReadingStore& live, const StringGridModel& logger,
               ExportProgress& progress);
    // Attaches to the running application or starts one; the first box when neither works.
    void XlsConnect();
    // A new workbook and its first worksheet; false (after the second box) when that fails.
    bool XlsOpenWorkbook();
    // Writes one cell; a failure leaves the cell as it was and is not reported.
    void XlsSetCell(int row, int column, const QString& text);
    // Thin lines on every edge of every cell of the area.
    void Frame(AutoRef& range, const QString& area);

    Automation& automation_;
    AutoRef& XlsApp;
    AutoRef& XlsSheet;
    ExportProgress* progress_;
};

// The export as the main window runs it: the automation (the system's) and the two references it keeps
// between exports, the application and the worksheet.
class XlsProtocolExport final : public ProtocolExport {
public:
    XlsProtocolExport();
    ~XlsProtocolExport() override;
    void Run(int pageIndex, const ReadingStore& live, const StringGridModel& logger) override;

private:
    std::unique_ptr<Automation> Excel;
    AutoRef XlsApp;
    AutoRef XlsSheet;
};
