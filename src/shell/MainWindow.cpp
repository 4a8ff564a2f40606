#include "shell/MainWindow.h"

#include "app/Startup.h"
#include "data/DataFile.h"
#include "shell/ChannelListDialog.h"
#include "shell/Dialogs.h"
#include "shell/Icons.h"
#include "shell/PrintPreview.h"
#include "shell/ProgressWindow.h"
#include "shell/QtTranslations.h"
#include "texts/MainTexts.h"
#include "texts/Texts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHash>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#include <cstring>
#include <memory>

namespace mx {

namespace {

// Window sizes are kept in twips, 15 to a logical pixel.
constexpr int TwipsPerPixel = 15;
constexpr int MinTreeWidth = 300 / TwipsPerPixel;

// The file boxes as dialogs over the main window.
class DialogChooser : public FileChooser
{
public:
    DialogChooser(QWidget* parent, const App& app) : m_parent(parent), m_app(app) {}
    QString openFile(const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(m_parent, QString(), folder, filter);
    }
    QString saveFile(const QString& proposed, const QString& filter) override
    {
        QFileDialog dialog(m_parent, QString(), proposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The filter's own suffix: "Data File (*.dat)" gives "dat".
        dialog.setDefaultSuffix(filter.section(QStringLiteral("*."), 1).section(QLatin1Char(')'), 0, 0));
        dialog.selectFile(proposed);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    }
    bool chooseChannelList(bool importing, ChannelListChoice& choice) override
    {
        ChannelListDialog dialog(importing, choice, m_app.messenger.language(), m_parent);
        if (dialog.exec() != QDialog::Accepted) return false;
        choice = dialog.choice();
        return true;
    }

private:
    QWidget* m_parent;
    const App& m_app;
};

// The usual keys of the desktop beside the program's own (the first one is
// what the menu shows).
const struct
{
    const char* name;
    QKeySequence::StandardKey key;
} StandardKeys[] = {
    {"mnuFileNew", QKeySequence::New},   {"mnuFileOpen", QKeySequence::Open},
    {"mnuFileSave", QKeySequence::Save}, {"mnuFilePrint", QKeySequence::Print},
    {"mnuFileExit", QKeySequence::Quit}, {"mnuEditUndo", QKeySequence::Undo},
    {"mnuEditRedo", QKeySequence::Redo},
};

QList<QKeySequence> shortcutsOf(const MenuEntry& entry)
{
    QList<QKeySequence> keys;
    if (*entry.shortcut) keys << QKeySequence(QString::fromLatin1(entry.shortcut));
    for (const auto& s : StandardKeys)
        if (std::strcmp(s.name, entry.name) == 0)
            for (const QKeySequence& key : QKeySequence::keyBindings(s.key))
                if (!keys.contains(key)) keys << key;
    return keys;
}

// The narrow bar at the tree pane's right edge: dragging it resizes the pane.
class SplitterBar : public QWidget
{
public:
    SplitterBar(MainWindow* window, QWidget* parent) : QWidget(parent), m_window(window)
    {
        setObjectName(QStringLiteral("CommandMove"));
        setCursor(Qt::SizeHorCursor);
        setFixedWidth(5);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) m_dragging = true;
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_dragging) m_window->dragSplitter(int(event->position().x()));
    }

private:
    MainWindow* m_window;
    bool m_dragging = false;
};

// Toolbar buttons in order; "" is a separator. Each names its image key and
// the menu item whose caption is its tool tip.
struct ToolEntry
{
    const char* key;
    const char* image;
    const char* tipOf;
};
constexpr ToolEntry Tools[] = {
    {"新建", "New", "mnuFileNew"},
    {"打开", "Open", "mnuFileOpen"},
    {"保存", "Save", "mnuFileSave"},
    {"", "", ""},
    {"打印", "Print", "mnuFilePrint"},
    {"", "", ""},
    {"ReadRadio", "Read", "mnuReadFromRadio"},
    {"CommSet", "Comm", "mnuComm"},
    {"WriteRadio", "Write", "mnuWriteToRadio"},
    {"", "", ""},
    {"MWriteRadio", "MWrite", "mnuMWriteToRadio"},
    {"", "", ""},
    {"About", "Help", "mnuHelpAbout"},
};

// A menu caption without its access key: "&Channel Information" -> "Channel
// Information", "信道信息(&C)" -> "信道信息".
QString plain(QString caption)
{
    static const QRegularExpression chineseKey(QStringLiteral("\\(&.\\)$"));
    return caption.remove(chineseKey).remove(QLatin1Char('&'));
}

} // namespace

MainWindow::MainWindow(App& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_chooser(std::make_unique<DialogChooser>(this, app)),
      m_portSetting(app.settings), m_document(app),
      m_transfers(app, m_document, m_portSetting), m_context{app.image, app.messenger}
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(icons::appIcon());

    m_document.setFileChooser(m_chooser.get());
    m_document.setCommitter([this] { commitEditors(); });
    connect(&m_document, &Document::aboutToReplaceImage, this, [this] { closeChildForms(); });
    connect(&m_document, &Document::imageReplaced, this, &MainWindow::showNewImage);
    connect(&m_document, &Document::imageRestored, this, &MainWindow::reopenEditors);
    connect(&m_document, &Document::historyChanged, this, &MainWindow::updateUndoActions);
    connect(&m_document, &Document::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(&app.image, &RadioImage::captionChanged, this, &MainWindow::updateCaption);

    m_transfers.setRadioCountAsker([this] {
        bool ok = false;
        const int n =
            QInputDialog::getInt(this, mainText(MainText::RadioCountTitle, m_app.language()),
                                 mainText(MainText::RadioCountPrompt, m_app.language()), 1, 1, 9999, 1, &ok);
        return ok ? n : 0;
    });
    m_progress = new TransferProgress(m_transfers, app, this);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    buildMenus();
    buildToolbar();
    buildTreePane();
    buildStatusBar();

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_treePane);
    row->addWidget(m_mdi, 1);
    setCentralWidget(central);

    restoreGeometryFromSettings();
    changeLanguage();
    m_document.loadNewDoc();
}

MainWindow::~MainWindow()
{
    for (QThread* lister : std::as_const(m_portListers)) {
        lister->wait();
        delete lister;
    }
    // Editors go before the image they show.
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<EditorWindow*>(w->widget())) e->stopActivity();
}

void MainWindow::setPortLister(PortSetting::Lister lister, bool comNumbers)
{
    m_portSetting.setLister(std::move(lister), comNumbers);
    updatePortPanel();
}

ProgressWindow* MainWindow::progressWindow() const
{
    return m_progress->window();
}

QAction* MainWindow::action(const QString& name) const
{
    return m_actions.value(name);
}

QAction* MainWindow::toolButton(const QString& key) const
{
    return m_tools.value(key);
}

// ---------------------------------------------------------------- building

void MainWindow::buildMenus()
{
    QHash<QString, QMenu*> menus;
    int count = 0;
    const MenuEntry* entries = menuEntries(&count);
    for (int k = 0; k < count; ++k) {
        const MenuEntry& e = entries[k];
        const QString name = QString::fromLatin1(e.name);
        const QString parent = QString::fromLatin1(e.parent);
        QAction* action = nullptr;
        if (parent.isEmpty()) {
            QMenu* menu = menuBar()->addMenu(QString());
            menu->setObjectName(name);
            menus.insert(name, menu);
            action = menu->menuAction();
        } else if (!e.caption.english) {
            action = menus.value(parent)->addSeparator();
        } else {
            action = menus.value(parent)->addAction(QString());
            action->setShortcuts(shortcutsOf(e));
        }
        action->setObjectName(name);
        action->setVisible(e.shown);
        m_actions.insert(name, action);
    }
    m_windowMenu = menus.value(QStringLiteral("mnuWindow"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);
    // File > Recent Files: the last data files opened or saved.
    m_recentMenu = new QMenu(this);
    m_recentMenu->setObjectName(QStringLiteral("mnuFileRecentList"));
    action(QStringLiteral("mnuFileRecent"))->setMenu(m_recentMenu);
    connect(&m_document, &Document::recentFilesChanged, this, &MainWindow::fillRecentMenu);
    fillRecentMenu();

    auto on = [this](const char* name, auto slot) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("mnuFileNew", [this] { m_document.newFromMenu(); });
    on("mnuFileOpen", [this] { m_document.openFile(); });
    on("mnuFileSave", [this] { m_document.save(); });
    on("mnuFileSaveAs", [this] { m_document.saveAs(); });
    on("mnuFileExit", [this] { close(); });
    on("mnuFilePrint", [this] { printPreview(); });
    on("mnuFileExport", [this] { m_document.exportChannels(); });
    on("mnuFileImport", [this] { m_document.importChannels(); });
    on("mnuFileBackups", [this] {
        QDir().mkpath(m_document.backupFolder());
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_document.backupFolder()));
    });
    on("mnuEditUndo", [this] { m_document.undo(); });
    on("mnuEditRedo", [this] { m_document.redo(); });
    on("mnuChannelInfo", [this] { showChildForm(EditorKind::ChannelInfo); });
    on("mnuChannelTable", [this] { showChildForm(EditorKind::ChannelTable); });
    on("mnuTVChannel", [this] { showChildForm(EditorKind::TVChannel); });
    on("mnuOptFeature", [this] { showChildForm(EditorKind::OptFeatures); });
    on("mnuToneTips", [this] { showChildForm(EditorKind::ToneTips); });
    on("mnuEMG", [this] { m_transfers.radioInformation(true); });
    on("mnuReadFromRadio", [this] { m_transfers.read(); });
    on("mnuWriteToRadio", [this] { m_transfers.write(); });
    on("mnuMWriteToRadio", [this] { m_transfers.multiWrite(); });
    on("mnuRadioInfo", [this] { m_transfers.radioInformation(false); });
    on("mnuComm", [this] { portSettings(); });
    on("mnuLanguage", [this] { languageSetup(); });
    on("MnuInitial", [this] { m_document.initialSetting(); });
    on("mnuWindowCascade", [this] { m_mdi->cascadeSubWindows(); });
    on("mnuWindowTileHorizontal", [this] { m_mdi->tileSubWindows(); });
    on("mnuWindowTileVertical", [this] { m_mdi->tileSubWindows(); });
    on("mnuWindowArrangeIcons", [this] { m_mdi->cascadeSubWindows(); });
    on("mnuCloseAll", [this] { closeChildForms(); });
    on("mnuHelpAbout", [this] { about(); });

    // Checking a write by reading it back: off unless chosen, kept per user.
    QAction* verify = action(QStringLiteral("mnuVerifyAfterWrite"));
    verify->setCheckable(true);
    verify->setChecked(userStore().value(QStringLiteral("Settings/VerifyAfterWriting"), false).toBool());
    m_transfers.setVerifyAfterWrite(verify->isChecked());
    connect(verify, &QAction::toggled, this, [this](bool on) {
        m_transfers.setVerifyAfterWrite(on);
        userStore().setValue(QStringLiteral("Settings/VerifyAfterWriting"), on);
    });

    for (const char* name : {"mnuTreeView", "mnuViewToolbar", "mnuViewStatusBar"}) {
        QAction* a = action(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setChecked(true);
    }
    connect(action(QStringLiteral("mnuTreeView")), &QAction::triggered, this,
            [this](bool checked) { m_treePane->setVisible(checked); });
    connect(action(QStringLiteral("mnuViewToolbar")), &QAction::triggered, this,
            [this](bool checked) { m_toolbar->setVisible(checked); });
    connect(action(QStringLiteral("mnuViewStatusBar")), &QAction::triggered, this,
            [this](bool checked) { statusBar()->setVisible(checked); });
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    for (const ToolEntry& t : Tools) {
        if (!*t.key) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction* a = m_toolbar->addAction(icons::toolbarIcon(QString::fromLatin1(t.image)), QString());
        a->setObjectName(QString::fromUtf8(t.key));
        m_tools.insert(QString::fromUtf8(t.key), a);
    }
    auto on = [this](const char* key, auto slot) {
        connect(toolButton(QString::fromUtf8(key)), &QAction::triggered, this, slot);
    };
    on("新建", [this] { m_document.loadNewDoc(); }); // the toolbar's New does not ask
    on("打开", [this] { m_document.openFile(); });
    on("保存", [this] { m_document.save(); });
    on("ReadRadio", [this] { m_transfers.read(); });
    on("CommSet", [this] { portSettings(); });
    on("WriteRadio", [this] { m_transfers.write(); });
    on("MWriteRadio", [this] { m_transfers.multiWrite(); });
    on("About", [this] { about(); });
    on("打印", [this] { printPreview(); });
    toolButton(QStringLiteral("MWriteRadio"))->setVisible(false);
    // The toolbar's own context menu hides it too: the check mark follows.
    connect(m_toolbar, &QToolBar::visibilityChanged, this,
            [this] { action(QStringLiteral("mnuViewToolbar"))->setChecked(!m_toolbar->isHidden()); });
}

void MainWindow::buildTreePane()
{
    m_treePane = new QWidget(this);
    m_treePane->setObjectName(QStringLiteral("Picture1"));
    auto* outer = new QHBoxLayout(m_treePane);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* frame = new QWidget(m_treePane);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(4, 4, 2, 4);
    auto* head = new QHBoxLayout;
    m_treeLabel = new QLabel(m_app.image.modelName, frame);
    m_treeLabel->setObjectName(QStringLiteral("Label1"));
    auto* closeBar = new QToolBar(frame);
    closeBar->setObjectName(QStringLiteral("Toolbar1"));
    closeBar->setIconSize(QSize(12, 12));
    m_treeClose = closeBar->addAction(icons::toolbarIcon(QStringLiteral("Close")), QString());
    m_treeClose->setObjectName(QStringLiteral("删除"));
    connect(m_treeClose, &QAction::triggered, this, [this] {
        m_treePane->hide();
        action(QStringLiteral("mnuTreeView"))->setChecked(false);
    });
    head->addWidget(m_treeLabel, 1);
    head->addWidget(closeBar);
    m_tree = new QTreeWidget(frame);
    m_tree->setObjectName(QStringLiteral("TreeView1"));
    m_tree->setHeaderHidden(true);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { nodeClicked(item); });
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { nodeClicked(item); });
    column->addLayout(head);
    column->addWidget(m_tree, 1);
    outer->addWidget(frame, 1);
    outer->addWidget(new SplitterBar(this, m_treePane));
    m_treePane->setFixedWidth(180);
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    m_modelPanel = new QLabel(bar);
    m_modelPanel->setObjectName(QStringLiteral("Panel2"));
    m_portPanel = new QLabel(bar);
    m_portPanel->setObjectName(QStringLiteral("Panel3"));
    bar->addPermanentWidget(m_modelPanel);
    bar->addPermanentWidget(m_portPanel);
}

// ---------------------------------------------------------------- captions

QString MainWindow::documentCaption() const
{
    const RadioImage& image = m_app.image;
    return image.modelName + QLatin1Char('[') + image.rangeText + QStringLiteral("][") +
           text(TextId::FileNameLabel, m_app.language()) + QLatin1Char(':') +
           datafile::fileTitle(image.currentFileName) + QLatin1Char(']');
}

void MainWindow::updateCaption()
{
    setWindowTitle(documentCaption());
    m_modelPanel->setText(m_app.image.modelName + QLatin1Char('[') + m_app.image.rangeText +
                          QLatin1Char(']'));
}

void MainWindow::showPortPanel(const QString& shown)
{
    m_portPanel->setText(shown);
    m_portPanel->setAccessibleName(mainText(MainText::StatusPortName, m_app.language()).arg(shown));
}

void MainWindow::updatePortPanel()
{
    const quint64 generation = ++m_portPanelGeneration;
    if (!m_portSetting.needsList() || !m_portSetting.listsSystemPorts()) {
        showPortPanel(m_portSetting.shown(m_app.language()));
        return;
    }
    // Listing the system's serial ports reads the device tree, which takes longer
    // than drawing the window: it runs beside it, and the panel shows the port's
    // number until the device's name is known.
    showPortPanel(mainText(MainText::PortLabel, m_app.language()) + QString::number(m_app.settings.comPort));
    auto listed = std::make_shared<QList<ports::PortEntry>>();
    QThread* lister = QThread::create([listed] { *listed = ports::availablePorts(); });
    connect(lister, &QThread::finished, this, [this, lister, listed, generation] {
        lister->deleteLater();
        m_portListers.removeOne(lister);
        // A newer setting or language has been shown meanwhile.
        if (generation == m_portPanelGeneration)
            showPortPanel(m_portSetting.shown(m_app.language(), *listed));
    });
    m_portListers.append(lister);
    lister->start();
}

void MainWindow::applyMainCaptions()
{
    const int lang = m_app.language();
    updatePortPanel();
    m_modelPanel->hide();
    updateCaption();
    int count = 0;
    const MenuEntry* entries = menuEntries(&count);
    for (int k = 0; k < count; ++k)
        if (entries[k].caption.english)
            action(QString::fromLatin1(entries[k].name))->setText(pick(entries[k].caption, lang));
    for (const ToolEntry& t : Tools) {
        if (!*t.key) continue;
        QAction* a = toolButton(QString::fromUtf8(t.key));
        const QString caption = menuCaption(t.tipOf, lang);
        a->setText(plain(caption));
        a->setToolTip(QString::fromUtf8(t.key) == QLatin1String("MWriteRadio") ? QString() : plain(caption));
    }
    m_toolbar->setWindowTitle(mainText(MainText::ToolbarName, lang));
    m_toolbar->setAccessibleName(mainText(MainText::ToolbarName, lang));
    m_tree->setAccessibleName(mainText(MainText::TreeName, lang));
    m_treeClose->setToolTip(mainText(MainText::TreeClose, lang));
    m_treeClose->setText(mainText(MainText::TreeClose, lang));
    m_treePane->findChild<QWidget*>(QStringLiteral("CommandMove"))
        ->setAccessibleName(mainText(MainText::SplitterName, lang));
    m_mdi->setAccessibleName(plain(menuCaption("mnuWindow", lang)));
}

void MainWindow::buildNodeTree()
{
    m_tree->clear();
    const int lang = m_app.language();
    auto* root = new QTreeWidgetItem(m_tree, {m_treeLabel->text()});
    root->setData(0, Qt::UserRole, QStringLiteral("N0"));
    const struct
    {
        const char* key;
        QString text;
    } nodes[] = {
        {"N1", plain(menuCaption("mnuChannelInfo", lang))},
        {"N13", plain(menuCaption("mnuChannelTable", lang))},
        {"N2", plain(menuCaption("mnuOptFeature", lang))},
        {"N12", mainText(MainText::RogerBeepNode, lang)},
    };
    for (const auto& n : nodes) {
        auto* item = new QTreeWidgetItem(root, {n.text});
        item->setData(0, Qt::UserRole, QString::fromLatin1(n.key));
    }
    root->setExpanded(true);
}

void MainWindow::nodeClicked(QTreeWidgetItem* item)
{
    const QString key = item->data(0, Qt::UserRole).toString();
    if (key == QLatin1String("N1"))
        showChildForm(EditorKind::ChannelInfo);
    else if (key == QLatin1String("N13"))
        showChildForm(EditorKind::ChannelTable);
    else if (key == QLatin1String("N2"))
        showChildForm(EditorKind::OptFeatures);
    else if (key == QLatin1String("N12"))
        showChildForm(EditorKind::ToneTips);
}

void MainWindow::changeLanguage()
{
    useQtTranslations(m_app.language());
    applyMainCaptions();
    buildNodeTree();
    fitTreePane();
}

// The tree pane is wide enough for its whole captions.
void MainWindow::fitTreePane()
{
    const auto* frame = m_treePane->findChild<QWidget*>(QStringLiteral("Frame1"));
    const QMargins margins = frame->layout()->contentsMargins();
    int widest = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        int depth = m_tree->rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        widest = qMax(widest, depth * m_tree->indentation() +
                                  m_tree->fontMetrics().horizontalAdvance((*it)->text(0)) +
                                  2 * (m_tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1));
    }
    const int needed = widest + 2 * m_tree->frameWidth() + margins.left() + margins.right() +
                       m_treePane->findChild<QWidget*>(QStringLiteral("CommandMove"))->width() +
                       m_tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (m_treePane->width() < needed) m_treePane->setFixedWidth(needed);
}

void MainWindow::applyLanguageChange()
{
    Settings& s = m_app.settings;
    if (s.currentLanguage == s.previousLanguage) return;
    s.previousLanguage = s.currentLanguage;
    m_app.messenger.setLanguage(s.currentLanguage);
    changeLanguage();
    closeChildForms();
    showChildForm(EditorKind::ChannelInfo);
    m_mdi->cascadeSubWindows();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) applyLanguageChange();
}

void MainWindow::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_document.recentFiles();
    int n = 0;
    for (const QString& path : files) {
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(shown));
        connect(a, &QAction::triggered, this, [this, path] { m_document.openRecent(path); });
    }
    action(QStringLiteral("mnuFileRecent"))->setEnabled(!files.isEmpty());
}

void MainWindow::fillWindowMenu()
{
    for (QAction* a : std::as_const(m_windowListActions)) {
        m_windowMenu->removeAction(a);
        a->deleteLater();
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        QAction* a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w] { m_mdi->setActiveSubWindow(w); });
        m_windowListActions.append(a);
    }
}

// ---------------------------------------------------------------- geometry

void MainWindow::restoreGeometryFromSettings()
{
    QSettings store = userStore();
    store.beginGroup(QStringLiteral("Settings"));
    auto twips = [&](const char* key, int def) {
        bool ok = false;
        const int v = store.value(QString::fromLatin1(key)).toString().toInt(&ok);
        return (ok ? v : def) / TwipsPerPixel;
    };
    QRect r(twips("MainLeft", 100), twips("MainTop", 100), twips("MainWidth", 14500),
            twips("MainHeight", 10500));
    // Kept inside the screen it is shown on.
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        r.setWidth(qBound(320, r.width(), qMax(320, avail.width())));
        r.setHeight(qBound(240, r.height(), qMax(240, avail.height())));
        r.moveLeft(qBound(avail.left(), r.left(), qMax(avail.left(), avail.right() - r.width() + 1)));
        r.moveTop(qBound(avail.top(), r.top(), qMax(avail.top(), avail.bottom() - r.height() + 1)));
    }
    resize(r.size());
    move(r.topLeft());
    if (store.value(QStringLiteral("MainMaximized")).toString() == QLatin1String("1"))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::storeGeometry()
{
    if (isMinimized()) return;
    QSettings store = userStore();
    store.beginGroup(QStringLiteral("Settings"));
    // A maximised window keeps the place it goes back to.
    const bool maximized = isMaximized();
    const QRect frame = maximized ? normalGeometry() : frameGeometry();
    const QSize size = maximized ? normalGeometry().size() : this->size();
    store.setValue(QStringLiteral("MainLeft"), QString::number(frame.left() * TwipsPerPixel));
    store.setValue(QStringLiteral("MainTop"), QString::number(frame.top() * TwipsPerPixel));
    store.setValue(QStringLiteral("MainWidth"), QString::number(size.width() * TwipsPerPixel));
    store.setValue(QStringLiteral("MainHeight"), QString::number(size.height() * TwipsPerPixel));
    store.setValue(QStringLiteral("MainMaximized"), maximized ? QStringLiteral("1") : QStringLiteral("0"));
}

void MainWindow::dragSplitter(int dx)
{
    const int w = m_treePane->width() + dx;
    if (w < MinTreeWidth || w > centralWidget()->width()) return;
    m_treePane->setFixedWidth(w);
}

// ---------------------------------------------------------------- editors

EditorWindow* MainWindow::editor(EditorKind kind) const
{
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<EditorWindow*>(w->widget()); e && e->kind() == kind) return e;
    return nullptr;
}

EditorWindow* MainWindow::showChildForm(EditorKind kind)
{
    if (EditorWindow* open = editor(kind)) {
        m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open->parentWidget()));
        open->setFocus();
        return open;
    }
    EditorWindow* e = createEditor(kind, m_context);
    e->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = m_mdi->addSubWindow(e);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The editor's own Close button closes its window.
    connect(e, &QObject::destroyed, sub, [sub] { sub->close(); });
    connect(e, &EditorWindow::edited, &m_document, &Document::recordEdit);
    connect(e, &EditorWindow::notice, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });
    e->show();
    m_mdi->cascadeSubWindows();
    return e;
}

void MainWindow::commitEditors()
{
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<EditorWindow*>(w->widget())) e->commitPending();
}

void MainWindow::closeChildForms(bool commit)
{
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* w : windows) {
        if (auto* e = qobject_cast<EditorWindow*>(w->widget())) {
            if (commit) e->commitPending();
            e->stopActivity();
            e->setParent(nullptr);
            delete e;
        }
        m_mdi->removeSubWindow(w);
        delete w;
    }
}

void MainWindow::updateUndoActions()
{
    action(QStringLiteral("mnuEditUndo"))->setEnabled(m_document.canUndo());
    action(QStringLiteral("mnuEditRedo"))->setEnabled(m_document.canRedo());
}

// The editors show the image anew, in the same places.
void MainWindow::reopenEditors()
{
    QList<EditorKind> kinds;
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::StackingOrder);
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<EditorWindow*>(w->widget())) kinds.append(e->kind());
    closeChildForms(false);
    for (EditorKind kind : kinds)
        showChildForm(kind);
    updateCaption();
    updateUndoActions();
}

// A new image: the channel editor opened (the caption follows captionChanged).
void MainWindow::showNewImage()
{
    showChildForm(EditorKind::ChannelInfo);
    m_mdi->cascadeSubWindows();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A transfer runs in its own window; it ends there first.
    if (m_transfers.isRunning() || !m_document.askSaveIfModified()) {
        event->ignore();
        return;
    }
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<EditorWindow*>(w->widget())) e->stopActivity();
    storeGeometry();
    event->accept();
}

void MainWindow::printPreview()
{
    commitEditors();
    showPrintPreview(m_app, this);
}

void MainWindow::portSettings()
{
    PortDialog dialog(m_app, m_portSetting, this);
    dialog.exec();
    updatePortPanel();
}

void MainWindow::languageSetup()
{
    LanguageDialog dialog(m_app, this);
    dialog.exec();
    // Applied as soon as the dialog closes.
    applyLanguageChange();
}

void MainWindow::about()
{
    AboutDialog dialog(m_app.language(), this);
    dialog.exec();
}

} // namespace mx
