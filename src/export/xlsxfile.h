#pragma once
#include "sheetmodel.h"
#include <QString>

// Writes the workbook as an .xlsx file (libxlsxwriter). Throws AutomationError with the reason when the
// file cannot be written.
void WriteXlsxFile(const WorkbookModel& workbook, const QString& path);
