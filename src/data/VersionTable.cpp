#include "data/VersionTable.h"

#include "data/IniFile.h"
#include "texts/Messenger.h"
#include "texts/Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cstdlib>

namespace mx {

namespace {

// A list size from the table: 1..32767 (a 16-bit count), else 0 (an empty list).
int countOf(const IniFile& ini, const char* key)
{
    bool ok = false;
    const int n = ini.value(QStringLiteral("Version"), QString::fromLatin1(key)).toShort(&ok);
    return ok && n > 0 ? n : 0;
}

} // namespace

bool VersionTable::load(const QString& iniPath)
{
    currentVersion.clear();
    softVersions.clear();
    pairs.clear();

    IniFile ini;
    if (!ini.load(iniPath)) return false;

    const QString version = QStringLiteral("Version");
    currentVersion = ini.value(version, QStringLiteral("CurrentVersion"));
    const int softCount = countOf(ini, "SoftVersionCount");
    const int firmCount = countOf(ini, "FirmVersionCount");

    for (int i = 0; i < softCount; ++i)
        softVersions.append(ini.value(QStringLiteral("Soft"), QLatin1String("Version") + QString::number(i)));

    // A missing Firm key is skipped: an empty pair would make an empty tag compatible.
    for (int i = 0; i < firmCount; ++i) {
        const QString firm = ini.value(QStringLiteral("Firm"), QLatin1String("Firm") + QString::number(i));
        if (firm.isEmpty()) continue;
        pairs.append({firm.left(4), firm.right(4)});
    }
    return !pairs.isEmpty();
}

bool VersionTable::isCompatible(const QString& software, const QString& other) const
{
    for (const auto& pair : pairs) {
        if (pair.first == software && pair.second == other) return true;
    }
    return false;
}

QString VersionTable::softwareFor(const QString& other) const
{
    for (const auto& pair : pairs) {
        if (pair.second == other) return pair.first;
    }
    return QString();
}

QString VersionTable::shown(const QString& version)
{
    return version.left(2) + u'.' + version.right(2);
}

QString VersionTable::incompatibleMessage(const QString& software, const QString& other, int kind,
                                          int language)
{
    const QString crlf = QStringLiteral("\r\n");
    const TextId kindText = kind == 0 ? TextId::FirmwareVersionIs : TextId::DataFileVersionIs;
    return text(TextId::IncompatibleVersion, language) + crlf + text(kindText, language) + u' ' +
           shown(other) + crlf + text(TextId::SoftwareVersionIs, language) + u' ' + shown(software);
}

bool ProcessLauncher::start(const QString& programPath)
{
    const QFileInfo program(programPath);
    if (!program.isFile() || !program.isExecutable()) return false;
    return QProcess::startDetached(program.absoluteFilePath(), {}, program.absolutePath());
}

void ProcessLauncher::quit()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread() && QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
        return;
    }
    std::exit(0);
}

QString installRootOf(const QString& programDir)
{
    const QString dir = QDir::cleanPath(QFileInfo(programDir).absoluteFilePath());
    const qsizetype slash = dir.lastIndexOf(u'/');
    if (slash < 0) return QDir::toNativeSeparators(dir);
    QString root = dir.left(slash);
    // A program directly under the root of a drive: the root itself.
    if (root.isEmpty() || (root.size() == 2 && root.at(1) == u':' && QDir(root + u'/').isRoot()))
        root += u'/';
    return QDir::toNativeSeparators(root);
}

bool startSoftwareFor(const QString& other, const VersionTable& table, const Handover& handover,
                      Messenger& messenger)
{
    const QString version = table.softwareFor(other);
    if (version.isEmpty()) {
        messenger.ask(TextId::FailToStartSoftware, Buttons::Ok);
        return false;
    }
    if (handover.beforeHandover && !handover.beforeHandover()) return false;
    const QString program = QDir::toNativeSeparators(
        QDir(handover.installRoot).filePath(version + u'/' + handover.executableName));
    if (!handover.launcher || !handover.launcher->start(program)) {
        messenger.ask(TextId::FileError, Buttons::Ok);
        return false;
    }
    handover.launcher->quit();
    return true;
}

} // namespace mx
