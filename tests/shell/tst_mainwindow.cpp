// The desktop program's main window: commands, questions and transfers,
// with questions answered by the test prompter and file boxes by a script.

#include "TestPrompter.h"
#include "app/Startup.h"
#include "data/DataFile.h"
#include "data/TestSupport.h"
#include "e2e/E2e.h"
#include "link/MemoryCodec.h"
#include "link/Session.h"
#include "shell/Dialogs.h"
#include "shell/MainWindow.h"
#include "shell/ProgressWindow.h"
#include "texts/MainTexts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace mx;

namespace {

class ScriptedChooser : public FileChooser
{
public:
    QStringList answers; // next paths; "" cancels
    int opens = 0, saves = 0;
    QString openFile(const QString&) override
    {
        ++opens;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString saveFile(const QString&, const QString&) override
    {
        ++saves;
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

    void startsWithMenusToolbarTreeAndChannelEditor()
    {
        Program p(root("start"));
        MainWindow& w = *p.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("MX-806TR[28.0000 - 29.7000 MHz][File Name:new.dat]"));
        QVERIFY(w.action("mnuFileNew")->isVisible());
        QVERIFY(w.action("mnuFilePrint")->isVisible());
        QVERIFY(!w.action("mnuMWriteToRadio")->isVisible());
        QVERIFY(!w.toolButton("MWriteRadio")->isVisible());
        QCOMPARE(w.action("mnuFileOpen")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(w.toolButton("ReadRadio")->toolTip(), QStringLiteral("&Read from Radio"));
        for (const char* key :
             {"新建", "打开", "保存", "打印", "ReadRadio", "CommSet", "WriteRadio", "About"})
            QVERIFY2(!w.toolButton(QString::fromUtf8(key))->icon().isNull(), key);
        QCOMPARE(w.tree()->topLevelItem(0)->childCount(), 3);
        QVERIFY(w.editor(EditorKind::ChannelInfo));
        // The port panel: COM numbers where the system has them, the device's name elsewhere.
        const auto listed = [] { return QList<ports::PortEntry>{{1, "COM1", "/dev/ttyUSB0", {}}}; };
        w.setPortLister(listed, false);
        QCOMPARE(w.portPanel()->text(), QStringLiteral("/dev/ttyUSB0"));
        w.setPortLister(listed, true);
        QCOMPARE(w.portPanel()->text(), QStringLiteral("COM1"));
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
        QCOMPARE(w.toolButton("WriteRadio")->toolTip(), QStringLiteral("向对讲机写入数据(&W)"));
        QCOMPARE(w.tree()->topLevelItem(0)->child(2)->text(0), QStringLiteral("RB音"));
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

    // Edits undone one by one give the original image byte for byte; redo goes forward again.
    void undoAndRedoOfEdits()
    {
        Program p(root("undo"));
        auto bytes = [&]() -> QByteArray {
            return datafile::encodeRecord(p.image().work) +
                   datafile::encodeChannels(p.image().work, p.image().workChannels);
        };
        const QByteArray original = bytes();
        QList<QByteArray> states;
        for (int n : {5, 6, 7}) {
            p.image().addChannel(n, 0, 1, QStringLiteral("28.5"));
            Q_EMIT p.window->editor(EditorKind::ChannelInfo)->edited();
            states << bytes();
        }
        p.image().work.rangeMode = 1; // typed but not yet announced: undone as an edit of its own
        for (int k = 2; k >= 0; --k) {
            p.window->action("mnuEditUndo")->trigger();
            QCOMPARE(bytes(), states[k]);
        }
        p.window->document().undo();
        QCOMPARE(bytes(), original);
        QVERIFY(!datafile::isModified(p.image()));
        QVERIFY(!p.window->action("mnuEditUndo")->isEnabled());
        p.window->action("mnuEditRedo")->trigger();
        QCOMPARE(bytes(), states[0]);
        QVERIFY(p.window->editor(EditorKind::ChannelInfo));
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
        p.window->toolButton("新建")->trigger();
        p.chooser.answers = {csv};
        p.window->document().importChannels();
        QVERIFY2(p.prompter.shown.isEmpty(), qPrintable(p.prompter.texts().join('|')));
        QCOMPARE(radioBytes(p.image()), edited);
        QVERIFY(p.window->action("mnuEditUndo")->isEnabled());

        test::writeFile(csv, "family,band,channel,in use,rx MHz,tx MHz,TSQ,REP,Roger,Public,BUSY,HI-CUT\n"
                             "10M,A,1,ON,28.0x,,OFF,OFF,OFF,ON,OFF,OFF\n");
        p.chooser.answers = {csv};
        p.window->document().importChannels();
        QVERIFY2(p.prompter.texts().last().startsWith("Line 2, column 5"),
                 qPrintable(p.prompter.texts().last()));
        QCOMPARE(radioBytes(p.image()), edited);
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

    void closeWithUnsavedChanges_data()
    {
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QString>("saveTo");
        QTest::addColumn<bool>("closes");
        QTest::newRow("cancel keeps everything") << QList<Answer>{Answer::Cancel} << QString() << false;
        QTest::newRow("range family change alone asks") << QList<Answer>{Answer::Cancel} << "-" << false;
        QTest::newRow("no closes") << QList<Answer>{Answer::No} << QString() << true;
        QTest::newRow("yes, save box cancelled, stays") << QList<Answer>{Answer::Yes} << QString() << false;
        QTest::newRow("yes saves through Save As") << QList<Answer>{Answer::Yes} << "kept.dat" << true;
    }
    void closeWithUnsavedChanges()
    {
        QFETCH(QList<Answer>, answers);
        QFETCH(QString, saveTo);
        QFETCH(bool, closes);
        Program p(root(QTest::currentDataTag()));
        const bool rangeOnly = saveTo == QLatin1String("-");
        if (rangeOnly) {
            p.image().work.rangeMode = 1;
            saveTo.clear();
        } else {
            p.edit();
        }
        p.prompter.script = answers;
        p.chooser.answers = {saveTo.isEmpty() ? QString() : root(QTest::currentDataTag()) + "/" + saveTo};
        QCOMPARE(p.window->close(), closes);
        QCOMPARE(p.prompter.texts().first(), QStringLiteral("File has been modify,save it now?"));
        QCOMPARE(p.window->isVisible(), !closes);
        QCOMPARE(datafile::isModified(p.image()), saveTo.isEmpty());
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

        // Without COM numbers a typed device path is kept as the device name.
        auto devices = [] { return QList<ports::PortEntry>{{1, "COM1", "/dev/ttyUSB0", {}}}; };
        port.setLister(devices, false);
        PortDialog byPath(p.app, port);
        QCOMPARE(byPath.combo()->currentText(), QStringLiteral("/dev/ttyUSB0"));
        byPath.combo()->setEditText(QStringLiteral("/dev/pts/9"));
        byPath.confirm();
        QCOMPARE(p.app.settings.comPortName, QStringLiteral("/dev/pts/9"));
        const QByteArray ini = test::readFile(root("port") + "/language/mysetup.ini");
        QVERIFY(ini.contains("comPort=1") && ini.contains("comPortName=/dev/pts/9"));
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

        p.image().addChannel(7, 2, 1, QStringLiteral("27.0000"));
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
    // one that does not keep what it was given stops it with the place named.
    void multiWriteVerifiesEachRadio()
    {
        const QString dir = root("multiverify");
        Program p(dir);
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
        QCOMPARE(p.prompter.texts().last(),
                 QStringLiteral("Verify failed at 0x0010 (10M band 1 channel 2 receive frequency).\r\n"
                                "Radio 1 does not hold what was written: write it again."));
        emulator.stop();
        QCOMPARE(emulator.blocks('R').size(), 1014);
    }

    // Closing the progress window mid-read cancels: the image and the files stay.
    void closingProgressMidReadKeepsImage()
    {
        const QString dir = root("cancel");
        Program p(dir);
        e2e::Emulator emulator(dir);
        QVERIFY(emulator.start({"--pace"}));
        p.app.settings.comPortName = emulator.device();
        p.edit();
        const RadioDataRecord before = p.image().work;
        QSignalSpy finished(&p.window->transfers().session(), &Session::finished);
        p.prompter.script = {Answer::Ok};
        p.window->transfers().read();
        QTRY_VERIFY_WITH_TIMEOUT(p.window->progressWindow()->percent() >= 5, 20000);
        p.window->progressWindow()->close();
        QVERIFY(finished.size() == 1 || finished.wait(5000));
        QCOMPARE(finished.last().first().value<SessionOutcome>(), SessionOutcome::Cancelled);
        QTRY_VERIFY(!p.window->progressWindow());
        QVERIFY(p.image().work == before);
        QCOMPARE(p.image().currentFileName, QStringLiteral("new.dat"));
        QVERIFY(!p.prompter.texts().contains(QStringLiteral("Read Data Completed.")));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
