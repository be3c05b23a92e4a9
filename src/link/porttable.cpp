#include "porttable.h"
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

PortTable PortTable::fromList(const QStringList& systemNames) {
    PortTable table;
    for (int i = 0; i < Slots && i < systemNames.size(); ++i)
        table.names_[static_cast<std::size_t>(i)] = systemNames[i];
    return table;
}

PortTable PortTable::fromSpec(const QString& spec) {
    return fromList(spec.split(QLatin1Char(':')));
}

PortTable PortTable::fromEnvironment() {
#ifdef Q_OS_WIN
    QStringList names;
    for (int n = 1; n <= Slots; ++n)
        names << QStringLiteral("COM%1").arg(n);
    return fromList(names);
#else
    if (qEnvironmentVariableIsSet("ZEVADAV_PORTS"))
        return fromSpec(qEnvironmentVariable("ZEVADAV_PORTS"));
    return fromList(systemPorts());
#endif
}

QStringList PortTable::systemPorts() {
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const auto& info : ports)
        names << info.systemLocation();
    return orderSystemPorts(names);
}

QStringList PortTable::orderSystemPorts(QStringList portNames) {
    // Rank by adapter kind, then by the trailing number, so that ttyS2 comes before ttyS10.
    static const QRegularExpression trailingNumber(QStringLiteral("(\\d+)$"));
    auto rank = [](const QString& path) {
        const QString base = QFileInfo(path).fileName();
        if (base.startsWith(QLatin1String("ttyUSB")) || base.startsWith(QLatin1String("ttyACM")))
            return 0;
        if (base.startsWith(QLatin1String("ttyS")))
            return 1;
        return 2;
    };
    auto number = [](const QString& path) {
        const auto m = trailingNumber.match(path);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    std::stable_sort(portNames.begin(), portNames.end(), [&](const QString& a, const QString& b) {
        const QString ba = QFileInfo(a).fileName().remove(trailingNumber);
        const QString bb = QFileInfo(b).fileName().remove(trailingNumber);
        if (rank(a) != rank(b))
            return rank(a) < rank(b);
        if (ba != bb)
            return ba < bb;
        return number(a) < number(b);
    });
    return portNames;
}

QString PortTable::systemName(int slot) const {
    if (slot < 1 || slot > Slots)
        return {};
    return names_[static_cast<std::size_t>(slot - 1)];
}

QString PortTable::displayName(int slot) const {
    const QString name = systemName(slot);
    if (name.isEmpty())
        return QStringLiteral("COM%1").arg(slot);
    return QFileInfo(name).fileName();
}
