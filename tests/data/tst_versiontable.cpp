#include "data/VersionTable.h"
#include "shell/ShellTestPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace mx;

namespace {

class RecordingLauncher : public Launcher
{
public:
    bool startResult = true;
    QStringList started;
    int quits = 0;

    bool start(const QString& programPath) override
    {
        started.append(programPath);
        return startResult;
    }
    void quit() override { ++quits; }
};

const QString FailToStart = QStringLiteral("Fail to start the software. This version does not exist.");

} // namespace

class TestVersionTable : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString tablePath() const { return m_dir.filePath(QStringLiteral("Version.ini")); }
    void writeTable(const QByteArray& bytes)
    {
        QFile f(tablePath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write the table");
        f.write(bytes);
    }
    static QByteArray table(const QByteArray& firmCount, const QByteArray& firmKeys)
    {
        return "[Version]\r\nCurrentVersion=V100\r\nSoftVersionCount=1\r\nFirmVersionCount=" + firmCount +
               "\r\n\r\n[Soft]\r\nVersion0=V100\r\n\r\n[Firm]\r\n" + firmKeys;
    }

private Q_SLOTS:
    void init() { QFile::remove(tablePath()); }

    void compatibility_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no Version.ini
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("compatible");
        QTest::addColumn<QString>("software");
        const QByteArray one = table("1", "Firm0=V100V100\r\n");
        const QByteArray two = table("2", "Firm0=V100V100\r\nFirm1=V101V101\r\n");
        QTest::newRow("own version") << one << "V100" << true << "V100";
        QTest::newRow("unlisted version") << one << "V101" << false << "";
        QTest::newRow("second pair") << two << "V101" << false << "V101";
        QTest::newRow("lower case does not match") << one << "v100" << false << "";
        QTest::newRow("first of two handlers")
            << table("3", "Firm0=V100V100\r\nFirm1=V102V101\r\nFirm2=V103V101\r\n") << "V101" << false
            << "V102";
        QTest::newRow("no file") << QByteArray() << "V100" << false << "";
        QTest::newRow("count 0") << table("0", "Firm0=V100V100\r\n") << "V100" << false << "";
        QTest::newRow("count not a number") << table("two", "Firm0=V100V100\r\n") << "V100" << false << "";
        QTest::newRow("count beyond a word")
            << table("99999999999", "Firm0=V100V100\r\n") << "V100" << false << "";
        QTest::newRow("count beyond the keys, empty tag")
            << table("3", "Firm0=V100V100\r\n") << "" << false << "";
        QTest::newRow("count beyond the keys, listed tag")
            << table("3", "Firm0=V100V100\r\n") << "V100" << true << "V100";
        QTest::newRow("value cut at its NUL")
            << table("1", QByteArrayLiteral("Firm0=V100V101\0V100V100\r\n")) << "V101" << true << "V100";
    }
    void compatibility()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, other);
        QFETCH(bool, compatible);
        QFETCH(QString, software);
        if (!file.isEmpty()) writeTable(file);
        VersionTable versions;
        versions.load(tablePath());
        QCOMPARE(versions.isCompatible(QStringLiteral("V100"), other), compatible);
        QCOMPARE(versions.softwareFor(other), software);
    }

    void shown_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("V100") << "V100"
                              << "V1.00";
        QTest::newRow("V101") << "V101"
                              << "V1.01";
        QTest::newRow("V210") << "V210"
                              << "V2.10";
    }
    void shown()
    {
        QFETCH(QString, version);
        QFETCH(QString, expected);
        QCOMPARE(VersionTable::shown(version), expected);
    }

    void incompatibleMessage_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("data file, English")
            << 1 << 1
            << "incompatible version. It may cause unknown error.To start the corresponding software "
               "version, or "
               "not?\r\nDataFile version is V1.01\r\nprogramming software is V1.00";
        QTest::newRow("firmware, English")
            << 0 << 1
            << "incompatible version. It may cause unknown error.To start the corresponding software "
               "version, or "
               "not?\r\nFirmware version is V1.01\r\nprogramming software is V1.00";
        QTest::newRow("data file, Chinese")
            << 1 << 2
            << QString::fromUtf8("版本不兼容，有可能引起未知错误，是否启动对应版本软件？"
                                 "\r\n数据文件版本为 V1.01\r\n写频软件版本为 V1.00");
        QTest::newRow("firmware, Chinese")
            << 0 << 2
            << QString::fromUtf8("版本不兼容，有可能引起未知错误，是否启动对应版本软件？"
                                 "\r\n固件版本为 V1.01\r\n写频软件版本为 V1.00");
    }
    void incompatibleMessage()
    {
        QFETCH(int, kind);
        QFETCH(int, language);
        QFETCH(QString, expected);
        QCOMPARE(
            VersionTable::incompatibleMessage(QStringLiteral("V100"), QStringLiteral("V101"), kind, language),
            expected);
    }

    void installRoot_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QString>("root");
#ifdef Q_OS_WIN
        QTest::newRow("C:\\Radio\\V1") << "C:\\Radio\\V1"
                                       << "C:\\Radio";
        QTest::newRow("C:\\Radio") << "C:\\Radio"
                                   << "C:\\";
        QTest::newRow("forward slashes") << "C:/Radio/V100/"
                                         << "C:\\Radio";
#else
        QTest::newRow("/opt/Radio/V1") << "/opt/Radio/V1"
                                       << "/opt/Radio";
        QTest::newRow("/Radio") << "/Radio"
                                << "/";
        QTest::newRow("trailing separator") << "/opt/Radio/V100/"
                                            << "/opt/Radio";
        QTest::newRow("dot segments") << "/opt/Radio/./V100/../V101"
                                      << "/opt/Radio";
        QTest::newRow("root") << "/"
                              << "/";
#endif
    }
    void installRoot()
    {
        QFETCH(QString, programDir);
        QFETCH(QString, root);
        QCOMPARE(installRootOf(programDir), root);
    }

    void startSoftwareFor_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("proceed");     // what beforeHandover answers
        QTest::addColumn<bool>("startResult"); // whether the program starts
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("started");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("hands over") << "V101" << true << true << true << true << QStringList();
        QTest::newRow("no such version")
            << "V102" << true << true << false << false << QStringList{FailToStart};
        QTest::newRow("cancelled before handing over")
            << "V101" << false << true << false << false << QStringList();
        QTest::newRow("program does not start")
            << "V101" << true << false << false << true << QStringList{QStringLiteral("file error.")};
    }
    void startSoftwareFor()
    {
        QFETCH(QString, other);
        QFETCH(bool, proceed);
        QFETCH(bool, startResult);
        QFETCH(bool, result);
        QFETCH(bool, started);
        QFETCH(QStringList, messages);

        writeTable(table("2", "Firm0=V100V100\r\nFirm1=V101V101\r\n"));
        VersionTable versions;
        QVERIFY(versions.load(tablePath()));
        ShellTestPrompter prompter;
        Messenger messenger(prompter);
        RecordingLauncher launcher;
        launcher.startResult = startResult;
        int asked = 0;
        Handover handover;
        handover.installRoot = m_dir.path();
        handover.executableName = QStringLiteral("MX_806TR");
        handover.launcher = &launcher;
        handover.beforeHandover = [&] {
            ++asked;
            return proceed;
        };

        QCOMPARE(mx::startSoftwareFor(other, versions, handover, messenger), result);
        QCOMPARE(prompter.texts(), messages);
        QCOMPARE(asked, other == QStringLiteral("V102") ? 0 : 1);
        const QString expectedPath =
            QDir::toNativeSeparators(m_dir.path() + QStringLiteral("/V101/MX_806TR"));
        QCOMPARE(launcher.started, started ? QStringList{expectedPath} : QStringList());
        QCOMPARE(launcher.quits, result ? 1 : 0);
    }

    void failMessageInChinese()
    {
        VersionTable versions;
        ShellTestPrompter prompter;
        Messenger messenger(prompter, Chinese);
        RecordingLauncher launcher;
        Handover handover;
        handover.launcher = &launcher;
        QVERIFY(!mx::startSoftwareFor(QStringLiteral("V100"), versions, handover, messenger));
        QCOMPARE(prompter.texts(), QStringList{QString::fromUtf8("未能启动，不存在此版本软件！")});
        QCOMPARE(prompter.asked.front().buttons, Buttons::Ok);
    }

    void processLauncherRefusesMissingProgram()
    {
        ProcessLauncher launcher;
        QVERIFY(!launcher.start(m_dir.filePath(QStringLiteral("V101/MX_806TR"))));
    }
};

QTEST_GUILESS_MAIN(TestVersionTable)
#include "tst_versiontable.moc"
