#include "app/Settings.h"

#include "data/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>

namespace mx {

namespace {

const QString Section = QStringLiteral("language");
const QString KeyIsFirstRun = QStringLiteral("IsFirstRun");
const QString KeyComPort = QStringLiteral("comPort");
const QString KeyComPortName = QStringLiteral("comPortName");
const QString KeyHandshaking = QStringLiteral("Handshaking");
const QString KeyStopBit = QStringLiteral("StopBit");
const QString KeyCurrentLanguage = QStringLiteral("CurrentLanguage");

// A 16-bit number from the file; a missing key or other text keeps value.
void readWord(const IniFile& ini, const QString& key, int& value)
{
    bool ok = false;
    const short n = ini.value(Section, key).toShort(&ok);
    if (ok) value = n;
}

// Loads the file (a missing one starts empty), lets change() set keys and
// writes it back, creating the language folder when it is missing.
template <typename Change> bool update(const QString& iniPath, Change change, QString* reason = nullptr)
{
    IniFile ini;
    // A file that exists but cannot be read is not replaced by a few keys.
    QString why;
    if (!ini.load(iniPath, &why) && QFileInfo::exists(iniPath)) {
        if (reason) *reason = why;
        return false;
    }
    change(ini);
    const QString folder = QFileInfo(iniPath).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (reason) *reason = QStringLiteral("the folder %1 cannot be made").arg(folder);
        return false;
    }
    return ini.save(iniPath, reason);
}

} // namespace

int SystemLocale::systemLanguage() const
{
#ifdef Q_OS_WIN
    const QLocale locale = QLocale::system();
    return locale.language() == QLocale::Chinese && locale.territory() == QLocale::China ? 2 : 1;
#else
    // The language of messages: LC_ALL, else LC_MESSAGES, else LANG.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) return languageOfLocaleName(value);
    }
    return 1;
#endif
}

int SystemLocale::languageOfLocaleName(const QString& name)
{
    // "zh_CN.UTF-8", "zh_CN", "zh_Hans_SG", "zh-Hans": Chinese of China or in Simplified script.
    const QString n = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QStringList parts = n.split(QRegularExpression(QStringLiteral("[_-]")));
    if (parts.isEmpty() || parts.first().compare(QLatin1String("zh"), Qt::CaseInsensitive) != 0) return 1;
    for (const QString& part : parts.mid(1))
        if (part.compare(QLatin1String("CN"), Qt::CaseInsensitive) == 0 ||
            part.compare(QLatin1String("Hans"), Qt::CaseInsensitive) == 0)
            return 2;
    return 1;
}

QString Settings::pathUnder(const QString& installRoot)
{
    return QDir::toNativeSeparators(QDir(installRoot).filePath(QStringLiteral("language/mysetup.ini")));
}

void Settings::load(const QString& iniPath, const SystemLocale& locale)
{
    comPort = 1;
    comPortText.clear();
    comPortName.clear();
    handshaking = 0;
    stopBit = 0;
    systemLanguage = locale.systemLanguage();
    currentLanguage = systemLanguage;
    previousLanguage = systemLanguage;

    IniFile ini;
    const bool readable = ini.load(iniPath) || !QFileInfo::exists(iniPath);

    // "0" is false, any other number true; missing or not a number: a first run.
    {
        bool ok = false;
        const short n = ini.value(Section, KeyIsFirstRun).toShort(&ok);
        isFirstRun = !ok || n != 0;
    }

    // A port number 1..255 (0: none chosen); any other text is no port at all,
    // never the first one, and is left in the file for the user to see.
    const bool portKept = ini.contains(Section, KeyComPort);
    bool portValid = !portKept;
    if (portKept) {
        comPortText = ini.value(Section, KeyComPort);
        bool ok = false;
        const int n = comPortText.toInt(&ok);
        portValid = ok && n >= 0 && n <= MaxComPort;
        comPort = portValid ? n : 0;
    }
    readWord(ini, KeyHandshaking, handshaking);
    readWord(ini, KeyStopBit, stopBit);
    comPortName = ini.value(Section, KeyComPortName);

    if (isFirstRun) {
        isFirstRun = false;
        ini.setValue(Section, KeyIsFirstRun, QStringLiteral("0"));
    } else {
        readWord(ini, KeyCurrentLanguage, currentLanguage);
    }

    if (portValid) ini.setValue(Section, KeyComPort, QString::number(comPort));
    ini.setValue(Section, KeyCurrentLanguage, QString::number(currentLanguage));
    // Start-up shows no messages: a settings file that cannot be written is left as it was.
    if (readable && QDir().mkpath(QFileInfo(iniPath).absolutePath())) ini.save(iniPath);
}

bool Settings::saveComPort(const QString& iniPath, QString* reason) const
{
    return update(
        iniPath,
        [this](IniFile& ini) {
            // Choosing a device path leaves a comPort that is no port number as the file writes it.
            const bool notANumber = comPort == 0 && !comPortText.isEmpty() && comPortText != u"0";
            if (comPortName.isEmpty() || !notANumber)
                ini.setValue(Section, KeyComPort, QString::number(comPort));
            // The device name is only recorded where one was chosen (or was recorded before).
            if (!comPortName.isEmpty() || ini.contains(Section, KeyComPortName))
                ini.setValue(Section, KeyComPortName, comPortName);
        },
        reason);
}

bool Settings::saveLanguage(const QString& iniPath) const
{
    return update(iniPath, [this](IniFile& ini) {
        ini.setValue(Section, KeyCurrentLanguage, QString::number(currentLanguage));
    });
}

QSettings userStore()
{
    return QSettings(QStringLiteral("MX_806TR"), QStringLiteral("MX_806TR"));
}

} // namespace mx
