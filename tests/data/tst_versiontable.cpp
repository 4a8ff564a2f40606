#include "data/TestSupport.h"
#include "data/VersionTable.h"

#include <QTemporaryDir>
#include <QTest>

using namespace mx;
using namespace mx::test;

namespace {

QByteArray table(const QByteArray& firmCount, const QByteArray& firmKeys)
{
    return "[Version]\r\nCurrentVersion=V100\r\nSoftVersionCount=1\r\nFirmVersionCount=" + firmCount +
           "\r\n\r\n[Soft]\r\nVersion0=V100\r\n\r\n[Firm]\r\n" + firmKeys;
}

} // namespace

class TestVersionTable : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString tablePath() const { return m_dir.filePath(QStringLiteral("Version.ini")); }

private Q_SLOTS:
    void compatibility_data()
    {
        // (No Version.ini at all: tst_cli's "root without Version.ini".)
        QTest::addColumn<QByteArray>("file");
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
        QTest::newRow("count 0") << table("0", "Firm0=V100V100\r\n") << "V100" << false << "";
        QTest::newRow("count not a number") << table("two", "Firm0=V100V100\r\n") << "V100" << false << "";
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
        writeFile(tablePath(), file);
        VersionTable versions;
        versions.load(tablePath());
        QTEST(versions.isCompatible(QStringLiteral("V100"), other), "compatible");
        QTEST(versions.softwareFor(other), "software");
    }

    void incompatibleMessage_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("expected");
        const QString english =
            QStringLiteral("incompatible version. It may cause unknown error.To start the "
                           "corresponding software version, or not?\r\n");
        const QString chinese = QStringLiteral("版本不兼容，有可能引起未知错误，是否启动对应版本软件？\r\n");
        QTest::newRow("data file, English")
            << 1 << 1 << english + "DataFile version is V1.01\r\nprogramming software is V1.00";
        QTest::newRow("firmware, Chinese") << 0 << 2 << chinese + "固件版本为 V1.01\r\n写频软件版本为 V1.00";
    }
    void incompatibleMessage()
    {
        QFETCH(int, kind);
        QFETCH(int, language);
        QTEST(
            VersionTable::incompatibleMessage(QStringLiteral("V100"), QStringLiteral("V101"), kind, language),
            "expected");
    }

    void installRoot_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QString>("root");
        auto row = [](const char* dir, const char* root) {
            QTest::newRow(dir) << QString(dir) << QString(root);
        };
#ifdef Q_OS_WIN
        row("C:\\Radio\\V1", "C:\\Radio");
        row("C:\\Radio", "C:\\");
        row("C:/Radio/V100/", "C:\\Radio");
#else
        row("/opt/Radio/V1", "/opt/Radio");
        row("/Radio", "/");
        row("/opt/Radio/V100/", "/opt/Radio");
        row("/opt/Radio/./V100/../V101", "/opt/Radio");
        row("/", "/");
#endif
    }
    void installRoot()
    {
        QFETCH(QString, programDir);
        QTEST(installRootOf(programDir), "root");
    }

    void processLauncherRefusesMissingProgram()
    {
        ProcessLauncher launcher;
        QVERIFY(!launcher.start(m_dir.filePath(QStringLiteral("V101/MX_806TR"))));
    }
};

QTEST_GUILESS_MAIN(TestVersionTable)
#include "tst_versiontable.moc"
