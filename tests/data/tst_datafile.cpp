#include "data/DataFile.h"
#include "data/TestPrompter.h"
#include "data/VersionTable.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>
#include <functional>

using namespace mx;
using mx::test::TestPrompter;

namespace {

QByteArray le16(qint16 v)
{
    char b[2];
    qToLittleEndian<qint16>(v, b);
    return QByteArray(b, 2);
}

QByteArray le64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    char b[8];
    qToLittleEndian<quint64>(bits, b);
    return QByteArray(b, 8);
}

// A record with a distinct value in every table, set by hand.
RadioDataRecord handSetRecord()
{
    RadioDataRecord r;
    r.tag.set(QByteArrayView("V100"));
    r.rangeMode = 2;
    r.currentBand = {3, 4, 5};
    for (int k = 0; k < 24; ++k) {
        r.currentChannel[k] = qint16(100 + k);
        r.channelCount[k] = 0;
    }
    r.count(0, 1) = 2;
    r.count(1, 1) = 1; // index 1
    r.count(2, 8) = 3; // index 23
    for (int k = 0; k < TVChannelCount; ++k)
        r.tvChannels[k] = TVChannelRecord{qint16(k & 1), 150.0 + k * 0.25, qint16(k % 3), qint16(k % 2)};
    r.model.modelId.set(QByteArrayView("MX806\0", 6));
    r.model.modelNumber = 248;
    r.model.savedRange = 2;
    r.model.creationDate.set(QByteArrayView("20161205"));
    r.model.dataVersion.set(QByteArrayView("V1.00"));
    r.model.modelCode.set(QByteArrayView("MX806\0", 6));
    r.model.defaultRange = 1;
    r.model.modelLetter = 67;
    for (int k = 0; k < Opt::Count; ++k)
        r.optFeat.words[k] = qint16(1000 + k);
    for (int t = 0; t < ToneTipCount; ++t)
        for (int k = 0; k < 30; ++k)
            r.toneTips[t].words[k] = qint16(-(t * 100 + k));
    return r;
}

ChannelRecord channel(int chNo, const char* rx)
{
    ChannelRecord c;
    c.chNo = qint16(chNo);
    c.inUse = 1;
    c.rxFreq.set(QByteArrayView(rx));
    c.txFreq.set(QByteArrayView("29000000"));
    c.word1 = 7;
    c.word2 = 7;
    c.word3 = 3;
    c.word4 = 4;
    c.publicFlag = 1;
    c.busy = 1;
    c.hiCut = 1;
    c.repeaterShift = 2;
    c.toneCode = 39;
    c.word10 = 10;
    c.rogerBeep = 8;
    return c;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// An image with a few channels in several bands, everything else at its defaults.
void fillImage(RadioImage& image)
{
    image.work.count(0, 1) = 0;
    image.addChannel(1, 0, 1, QStringLiteral("28.015"));
    image.addChannel(2, 0, 1, QStringLiteral("28.025"));
    image.addChannel(45, 0, 1, QStringLiteral("28.5"));
    image.addChannel(7, 1, 3, QStringLiteral("26.0"));
    image.addChannel(3, 2, 8, QStringLiteral("27.185"));
    image.work.tvChannels[0].inUse = 1;
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    VersionTable m_versions;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_versions.pairs = {{QStringLiteral("V100"), QStringLiteral("V100")},
                            {QStringLiteral("V101"), QStringLiteral("V101")}};
    }

    void recordOffsets_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("tag") << 0 << QByteArray("V100");
        QTest::newRow("range mode") << 4 << le16(2);
        QTest::newRow("current band 0") << 6 << le16(3);
        QTest::newRow("current band 2") << 10 << le16(5);
        QTest::newRow("current channel (0,1)") << 12 << le16(100);
        QTest::newRow("current channel (2,8)") << 58 << le16(123);
        QTest::newRow("count (0,1)") << 60 << le16(2);
        QTest::newRow("count (1,1)") << 62 << le16(1);
        QTest::newRow("count (2,8)") << 106 << le16(3);
        QTest::newRow("tv 1 in use") << 108 << le16(0);
        QTest::newRow("tv 1 frequency") << 110 << le64(150.0);
        QTest::newRow("tv 2 in use") << 122 << le16(1);
        QTest::newRow("tv 2 option words") << 132 << (le16(1) + le16(1));
        QTest::newRow("tv 32 frequency") << 108 + 31 * 14 + 2 << le64(150.0 + 31 * 0.25);
        QTest::newRow("tv 32 option 2") << 108 + 31 * 14 + 12 << le16(1);
        QTest::newRow("model identifier") << 556 << QByteArray("MX806\0 ", 7);
        QTest::newRow("model number") << 563 << le16(248);
        QTest::newRow("saved range") << 565 << le16(2);
        QTest::newRow("creation date") << 567 << QByteArray("20161205");
        QTest::newRow("data version") << 575 << QByteArray("V1.00");
        QTest::newRow("model code") << 580 << QByteArray("MX806\0", 6);
        QTest::newRow("default range") << 586 << le16(1);
        QTest::newRow("model letter") << 588 << le16(67);
        QTest::newRow("radio option") << 590 << le16(1000);
        QTest::newRow("band valid (0,1)") << 592 << le16(1001);
        QTest::newRow("work band 0") << 640 << le16(1025);
        QTest::newRow("work channel (0,1)") << 646 << le16(1028);
        QTest::newRow("current tv channel") << 694 << le16(1052);
        QTest::newRow("backlight loop time") << 744 << le16(1077);
        QTest::newRow("tone tip 1 step 1") << 746 << le16(0) + le16(-1);
        QTest::newRow("tone tip 2 start") << 806 << le16(-100);
        QTest::newRow("tone tip 8 inter time") << 1224 << le16(-729);
    }
    void recordOffsets()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        const QByteArray encoded = datafile::encodeRecord(handSetRecord());
        QCOMPARE(encoded.size(), 1226);
        QCOMPARE(encoded.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    void recordDecodesBack()
    {
        const RadioDataRecord r = handSetRecord();
        QByteArray bytes = datafile::encodeRecord(r);
        QVERIFY(datafile::decodeRecord(bytes) == r);
        // hand-built bytes decode into the right fields
        bytes.replace(4, 2, le16(-2));
        bytes.replace(590 + 146, 2, le16(1000));
        bytes.replace(108 + 14 * 5 + 2, 8, le64(201.25));
        const RadioDataRecord d = datafile::decodeRecord(bytes);
        QCOMPARE(int(d.rangeMode), -2);
        QCOMPARE(int(d.optFeat[Opt::REPOffsetKHz]), 1000);
        QCOMPARE(d.tvChannels[5].frequency, 201.25);
    }

    void channelRecordOffsets()
    {
        RadioDataRecord r;
        ChannelArray chans;
        r.count(0, 1) = 1;
        r.count(2, 1) = 1; // after every band of families 0 and 1
        r.count(1, 2) = 1; // written before family 2
        chans.at(0, 1, 1) = channel(12, "28015000");
        chans.at(1, 1, 2) = channel(41, "25615000");
        chans.at(2, 1, 1) = channel(3, "FFFFFFFF");
        chans.at(0, 2, 1) = channel(99, "99999999"); // above the count: not written
        const QByteArray bytes = datafile::encodeChannels(r, chans);
        QCOMPARE(bytes.size(), 3 * 42);
        const QByteArray first = bytes.left(42);
        QCOMPARE(first.mid(0, 2), le16(12));
        QCOMPARE(first.mid(2, 2), le16(1));
        QCOMPARE(first.mid(4, 8), QByteArray("28015000"));
        QCOMPARE(first.mid(12, 8), QByteArray("29000000"));
        QCOMPARE(first.mid(20, 8), le16(7) + le16(7) + le16(3) + le16(4));
        QCOMPARE(first.mid(28, 2), le16(1));  // Public
        QCOMPARE(first.mid(30, 2), le16(1));  // Busy
        QCOMPARE(first.mid(32, 2), le16(1));  // HiCut
        QCOMPARE(first.mid(34, 2), le16(2));  // RepeaterShift
        QCOMPARE(first.mid(36, 2), le16(39)); // ToneCode
        QCOMPARE(first.mid(38, 2), le16(10));
        QCOMPARE(first.mid(40, 2), le16(8)); // RogerBeep
        QCOMPARE(bytes.mid(42, 2), le16(41));
        QCOMPARE(bytes.mid(84 + 4, 8), QByteArray("FFFFFFFF"));

        RadioDataRecord back = r;
        ChannelArray read;
        QCOMPARE(datafile::decodeChannels(bytes + QByteArray(50, 'x'), back, read), 3);
        QVERIFY(read.at(0, 1, 1) == chans.at(0, 1, 1));
        QVERIFY(read.at(1, 1, 2) == chans.at(1, 1, 2));
        QVERIFY(read.at(2, 1, 1) == chans.at(2, 1, 1));
        QVERIFY(back.channelCount == r.channelCount);
    }

    void shortChannelDataReducesCounts_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<QList<int>>("counts"); // of (0,1), (0,2), (1,1)
        QTest::newRow("none") << 0 << QList<int>{0, 0, 0};
        QTest::newRow("inside first band") << 2 << QList<int>{2, 0, 0};
        QTest::newRow("inside second band") << 4 << QList<int>{3, 1, 0};
        QTest::newRow("all but one") << 5 << QList<int>{3, 2, 0};
        QTest::newRow("all") << 6 << QList<int>{3, 2, 1};
    }
    void shortChannelDataReducesCounts()
    {
        QFETCH(int, records);
        QFETCH(QList<int>, counts);
        RadioDataRecord r;
        r.count(0, 1) = 3;
        r.count(0, 2) = 2;
        r.count(1, 1) = 1;
        QByteArray bytes;
        for (int k = 0; k < 6; ++k) {
            ChannelArray one;
            RadioDataRecord single;
            single.count(0, 1) = 1;
            one.at(0, 1, 1) = channel(k + 1, "28000000");
            bytes += datafile::encodeChannels(single, one);
        }
        bytes.truncate(records * 42 + (records < 6 ? 20 : 0)); // a torn record at the end
        ChannelArray chans;
        QCOMPARE(datafile::decodeChannels(bytes, r, chans), records);
        QCOMPARE((QList<int>{r.count(0, 1), r.count(0, 2), r.count(1, 1)}), counts);
        if (records >= 4) QCOMPARE(int(chans.at(0, 1, 2).chNo), 4);
    }

    void names_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("channelFile");
        QTest::addColumn<QString>("title");
        QTest::newRow("unix path") << "/home/u/radio.dat"
                                   << "/home/u/radio.fre"
                                   << "radio.dat";
        QTest::newRow("windows path") << "C:\\data\\a.b\\x.dat"
                                      << "C:\\data\\a.b\\x.fre"
                                      << "x.dat";
        QTest::newRow("no folder") << "new.dat"
                                   << "new.fre"
                                   << "new.dat";
        QTest::newRow("other extension") << "radio.bin"
                                         << "radio.fre"
                                         << "radio.bin";
        QTest::newRow("three characters") << "abc"
                                          << "fre"
                                          << "abc";
        QTest::newRow("two characters") << "ab"
                                        << ""
                                        << "ab";
        QTest::newRow("trailing separator") << "dir/"
                                            << "dfre"
                                            << "";
    }
    void names()
    {
        QFETCH(QString, path);
        QFETCH(QString, channelFile);
        QFETCH(QString, title);
        QCOMPARE(datafile::channelFileName(path), channelFile);
        QCOMPARE(datafile::fileTitle(path), title);
    }

    void saveAndLoadBack()
    {
        RadioImage image;
        fillImage(image);
        image.setRangeFamily(1);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QSignalSpy caption(&image, &RadioImage::captionChanged);
        const QString file = path(QStringLiteral("round.dat"));
        QVERIFY(datafile::saveDataFile(image, file, messenger));
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(caption.count() >= 1);
        QCOMPARE(image.currentFileName, file);
        QVERIFY(!image.isNewDocument);
        QVERIFY(!datafile::isModified(image));
        QCOMPARE(readFile(file).size(), 1226);
        QCOMPARE(readFile(path(QStringLiteral("round.fre"))).size(), 5 * 42);
        QCOMPARE(readFile(file).mid(565, 2), le16(1)); // saved range family

        RadioImage loaded;
        QCOMPARE(datafile::loadDataFile(loaded, file, m_versions, messenger), datafile::LoadStatus::Ok);
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(!datafile::isModified(loaded));
        QVERIFY(loaded.work == image.work);
        QVERIFY(loaded.staging == loaded.work);
        QCOMPARE(loaded.currentFileName, file);
        QVERIFY(!loaded.isNewDocument);
        QVERIFY(loaded.workChannels.at(0, 3, 1) == image.workChannels.at(0, 3, 1));
        QVERIFY(loaded.workChannels.at(2, 1, 8) == image.workChannels.at(2, 1, 8));
    }

    void fewerChannelsOverExistingFile()
    {
        TestPrompter prompter;
        Messenger messenger(prompter);
        const QString file = path(QStringLiteral("shrink.dat"));
        RadioImage image;
        fillImage(image);
        QVERIFY(datafile::saveDataFile(image, file, messenger));
        image.deleteChannel(1, 0, 1);
        image.deleteChannel(1, 1, 3);
        QVERIFY(datafile::saveDataFile(image, file, messenger));
        QCOMPARE(readFile(path(QStringLiteral("shrink.fre"))).size(), 3 * 42);

        RadioImage loaded;
        QCOMPARE(datafile::loadDataFile(loaded, file, m_versions, messenger), datafile::LoadStatus::Ok);
        QCOMPARE(int(loaded.work.count(0, 1)), 2);
        QCOMPARE(int(loaded.workChannels.at(0, 1, 1).chNo), 2);
        QCOMPARE(int(loaded.workChannels.at(0, 2, 1).chNo), 45);
        QCOMPARE(int(loaded.work.count(1, 3)), 0);
        QCOMPARE(int(loaded.workChannels.at(2, 1, 8).chNo), 3);
    }

    void loadWithoutChannels()
    {
        RadioDataRecord r = handSetRecord();
        r.channelCount.fill(0);
        const QString file = path(QStringLiteral("empty.dat"));
        writeFile(file, datafile::encodeRecord(r));
        QFile::remove(path(QStringLiteral("empty.fre")));
        RadioImage image;
        fillImage(image);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QCOMPARE(datafile::loadDataFile(image, file, m_versions, messenger), datafile::LoadStatus::Ok);
        QVERIFY(prompter.shown.isEmpty());
        for (int k = 0; k < 24; ++k)
            QCOMPARE(int(image.work.channelCount[k]), 0);
        QCOMPARE(image.rangeText, QStringLiteral("26.3300 - 27.99125 MHz"));
        QVERIFY(!datafile::isModified(image));
    }

    void shortChannelFileKeepsWhatWasRead()
    {
        TestPrompter prompter;
        Messenger messenger(prompter);
        RadioDataRecord r;
        r.tag.set(QByteArrayView("V100"));
        r.count(0, 1) = 3;
        r.count(0, 2) = 2;
        ChannelArray chans;
        for (int i = 1; i <= 3; ++i)
            chans.at(0, i, 1) = channel(i, "28000000");
        chans.at(0, 1, 2) = channel(20, "28100000");
        const QString file = path(QStringLiteral("short.dat"));
        writeFile(file, datafile::encodeRecord(r));
        writeFile(path(QStringLiteral("short.fre")), datafile::encodeChannels(r, chans).left(4 * 42));

        RadioImage image;
        fillImage(image);
        image.addChannel(30, 0, 2, QStringLiteral("28.3"));
        image.addChannel(31, 0, 2, QStringLiteral("28.4"));
        image.copyWorkToStaging(); // an earlier image with two channels in band (0,2)
        QCOMPARE(datafile::loadDataFile(image, file, m_versions, messenger), datafile::LoadStatus::Ok);
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(int(image.work.count(0, 1)), 3);
        QCOMPARE(int(image.work.count(0, 2)), 1);
        QCOMPARE(int(image.workChannels.at(0, 1, 2).chNo), 20);
        QCOMPARE(int(image.stagingChannels.at(0, 2, 2).chNo), 0); // nothing of the earlier image
        QVERIFY(!datafile::isModified(image));
        QCOMPARE(image.findSlot(31, 0, 2), 0);
    }

    void refusedLoads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("messages");
        const QByteArray good = datafile::encodeRecord(handSetRecord());
        const QString unknown = QStringLiteral("Unknown version Of DataFile!");
        const QString wrongLength =
            QStringLiteral("Fail to start the software. This version does not exist.");
        const QString fileError = QStringLiteral("file error.");
        const QString incompatible =
            VersionTable::incompatibleMessage(QStringLiteral("V100"), QStringLiteral("V102"), 1, English);
        auto withTag = [&](const QByteArray& tag) { return tag + good.mid(4); };
        auto withCount = [&](int index, qint16 n) {
            QByteArray b = good;
            b.replace(60 + 2 * index, 2, le16(n));
            return b;
        };
        const int no = int(Answer::No), yes = int(Answer::Yes);
        using S = datafile::LoadStatus;
        QTest::newRow("lower-case v")
            << withTag("v100") << no << int(S::UnknownVersion) << QStringList{unknown};
        QTest::newRow("three characters")
            << withTag("V10 ") << no << int(S::UnknownVersion) << QStringList{unknown};
        QTest::newRow("letters after V")
            << withTag("VABC") << no << int(S::UnknownVersion) << QStringList{unknown};
        QTest::newRow("NUL inside") << withTag(QByteArray("V1\0"
                                                          "0",
                                                          4))
                                    << no << int(S::UnknownVersion) << QStringList{unknown};
        QTest::newRow("empty file") << QByteArray() << no << int(S::UnknownVersion) << QStringList{unknown};
        QTest::newRow("not compatible, No")
            << withTag("V102") << no << int(S::Incompatible) << QStringList{incompatible};
        QTest::newRow("not compatible, Yes without handover")
            << withTag("V102") << yes << int(S::Incompatible) << QStringList{incompatible};
        QTest::newRow("1227 bytes") << good + 'x' << no << int(S::WrongLength) << QStringList{wrongLength};
        QTest::newRow("1225 bytes") << good.left(1225) << no << int(S::WrongLength)
                                    << QStringList{wrongLength};
        QTest::newRow("count 41") << withCount(5, 41) << no << int(S::FileError) << QStringList{fileError};
        QTest::newRow("count -1") << withCount(23, -1) << no << int(S::FileError) << QStringList{fileError};
    }
    void refusedLoads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, answer);
        QFETCH(int, status);
        QFETCH(QStringList, messages);
        const QString file = path(QStringLiteral("refused.dat"));
        writeFile(file, bytes);
        writeFile(path(QStringLiteral("refused.fre")), QByteArray(42 * 10, '\1'));

        RadioImage image;
        fillImage(image);
        image.copyWorkToStaging();
        image.addChannel(9, 2, 2, QStringLiteral("27.0")); // unsaved edit
        image.currentFileName = QStringLiteral("/somewhere/before.dat");
        image.isNewDocument = true;
        const RadioDataRecord work = image.work;
        const RadioDataRecord staging = image.staging;
        const ChannelArray workChannels = image.workChannels;
        const ChannelArray stagingChannels = image.stagingChannels;

        TestPrompter prompter;
        prompter.script = {Answer(answer)};
        Messenger messenger(prompter);
        QCOMPARE(int(datafile::loadDataFile(image, file, m_versions, messenger)), status);
        QCOMPARE(prompter.texts(), messages);
        if (status == int(datafile::LoadStatus::Incompatible))
            QCOMPARE(prompter.shown[0].buttons, Buttons::YesNo);
        QVERIFY(image.work == work);
        QVERIFY(image.staging == staging);
        QVERIFY(image.workChannels.records == workChannels.records);
        QVERIFY(image.stagingChannels.records == stagingChannels.records);
        QCOMPARE(image.currentFileName, QStringLiteral("/somewhere/before.dat"));
        QVERIFY(image.isNewDocument);
        QVERIFY(datafile::isModified(image));
    }

    void missingFileIsFileError()
    {
        RadioImage image;
        TestPrompter prompter;
        Messenger messenger(prompter);
        QCOMPARE(datafile::loadDataFile(image, path(QStringLiteral("nothing.dat")), m_versions, messenger),
                 datafile::LoadStatus::FileError);
        QCOMPARE(prompter.texts(), QStringList{QStringLiteral("file error.")});
        QCOMPARE(image.currentFileName, QStringLiteral("new.dat"));
    }

    void incompatibleYesHandsOver()
    {
        struct Recorder : Launcher
        {
            QStringList started;
            int quits = 0;
            bool start(const QString& p) override
            {
                started << p;
                return true;
            }
            void quit() override { ++quits; }
        } launcher;
        Handover handover;
        handover.installRoot = m_dir.path();
        handover.executableName = QStringLiteral("MX_806TR");
        handover.launcher = &launcher;

        QByteArray bytes = datafile::encodeRecord(handSetRecord());
        bytes.replace(0, 4, "V101");
        const QString file = path(QStringLiteral("v101.dat"));
        writeFile(file, bytes);
        TestPrompter prompter;
        prompter.script = {Answer::Yes};
        Messenger messenger(prompter);
        RadioImage image;
        QCOMPARE(datafile::loadDataFile(image, file, m_versions, messenger, &handover),
                 datafile::LoadStatus::Incompatible);
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(prompter.shown[0].text.contains(QStringLiteral("DataFile version is V1.01")));
        QCOMPARE(launcher.started.size(), 1);
        QVERIFY(QDir::fromNativeSeparators(launcher.started[0]).endsWith(QStringLiteral("/V101/MX_806TR")));
        QCOMPARE(launcher.quits, 1);
        QCOMPARE(image.currentFileName, QStringLiteral("new.dat"));
    }

    void shortNameSavesNoChannelFile()
    {
        const QString saved = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        RadioImage image;
        fillImage(image);
        TestPrompter prompter;
        Messenger messenger(prompter);
        const bool ok = datafile::saveDataFile(image, QStringLiteral("ab"), messenger);
        const QStringList files =
            QDir().entryList({QStringLiteral("ab*"), QStringLiteral("fre")}, QDir::Files);
        const qint64 size = QFileInfo(QStringLiteral("ab")).size();
        QFile::remove(QStringLiteral("ab"));
        QDir::setCurrent(saved);
        QVERIFY(ok);
        QCOMPARE(size, 1226);
        QCOMPARE(files, QStringList{QStringLiteral("ab")});
    }

    void failedSaveKeepsOldFilesAndChanges_data()
    {
        QTest::addColumn<bool>("channelPathIsFolder");
        QTest::newRow("channel file cannot be written") << true;
        QTest::newRow("folder does not exist") << false;
    }
    void failedSaveKeepsOldFilesAndChanges()
    {
        QFETCH(bool, channelPathIsFolder);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QString file;
        QByteArray oldData;
        if (channelPathIsFolder) {
            file = path(QStringLiteral("blocked.dat"));
            oldData = QByteArray(1226, 'o');
            writeFile(file, oldData);
            QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("blocked.fre")));
        } else {
            file = path(QStringLiteral("no/such/folder/x.dat"));
        }

        RadioImage image;
        fillImage(image);
        image.copyWorkToStaging();
        image.currentFileName = QStringLiteral("old.dat");
        image.isNewDocument = true;
        image.work.optFeat[Opt::HiCut] = 1; // unsaved change
        image.deleteChannel(2, 0, 1);
        const RadioDataRecord staging = image.staging;
        const ChannelArray stagingChannels = image.stagingChannels;
        const RadioDataRecord work = image.work;

        QVERIFY(!datafile::saveDataFile(image, file, messenger));
        QCOMPARE(prompter.texts(), QStringList{QStringLiteral("file error.")});
        QVERIFY(datafile::isModified(image));
        QVERIFY(image.staging == staging);
        QVERIFY(image.stagingChannels.records == stagingChannels.records);
        QVERIFY(image.work == work);
        QCOMPARE(image.currentFileName, QStringLiteral("old.dat"));
        QVERIFY(image.isNewDocument);
        if (channelPathIsFolder) {
            QCOMPARE(readFile(file), oldData);
            QVERIFY(QFileInfo(path(QStringLiteral("blocked.fre"))).isDir());
        } else {
            QVERIFY(!QFile::exists(file));
        }
    }

    void isModified_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("modified");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("TxFreq") << "txFreq" << false;
        QTest::newRow("word field 1") << "word1" << false;
        QTest::newRow("word fields 2-4 and 10") << "words" << false;
        QTest::newRow("tag") << "tag" << false;
        QTest::newRow("current channel") << "currentChannel" << false;
        QTest::newRow("slots swapped") << "swap" << false;
        QTest::newRow("free TV entry differs") << "freeTv" << false;
        QTest::newRow("RxFreq") << "rxFreq" << true;
        QTest::newRow("ChNo") << "chNo" << true;
        QTest::newRow("in-use word") << "inUse" << true;
        QTest::newRow("Public") << "public" << true;
        QTest::newRow("Busy") << "busy" << true;
        QTest::newRow("HiCut") << "hiCut" << true;
        QTest::newRow("RepeaterShift") << "shift" << true;
        QTest::newRow("ToneCode") << "tone" << true;
        QTest::newRow("RogerBeep") << "roger" << true;
        QTest::newRow("count") << "count" << true;
        QTest::newRow("channel added") << "add" << true;
        QTest::newRow("model block") << "model" << true;
        QTest::newRow("option word") << "option" << true;
        QTest::newRow("band table") << "bandValid" << true;
        QTest::newRow("TV entry taken into use") << "tvInUse" << true;
        QTest::newRow("used TV frequency") << "tvFrequency" << true;
        QTest::newRow("used TV option") << "tvOption" << true;
        QTest::newRow("tone tip step") << "tipStep" << true;
        QTest::newRow("tone tip recycle") << "tipRecycle" << true;
    }
    void isModified()
    {
        QFETCH(QString, change);
        QFETCH(bool, modified);
        RadioImage image;
        fillImage(image);
        image.work.tvChannels[3] = {1, 180.5, 1, 0};
        image.copyWorkToStaging();
        QVERIFY(!datafile::isModified(image));

        ChannelRecord& ch = image.workChannels.at(0, 2, 1);
        const QHash<QString, std::function<void()>> changes = {
            {"", [] {}},
            {"txFreq", [&] { ch.txFreq.set(QByteArrayView("27000000")); }},
            {"word1", [&] { ch.word1 = 0; }},
            {"words", [&] { ch.word2 = ch.word3 = ch.word4 = ch.word10 = 5; }},
            {"tag", [&] { image.work.tag.set(QByteArrayView("V999")); }},
            {"currentChannel", [&] { image.work.currentChannel[0] = 17; }},
            {"swap", [&] { std::swap(image.workChannels.at(0, 1, 1), image.workChannels.at(0, 3, 1)); }},
            {"freeTv", [&] { image.work.tvChannels[9].frequency = 300.0; }},
            {"rxFreq", [&] { ch.rxFreq.set(QByteArrayView("28030000")); }},
            {"chNo", [&] { ch.chNo = 33; }},
            {"inUse", [&] { ch.inUse = 0; }},
            {"public", [&] { ch.publicFlag = 0; }},
            {"busy", [&] { ch.busy = 1; }},
            {"hiCut", [&] { ch.hiCut = 1; }},
            {"shift", [&] { ch.repeaterShift = 1; }},
            {"tone", [&] { ch.toneCode = 5; }},
            {"roger", [&] { ch.rogerBeep = 2; }},
            {"count", [&] { image.deleteChannel(3, 0, 1); }},
            {"add", [&] { image.addChannel(8, 2, 4, QStringLiteral("27.0")); }},
            {"model", [&] { image.work.model.creationDate.set(QByteArrayView("20000101")); }},
            {"option", [&] { image.work.optFeat[Opt::BacklightColor] = 3; }},
            {"bandValid", [&] { image.work.optFeat.bandValid(2, 8) = 1; }},
            {"tvInUse", [&] { image.work.tvChannels[9].inUse = 1; }},
            {"tvFrequency", [&] { image.work.tvChannels[3].frequency = 180.50000001; }},
            {"tvOption", [&] { image.work.tvChannels[3].bandwidth = 1; }},
            {"tipStep", [&] { image.work.toneTips[7].length(14) = 1; }},
            {"tipRecycle", [&] { image.work.toneTips[0].recycleTimes() = 3; }},
        };
        QVERIFY(changes.contains(change));
        changes[change]();
        QCOMPARE(datafile::isModified(image), modified);
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
