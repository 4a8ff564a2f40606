#include "link/PortNames.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace mx::ports {

int comNumber(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (!trimmed.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) return 0;
    bool ok = false;
    const int n = trimmed.mid(3).trimmed().toInt(&ok);
    return ok && n > 0 ? n : 0;
}

QList<PortEntry> availablePorts()
{
    QList<PortEntry> entries;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        PortEntry entry;
        entry.deviceName = info.systemLocation();
        entry.description = info.description();
        entry.number = comNumber(info.portName());
        entries.append(entry);
    }
    const bool numbered =
        std::all_of(entries.cbegin(), entries.cend(), [](const PortEntry& e) { return e.number > 0; });
    if (numbered) {
        std::sort(entries.begin(), entries.end(),
                  [](const PortEntry& a, const PortEntry& b) { return a.number < b.number; });
    } else {
        // Devices without COM numbers are numbered by their place in the sorted list.
        std::sort(entries.begin(), entries.end(),
                  [](const PortEntry& a, const PortEntry& b) { return a.deviceName < b.deviceName; });
        for (int k = 0; k < entries.size(); ++k)
            entries[k].number = k + 1;
    }
    for (PortEntry& entry : entries)
        entry.shown = QStringLiteral("COM%1").arg(entry.number);
    return entries;
}

QString deviceFor(int comPort, const QString& comPortName, const QList<PortEntry>& listed)
{
    if (!comPortName.trimmed().isEmpty()) return comPortName.trimmed();
    if (comPort <= 0) return QString();
#ifdef Q_OS_WIN
    Q_UNUSED(listed);
    return QStringLiteral("COM%1").arg(comPort);
#else
    for (const PortEntry& entry : listed)
        if (entry.number == comPort) return entry.deviceName;
    return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
#endif
}

QString deviceFor(int comPort, const QString& comPortName)
{
    if (!comPortName.trimmed().isEmpty() || comPort <= 0) return deviceFor(comPort, comPortName, {});
#ifdef Q_OS_WIN
    return deviceFor(comPort, comPortName, {});
#else
    return deviceFor(comPort, comPortName, availablePorts());
#endif
}

QString deviceFromArgument(const QString& argument)
{
    const QString text = argument.trimmed();
    bool isNumber = false;
    const int n = text.toInt(&isNumber);
    if (isNumber) return n > 0 ? deviceFor(n, QString()) : QString();
#ifndef Q_OS_WIN
    // "COM3" on a system without COM names: the third listed device.
    if (const int com = comNumber(text); com > 0 && !text.contains(QLatin1Char('/')))
        return deviceFor(com, QString());
#endif
    return text;
}

} // namespace mx::ports
