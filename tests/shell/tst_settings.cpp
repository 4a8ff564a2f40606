#include "data/IniFile.h"
#include "shell/Settings.h"

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

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString iniPath() const { return Settings::pathUnder(m_dir.path()); }
    void writeIni(const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(iniPath()).absolutePath());
        QFile f(iniPath());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write the settings file");
        f.write(bytes);
    }

private Q_SLOTS:
    void init() { QDir(m_dir.filePath(QStringLiteral("language"))).removeRecursively(); }

    void pathUnderInstallRoot()
    {
        QCOMPARE(QDir::fromNativeSeparators(Settings::pathUnder(QStringLiteral("/opt/Radio"))),
                 QStringLiteral("/opt/Radio/language/mysetup.ini"));
        QCOMPARE(QDir::fromNativeSeparators(Settings::pathUnder(QStringLiteral("/"))),
                 QStringLiteral("/language/mysetup.ini"));
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("file"); // "<none>": no settings file
        QTest::addColumn<int>("systemLanguage");
        QTest::addColumn<int>("comPort");
        QTest::addColumn<int>("handshaking");
        QTest::addColumn<int>("stopBit");
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("first run takes the system language")
            << QByteArray("[language]\r\nIsFirstRun=1\r\ncomPort=3\r\nHandshaking=2\r\nStopBit="
                          "1\r\nCurrentLanguage=1\r\n")
            << 2 << 3 << 2 << 1 << 2
            << QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=3\r\nHandshaking=2\r\nStopBit="
                          "1\r\nCurrentLanguage=2\r\n");
        QTest::newRow("first run on an English system")
            << QByteArray("[language]\r\nIsFirstRun=-1\r\ncomPort=1\r\nHandshaking=0\r\nStopBit="
                          "0\r\nCurrentLanguage=2\r\n")
            << 1 << 1 << 0 << 0 << 1
            << QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nHandshaking=0\r\nStopBit="
                          "0\r\nCurrentLanguage=1\r\n");
        QTest::newRow("later run takes the file's language")
            << QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=5\r\nHandshaking=0\r\nStopBit="
                          "0\r\nCurrentLanguage=2\r\n")
            << 1 << 5 << 0 << 0 << 2
            << QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=5\r\nHandshaking=0\r\nStopBit="
                          "0\r\nCurrentLanguage=2\r\n");
        QTest::newRow("unknown language index kept")
            << QByteArray("[language]\r\nIsFirstRun=0\r\nCurrentLanguage=7\r\n") << 1 << 1 << 0 << 0 << 7
            << QByteArray("[language]\r\nIsFirstRun=0\r\nCurrentLanguage=7\r\ncomPort=1\r\n");
        QTest::newRow("garbage keeps the initial values")
            << QByteArray(
                   "[language]\nIsFirstRun=0\ncomPort=COM3\nHandshaking=x\nStopBit=1.5\nCurrentLanguage=\n")
            << 2 << 1 << 0 << 0 << 2
            << QByteArray(
                   "[language]\nIsFirstRun=0\ncomPort=1\nHandshaking=x\nStopBit=1.5\nCurrentLanguage=2\n");
        QTest::newRow("beyond a word keeps the initial value")
            << QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=70000\r\nCurrentLanguage=2\r\n") << 1 << 1
            << 0 << 0 << 2 << QByteArray("[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nCurrentLanguage=2\r\n");
        QTest::newRow("missing IsFirstRun is a first run")
            << QByteArray("[language]\r\ncomPort=2\r\nCurrentLanguage=1\r\n") << 2 << 2 << 0 << 0 << 2
            << QByteArray("[language]\r\ncomPort=2\r\nCurrentLanguage=2\r\nIsFirstRun=0\r\n");
        QTest::newRow("IsFirstRun not a number is a first run")
            << QByteArray("[language]\r\nIsFirstRun=no\r\nCurrentLanguage=1\r\n") << 2 << 1 << 0 << 0 << 2
            << QByteArray("[language]\r\nIsFirstRun=0\r\nCurrentLanguage=2\r\ncomPort=1\r\n");
        QTest::newRow("no file") << QByteArray("<none>") << 1 << 1 << 0 << 0 << 1
                                 << QByteArray(
                                        "[language]\r\nIsFirstRun=0\r\ncomPort=1\r\nCurrentLanguage=1\r\n");
        QTest::newRow("other lines kept byte for byte")
            << QByteArray("; MX-806TR\r\n[Language]\r\n IsFirstRun = 0\r\ncomPort=4\r\nExtra=\xB2\xE2\r\n"
                          "CurrentLanguage=1\r\n\r\n[other]\r\nStopBit=9\r\n")
            << 2 << 4 << 0 << 0 << 1
            << QByteArray("; MX-806TR\r\n[Language]\r\n IsFirstRun = 0\r\ncomPort=4\r\nExtra=\xB2\xE2\r\n"
                          "CurrentLanguage=1\r\n\r\n[other]\r\nStopBit=9\r\n");
    }
    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, systemLanguage);
        if (file != "<none>") writeIni(file);

        Settings settings;
        settings.comPort = 9; // the loader starts from its own initial values
        settings.load(iniPath(), FixedLocale(systemLanguage));

        QCOMPARE(settings.isFirstRun, false);
        QTEST(settings.comPort, "comPort");
        QTEST(settings.handshaking, "handshaking");
        QTEST(settings.stopBit, "stopBit");
        QTEST(settings.currentLanguage, "language");
        QCOMPARE(settings.systemLanguage, systemLanguage);
        QCOMPARE(settings.previousLanguage, systemLanguage);
        QTEST(readAll(iniPath()), "written");
    }

    void secondRunKeepsTheLanguage()
    {
        writeIni(
            "[language]\r\nIsFirstRun=1\r\ncomPort=1\r\nHandshaking=0\r\nStopBit=0\r\nCurrentLanguage=1\r\n");
        Settings first;
        first.load(iniPath(), FixedLocale(2));
        QCOMPARE(first.currentLanguage, 2);
        // The language dialog changes it; the next start on an English system keeps it.
        first.currentLanguage = 2;
        QVERIFY(first.saveLanguage(iniPath()));
        Settings second;
        second.load(iniPath(), FixedLocale(1));
        QCOMPARE(second.currentLanguage, 2);
        QCOMPARE(second.previousLanguage, 1);
    }

    void savePortAndName_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("number only") << QByteArray("[language]\r\ncomPort=1\r\nCurrentLanguage=1\r\n")
                                     << QString()
                                     << QByteArray("[language]\r\ncomPort=3\r\nCurrentLanguage=1\r\n");
        QTest::newRow("name added")
            << QByteArray("[language]\r\ncomPort=1\r\nCurrentLanguage=1\r\n") << "/dev/ttyUSB0"
            << QByteArray("[language]\r\ncomPort=3\r\nCurrentLanguage=1\r\ncomPortName=/dev/ttyUSB0\r\n");
        QTest::newRow("name cleared")
            << QByteArray("[language]\r\ncomPort=1\r\ncomPortName=/dev/ttyS0\r\n") << QString()
            << QByteArray("[language]\r\ncomPort=3\r\ncomPortName=\r\n");
        QTest::newRow("folder created")
            << QByteArray("<none>") << QString() << QByteArray("[language]\r\ncomPort=3\r\n");
    }
    void savePortAndName()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, name);
        if (before != "<none>") writeIni(before);
        Settings settings;
        settings.comPort = 3;
        settings.comPortName = name;
        QVERIFY(settings.saveComPort(iniPath()));
        QTEST(readAll(iniPath()), "after");

        Settings back;
        back.load(iniPath(), FixedLocale(1));
        QCOMPARE(back.comPort, 3);
        QCOMPARE(back.comPortName, name);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
