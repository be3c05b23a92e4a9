#pragma once
#include "link/unitcomport.h"
#include <vector>

// The live-channel exchange as the read cycle makes it: the command, then six echoed data bytes.
// False as soon as the meter is lost; the bytes received until then stay in data.
inline bool readChannels(LinkState& link, std::vector<std::uint8_t>& data) {
    if (!link.Command(Cmd::CmdReadChannels))
        return false;
    for (int i = 0; i < Cmd::ChannelBytes; ++i) {
        const auto byte = link.ReadEcho();
        if (!byte)
            return false;
        data.push_back(*byte);
    }
    return true;
}
