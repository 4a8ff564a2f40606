#pragma once

#include "app/Settings.h"
#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"

#include <QDate>
#include <QString>

#include <functional>

namespace mx {

// Everything the program holds for its whole run, built by startUp in this
// order: version table, settings, default image (with the new-image template),
// texts of the chosen language.
struct App
{
    explicit App(Prompter& prompter) : messenger(prompter) {}

    QString programDir;  // folder of the running program (holds Init/)
    QString installRoot; // its parent (holds Version.ini and language/mysetup.ini)
    VersionTable versions;
    Settings settings;
    RadioImage image;
    Messenger messenger;

    // The language of the program's texts: Chinese or English.
    int language() const { return messenger.language() == Chinese ? Chinese : English; }

    // installRoot is the parent of programDir.
    void startUp(const QString& programDir, const SystemLocale& locale,
                 const QDate& today = QDate::currentDate());
    // The same with the install root given (the command line's --root).
    void startUp(const QString& programDir, const QString& installRoot, const SystemLocale& locale,
                 const QDate& today = QDate::currentDate());
    // The settings file in use: the install's language/mysetup.ini, or, when
    // that cannot be written (a system-wide install), the user's own copy.
    QString settingsPath() const { return m_settingsPath; }
    // Where the user's copy lives: <config>/MX_806TR/mysetup.ini (~/.config on Linux).
    static QString userSettingsPath();
    // Whether a file can be written (tests pretend a read-only install).
    std::function<bool(const QString& path)> canWrite;

private:
    QString chooseSettingsPath() const;
    QString m_settingsPath;
};

// Before an open document is left (another file, the program's end, a
// hand-over to another version): when the image has unsaved changes it asks
// "File has been modify,save it now?" with Yes, No and Cancel. Yes runs save()
// and goes on when it succeeded, No goes on, Cancel stays. An unchanged image
// goes on at once.
std::function<bool()> askToSaveChanges(RadioImage& image, Messenger& messenger, std::function<bool()> save);

} // namespace mx
