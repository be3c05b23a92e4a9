#include "serialportbackend.h"
#include <QSerialPort>

namespace {
constexpr int WriteTimeoutMs = 200;
}

SerialPortBackend::SerialPortBackend() {
    clock_.start();
}

SerialPortBackend::~SerialPortBackend() = default;

bool SerialPortBackend::open(const QString& systemName) {
    close();
    if (systemName.isEmpty())
        return false;
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(systemName);
    // QSerialPort applies these at open; the meter's cable has no handshake lines.
    port->setBaudRate(QSerialPort::Baud9600);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite))
        return false;
    // Bytes left over from an exchange that was given up must not be taken for answers to this one.
    port->clear(QSerialPort::AllDirections);
    port_ = std::move(port);
    return true;
}

void SerialPortBackend::close() {
    if (port_) {
        port_->close();
        port_.reset();
    }
}

bool SerialPortBackend::write(std::uint8_t byte) {
    if (!port_)
        return false;
    const char c = static_cast<char>(byte);
    if (port_->write(&c, 1) != 1)
        return false;
    port_->flush();
    if (port_->bytesToWrite() > 0 && !port_->waitForBytesWritten(WriteTimeoutMs))
        return false;
    return true;
}

PortBackend::Read SerialPortBackend::read(std::uint8_t& byte, int timeoutMs) {
    if (!port_)
        return Read::Failed;
    if (port_->bytesAvailable() == 0 && !port_->waitForReadyRead(timeoutMs)) {
        const auto error = port_->error();
        port_->clearError();
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
            return Read::Timeout;
        return Read::Failed;
    }
    char c = 0;
    if (port_->read(&c, 1) != 1)
        return Read::Failed;
    byte = static_cast<std::uint8_t>(c);
    return Read::Byte;
}

std::int64_t SerialPortBackend::nowUs() const {
    return clock_.nsecsElapsed() / 1000;
}
