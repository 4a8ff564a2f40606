// mx806 read and info against the radio emulator on a pseudo-terminal.

#include "E2e.h"

#include "TestPrompter.h"
#include "data/DataFile.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace e2e;

namespace {

// A radio memory with channels in two range families, one with a gap.
QByteArray radioMemory()
{
    QByteArray memory = emptyRadio();
    putChannel(memory, 0, 1, 1, "280150");
    putChannel(memory, 0, 1, 2, "280250", 7);
    putChannel(memory, 0, 1, 4, "283050"); // slot 3 empty
    putChannel(memory, 0, 3, 40, "296950");
    putChannel(memory, 2, 1, 1, "269650");
    putChannel(memory, 2, 1, 2, "274050");
    return memory;
}

} // namespace

class TstE2eRead : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_memory;
    QByteArray m_referenceDat, m_referenceFre;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFileInfo::exists(QDir(binDir()).filePath("mx806-radiosim")), qPrintable(binDir()));
        m_memory = m_dir.filePath("radio.bin");
        QVERIFY(writeAll(m_memory, radioMemory()));
    }

    void readWritesTheRadioChannels()
    {
        Emulator radio(m_dir.path());
        QVERIFY(radio.start({"--memory", m_memory}));
        const QString out = m_dir.filePath("read.dat");
        const Result r = runMx806({"read", "--port", radio.device(), "-o", out});
        QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
        // The question's CR LF printed as LF, answered OK.
        QVERIFY(r.err.startsWith("mx806: Read data from radio.\nDo you wish continue? [OK]\n"));
        QVERIFY(r.err.contains("Read Data Completed."));
        radio.stop();
        const QStringList requested = radio.blocks('R');
        QCOMPARE(requested.size(), 1024);
        QCOMPARE(requested.last(), QStringLiteral("3FF0"));

        mx::VersionTable versions;
        QVERIFY(versions.load(QDir(distDir()).filePath("Version.ini")));
        mx::test::TestPrompter prompter;
        mx::Messenger messenger(prompter);
        mx::RadioImage image;
        QCOMPARE(mx::datafile::loadDataFile(image, out, versions, messenger), mx::datafile::LoadStatus::Ok);
        // Range family, band, position, channel number, frequency, tone code.
        const std::tuple<int, int, int, int, const char*, int> expected[] = {
            {0, 1, 1, 1, "28015000", 0},  {0, 1, 2, 2, "28025000", 8}, {0, 1, 3, 4, "28305000", 0},
            {0, 3, 1, 40, "29695000", 0}, {2, 1, 1, 1, "26965000", 0}, {2, 1, 2, 2, "27405000", 0},
        };
        for (const auto& [m, b, position, chNo, freq, toneCode] : expected) {
            const mx::ChannelRecord& ch = image.workChannels.at(m, position, b);
            QCOMPARE(ch.chNo, chNo);
            QCOMPARE(ch.rxFreq.text(), QString::fromLatin1(freq));
            QCOMPARE(ch.toneCode, toneCode);
        }
        const QList<int> counts{image.work.count(0, 1), image.work.count(0, 2), image.work.count(0, 3),
                                image.work.count(2, 1), image.work.count(1, 1)};
        QCOMPARE(counts, QList<int>({3, 0, 1, 2, 0}));

        m_referenceDat = readAll(out);
        m_referenceFre = readAll(mx::datafile::channelFileName(out));
        QCOMPARE(m_referenceDat.size(), mx::datafile::DataFileSize);
    }

    void readSurvivesFaults_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<bool>("restarted");
        QTest::addColumn<QStringList>("readOptions");
        // -q: not a word on stderr when all goes well.
        QTest::newRow("quiet") << QStringList{} << false << QStringList{"-q"};
        QTest::newRow("lone ACK handshake") << QStringList{"--lone-ack"} << false << QStringList{};
        QTest::newRow("first handshake ignored")
            << QStringList{"--ignore-handshakes", "1"} << false << QStringList{};
        QTest::newRow("dropped block") << QStringList{"--drop-block", "0x0100"} << true << QStringList{};
        QTest::newRow("dropped first block") << QStringList{"--drop-block", "0"} << true << QStringList{};
        QTest::newRow("bad checksum") << QStringList{"--bad-checksum", "0x3D40"} << true << QStringList{};
        QTest::newRow("stray byte") << QStringList{"--stray-byte", "0x3FF0"} << true << QStringList{};
    }
    void readSurvivesFaults()
    {
        QFETCH(QStringList, faults);
        QFETCH(QStringList, readOptions);
        QVERIFY(!m_referenceDat.isEmpty());
        Emulator radio(m_dir.path());
        QVERIFY(radio.start(QStringList{"--memory", m_memory} + faults));
        const QString out = m_dir.filePath("fault.dat");
        const Result r = runMx806(QStringList{"read", "--port", radio.device(), "-o", out} + readOptions);
        QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
        if (readOptions.contains("-q")) QCOMPARE(r.err, QByteArray());
        // A block without an answer asks OK/Cancel; the handshake question never came.
        QTEST(r.err.contains("Check Connection. Retry or Cancel? [OK]"), "restarted");
        QVERIFY(!r.err.contains("[Retry]"));
        // Nothing lost: the same files as an undisturbed read.
        QCOMPARE(readAll(out), m_referenceDat);
        QCOMPARE(readAll(mx::datafile::channelFileName(out)), m_referenceFre);
    }

    void readRefused_data()
    {
        QTest::addColumn<QStringList>("radioOptions");
        QTest::addColumn<QStringList>("readOptions");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messages");
        const QStringList cancelled{"Check Connection. Retry or Cancel? [Cancel]",
                                    "no answer from the radio on /dev/"};
        QTest::newRow("wrong model") << QStringList{"--model", "MX807"} << QStringList{} << 4
                                     << QStringList{
                                            "Model type is wrong.\nmx806: the radio on /dev/",
                                            "reports model \"MX807\"; this program is for MX806 (MX-806TR)"};
        QTest::newRow("incompatible firmware")
            << QStringList{"--firmware", "V200"} << QStringList{} << 5
            << QStringList{"incompatible version", "has firmware V2.00; this is software version V1.00",
                           "\nmx806: no installed software version handles V2.00"};
        QTest::newRow("unplugged, retry spent")
            << QStringList{"--unplug-after", "100"} << QStringList{"--retries", "1"} << 3 << cancelled;
        // The handshake's Retry and a block's OK count together against --retries.
        QTest::newRow("retry spent on the handshake")
            << QStringList{"--ignore-handshakes", "2", "--unplug-after", "100"}
            << QStringList{"--retries", "1"} << 3 << cancelled + QStringList{"Retry or Cancel? [Retry]"};
        QTest::newRow("never answers")
            << QStringList{"--ignore-handshakes", "1000"} << QStringList{"--retries", "0"} << 3 << cancelled;
    }
    void readRefused()
    {
        QFETCH(QStringList, radioOptions);
        QFETCH(QStringList, readOptions);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messages);
        Emulator radio(m_dir.path());
        QVERIFY(radio.start(QStringList{"--memory", m_memory} + radioOptions));
        const QString out = m_dir.filePath("refused.dat");
        const Result r = runMx806(QStringList{"read", "--port", radio.device(), "-o", out} + readOptions);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, exitCode);
        for (const QString& message : messages)
            QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY(!r.err.contains("Read Data Completed."));
        // --retries N: N tries again in all (Retry after the handshake, OK after a block), then Cancel.
        if (readOptions.size() == 2)
            QCOMPARE(r.err.count("Retry or Cancel? [Retry]") + r.err.count("Retry or Cancel? [OK]"),
                     readOptions[1].toInt());
        QVERIFY(!QFileInfo::exists(out));
        QVERIFY(!QFileInfo::exists(mx::datafile::channelFileName(out)));
        radio.stop();
        if (exitCode == 4 || exitCode == 5) {
            // A refused radio gets no block request; the conversation ends with END.
            QCOMPARE(radio.blocks('R').size(), 0);
            QVERIFY(radio.log().contains("radiosim: END"));
        }
    }

    // A read that ends halfway (the device gone, Ctrl-C, a kill) leaves no files and exits 3.
    void readEndsHalfway_data()
    {
        QTest::addColumn<int>("signal"); // sent to mx806; 0: the emulator ends instead
        QTest::addColumn<QString>("message");
        QTest::newRow("emulator gone") << 0 << "the connection to the radio on /dev/";
        QTest::newRow("SIGINT") << int(SIGINT) << "mx806: cancelled: nothing was saved";
        QTest::newRow("SIGTERM") << int(SIGTERM) << "mx806: cancelled: nothing was saved";
    }
    void readEndsHalfway()
    {
        QFETCH(int, signal);
        QFETCH(QString, message);
        Emulator radio(m_dir.path());
        QVERIFY(radio.start({"--memory", m_memory, "--pace"}));
        const QString out = m_dir.filePath("halfway.dat");
        QProcess mx806;
        mx806.start(QDir(binDir()).filePath("mx806"), {"read", "--port", radio.device(), "-o", out});
        QVERIFY(mx806.waitForStarted());
        mx806.setReadChannel(QProcess::StandardError);
        QByteArray err;
        while (!err.contains("read 10%") && mx806.waitForReadyRead(30000))
            err += mx806.readAllStandardError();
        QVERIFY2(err.contains("read 10%"), err.constData());
        if (signal == 0)
            radio.stop();
        else
            ::kill(pid_t(mx806.processId()), signal);
        // The transfer ends at once (no question, no retry), as closing the progress window does.
        QVERIFY(mx806.waitForFinished(10000));
        err += mx806.readAllStandardError();
        QCOMPARE(mx806.exitStatus(), QProcess::NormalExit);
        QCOMPARE(mx806.exitCode(), 3);
        QVERIFY2(err.contains(message.toUtf8()), err.constData());
        QVERIFY(!err.contains("Inappropriate ioctl"));
        QVERIFY(!QFileInfo::exists(out));
        QVERIFY(!QFileInfo::exists(mx::datafile::channelFileName(out)));
    }

    void readUsesTheSettingsPort()
    {
        // Without --port the command takes the port chosen in the settings file.
        Emulator radio(m_dir.path());
        QVERIFY(radio.start({"--memory", m_memory}));
        const QString root = m_dir.filePath("root"), ini = root + "/language/mysetup.ini";
        const QByteArray before =
            "; kept\r\n[language]\r\nIsFirstRun=0\r\ncomPort=4\r\nCurrentLanguage=1\r\n";
        makeRoot(root, before);
        QCOMPARE(readAll(ini), before);
        // `port DEV` keeps a device path under comPortName; comPort and every other line stay.
        QCOMPARE(runMx806({"--root", root, "port", radio.device()}).exitCode, 0);
        QCOMPARE(readAll(ini), before + "comPortName=" + radio.device().toLatin1() + "\r\n");
        const QString out = m_dir.filePath("settings-port.dat");
        const Result r = runMx806({"--root", root, "read", "-o", out});
        QVERIFY2(r.finished && r.exitCode == 0, r.err.constData());
        QCOMPARE(readAll(out), m_referenceDat);
    }

    void info_data()
    {
        QTest::addColumn<QStringList>("radioOptions");
        QTest::addColumn<QStringList>("infoOptions");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("trace"); // expected on stderr
        QTest::newRow("features") << QStringList{"--flags", "2", "--firmware", "V100"} << QStringList{}
                                  << QStringList{"model: MX806", "firmware: V100", "CTCSS/DCS: supported",
                                                 "TV: not supported"}
                                  << QStringList{};
        // A firmware text of two characters ends at its NUL padding.
        QTest::newRow("short firmware") << QStringList{"--firmware", "V1"} << QStringList{}
                                        << QStringList{"firmware: V1\n"} << QStringList{};
        // --verbose (-v): the handshake "PROGRAM" and its answer "HB" ACK, with times.
        QTest::newRow("verbose") << QStringList{} << QStringList{"--verbose"} << QStringList{"model: MX806"}
                                 << QStringList{" ms > 50 52 4F 47 52 41 4D\nmx806: ", " ms < 48 42 06\n"};
    }
    void info()
    {
        QFETCH(QStringList, radioOptions);
        QFETCH(QStringList, infoOptions);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, trace);
        Emulator radio(m_dir.path());
        QVERIFY(radio.start(radioOptions));
        const Result r = runMx806(QStringList{"info", "--port", radio.device()} + infoOptions);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        for (const QString& line : lines)
            QVERIFY2(r.out.contains(line.toUtf8()), qPrintable(line));
        for (const QString& line : trace)
            QVERIFY2(r.err.contains(line.toUtf8()), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(TstE2eRead)
#include "tst_e2e_read.moc"
