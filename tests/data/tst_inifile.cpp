#include "data/IniFile.h"
#include "data/TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using mx::IniFile;
using namespace mx::test;

class TestIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("t.ini"));
        writeFile(path, bytes);
        return path;
    }

private Q_SLOTS:
    void value_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value"); // "def": missing
        const QByteArray file =
            QByteArrayLiteral("top=0\r\n[Language]\r\n  comPort =  3  \r\n;CurrentLanguage=2\r\n"
                              "Path=a=b\r\nTag=V100\0junk\r\ndup=first\r\ndup=second\r\n"
                              "[other]\r\nStopBit=1\r\n");
        auto row = [&](const char* name, const char* key, const char* value,
                       const char* section = "language") {
            QTest::newRow(name) << file << QString(section) << QString(key) << QString(value);
        };
        row("blanks trimmed, names any case", "COMPORT", "3");
        row("text after the first =", "path", "a=b");
        row("cut before a NUL", "Tag", "V100");
        row("first of two", "dup", "first");
        row("comment is no key", "CurrentLanguage", "def");
        row("key of another section", "StopBit", "def");
        row("key before any section", "top", "def");
        row("missing section", "comPort", "def", "nothing");
        QTest::newRow("after a bom") << QByteArray("\xEF\xBB\xBF[a]\nk=1\n") << QString("a") << QString("k")
                                     << QString("1");
    }
    void value()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        IniFile ini(write(bytes));
        QCOMPARE(ini.contains(section, key), value != QLatin1String("def"));
        QCOMPARE(ini.value(section, key, QStringLiteral("def")), value);
    }

    void setValue_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        auto row = [](const char* name, const QByteArray& before, const char* section, const char* key,
                      const char* value, const QByteArray& after) {
            QTest::newRow(name) << before << QString(section) << QString(key) << QString(value) << after;
        };
        // Every other byte stays as it was: comments, stray lines, a BOM, 8-bit text, mixed line ends.
        // (A settings file rewritten unchanged, or changed in one line, and one created where there was
        // none: tst_settings and tst_e2e_read readUsesTheSettingsPort.)
        row("lf, stray lines, no final line end", "[a]\nk=v\n# not ours\nstray line", "a", "k", "v",
            "[a]\nk=v\n# not ours\nstray line");
        row("mixed endings", "[a]\r\nk=v\nj=w\r\n", "a", "j", "w", "[a]\r\nk=v\nj=w\r\n");
        row("utf-8 bom and 8-bit text", "\xEF\xBB\xBF[a]\r\nname=\xD6\xD0\xCE\xC4\r\n", "a", "z", "1",
            "\xEF\xBB\xBF[a]\r\nname=\xD6\xD0\xCE\xC4\r\nz=1\r\n");
        row("keeps the key as written", "[a]\n  Key = old \n", "A", "key", "new", "[a]\n  Key = new\n");
        row("added after the last key of its section", "[a]\r\nx=1\r\n\r\n; about b\r\n[b]\r\ny=2\r\n", "a",
            "z", "3", "[a]\r\nx=1\r\nz=3\r\n\r\n; about b\r\n[b]\r\ny=2\r\n");
        row("added to an empty section", "[a]\n[b]\nk=v\n", "a", "z", "3", "[a]\nz=3\n[b]\nk=v\n");
        row("section appended, lf kept", "[a]\nk=v\n", "language", "comPort", "2",
            "[a]\nk=v\n[language]\ncomPort=2\n");
        row("last line without ending", "[a]\r\nk=v", "a", "n", "1", "[a]\r\nk=v\r\nn=1\r\n");
        row("changed last line keeps no ending", "[a]\nk=v", "a", "k", "w", "[a]\nk=w");
        row("line break in a value stays on its line", "[a]\r\nk=v\r\n", "a", "k", "1\r\n[x]",
            "[a]\r\nk=1  [x]\r\n");
        row("empty file uses crlf", "", "language", "IsFirstRun", "0", "[language]\r\nIsFirstRun=0\r\n");
    }
    void setValue()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, before);
        const QString path = write(before);
        IniFile ini;
        QVERIFY(ini.load(path));
        ini.setValue(section, key, value);
        QVERIFY(ini.save());
        QTEST(readFile(path), "after");
        QCOMPARE(IniFile(path).value(section, key), QString(value).replace(u'\r', u' ').replace(u'\n', u' '));
    }

    // Files that are not read (too large, a device) and places that are not written.
    void refused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("one byte over the size limit") << "large";
        QTest::newRow("link to a pipe") << "device";
        QTest::newRow("folder missing") << "nofolder";
        QTest::newRow("no name") << "noname";
    }
    void refused()
    {
        QFETCH(QString, kind);
        QString path = m_dir.filePath(QStringLiteral("refused.ini"));
        QFile::remove(path);
        if (kind == QLatin1String("large"))
            writeFile(path, "[a]\nk=v\n" + QByteArray(IniFile::MaxFileSize - 7, ';'));
        else if (kind == QLatin1String("device")) {
            // A pipe of our own stands for a device: should the check fail, nothing of the system is
            // replaced.
            const QString pipe = m_dir.filePath(QStringLiteral("pipe"));
            QFile::remove(pipe);
            QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
            QVERIFY(QFile::link(pipe, path));
        } else
            path =
                kind == QLatin1String("noname") ? QString() : m_dir.filePath(QStringLiteral("no/such/x.ini"));
        IniFile ini;
        QVERIFY(!ini.load(path));
        QVERIFY(!ini.contains(QStringLiteral("a"), QStringLiteral("k")));
        ini.setValue(QStringLiteral("a"), QStringLiteral("k"), QStringLiteral("v"));
        // A device is never replaced by a file; a file one byte too large may be.
        QCOMPARE(ini.save(path), kind == QLatin1String("large"));
        if (kind == QLatin1String("device")) QVERIFY(QFileInfo(path).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
