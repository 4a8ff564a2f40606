#pragma once

#include <QList>
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

} // namespace mx::ports
