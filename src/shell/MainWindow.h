#pragma once

#include "app/Document.h"
#include "app/PortSetting.h"
#include "app/Transfers.h"
#include "editors/EditorWindow.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QThread;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace mx {

struct App;
class ProgressWindow;
class TransferProgress;

// frmMain: the program's window. Holds the menus, the toolbar, the tree pane,
// the status bar and the editor windows (one of each kind) in an MDI area, and
// turns commands into actions of the document and the radio transfers.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(App& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& document() { return m_document; }
    Transfers& transfers() { return m_transfers; }
    // The port list of the port dialog and the status bar (tests replace it).
    void setPortLister(PortSetting::Lister lister, bool comNumbers);

    QAction* action(const QString& name) const;
    QAction* toolButton(const QString& key) const;
    QMdiArea* mdiArea() const { return m_mdi; }
    QTreeWidget* tree() const { return m_tree; }
    QWidget* treePane() const { return m_treePane; }
    QLabel* portPanel() const { return m_portPanel; }
    ProgressWindow* progressWindow() const;
    EditorWindow* editor(EditorKind kind) const;

    // Window caption as the document gives it.
    QString documentCaption() const;

    void portSettings();
    void languageSetup();
    void about();
    void printPreview();
    EditorWindow* showChildForm(EditorKind kind);
    // Closes every editor; storing first what is being typed unless told otherwise.
    void closeChildForms(bool commit = true);
    // Every open editor stores a value still being typed.
    void commitEditors();

    // Moves the tree pane's splitter bar by dx pixels; ignored when the pane would
    // become narrower than 20 pixels or wider than the window's inner width.
    void dragSplitter(int dx);

    // Applies a language switch when the language words differ.
    void applyLanguageChange();
    // Re-applies every caption (menus, tool tips, tree, status bar, caption).
    void changeLanguage();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildTreePane();
    void buildStatusBar();
    void buildNodeTree();
    void applyMainCaptions();
    // The status bar's port panel; a port kept by number is looked up among
    // the system's ports in a thread of its own.
    void updatePortPanel();
    void showPortPanel(const QString& shown);
    void updateCaption();
    void restoreGeometryFromSettings();
    void storeGeometry();
    void nodeClicked(QTreeWidgetItem* item);
    void fillWindowMenu();
    void fillRecentMenu();
    void fitTreePane();
    void showNewImage();
    void updateUndoActions();
    void reopenEditors();

    App& m_app;
    std::unique_ptr<FileChooser> m_chooser;
    PortSetting m_portSetting;
    Document m_document;
    Transfers m_transfers;
    TransferProgress* m_progress = nullptr;

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
    QMenu* m_recentMenu = nullptr;
    QList<QAction*> m_windowListActions;
    QList<QThread*> m_portListers;
    quint64 m_portPanelGeneration = 0;
};

} // namespace mx
