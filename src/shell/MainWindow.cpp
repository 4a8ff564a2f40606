#include "shell/MainWindow.h"

#include "app/Backups.h"
#include "app/Startup.h"
#include "data/ChannelCsv.h"
#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/FileWrite.h"
#include "data/VersionTable.h"
#include "link/MemoryCodec.h"
#include "link/SerialPortLink.h"
#include "link/Session.h"
#include "link/Verify.h"
#include "shell/Dialogs.h"
#include "shell/Icons.h"
#include "shell/PrintPreview.h"
#include "shell/QtTranslations.h"
#include "texts/MainTexts.h"
#include "texts/Texts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace mx {

namespace {

// Window sizes are kept in twips, 15 to a logical pixel.
constexpr int TwipsPerPixel = 15;
constexpr int MinTreeWidth = 300 / TwipsPerPixel;

class DialogChooser : public FileChooser
{
public:
    QString openFile(QWidget* parent, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    }
    QString saveFile(QWidget* parent, const QString& proposed, const QString& filter) override
    {
        QFileDialog dialog(parent, QString(), proposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The filter's own suffix: "Data File (*.dat)" gives "dat".
        dialog.setDefaultSuffix(filter.section(QStringLiteral("*."), 1).section(QLatin1Char(')'), 0, 0));
        dialog.selectFile(proposed);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    }
};

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
    : QMainWindow(parent), m_app(app), m_ownChooser(std::make_unique<DialogChooser>()),
      m_chooser(m_ownChooser.get()), m_ownLauncher(std::make_unique<ProcessLauncher>()), m_comNumbers(
#ifdef Q_OS_WIN
                                                                                             true
#else
                                                                                             false
#endif
                                                                                             ),
      m_context{app.image, app.messenger}
{
    m_launcher = m_ownLauncher.get();
    m_portLister = [] { return ports::availablePorts(); };
    m_radioCountAsker = [this] {
        bool ok = false;
        const int n =
            QInputDialog::getInt(this, mainText(MainText::RadioCountTitle, language()),
                                 mainText(MainText::RadioCountPrompt, language()), 1, 1, 9999, 1, &ok);
        return ok ? n : 0;
    };

    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(icons::appIcon());

    m_port = new SerialPortLink(this);
    m_session = new Session(*m_port, app.image, app.versions, app.messenger, this);
    m_session->setSoftwareStarter([this](const QString& version) { handOverTo(version); });
    connect(m_session, &Session::progress, this, [this](int percent) {
        if (m_progress) m_progress->setPercent(percent);
    });
    connect(m_session, &Session::radioChanged, this, [this](int number) {
        if (m_progress) m_progress->setRadio(number);
    });
    connect(m_session, &Session::waitingForNextRadio, this, [this](bool waiting) {
        if (m_progress) m_progress->setWaiting(waiting);
    });
    connect(m_session, &Session::verifyingRadio, this, [this](bool verifying) {
        if (m_progress) m_progress->setVerifying(verifying);
    });
    connect(m_session, &Session::transferEnded, this, [this] {
        if (m_progress) m_progress->finish();
    });
    connect(m_session, &Session::imageAboutToBeReplaced, this, [this] { closeChildForms(); });
    connect(m_session, &Session::imageReplaced, this, &MainWindow::imageReplaced);
    connect(m_session, &Session::finished, this, &MainWindow::sessionEnded);
    m_backupFolder = backups::defaultFolder();
    connect(&app.image, &RadioImage::captionChanged, this, &MainWindow::updateCaption);

    m_timerWrite.setSingleShot(true);
    m_timerWrite.setInterval(20);
    connect(&m_timerWrite, &QTimer::timeout, this, [this] {
        m_port->setPortName(ports::deviceFor(m_app.settings.comPort, m_app.settings.comPortName));
        if (!m_session->startWrite()) return explainRefusedPort();
        m_pending = Pending::Write;
        m_written = m_session->radioMemory();
        backUp(QStringLiteral("write"));
        startProgress(false, 0);
    });
    m_timerReNew.setSingleShot(true);
    m_timerReNew.setInterval(200);
    connect(&m_timerReNew, &QTimer::timeout, this, &MainWindow::loadNewDoc);

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
    applyMainCaptions();
    buildNodeTree();
    loadNewDoc();
}

MainWindow::~MainWindow()
{
    // Editors go before the image they show, and the session before its port.
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<EditorWindow*>(w->widget())) e->stopActivity();
    delete m_session;
}

void MainWindow::setFileChooser(FileChooser* chooser)
{
    m_chooser = chooser ? chooser : m_ownChooser.get();
}

void MainWindow::setLauncher(Launcher* launcher)
{
    m_launcher = launcher ? launcher : m_ownLauncher.get();
}

void MainWindow::setPortLister(std::function<QList<ports::PortEntry>()> lister, bool comNumbers)
{
    m_portLister = std::move(lister);
    m_comNumbers = comNumbers;
    applyMainCaptions();
}

void MainWindow::setRadioCountAsker(std::function<int()> asker)
{
    m_radioCountAsker = std::move(asker);
}

QAction* MainWindow::action(const QString& name) const
{
    return m_actions.value(name);
}

QAction* MainWindow::toolButton(const QString& key) const
{
    return m_tools.value(key);
}

int MainWindow::language() const
{
    return m_app.messenger.language() == Chinese ? Chinese : English;
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
            if (*e.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        }
        action->setObjectName(name);
        action->setVisible(e.shown);
        m_actions.insert(name, action);
    }
    m_windowMenu = menus.value(QStringLiteral("mnuWindow"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);

    auto on = [this](const char* name, auto slot) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("mnuFileNew", [this] { newFromMenu(); });
    on("mnuFileOpen", [this] { openFile(); });
    on("mnuFileSave", [this] { save(); });
    on("mnuFileSaveAs", [this] { saveAs(); });
    on("mnuFileExit", [this] { close(); });
    on("mnuFilePrint", [this] { printPreview(); });
    on("mnuFileExport", [this] { exportChannels(); });
    on("mnuFileImport", [this] { importChannels(); });
    on("mnuFileBackups", [this] {
        QDir().mkpath(m_backupFolder);
        QDesktopServices::openUrl(QUrl::fromLocalFile(m_backupFolder));
    });
    on("mnuEditUndo", [this] { undo(); });
    on("mnuEditRedo", [this] { redo(); });
    on("mnuChannelInfo", [this] { showChildForm(EditorKind::ChannelInfo); });
    on("mnuTVChannel", [this] { showChildForm(EditorKind::TVChannel); });
    on("mnuOptFeature", [this] { showChildForm(EditorKind::OptFeatures); });
    on("mnuToneTips", [this] { showChildForm(EditorKind::ToneTips); });
    on("mnuEMG", [this] { radioInformation(true); });
    on("mnuReadFromRadio", [this] { readFromRadio(); });
    on("mnuWriteToRadio", [this] { writeToRadio(); });
    on("mnuMWriteToRadio", [this] { multiWriteToRadio(); });
    on("mnuRadioInfo", [this] { radioInformation(false); });
    on("mnuComm", [this] { portSettings(); });
    on("mnuLanguage", [this] { languageSetup(); });
    on("MnuInitial", [this] { initialSetting(); });
    on("mnuWindowCascade", [this] { m_mdi->cascadeSubWindows(); });
    on("mnuWindowTileHorizontal", [this] { m_mdi->tileSubWindows(); });
    on("mnuWindowTileVertical", [this] { m_mdi->tileSubWindows(); });
    on("mnuWindowArrangeIcons", [this] { m_mdi->cascadeSubWindows(); });
    on("mnuCloseAll", [this] { closeChildForms(); });
    on("mnuHelpAbout", [this] { about(); });

    // Checking a write by reading it back: off unless chosen, kept per user.
    QAction* verify = action(QStringLiteral("mnuVerifyAfterWrite"));
    verify->setCheckable(true);
    verify->setChecked(QSettings(QStringLiteral("MX_806TR"), QStringLiteral("MX_806TR"))
                           .value(QStringLiteral("Settings/VerifyAfterWriting"), false)
                           .toBool());
    connect(verify, &QAction::toggled, this, [](bool on) {
        QSettings(QStringLiteral("MX_806TR"), QStringLiteral("MX_806TR"))
            .setValue(QStringLiteral("Settings/VerifyAfterWriting"), on);
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
    on("新建", [this] { loadNewDoc(); }); // the toolbar's New does not ask
    on("打开", [this] { openFile(); });
    on("保存", [this] { save(); });
    on("ReadRadio", [this] { readFromRadio(); });
    on("CommSet", [this] { portSettings(); });
    on("WriteRadio", [this] { writeToRadio(); });
    on("MWriteRadio", [this] { multiWriteToRadio(); });
    on("About", [this] { about(); });
    on("打印", [this] { printPreview(); });
    toolButton(QStringLiteral("MWriteRadio"))->setVisible(false);
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

QString MainWindow::portText() const
{
    const Settings& s = m_app.settings;
    // "COM3" / "通信口3"; the device's name where the system has no COM numbers.
    if (!m_comNumbers || !s.comPortName.trimmed().isEmpty()) {
        const QString device = ports::deviceFor(s.comPort, s.comPortName, m_portLister());
        if (!device.isEmpty()) return device;
    }
    return mainText(MainText::PortLabel, language()) + QString::number(s.comPort);
}

QString MainWindow::fileFilter() const
{
    return text(TextId::DataFileFilterName, language()) + QStringLiteral(" (*.dat)");
}

QString MainWindow::documentCaption() const
{
    const RadioImage& image = m_app.image;
    return image.modelName + QLatin1Char('[') + image.rangeText + QStringLiteral("][") +
           text(TextId::FileNameLabel, language()) + QLatin1Char(':') +
           datafile::fileTitle(image.currentFileName) + QLatin1Char(']');
}

void MainWindow::updateCaption()
{
    setWindowTitle(documentCaption());
    m_modelPanel->setText(m_app.image.modelName + QLatin1Char('[') + m_app.image.rangeText +
                          QLatin1Char(']'));
}

void MainWindow::applyMainCaptions()
{
    const int lang = language();
    m_portPanel->setText(portText());
    m_portPanel->setAccessibleName(mainText(MainText::StatusPortName, lang));
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
        // The tool tip is the menu caption as it stands, access key mark included.
        a->setToolTip(QString::fromUtf8(t.key) == QLatin1String("MWriteRadio") ? QString() : caption);
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
    const int lang = language();
    auto* root = new QTreeWidgetItem(m_tree, {m_treeLabel->text()});
    root->setData(0, Qt::UserRole, QStringLiteral("N0"));
    const struct
    {
        const char* key;
        QString text;
    } nodes[] = {
        {"N1", plain(menuCaption("mnuChannelInfo", lang))},
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
    else if (key == QLatin1String("N2"))
        showChildForm(EditorKind::OptFeatures);
    else if (key == QLatin1String("N12"))
        showChildForm(EditorKind::ToneTips);
}

void MainWindow::changeLanguage()
{
    useQtTranslations(language());
    applyMainCaptions();
    buildNodeTree();
}

void MainWindow::applyLanguageChange()
{
    Settings& s = m_app.settings;
    if (s.currentLanguage == s.previousLanguage) return;
    s.previousLanguage = s.currentLanguage;
    m_app.messenger.setLanguage(s.currentLanguage);
    changeLanguage();
    closeChildForms();
    openChannelEditorAndCascade();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) applyLanguageChange();
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
    QSettings store(QStringLiteral("MX_806TR"), QStringLiteral("MX_806TR"));
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
}

void MainWindow::storeGeometry()
{
    if (isMinimized()) return;
    QSettings store(QStringLiteral("MX_806TR"), QStringLiteral("MX_806TR"));
    store.beginGroup(QStringLiteral("Settings"));
    const QRect r = frameGeometry();
    store.setValue(QStringLiteral("MainLeft"), QString::number(r.left() * TwipsPerPixel));
    store.setValue(QStringLiteral("MainTop"), QString::number(r.top() * TwipsPerPixel));
    store.setValue(QStringLiteral("MainWidth"), QString::number(width() * TwipsPerPixel));
    store.setValue(QStringLiteral("MainHeight"), QString::number(height() * TwipsPerPixel));
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
    connect(e, &EditorWindow::edited, this, [this] {
        m_history.record(m_app.image);
        updateUndoActions();
    });
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

void MainWindow::resetHistory()
{
    m_history.reset(m_app.image);
    updateUndoActions();
}

void MainWindow::updateUndoActions()
{
    action(QStringLiteral("mnuEditUndo"))->setEnabled(m_history.canUndo());
    action(QStringLiteral("mnuEditRedo"))->setEnabled(m_history.canRedo());
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

void MainWindow::undo()
{
    commitEditors();
    m_history.record(m_app.image); // what was just typed is an edit of its own
    if (m_history.undo(m_app.image)) reopenEditors();
}

void MainWindow::redo()
{
    commitEditors();
    m_history.record(m_app.image);
    if (m_history.redo(m_app.image)) reopenEditors();
}

void MainWindow::openChannelEditorAndCascade()
{
    showChildForm(EditorKind::ChannelInfo);
    m_mdi->cascadeSubWindows();
}

// ---------------------------------------------------------------- documents

void MainWindow::newFromMenu()
{
    if (m_app.messenger.ask(TextId::AllDataCleared, Buttons::OkCancel, Icon::Exclamation) == Answer::Ok)
        loadNewDoc();
}

void MainWindow::loadNewDoc()
{
    closeChildForms();
    RadioImage& image = m_app.image;
    // A new document is untitled: the first save asks for a name.
    if (defaults::loadTemplate(image, defaults::templatePath(m_app.programDir, image, true))) {
        image.currentFileName = QStringLiteral("new.dat");
        image.isNewDocument = true;
    }
    changeLanguage();
    openChannelEditorAndCascade();
    updateCaption();
    resetHistory();
}

bool MainWindow::askSaveIfModified()
{
    commitEditors();
    if (!datafile::isModified(m_app.image)) return true;
    switch (m_app.messenger.ask(TextId::FileModified, Buttons::YesNoCancel, Icon::Exclamation)) {
    case Answer::Yes:
        return save(); // a cancelled or failed save stops the command
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::openFile()
{
    if (!askSaveIfModified()) return;
    const QString path = m_chooser->openFile(this, fileFilter());
    if (path.isEmpty()) return;
    closeChildForms();
    const Handover h = handover();
    if (datafile::loadDataFile(m_app.image, path, m_app.versions, m_app.messenger, &h) ==
        datafile::LoadStatus::Ok) {
        changeLanguage();
        openChannelEditorAndCascade();
        resetHistory();
    }
    updateCaption();
}

bool MainWindow::save()
{
    commitEditors();
    RadioImage& image = m_app.image;
    if (image.isNewDocument) return saveAs();
    const QString question = QLatin1Char('"') + datafile::fileTitle(image.currentFileName) +
                             QLatin1Char('"') + text(TextId::OverwriteContinue, language());
    if (m_app.messenger.ask(question, Buttons::OkCancel, Icon::Question) != Answer::Ok) return false;
    return saveTo(image.currentFileName);
}

bool MainWindow::saveAs()
{
    commitEditors();
    const QString path = m_chooser->saveFile(this, m_app.image.currentFileName, fileFilter());
    if (path.isEmpty()) return false;
    return saveTo(path);
}

bool MainWindow::saveTo(const QString& path)
{
    const bool ok = datafile::saveDataFile(m_app.image, path, m_app.messenger);
    updateCaption();
    return ok;
}

void MainWindow::initialSetting()
{
    closeChildForms();
    defaults::loadTemplate(m_app.image, defaults::templatePath(m_app.programDir, m_app.image, false));
    openChannelEditorAndCascade();
    updateCaption();
    resetHistory();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A transfer runs in its own window; it ends there first.
    if (m_session->isRunning() || !askSaveIfModified()) {
        event->ignore();
        return;
    }
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    for (QMdiSubWindow* w : windows)
        if (auto* e = qobject_cast<EditorWindow*>(w->widget())) e->stopActivity();
    storeGeometry();
    event->accept();
}

// ---------------------------------------------------------------- version hand-over

Handover MainWindow::handover()
{
    Handover h;
    h.installRoot = m_app.installRoot;
    h.executableName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    h.launcher = m_launcher;
    auto ask = askSaveBeforeHandover(m_app.image, m_app.messenger, [this] {
        commitEditors();
        return m_app.image.isNewDocument ? saveAs() : saveTo(m_app.image.currentFileName);
    });
    h.beforeHandover = [this, ask] {
        commitEditors();
        if (!ask()) return false;
        m_port->close();
        return true;
    };
    return h;
}

void MainWindow::handOverTo(const QString& version)
{
    startSoftwareFor(version, m_app.versions, handover(), m_app.messenger);
}

// ---------------------------------------------------------------- radio

void MainWindow::startProgress(bool reading, int radios)
{
    m_progress = new ProgressWindow(reading, radios, language(), this);
    connect(m_progress, &ProgressWindow::cancelRequested, this, [this] {
        if (m_session->isRunning())
            m_session->cancel();
        else
            m_progress->finish();
    });
    m_progress->show();
}

void MainWindow::readFromRadio()
{
    commitEditors();
    m_port->setPortName(ports::deviceFor(m_app.settings.comPort, m_app.settings.comPortName));
    if (m_session->startRead())
        startProgress(true, 0);
    else
        explainRefusedPort();
}

void MainWindow::writeToRadio()
{
    // A value still being typed goes with the write; the write starts from a timer.
    commitEditors();
    m_timerWrite.start();
}

void MainWindow::multiWriteToRadio()
{
    commitEditors();
    const int radios = m_radioCountAsker();
    if (radios < 1) return;
    m_port->setPortName(ports::deviceFor(m_app.settings.comPort, m_app.settings.comPortName));
    m_session->setVerifyEachRadio(action(QStringLiteral("mnuVerifyAfterWrite"))->isChecked());
    if (!m_session->startMultiWrite(radios)) return explainRefusedPort();
    backUp(QStringLiteral("write"));
    startProgress(false, radios);
}

void MainWindow::radioInformation(bool fillMemory)
{
    m_port->setPortName(ports::deviceFor(m_app.settings.comPort, m_app.settings.comPortName));
    m_session->startHandshakeOnly(fillMemory);
}

void MainWindow::imageReplaced()
{
    // The radio's contents are kept before anything else happens to them.
    backUp(QStringLiteral("read"));
    changeLanguage();
    openChannelEditorAndCascade();
    updateCaption();
    resetHistory();
}

void MainWindow::backUp(const QString& kind)
{
    QString error;
    // A backup that cannot be written is reported once the port is closed; the transfer goes on.
    if (backups::save(m_app.image, m_backupFolder, kind, &error).isEmpty())
        m_app.messenger.queue(mainText(MainText::BackupFailed, language()) + error);
}

void MainWindow::sessionEnded(SessionOutcome outcome)
{
    const Pending pending = std::exchange(m_pending, Pending::None);
    if (pending == Pending::Write && outcome == SessionOutcome::Completed &&
        action(QStringLiteral("mnuVerifyAfterWrite"))->isChecked()) {
        // After "Write Data Completed." the radio is read back in a session of its own.
        QTimer::singleShot(0, this, &MainWindow::startVerify);
    } else if (pending == Pending::Verify && outcome == SessionOutcome::Completed) {
        const VerifyResult result = compareWritten(m_written, m_session->radioMemory());
        if (result.ok)
            m_app.messenger.ask(mainText(MainText::VerifyPassed, language()), Buttons::Ok, Icon::Information);
        else
            m_app.messenger.ask(verifyFailedMessage(result), Buttons::Ok, Icon::Exclamation);
    } else if (outcome == SessionOutcome::VerifyFailed) {
        // A multi-radio write stopped at the radio that does not hold what was written.
        m_app.messenger.ask(
            verifyFailedMessage(m_session->verifyResult()) + QStringLiteral("\r\n") +
                mainText(MainText::VerifyFailedRadio, language()).arg(m_session->radiosWritten() + 1),
            Buttons::Ok, Icon::Exclamation);
    }
}

QString MainWindow::verifyFailedMessage(const VerifyResult& result) const
{
    return mainText(MainText::VerifyFailedAt, language()) + QLatin1Char(' ') + verifyPlace(result) +
           QLatin1Char('.');
}

void MainWindow::explainRefusedPort()
{
    if (m_session->lastOutcome() == SessionOutcome::PortError &&
        m_port->errorString().contains(QLatin1String("ermission")))
        m_app.messenger.ask(mainText(MainText::PortAccessHint, language()), Buttons::Ok, Icon::Information);
}

void MainWindow::startVerify()
{
    if (!m_session->startVerify()) return;
    m_pending = Pending::Verify;
    startProgress(true, 0);
}

void MainWindow::printPreview()
{
    commitEditors();
    showPrintPreview(m_app, this);
}

void MainWindow::exportChannels()
{
    commitEditors();
    const QString proposed =
        QFileInfo(m_app.image.currentFileName).completeBaseName() + QStringLiteral(".csv");
    const QString path = m_chooser->saveFile(
        this, proposed, mainText(MainText::CsvFilterName, language()) + QStringLiteral(" (*.csv)"));
    if (path.isEmpty()) return;
    QSaveFile file(path);
    const QByteArray csv = channelcsv::exportChannels(m_app.image);
    if (!file.open(QIODevice::WriteOnly) || !writeComplete(file, csv) || !file.commit())
        m_app.messenger.ask(TextId::FileError, Buttons::Ok, Icon::Exclamation);
}

void MainWindow::importChannels()
{
    commitEditors();
    const QString path =
        m_chooser->openFile(this, mainText(MainText::CsvFilterName, language()) + QStringLiteral(" (*.csv)"));
    if (path.isEmpty()) return;
    QFile file(path);
    // A channel list holds at most a few thousand short lines.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4 * 1024 * 1024) {
        m_app.messenger.ask(TextId::FileError, Buttons::Ok, Icon::Exclamation);
        return;
    }
    const channelcsv::ImportResult result =
        channelcsv::importChannels(m_app.image, file.readAll(), language());
    if (!result.ok) {
        m_app.messenger.ask(result.message, Buttons::Ok, Icon::Exclamation);
        return;
    }
    // The whole list is one edit: it can be undone.
    m_history.record(m_app.image);
    reopenEditors();
}

// ---------------------------------------------------------------- dialogs

void MainWindow::portSettings()
{
    PortDialog dialog(m_app, m_portLister, m_comNumbers, this);
    dialog.exec();
    applyMainCaptions();
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
    AboutDialog dialog(language(), this);
    dialog.exec();
}

} // namespace mx
