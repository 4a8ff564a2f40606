#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/TestSupport.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstring>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

using namespace mx;
using namespace mx::test;

using Change = std::function<void(RadioImage&)>;
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(mx::datafile::Unfinished)

namespace {

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
    for (int k = 0; k < 24; ++k)
        r.currentChannel[k] = qint16(100 + k);
    r.count(0, 1) = 2;
    r.count(2, 8) = 3; // index 23
    for (int k = 0; k < TVChannelCount; ++k)
        r.tvChannels[k] = TVChannelRecord{qint16(k & 1), 150.0 + k * 0.25, qint16(k % 3), qint16(k % 2)};
    r.model.modelId.set(QByteArrayView("MX806\0", 6));
    r.model.savedRange = 2;
    r.model.creationDate.set(QByteArrayView("20161205"));
    r.model.dataVersion.set(QByteArrayView("V1.00"));
    r.model.modelCode.set(QByteArrayView("MX806\0", 6));
    r.model.defaultRange = 1;
    for (int k = 0; k < Opt::Count; ++k)
        r.optFeat.words[k] = qint16(1000 + k);
    for (int t = 0; t < ToneTipCount; ++t)
        for (int k = 0; k < 30; ++k)
            r.toneTips[t].words[k] = qint16(-(t * 100 + k));
    return r;
}

// A channel whose every field differs from its neighbours.
ChannelRecord channel(int chNo, const char* rx)
{
    ChannelRecord c{qint16(chNo), 1, {}, {}, 7, 7, 3, 4, 1, 1, 1, 2, 39, 10, 8};
    c.rxFreq.set(QByteArrayView(rx));
    c.txFreq.set(QByteArrayView("29000000"));
    return c;
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

// Everything a refused load or a failed save must leave as it was.
auto imageState(const RadioImage& i)
{
    return std::tuple(i.work, i.staging, i.workChannels.records, i.stagingChannels.records, i.currentFileName,
                      i.isNewDocument);
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    VersionTable m_versions;
    TestPrompter m_prompter;
    Messenger m_messenger{m_prompter};

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Saves the image in a child process, which stops between the save's two
    // renames; returns its pid once it is there. A byte written to release lets it go on.
    static pid_t saveInChild(RadioImage& image, const QString& file, int& release)
    {
        int ready[2], go[2];
        if (::pipe(ready) != 0 || ::pipe(go) != 0) return -1;
        const pid_t pid = ::fork();
        if (pid == 0) {
            datafile::setBetweenRenamesHook([&] {
                char c = 0;
                (void)!::write(ready[1], "r", 1);
                (void)!::read(go[0], &c, 1);
            });
            TestPrompter prompter;
            Messenger messenger(prompter);
            ::_exit(datafile::saveDataFile(image, file, messenger) ? 0 : 1);
        }
        char c = 0;
        release = go[1];
        return ::read(ready[0], &c, 1) == 1 ? pid : -1;
    }
    // How a child ended: its exit status, or 100 and the signal that killed it.
    static int ended(pid_t pid)
    {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFSIGNALED(status) ? 100 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    datafile::LoadStatus load(RadioImage& image, const QString& file)
    {
        return datafile::loadDataFile(image, file, m_versions, m_messenger);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_versions.pairs = {{QStringLiteral("V100"), QStringLiteral("V100")},
                            {QStringLiteral("V101"), QStringLiteral("V101")}};
    }
    void init() { m_prompter = TestPrompter(); }

    // One row for each block of the record. (The range mode at byte 4, the counts from 60 and the TV
    // in-use words from 108 are tst_cli's and tst_e2e_write's too.)
    void recordOffsets_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("tag") << 0 << QByteArray("V100");
        QTest::newRow("current band 2") << 10 << le16(5);
        QTest::newRow("current channel (2,8)") << 58 << le16(123);
        QTest::newRow("tv 2 option words") << 132 << (le16(1) + le16(1));
        QTest::newRow("tv 32 frequency") << 108 + 31 * 14 + 2 << le64(150.0 + 31 * 0.25);
        QTest::newRow("model identifier") << 556 << QByteArray("MX806\0 ", 7);
        QTest::newRow("model number") << 563 << le16(248);
        QTest::newRow("creation date") << 567 << QByteArray("20161205");
        QTest::newRow("model code") << 580 << QByteArray("MX806\0", 6);
        QTest::newRow("model letter") << 588 << le16(67);
        QTest::newRow("radio option") << 590 << le16(1000);
        QTest::newRow("backlight loop time") << 744 << le16(1077);
        QTest::newRow("tone tip 1 step 1") << 746 << le16(0) + le16(-1);
        QTest::newRow("tone tip 8 inter time") << 1224 << le16(-729);
    }
    void recordOffsets()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        const QByteArray encoded = datafile::encodeRecord(handSetRecord());
        QCOMPARE(encoded.size(), 1226);
        QCOMPARE(encoded.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
        QVERIFY(datafile::decodeRecord(encoded) == handSetRecord());
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
        // ChNo, in use, RxFreq, TxFreq, words 1-4, Public, Busy, HiCut, shift, tone, word 10, RogerBeep
        const QByteArray first = le16(12) + le16(1) + "28015000" + "29000000" + le16(7) + le16(7) + le16(3) +
                                 le16(4) + le16(1) + le16(1) + le16(1) + le16(2) + le16(39) + le16(10) +
                                 le16(8);
        QCOMPARE(bytes.left(42).toHex(' '), first.toHex(' '));
        QCOMPARE(bytes.mid(42, 2), le16(41));
        QCOMPARE(bytes.mid(84 + 4, 8), QByteArray("FFFFFFFF"));
    }

    void names_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("channelFile");
        QTest::addColumn<QString>("title");
        auto row = [](const char* name, const char* path, const char* channelFile, const char* title) {
            QTest::newRow(name) << QString(path) << QString(channelFile) << QString(title);
        };
        row("windows path", "C:\\data\\a.b\\x.dat", "C:\\data\\a.b\\x.fre", "x.dat");
        row("two characters", "ab", "", "ab");
        row("trailing separator", "dir/", "dfre", "");
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
        QSignalSpy caption(&image, &RadioImage::captionChanged);
        const QString file = path(QStringLiteral("round.dat"));
        QVERIFY(datafile::saveDataFile(image, file, m_messenger));
        QVERIFY(caption.count() >= 1);
        QCOMPARE(image.currentFileName, file);
        QVERIFY(!image.isNewDocument);
        QVERIFY(!datafile::isModified(image));
        QCOMPARE(readFile(path(QStringLiteral("round.fre"))).size(), 5 * 42);
        QCOMPARE(readFile(file).mid(565, 2), le16(1)); // saved range family

        RadioImage loaded;
        QCOMPARE(load(loaded, file), datafile::LoadStatus::Ok);
        QVERIFY(m_prompter.shown.isEmpty());
        QVERIFY(!datafile::isModified(loaded));
        QVERIFY(loaded.work == image.work);
        QCOMPARE(loaded.currentFileName, file);
        QVERIFY(!loaded.isNewDocument);
        QVERIFY(loaded.workChannels.at(0, 3, 1) == image.workChannels.at(0, 3, 1));
        QVERIFY(loaded.workChannels.at(2, 1, 8) == image.workChannels.at(2, 1, 8));

        // Fewer channels over the existing files: exactly the saved ones come back.
        image.deleteChannel(1, 0, 1);
        image.deleteChannel(1, 1, 3);
        QVERIFY(datafile::saveDataFile(image, file, m_messenger));
        QCOMPARE(readFile(path(QStringLiteral("round.fre"))).size(), 3 * 42);
        QCOMPARE(load(loaded, file), datafile::LoadStatus::Ok);
        QCOMPARE(int(loaded.work.count(0, 1)), 2);
        QCOMPARE(int(loaded.workChannels.at(0, 1, 1).chNo), 2);
        QCOMPARE(int(loaded.workChannels.at(0, 2, 1).chNo), 45);
        QCOMPARE(int(loaded.work.count(1, 3)), 0);
        QCOMPARE(int(loaded.workChannels.at(2, 1, 8).chNo), 3);
        QVERIFY(m_prompter.shown.isEmpty());
    }

    void shortChannelFileKeepsWhatWasRead_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<QList<int>>("counts"); // of (0,1), (0,2), (1,1)
        QTest::newRow("no channels, no channel file") << -1 << QList<int>{0, 0, 0};
        QTest::newRow("none") << 0 << QList<int>{0, 0, 0};
        QTest::newRow("inside second band") << 4 << QList<int>{3, 1, 0};
        QTest::newRow("all but one") << 5 << QList<int>{3, 2, 0};
        QTest::newRow("all") << 6 << QList<int>{3, 2, 1};
    }
    void shortChannelFileKeepsWhatWasRead()
    {
        QFETCH(int, records);
        QFETCH(QList<int>, counts);
        RadioDataRecord r;
        r.tag.set(QByteArrayView("V100"));
        r.rangeMode = 2;
        if (records >= 0) {
            r.count(0, 1) = 3;
            r.count(0, 2) = 2;
            r.count(1, 1) = 1;
        }
        ChannelArray chans;
        const int at[6][3] = {{0, 1, 1}, {0, 2, 1}, {0, 3, 1},
                              {0, 1, 2}, {0, 2, 2}, {1, 1, 1}}; // in file order
        for (int k = 0; k < 6; ++k)
            chans.at(at[k][0], at[k][1], at[k][2]) = channel(k + 1, "28000000");
        const QString file = path(QStringLiteral("short.dat"));
        writeFile(file, datafile::encodeRecord(r));
        const QByteArray all = datafile::encodeChannels(r, chans);
        QFile::remove(path(QStringLiteral("short.fre")));
        if (records >= 0) // the last record torn
            writeFile(path(QStringLiteral("short.fre")), all.left(records * 42 + (records < 6 ? 20 : 0)));

        RadioImage image;
        fillImage(image);
        image.addChannel(30, 0, 2, QStringLiteral("28.3"));
        image.addChannel(31, 0, 2, QStringLiteral("28.4"));
        image.copyWorkToStaging(); // an earlier image with two channels in band (0,2)
        QCOMPARE(load(image, file), datafile::LoadStatus::Ok);
        QVERIFY(m_prompter.shown.isEmpty());
        QCOMPARE((QList<int>{image.work.count(0, 1), image.work.count(0, 2), image.work.count(1, 1)}),
                 counts);
        if (records < 0) QVERIFY(image.work.channelCount == r.channelCount); // every band emptied
        if (records >= 4) QCOMPARE(int(image.workChannels.at(0, 1, 2).chNo), 4);
        if (counts[1] < 2)
            QCOMPARE(int(image.stagingChannels.at(0, 2, 2).chNo), 0); // nothing of the earlier image
        QVERIFY(!datafile::isModified(image));
        QCOMPARE(image.findSlot(31, 0, 2), 0);
        QCOMPARE(image.rangeText, QStringLiteral("26.3300 - 27.99125 MHz"));
    }

    // A channel file that never ends or is huge is read no further than the
    // records the counts use; one that is no regular file is not read at all.
    void oddChannelFile_data()
    {
        QTest::addColumn<bool>("huge"); // else a link to /dev/zero
        QTest::addColumn<bool>("asTemplate");
        QTest::addColumn<bool>("channelsKept");
        QTest::newRow("8 GiB file, data file") << true << false << true;
        QTest::newRow("8 GiB file, template") << true << true << true;
        QTest::newRow("link to /dev/zero, data file") << false << false << false;
        QTest::newRow("link to /dev/zero, template") << false << true << false;
    }
    void oddChannelFile()
    {
        QFETCH(bool, huge);
        QFETCH(bool, asTemplate);
        QFETCH(bool, channelsKept);
        const QString file = path(QStringLiteral("odd.dat")), fre = path(QStringLiteral("odd.fre"));
        RadioDataRecord r = handSetRecord();
        r.count(1, 4) = 40;
        writeFile(file, datafile::encodeRecord(r));
        QFile::remove(fre);
        if (huge) {
            QFile f(fre);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(8) << 30)); // sparse
        } else {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), fre)); // only ever read
        }
        RadioImage image;
        image.copyWorkToStaging();
        const RadioDataRecord before = image.work;
        const bool loaded =
            asTemplate ? defaults::loadTemplate(image, file) : load(image, file) == datafile::LoadStatus::Ok;
        QFile::remove(fre);
        QCOMPARE(loaded, channelsKept || !asTemplate); // a template without channel file is refused
        QVERIFY(!datafile::isModified(image));
        if (channelsKept)
            QCOMPARE(image.work.channelCount, r.channelCount);
        else if (asTemplate)
            QVERIFY(image.work == before);
        else
            QCOMPARE(datafile::usedChannelRecords(image.work), 0);
    }

    void refusedLoads_data()
    {
        // What the command line refuses with the same message (a lower-case or short tag, 1227 bytes,
        // a missing file) is tst_cli's, Yes handing over tst_mainwindow's; here that the image stays.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<datafile::LoadStatus>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("handover"); // whether the loader may start another version
        const QByteArray good = datafile::encodeRecord(handSetRecord());
        using S = datafile::LoadStatus;
        auto row = [](const char* name, const QByteArray& bytes, S status, const QString& message,
                      Answer answer = Answer::No, bool handover = true) {
            QTest::newRow(name) << bytes << answer << status << message << handover;
        };
        const QString unknown = QStringLiteral("Unknown version Of DataFile!");
        const QString length = QStringLiteral("Fail to start the software. This version does not exist.");
        const QString fileError = QStringLiteral("file error.");
        auto other = [](const char* v) { return VersionTable::incompatibleMessage("V100", v, 1, English); };
        row("empty file", QByteArray(), S::UnknownVersion, unknown);
        row("not compatible, No", "V101" + good.mid(4), S::Incompatible, other("V101"));
        row("not compatible, Yes without handover", "V102" + good.mid(4), S::Incompatible, other("V102"),
            Answer::Yes, false);
        row("1225 bytes", good.left(1225), S::WrongLength, length);
        row("count 41", QByteArray(good).replace(60 + 2 * 5, 2, le16(41)), S::FileError, fileError);
    }
    void refusedLoads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Answer, answer);
        QFETCH(datafile::LoadStatus, status);
        QFETCH(QString, message);
        QFETCH(bool, handover);
        const QString file = path(QStringLiteral("refused.dat"));
        writeFile(file, bytes);
        writeFile(path(QStringLiteral("refused.fre")), QByteArray(42 * 10, '\1'));

        RadioImage image;
        fillImage(image);
        image.copyWorkToStaging();
        image.addChannel(9, 2, 2, QStringLiteral("27.0")); // unsaved edit
        image.currentFileName = QStringLiteral("/somewhere/before.dat");
        const auto before = imageState(image);

        m_prompter.script = {answer};
        RecordingLauncher launcher;
        const Handover toOther{m_dir.path(), QStringLiteral("MX_806TR"), &launcher, {}};
        QCOMPARE(datafile::loadDataFile(image, file, m_versions, m_messenger, handover ? &toOther : nullptr),
                 status);
        QCOMPARE(m_prompter.texts(), QStringList{message});
        if (status == datafile::LoadStatus::Incompatible)
            QCOMPARE(m_prompter.shown[0].buttons, Buttons::YesNo);
        QVERIFY2(imageState(image) == before, "a refused file must leave the image as it was");
        QVERIFY(datafile::isModified(image));
        const bool handsOver = handover && answer == Answer::Yes;
        QCOMPARE(launcher.started,
                 handsOver ? QStringList{QDir::toNativeSeparators(m_dir.path() + "/V101/MX_806TR")}
                           : QStringList());
        QCOMPARE(launcher.quits, handsOver ? 1 : 0);
    }

    void shortNameSavesNoChannelFile()
    {
        const QString saved = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        RadioImage image;
        fillImage(image);
        const bool ok = datafile::saveDataFile(image, QStringLiteral("ab"), m_messenger);
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
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("channelFile"); // what holds the channel file's name
        QTest::addColumn<int>("fileSizeLimit");   // bytes a file may grow to, as on a full disk (0: any)
        QTest::addColumn<QString>("because");
        auto row = [](const char* tag, const char* name, const char* channelFile, int limit,
                      const char* why) {
            QTest::newRow(tag) << QString(name) << QString(channelFile) << limit << QString(why);
        };
        row("channel file name is a folder", "x.dat", "folder", 0, "Is a directory");
        row("folder does not exist", "no/such/folder/x.dat", "", 0, "No such file or directory");
        row("data file named as its own channel file", "clash.fre", "", 0,
            "the name of its own channel file");
        row("channel file links to a FIFO", "x.dat", "fifo", 0, "a device or FIFO, not a regular file");
        row("channel file links to another data file", "x.dat", "data", 0, "a link to the data file");
        row("folder read-only", "ro/x.dat", "", 0, "Permission denied");
        // 34 channels take 1,428 bytes: the data file (1,226) does not fit into 1,024, the channel file not
        // into 1,300.
        row("disk full at the data file", "x.dat", "old", 1024, "File too large");
        row("disk full at the channel file", "x.dat", "old", 1300, "File too large");
    }
    void failedSaveKeepsOldFilesAndChanges()
    {
        QFETCH(QString, name);
        QFETCH(QString, channelFile);
        QFETCH(int, fileSizeLimit);
        QFETCH(QString, because);
        QTemporaryDir dir;
        const QString file = dir.filePath(name), fre = datafile::channelFileName(file);
        const QString other = dir.filePath(QStringLiteral("other.dat")),
                      fifo = dir.filePath(QStringLiteral("fifo"));
        const QByteArray oldData(1226, 'o'), oldChannels(42 * 3, 'c');
        if (!name.startsWith(QLatin1String("no/"))) writeFile(file, oldData);
        writeFile(other, oldData);
        if (channelFile == u"old") writeFile(fre, oldChannels);
        if (channelFile == u"folder") QVERIFY(QDir().mkpath(fre));
        if (channelFile == u"data") QVERIFY(QFile::link(other, fre)); // it would overwrite other.dat
        if (channelFile == u"fifo") {
            // Saving must not rename a file over the link's target (as root, over a device).
            QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
            QVERIFY(QFile::link(fifo, fre));
        }
        const bool readOnly = name.startsWith(QLatin1String("ro/"));
        if (readOnly) {
            if (geteuid() == 0) QSKIP("the administrator writes into read-only folders");
            QFile::setPermissions(dir.filePath(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner);
        }
        auto writable = qScopeGuard([&] {
            QFile::setPermissions(dir.filePath(QStringLiteral("ro")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });

        RadioImage image;
        fillImage(image);
        for (int n = 1; n <= 30; ++n)
            image.addChannel(n, 1, 1, QStringLiteral("26.5"));
        image.copyWorkToStaging();
        image.currentFileName = QStringLiteral("old.dat");
        image.work.optFeat[Opt::HiCut] = 1; // unsaved change
        image.deleteChannel(2, 0, 1);
        const auto before = imageState(image);

        QString reason;
        {
            std::optional<FileSizeLimit> full;
            if (fileSizeLimit > 0) full.emplace(fileSizeLimit);
            QVERIFY(!datafile::saveDataFile(image, file, m_messenger, &reason));
        }
        QCOMPARE(m_prompter.texts(), QStringList{QStringLiteral("file error.")});
        QVERIFY2(reason.contains(because), qPrintable(reason)); // the system's own reason
        QVERIFY(datafile::isModified(image));
        QVERIFY2(imageState(image) == before,
                 "a failed save must leave the image and its file name as they were");
        QCOMPARE(readFile(file), name.startsWith(QLatin1String("no/")) ? QByteArray("<missing>") : oldData);
        QCOMPARE(readFile(other), oldData);
        if (channelFile == u"old") QCOMPARE(readFile(fre), oldChannels);
        if (channelFile == u"folder") QVERIFY(QFileInfo(fre).isDir());
        if (channelFile == u"fifo") QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        // Nothing of the attempt is left beside the files.
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("x.dat*")}, QDir::Files),
                 name == u"x.dat" ? QStringList{QStringLiteral("x.dat")} : QStringList());
    }

    // A save killed between its two renames: the old data file with the new
    // channel file, which the next load names; the next save cleans up.
    void interruptedSave_data()
    {
        QTest::addColumn<datafile::Unfinished>("unfinished");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<datafile::LoadStatus>("status");
        QTest::addColumn<Buttons>("buttons");
        using U = datafile::Unfinished;
        using S = datafile::LoadStatus;
        QTest::newRow("asked, No") << U::Ask << Answer::No << S::Interrupted << Buttons::YesNo;
        QTest::newRow("asked, Yes") << U::Ask << Answer::Yes << S::Ok << Buttons::YesNo;
        QTest::newRow("warned") << U::Warn << Answer::Ok << S::Ok << Buttons::Ok;
        QTest::newRow("refused") << U::Refuse << Answer::Ok << S::Interrupted << Buttons::Ok;
    }
    void interruptedSave()
    {
        QFETCH(datafile::Unfinished, unfinished);
        QFETCH(Answer, answer);
        QFETCH(datafile::LoadStatus, status);
        QFETCH(Buttons, buttons);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("pair.dat"));
        RadioImage image;
        fillImage(image); // 5 channels
        QVERIFY(datafile::saveDataFile(image, file, m_messenger));
        const QByteArray oldData = readFile(file);
        image.deleteChannel(1, 0, 1);
        image.work.optFeat[Opt::MonSetting] = 9;
        int release = -1;
        const pid_t child = saveInChild(image, file, release);
        ::kill(child, SIGKILL);
        QCOMPARE(ended(child), 100 + SIGKILL);
        QCOMPARE(readFile(file), oldData);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("pair.fre"))).size(), 4 * 42); // the new one

        RadioImage loaded;
        const auto before = imageState(loaded);
        m_prompter.script = {answer};
        QCOMPARE(datafile::loadDataFile(loaded, file, m_versions, m_messenger, nullptr, unfinished), status);
        const QString said = QStringLiteral("The last save of \"pair.dat\" was interrupted: its channel file "
                                            "may not belong to it, so channels may be shifted or missing.");
        QCOMPARE(
            m_prompter.texts(),
            QStringList{buttons == Buttons::YesNo ? said + QStringLiteral("\r\nOpen it anyway?") : said});
        QCOMPARE(m_prompter.shown[0].buttons, buttons);
        if (status != datafile::LoadStatus::Ok) QVERIFY(imageState(loaded) == before);

        // The next save takes over the dead program's lock and removes what it left behind, and
        // nothing else.
        for (const char* leftover : {"pair.dat.Ab12Cd", "pair.fre.zZ9yX8", "pair.dat.keep", "pair.dat.Ab12C"})
            writeFile(dir.filePath(QLatin1String(leftover)), "x");
        QVERIFY(datafile::saveDataFile(image, file, m_messenger, nullptr, 0));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"pair.dat", "pair.dat.Ab12C", "pair.dat.keep", "pair.fre"}));
        m_prompter.shown.clear();
        QCOMPARE(load(loaded, file), datafile::LoadStatus::Ok);
        QVERIFY(m_prompter.shown.isEmpty());
        QCOMPARE(int(loaded.work.optFeat[Opt::MonSetting]), 9);
    }

    // A second program saving the same pair while the first is between its renames
    // waits for it, then saves a whole pair; one that may not wait fails and changes nothing.
    void secondWriterWaits()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("pair.dat")),
                      fre = dir.filePath(QStringLiteral("pair.fre"));
        RadioImage first, second;
        fillImage(first);
        fillImage(second);
        second.deleteChannel(1, 0, 1); // band (0,1) keeps 2 of its 3 channels
        int release = -1;
        const pid_t child = saveInChild(first, file, release);
        QString reason;
        QVERIFY(!datafile::saveDataFile(second, file, m_messenger, &reason, 0));
        QVERIFY2(reason.startsWith(QStringLiteral("another program is saving it")), qPrintable(reason));
        QCOMPARE(readFile(fre).size(), 5 * 42); // the first program's, renamed before it stopped
        std::thread letGo([release] {
            QThread::msleep(200); // the second save is waiting by then
            (void)!::write(release, "g", 1);
        });
        const bool saved = datafile::saveDataFile(second, file, m_messenger);
        letGo.join();
        QVERIFY(saved);
        QCOMPARE(ended(child), 0);
        QCOMPARE(readFile(file).mid(60, 2), le16(2)); // the second pair, both files
        QCOMPARE(readFile(fre).size(), 4 * 42);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"pair.dat", "pair.fre"}));
    }

    void isModified_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("modified");
        auto ch = [](RadioImage& i) -> ChannelRecord& { return i.workChannels.at(0, 2, 1); };
        auto row = [](const char* name, bool modified, Change change) {
            QTest::newRow(name) << change << modified;
        };
        row("nothing", false, [](RadioImage&) {});
        row("TxFreq", false, [=](RadioImage& i) { ch(i).txFreq.set(QByteArrayView("27000000")); });
        row("word field 1", false, [=](RadioImage& i) { ch(i).word1 = 0; });
        row("word fields 2-4 and 10", false,
            [=](RadioImage& i) { ch(i).word2 = ch(i).word3 = ch(i).word4 = ch(i).word10 = 5; });
        row("slots swapped", false,
            [](RadioImage& i) { std::swap(i.workChannels.at(0, 1, 1), i.workChannels.at(0, 3, 1)); });
        row("free TV entry differs", false, [](RadioImage& i) { i.work.tvChannels[9].frequency = 300.0; });
        row("RxFreq", true, [=](RadioImage& i) { ch(i).rxFreq.set(QByteArrayView("28030000")); });
        row("ChNo", true, [=](RadioImage& i) { ch(i).chNo = 33; });
        row("RogerBeep", true, [=](RadioImage& i) { ch(i).rogerBeep = 2; });
        row("count", true, [](RadioImage& i) { i.deleteChannel(3, 0, 1); });
        row("channel added", true, [](RadioImage& i) { i.addChannel(8, 2, 4, QStringLiteral("27.0")); });
        row("model block", true,
            [](RadioImage& i) { i.work.model.creationDate.set(QByteArrayView("20000101")); });
        row("option word", true, [](RadioImage& i) { i.work.optFeat[Opt::BacklightColor] = 3; });
        row("TV entry taken into use", true, [](RadioImage& i) { i.work.tvChannels[9].inUse = 1; });
        row("used TV frequency", true, [](RadioImage& i) { i.work.tvChannels[3].frequency = 180.50000001; });
        row("tone tip step", true, [](RadioImage& i) { i.work.toneTips[7].length(14) = 1; });
    }
    void isModified()
    {
        QFETCH(Change, change);
        QFETCH(bool, modified);
        RadioImage image;
        fillImage(image);
        image.work.tvChannels[3] = {1, 180.5, 1, 0};
        image.copyWorkToStaging();
        QVERIFY(!datafile::isModified(image));
        change(image);
        QCOMPARE(datafile::isModified(image), modified);
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
