#include "app/Startup.h"

#include "data/DataFile.h"
#include "data/Defaults.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace mx {

void App::startUp(const QString& programDir, const SystemLocale& locale, const QDate& today)
{
    startUp(programDir, installRootOf(programDir), locale, today);
}

void App::startUp(const QString& programDir, const QString& installRoot, const SystemLocale& locale,
                  const QDate& today)
{
    this->programDir = programDir;
    this->installRoot = installRoot;

    // 1. The version table; this program's data carry its own version.
    versions.load(QDir(installRoot).filePath(QStringLiteral("Version.ini")));
    image.work.tag.set(QString::fromLatin1(VersionTable::ThisVersion));

    // 2. The computer's locale is left alone: every conversion between
    //    frequency text and number is locale-independent.

    // 3. Settings (the install's file or the user's copy), then the texts of the chosen language and an empty
    // queue.
    m_settingsPath = chooseSettingsPath();
    settings.load(m_settingsPath, locale);
    messenger.pending().clear();
    messenger.setLanguage(settings.currentLanguage);

    // 4. Product constants and the first image.
    image.modelCode = QStringLiteral("MX806");
    image.work.rangeMode = 0;
    image.setRangeFamily(0);
    image.versionTag = QString::fromLatin1(VersionTable::ThisVersion);
    image.modelName = modelDisplayName(image.modelCode);
    defaults::initAll(image, programDir, today);
}

QString App::userSettingsPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("MX_806TR/mysetup.ini"));
}

QString App::chooseSettingsPath() const
{
    const QString install = Settings::pathUnder(installRoot);
    auto writable = [this](const QString& path) {
        if (canWrite) return canWrite(path);
        const QFileInfo info(path);
        if (info.exists()) return info.isWritable();
        // A file still to be made: its folder (or, missing, the install root) must take it.
        const QFileInfo folder(info.absolutePath());
        return folder.exists() ? folder.isWritable() : QFileInfo(installRoot).isWritable();
    };
    if (writable(install)) return install;
    // A read-only install: each user keeps a copy, seeded from the install's file once.
    const QString user = userSettingsPath();
    if (!QFileInfo::exists(user)) {
        QDir().mkpath(QFileInfo(user).absolutePath());
        QFile::copy(install, user);
        QFile::setPermissions(user,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return user;
}

std::function<bool()> askToSaveChanges(RadioImage& image, Messenger& messenger, std::function<bool()> save)
{
    return [&image, &messenger, save = std::move(save)]() {
        if (!datafile::isModified(image)) return true;
        switch (messenger.ask(TextId::FileModified, Buttons::YesNoCancel, Icon::Exclamation)) {
        case Answer::Yes:
            return save ? save() : false;
        case Answer::No:
            return true;
        default:
            return false;
        }
    };
}

} // namespace mx
