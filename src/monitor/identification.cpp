#include "identification.h"

Identification Identification::Run(LinkState& link) {
    Identification id;
    id.result = RunExchange(link, Probe::Skip, [&] {
        if (!link.Command(Cmd::CmdIdentify))
            return false;
        const auto ident = link.ReadEcho();
        if (!ident)
            return false;
        id.IdentByte = static_cast<std::int8_t>(*ident);
        if (id.IdentByte != ConfigMeter)
            return true;
        if (!link.Command(Cmd::CmdReadConfig))
            return false;
        const auto config = link.ReadEcho();
        if (!config)
            return false;
        id.ConfigByte = static_cast<std::int8_t>(*config);
        return true;
    });
    return id;
}

std::optional<QString> Identification::ConfigLabel(std::int8_t configByte) {
    switch (configByte) {
    case 0:
        return QStringLiteral("нет");
    case 1:
        return QStringLiteral("гол.2"); // 1 is "гол.2" and 2 is "гол.1", as the meters label them
    case 2:
        return QStringLiteral("гол.1");
    default:
        return std::nullopt;
    }
}
