#include "data/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using mx::IniFile;

class TestIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("t.ini"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
        f.write(bytes);
        return path;
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void init() { QFile::remove(m_dir.filePath(QStringLiteral("t.ini"))); }

    void roundTripKeepsBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("crlf") << QByteArray(
            "; settings\r\n[language]\r\nIsFirstRun=1\r\n\r\n[other]\r\nx = y\r\n");
        QTest::newRow("lf, no final line end") << QByteArray("[a]\nk=v\n# not ours\nstray line");
        QTest::newRow("mixed endings") << QByteArray("[a]\r\nk=v\nj=w\r\n");
        QTest::newRow("utf-8 bom and 8-bit text")
            << QByteArray("\xEF\xBB\xBF[a]\r\nname=\xD6\xD0\xCE\xC4\r\n");
        QTest::newRow("empty") << QByteArray();
    }
    void roundTripKeepsBytes()
    {
        QFETCH(QByteArray, bytes);
        const QString path = write(bytes);
        IniFile ini;
        QVERIFY(ini.load(path));
        QVERIFY(ini.save());
        QCOMPARE(read(path), bytes);
    }

    void value_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("contained");
        QTest::addColumn<QString>("value");
        const QByteArray file = QByteArrayLiteral("top=0\r\n"
                                                  "[Language]\r\n"
                                                  "  comPort =  3  \r\n"
                                                  ";CurrentLanguage=2\r\n"
                                                  "Path=a=b\r\n"
                                                  "Tag=V100\0junk\r\n"
                                                  "dup=first\r\n"
                                                  "dup=second\r\n"
                                                  "[other]\r\n"
                                                  "StopBit=1\r\n");
        QTest::newRow("blanks trimmed, names any case") << file << "language"
                                                        << "COMPORT" << true << "3";
        QTest::newRow("text after the first =") << file << "language"
                                                << "path" << true << "a=b";
        QTest::newRow("cut before a NUL") << file << "language"
                                          << "Tag" << true << "V100";
        QTest::newRow("first of two") << file << "language"
                                      << "dup" << true << "first";
        QTest::newRow("comment is no key") << file << "language"
                                           << "CurrentLanguage" << false << "def";
        QTest::newRow("key of another section") << file << "language"
                                                << "StopBit" << false << "def";
        QTest::newRow("key before any section") << file << "language"
                                                << "top" << false << "def";
        QTest::newRow("missing section") << file << "nothing"
                                         << "comPort" << false << "def";
        QTest::newRow("utf-8 value") << QByteArray("[a]\nk=\xE4\xB8\xAD\n") << "a"
                                     << "k" << true << QString::fromUtf8("\xE4\xB8\xAD");
        QTest::newRow("after a bom") << QByteArray("\xEF\xBB\xBF[a]\nk=1\n") << "a"
                                     << "k" << true << "1";
    }
    void value()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, contained);
        QFETCH(QString, value);
        IniFile ini(write(bytes));
        QCOMPARE(ini.contains(section, key), contained);
        QCOMPARE(ini.value(section, key, QStringLiteral("def")), value);
    }

    void setValue_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("changes only its line")
            << QByteArray("; c\r\n[language]\r\nIsFirstRun=1\r\ncomPort=1\r\nUnknown=x\r\n") << "language"
            << "comport"
            << "4" << QByteArray("; c\r\n[language]\r\nIsFirstRun=1\r\ncomPort=4\r\nUnknown=x\r\n");
        QTest::newRow("keeps the key as written") << QByteArray("[a]\n  Key = old \n") << "A"
                                                  << "key"
                                                  << "new" << QByteArray("[a]\n  Key = new\n");
        QTest::newRow("added after the last key of its section")
            << QByteArray("[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\ny=2\r\n") << "a"
            << "z"
            << "3" << QByteArray("[a]\r\nx=1\r\nz=3\r\n\r\n; about b\r\n[b]\r\ny=2\r\n");
        QTest::newRow("added to an empty section") << QByteArray("[a]\n[b]\nk=v\n") << "a"
                                                   << "z"
                                                   << "3" << QByteArray("[a]\nz=3\n[b]\nk=v\n");
        QTest::newRow("section appended, lf kept") << QByteArray("[a]\nk=v\n") << "language"
                                                   << "comPort"
                                                   << "2" << QByteArray("[a]\nk=v\n[language]\ncomPort=2\n");
        QTest::newRow("last line without ending") << QByteArray("[a]\r\nk=v") << "a"
                                                  << "n"
                                                  << "1" << QByteArray("[a]\r\nk=v\r\nn=1\r\n");
        QTest::newRow("changed last line keeps no ending") << QByteArray("[a]\nk=v") << "a"
                                                           << "k"
                                                           << "w" << QByteArray("[a]\nk=w");
        QTest::newRow("line break in a value stays on its line")
            << QByteArray("[a]\r\nk=v\r\n") << "a"
            << "k"
            << "1\r\n[x]" << QByteArray("[a]\r\nk=1  [x]\r\n");
        QTest::newRow("new file uses crlf") << QByteArray() << "language"
                                            << "IsFirstRun"
                                            << "0" << QByteArray("[language]\r\nIsFirstRun=0\r\n");
    }
    void setValue()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString path = write(before);
        IniFile ini(path);
        ini.setValue(section, key, value);
        QVERIFY(ini.save());
        QCOMPARE(read(path), after);
        QCOMPARE(IniFile(path).value(section, key), QString(value).replace(u'\r', u' ').replace(u'\n', u' '));
    }

    void missingFileCreatedOnSave()
    {
        const QString path = m_dir.filePath(QStringLiteral("new.ini"));
        IniFile ini;
        QVERIFY(!ini.load(path));
        ini.setValue(QStringLiteral("Version"), QStringLiteral("CurrentVersion"), QStringLiteral("V100"));
        QVERIFY(ini.save());
        QCOMPARE(read(path), QByteArray("[Version]\r\nCurrentVersion=V100\r\n"));
    }

    void saveFailsWithoutFolder()
    {
        IniFile ini;
        ini.setValue(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("v"));
        QVERIFY(!ini.save(m_dir.filePath(QStringLiteral("no/such/folder/x.ini"))));
        QVERIFY(!ini.save(QString()));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
