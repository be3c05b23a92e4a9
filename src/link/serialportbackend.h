#pragma once
#include "portbackend.h"
#include <QElapsedTimer>
#include <memory>

class QSerialPort;

// PortBackend over QSerialPort's blocking API. A QSerialPort is made at every open and dropped at close,
// in the calling thread, so the search thread and the main thread can each use the link in turn.
class SerialPortBackend final : public PortBackend {
public:
    SerialPortBackend();
    ~SerialPortBackend() override;

    bool open(const QString& systemName) override;
    void close() override;
    bool write(std::uint8_t byte) override;
    Read read(std::uint8_t& byte, int timeoutMs) override;
    std::int64_t nowUs() const override;

private:
    std::unique_ptr<QSerialPort> port_;
    QElapsedTimer clock_;
};
