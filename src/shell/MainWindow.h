#pragma once

#include "app/UndoHistory.h"
#include "editors/EditorWindow.h"
#include "link/PortNames.h"
#include "link/Session.h"
#include "shell/Dialogs.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace mx {

struct App;
struct Handover;
class Launcher;
class ProgressWindow;
class SerialPortLink;
class Session;

// The file dialog's Open and Save boxes; tests answer them.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // "" when the user cancels.
    virtual QString openFile(QWidget* parent, const QString& filter) = 0;
    virtual QString saveFile(QWidget* parent, const QString& proposed, const QString& filter) = 0;
};

// frmMain: the program's window. Holds the menus, the toolbar, the tree pane,
// the status bar, the editor windows (one of each kind) in an MDI area, and
// the radio link; turns commands into actions on the document and the radio.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(App& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaceable services (tests): file boxes, the program starter of a version
    // hand-over, the port list of the port dialog, the number of radios of a
    // multi-radio write (0: cancelled).
    void setFileChooser(FileChooser* chooser);
    void setLauncher(Launcher* launcher);
    void setPortLister(std::function<QList<ports::PortEntry>()> lister, bool comNumbers);
    void setRadioCountAsker(std::function<int()> asker);
    // Where dated copies of what is read from and written to radios go.
    void setBackupFolder(const QString& folder) { m_backupFolder = folder; }

    QAction* action(const QString& name) const;
    QAction* toolButton(const QString& key) const;
    QMdiArea* mdiArea() const { return m_mdi; }
    QTreeWidget* tree() const { return m_tree; }
    QWidget* treePane() const { return m_treePane; }
    QLabel* portPanel() const { return m_portPanel; }
    Session& session() { return *m_session; }
    ProgressWindow* progressWindow() const { return m_progress; }
    EditorWindow* editor(EditorKind kind) const;

    // Window caption as the document gives it.
    QString documentCaption() const;

    // Commands.
    void newFromMenu();
    void loadNewDoc();
    void openFile();
    bool save();
    bool saveAs();
    void initialSetting();
    void readFromRadio();
    void writeToRadio();
    void multiWriteToRadio();
    void radioInformation(bool fillMemory = false);
    void portSettings();
    void languageSetup();
    void about();
    void printPreview();
    void exportChannels();
    void importChannels();
    EditorWindow* showChildForm(EditorKind kind);
    // Closes every editor; storing first what is being typed unless told otherwise.
    void closeChildForms(bool commit = true);
    void undo();
    void redo();
    // Every open editor stores a value still being typed.
    void commitEditors();

    // Moves the tree pane's splitter bar by dx pixels; ignored when the pane would
    // become narrower than 20 pixels or wider than the window's inner width.
    void dragSplitter(int dx);

    // Applies a language switch when the language words differ.
    void applyLanguageChange();
    // Re-applies every caption (menus, tool tips, tree, status bar, file filter, caption).
    void changeLanguage();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int language() const;
    void buildMenus();
    void buildToolbar();
    void buildTreePane();
    void buildStatusBar();
    void buildNodeTree();
    void applyMainCaptions();
    void updateCaption();
    void restoreGeometryFromSettings();
    void storeGeometry();
    void nodeClicked(QTreeWidgetItem* item);
    void fillWindowMenu();
    bool askSaveIfModified();
    bool saveTo(const QString& path);
    void startProgress(bool reading, int radios);
    void transferEnded();
    void imageReplaced();
    void openChannelEditorAndCascade();
    QString fileFilter() const;
    void handOverTo(const QString& version);
    Handover handover();
    QString portText() const;
    void resetHistory();
    void backUp(const QString& kind);
    void sessionEnded(SessionOutcome outcome);
    void startVerify();
    QString verifyFailedMessage(const VerifyResult& result) const;
    // After a command that did not start: a port refused for lack of rights says how to get them.
    void explainRefusedPort();
    void updateUndoActions();
    void reopenEditors();

    App& m_app;
    std::unique_ptr<FileChooser> m_ownChooser;
    FileChooser* m_chooser;
    Launcher* m_launcher;
    std::unique_ptr<Launcher> m_ownLauncher;
    std::function<QList<ports::PortEntry>()> m_portLister;
    bool m_comNumbers;
    std::function<int()> m_radioCountAsker;

    EditorContext m_context;
    QHash<QString, QAction*> m_actions; // menu items by name
    QHash<QString, QAction*> m_tools;   // toolbar buttons by key
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolbar = nullptr;
    QWidget* m_treePane = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_treeLabel = nullptr;
    QAction* m_treeClose = nullptr;
    QLabel* m_modelPanel = nullptr;
    QLabel* m_portPanel = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowListActions;
    QTimer m_timerWrite;
    QTimer m_timerReNew;

    SerialPortLink* m_port = nullptr;
    Session* m_session = nullptr;
    QPointer<ProgressWindow> m_progress;
    UndoHistory m_history;
    QString m_backupFolder;
    enum class Pending { None, Write, Verify } m_pending = Pending::None;
    QByteArray m_written; // what a write sent, for the check after it
};

} // namespace mx
