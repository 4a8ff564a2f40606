// mx806 read and info against the radio emulator on a pseudo-terminal.

#include "E2e.h"

#include "data/DataFile.h"
#include "data/VersionTable.h"
#include "shell/Messenger.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace e2e;

namespace {

class QuietPrompter : public mx::Prompter
{
public:
    mx::Answer ask(const QString&, mx::Buttons buttons, mx::Icon) override
    {
        return buttons == mx::Buttons::Ok ? mx::Answer::Ok : mx::Answer::No;
    }
};

void putChannel(QByteArray& memory, int m, int b, int slot, const char* bcd6, int ctcss = -1)
{
    const int at = m * 0x1400 + ((b - 1) * 40 + (slot - 1)) * 16;
    // Six digits in units of 100 Hz, least significant pair first.
    for (int pair = 0; pair < 3; ++pair)
        memory[at + 2 - pair] = char(((bcd6[2 * pair] - '0') << 4) | (bcd6[2 * pair + 1] - '0'));
    memory[at + 3] = memory[at + 4] = 0;
    memory[at + 5] = char(ctcss < 0 ? 0 : ctcss);
    memory[at + 7] = 0;
    memory[at + 11] = char(ctcss < 0 ? 0x00 : 0x10);
    memory[at + 12] = 0;
    if (m < 2) {
        const int bitmap = (m == 0 ? 0x3D40 : 0x3D80) + (b - 1) * 5 + (slot - 1) / 8;
        memory[bitmap] = char(memory[bitmap] | (1 << ((slot - 1) % 8)));
    }
}

// A radio memory with channels in two range families, one with a gap.
QByteArray radioMemory()
{
    QByteArray memory(0x4000, char(0xFF));
    memory.replace(0x3D00, 0x100, QByteArray(0x100, '\0'));
    memory[0x3D02] = memory[0x3D03] = memory[0x3D04] = char(0xFF);
    putChannel(memory, 0, 1, 1, "280150");
    putChannel(memory, 0, 1, 2, "280250", 7);
    putChannel(memory, 0, 1, 4, "283050"); // slot 3 empty
    putChannel(memory, 0, 3, 40, "296950");
    putChannel(memory, 2, 1, 1, "269650");
    putChannel(memory, 2, 1, 2, "274050");
    memory.replace(0x3E00, 0x100, QByteArray(0x100, '\0'));
    return memory;
}

} // namespace

class TstE2eRead : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void readWritesTheRadioChannels();
    void readSurvivesFaults_data();
    void readSurvivesFaults();
    void readRefused_data();
    void readRefused();
    void emulatorKilledMidTransfer();
    void portCannotBeOpened();
    void usageErrors_data();
    void usageErrors();
    void infoShowsIdentity();

private:
    QTemporaryDir m_dir;
    QString m_memory;
    QByteArray m_referenceDat;
    QByteArray m_referenceFre;
};

void TstE2eRead::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFileInfo::exists(QDir(binDir()).filePath("mx806-radiosim")), qPrintable(binDir()));
    m_memory = m_dir.filePath("radio.bin");
    QVERIFY(writeAll(m_memory, radioMemory()));
}

void TstE2eRead::readWritesTheRadioChannels()
{
    Emulator radio(m_dir.path());
    QVERIFY(radio.start({"--memory", m_memory}));
    const QString out = m_dir.filePath("read.dat");
    const Result r = runMx806({"read", "--port", radio.device(), "-o", out});
    QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
    QVERIFY(r.err.contains("Read Data Completed."));
    radio.stop();
    const QStringList log = radio.log();
    QCOMPARE(log.filter(QRegularExpression("^radiosim: R ")).size(), 1024);
    QCOMPARE(log.filter(QRegularExpression("^radiosim: R ")).last(), QStringLiteral("radiosim: R 3FF0"));

    mx::VersionTable versions;
    QVERIFY(versions.load(QDir(distDir()).filePath("Version.ini")));
    QuietPrompter prompter;
    mx::Messenger messenger(prompter);
    mx::RadioImage image;
    QCOMPARE(mx::datafile::loadDataFile(image, out, versions, messenger), mx::datafile::LoadStatus::Ok);

    struct Expected
    {
        int m, b, position, chNo;
        const char* freq;
        int toneCode;
    };
    const Expected expected[] = {
        {0, 1, 1, 1, "28015000", 0},  {0, 1, 2, 2, "28025000", 8}, {0, 1, 3, 4, "28305000", 0},
        {0, 3, 1, 40, "29695000", 0}, {2, 1, 1, 1, "26965000", 0}, {2, 1, 2, 2, "27405000", 0},
    };
    for (const Expected& e : expected) {
        const mx::ChannelRecord& ch = image.workChannels.at(e.m, e.position, e.b);
        QCOMPARE(ch.chNo, e.chNo);
        QCOMPARE(ch.rxFreq.text(), QString::fromLatin1(e.freq));
        QCOMPARE(ch.toneCode, e.toneCode);
    }
    QCOMPARE(image.work.count(0, 1), 3);
    QCOMPARE(image.work.count(0, 2), 0);
    QCOMPARE(image.work.count(0, 3), 1);
    QCOMPARE(image.work.count(2, 1), 2);
    QCOMPARE(image.work.count(1, 1), 0);

    m_referenceDat = readAll(out);
    m_referenceFre = readAll(mx::datafile::channelFileName(out));
    QCOMPARE(m_referenceDat.size(), mx::datafile::DataFileSize);
}

void TstE2eRead::readSurvivesFaults_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<bool>("restarted");

    QTest::newRow("lone ACK handshake") << QStringList{"--lone-ack"} << false;
    QTest::newRow("first handshake ignored") << QStringList{"--ignore-handshakes", "1"} << false;
    QTest::newRow("dropped block") << QStringList{"--drop-block", "0x0100"} << true;
    QTest::newRow("dropped first block") << QStringList{"--drop-block", "0"} << true;
    QTest::newRow("bad checksum") << QStringList{"--bad-checksum", "0x3D40"} << true;
    QTest::newRow("stray byte") << QStringList{"--stray-byte", "0x3FF0"} << true;
}

void TstE2eRead::readSurvivesFaults()
{
    QFETCH(QStringList, faults);
    QFETCH(bool, restarted);
    QVERIFY(!m_referenceDat.isEmpty());

    Emulator radio(m_dir.path());
    QVERIFY(radio.start(QStringList{"--memory", m_memory} + faults));
    const QString out = m_dir.filePath("fault.dat");
    const Result r = runMx806({"read", "--port", radio.device(), "-o", out});
    QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
    // A block without an answer asks OK/Cancel; the handshake question never came.
    QCOMPARE(r.err.contains("Check Connection. Retry or Cancel? [OK]"), restarted);
    QVERIFY(!r.err.contains("[Retry]"));
    // Nothing lost: the same files as an undisturbed read.
    QCOMPARE(readAll(out), m_referenceDat);
    QCOMPARE(readAll(mx::datafile::channelFileName(out)), m_referenceFre);
}

void TstE2eRead::readRefused_data()
{
    QTest::addColumn<QStringList>("radioOptions");
    QTest::addColumn<QStringList>("readOptions");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong model") << QStringList{"--model", "MX807"} << QStringList{} << 4
                                 << "Model type is wrong.";
    QTest::newRow("incompatible firmware")
        << QStringList{"--firmware", "V200"} << QStringList{} << 5 << "incompatible version";
    QTest::newRow("unplugged, no retry")
        << QStringList{"--unplug-after", "100"} << QStringList{"--retries", "0"} << 3
        << "Check Connection. Retry or Cancel? [Cancel]";
    QTest::newRow("unplugged, retry spent")
        << QStringList{"--unplug-after", "100"} << QStringList{"--retries", "1"} << 3
        << "Check Connection. Retry or Cancel? [Cancel]";
    QTest::newRow("never answers") << QStringList{"--ignore-handshakes", "1000"}
                                   << QStringList{"--retries", "0"} << 3
                                   << "Check Connection. Retry or Cancel? [Cancel]";
}

void TstE2eRead::readRefused()
{
    QFETCH(QStringList, radioOptions);
    QFETCH(QStringList, readOptions);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    Emulator radio(m_dir.path());
    QVERIFY(radio.start(QStringList{"--memory", m_memory} + radioOptions));
    const QString out = m_dir.filePath("refused.dat");
    const Result r = runMx806(QStringList{"read", "--port", radio.device(), "-o", out} + readOptions);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
    QVERIFY(!r.err.contains("Read Data Completed."));
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(!QFileInfo::exists(mx::datafile::channelFileName(out)));
    radio.stop();
    if (exitCode == 4 || exitCode == 5) {
        // A refused radio gets no block request; the conversation ends with END.
        const QStringList log = radio.log();
        QCOMPARE(log.filter(QRegularExpression("^radiosim: R ")).size(), 0);
        QVERIFY(log.contains("radiosim: END"));
    }
}

void TstE2eRead::emulatorKilledMidTransfer()
{
    Emulator radio(m_dir.path());
    QVERIFY(radio.start({"--memory", m_memory, "--pace"}));
    const QString out = m_dir.filePath("killed.dat");
    QProcess mx806;
    mx806.start(QDir(binDir()).filePath("mx806"), {"read", "--port", radio.device(), "-o", out});
    QVERIFY(mx806.waitForStarted());
    mx806.setReadChannel(QProcess::StandardError);
    QByteArray err;
    while (!err.contains("read 10%") && mx806.waitForReadyRead(30000))
        err += mx806.readAllStandardError();
    QVERIFY2(err.contains("read 10%"), err.constData());
    radio.stop();
    // The vanished device ends the read at once (no question, no retry).
    QVERIFY(mx806.waitForFinished(10000));
    QCOMPARE(mx806.exitCode(), 3);
    QVERIFY(!QFileInfo::exists(out));
}

void TstE2eRead::portCannotBeOpened()
{
    const QString out = m_dir.filePath("noport.dat");
    const Result r = runMx806({"read", "--port", "/nonexistent/ttyMX", "-o", out});
    QCOMPARE(r.exitCode, 3);
    QVERIFY(r.err.contains("Cannot Open Communication Port."));
    QVERIFY(!QFileInfo::exists(out));
}

void TstE2eRead::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("read without port") << QStringList{"read", "-o", "x.dat"};
    QTest::newRow("read without output") << QStringList{"read", "--port", "/dev/null"};
    QTest::newRow("read into a non-data file") << QStringList{"read", "--port", "/dev/null", "-o", "x.bin"};
    QTest::newRow("negative retries")
        << QStringList{"read", "--port", "/dev/null", "-o", "x.dat", "--retries", "-1"};
    QTest::newRow("unknown option") << QStringList{"write", "--port", "/dev/null", "--fast", "x.dat"};
    QTest::newRow("multi-write without count") << QStringList{"multi-write", "--port", "/dev/null", "x.dat"};
    QTest::newRow("multi-write count 0")
        << QStringList{"multi-write", "--port", "/dev/null", "--count", "0", "x.dat"};
    QTest::newRow("encode without output") << QStringList{"encode", "x.dat"};
    QTest::newRow("decode into a non-data file") << QStringList{"decode", "m.bin", "-o", "x.txt"};
}

void TstE2eRead::usageErrors()
{
    QFETCH(QStringList, args);
    const Result r = runMx806(args);
    QCOMPARE(r.exitCode, 1);
}

void TstE2eRead::infoShowsIdentity()
{
    Emulator radio(m_dir.path());
    QVERIFY(radio.start({"--flags", "2", "--firmware", "V100"}));
    const Result r = runMx806({"info", "--port", radio.device()});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QVERIFY(r.out.contains("model: MX806"));
    QVERIFY(r.out.contains("firmware: V100"));
    QVERIFY(r.out.contains("CTCSS/DCS: supported"));
    QVERIFY(r.out.contains("TV: not supported"));
}

QTEST_GUILESS_MAIN(TstE2eRead)
#include "tst_e2e_read.moc"
