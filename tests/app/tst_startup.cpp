#include "app/Backups.h"
#include "app/Startup.h"
#include "data/DataFile.h"
#include "data/TestSupport.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace mx;
using namespace mx::test;

namespace {

const QByteArray TwoVersions =
    "[Version]\r\nCurrentVersion=V100\r\nSoftVersionCount=2\r\nFirmVersionCount=2\r\n"
    "[Soft]\r\nVersion0=V100\r\nVersion1=V101\r\n"
    "[Firm]\r\nFirm0=V100V100\r\nFirm1=V101V101\r\n";
const QByteArray SettingsFile =
    "[language]\r\nIsFirstRun=0\r\ncomPort=3\r\nHandshaking=0\r\nStopBit=0\r\nCurrentLanguage=2\r\n";

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // A read-only install: the user's own copy is made from it and used; the install's file stays.
    void readOnlyInstallUsesUserCopy()
    {
        QTemporaryDir root;
        const QString install = root.filePath(QStringLiteral("language/mysetup.ini"));
        writeFile(install, SettingsFile);
        QFile::remove(App::userSettingsPath());
        for (int run = 0; run < 2; ++run) {
            TestPrompter prompter;
            App app(prompter);
            app.canWrite = [&](const QString& path) { return path != QDir::toNativeSeparators(install); };
            app.startUp(root.filePath(QStringLiteral("V100")), FixedLocale(1));
            QCOMPARE(app.settingsPath(), App::userSettingsPath());
            QCOMPARE(app.settings.comPort, run == 0 ? 3 : 7); // seeded once, then the user's own
            app.settings.comPort = 7;
            QVERIFY(app.settings.saveComPort(app.settingsPath()));
        }
        QCOMPARE(readFile(install), SettingsFile);
        QFile::remove(App::userSettingsPath());
    }

    // Dated pairs that read back as the image; only the newest 50 stay.
    void backupsKeepTheNewestFifty()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("Version.ini")), TwoVersions);
        TestPrompter prompter;
        App app(prompter);
        app.startUp(dir.filePath(QStringLiteral("V100")), FixedLocale(1));
        app.image.addChannel(7, 0, 2, QStringLiteral("28.5"));
        const QDateTime start(QDate(2026, 12, 6), QTime(14, 30, 55));
        QString first, last;
        for (int k = 0; k < backups::Keep + 2; ++k) {
            QString error;
            last =
                backups::save(app.image, dir.filePath(QStringLiteral("bk")), QStringLiteral("read"), &error,
                              start.addSecs(k / 2)); // two in the same second
            QVERIFY2(!last.isEmpty(), qPrintable(error));
            if (k == 0) first = last;
        }
        QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("2026-12-06_143055_read.dat"));
        const QDir bk(dir.filePath(QStringLiteral("bk")));
        QCOMPARE(bk.entryList({QStringLiteral("*.dat")}).size(), backups::Keep);
        QCOMPARE(bk.entryList({QStringLiteral("*.fre")}).size(), backups::Keep);
        QVERIFY(!QFile::exists(first));
        RadioImage back;
        QCOMPARE(datafile::loadDataFile(back, last, app.versions, app.messenger), datafile::LoadStatus::Ok);
        QCOMPARE(datafile::encodeChannels(back.work, back.workChannels),
                 datafile::encodeChannels(app.image.work, app.image.workChannels));
        QCOMPARE(app.image.currentFileName, QStringLiteral("new.dat")); // the document is not touched
    }

    // A backup that cannot be written leaves nothing behind (no empty data file) and says why.
    void backupOnFullDisk()
    {
        QTemporaryDir dir;
        TestPrompter prompter;
        App app(prompter);
        app.startUp(dir.filePath(QStringLiteral("V100")), FixedLocale(1));
        QString error;
        {
            FileSizeLimit full(1024); // the channel file fits, the data file does not
            QVERIFY(
                backups::save(app.image, dir.filePath(QStringLiteral("bk")), QStringLiteral("read"), &error)
                    .isEmpty());
        }
        QVERIFY2(error.endsWith(QStringLiteral(".dat: File too large")), qPrintable(error));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("bk"))).entryList(QDir::Files), QStringList());
    }

    void startUp_data()
    {
        QTest::addColumn<bool>("files"); // Version.ini and mysetup.ini present
        QTest::addColumn<int>("systemLanguage");
        QTest::addColumn<QString>("software"); // that handles V101
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("install tree with its files") << true << 1 << "V101" << SettingsFile;
        QTest::newRow("first start without files")
            << false << 2 << ""
            << QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nCurrentLanguage=2\r\n");
    }
    void startUp()
    {
        QFETCH(bool, files);
        QFETCH(int, systemLanguage);
        QTemporaryDir root;
        if (files) {
            writeFile(root.filePath(QStringLiteral("Version.ini")), TwoVersions);
            writeFile(root.filePath(QStringLiteral("language/mysetup.ini")), SettingsFile);
        }
        const QString programDir = root.filePath(QStringLiteral("V100"));
        QDir().mkpath(programDir);

        TestPrompter prompter;
        App app(prompter);
        app.messenger.queue(QStringLiteral("left over"));
        app.image.modelCode = QStringLiteral("XX");
        app.startUp(programDir, FixedLocale(systemLanguage), QDate(2024, 1, 2));

        QCOMPARE(QDir(app.installRoot).canonicalPath(), QDir(root.path()).canonicalPath());
        QCOMPARE(app.programDir, programDir);
        QTEST(app.versions.softwareFor(QStringLiteral("V101")), "software");
        QCOMPARE(app.settings.comPort, files ? 3 : 1);
        QCOMPARE(app.settings.currentLanguage, 2);
        QCOMPARE(app.settings.previousLanguage, systemLanguage);
        QCOMPARE(app.messenger.language(), 2);
        QTEST(readFile(app.settingsPath()), "written");
        QVERIFY(app.messenger.pending().isEmpty());
        QVERIFY(prompter.shown.isEmpty()); // start-up shows nothing

        QCOMPARE(app.image.modelCode, QStringLiteral("MX806"));
        QCOMPARE(app.image.rangeText, QStringLiteral("28.0000 - 29.7000 MHz"));
        QCOMPARE(app.image.work.model.creationDate.text(), QStringLiteral("20240102"));
        QVERIFY(!datafile::isModified(app.image));
    }

    // Handing over to the software of another version: an unsaved image is offered for saving first.
    // (An unchanged one hands over without a question: tst_mainwindow dataFileOfAnotherVersionHandsOver.)
    void askToSaveChanges_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saveWorks");
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<bool>("handsOver");
        QTest::addColumn<int>("saves");
        QTest::addColumn<QString>("message"); // after the question, if any
        const QString none, noVersion = "Fail to start the software. This version does not exist.";
        // clang-format off
        QTest::newRow("Yes saves, then hands over") << "V101" << true << Answer::Yes << true << true << true << 1 << none;
        QTest::newRow("Yes, save fails: stays") << "V101" << true << Answer::Yes << false << true << false << 1 << none;
        QTest::newRow("No hands over unsaved") << "V101" << true << Answer::No << true << true << true << 0 << none;
        QTest::newRow("Cancel stays") << "V101" << true << Answer::Cancel << true << true << false << 0 << none;
        QTest::newRow("no such version: no question") << "V102" << true << Answer::Yes << true << true << false << 0 << noVersion;
        QTest::newRow("program does not start") << "V101" << false << Answer::Cancel << true << false << false << 0 << "file error.";
        // clang-format on
    }
    void askToSaveChanges()
    {
        QFETCH(QString, other);
        QFETCH(bool, modified);
        QFETCH(Answer, answer);
        QFETCH(bool, saveWorks);
        QFETCH(bool, startWorks);
        QFETCH(bool, handsOver);
        QFETCH(QString, message);

        QTemporaryDir root;
        writeFile(root.filePath(QStringLiteral("Version.ini")), TwoVersions);
        TestPrompter prompter;
        App app(prompter);
        app.startUp(root.filePath(QStringLiteral("V100")), FixedLocale(1));
        if (modified) ++app.image.work.optFeat[Opt::BacklightColor];
        QCOMPARE(datafile::isModified(app.image), modified);

        prompter.script = {answer};
        int saves = 0;
        RecordingLauncher launcher;
        launcher.startResult = startWorks;
        const Handover handover{app.installRoot, QStringLiteral("MX_806TR"), &launcher,
                                mx::askToSaveChanges(app.image, app.messenger, [&] {
                                    ++saves;
                                    return saveWorks;
                                })};

        QCOMPARE(startSoftwareFor(other, app.versions, handover, app.messenger), handsOver);
        QTEST(saves, "saves");
        QStringList texts;
        if (modified && other == QLatin1String("V101"))
            texts << QStringLiteral("File has been modify,save it now?");
        if (!message.isEmpty()) texts << message;
        QCOMPARE(prompter.texts(), texts);
        if (!texts.isEmpty() && message.isEmpty())
            QCOMPARE(prompter.shown.front().buttons, Buttons::YesNoCancel);
        QCOMPARE(launcher.quits, handsOver ? 1 : 0);
        const bool started = handsOver || !startWorks;
        QCOMPARE(launcher.started, started ? QStringList{QDir::toNativeSeparators(
                                                 app.installRoot + QStringLiteral("/V101/MX_806TR"))}
                                           : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
