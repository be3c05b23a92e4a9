#pragma once
#include "commands.h"
#include "portbackend.h"
#include "porttable.h"
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// The one record of the serial link, shared by the search thread and the main thread, and the byte
// primitives every exchange is built from. Until DeviceFound is set the search thread owns it; from then
// on the main thread does. DeviceFound is the whole hand-over: stored with release after PortNumber and
// PortName, loaded with acquire before they are read.
class LinkState {
public:
    static constexpr int ReadTimeoutMs = 40;    // one read of one byte
    static constexpr int ProbeReads = 11;       // the probe gives up after the 11th empty read
    static constexpr int SilenceLimitMs = 2000; // ReadByteWait gives up when no byte came for this long

    LinkState(std::unique_ptr<PortBackend> backend, PortTable ports);

    // --- fields of the link
    bool PortHandle = false;     // whether the last open gave a usable port
    std::uint8_t PortNumber = 1; // 1..8, the slot on which the meter answered
    std::atomic<bool> DeviceFound{false};
    QString PortName = QStringLiteral("COM*"); // its fourth character becomes the found slot's digit
    std::uint8_t SendBuffer = 0;
    std::uint8_t ReceiveBuffer = 0; // the byte of the last read that delivered one
    std::uint32_t ReceivedCount = 0;
    std::uint32_t WrittenCount = 0;

    // --- primitives
    // Opens the port of slot digit-'0' (digit '1'..'8') at 9600 8N1; the result shows only in PortHandle.
    void OpenPort(char digit);
    void SendByte(std::uint8_t byte);
    // One read bounded by ReadTimeoutMs; returns the received count, 0 or 1.
    std::uint32_t ReadByteOnce();
    // Reads until a byte comes; empty when none came for SilenceLimitMs or the port failed.
    [[nodiscard]] std::optional<std::uint8_t> ReadByteWait();
    // ReadByteWait, then the same byte straight back.
    [[nodiscard]] std::optional<std::uint8_t> ReadEcho();
    // SendByte, then ReadByteWait for the meter's one answer byte.
    [[nodiscard]] std::optional<std::uint8_t> Command(std::uint8_t byte);
    // Presence probe: CmdProbe, then up to ProbeReads reads. Returns the received count of the last read.
    std::uint32_t ProbeMeter();
    void ClosePort();

    // --- hand-over from the search thread
    void PublishFound(std::uint8_t portNumber);
    bool IsDeviceFound() const { return DeviceFound.load(std::memory_order_acquire); }
    // The digit of the found slot, as OpenPort takes it.
    char PortDigit() const { return static_cast<char>('0' + PortNumber); }

    const PortTable& Ports() const { return ports_; }
    PortBackend& Backend() { return *backend_; }

private:
    std::unique_ptr<PortBackend> backend_;
    PortTable ports_;
};

// How an exchange with the meter ended.
enum class ExchangeResult {
    Done,     // every byte went both ways
    NoAnswer, // the presence probe got no answer
    Lost,     // the meter fell silent (or the port failed) in the middle; what was done before stays
};

enum class Probe { First, Skip };

// The calling pattern of every exchange: open the found port, probe (unless skipped), run the body, close.
// The body returns false as soon as a primitive reports the meter lost; the port is closed in every case.
[[nodiscard]] ExchangeResult RunExchange(LinkState& link, Probe probe, const std::function<bool()>& body);
