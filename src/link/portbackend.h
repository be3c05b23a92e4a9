#pragma once
#include <QString>
#include <cstdint>

// The one seam between the byte primitives and a serial port. The primitives use nothing else, so the
// same exchange code runs over a real port, a pseudo-terminal, or an in-process emulated meter.
class PortBackend {
public:
    enum class Read { Byte, Timeout, Failed };

    virtual ~PortBackend() = default;

    // Opens the port by its system name at 9600 baud, 8 data bits, no parity, one stop bit.
    virtual bool open(const QString& systemName) = 0;
    virtual void close() = 0;
    // Writes one byte; false when the port is not open or the write failed.
    virtual bool write(std::uint8_t byte) = 0;
    // Waits at most timeoutMs for one byte. Failed means the port is not open or has gone away.
    virtual Read read(std::uint8_t& byte, int timeoutMs) = 0;
    // Monotonic time in microseconds on which the bounded waits are measured (virtual for emulators).
    virtual std::int64_t nowUs() const = 0;
};
