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
private Q_SLOTS:
    void initTestCase();
    void writeSendsExactlyTheImage();
    void writeSurvivesFaults_data();
    void writeSurvivesFaults();
    void writeToWrongModelSendsNothing();
    void featureWarningDoesNotStopTheWrite();
    void refusedFiles_data();
    void refusedFiles();
    void multiWriteTwoRadios();
    void decodeEncodeRoundTrip();

private:
    QTemporaryDir m_dir;
    QString m_file;     // the data file written in every test
    QString m_marker;   // a radio memory full of the marker byte
    QByteArray m_image; // the memory image of m_file, from mx806 encode
};

void TstE2eWrite::initTestCase()
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

void TstE2eWrite::writeSendsExactlyTheImage()
{
    Emulator radio(m_dir.path());
    const QString saved = m_dir.filePath("saved.bin");
    QVERIFY(radio.start({"--memory", m_marker, "--save", saved}));
    const Result r = runMx806({"write", "--port", radio.device(), m_file});
    QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
    QVERIFY(r.err.contains("Write Data Completed."));
    radio.stop();

    const QStringList blocks = radio.writtenBlocks();
    QCOMPARE(blocks.size(), 1014);
    QCOMPARE(blocks.first(), QStringLiteral("0000"));
    QCOMPARE(blocks.last(), QStringLiteral("3F50"));
    const QByteArray memory = readAll(saved);
    QCOMPARE(memory.size(), 0x4000);
    QCOMPARE(memory.left(WrittenSize), m_image.left(WrittenSize));
    QCOMPARE(memory.mid(WrittenSize), QByteArray(0x4000 - WrittenSize, Marker));
}

void TstE2eWrite::writeSurvivesFaults_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<bool>("restarted");
    QTest::newRow("first handshake ignored") << QStringList{"--ignore-handshakes", "1"} << false;
    QTest::newRow("lone ACK") << QStringList{"--lone-ack"} << false;
    QTest::newRow("lost ACK") << QStringList{"--drop-block", "0x1000"} << true;
    QTest::newRow("NAK") << QStringList{"--bad-checksum", "0x3F50"} << true;
    QTest::newRow("stray byte before ACK") << QStringList{"--stray-byte", "0x0500"} << true;
}

void TstE2eWrite::writeSurvivesFaults()
{
    QFETCH(QStringList, faults);
    QFETCH(bool, restarted);
    Emulator radio(m_dir.path());
    const QString saved = m_dir.filePath("fault.bin");
    QVERIFY(radio.start(QStringList{"--memory", m_marker, "--save", saved} + faults));
    const Result r = runMx806({"write", "--port", radio.device(), m_file});
    QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
    // A block without an answer asks OK/Cancel; the handshake question never came.
    QCOMPARE(r.err.contains("Check Connection. Retry or Cancel? [OK]"), restarted);
    QVERIFY(!r.err.contains("[Retry]"));
    const QByteArray memory = readAll(saved);
    QCOMPARE(memory.left(WrittenSize), m_image.left(WrittenSize));
    QCOMPARE(memory.mid(WrittenSize), QByteArray(0x4000 - WrittenSize, Marker));
}

void TstE2eWrite::writeToWrongModelSendsNothing()
{
    Emulator radio(m_dir.path());
    QVERIFY(radio.start({"--model", "MX900"}));
    const Result r = runMx806({"write", "--port", radio.device(), m_file});
    QCOMPARE(r.exitCode, 4);
    QVERIFY(r.err.contains("Model type is wrong."));
    radio.stop();
    QVERIFY(radio.writtenBlocks().isEmpty());
}

void TstE2eWrite::featureWarningDoesNotStopTheWrite()
{
    Emulator radio(m_dir.path());
    QVERIFY(radio.start({"--flags", "3"}));
    const Result r = runMx806({"write", "--port", radio.device(), m_file});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY(r.err.contains("CTCSS/DCS Function is invalid,"));
    QVERIFY(r.err.contains("TV Function is invalid,"));
    QVERIFY(r.err.contains("Some features will not work."));
    radio.stop();
    QCOMPARE(radio.writtenBlocks().size(), 1014);
}

void TstE2eWrite::refusedFiles_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("write: missing file") << "write" << QByteArray();
    QTest::newRow("write: short file") << "write" << QByteArray(100, 'x');
    QTest::newRow("encode: short file") << "encode" << QByteArray(100, 'x');
    QTest::newRow("decode: short memory") << "decode" << QByteArray(100, 'x');
    QTest::newRow("decode: long memory") << "decode" << QByteArray(0x4001, char(0xFF));
}

void TstE2eWrite::refusedFiles()
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
        QVERIFY(radio.writtenBlocks().isEmpty());
    } else {
        r = runMx806({command, input, "-o", output});
    }
    QCOMPARE(r.exitCode, 2);
    QVERIFY(!QFileInfo::exists(output));
}

void TstE2eWrite::multiWriteTwoRadios()
{
    Emulator radio(m_dir.path());
    const QString saved = m_dir.filePath("radio%n.bin");
    // The gap outlasts two failed handshake attempts, so the second radio counts as a new one.
    QVERIFY(radio.start({"--memory", m_marker, "--save", saved, "--swap-gap", "1500"}));
    const Result r = runMx806({"multi-write", "--port", radio.device(), "--count", "2", m_file});
    QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
    QCOMPARE(r.err.count("Write Data Completed."), 1);
    radio.stop();

    QCOMPARE(radio.writtenBlocks().size(), 2 * 1014);
    for (int n = 1; n <= 2; ++n) {
        const QByteArray memory = readAll(m_dir.filePath(QStringLiteral("radio%1.bin").arg(n)));
        QCOMPARE(memory.left(WrittenSize), m_image.left(WrittenSize));
        QCOMPARE(memory.mid(WrittenSize), QByteArray(0x4000 - WrittenSize, Marker));
    }
    QVERIFY(!QFileInfo::exists(m_dir.filePath("radio3.bin")));
}

void TstE2eWrite::decodeEncodeRoundTrip()
{
    // Every range family's template: its image decodes to a data file whose image is the same.
    for (int family = 0; family < 3; ++family) {
        const QString first = m_dir.filePath("first.bin");
        const QString decoded = m_dir.filePath("decoded.dat");
        const QString second = m_dir.filePath("second.bin");
        QCOMPARE(runMx806({"encode", templateFile(family), "-o", first}).exitCode, 0);
        QCOMPARE(runMx806({"decode", first, "-o", decoded}).exitCode, 0);
        QVERIFY(QFileInfo::exists(m_dir.filePath("decoded.fre")));
        QCOMPARE(runMx806({"encode", decoded, "-o", second}).exitCode, 0);
        QCOMPARE(readAll(second).left(WrittenSize), readAll(first).left(WrittenSize));
    }
}

QTEST_GUILESS_MAIN(TstE2eWrite)
#include "tst_e2e_write.moc"
