#pragma once
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <variant>
#include <vector>

// Late-bound automation, the way the protocol reaches a spreadsheet application: objects are reached by
// member name, and arguments are whole numbers, booleans or texts only.

// One object of the automation server (the application, a workbook, a range, ...). What it is belongs to
// the backend that made it; the program only holds and passes references.
class AutoObject {
public:
    virtual ~AutoObject() = default;
};
// A reference to an automation object, empty until something is stored in it. Copies share the object.
using AutoRef = std::shared_ptr<AutoObject>;

using AutoArg = std::variant<std::int32_t, bool, QString>;
using AutoArgs = std::vector<AutoArg>;

// A failed automation operation, with the text the server gave.
class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(const QString& text);
    QString text() const { return QString::fromUtf8(what()); }
};

class Automation {
public:
    virtual ~Automation() = default;

    // The running instance registered under the automation name ("Excel.Application").
    virtual AutoRef GetActiveObject(const QString& name) = 0;
    // A new instance started under the automation name.
    virtual AutoRef CreateObject(const QString& name) = 0;

    // Property read that yields an object: "Columns", "Item" 3, "Cells" 2, 5, "Range" "A2:K2".
    virtual AutoRef Get(const AutoRef& object, const QString& member, const AutoArgs& args = {}) = 0;
    // Property write: "ColumnWidth" 11, "Visible" true, "Value" "23,5".
    virtual void Set(const AutoRef& object, const QString& member, const AutoArg& value) = 0;
    // Method invocation whose result is dropped: "add".
    virtual void Call(const AutoRef& object, const QString& member, const AutoArgs& args = {}) = 0;
};

// The text of an argument as a reader of a call log expects it: 17, true, "Время".
QString AutoArgText(const AutoArg& arg);

// What the program drives on this platform: the spreadsheet-file backend.
std::unique_ptr<Automation> MakeSystemAutomation();
