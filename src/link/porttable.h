#pragma once
#include <QString>
#include <QStringList>
#include <array>

// The eight port slots the search walks through, slot n standing for COMn. On Windows a slot is the
// COM port itself; elsewhere the slots are taken from ZEVADAV_PORTS (paths separated by ':', an empty
// entry is a missing port) or, without it, from the system's serial ports.
class PortTable {
public:
    static constexpr int Slots = 8;

    PortTable() = default;
    // Slot n (1-based) is the n-th entry; entries past the eighth are ignored.
    static PortTable fromList(const QStringList& systemNames);
    // Parses the ZEVADAV_PORTS form "a:b::d".
    static PortTable fromSpec(const QString& spec);
    // What the program uses at start: the platform rule above.
    static PortTable fromEnvironment();
    // The system's serial ports in search order: USB and ACM adapters, then ttyS*, then the rest.
    static QStringList systemPorts();
    static QStringList orderSystemPorts(QStringList portNames);

    // The name to open for slot n (1..8); empty when the slot holds no port.
    QString systemName(int slot) const;
    // The short name to show the user for slot n: "COM3" on Windows, "ttyUSB0" for /dev/ttyUSB0.
    QString displayName(int slot) const;

private:
    std::array<QString, Slots> names_{};
};
