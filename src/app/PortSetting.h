#pragma once

#include "link/PortNames.h"

#include <QList>
#include <QString>

#include <functional>

namespace mx {

struct Settings;

// The serial port the settings name, as the program opens it and shows it.
// The list of the system's ports can be replaced (tests).
class PortSetting
{
public:
    using Lister = std::function<QList<ports::PortEntry>()>;

    explicit PortSetting(const Settings& settings);

    // comNumbers: the system names its ports COM<N> (Windows).
    void setLister(Lister lister, bool comNumbers);
    // True while the lister is the system's own (not replaced by setLister).
    bool listsSystemPorts() const { return m_systemLister; }
    // True when naming the device takes the system's list of ports: a port
    // kept by number on a system without COM numbers.
    bool needsList() const;
    QList<ports::PortEntry> listed() const { return m_lister(); }
    bool comNumbers() const { return m_comNumbers; }

    // The device to open: a kept device path, else port comPort among the listed ones; "" for port 0.
    QString device() const;
    // As the status bar names it: "COM3" / "通信口3" where ports have COM numbers,
    // the device elsewhere.
    QString shown(int language) const;
    // The same with the list already taken (from another thread, say).
    QString shown(int language, const QList<ports::PortEntry>& listed) const;

private:
    const Settings& m_settings;
    Lister m_lister;
    bool m_comNumbers;
    bool m_systemLister = true;
};

} // namespace mx
