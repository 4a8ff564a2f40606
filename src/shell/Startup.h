#pragma once

#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "shell/Messenger.h"
#include "shell/Settings.h"

#include <QDate>
#include <QString>

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

    void startUp(const QString& programDir, const SystemLocale& locale, const QDate& today = QDate::currentDate());
    QString settingsPath() const { return Settings::pathUnder(installRoot); }
};

} // namespace mx
