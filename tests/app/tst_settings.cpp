#include "app/Settings.h"
#include "data/TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace mx;
using namespace mx::test;

namespace {

// A settings file with the usual five keys in the usual order.
QByteArray usual(int firstRun, int port, int handshaking, int stopBit, int language)
{
    return QString::asprintf("[language]\r\nIsFirstRun=%d\r\ncomPort=%d\r\nHandshaking=%d\r\nStopBit=%d\r\n"
                             "CurrentLanguage=%d\r\n",
                             firstRun, port, handshaking, stopBit, language)
        .toLatin1();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString iniPath() const { return Settings::pathUnder(m_dir.path()); }
    // Writes the settings file, or leaves none for "<none>".
    void writeIni(const QByteArray& bytes)
    {
        QDir(m_dir.filePath(QStringLiteral("language"))).removeRecursively();
        if (bytes != "<none>") writeFile(iniPath(), bytes);
    }

private Q_SLOTS:
    // The system is Chinese when the locale names Chinese of China or the Simplified script.
    void systemLanguageFromLocaleName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("language");
        QTest::newRow("zh_CN.UTF-8") << "zh_CN.UTF-8" << 2;
        QTest::newRow("zh_Hans_SG") << "zh_Hans_SG" << 2;
        QTest::newRow("zh-Hans") << "zh-Hans" << 2;
        QTest::newRow("zh_TW") << "zh_TW.UTF-8" << 1;
        QTest::newRow("en_US") << "en_US.UTF-8" << 1;
        QTest::newRow("C") << "C" << 1;
    }
    void systemLanguageFromLocaleName()
    {
        QFETCH(QString, name);
        QTEST(SystemLocale::languageOfLocaleName(name), "language");
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("systemLanguage");
        QTest::addColumn<QList<int>>("values"); // comPort, Handshaking, StopBit, CurrentLanguage
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("first run takes the system language")
            << usual(1, 3, 2, 1, 1) << 2 << QList<int>{3, 2, 1, 2} << usual(0, 3, 2, 1, 2);
        QTest::newRow("first run on an English system")
            << usual(-1, 1, 0, 0, 2) << 1 << QList<int>{1, 0, 0, 1} << usual(0, 1, 0, 0, 1);
        // A port beyond 255 is no port at all (never COM1) and stays in the file as the user wrote it.
        QTest::newRow("garbage keeps the initial values, port 256 is none")
            << QByteArray(
                   "[language]\nIsFirstRun=0\ncomPort=256\nHandshaking=x\nStopBit=1.5\nCurrentLanguage=\n")
            << 2 << QList<int>{0, 0, 0, 2}
            << QByteArray(
                   "[language]\nIsFirstRun=0\ncomPort=256\nHandshaking=x\nStopBit=1.5\nCurrentLanguage=2\n");
        QTest::newRow("port 255") << QByteArray("[language]\nIsFirstRun=0\ncomPort=255\n") << 1
                                  << QList<int>{255, 0, 0, 1}
                                  << QByteArray("[language]\nIsFirstRun=0\ncomPort=255\nCurrentLanguage=1\n");
        QTest::newRow("missing IsFirstRun is a first run")
            << QByteArray("[language]\r\ncomPort=2\r\nCurrentLanguage=1\r\n") << 2 << QList<int>{2, 0, 0, 2}
            << QByteArray("[language]\r\ncomPort=2\r\nCurrentLanguage=2\r\nIsFirstRun=0\r\n");
        const QByteArray other(
            "; MX-806TR\r\n[Language]\r\n IsFirstRun = 0\r\ncomPort=4\r\nExtra=\xB2\xE2\r\n"
            "CurrentLanguage=1\r\n\r\n[other]\r\nStopBit=9\r\n");
        QTest::newRow("other lines kept byte for byte") << other << 2 << QList<int>{4, 0, 0, 1} << other;
    }
    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, systemLanguage);
        writeIni(file);
        Settings settings;
        settings.comPort = 9; // the loader starts from its own initial values
        settings.load(iniPath(), FixedLocale(systemLanguage));
        QCOMPARE(settings.isFirstRun, false);
        QTEST(
            (QList<int>{settings.comPort, settings.handshaking, settings.stopBit, settings.currentLanguage}),
            "values");
        QCOMPARE(settings.systemLanguage, systemLanguage);
        QCOMPARE(settings.previousLanguage, systemLanguage);
        QTEST(readFile(iniPath()), "written");
    }

    void savePortAndName_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("name added")
            << QByteArray("[language]\r\ncomPort=1\r\nCurrentLanguage=1\r\n") << "/dev/ttyUSB0"
            << QByteArray("[language]\r\ncomPort=3\r\nCurrentLanguage=2\r\ncomPortName=/dev/ttyUSB0\r\n");
        QTest::newRow("name cleared")
            << QByteArray("[language]\r\ncomPort=1\r\ncomPortName=/dev/ttyS0\r\n") << QString()
            << QByteArray("[language]\r\ncomPort=3\r\ncomPortName=\r\nCurrentLanguage=2\r\n");
        QTest::newRow("folder created") << QByteArray("<none>") << QString()
                                        << QByteArray("[language]\r\ncomPort=3\r\nCurrentLanguage=2\r\n");
    }
    // The port dialog and the language dialog each write back their own key.
    void savePortAndName()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, name);
        writeIni(before);
        Settings settings;
        settings.comPort = 3;
        settings.comPortName = name;
        settings.currentLanguage = 2;
        QVERIFY(settings.saveComPort(iniPath()));
        QVERIFY(settings.saveLanguage(iniPath()));
        QTEST(readFile(iniPath()), "after");
        Settings back;
        back.load(iniPath(), FixedLocale(1));
        QCOMPARE(back.comPort, 3);
        QCOMPARE(back.comPortName, name);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
