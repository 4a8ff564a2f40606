// The fault matrix: reads against a radio that loses its cable, answers
// slowly or garbled, or answers only the handshake, and reads whose files
// cannot be saved. A failed read leaves the files it would have replaced as
// they were. (The same faults during a write: tst_e2e_write.)

#include "E2e.h"

#include "data/DataFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace e2e;

namespace {

// A radio memory with this many channels in range family 0 from 28.000 MHz on,
// 5 kHz apart: with 60 the channel file (2,520 bytes) is larger than the data
// file, with 20 smaller.
QByteArray radioWith(int channels)
{
    QByteArray memory = emptyRadio();
    for (int n = 0; n < channels; ++n)
        putChannel(memory, 0, 1 + n / 40, 1 + n % 40, QByteArray::number((28000 + 5 * n) * 10));
    return memory;
}

} // namespace

class TstE2eFaults : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_memory;                // a radio with 60 channels
    QByteArray m_readDat, m_readFre; // an undisturbed read of the radio
    QByteArray m_oldDat, m_oldFre;   // what the output files held before

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_memory = m_dir.filePath("radio.bin");
        QVERIFY(writeAll(m_memory, radioWith(60)));
        QVERIFY(writeAll(m_dir.filePath("radio20.bin"), radioWith(20)));
        Emulator radio(m_dir.path());
        QVERIFY(radio.start({"--memory", m_memory}));
        const QString out = m_dir.filePath("reference.dat");
        const Result r = runMx806({"read", "--port", radio.device(), "-o", out});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        m_readDat = readAll(out);
        m_readFre = readAll(mx::datafile::channelFileName(out));
        QCOMPARE(m_readFre.size(), 60 * mx::datafile::ChannelRecordSize);
        m_oldDat = readAll(templateFile(1));
        m_oldFre = readAll(mx::datafile::channelFileName(templateFile(1)));
        QVERIFY(m_oldDat != m_readDat && m_oldFre != m_readFre);
    }

    void read_data()
    {
        QTest::addColumn<QStringList>("radio");
        QTest::addColumn<int>("retries");
        QTest::addColumn<int>("limitKb");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString cancelled = QStringLiteral("Check Connection. Retry or Cancel? [Cancel]");
        auto row = [](const char* name, const QStringList& radio, int exitCode, const QString& message,
                      int retries = 0, int limitKb = 0) {
            QTest::newRow(name) << radio << retries << limitKb << exitCode << message;
        };
        row("cable pulled at the handshake", {"--hang-up", "handshake"}, 3, "");
        row("cable pulled in the middle", {"--hang-up", "0x2000"}, 3, "");
        row("cable pulled at the last block", {"--hang-up", "0x3FF0"}, 3, "");
        row("slow radio (250 ms)", {"--reply-delay", "250", "--delay-every", "128"}, 0,
            "Read Data Completed.");
        row("stray byte, no retry", {"--stray-byte", "0x1000"}, 3, cancelled);
        row("bad checksum, no retry", {"--bad-checksum", "0x3FF0"}, 3, cancelled);
        row("only the handshake answered", {"--only-handshake"}, 3, cancelled);
        // 1 KiB: the channel file of 20 channels would fit, the data file does
        // not; 2 KiB: the data file fits, the channel file of 60 channels does not.
        row("disk full at the data file", {"--memory", "radio20.bin"}, 2, "file error.", 0, 1);
        row("disk full at the channel file", {}, 2, "file error.", 0, 2);
    }
    void read()
    {
        QFETCH(QStringList, radio);
        QFETCH(int, retries);
        QFETCH(int, limitKb);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString out = m_dir.filePath("out.dat"), fre = mx::datafile::channelFileName(out);
        QVERIFY(writeAll(out, m_oldDat) && writeAll(fre, m_oldFre));

        Emulator emulator(m_dir.path());
        if (radio.size() >= 2 && radio[0] == QLatin1String("--memory")) radio[1] = m_dir.filePath(radio[1]);
        QVERIFY(emulator.start(QStringList{"--memory", m_memory} + radio));
        const Result r =
            runMx806({"read", "--port", emulator.device(), "-o", out, "--retries", QString::number(retries)},
                     60000, limitKb);
        QVERIFY(r.finished);
        QVERIFY2(r.exitCode == exitCode, r.err.constData());
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        if (exitCode == 0) {
            QCOMPARE(readAll(out), m_readDat);
            QCOMPARE(readAll(fre), m_readFre);
            return;
        }
        // Whatever failed, the files the read would have replaced are as they were.
        QCOMPARE(r.err.contains("Read Data Completed."), exitCode == 2);
        QCOMPARE(readAll(out), m_oldDat);
        QCOMPARE(readAll(fre), m_oldFre);
        QCOMPARE(QDir(m_dir.path()).entryList({"out*"}, QDir::Files), QStringList({"out.dat", "out.fre"}));
    }
};

QTEST_GUILESS_MAIN(TstE2eFaults)
#include "tst_e2e_faults.moc"
