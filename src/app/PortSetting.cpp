#include "app/PortSetting.h"

#include "app/Settings.h"
#include "texts/MainTexts.h"

namespace mx {

PortSetting::PortSetting(const Settings& settings)
    : m_settings(settings), m_lister([] { return ports::availablePorts(); }),
#ifdef Q_OS_WIN
      m_comNumbers(true)
#else
      m_comNumbers(false)
#endif
{
}

void PortSetting::setLister(Lister lister, bool comNumbers)
{
    m_lister = std::move(lister);
    m_comNumbers = comNumbers;
    m_systemLister = false;
}

bool PortSetting::needsList() const
{
    return m_settings.comPortName.trimmed().isEmpty() && m_settings.comPort > 0 && !m_comNumbers;
}

QString PortSetting::device() const
{
    if (!m_settings.comPortName.trimmed().isEmpty() || m_settings.comPort <= 0)
        return ports::deviceFor(m_settings.comPort, m_settings.comPortName, {});
    return ports::deviceFor(m_settings.comPort, m_settings.comPortName, m_lister());
}

QString PortSetting::shown(int language) const
{
    return shown(language, needsList() ? m_lister() : QList<ports::PortEntry>());
}

QString PortSetting::shown(int language, const QList<ports::PortEntry>& listed) const
{
    if (!m_comNumbers || !m_settings.comPortName.trimmed().isEmpty()) {
        const QString path = ports::deviceFor(m_settings.comPort, m_settings.comPortName, listed);
        if (!path.isEmpty()) return path;
    }
    if (m_settings.comPort <= 0) return mainText(MainText::NoPort, language); // never "COM0" or "COM1"
    return mainText(MainText::PortLabel, language) + QString::number(m_settings.comPort);
}

} // namespace mx
