#pragma once
#include "automation.h"
#include <QStringList>
#include <functional>
#include <memory>

class TimeSource;

// The spreadsheet application for platforms without Excel: it takes the members the protocol uses
// (WorkBooks/add, WorkSheets, Columns/Item/ColumnWidth, Range/Interior/ColorIndex, HorizontalAlignment,
// Borders/Item/LineStyle, Cells/Value, Visible) and builds workbooks in memory. Making the application
// visible writes every workbook not yet shown to a new .xlsx file in the protocol folder and opens it in
// the desktop's spreadsheet application; when none can, the user is told where the file is.
class XlsxAutomation final : public Automation {
public:
    inline static const QString AutomationName = QStringLiteral("Excel.Application");
    // Opens a written file; false when nothing could.
    using Opener = std::function<bool(const QString& path)>;

    // The folder is made when the first file goes into it. The clock names the files (the system's when
    // none is given; not owned).
    explicit XlsxAutomation(QString folder = ProtocolFolder(), Opener opener = {},
                            const TimeSource* clock = nullptr);
    ~XlsxAutomation() override;

    // "Протоколы" in the user's documents folder.
    static QString ProtocolFolder();
    // Every file written so far, oldest first.
    QStringList WrittenFiles() const;

    AutoRef GetActiveObject(const QString& name) override;
    AutoRef CreateObject(const QString& name) override;
    AutoRef Get(const AutoRef& object, const QString& member, const AutoArgs& args = {}) override;
    void Set(const AutoRef& object, const QString& member, const AutoArg& value) override;
    void Call(const AutoRef& object, const QString& member, const AutoArgs& args = {}) override;

    struct Instance;

private:
    std::shared_ptr<Instance> instance_;
};
