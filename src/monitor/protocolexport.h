#pragma once

class ReadingStore;
class StringGridModel;

// The measurement protocol export that "Передать данные в  Excel" runs: the live readings from the live
// page, the logger table from the logger page. The implementation (and the automation references it
// keeps from one export to the next) lives with the export; the main window only calls it.
class ProtocolExport {
public:
    virtual ~ProtocolExport() = default;
    virtual void Run(int pageIndex, const ReadingStore& live, const StringGridModel& logger) = 0;
};
