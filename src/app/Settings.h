#pragma once

#include <QString>

class QSettings;

namespace mx {

// Where the system language comes from; tests set it.
class SystemLocale
{
public:
    virtual ~SystemLocale() = default;
    // 2 when the system default locale is Chinese (PRC), else 1.
    // On Windows the system's default locale; elsewhere the locale named by
    // LC_ALL, else LC_MESSAGES, else LANG (C, POSIX or unset is English).
    virtual int systemLanguage() const;
    // 2 for a locale name of Chinese of China or in Simplified script (zh_CN, zh_Hans_SG), else 1.
    static int languageOfLocaleName(const QString& name);
};

// Settings kept in <install root>/language/mysetup.ini, section "language".
struct Settings
{
    static constexpr int MaxComPort = 255; // port numbers are 1..255; 0 is no port chosen

    bool isFirstRun = true;
    int comPort = 1;
    QString comPortText; // comPort as the file writes it (a text that is no port number means no port)
    QString comPortName; // device path of the port on systems without COM numbers
    int handshaking = 0;
    int stopBit = 0;
    int currentLanguage = 1;
    int systemLanguage = 1;
    int previousLanguage = 1;

    // Path of the settings file under an install root.
    static QString pathUnder(const QString& installRoot);

    // The start-up loader: first-run rule, then writes IsFirstRun, comPort and
    // CurrentLanguage back. Missing keys or text that is not a number keep the
    // initial values; a missing IsFirstRun counts as true. A comPort that is
    // not a port number 1..255 means no port chosen (0) and stays in the file as it is.
    void load(const QString& iniPath, const SystemLocale& locale);

    // Writes one key back (comPort, comPortName, CurrentLanguage) keeping the
    // rest of the file; false with the reason when the file cannot be written.
    bool saveComPort(const QString& iniPath, QString* reason = nullptr) const;
    bool saveLanguage(const QString& iniPath) const;
};

// The desktop program's per-user store: the main window's place, the folder of
// the file boxes, the recent files, Verify After Writing.
QSettings userStore();

} // namespace mx
