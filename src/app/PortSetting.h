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
    QList<ports::PortEntry> listed() const { return m_lister(); }
    const Lister& lister() const { return m_lister; }
    bool comNumbers() const { return m_comNumbers; }

    // The device to open: a kept device path, else port comPort among the listed ones; "" for port 0.
    QString device() const;
    // As the status bar names it: "COM3" / "通信口3" where ports have COM numbers,
    // the device elsewhere.
    QString shown(int language) const;

private:
    const Settings& m_settings;
    Lister m_lister;
    bool m_comNumbers;
};

} // namespace mx
