#include "link/PortNames.h"

#include "texts/TransferTexts.h"

#include <QFile>
#include <QSerialPortInfo>

#include <algorithm>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

OpenFailure classifyOpenFailure(const QString& device, QSerialPort::SerialPortError error)
{
    if (device.trimmed().isEmpty()) return OpenFailure::NotChosen;
    switch (error) {
    case QSerialPort::NoError:
        return OpenFailure::None;
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::NoSuchDevice;
    case QSerialPort::PermissionError:
#ifdef Q_OS_WIN
        return OpenFailure::InUse; // Windows reports a port open elsewhere as access denied
#else
        // A device busy (TIOCEXCL) or locked by another program is reported as a
        // permission error too; only one we may not read and write lacks rights.
        return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0 ? OpenFailure::InUse
                                                                                 : OpenFailure::NoPermission;
#endif
    default:
        return OpenFailure::Other;
    }
}

QString explainOpenFailure(OpenFailure failure, const QString& device, const QString& reason, int language)
{
    switch (failure) {
    case OpenFailure::None:
        return {};
    case OpenFailure::NotChosen:
        return text(TransferText::PortNotChosen, language);
    case OpenFailure::NoSuchDevice:
        return text(TransferText::PortNoSuchDevice, language).arg(device);
    case OpenFailure::NoPermission: {
        QString explanation = text(TransferText::PortNoPermission, language).arg(device);
#ifndef Q_OS_WIN
        if (::geteuid() != 0)
            explanation += QStringLiteral("\r\n") + text(TransferText::PortAccessHint, language);
#endif
        return explanation;
    }
    case OpenFailure::InUse:
        return text(TransferText::PortInUse, language).arg(device);
    case OpenFailure::Other:
        break;
    }
    return device + QStringLiteral(": ") + reason;
}

PathKind pathKind(const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return PathKind::Serial;
#else
    const QByteArray name = QFile::encodeName(path.trimmed());
    struct stat info = {};
    if (name.isEmpty() || ::stat(name.constData(), &info) != 0) return PathKind::Missing;
    if (!S_ISCHR(info.st_mode)) return PathKind::NotSerial;
    // A character device is a serial line when it is a terminal. One that
    // cannot be opened now (busy, no rights) is given the benefit of the doubt.
    const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return PathKind::Serial;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal ? PathKind::Serial : PathKind::NotSerial;
#endif
}

} // namespace mx::ports
