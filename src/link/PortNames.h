#pragma once

#include <QList>
#include <QSerialPort>
#include <QString>

namespace mx::ports {

// One serial device of the system, as the port dialog lists it.
struct PortEntry
{
    int number = 0;     // the N of "COM<N>": the Windows number, elsewhere the position in the list (1-based)
    QString shown;      // "COM<N>"
    QString deviceName; // what QSerialPort opens: "COM3", "/dev/ttyUSB0"
    QString description; // the driver's description, may be empty
};

// The system's serial devices, ordered by number. Pseudo-terminals are not
// listed (they can still be opened by their path).
QList<PortEntry> availablePorts();

// The N of a port name "COM<N>" (any case, blanks allowed around N); 0 when the name is not of that form.
int comNumber(const QString& name);

// The device to open for the settings' port: a stored device path wins;
// otherwise port number n is "COM<n>" on Windows and the n-th listed device
// elsewhere (with /dev/ttyS<n-1> when fewer are listed). "" for port 0.
QString deviceFor(int comPort, const QString& comPortName);
QString deviceFor(int comPort, const QString& comPortName, const QList<PortEntry>& listed);

// A port as given on the command line: a number ("3"), a COM name ("COM3") or a device path.
QString deviceFromArgument(const QString& argument);

// Why a port could not be opened.
enum class OpenFailure { None, NotChosen, NoSuchDevice, NoPermission, InUse, Other };

// From the serial port's error: a permission error on a device this user may
// read and write means another program holds it (its lock or exclusive use).
OpenFailure classifyOpenFailure(const QString& device, QSerialPort::SerialPortError error);

// The explanation of a failure in a language: the device and the reason, with
// how to get the rights when a user other than root lacks them. reason: the
// system's words, for a failure of no known kind.
QString explainOpenFailure(OpenFailure failure, const QString& device, const QString& reason, int language);

// What a typed device path names.
enum class PathKind { Serial, Missing, NotSerial };
PathKind pathKind(const QString& path);

} // namespace mx::ports
