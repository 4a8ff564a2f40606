// The desktop program's main window: commands, questions and transfers,
// with questions answered by the test prompter and file boxes by a script.

#include "TestPrompter.h"
#include "app/Startup.h"
#include "data/ChannelTable.h"
#include "data/DataFile.h"
#include "data/TestSupport.h"
#include "e2e/E2e.h"
#include "editors/ChannelTableEditor.h"
#include "link/MemoryCodec.h"
#include "link/SerialPortLink.h"
#include "link/Session.h"
#include "shell/ChannelListDialog.h"
#include "shell/Dialogs.h"
#include "shell/MainWindow.h"
#include "shell/ProgressWindow.h"
#include "texts/MainTexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace mx;

namespace {

class ScriptedChooser : public FileChooser
{
public:
    QStringList answers;               // next paths; "" cancels
    QStringList offered;               // where each box started: its folder, or the path it proposed
    QList<ChannelListChoice> listings; // next layouts and bands of channel lists
    int opens = 0, saves = 0;
    bool chooseChannelList(bool, ChannelListChoice& choice) override
    {
        if (!listings.isEmpty()) choice = listings.takeFirst();
        return true;
    }
    QString openFile(const QString& folder, const QString&) override
    {
        ++opens;
        offered << folder;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString saveFile(const QString& proposed, const QString&) override
    {
        ++saves;
        offered << proposed;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// One program: start-up under its own install root, the window, scripted answers.
struct Program
{
    explicit Program(const QString& root, int language = English)
    {
        e2e::makeRoot(root, "[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nHandshaking=0\r\nStopBit=0\r\n"
                            "CurrentLanguage=" +
                                QByteArray::number(language) + "\r\n");
        app.startUp(e2e::binDir(), root, test::FixedLocale(Chinese));
        window = std::make_unique<MainWindow>(app);
        window->document().setFileChooser(&chooser);
        window->show();
    }
    test::TestPrompter prompter;
    App app{prompter};
    ScriptedChooser chooser;
    std::unique_ptr<MainWindow> window;

    RadioImage& image() { return app.image; }
    void edit() { image().addChannel(9, 0, 1, QStringLiteral("29.0")); }
};

// What the image sends to a radio.
QByteArray radioBytes(const RadioImage& image)
{
    QByteArray memory(RadioMemorySize, '\0');
    fillRadioMemory(memory);
    encodeImage(image, memory);
    return memory;
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString root(const char* name) { return m_dir.filePath(QString::fromLatin1(name)); }

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath("config"));
        QCoreApplication::setApplicationName(QStringLiteral("MX_806TR"));
    }
    // Each case starts without a kept window position, folder or recent files.
    void init() { QSettings(QStringLiteral("MX_806TR"), QStringLiteral("MX_806TR")).clear(); }

    void startsWithMenusToolbarTreeAndChannelEditor()
    {
        Program p(root("start"));
        MainWindow& w = *p.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("MX-806TR[28.0000 - 29.7000 MHz][File Name:new.dat]"));
        QVERIFY(w.action("mnuFileNew")->isVisible());
        QVERIFY(w.action("mnuFilePrint")->isVisible());
        QVERIFY(!w.action("mnuMWriteToRadio")->isVisible());
        QVERIFY(!w.toolButton("MWriteRadio")->isVisible());
        const QList<std::pair<const char*, const char*>> keys = {
            {"mnuFileOpen", "Ctrl+O"}, {"mnuFileSave", "Ctrl+S"}, {"mnuFilePrint", "Ctrl+P"},
            {"mnuFileExit", "Ctrl+Q"}, {"mnuEditUndo", "Ctrl+Z"}, {"mnuEditRedo", "Ctrl+Y"}};
        for (const auto& [name, key] : keys)
            QVERIFY2(w.action(name)->shortcuts().contains(QKeySequence(QString::fromLatin1(key))), name);
        QCOMPARE(w.toolButton("ReadRadio")->toolTip(), QStringLiteral("Read from Radio"));
        for (const char* key :
             {"新建", "打开", "保存", "打印", "ReadRadio", "CommSet", "WriteRadio", "About"})
            QVERIFY2(!w.toolButton(QString::fromUtf8(key))->icon().isNull(), key);
        QCOMPARE(w.tree()->topLevelItem(0)->childCount(), 4);
        QVERIFY(w.editor(EditorKind::ChannelInfo));
        // The port panel: COM numbers where the system has them, the device's name elsewhere;
        // port 1 kept by number is looked up among the system's ports beside the window.
        QTRY_VERIFY(w.portPanel()->text().startsWith(QLatin1String("/dev/")));
        const auto listed = [] { return QList<ports::PortEntry>{{1, "COM1", "/dev/ttyUSB0", {}}}; };
        w.setPortLister(listed, false);
        QCOMPARE(w.portPanel()->text(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(w.portPanel()->accessibleName(), QStringLiteral("Serial port: /dev/ttyUSB0"));
        w.setPortLister(listed, true);
        QCOMPARE(w.portPanel()->text(), QStringLiteral("COM1"));
        p.app.settings.comPort = 0; // none chosen (or no port number in the settings): never COM0 or COM1
        w.setPortLister(listed, true);
        QCOMPARE(w.portPanel()->text(), QStringLiteral("No port"));
        // The toolbar hidden from its own context menu: View > Toolbar follows.
        w.findChild<QToolBar*>("tbToolBar")->hide();
        QVERIFY(!w.action("mnuViewToolbar")->isChecked());
        w.action("mnuViewToolbar")->trigger();
        QVERIFY(w.findChild<QToolBar*>("tbToolBar")->isVisible());
    }

    // The tree pane is as wide as its captions need, in both languages and with a large font.
    void treePaneShowsWholeCaptions_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << int(English);
        QTest::newRow("Chinese") << int(Chinese);
    }
    void treePaneShowsWholeCaptions()
    {
        QFETCH(int, language);
        const QFont font = QApplication::font();
        QFont large = font;
        large.setPointSizeF(font.pointSizeF() * 1.8);
        QApplication::setFont(large);
        Program p(root(QTest::currentDataTag()), language);
        QApplication::setFont(font);
        QTreeWidget* tree = p.window->tree();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            QVERIFY2(tree->visualItemRect(*it).left() +
                             tree->fontMetrics().horizontalAdvance((*it)->text(0)) <
                         tree->viewport()->width(),
                     qPrintable((*it)->text(0)));
    }

    // The dialog's choice takes effect when it closes: captions, editors reopened.
    void languageSwitchReappliesCaptions()
    {
        Program p(root("lang"));
        MainWindow& w = *p.window;
        w.setPortLister([] { return QList<ports::PortEntry>{}; }, true);
        w.showChildForm(EditorKind::OptFeatures);
        LanguageDialog dialog(p.app);
        QCOMPARE(dialog.combo()->count(), 2); // a Chinese system offers both
        dialog.combo()->setCurrentIndex(1);
        dialog.confirm();
        w.applyLanguageChange();
        QCOMPARE(w.action("mnuFile")->text(), QStringLiteral("文件&F"));
        QCOMPARE(w.portPanel()->text(), QStringLiteral("通信口1"));
        QVERIFY(w.windowTitle().endsWith(QStringLiteral("[文件名:new.dat]")));
        QCOMPARE(w.toolButton("WriteRadio")->toolTip(), QStringLiteral("向对讲机写入数据"));
        QCOMPARE(w.portPanel()->accessibleName(), QStringLiteral("串行端口：通信口1"));
        QCOMPARE(w.tree()->topLevelItem(0)->child(1)->text(0), QStringLiteral("信道表"));
        QCOMPARE(w.tree()->topLevelItem(0)->child(3)->text(0), QStringLiteral("RB音"));
        // Qt's own buttons and dialogs speak the program's language too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
        QVERIFY(!w.editor(EditorKind::OptFeatures));
        QVERIFY(w.editor(EditorKind::ChannelInfo));
        QVERIFY(test::readFile(root("lang") + "/language/mysetup.ini").contains("CurrentLanguage=2"));
        // The dialog now lists the names in Chinese and shows the current one.
        LanguageDialog again(p.app);
        QCOMPARE(again.combo()->currentText(), QStringLiteral("中文"));
        again.combo()->setCurrentIndex(0);
        again.confirm();
        w.applyLanguageChange();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
    }

    void newAsksFromMenuButNotFromToolbar()
    {
        Program p(root("new"));
        RadioImage fresh;
        fresh.work = p.image().work;
        fresh.workChannels = p.image().workChannels;
        p.edit();
        p.prompter.script = {Answer::Cancel};
        p.window->action("mnuFileNew")->trigger();
        QCOMPARE(p.prompter.texts(), QStringList{"All data will be cleared."});
        QVERIFY(datafile::isModified(p.image()));
        p.window->toolButton("新建")->trigger();
        QCOMPARE(p.prompter.shown.size(), 1);
        QVERIFY(p.image().work == fresh.work);
        // The channels in use, as a channel file holds them.
        QCOMPARE(datafile::encodeChannels(p.image().work, p.image().workChannels),
                 datafile::encodeChannels(fresh.work, fresh.workChannels));
        QVERIFY(!datafile::isModified(p.image()));
    }

    // Save of a never-saved document asks for a name; later saves ask before overwriting.
    void saveOfNewDocumentAsksForAName()
    {
        Program p(root("save"));
        const QString path = root("save") + "/mine.dat";
        p.chooser.answers = {path};
        QVERIFY(p.window->document().save());
        QCOMPARE(p.chooser.saves, 1);
        QVERIFY(p.prompter.shown.isEmpty());
        QVERIFY(QFile::exists(path) && QFile::exists(root("save") + "/mine.fre"));
        QVERIFY(p.window->windowTitle().endsWith(QStringLiteral("[File Name:mine.dat]")));
        p.prompter.script = {Answer::Cancel};
        QVERIFY(!p.window->document().save());
        QCOMPARE(p.prompter.texts(), QStringList{"\"mine.dat\"file will be Overwrite,Continue?"});
        // New gives an untitled document again: Save asks for a name instead of overwriting.
        p.window->document().loadNewDoc();
        p.chooser.answers = {QString()};
        QVERIFY(!p.window->document().save());
        QCOMPARE(p.chooser.saves, 2);
    }

    // Edits undone one by one give the original image byte for byte and Redo
    // goes forward again. Looking at another band is no step and keeps Redo;
    // Undo of a range family change puts the family back (caption, channel
    // window); Setup > Initial Setting is one step.
    void undoAndRedo()
    {
        Program p(root("undo"));
        MainWindow& w = *p.window;
        auto choose = [&](const char* name, int index) {
            auto* box = w.editor(EditorKind::ChannelInfo)->findChild<QComboBox*>(name);
            box->setCurrentIndex(index);
            Q_EMIT box->activated(index);
        };
        auto bytes = [&]() -> QByteArray {
            return datafile::encodeRecord(p.image().work) +
                   datafile::encodeChannels(p.image().work, p.image().workChannels);
        };
        auto channels = [&] { return datafile::encodeChannels(p.image().work, p.image().workChannels); };
        const QByteArray original = bytes();
        QList<QByteArray> states;
        for (int n : {5, 6}) {
            p.image().addChannel(n, 0, 1, QStringLiteral("28.5"));
            Q_EMIT w.editor(EditorKind::ChannelInfo)->edited();
            states << bytes();
        }
        choose("Combo2", 2); // the EU range family
        QCOMPARE(w.windowTitle(), QStringLiteral("MX-806TR[26.3300 - 27.99125 MHz][File Name:new.dat]"));
        w.action("mnuEditUndo")->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("MX-806TR[28.0000 - 29.7000 MHz][File Name:new.dat]"));
        QCOMPARE(w.editor(EditorKind::ChannelInfo)->findChild<QComboBox*>("Combo2")->currentIndex(), 0);
        QCOMPARE(bytes(), states[1]);
        w.action("mnuEditUndo")->trigger();
        QCOMPARE(bytes(), states[0]);
        choose("Combo6", 2); // band C
        QVERIFY(w.action("mnuEditRedo")->isEnabled());
        w.action("mnuEditRedo")->trigger();
        QCOMPARE(channels(), states[1].mid(datafile::DataFileSize));

        w.action("MnuInitial")->trigger(); // the 10M template: one channel a band, as a new document
        QCOMPARE(channels(), original.mid(datafile::DataFileSize));
        w.action("mnuEditUndo")->trigger();
        QCOMPARE(channels(), states[1].mid(datafile::DataFileSize));
        w.action("mnuEditUndo")->trigger();
        w.action("mnuEditUndo")->trigger();
        QCOMPARE(channels(), original.mid(datafile::DataFileSize));
        QVERIFY(!datafile::isModified(p.image()));
        QVERIFY(!w.action("mnuEditUndo")->isEnabled());
        QVERIFY(w.editor(EditorKind::ChannelInfo));
    }

    // A channel list exported and imported again gives the same channels; a
    // refused list names its line and changes nothing.
    void exportAndImportChannels()
    {
        Program p(root("csv"));
        const QString csv = root("csv") + "/channels.csv";
        p.edit();
        const QByteArray edited = radioBytes(p.image());
        p.chooser.answers = {csv};
        p.window->document().exportChannels();
        QCOMPARE(p.window->statusBar()->currentMessage(),
                 QStringLiteral("25 channels exported to channels.csv"));
        p.window->toolButton("新建")->trigger();
        p.chooser.answers = {csv};
        p.window->document().importChannels();
        QVERIFY2(p.prompter.shown.isEmpty(), qPrintable(p.prompter.texts().join('|')));
        QCOMPARE(radioBytes(p.image()), edited);
        // Each reported in the status bar; the import is one step of the history.
        QCOMPARE(p.window->statusBar()->currentMessage(),
                 QStringLiteral("25 channels imported from channels.csv"));
        p.window->action("mnuEditUndo")->trigger();
        QVERIFY(!p.window->action("mnuEditUndo")->isEnabled());
        p.window->action("mnuEditRedo")->trigger();

        test::writeFile(csv, "family,band,channel,in use,rx MHz,tx MHz,TSQ,REP,Roger,Public,BUSY,HI-CUT\n"
                             "10M,A,1,ON,28.0x,,OFF,OFF,OFF,ON,OFF,OFF\n");
        p.chooser.answers = {csv};
        p.window->document().importChannels();
        QVERIFY2(p.prompter.texts().last().startsWith("Line 2, column 5"),
                 qPrintable(p.prompter.texts().last()));
        QCOMPARE(radioBytes(p.image()), edited);

        // The common layout: band A out, into band B of a new document, one undo step.
        p.chooser.listings = {{true, 0, 1}, {true, 0, 2}};
        p.chooser.answers = {csv};
        p.window->document().exportChannels();
        QCOMPARE(test::readFile(csv).split('\n').mid(1, 2),
                 (QList<QByteArray>{"1,A-01,28.015000,,0.000000,,0.0,0.0,000,NN,FM,5.00,,,,,,\r",
                                    "2,A-09,29.000000,,0.000000,,0.0,0.0,000,NN,FM,5.00,,,,,,\r"}));
        p.window->toolButton("新建")->trigger();
        const QByteArray fresh = radioBytes(p.image());
        p.chooser.answers = {csv};
        p.window->document().importChannels();
        QCOMPARE(p.prompter.texts().last(),
                 "2 row(s) carried a name or a mode other than FM/AM that the radio cannot keep.");
        QCOMPARE((QList<int>{p.image().work.count(0, 1), p.image().work.count(0, 2)}), (QList<int>{1, 2}));
        QCOMPARE(p.image().workChannels.at(0, 2, 2).rxFreq.text(),
                 "290000"); // as the channel window stores a typed 29.0000
        p.window->action("mnuEditUndo")->trigger();
        QCOMPARE(radioBytes(p.image()), fresh);
    }

    // The table's menu entry and tree node; a paste in it is one undo step.
    void channelTable()
    {
        Program p(root("table"));
        MainWindow& w = *p.window;
        QCOMPARE(w.action("mnuChannelTable")->text(), "Channel &Table");
        QVERIFY(w.toolButton("ChannelTable") == nullptr);
        w.tree()->topLevelItem(0)->child(1)->setSelected(true);
        Q_EMIT w.tree()->itemClicked(w.tree()->topLevelItem(0)->child(1), 0);
        auto* table = qobject_cast<FrmChannelTable*>(w.editor(EditorKind::ChannelTable));
        QVERIFY(table);
        const QByteArray before = radioBytes(p.image());
        QApplication::clipboard()->setText("28.2\n28.3\n");
        table->view()->setCurrentIndex(table->view()->model()->index(1, 2));
        table->paste();
        QCOMPARE(p.image().work.count(0, 1), 3);
        QApplication::clipboard()->setText("31\n");
        table->paste(); // refused: named in the status bar, nothing stored
        QCOMPARE(w.statusBar()->currentMessage(),
                 "Pasted line 1, A-02, column RX MHz: \"31\" is not a frequency of 28.0000 - 29.7000 MHz.");
        w.action("mnuEditUndo")->trigger();
        QCOMPARE(radioBytes(p.image()), before);
        QVERIFY(w.editor(EditorKind::ChannelTable)); // shown anew
    }

    // The layout dialog of the channel lists: the bands follow the family.
    void channelListDialog()
    {
        ChannelListDialog exporting(false, {false, 0, 0}, English);
        QVERIFY(!exporting.bandBox()->isEnabled());
        exporting.layoutBox()->setCurrentIndex(1);
        exporting.familyBox()->setCurrentIndex(2);
        QCOMPARE(exporting.bandBox()->itemText(0), "All bands");
        exporting.bandBox()->setCurrentIndex(2); // UK
        const ChannelListChoice chosen = exporting.choice();
        QCOMPARE((QList<int>{chosen.common, chosen.family, chosen.band}), (QList<int>{1, 2, 2}));
        ChannelListDialog importing(true, {true, 1, 4}, Chinese);
        QVERIFY(importing.layoutBox()->isHidden());
        QCOMPARE(importing.bandBox()->currentText(), "D");
        QCOMPARE(importing.windowTitle(), "信道列表");
    }

    void openOfRefusedFileKeepsNameAndImage()
    {
        Program p(root("open"));
        const QString good = root("open") + "/good.dat";
        p.chooser.answers = {good};
        QVERIFY(p.window->document().saveAs());
        p.edit();
        const RadioDataRecord before = p.image().work;
        const QString bad = root("open") + "/bad.dat";
        test::writeFile(bad, QByteArray(1226, 'x'));
        p.chooser.answers = {bad};
        p.prompter.script = {Answer::No}; // do not save the change
        p.window->document().openFile();
        QCOMPARE(p.prompter.texts().first(), QStringLiteral("File has been modify,save it now?"));
        QCOMPARE(p.prompter.texts().last(), QStringLiteral("Unknown version Of DataFile!"));
        QCOMPARE(p.image().currentFileName, good);
        QVERIFY(p.image().work == before);
    }

    // A data file of another installed version: Yes starts that version's program and ends this one.
    void dataFileOfAnotherVersionHandsOver()
    {
        Program p(root("handover"));
        test::writeFile(root("handover") + "/Version.ini",
                        "[Version]\nCurrentVersion=V100\nSoftVersionCount=2\nFirmVersionCount=2\n"
                        "[Soft]\nVersion0=V100\nVersion1=V200\n[Firm]\nFirm0=V100V100\nFirm1=V200V200\n");
        p.app.versions.load(root("handover") + "/Version.ini");
        test::RecordingLauncher launcher;
        p.window->document().setLauncher(&launcher);
        QByteArray other = datafile::encodeRecord(p.image().work);
        other.replace(0, 4, "V200");
        test::writeFile(root("handover") + "/other.dat", other);
        p.chooser.answers = {root("handover") + "/other.dat"};
        p.prompter.script = {Answer::Yes};
        p.window->document().openFile();
        QCOMPARE(launcher.started, QStringList{QDir::toNativeSeparators(
                                       root("handover") + "/V200/" +
                                       QFileInfo(QCoreApplication::applicationFilePath()).fileName())});
        QCOMPARE(launcher.quits, 1);
    }

    // "File has been modify,save it now?" on closing, also for a value still
    // being typed and for a range family change alone; Yes saves a document
    // with a name at once, one without goes through Save As.
    void closeWithUnsavedChanges_data()
    {
        QTest::addColumn<QString>("change"); // "channel", "family" or "typed" (not yet stored)
        QTest::addColumn<bool>("named");     // the document was saved before
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("saveTo"); // the Save box's answer
        QTest::addColumn<bool>("closes");
        // clang-format off
        QTest::newRow("cancel keeps everything") << "channel" << false << Answer::Cancel << "" << false;
        QTest::newRow("range family change alone asks") << "family" << false << Answer::Cancel << "" << false;
        QTest::newRow("value still being typed asks") << "typed" << false << Answer::Cancel << "" << false;
        QTest::newRow("no closes") << "channel" << false << Answer::No << "" << true;
        QTest::newRow("yes, save box cancelled, stays") << "channel" << false << Answer::Yes << "" << false;
        QTest::newRow("yes saves through Save As") << "channel" << false << Answer::Yes << "kept.dat" << true;
        QTest::newRow("yes saves a named document at once") << "channel" << true << Answer::Yes << "" << true;
        // clang-format on
    }
    void closeWithUnsavedChanges()
    {
        QFETCH(QString, change);
        QFETCH(bool, named);
        QFETCH(Answer, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, closes);
        const QString dir = root(QTest::currentDataTag());
        Program p(dir);
        if (named) {
            p.chooser.answers = {dir + "/named.dat"};
            QVERIFY(p.window->document().saveAs());
        }
        if (change == QLatin1String("family")) {
            p.image().work.rangeMode = 1;
        } else if (change == QLatin1String("typed")) {
            // Row 2 of the channel list, typed and not yet stored.
            auto* grid = p.window->editor(EditorKind::ChannelInfo)->findChild<QTableWidget*>("MSFlexGrid1");
            grid->setCurrentCell(1, 1);
            QTest::keyClick(grid, Qt::Key_Return);
            QTest::keyClicks(p.window->editor(EditorKind::ChannelInfo)->findChild<QLineEdit*>("Text1"),
                             "28.5");
        } else {
            p.edit();
        }
        p.prompter.script = {answer};
        p.chooser.answers = {saveTo.isEmpty() ? QString() : dir + "/" + saveTo};
        QCOMPARE(p.window->close(), closes);
        // One question: a save with Yes asks nothing more.
        QCOMPARE(p.prompter.texts(), QStringList{"File has been modify,save it now?"});
        QCOMPARE(p.window->isVisible(), !closes);
        const bool saved = closes && answer == Answer::Yes;
        QCOMPARE(datafile::isModified(p.image()), !saved);
        if (change == QLatin1String("typed")) QVERIFY(p.image().findSlot(2, 0, 1) > 0);
    }

    // File > Print shows the programming information in the program's language
    // (the document's contents: tst_report), with PDF saving.
    void printPreview()
    {
        Program p(root("print"), Chinese);
        QString shownTitle;
        int pages = 0;
        bool canSave = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shownTitle = dialog->windowTitle();
            if (auto* view = dialog->findChild<QPrintPreviewWidget*>()) pages = view->pageCount();
            canSave = dialog->findChild<QAction*>("savePdf") != nullptr;
            dialog->reject();
        });
        p.window->action("mnuFilePrint")->trigger();
        QCOMPARE(shownTitle, QStringLiteral("MX_806TQ 对讲机编程信息"));
        QVERIFY(pages >= 2); // the channels, options, eight tone tips and the TV channels
        QVERIFY(canSave);
    }

    void oneWindowPerEditorKindAndSplitterLimits()
    {
        Program p(root("one"));
        MainWindow& w = *p.window;
        EditorWindow* first = w.showChildForm(EditorKind::ToneTips);
        QCOMPARE(w.showChildForm(EditorKind::ToneTips), first);
        QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
        w.closeChildForms();
        QVERIFY(w.mdiArea()->subWindowList().isEmpty());

        const int width = w.treePane()->width();
        w.dragSplitter(-width); // narrower than 20 px: nothing
        QCOMPARE(w.treePane()->width(), width);
        w.dragSplitter(w.width()); // wider than the window: nothing
        QCOMPARE(w.treePane()->width(), width);
        w.dragSplitter(15 - width + 5);
        QCOMPARE(w.treePane()->width(), 20);
    }

    void portDialogWithListedPorts()
    {
        Program p(root("port"));
        p.app.settings.comPort = 5;
        auto lister = [] {
            return QList<ports::PortEntry>{{1, "COM1", "COM1", {}}, {3, "COM3", "COM3", {}}};
        };
        PortSetting port(p.app.settings);
        port.setLister(lister, true);
        PortDialog numbered(p.app, port);
        QCOMPARE(numbered.combo()->currentText(), QStringLiteral("COM1")); // port 5 is gone
        numbered.confirm();
        QCOMPARE(p.app.settings.comPort, 1);

        // Without COM numbers a typed device path is kept as the device name; one
        // that is no serial device, or not there (yet), only when the user says so.
        auto devices = [] { return QList<ports::PortEntry>{{1, "COM1", "/dev/ttyUSB0", {}}}; };
        port.setLister(devices, false);
        PortDialog byPath(p.app, port);
        QCOMPARE(byPath.combo()->currentText(), QStringLiteral("/dev/ttyUSB0"));
        byPath.combo()->setEditText(QStringLiteral("/dev/null"));
        p.prompter.script = {Answer::No};
        byPath.confirm();
        QCOMPARE(p.app.settings.comPortName, QString());
        byPath.combo()->setEditText(QStringLiteral("/dev/mx-unplugged"));
        p.prompter.script = {Answer::Yes};
        byPath.confirm();
        QCOMPARE(p.app.settings.comPortName, QStringLiteral("/dev/mx-unplugged"));
        QCOMPARE(
            p.prompter.texts(),
            QStringList({"/dev/null is not a serial device. Keep it as the port all the same?",
                         "/dev/mx-unplugged does not exist. Keep it as the port all the same (an adapter "
                         "not plugged in yet)?"}));
        const QByteArray ini = test::readFile(root("port") + "/language/mysetup.ini");
        QVERIFY(ini.contains("comPort=1") && ini.contains("comPortName=/dev/mx-unplugged"));
    }

    // Read and write from the window against the emulator on a pseudo-terminal.
    void readAndWriteThroughTheEmulator()
    {
        const QString dir = root("radio");
        Program p(dir);
        RadioImage radio;
        QVERIFY(datafile::loadDataFile(radio, e2e::templateFile(2), p.app.versions, p.app.messenger) ==
                datafile::LoadStatus::Ok);
        const QByteArray memory = radioBytes(radio);
        QVERIFY(e2e::writeAll(dir + "/radio.bin", memory));
        e2e::Emulator emulator(dir);
        QVERIFY(emulator.start({"--memory", dir + "/radio.bin", "--save", dir + "/written.bin"}));
        p.app.settings.comPortName = emulator.device();
        p.window->document().setBackupFolder(dir + "/backups");
        p.window->action("mnuVerifyAfterWrite")->setChecked(true);

        QSignalSpy finished(&p.window->transfers().session(), &Session::finished);
        p.window->showChildForm(EditorKind::ChannelTable); // beside the channel window
        p.prompter.script = {Answer::Ok};
        p.window->transfers().read();
        QVERIFY(p.window->progressWindow());
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.last().first().value<SessionOutcome>(), SessionOutcome::Completed);
        QTRY_VERIFY(!p.window->progressWindow());
        QCOMPARE(p.prompter.texts().last(), QStringLiteral("Read Data Completed."));
        QCOMPARE(p.image().work.rangeMode, qint16(2));
        QCOMPARE(radioBytes(p.image()).left(WriteEndAddress + 1), memory.left(WriteEndAddress + 1));
        QVERIFY(p.window->windowTitle().contains(QStringLiteral("26.3300 - 27.99125 MHz")));
        QVERIFY(p.window->editor(EditorKind::ChannelInfo));

        // A channel typed into the table, open beside the channel window, goes to the radio.
        auto* sheet = qobject_cast<FrmChannelTable*>(p.window->showChildForm(EditorKind::ChannelTable));
        ChannelTable* t = sheet->table();
        QCOMPARE(t->family(), 2);
        QVERIFY(t->setData(t->index(t->rowOf(1, 7), t->columnOf(ChannelTable::RxColumn)), "27.0000"));
        QCOMPARE(p.image().workChannels.at(2, p.image().findSlot(7, 2, 1), 1).rxFreq.text(), "270000");
        p.prompter.script = {Answer::Ok};
        p.window->transfers().write();
        QVERIFY(finished.wait(60000));
        QCOMPARE(p.prompter.texts().last(), QStringLiteral("Write Data Completed."));
        // Read back and compared after the write; a dated copy of what was read and of what was written.
        QVERIFY(finished.wait(60000));
        QCOMPARE(p.prompter.texts().last(),
                 QStringLiteral("Verify completed: the radio holds what was written."));
        const QStringList kept = QDir(dir + "/backups").entryList({"*.dat"});
        QCOMPARE(kept.size(), 2);
        QVERIFY(kept[0].endsWith("_read.dat") && kept[1].endsWith("_write.dat"));
        const QByteArray expected = radioBytes(p.image()).left(WriteEndAddress + 1);
        QTRY_COMPARE(e2e::readAll(dir + "/written.bin").left(WriteEndAddress + 1), expected);
    }

    // With "Verify After Writing" a multi-radio write reads each radio back;
    // one that does not keep what it was given stops it with the place named
    // as the channel list names it. Band A holds channels 1 and 3: the
    // confirmation says that the radio will number them 1 and 2.
    void multiWriteVerifiesEachRadio()
    {
        const QString dir = root("multiverify");
        Program p(dir);
        p.image().addChannel(3, 0, 1, QStringLiteral("28.5"));
        e2e::Emulator emulator(dir);
        QVERIFY(emulator.start({"--corrupt-byte", "0x0010"}));
        p.app.settings.comPortName = emulator.device();
        p.window->document().setBackupFolder(dir + "/backups");
        p.window->action("mnuVerifyAfterWrite")->setChecked(true);
        p.window->transfers().setRadioCountAsker([] { return 2; });
        bool shownWhileChecking = false;
        connect(&p.window->transfers().session(), &Session::verifyingRadio, this, [&](bool on) {
            if (!on || !p.window->progressWindow()) return;
            auto* label = p.window->progressWindow()->findChild<QLabel*>("lblVerifying");
            shownWhileChecking = label && !label->isHidden();
        });

        QSignalSpy finished(&p.window->transfers().session(), &Session::finished);
        p.prompter.script = {Answer::Ok};
        p.window->transfers().multiWrite();
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.last().first().value<SessionOutcome>(), SessionOutcome::VerifyFailed);
        QVERIFY(shownWhileChecking);
        QCOMPARE(p.prompter.texts().first(),
                 QStringLiteral("Write data to radio.\r\nDo you wish continue?\r\n\r\n"
                                "The radio keeps the channels of a band in order, without gaps: these "
                                "channels will come back with new numbers:\r\n10M band A: 3→2"));
        QCOMPARE(p.prompter.texts().last(),
                 QStringLiteral("Verify failed at 0x0010 (10M band A channel 3 receive frequency).\r\n"
                                "Radio 1 does not hold what was written: write it again."));
        emulator.stop();
        QCOMPARE(emulator.blocks('R').size(), 1014);
    }

    // A transfer never ends in silence: a cancel (Esc, the Cancel button) and a
    // lost connection close the progress window and say what was left. The
    // image stays as it was.
    void transferEndsAreExplained_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QStringList>("radio");
        QTest::addColumn<int>("key"); // cancels with it at 5%; 0: the button; -1: nothing
        QTest::addColumn<QString>("words");
        QTest::newRow("read cancelled with Esc") << false << QStringList{"--pace"} << int(Qt::Key_Escape)
                                                 << "Reading was cancelled. Nothing was changed.";
        QTest::newRow("write cancelled with the button")
            << true << QStringList{"--pace"} << 0
            << "Writing was cancelled. The radio may hold a partial write: write it again.";
        QTest::newRow("read, cable pulled") << false << QStringList{"--hang-up", "0x2000"} << -1
                                            << "The connection to the radio was lost. Nothing was changed.";
        QTest::newRow("write, cable pulled") << true << QStringList{"--hang-up", "0x2000"} << -1
                                             << "The connection to the radio was lost during the write. The "
                                                "radio may hold a partial write: write it again.";
    }
    void transferEndsAreExplained()
    {
        QFETCH(bool, write);
        QFETCH(QStringList, radio);
        QFETCH(int, key);
        QFETCH(QString, words);
        const QString dir = root(QTest::currentDataTag());
        Program p(dir);
        e2e::Emulator emulator(dir);
        QVERIFY(emulator.start(radio));
        p.app.settings.comPortName = emulator.device();
        p.window->document().setBackupFolder(dir + "/backups");
        p.edit();
        const RadioDataRecord before = p.image().work;
        QSignalSpy finished(&p.window->transfers().session(), &Session::finished);
        p.prompter.script = {Answer::Ok};
        if (write)
            p.window->transfers().write();
        else
            p.window->transfers().read();
        if (key >= 0) {
            QTRY_VERIFY_WITH_TIMEOUT(p.window->progressWindow() && p.window->progressWindow()->percent() >= 5,
                                     20000);
            if (key > 0)
                QTest::keyClick(p.window->progressWindow(), Qt::Key(key));
            else
                p.window->progressWindow()->findChild<QPushButton*>("cmdCancel")->click();
        }
        QVERIFY(finished.size() == 1 || finished.wait(60000));
        QTRY_VERIFY(!p.window->progressWindow());
        QCOMPARE(p.prompter.texts().last(), words);
        QVERIFY(p.image().work == before);
        QCOMPARE(p.image().currentFileName, QStringLiteral("new.dat"));
    }

    // A port that cannot be opened is named with the reason, in the same words as mx806's.
    void portThatCannotBeOpened_data()
    {
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("words"); // %1: the device
        QTest::newRow("no such device") << false << "%1: no such device.";
        QTest::newRow("in use by another program") << true << "%1 is in use by another program.";
    }
    void portThatCannotBeOpened()
    {
        QFETCH(bool, held);
        QFETCH(QString, words);
        const QString dir = root(QTest::currentDataTag());
        Program p(dir);
        e2e::Emulator emulator(dir);
        QVERIFY(emulator.start({}));
        const QString device = held ? emulator.device() : dir + "/ttyMX";
        SerialPortLink holder(device);
        QCOMPARE(holder.open(), held);
        p.app.settings.comPortName = device;
        p.window->transfers().read();
        QVERIFY(!p.window->progressWindow());
        QCOMPARE(p.prompter.texts(), QStringList{"Cannot Open Communication Port.\r\n" + words.arg(device)});
        const e2e::Result r = e2e::runMx806({"read", "--port", device, "-o", dir + "/x.dat"});
        QVERIFY2(
            r.err.contains(("mx806: Cannot Open Communication Port.\nmx806: " + words.arg(device)).toUtf8()),
            r.err.constData());
    }

    // MX_806TR FILE.dat opens the file with the checks of File > Open; options are no files.
    void argumentOpensFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("a data file") << QStringList{"-style", "good.dat"} << "[File Name:good.dat]"
                                     << QStringList();
        QTest::newRow("refused") << QStringList{"bad.dat"} << "[File Name:new.dat]"
                                 << QStringList{"Unknown version Of DataFile!"};
        QTest::newRow("no file") << QStringList{"--reverse"} << "[File Name:new.dat]" << QStringList();
    }
    void argumentOpensFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, caption);
        const QString dir = root(QTest::currentDataTag());
        Program p(dir);
        QVERIFY(QFile::copy(e2e::templateFile(1), dir + "/good.dat") &&
                QFile::copy(datafile::channelFileName(e2e::templateFile(1)), dir + "/good.fre"));
        test::writeFile(dir + "/bad.dat", QByteArray(1226, 'x'));
        const QString working = QDir::currentPath();
        QDir::setCurrent(dir);
        p.window->document().openArguments(QStringList{"MX_806TR"} + arguments);
        QDir::setCurrent(working);
        QVERIFY2(p.window->windowTitle().endsWith(caption), qPrintable(p.window->windowTitle()));
        QTEST(p.prompter.texts(), "texts");
    }

    // File > Recent Files: the last data files opened or saved, newest first;
    // the boxes start in the folder used last; a file that is gone is said so
    // and leaves the list.
    void recentFilesAndLastFolder()
    {
        const QString dir = root("recent");
        Program p(dir);
        QDir().mkpath(dir + "/a");
        QDir().mkpath(dir + "/b");
        p.chooser.answers = {dir + "/a/first.dat", dir + "/b/second.dat"};
        QVERIFY(p.window->document().saveAs());
        QVERIFY(p.window->document().saveAs());
        p.window->document().openFile(); // cancelled
        QCOMPARE(p.chooser.offered,
                 QStringList({QDir::homePath() + "/new.dat", dir + "/a/first.dat", dir + "/b"}));
        QMenu* recent = p.window->action("mnuFileRecent")->menu();
        QStringList entries;
        for (QAction* a : recent->actions())
            entries << a->text();
        QCOMPARE(entries, QStringList({"&1 " + dir + "/b/second.dat", "&2 " + dir + "/a/first.dat"}));

        QFile::remove(dir + "/a/first.dat");
        recent->actions().at(1)->trigger();
        QCOMPARE(p.prompter.texts(),
                 QStringList{dir + "/a/first.dat no longer exists: it was taken off the recent files."});
        QCOMPARE(recent->actions().size(), 1);
        p.window->document().loadNewDoc();
        recent->actions().at(0)->trigger();
        QVERIFY(p.window->windowTitle().endsWith("[File Name:second.dat]"));
    }

    // A maximised window comes back maximised.
    void maximisedWindowIsRemembered()
    {
        {
            Program p(root("max1"));
            p.window->showMaximized();
            QVERIFY(p.window->close());
        }
        Program again(root("max2"));
        QVERIFY(again.window->isMaximized());
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
