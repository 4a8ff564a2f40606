#pragma once

#include "app/UndoHistory.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace mx {

struct App;
struct Handover;
class Launcher;

// What a channel list export or import asks besides the file: the layout and,
// for the common radio-programmer layout, the range family and band (0: every
// band of the family, on export only).
struct ChannelListChoice
{
    bool common = false;
    int family = 0;
    int band = 0;
};

// The file boxes Open and Save; the desktop shows dialogs, tests answer from a script.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // "" when the user cancels. folder: where the box starts; proposed: the
    // path it offers (in the folder it starts in).
    virtual QString openFile(const QString& folder, const QString& filter) = 0;
    virtual QString saveFile(const QString& proposed, const QString& filter) = 0;
    // Asked before the Save box of a channel list export, and after the Open
    // box when the list is in the common layout (which band it goes into).
    // False when the user cancels; by default the choice stays as proposed.
    virtual bool chooseChannelList(bool importing, ChannelListChoice& choice)
    {
        Q_UNUSED(importing);
        Q_UNUSED(choice);
        return true;
    }
};

// The open document: the radio data image in its file, with new, open, save,
// save as, the initial setting, the undo history of its edits, the dated
// backups of transfers and the channel list export and import. Questions and
// messages go through the messenger; the windows follow its signals. The
// folder of the file boxes and the recent files are kept per user.
class Document : public QObject
{
    Q_OBJECT
public:
    explicit Document(App& app, QObject* parent = nullptr);
    ~Document() override;

    // Replaceable services: the file boxes (not owned), the program starter of a version hand-over.
    void setFileChooser(FileChooser* chooser) { m_chooser = chooser; }
    void setLauncher(Launcher* launcher);
    // Stores a value the editors still hold (run before saves, checks, transfers and questions).
    void setCommitter(std::function<void()> commit) { m_commit = std::move(commit); }
    void commitEdits();
    // Where dated copies of what is read from and written to radios go.
    void setBackupFolder(const QString& folder) { m_backupFolder = folder; }
    QString backupFolder() const { return m_backupFolder; }

    // File > New asks first; loadNewDoc does not (the toolbar's New).
    void newFromMenu();
    void loadNewDoc();
    void openFile();
    // Opens a data file as File > Open does once a file is chosen; false when
    // the user cancelled or the file was refused.
    bool openPath(const QString& path);
    // The program's command line: the first argument that is not an option is
    // a data file to open.
    void openArguments(const QStringList& arguments);
    // The data files opened or saved last, newest first.
    QStringList recentFiles() const;
    static constexpr int RecentFileCount = 8;
    // A recent file that is gone is said so and leaves the list.
    void openRecent(const QString& path);
    bool save();
    bool saveAs();
    void initialSetting();
    void exportChannels();
    void importChannels();

    // "File has been modify,save it now?" when the image has unsaved changes:
    // false when the user cancels or the save does not happen.
    bool askSaveIfModified();

    // An editor stored a change of the user; undo and redo.
    void recordEdit();
    void undo();
    void redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }

    // A read from the radio replaced the image: a backup of it, a fresh history.
    void radioRead();
    // A dated copy of the image ("read" or "write"); a failure is queued as a
    // message for the end of the transfer.
    void backUp(const QString& kind);

    // Hands over to the software version that handles version, saving first
    // if the user wants; closePort runs just before the other version starts.
    void handOverTo(const QString& version, const std::function<void()>& closePort = {});

Q_SIGNALS:
    // The image is about to be replaced: the editors close now.
    void aboutToReplaceImage();
    // A new image (new, open, read, initial setting): the channel editor opens.
    void imageReplaced();
    // The same document in another state (undo, redo, an import): the editors show it anew.
    void imageRestored();
    // Undo or redo became possible or impossible.
    void historyChanged();
    void recentFilesChanged();
    // A short report for the status bar ("323 channels exported to channels.csv").
    void statusMessage(const QString& text);

private:
    bool saveTo(const QString& path);
    bool load(const QString& path);
    QString lastFolder() const;
    // Keeps the folder of a chosen file for the next box.
    void chosen(const QString& path);
    void addRecent(const QString& path);
    void resetHistory();
    Handover handover(const std::function<void()>& closePort);

    App& m_app;
    FileChooser* m_chooser = nullptr;
    Launcher* m_launcher;
    std::unique_ptr<Launcher> m_ownLauncher;
    std::function<void()> m_commit;
    QString m_backupFolder;
    UndoHistory m_history;
};

} // namespace mx
