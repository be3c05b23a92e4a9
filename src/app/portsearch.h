#pragma once
#include <QString>
#include <functional>

class LinkState;

// The search for the meter's port, without the thread around it: slots 1 to 8 in turn, the presence
// probe on each, until one answers. The miss counter is one for the whole run and never reset, so the
// first port probed gets up to 11 reads and every later probe exactly one.
class PortSearch {
public:
    inline static const QString TextFound = QStringLiteral("Соединение прошло успешно");
    inline static const QString TextSearching = QStringLiteral("Поиск оборудования ...");

    explicit PortSearch(LinkState& link) : link_(link) {}

    // Probes slot portNumber. On an answer it shows TextFound, closes the port and publishes the slot
    // (PortNumber, PortName, then DeviceFound); returns whether it answered.
    bool ProbePort(int portNumber, const std::function<void(const QString&)>& show);
    // One pass over slots 1..8. After each silent slot it shows TextSearching and calls afterMiss, which
    // returns false to end the search. Returns true when the meter was found.
    bool Pass(const std::function<void(const QString&)>& show, const std::function<bool()>& afterMiss);

    int SearchMissCount = 0;

private:
    LinkState& link_;
};
