#include "app/Document.h"

#include "app/Backups.h"
#include "app/Startup.h"
#include "data/ChannelCsv.h"
#include "data/CommonCsv.h"
#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/FileWrite.h"
#include "data/VersionTable.h"
#include "texts/MainTexts.h"
#include "texts/TableTexts.h"
#include "texts/Texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace mx {

namespace {

QString dataFileFilter(int language)
{
    return text(TextId::DataFileFilterName, language) + QStringLiteral(" (*.dat)");
}

QString csvFilter(int language)
{
    return mainText(MainText::CsvFilterName, language) + QStringLiteral(" (*.csv)");
}

const QString LastFolderKey = QStringLiteral("Settings/LastFolder");
const QString RecentFilesKey = QStringLiteral("Settings/RecentFiles");

// Every channel of the working copy: one line of a channel list each.
int channelTotal(const RadioImage& image)
{
    int total = 0;
    for (qint16 n : image.work.channelCount)
        total += qBound(0, int(n), SlotCount);
    return total;
}

} // namespace

Document::Document(App& app, QObject* parent)
    : QObject(parent), m_app(app), m_ownLauncher(std::make_unique<ProcessLauncher>()),
      m_backupFolder(backups::defaultFolder())
{
    m_launcher = m_ownLauncher.get();
}

Document::~Document() = default;

void Document::setLauncher(Launcher* launcher)
{
    m_launcher = launcher ? launcher : m_ownLauncher.get();
}

void Document::commitEdits()
{
    if (m_commit) m_commit();
}

// ---------------------------------------------------------------- new, open, save

void Document::newFromMenu()
{
    if (m_app.messenger.ask(TextId::AllDataCleared, Buttons::OkCancel, Icon::Exclamation) == Answer::Ok)
        loadNewDoc();
}

void Document::loadNewDoc()
{
    Q_EMIT aboutToReplaceImage();
    RadioImage& image = m_app.image;
    // A new document is untitled: the first save asks for a name.
    if (defaults::loadTemplate(image, defaults::templatePath(m_app.programDir, image, true))) {
        image.currentFileName = QStringLiteral("new.dat");
        image.isNewDocument = true;
    }
    Q_EMIT imageReplaced();
    Q_EMIT image.captionChanged();
    resetHistory();
}

bool Document::askSaveIfModified()
{
    commitEdits();
    // Yes saves at once: the question was the question. A document without a
    // name goes through Save As; a cancelled or failed save stops the command.
    return askToSaveChanges(m_app.image, m_app.messenger, [this] {
        return m_app.image.isNewDocument ? saveAs() : saveTo(m_app.image.currentFileName);
    })();
}

void Document::openFile()
{
    if (!askSaveIfModified()) return;
    const QString path = m_chooser->openFile(lastFolder(), dataFileFilter(m_app.language()));
    if (path.isEmpty()) return;
    chosen(path);
    load(path);
}

bool Document::openPath(const QString& path)
{
    return askSaveIfModified() && load(path);
}

void Document::openArguments(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument.startsWith(QLatin1Char('-'))) continue;
        openPath(argument);
        return;
    }
}

bool Document::load(const QString& path)
{
    Q_EMIT aboutToReplaceImage();
    const Handover h = handover({});
    const bool loaded = datafile::loadDataFile(m_app.image, path, m_app.versions, m_app.messenger, &h) ==
                        datafile::LoadStatus::Ok;
    if (loaded) {
        Q_EMIT imageReplaced();
        resetHistory();
        addRecent(path);
    }
    Q_EMIT m_app.image.captionChanged();
    return loaded;
}

// ---------------------------------------------------------------- recent files and folders

QStringList Document::recentFiles() const
{
    return userStore().value(RecentFilesKey).toStringList().mid(0, RecentFileCount);
}

void Document::addRecent(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    userStore().setValue(RecentFilesKey, files.mid(0, RecentFileCount));
    Q_EMIT recentFilesChanged();
}

void Document::openRecent(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        m_app.messenger.ask(
            mainText(MainText::RecentFileMissing, m_app.language()).arg(QDir::toNativeSeparators(path)),
            Buttons::Ok, Icon::Exclamation);
        QStringList files = recentFiles();
        files.removeAll(path);
        userStore().setValue(RecentFilesKey, files);
        Q_EMIT recentFilesChanged();
        return;
    }
    openPath(path);
}

QString Document::lastFolder() const
{
    const QString folder = userStore().value(LastFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void Document::chosen(const QString& path)
{
    userStore().setValue(LastFolderKey, QFileInfo(path).absolutePath());
}

bool Document::save()
{
    commitEdits();
    RadioImage& image = m_app.image;
    if (image.isNewDocument) return saveAs();
    const QString question = QLatin1Char('"') + datafile::fileTitle(image.currentFileName) +
                             QLatin1Char('"') + text(TextId::OverwriteContinue, m_app.language());
    if (m_app.messenger.ask(question, Buttons::OkCancel, Icon::Question) != Answer::Ok) return false;
    return saveTo(image.currentFileName);
}

bool Document::saveAs()
{
    commitEdits();
    const QString proposed = QDir(lastFolder()).filePath(datafile::fileTitle(m_app.image.currentFileName));
    const QString path = m_chooser->saveFile(proposed, dataFileFilter(m_app.language()));
    if (path.isEmpty()) return false;
    chosen(path);
    return saveTo(path);
}

bool Document::saveTo(const QString& path)
{
    const bool ok = datafile::saveDataFile(m_app.image, path, m_app.messenger);
    if (ok) addRecent(path);
    Q_EMIT m_app.image.captionChanged();
    return ok;
}

void Document::initialSetting()
{
    Q_EMIT aboutToReplaceImage();
    // An edit like any other: undone in one step, and the file as it was
    // stays what a save would replace.
    RadioImage& image = m_app.image;
    const RadioDataRecord staging = image.staging;
    const ChannelArray stagingChannels = image.stagingChannels;
    defaults::loadTemplate(image, defaults::templatePath(m_app.programDir, image, false));
    image.staging = staging;
    image.stagingChannels = stagingChannels;
    Q_EMIT imageReplaced();
    Q_EMIT image.captionChanged();
    recordEdit();
}

// ---------------------------------------------------------------- undo

void Document::resetHistory()
{
    m_history.reset(m_app.image);
    Q_EMIT historyChanged();
}

void Document::recordEdit()
{
    m_history.record(m_app.image);
    Q_EMIT historyChanged();
}

void Document::undo()
{
    commitEdits();
    m_history.record(m_app.image); // what was just typed is an edit of its own
    if (m_history.undo(m_app.image)) Q_EMIT imageRestored();
    Q_EMIT historyChanged();
}

void Document::redo()
{
    commitEdits();
    m_history.record(m_app.image);
    if (m_history.redo(m_app.image)) Q_EMIT imageRestored();
    Q_EMIT historyChanged();
}

// ---------------------------------------------------------------- transfers

void Document::radioRead()
{
    // The radio's contents are kept before anything else happens to them.
    backUp(QStringLiteral("read"));
    Q_EMIT imageReplaced();
    Q_EMIT m_app.image.captionChanged();
    resetHistory();
}

void Document::backUp(const QString& kind)
{
    QString error;
    // A backup that cannot be written is reported once the port is closed; the transfer goes on.
    if (backups::save(m_app.image, m_backupFolder, kind, &error).isEmpty())
        m_app.messenger.queue(mainText(MainText::BackupFailed, m_app.language()) + error);
}

// ---------------------------------------------------------------- version hand-over

Handover Document::handover(const std::function<void()>& closePort)
{
    Handover h;
    h.installRoot = m_app.installRoot;
    h.executableName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    h.launcher = m_launcher;
    h.beforeHandover = [this, closePort] {
        if (!askSaveIfModified()) return false;
        if (closePort) closePort();
        return true;
    };
    return h;
}

void Document::handOverTo(const QString& version, const std::function<void()>& closePort)
{
    startSoftwareFor(version, m_app.versions, handover(closePort), m_app.messenger);
}

// ---------------------------------------------------------------- channel lists

void Document::exportChannels()
{
    commitEdits();
    const RadioDataRecord& work = m_app.image.work;
    ChannelListChoice choice{false, work.shownFamily(), 0};
    if (!m_chooser->chooseChannelList(false, choice)) return;
    const QString proposed =
        QDir(lastFolder())
            .filePath(QFileInfo(m_app.image.currentFileName).completeBaseName() + QStringLiteral(".csv"));
    const QString path = m_chooser->saveFile(proposed, csvFilter(m_app.language()));
    if (path.isEmpty()) return;
    chosen(path);
    const QByteArray csv = choice.common ? commoncsv::exportChannels(m_app.image, choice.family, choice.band)
                                         : channelcsv::exportChannels(m_app.image);
    if (!filewrite::writeFile(path, csv)) {
        m_app.messenger.ask(TextId::FileError, Buttons::Ok, Icon::Exclamation);
        return;
    }
    Q_EMIT statusMessage(mainText(MainText::ChannelsExported, m_app.language())
                             .arg(csv.count('\n') - 1) // a line per channel under the header
                             .arg(QFileInfo(path).fileName()));
}

void Document::importChannels()
{
    commitEdits();
    const QString path = m_chooser->openFile(lastFolder(), csvFilter(m_app.language()));
    if (path.isEmpty()) return;
    chosen(path);
    QByteArray csv;
    if (!channelcsv::readList(path, csv).isEmpty()) {
        m_app.messenger.ask(TextId::FileError, Buttons::Ok, Icon::Exclamation);
        return;
    }
    int channels = 0; // in the list
    if (commoncsv::isCommonLayout(csv)) {
        // A list of one band: the user says which band it becomes.
        const RadioDataRecord& work = m_app.image.work;
        const int m = work.shownFamily();
        const int b = work.currentBand[m] >= 1 && work.currentBand[m] <= BandCount ? work.currentBand[m] : 1;
        ChannelListChoice choice{true, m, b};
        if (!m_chooser->chooseChannelList(true, choice)) return;
        const commoncsv::ImportResult result =
            commoncsv::importChannels(m_app.image, csv, choice.family, choice.band, m_app.language());
        if (!result.ok) {
            m_app.messenger.ask(result.message, Buttons::Ok, Icon::Exclamation);
            return;
        }
        if (result.notKept > 0)
            m_app.messenger.ask(tableText(TableText::NotKept, m_app.language()).arg(result.notKept),
                                Buttons::Ok, Icon::Information);
        channels = result.channels;
    } else {
        const channelcsv::ImportResult result =
            channelcsv::importChannels(m_app.image, csv, m_app.language());
        if (!result.ok) {
            m_app.messenger.ask(result.message, Buttons::Ok, Icon::Exclamation);
            return;
        }
        channels = channelTotal(m_app.image);
    }
    // The whole list is one edit: it can be undone.
    recordEdit();
    Q_EMIT imageRestored();
    Q_EMIT statusMessage(
        mainText(MainText::ChannelsImported, m_app.language()).arg(channels).arg(QFileInfo(path).fileName()));
}

} // namespace mx
