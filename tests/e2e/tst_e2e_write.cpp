// mx806 write, multi-write, encode and decode against the radio emulator.

#include "E2e.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace e2e;

namespace {

constexpr int WrittenSize = 0x3F60; // a write covers 0x0000..0x3F5F
const char Marker = char(0xA5);

} // namespace

class TstE2eWrite : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;     // the data file written in every test
    QString m_marker;   // a radio memory full of the marker byte
    QByteArray m_image; // the memory image of m_file, from mx806 encode

    // A radio memory that started full of the marker and was written with m_file.
    void checkWritten(const QByteArray& memory)
    {
        QCOMPARE(memory.size(), 0x4000);
        QCOMPARE(memory.left(WrittenSize), m_image.left(WrittenSize));
        QCOMPARE(memory.mid(WrittenSize), QByteArray(0x4000 - WrittenSize, Marker));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_file = templateFile(2);
        QVERIFY2(QFileInfo::exists(m_file), qPrintable(m_file));
        m_marker = m_dir.filePath("marker.bin");
        QVERIFY(writeAll(m_marker, QByteArray(0x4000, Marker)));
        const QString encoded = m_dir.filePath("image.bin");
        const Result r = runMx806({"encode", m_file, "-o", encoded});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        m_image = readAll(encoded);
        QCOMPARE(m_image.size(), 0x4000);
    }

    void write_data()
    {
        QTest::addColumn<QStringList>("radioOptions");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("restarted");
        const QStringList done{"Write Data Completed."};
        QTest::newRow("undisturbed") << QStringList{} << 0 << done << false;
        QTest::newRow("first handshake ignored")
            << QStringList{"--ignore-handshakes", "1"} << 0 << done << false;
        QTest::newRow("lone ACK") << QStringList{"--lone-ack"} << 0 << done << false;
        QTest::newRow("lost ACK") << QStringList{"--drop-block", "0x1000"} << 0 << done << true;
        QTest::newRow("NAK") << QStringList{"--bad-checksum", "0x3F50"} << 0 << done << true;
        QTest::newRow("stray byte before ACK") << QStringList{"--stray-byte", "0x0500"} << 0 << done << true;
        QTest::newRow("feature warning does not stop the write")
            << QStringList{"--flags", "3"} << 0
            << done + QStringList{"CTCSS/DCS Function is invalid,", "TV Function is invalid,",
                                  "Some features will not work."}
            << false;
        QTest::newRow("wrong model: nothing sent")
            << QStringList{"--model", "MX900"} << 4 << QStringList{"Model type is wrong."} << false;
    }
    void write()
    {
        QFETCH(QStringList, radioOptions);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messages);
        QFETCH(bool, restarted);
        Emulator radio(m_dir.path());
        const QString saved = m_dir.filePath("saved.bin");
        QFile::remove(saved);
        QVERIFY(radio.start(QStringList{"--memory", m_marker, "--save", saved} + radioOptions));
        const Result r = runMx806({"write", "--port", radio.device(), m_file});
        QVERIFY(r.finished);
        QVERIFY2(r.exitCode == exitCode, r.err.constData());
        for (const QString& message : messages)
            QVERIFY2(r.err.contains(message.toUtf8()), qPrintable(message));
        // A block without an answer asks OK/Cancel; the handshake question never came.
        QCOMPARE(r.err.contains("Check Connection. Retry or Cancel? [OK]"), restarted);
        QVERIFY(!r.err.contains("[Retry]"));
        radio.stop();
        const QStringList blocks = radio.blocks('W');
        if (exitCode != 0) {
            QVERIFY(blocks.isEmpty());
            return;
        }
        QCOMPARE(blocks.last(), QStringLiteral("3F50"));
        if (!restarted) {
            QCOMPARE(blocks.size(), 1014);
            QCOMPARE(blocks.first(), QStringLiteral("0000"));
        }
        checkWritten(readAll(saved));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("write: missing file") << "write" << QByteArray();
        QTest::newRow("write: short file") << "write" << QByteArray(100, 'x');
        QTest::newRow("encode: short file") << "encode" << QByteArray(100, 'x');
        QTest::newRow("decode: short memory") << "decode" << QByteArray(100, 'x');
        QTest::newRow("decode: long memory") << "decode" << QByteArray(0x4001, char(0xFF));
    }
    void refusedFiles()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, content);
        const QString input = m_dir.filePath(command == "decode" ? "in.bin" : "in.dat");
        QFile::remove(input);
        if (!content.isEmpty()) QVERIFY(writeAll(input, content));
        const QString output = m_dir.filePath(command == "encode" ? "out.bin" : "out.dat");
        QFile::remove(output);

        Result r;
        if (command == "write") {
            Emulator radio(m_dir.path());
            QVERIFY(radio.start({}));
            r = runMx806({"write", "--port", radio.device(), input});
            radio.stop();
            QVERIFY(radio.blocks('W').isEmpty());
        } else {
            r = runMx806({command, input, "-o", output});
        }
        QCOMPARE(r.exitCode, 2);
        QVERIFY(!QFileInfo::exists(output));
    }

    void multiWriteTwoRadios()
    {
        Emulator radio(m_dir.path());
        // The gap outlasts two failed handshake attempts, so the second radio counts as a new one.
        QVERIFY(radio.start(
            {"--memory", m_marker, "--save", m_dir.filePath("radio%n.bin"), "--swap-gap", "1500"}));
        const Result r = runMx806({"multi-write", "--port", radio.device(), "--count", "2", m_file});
        QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
        QCOMPARE(r.err.count("Write Data Completed."), 1);
        // Each radio announced once, its progress under its own number from 0%.
        QCOMPARE(r.err.count("radio 1 of 2"), 1);
        QVERIFY2(r.err.contains("radio 2 of 2\nwrite radio 2 0%"), r.err.constData());
        radio.stop();
        QCOMPARE(radio.blocks('W').size(), 2 * 1014);
        checkWritten(readAll(m_dir.filePath("radio1.bin")));
        checkWritten(readAll(m_dir.filePath("radio2.bin")));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("radio3.bin")));
    }

    void decodeEncodeRoundTrip()
    {
        // Every range family's template: its image decodes to a data file whose image is the same.
        const QString first = m_dir.filePath("first.bin"), decoded = m_dir.filePath("decoded.dat"),
                      second = m_dir.filePath("second.bin");
        for (int family = 0; family < 3; ++family) {
            QCOMPARE(runMx806({"encode", templateFile(family), "-o", first}).exitCode, 0);
            QCOMPARE(runMx806({"decode", first, "-o", decoded}).exitCode, 0);
            QVERIFY(QFileInfo::exists(m_dir.filePath("decoded.fre")));
            QCOMPARE(runMx806({"encode", decoded, "-o", second}).exitCode, 0);
            QCOMPARE(readAll(second).left(WrittenSize), readAll(first).left(WrittenSize));
        }
    }
};

QTEST_GUILESS_MAIN(TstE2eWrite)
#include "tst_e2e_write.moc"
