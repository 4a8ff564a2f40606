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
        QTest::addColumn<QStringList>("writeOptions");
        const QStringList done{"Write Data Completed."};
        QTest::newRow("undisturbed") << QStringList{} << 0 << done << false << QStringList{};
        QTest::newRow("lost ACK") << QStringList{"--drop-block", "0x1000"} << 0 << done << true
                                  << QStringList{};
        QTest::newRow("NAK") << QStringList{"--bad-checksum", "0x3F50"} << 0 << done << true << QStringList{};
        QTest::newRow("stray byte before ACK")
            << QStringList{"--stray-byte", "0x0500"} << 0 << done << true << QStringList{};
        QTest::newRow("feature warning does not stop the write")
            << QStringList{"--flags", "3"} << 0
            << done + QStringList{"CTCSS/DCS Function is invalid,", "TV Function is invalid,",
                                  "Some features will not work."}
            << false << QStringList{};
        QTest::newRow("cable pulled in the middle")
            << QStringList{"--hang-up", "0x2000"} << 3
            << QStringList{"was lost during the write; the radio may hold a partial write: write it again"}
            << false << QStringList{};
        QTest::newRow("wrong model: nothing sent")
            << QStringList{"--model", "MX900"} << 4 << QStringList{"Model type is wrong."} << false
            << QStringList{};
        QTest::newRow("verified") << QStringList{} << 0
                                  << done + QStringList{"verified: the radio holds what was written"} << false
                                  << QStringList{"--verify"};
        QTest::newRow("verify finds a faulty cell")
            << QStringList{"--corrupt-byte", "0x0010"} << 6
            << done + QStringList{"Verify failed at 0x0010 (10M band A channel 2 receive frequency)."}
            << false << QStringList{"--verify"};
    }
    void write()
    {
        QFETCH(QStringList, radioOptions);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messages);
        QFETCH(bool, restarted);
        QFETCH(QStringList, writeOptions);
        Emulator radio(m_dir.path());
        const QString saved = m_dir.filePath("saved.bin");
        QFile::remove(saved);
        QVERIFY(radio.start(QStringList{"--memory", m_marker, "--save", saved} + radioOptions));
        const Result r = runMx806(QStringList{"write", "--port", radio.device(), m_file} + writeOptions);
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
            QCOMPARE(r.err.contains("Write Data Completed."), exitCode == 6); // 6: written, then found wrong
            if (exitCode == 4) QVERIFY(blocks.isEmpty());
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
        QTest::addColumn<QByteArray>("content"); // of the input; a data file goes without its channel file
        QTest::addColumn<QString>("message");
        const QByteArray dat = readAll(m_file);
        // The pair its last save left half replaced: no shifted channels reach a radio.
        QTest::newRow("write: last save interrupted") << "write" << dat
                                                      << "in.dat.saving was left by the "
                                                         "interrupted save";
        QTest::newRow("write: channel file missing")
            << "write" << dat
            << "in.fre: No such file or directory; 323 of the 323 channels that in.dat counts are missing\n"
               "mx806: nothing written";
        QTest::newRow("multi-write: channel file missing") << "multi-write" << dat << "nothing written";
        QTest::newRow("decode: short memory") << "decode" << QByteArray(100, 'x') << "100 bytes;";
        QTest::newRow("decode: long memory")
            << "decode" << QByteArray(0x4001, char(0xFF)) << "more than 16384 bytes;";
    }
    void refusedFiles()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString input = m_dir.filePath(command == "decode" ? "in.bin" : "in.dat");
        QFile::remove(input);
        QFile::remove(m_dir.filePath("in.fre"));
        if (!content.isEmpty()) QVERIFY(writeAll(input, content));
        const bool interrupted = message.contains("interrupted");
        if (interrupted) QVERIFY(writeAll(input + ".saving", "") && writeAll(m_dir.filePath("in.fre"), "1"));
        const QString output = m_dir.filePath("out.dat");
        QFile::remove(output);

        Result r;
        if (command.contains("write")) {
            // Refused before the port opens: the radio's memory stays as it was.
            Emulator radio(m_dir.path());
            const QString saved = m_dir.filePath("unchanged.bin");
            QFile::remove(saved);
            QVERIFY(radio.start({"--memory", m_marker, "--save", saved}));
            const QStringList count = command == "write" ? QStringList{} : QStringList{"--count", "1"};
            r = runMx806(QStringList{command, "--port", radio.device()} + count + QStringList{input});
            radio.stop();
            QVERIFY(radio.blocks('W').isEmpty());
            QVERIFY(!radio.log().contains("radiosim: END"));
            QVERIFY(!QFileInfo::exists(saved));
        } else {
            r = runMx806({command, input, "-o", output});
        }
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY(!QFileInfo::exists(output));
        if (interrupted) QFile::remove(input + ".saving");
    }

    // The radio stores any TV in-use word other than 1 as a free entry.
    void writeTvChannelInUse2()
    {
        const QString file = m_dir.filePath("tv.dat");
        QByteArray dat = readAll(m_file);
        QVERIFY(quint8(m_image[0x3D09]) & 1); // the template uses TV channel 1
        dat[108] = 2;                         // TV channel 1's in-use word
        QVERIFY(writeAll(file, dat));
        QVERIFY(QFile::copy(m_file.left(m_file.size() - 3) + "fre", m_dir.filePath("tv.fre")));
        Emulator radio(m_dir.path());
        const QString saved = m_dir.filePath("tv.bin");
        QVERIFY(radio.start({"--memory", m_marker, "--save", saved}));
        const Result r = runMx806({"write", "--port", radio.device(), file});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        radio.stop();
        const QByteArray memory = readAll(saved);
        QCOMPARE(memory.size(), 0x4000);
        QCOMPARE(quint8(memory[0x3D09]), quint8(m_image[0x3D09] & ~1));
    }

    void multiWrite_data()
    {
        QTest::addColumn<QStringList>("radioOptions");
        QTest::addColumn<QStringList>("writeOptions");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("radiosWritten");
        QTest::addColumn<QString>("message");
        // The gap outlasts two failed handshake attempts, so the second radio counts as a new one.
        QTest::newRow("two radios") << QStringList{"--swap-gap", "1500"} << QStringList{} << 0 << 2
                                    << "radio 2 of 2\nwrite radio 2 0%";
        // The written radio stays on the cable: it is not written again, and the wait ends.
        QTest::newRow("no next radio") << QStringList{} << QStringList{"--timeout", "2"} << 3 << 1
                                       << "no next radio answered within 2 s (1 of 2 radios written)";
    }
    void multiWrite()
    {
        QFETCH(QStringList, radioOptions);
        QFETCH(QStringList, writeOptions);
        QFETCH(int, exitCode);
        QFETCH(int, radiosWritten);
        QFETCH(QString, message);
        for (const char* name : {"radio1.bin", "radio2.bin", "radio3.bin"})
            QFile::remove(m_dir.filePath(name));
        Emulator radio(m_dir.path());
        QVERIFY(radio.start(QStringList{"--memory", m_marker, "--save", m_dir.filePath("radio%n.bin")} +
                            radioOptions));
        const Result r = runMx806(
            QStringList{"multi-write", "--port", radio.device(), "--count", "2", m_file} + writeOptions);
        QVERIFY(r.finished);
        QVERIFY2(r.exitCode == exitCode, r.err.constData());
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QCOMPARE(r.err.count("Write Data Completed."), exitCode == 0 ? 1 : 0);
        // Each radio announced once, after the instruction to swap radios.
        QCOMPARE(r.err.count("radio 1 of 2"), 1);
        QVERIFY(
            r.err.contains("mx806: Waiting for the next radio: disconnect the written radio and connect the "
                           "next one.\nmx806: radio 2 of 2\n"));
        radio.stop();
        QCOMPARE(radio.blocks('W').size(), radiosWritten * 1014);
        QCOMPARE(radio.blocks('R').size(), writeOptions.contains("--verify") ? radiosWritten * 1014 : 0);
        checkWritten(readAll(m_dir.filePath("radio1.bin")));
        QCOMPARE(QFileInfo::exists(m_dir.filePath("radio2.bin")), radiosWritten == 2);
        if (radiosWritten == 2) checkWritten(readAll(m_dir.filePath("radio2.bin")));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("radio3.bin")));
    }

    // A radio that does not keep what it is given stops a verified multi-radio
    // write before anyone is asked to connect the next one.
    void multiWriteVerifyFails()
    {
        Emulator radio(m_dir.path());
        QVERIFY(radio.start(
            {"--memory", m_marker, "--corrupt-byte", "0x0010", "--swap-gap", "1500", "--swap-every", "2"}));
        const Result r =
            runMx806({"multi-write", "--port", radio.device(), "--count", "2", "--verify", m_file});
        QVERIFY2(r.exitCode == 6, r.err.constData());
        QVERIFY2(r.err.contains("Verify failed at 0x0010 (10M band A channel 2 receive frequency).\n"
                                "mx806: radio 1 does not hold what was written: write it again "
                                "(0 of 2 radios written)"),
                 r.err.constData());
        QVERIFY(!r.err.contains("Waiting for the next radio"));
        QVERIFY(!r.err.contains("Write Data Completed."));
        radio.stop();
        QCOMPARE(radio.blocks('W').size(), 1014);
        QCOMPARE(radio.blocks('R').size(), 1014);
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
