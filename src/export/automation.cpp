#include "automation.h"
#include "xlsxautomation.h"

AutomationError::AutomationError(const QString& text) : std::runtime_error(text.toStdString()) {}

QString AutoArgText(const AutoArg& arg) {
    if (const auto* number = std::get_if<std::int32_t>(&arg))
        return QString::number(*number);
    if (const auto* flag = std::get_if<bool>(&arg))
        return *flag ? QStringLiteral("true") : QStringLiteral("false");
    return u'"' + std::get<QString>(arg) + u'"';
}

std::unique_ptr<Automation> MakeSystemAutomation() {
    // Windows may get COM automation of Excel behind the same interface; until a build there has it, every
    // platform writes the protocol as a file and opens it in the desktop's spreadsheet application.
    return std::make_unique<XlsxAutomation>();
}
