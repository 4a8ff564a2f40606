#include "data/DataFile.h"
#include "shell/ShellTestPrompter.h"
#include "shell/Startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace mx;

namespace {

class FixedLocale : public SystemLocale
{
public:
    explicit FixedLocale(int language) : m_language(language) {}
    int systemLanguage() const override { return m_language; }

private:
    int m_language;
};

class RecordingLauncher : public Launcher
{
public:
    QStringList started;
    int quits = 0;
    bool start(const QString& programPath) override
    {
        started.append(programPath);
        return true;
    }
    void quit() override { ++quits; }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

const QByteArray TwoVersions =
    "[Version]\r\nCurrentVersion=V100\r\nSoftVersionCount=2\r\nFirmVersionCount=2\r\n"
    "[Soft]\r\nVersion0=V100\r\nVersion1=V101\r\n"
    "[Firm]\r\nFirm0=V100V100\r\nFirm1=V101V101\r\n";

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpInInstallTree()
    {
        QTemporaryDir root;
        writeFile(root.filePath(QStringLiteral("Version.ini")), TwoVersions);
        writeFile(
            root.filePath(QStringLiteral("language/mysetup.ini")),
            "[language]\r\nIsFirstRun=0\r\ncomPort=3\r\nHandshaking=0\r\nStopBit=0\r\nCurrentLanguage=2\r\n");
        const QString programDir = root.filePath(QStringLiteral("V100"));
        QDir().mkpath(programDir);

        ShellTestPrompter prompter;
        App app(prompter);
        app.messenger.queue(QStringLiteral("left over"));
        app.image.modelCode = QStringLiteral("XX");
        const QDate today(2024, 1, 2);
        app.startUp(programDir, FixedLocale(1), today);

        QCOMPARE(QDir(app.installRoot).canonicalPath(), QDir(root.path()).canonicalPath());
        QCOMPARE(app.programDir, programDir);
        QVERIFY(app.versions.isCompatible(QStringLiteral("V100"), QStringLiteral("V100")));
        QCOMPARE(app.versions.softwareFor(QStringLiteral("V101")), QStringLiteral("V101"));
        QCOMPARE(app.settings.comPort, 3);
        QCOMPARE(app.settings.currentLanguage, 2);
        QCOMPARE(app.settings.previousLanguage, 1);
        QCOMPARE(app.messenger.language(), 2);
        QVERIFY(app.messenger.pending().isEmpty());
        QVERIFY(prompter.asked.isEmpty()); // start-up shows nothing

        QCOMPARE(app.image.work.tag.text(), QStringLiteral("V100"));
        QCOMPARE(app.image.modelCode, QStringLiteral("MX806"));
        QCOMPARE(app.image.modelName, QStringLiteral("MX-806TR"));
        QCOMPARE(app.image.versionTag, QStringLiteral("V100"));
        QCOMPARE(app.image.rangeText, QStringLiteral("28.0000 - 29.7000 MHz"));
        QCOMPARE(app.image.rangeLow, 28.0);
        QCOMPARE(app.image.rangeHigh, 29.7);
        QCOMPARE(app.image.work.rangeMode, qint16(0));
        QCOMPARE(app.image.currentFileName, QStringLiteral("new.dat"));
        QVERIFY(app.image.isNewDocument);
        QCOMPARE(app.image.work.model.creationDate.text(), QStringLiteral("20240102"));
        QVERIFY(!datafile::isModified(app.image));
    }

    void firstStartWithoutFiles()
    {
        QTemporaryDir root;
        const QString programDir = root.filePath(QStringLiteral("V100"));
        QDir().mkpath(programDir);

        ShellTestPrompter prompter;
        App app(prompter);
        app.startUp(programDir, FixedLocale(2));

        QVERIFY(app.versions.pairs.isEmpty());
        QVERIFY(!app.versions.isCompatible(QStringLiteral("V100"), QStringLiteral("V100")));
        QCOMPARE(app.settings.currentLanguage, 2);
        QCOMPARE(app.messenger.language(), 2);
        QVERIFY(prompter.asked.isEmpty());
        QFile written(app.settingsPath());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(),
                 QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nCurrentLanguage=2\r\n"));
    }

    void askSaveBeforeHandover_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("saveWorks");
        QTest::addColumn<bool>("handsOver");
        QTest::addColumn<int>("saves");
        QTest::newRow("unchanged: no question") << false << Answer::Cancel << true << true << 0;
        QTest::newRow("Yes saves, then hands over") << true << Answer::Yes << true << true << 1;
        QTest::newRow("Yes, save fails: stays") << true << Answer::Yes << false << false << 1;
        QTest::newRow("No hands over unsaved") << true << Answer::No << true << true << 0;
        QTest::newRow("Cancel stays") << true << Answer::Cancel << true << false << 0;
    }
    void askSaveBeforeHandover()
    {
        QFETCH(bool, modified);
        QFETCH(Answer, answer);
        QFETCH(bool, saveWorks);
        QFETCH(bool, handsOver);
        QFETCH(int, saves);

        QTemporaryDir root;
        writeFile(root.filePath(QStringLiteral("Version.ini")), TwoVersions);
        ShellTestPrompter prompter;
        App app(prompter);
        app.startUp(root.filePath(QStringLiteral("V100")), FixedLocale(1));
        if (modified)
            app.image.work.optFeat[Opt::BacklightColor] =
                qint16(app.image.work.optFeat[Opt::BacklightColor] + 1);
        QCOMPARE(datafile::isModified(app.image), modified);

        prompter.script = {answer};
        int saveCalls = 0;
        RecordingLauncher launcher;
        Handover handover;
        handover.installRoot = app.installRoot;
        handover.executableName = QStringLiteral("MX_806TR");
        handover.launcher = &launcher;
        handover.beforeHandover = mx::askSaveBeforeHandover(app.image, app.messenger, [&] {
            ++saveCalls;
            return saveWorks;
        });

        QCOMPARE(startSoftwareFor(QStringLiteral("V101"), app.versions, handover, app.messenger), handsOver);
        QCOMPARE(saveCalls, saves);
        if (modified) {
            QCOMPARE(prompter.texts(), QStringList{QStringLiteral("File has been modify,save it now?")});
            QCOMPARE(prompter.asked.front().buttons, Buttons::YesNoCancel);
        } else {
            QVERIFY(prompter.asked.isEmpty());
        }
        QCOMPARE(launcher.started.size(), handsOver ? 1 : 0);
        QCOMPARE(launcher.quits, handsOver ? 1 : 0);
        if (handsOver)
            QCOMPARE(QDir::fromNativeSeparators(launcher.started.front()),
                     QDir::fromNativeSeparators(app.installRoot) + QStringLiteral("/V101/MX_806TR"));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
