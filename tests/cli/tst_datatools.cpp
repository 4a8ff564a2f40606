// The channel list (CSV) and the commands that edit and compare data files
// without the window: export, import, set, show --json, diff.

#include "TestPrompter.h"
#include "data/ChannelCsv.h"
#include "data/ChannelRules.h"
#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/FreqRules.h"
#include "e2e/E2e.h"
#include "link/MemoryCodec.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace mx;

namespace {

QByteArray digest(const QString& dataFile)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    for (const QString& path : {dataFile, datafile::channelFileName(dataFile)}) {
        QFile f(path);
        h.addData(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>"));
    }
    return h.result();
}

void copyImage(const RadioImage& from, RadioImage& to)
{
    to.work = from.work;
    to.workChannels = from.workChannels;
    to.setRangeFamily(from.rangeFamily());
}

QByteArray memoryOf(const RadioImage& image)
{
    QByteArray memory;
    fillRadioMemory(memory);
    encodeImage(image, memory);
    return memory;
}

// An image with every field of every family drawn at random within what the
// editors offer: channels in random order, bands on and off, usable and unusable tone tips.
void randomImage(RadioImage& image, quint32 seed)
{
    QRandomGenerator rng(seed);
    defaults::applyBuiltIn(image, QDate(2026, 12, 7));
    RadioDataRecord& rec = image.work;
    for (int t = 1; t <= ToneTipCount; ++t) {
        ToneTipRecord& tip = rec.toneTips[t - 1];
        tip.recycleTimes() = qint16(t == 1 ? 1 + rng.bounded(5) : rng.bounded(3));
        tip.interTime() = qint16(rng.bounded(100));
        for (int s = 1; s <= ToneStepCount; ++s) {
            tip.tone(s) = qint16(rng.bounded(256));
            tip.length(s) = qint16(rng.bounded(256));
        }
    }
    const QStringList rogers = channelrules::rogerList(rec, English);
    for (int m = 0; m < FamilyCount; ++m) {
        const freq::Range range = freq::parseRange(freq::rangeTextFor(m));
        const int steps = int((range.high - range.low) / 0.005 + 1e-9);
        for (int b = 1; b <= BandCount; ++b) {
            rec.optFeat.bandValid(m, b) = qint16(b == 1 ? 1 : rng.bounded(2));
            QList<int> numbers;
            for (int n = 1; n <= 40; ++n)
                numbers.append(n);
            std::shuffle(numbers.begin(), numbers.end(), std::mt19937(seed + m * 8 + b));
            const int count = b == 1 ? 1 + rng.bounded(40) : rng.bounded(41);
            rec.count(m, b) = qint16(count);
            for (int i = 1; i <= count; ++i) {
                ChannelRecord& ch = image.workChannels.at(m, i, b);
                ch = ChannelRecord{};
                ch.chNo = qint16(numbers[i - 1]);
                ch.inUse = qint16(rng.bounded(2));
                const auto stored = [&] {
                    return freq::storedFromText(
                        freq::formatFixed(range.low + 0.005 * rng.bounded(steps + 1), 6), range.low);
                };
                ch.rxFreq.set(stored());
                ch.txFreq.set(stored());
                ch.toneCode = qint16(rng.bounded(channelrules::ToneSquelchCount));
                ch.repeaterShift = qint16(m == 2 ? 0 : rng.bounded(3));
                ch.rogerBeep =
                    qint16(rogers.value(rng.bounded(int(rogers.size())), QStringLiteral("0")).toInt());
                ch.publicFlag = qint16(rng.bounded(2));
                ch.busy = qint16(rng.bounded(2));
                ch.hiCut = qint16(rng.bounded(2));
            }
            rec.optFeat.workChannel(m, b) =
                count > 0 ? image.workChannels.at(m, 1 + rng.bounded(count), b).chNo : 0;
        }
    }
    rec.optFeat[Opt::MonSetting] = qint16(1 + rng.bounded(32));
    rec.optFeat[Opt::TSQCode] = qint16(rng.bounded(143));
    rec.tvChannels[3] = TVChannelRecord{1, 160.00625, 1, 0};
}

// What a data file may hold that no window would make: frequencies that are
// no numbers, channel numbers outside 1..40 and twice in a band, values no
// list offers, work channels pointing at no channel, the words the window never shows.
void oddities(RadioImage& image, quint32 seed)
{
    QRandomGenerator rng(seed);
    const QByteArray junk[] = {"FFFFFFFF", "2801500A", "\x1b[31m\a,\"",
                               "  28015 ", "",         "-1234567",
                               "31000000", "27991251", QByteArray("28\0\xff\x85zz", 8)};
    const qint16 numbers[] = {0, 41, 99, -5, 7, 7};
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int count = image.work.count(m, b);
            for (int i = 1; i <= count; ++i) {
                if (rng.bounded(3) != 0) continue;
                ChannelRecord& ch = image.workChannels.at(m, i, b);
                switch (rng.bounded(8)) {
                case 0:
                    ch.rxFreq.set(QByteArrayView(junk[rng.bounded(int(std::size(junk)))]));
                    break;
                case 1:
                    ch.txFreq.set(QByteArrayView(junk[rng.bounded(int(std::size(junk)))]));
                    break;
                case 2:
                    ch.chNo = numbers[rng.bounded(int(std::size(numbers)))];
                    break;
                case 3:
                    ch.toneCode = qint16(143 + rng.bounded(100));
                    break;
                case 4:
                    ch.repeaterShift = qint16(m == 2 ? 1 : 3);
                    ch.rogerBeep = 9;
                    break;
                case 5:
                    ch.inUse = 5;
                    ch.publicFlag = ch.busy = ch.hiCut = 2;
                    break;
                case 6:
                    image.work.optFeat.workChannel(m, b) = 77;
                    break;
                default:
                    ch.word1 = ch.word2 = ch.word3 = ch.word4 = ch.word10 = qint16(rng.bounded(1000));
                }
            }
        }
    }
}

// A channel line of the list: the other columns as a fresh channel has them.
QString row(const QString& family, const QString& band, const QString& n, const QString& rx,
            const QString& tsq = QStringLiteral("OFF"), const QString& rep = QStringLiteral("OFF"),
            const QString& roger = QStringLiteral("OFF"))
{
    return QStringList{family, band, n, "ON", rx, "", tsq, rep, roger, "ON", "OFF", "OFF"}.join(',');
}

} // namespace

using Edit = std::function<void(RadioImage&)>;
Q_DECLARE_METATYPE(Edit)

class TstDataTools : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_good; // a copy of the EU template pair
    test::TestPrompter m_prompter;
    Messenger m_messenger{m_prompter};

    // Saves an image as a data file pair in the test folder.
    QString save(RadioImage& image, const QString& name)
    {
        const QString path = m_dir.filePath(name + QStringLiteral(".dat"));
        return datafile::saveDataFile(image, path, m_messenger) ? path : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString tpl = e2e::templateFile(2);
        m_good = m_dir.filePath(QStringLiteral("good.dat"));
        QVERIFY(QFile::copy(tpl, m_good));
        QVERIFY(QFile::copy(datafile::channelFileName(tpl), datafile::channelFileName(m_good)));
    }

    void importRefused_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        const QString header = channelcsv::header().join(',');
        QStringList full{header};
        for (int n = 1; n <= 40; ++n)
            full << row("10M", "A", QString::number(n), "28.1");
        QTest::newRow("41 channels") << (full + QStringList{row("HF", "B", "1", "28.1"),
                                                            row("10M", "A", "7", "28.2")})
                                     << "Line 43, column 3 (channel): More than 40 channels for this band.";
        QTest::newRow("duplicate") << QStringList{header, row("10M", "A", "3", "28.1"),
                                                  row("10M", "B", "3", "28.1"), row("10M", "A", "3", "28.2")}
                                   << "Line 4, column 3 (channel): Channel 3 is listed twice for this band.";
        QTest::newRow("number 41") << QStringList{header, row("HF", "C", "41", "28.1")}
                                   << "Line 2, column 3 (channel): Channel numbers are 1 to 40.";
        QTest::newRow("too few columns") << QStringList{header, "10M,A,1,ON,28.015"}
                                         << "Line 2, column 6 (tx MHz): 5 columns instead of 12.";
        QTest::newRow("too many columns") << QStringList{header, row("10M", "A", "1", "28.1") + ",x"}
                                          << "Line 2, column 13 (…): 13 columns instead of 12.";
        QTest::newRow("out of range")
            << QStringList{header, row("10M", "A", "1", "28.1"), row("EU", "UK", "2", "28.1")}
            << "Line 3, column 5 (rx MHz): \"28.1\" is not a frequency of 26.3300 - 27.99125 MHz.";
        QTest::newRow("letters") << QStringList{header, row("10M", "A", "1", "2B.1")}
                                 << "Line 2, column 5 (rx MHz): \"2B.1\" is not a frequency";
        QTest::newRow("tone text") << QStringList{header, row("10M", "A", "1", "28.1", "66.6")}
                                   << "Line 2, column 7 (TSQ): \"66.6\" is not one of: OFF, 67.0, 71.9,";
        QTest::newRow("shift in EU") << QStringList{header, row("EU", "EU", "1", "27.1", "OFF", "+")}
                                     << "Line 2, column 8 (REP): The repeater shift is not used";
        QTest::newRow("tip not usable")
            << QStringList{header, row("10M", "A", "1", "28.1", "OFF", "OFF", "9")}
            << "Line 2, column 9 (Roger): \"9\" is not one of: OFF";
        QTest::newRow("band name") << QStringList{header, row("EU", "A", "1", "27.1")}
                                   << "Line 2, column 2 (band): Unknown band \"A\".";
        QTest::newRow("quote left open")
            << QStringList{header, "\"10M,A,1"} << "Line 2, column 1 (family): A quoted field is not closed.";
        QTest::newRow("no header") << QStringList{row("10M", "A", "1", "28.1")}
                                   << "Line 1, column 1 (family): The first line is not";
        QTest::newRow("empty list") << QStringList{} << "The channel list is empty."; // found by fuzzing
        QTest::newRow("in use beyond 16 bits")
            << QStringList{header, "10M,A,1,65536,28.1,,OFF,OFF,OFF,ON,OFF,OFF"}
            << "Line 2, column 4 (in use): \"65536\" is not one of: OFF, ON.";
        QTest::newRow("stored form for a new channel")
            << QStringList{header, row("10M", "A", "1", "#FFFFFFFF")}
            << "Line 2, column 5 (rx MHz): \"#FFFFFFFF\" is not a frequency";
        // Control characters of the file reach the terminal escaped.
        QTest::newRow("escape sequence") << QStringList{header, row("10M", "A", "1", "28.1", "\x1b[2J\a")}
                                         << "Line 2, column 7 (TSQ): \"\\x1B[2J\\x07\" is not one of";
        QTest::newRow("larger than 1 MiB")
            << QStringList{header, QString(1 << 20, u',')} << "The channel list is larger than 1 MiB";
    }
    void importRefused()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        const QString csv = m_dir.filePath(QStringLiteral("refused.csv"));
        QFile f(csv);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lines.join("\r\n").toUtf8() + "\r\n");
        f.close();
        const QByteArray before = digest(m_good);
        const QString out = m_dir.filePath(QStringLiteral("refused.dat"));
        const e2e::Result r = e2e::runMx806({"import", m_good, csv, "-o", out});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY(!r.err.contains('\x1b'));
        QCOMPARE(digest(m_good), before);
        QVERIFY(!QFile::exists(out));
    }

    // A random image's channels exported and imported, through the command line:
    // into the same data file with its channels gone, the radio gets the same
    // bytes; into the data file itself (even one holding what no window makes),
    // both files stay byte for byte as they were. The list exported again is the
    // same, and the file compared with itself shows no difference.
    void exportImportRoundTrip_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("odd");
        for (quint32 seed : {1u, 7u, 42u})
            QTest::addRow("seed %u", seed) << seed << false;
        for (quint32 seed : {5u, 1234u, 99999u})
            QTest::addRow("seed %u, odd values", seed) << seed << true;
    }
    void exportImportRoundTrip()
    {
        QFETCH(quint32, seed);
        QFETCH(bool, odd);
        RadioImage original, emptied;
        randomImage(original, seed);
        if (odd) oddities(original, seed);
        copyImage(original, emptied);
        for (auto& c : emptied.work.channelCount)
            c = 0;
        const QString dat = save(original, QStringLiteral("random")),
                      into = odd ? dat : save(emptied, QStringLiteral("emptied"));
        const QString csv = m_dir.filePath(QStringLiteral("random.csv")),
                      again = m_dir.filePath(QStringLiteral("again.csv")),
                      out = m_dir.filePath(QStringLiteral("imported.dat")),
                      bin = m_dir.filePath(QStringLiteral("imported.bin"));
        QCOMPARE(e2e::runMx806({"export", dat, "-o", csv}).exitCode, 0);
        const e2e::Result r = e2e::runMx806({"import", into, csv, "-o", out});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        if (odd) {
            QCOMPARE(e2e::readAll(out), e2e::readAll(dat));
            QCOMPARE(e2e::readAll(datafile::channelFileName(out)),
                     e2e::readAll(datafile::channelFileName(dat)));
            QCOMPARE(e2e::runMx806({"diff", dat, dat}).exitCode, 0);
        } else {
            QCOMPARE(e2e::runMx806({"encode", out, "-o", bin}).exitCode, 0);
            QCOMPARE(e2e::readAll(bin), memoryOf(original));
        }
        QCOMPARE(e2e::runMx806({"export", out, "-o", again}).exitCode, 0);
        QCOMPARE(e2e::readAll(again), e2e::readAll(csv));
    }

    void setCommand_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stderrHas");
        QTest::addColumn<int>("changedAt"); // of the changed channel's 16-byte slot, or the option features
        const QStringList ch1{"--family", "10M", "--band", "A", "--channel", "1"};
        QTest::newRow("out of range")
            << ch1 + QStringList{"--rx", "31"} << 2 << "Frequency is out of range." << 0;
        QTest::newRow("tone text") << ch1 + QStringList{"--tsq", "66.6"} << 2
                                   << "\"66.6\" is not offered for --tsq" << 0;
        QTest::newRow("tip not usable")
            << ch1 + QStringList{"--roger", "9"} << 2 << "not offered for --roger" << 0;
        QTest::newRow("shift in EU") << QStringList{"--family",  "EU", "--band", "EU",
                                                    "--channel", "1",  "--rep",  "+"}
                                     << 2 << "The repeater shift is not used in this range family." << 0;
        QTest::newRow("busy while public") << ch1 + QStringList{"--public", "ON", "--busy", "ON"} << 2
                                           << "cannot be chosen while Public is ON" << 0;
        QTest::newRow("band name") << QStringList{"--family",  "HF", "--band", "UK",
                                                  "--channel", "1",  "--busy", "ON"}
                                   << 1 << "--band of HF must be one of A, B" << 0;
        QTest::newRow("option name") << QStringList{"--option", "Volume=3"} << 2
                                     << "Unknown option feature \"Volume\"." << 0;
        QTest::newRow("option value")
            << QStringList{"--option", "MonSetting=33"} << 2 << "\"33\" is not offered for MonSetting" << 0;
        QTest::newRow("battery not a number")
            << QStringList{"--option", "BatteryMin=abc"} << 2
            << "\"abc\" is not a number: BatteryMin takes 9.0 to 17.0." << 0;
        QTest::newRow("offset not a number")
            << QStringList{"--option", "REPOffsetKHz=nan"} << 2 << "REPOffsetKHz takes 0 to 1000." << 0;
        QTest::newRow("option and channel")
            << ch1 + QStringList{"--option", "ASQ=ON"} << 1 << "one change" << 0;
        QTest::newRow("nothing changed")
            << ch1 + QStringList{"--rx", "28.0150"} << 0 << "Nothing changed." << 0;
        QTest::newRow("tone") << ch1 + QStringList{"--tsq", "D754N"} << 0 << "" << 0x0000;
        QTest::newRow("frequency snapped") << ch1 + QStringList{"--rx", "28.0176"} << 0 << "" << 0x0000;
        QTest::newRow("shift") << QStringList{"--family", "HF", "--band", "C", "--channel", "1", "--rep", "-"}
                               << 0 << "" << 0x1900;
        QTest::newRow("option") << QStringList{"--option", "batterymin=18"} << 0 << "" << 0x3F00;
    }
    void setCommand()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, stderrHas);
        QFETCH(int, changedAt);
        const QString before = m_dir.filePath(QStringLiteral("before.bin"));
        QCOMPARE(e2e::runMx806({"encode", m_good, "-o", before}).exitCode, 0);
        const QByteArray digestBefore = digest(m_good);
        const QString out = m_dir.filePath(QStringLiteral("set.dat"));
        QFile::remove(out);
        const e2e::Result r = e2e::runMx806(QStringList{"set", m_good, "-o", out} + args);
        QCOMPARE(r.exitCode, status);
        QVERIFY2(r.err.contains(stderrHas.toUtf8()), r.err.constData());
        QCOMPARE(digest(m_good), digestBefore);
        QCOMPARE(QFile::exists(out), status == 0 && stderrHas.isEmpty()); // saved only when changed
        if (!QFile::exists(out)) return;

        // Only the bytes of the changed channel's slot (or of the option features) differ.
        const QString after = m_dir.filePath(QStringLiteral("after.bin"));
        QCOMPARE(e2e::runMx806({"encode", out, "-o", after}).exitCode, 0);
        const QByteArray x = e2e::readAll(before), y = e2e::readAll(after);
        const int lo = changedAt, hi = lo + (lo == 0x3F00 ? 0x60 : 16);
        int changed = 0;
        for (int k = 0; k < x.size(); ++k) {
            if (x[k] == y[k]) continue;
            ++changed;
            QVERIFY2(k >= lo && k < hi, qPrintable(QString::number(k, 16)));
        }
        QVERIFY(changed > 0);
    }

    // The listing names every field: one channel with each field away from its
    // default, a band, an option, a TV channel and a tone step.
    void showJson()
    {
        RadioImage image;
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        RadioDataRecord& rec = image.work;
        rec.optFeat.bandValid(1, 2) = 0;
        image.addChannel(33, 1, 2, QStringLiteral("28.3"));
        ChannelRecord& ch = image.workChannels.at(1, image.findSlot(33, 1, 2), 2);
        ch.toneCode = 40;
        ch.repeaterShift = 2;
        ch.rogerBeep = 3;
        ch.publicFlag = 0;
        ch.busy = ch.hiCut = 1;
        rec.optFeat[Opt::MonSetting] = 17;
        rec.tvChannels[3] = TVChannelRecord{1, 160.00625, 1, 0};
        rec.toneTips[2].length(14) = 25;
        const e2e::Result r = e2e::runMx806({"show", "--json", save(image, QStringLiteral("json"))});
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonObject root = QJsonDocument::fromJson(r.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonObject band = root["families"]["HF"]["bands"]["B"].toObject();
        QCOMPARE(band["enabled"].toString(), "OFF");
        const QJsonObject c = band["channels"]["33"].toObject();
        QCOMPARE(c["slot"].toString(), "2"); // after the band's default channel
        const QStringList fields{"rx", "tsq", "rep", "roger", "public", "busy", "hiCut"};
        QStringList values;
        for (const QString& field : fields)
            values << c[field].toString();
        QCOMPARE(values, (QStringList{"28.30000", "D025N", "-", "3", "OFF", "ON", "ON"}));
        QVERIFY(root["families"]["EU"]["bands"].toObject().contains("UK")); // each family's band names
        QCOMPARE(root["options"]["MonSetting"].toString(), "17");
        QCOMPARE(root["tvChannels"]["4"]["frequency"].toString(), "160.00625");
        QCOMPARE(root["toneTips"]["3"]["steps"]["14"]["lengthMs"].toString(), "250");
    }

    void diff_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines"); // of the output, in any order
        QTest::newRow("equal") << Edit([](RadioImage&) {}) << 0 << QStringList{};
        // The channel moved from number 39 to 40: gone in one, new in the other.
        QTest::newRow("tone squelch") << Edit([](RadioImage& im) {
            im.workChannels.at(0, 1, 1).toneCode = 2;
            im.workChannels.at(0, 1, 1).chNo = 40;
            im.work.optFeat.workChannel(0, 1) = 40;
        }) << 7
                                      << QStringList{"10M band A channel 39 TSQ: 67.0 -> (none)",
                                                     "10M band A channel 40 TSQ: (none) -> 71.9",
                                                     "10M band A work channel: 39 -> 40"};
        QTest::newRow("option") << Edit([](RadioImage& im) { im.work.optFeat[Opt::BacklightColor] = 7; }) << 7
                                << QStringList{"BacklightColor: Green -> Loop"};
        QTest::newRow("transmit frequency is not sent") << Edit([](RadioImage& im) {
            im.workChannels.at(1, 1, 1).txFreq.set(QByteArrayView("25700000"));
        }) << 0 << QStringList{};
        QTest::newRow("tone tip") << Edit([](RadioImage& im) {
            im.work.toneTips[2].length(14) = 0;
            im.work.toneTips[2].tone(14) = 0;
        }) << 7
                                  << QStringList{"tone tip 3 step 14 tone (Hz): 400 -> 0",
                                                 "tone tip 3 step 14 length (ms): 250 -> 0"};
    }
    void diff()
    {
        QFETCH(Edit, edit);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        RadioImage a;
        randomImage(a, 11);
        a.work.count(0, 1) = 1; // channel 39 is the band's only one
        a.work.optFeat[Opt::BacklightColor] = 0;
        a.workChannels.at(0, 1, 1).toneCode = 1;
        a.workChannels.at(0, 1, 1).chNo = 39;
        a.work.optFeat.workChannel(0, 1) = 39;
        a.work.toneTips[2].length(14) = 25;
        a.work.toneTips[2].tone(14) = 40;
        const QString first = save(a, QStringLiteral("diffa"));
        RadioImage b;
        copyImage(a, b);
        edit(b);
        const QString second = save(b, QStringLiteral("diffb"));
        const e2e::Result r = e2e::runMx806({"diff", first, second});
        QCOMPARE(r.exitCode, status);
        const QStringList out = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
        for (const QString& line : lines)
            QVERIFY2(out.contains(line), qPrintable(r.out));
        // A channel gone or new has each of its fields listed: 8 for each, and the work channel.
        QCOMPARE(out.size(), QByteArray(QTest::currentDataTag()) == "tone squelch" ? 17 : lines.size());
    }
};

QTEST_GUILESS_MAIN(TstDataTools)
#include "tst_datatools.moc"
