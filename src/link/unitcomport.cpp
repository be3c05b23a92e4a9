#include "unitcomport.h"

LinkState::LinkState(std::unique_ptr<PortBackend> backend, PortTable ports)
    : backend_(std::move(backend)), ports_(std::move(ports)) {}

void LinkState::OpenPort(char digit) {
    PortHandle = backend_->open(ports_.systemName(digit - '0'));
}

void LinkState::SendByte(std::uint8_t byte) {
    SendBuffer = byte;
    WrittenCount = backend_->write(byte) ? 1 : 0;
}

std::uint32_t LinkState::ReadByteOnce() {
    std::uint8_t byte = 0;
    ReceivedCount = 0;
    if (backend_->read(byte, ReadTimeoutMs) == PortBackend::Read::Byte) {
        ReceiveBuffer = byte;
        ReceivedCount = 1;
    }
    return ReceivedCount;
}

std::optional<std::uint8_t> LinkState::ReadByteWait() {
    // A meter that has passed its probe answers within a few milliseconds; two seconds of nothing means
    // the cable was pulled or the meter switched off. A port that fails outright is not waited for.
    const std::int64_t deadline = backend_->nowUs() + std::int64_t{SilenceLimitMs} * 1000;
    ReceivedCount = 0;
    for (;;) {
        std::uint8_t byte = 0;
        switch (backend_->read(byte, ReadTimeoutMs)) {
        case PortBackend::Read::Byte:
            ReceiveBuffer = byte;
            ReceivedCount = 1;
            return byte;
        case PortBackend::Read::Failed:
            return std::nullopt;
        case PortBackend::Read::Timeout:
            break;
        }
        if (backend_->nowUs() >= deadline)
            return std::nullopt;
    }
}

std::optional<std::uint8_t> LinkState::ReadEcho() {
    const auto byte = ReadByteWait();
    if (byte)
        SendByte(*byte);
    return byte;
}

std::optional<std::uint8_t> LinkState::Command(std::uint8_t byte) {
    SendByte(byte);
    return ReadByteWait();
}

std::uint32_t LinkState::ProbeMeter() {
    SendByte(Cmd::CmdProbe);
    ReceivedCount = 0;
    int misses = 0;
    while (ReceivedCount == 0) {
        if (ReadByteOnce() == 0 && ++misses >= ProbeReads)
            break;
    }
    return ReceivedCount;
}

void LinkState::ClosePort() {
    backend_->close();
    PortHandle = false;
}

void LinkState::PublishFound(std::uint8_t portNumber) {
    PortNumber = portNumber;
    PortName[3] = QLatin1Char(static_cast<char>('0' + portNumber));
    DeviceFound.store(true, std::memory_order_release);
}

ExchangeResult RunExchange(LinkState& link, Probe probe, const std::function<bool()>& body) {
    link.OpenPort(link.PortDigit());
    if (probe == Probe::First && link.ProbeMeter() == 0) {
        link.ClosePort();
        return ExchangeResult::NoAnswer;
    }
    const bool completed = body();
    link.ClosePort();
    return completed ? ExchangeResult::Done : ExchangeResult::Lost;
}
