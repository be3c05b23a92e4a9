#include "portsearch.h"
#include "link/unitcomport.h"

bool PortSearch::ProbePort(int portNumber, const std::function<void(const QString&)>& show) {
    link_.OpenPort(static_cast<char>('0' + portNumber));
    link_.SendByte(Cmd::CmdProbe);
    link_.ReceivedCount = 0;
    while (link_.ReceivedCount == 0) {
        if (link_.ReadByteOnce() == 0 && ++SearchMissCount >= LinkState::ProbeReads)
            break;
    }
    link_.ClosePort();
    if (link_.ReceivedCount == 0)
        return false;
    show(TextFound);
    link_.PublishFound(static_cast<std::uint8_t>(portNumber));
    return true;
}

bool PortSearch::Pass(const std::function<void(const QString&)>& show,
                      const std::function<bool()>& afterMiss) {
    for (int portNumber = 1; portNumber <= PortTable::Slots; ++portNumber) {
        if (ProbePort(portNumber, show))
            return true;
        show(TextSearching);
        if (!afterMiss())
            return false;
    }
    return false;
}
