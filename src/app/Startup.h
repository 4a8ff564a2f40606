#pragma once

#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"
#include "app/Settings.h"

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

    // installRoot is the parent of programDir.
    void startUp(const QString& programDir, const SystemLocale& locale,
                 const QDate& today = QDate::currentDate());
    // The same with the install root given (the command line's --root).
    void startUp(const QString& programDir, const QString& installRoot, const SystemLocale& locale,
                 const QDate& today = QDate::currentDate());
    QString settingsPath() const { return Settings::pathUnder(installRoot); }
};

// The Handover::beforeHandover of a program with an open document: when the
// image has unsaved changes it asks "File has been modify,save it now?" with
// Yes, No and Cancel. Yes runs save() and hands over when it succeeded, No
// hands over, Cancel stays. An unchanged image hands over at once.
std::function<bool()> askSaveBeforeHandover(RadioImage& image, Messenger& messenger,
                                            std::function<bool()> save);

} // namespace mx
