#pragma once
#include "automation.h"
#include <QStringList>
#include <functional>

// One operation as the recorder saw it. The target is the chain of members that made the object, from the
// instance down ("Excel.Application.WorkSheets(1).Cells(3, 1)"), or "<empty>" for an empty reference.
struct AutomationCall {
    enum Kind { Attach, Create, Get, Set, Call };
    Kind kind = Get;
    QString target; // for Attach and Create: empty
    QString member; // for Attach and Create: the automation name
    AutoArgs args;  // for Set: the one value
    bool failed = false;

    // "get Excel.Application.Columns", "set <...>.ColumnWidth = 17", "call <...>.add()",
    // "attach Excel.Application"; a failed one ends in " -> failed".
    QString text() const;
};

// An automation server that does nothing but write down what it is asked, in order, and fails the
// operations a test picks. Every object it hands out is new, named by the chain that made it.
class RecordingAutomation final : public Automation {
public:
    AutoRef GetActiveObject(const QString& name) override;
    AutoRef CreateObject(const QString& name) override;
    AutoRef Get(const AutoRef& object, const QString& member, const AutoArgs& args = {}) override;
    void Set(const AutoRef& object, const QString& member, const AutoArg& value) override;
    void Call(const AutoRef& object, const QString& member, const AutoArgs& args = {}) override;

    // The chain that made a reference this recorder handed out; "<empty>" for an empty one.
    static QString PathOf(const AutoRef& object);
    QStringList Texts() const;

    // Operations for which this answers true are recorded as failed and throw AutomationError.
    std::function<bool(const AutomationCall&)> FailWhen;
    std::vector<AutomationCall> Calls;

private:
    AutoRef record(AutomationCall call, bool makesObject);
};
