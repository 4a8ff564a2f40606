#include "FakeRadio.h"

#include "data/RadioData.h"
#include "link/MemoryCodec.h"

#include <QTest>

#include <array>
#include <cmath>
#include <functional>

using namespace mx;

namespace {

int at(const QByteArray& memory, int address)
{
    return quint8(memory[address]);
}

QString hexAt(const QByteArray& memory, int address, int length)
{
    return QString::fromLatin1(memory.mid(address, length).toHex(' '));
}

int slotAddress(int m, int b, int i)
{
    return m * 0x1400 + ((b - 1) * 40 + (i - 1)) * 16;
}

// One channel in slot 1 of range 0, band 1.
ChannelRecord& oneChannel(RadioImage& image, QByteArrayView rx = "27005000")
{
    image.work.count(0, 1) = 1;
    ChannelRecord& ch = image.workChannels.at(0, 1, 1);
    ch = ChannelRecord{};
    ch.chNo = 1;
    ch.inUse = 1;
    ch.rxFreq.set(rx);
    return ch;
}

// A slot marked present in its bitmap (ranges 0 and 1) holding a frequency.
void markSlot(QByteArray& memory, int m, int b, int i, const char* bcd)
{
    if (m < 2) memory[(m == 0 ? 0x3D40 : 0x3D80) + (b - 1) * 5 + (i - 1) / 8] |= char(1 << ((i - 1) % 8));
    memory.replace(slotAddress(m, b, i), 3, QByteArray(bcd, 3));
}

using Mutation = std::function<void(RadioImage&)>;

} // namespace

Q_DECLARE_METATYPE(Mutation)

class TestCodec : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fill()
    {
        QByteArray memory("junk");
        fillRadioMemory(memory);
        QCOMPARE(memory.size(), RadioMemorySize);
        QCOMPARE(hexAt(memory, 0, 1) + hexAt(memory, 0x3FFF, 1), QStringLiteral("ffff"));
        QCOMPARE(hexAt(memory, 0x3CFF, 2), QStringLiteral("ff 00"));
        QCOMPARE(hexAt(memory, 0x3DFF, 2), QStringLiteral("00 ff"));
    }

    // One channel in slot 1: its 16 bytes, and what decoding them gives back. Transmit frequency and the
    // word fields never travel; the slot's other bytes and its present bit are written whatever the
    // frequency.
    void channelSlot_data()
    {
        QTest::addColumn<QByteArray>("rx");
        QTest::addColumn<QList<int>>("fields"); // tone code, public, busy, hi-cut, shift, roger beep
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<QString>("decoded"); // "" when the slot is skipped
        const QList<int> none{0, 0, 0, 0, 0, 0};
        const QString plain = " 00 00 00 ff 00 ff ff ff 00 00 ff ff ff", f = "50 00 27 ";
        // clang-format off
        QTest::newRow("27.00500") << QByteArray("27005000") << none << "50 00 27" + plain << "27005000";
        QTest::newRow("10 Hz digits dropped") << QByteArray("27991250") << none << "12 99 27" + plain << "27991200";
        QTest::newRow("short stored text padded") << QByteArray("280150") << none << "50 01 28" + plain << "28015000";
        QTest::newRow("cut at NUL") << QByteArray("2801\0" "99", 7) << none << "00 01 28" + plain << "28010000";
        QTest::newRow("no frequency") << QByteArray("FFFFFFFF") << none << "ff ff ff" + plain << "";
        QTest::newRow("not numeric") << QByteArray("ABCDEFGH") << none << "ff ff ff" + plain << "";
        QTest::newRow("public, busy, shift 2, no tone") << QByteArray("27005000") << QList<int>{0, 1, 1, 0, 2, 0}
                                                         << f + "00 00 00 ff 00 ff ff ff 89 00 ff ff ff" << "27005000";
        QTest::newRow("last CTCSS (38)") << QByteArray("27005000") << QList<int>{38, 0, 0, 0, 0, 0}
                                          << f + "00 00 25 ff 00 ff ff ff 10 00 ff ff ff" << "27005000";
        QTest::newRow("first DCS (39)") << QByteArray("27005000") << QList<int>{39, 0, 0, 0, 0, 0}
                                         << f + "00 00 00 ff 00 ff ff ff 20 00 ff ff ff" << "27005000";
        QTest::newRow("hi-cut, shift 3, roger beep 8") << QByteArray("27005000") << QList<int>{0, 0, 0, 1, 3, 8}
                                                        << f + "00 00 00 ff 00 ff ff ff 0e 08 ff ff ff" << "27005000";
        QTest::newRow("everything") << QByteArray("27005000") << QList<int>{40, 1, 1, 1, 1, 255}
                                     << f + "00 00 00 ff 01 ff ff ff a7 ff ff ff ff" << "27005000";
        // clang-format on
    }
    void channelSlot()
    {
        QFETCH(QByteArray, rx);
        QFETCH(QList<int>, fields);
        QFETCH(QString, decoded);
        auto values = [](ChannelRecord& c) {
            return std::array{&c.toneCode, &c.publicFlag, &c.busy, &c.hiCut, &c.repeaterShift, &c.rogerBeep};
        };
        RadioImage image;
        ChannelRecord& ch = oneChannel(image, rx);
        for (int k = 0; k < 6; ++k)
            *values(ch)[k] = qint16(fields[k]);
        ch.txFreq.set(QByteArrayView("99999999"));
        ch.word1 = 7;
        ch.word10 = 5;
        const QByteArray memory = imageMemory(image);
        QTEST(hexAt(memory, 0, 16), "bytes");
        QCOMPARE(at(memory, 0x3D40) & 1, 1);

        RadioImage back;
        back.work.count(0, 1) = 7;
        decodeImage(memory, back);
        QCOMPARE(back.work.count(0, 1), qint16(decoded.isEmpty() ? 0 : 1));
        if (decoded.isEmpty()) return;
        ChannelRecord& r = back.workChannels.at(0, 1, 1);
        QCOMPARE(r.rxFreq.text(), decoded);
        for (int k = 0; k < 6; ++k)
            QCOMPARE(int(*values(r)[k]), fields[k]);
        QCOMPARE(r.txFreq, ChannelRecord().txFreq);
        QCOMPARE(int(r.word1) + int(r.word10), 0);
    }

    void gapCompacted()
    {
        QByteArray memory = filledMemory();
        markSlot(memory, 0, 2, 1, "\x00\x10\x28");
        markSlot(memory, 0, 2, 2, "\x00\x20\x28");
        markSlot(memory, 0, 2, 4, "\x00\x40\x28");
        markSlot(memory, 0, 2, 5, "\xFF\xFF\xFF"); // marked present but empty: skipped
        RadioImage image;
        for (int k = 0; k < FamilyCount * BandCount; ++k)
            image.work.count(k / BandCount, k % BandCount + 1) = 9; // whatever the counts were before
        decodeImage(memory, image);
        QCOMPARE(image.work.count(0, 2), qint16(3));
        QCOMPARE(image.work.count(0, 1), qint16(0));
        QCOMPARE(image.work.count(1, 2), qint16(0));
        // Range 2 has no bitmap: its slots read FF and are skipped.
        QCOMPARE(image.work.count(2, 2), qint16(0));
        QCOMPARE(image.workChannels.at(0, 3, 2).chNo, qint16(4));
        QCOMPARE(image.workChannels.at(0, 3, 2).rxFreq.text(), QStringLiteral("28400000"));

        const QByteArray again = imageMemory(image);
        QCOMPARE(hexAt(again, slotAddress(0, 2, 3), 3), QStringLiteral("00 40 28"));
        QCOMPARE(at(again, slotAddress(0, 2, 4)), 0xFF);
        QCOMPARE(at(again, 0x3D40 + 5), 0x07);
    }

    void options_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("expected"); // masked byte
        // Where every option field sits in radio memory, by hand.
        auto row = [](const char* tag, int word, int value, int address, int mask, int expected) {
            QTest::newRow(tag) << word << value << address << mask << expected;
        };
        row("RadioOption", Opt::RadioOption, 0x5A, 0x3D01, 0xFF, 0x5A);
        row("CurrentTVChannel", Opt::CurrentTVChannel, 31, 0x3D08, 0xFF, 31);
        const char* const bits[] = {"ShowSQLLevel", "ShowVOLLevel", "ShowMICLevel", "ExtensionBand",
                                    "TVSignalHold", "BeepTone",     "ASQ"};
        for (int bit = 0; bit < 7; ++bit)
            row(bits[bit], Opt::ShowSQLLevel + bit, 1, 0x3F00, 0xFF, 1 << bit);
        row("SWRProtect 1", Opt::SWRProtect, 1, 0x3F00, 0xFF, 0x80);
        row("SWRProtect 0", Opt::SWRProtect, 0, 0x3F00, 0x80, 0x00);
        row("MonSetting", Opt::MonSetting, 32, 0x3F01, 0xFF, 32);
        row("TVSqlLevel", Opt::TVSqlLevel, 9, 0x3F02, 0xFF, 9);
        row("TimeOutTimer", Opt::TimeOutTimer, 20, 0x3F03, 0xFF, 20);
        row("ShowVSWRLaunch", Opt::ShowVSWRLaunch, 1, 0x3F04, 0xFF, 0x02);
        row("Busy", Opt::Busy, 1, 0x3F05, 0x01, 0x01);
        row("HiCut", Opt::HiCut, 1, 0x3F05, 0x02, 0x02);
        row("RogerTone", Opt::RogerTone, 8, 0x3F06, 0xFF, 8);
        row("BatteryMax", Opt::BatteryMax, 168, 0x3F08, 0xFF, 168);
        row("BatteryMin", Opt::BatteryMin, 97, 0x3F09, 0xFF, 97);
        row("SWRMax", Opt::SWRMax, 160, 0x3F0A, 0xFF, 160);
        row("REPOffsetKHz low", Opt::REPOffsetKHz, 1000, 0x3F14, 0xFF, 0xE8);
        row("REPOffsetKHz high", Opt::REPOffsetKHz, 1000, 0x3F15, 0xFF, 0x03);
        row("BacklightColor", Opt::BacklightColor, 7, 0x3F50, 0xFF, 7);
        row("BacklightBrightness", Opt::BacklightBrightness, 31, 0x3F51, 0xFF, 31);
        row("BacklightLoopTime", Opt::BacklightLoopTime, 6, 0x3F52, 0xFF, 6);
        // Per band: one bit per band of a family; the work channel stored minus 1, none as the erased byte.
        row("BandValid (1,3)", Opt::BandValid + bandIndex(1, 3), 1, 0x3D03, 0xFF, 0x04);
        row("BandValid (1,8)", Opt::BandValid + bandIndex(1, 8), 1, 0x3D03, 0xFF, 0x80);
        row("WorkChannel (0,1) 1", Opt::WorkChannel + bandIndex(0, 1), 1, 0x3D10, 0xFF, 0);
        row("WorkChannel (2,8) 40", Opt::WorkChannel + bandIndex(2, 8), 40, 0x3D37, 0xFF, 39);
        row("WorkChannel (1,2) none", Opt::WorkChannel + bandIndex(1, 2), 0, 0x3D21, 0xFF, 0xFF);
    }
    void options()
    {
        QFETCH(int, word);
        QFETCH(int, value);
        QFETCH(int, address);
        QFETCH(int, mask);
        RadioImage image;
        image.work.optFeat.words.fill(0);
        image.work.optFeat.words[word] = qint16(value);
        const QByteArray memory = imageMemory(image);
        QTEST(at(memory, address) & mask, "expected");

        RadioImage back;
        back.work.optFeat.words.fill(1);
        decodeImage(memory, back);
        QCOMPARE(int(back.work.optFeat.words[word]), value);
    }

    void notReadBack()
    {
        RadioImage image;
        image.work.optFeat[Opt::TSQCode] = 50; // DCS: kind 2 goes out
        image.work.optFeat[Opt::REPOffsetKHz] = 5;
        QByteArray memory = imageMemory(image);
        QCOMPARE(at(memory, 0x3F05) & 0x30, 0x20);
        memory[0x3F15] = char(0xFD); // only the low two bits count

        RadioImage back;
        OptFeatRecord& opt = back.work.optFeat;
        opt[Opt::TSQCode] = 12;
        opt[Opt::PublicMode] = 1;
        opt[Opt::REPDirection] = 2;
        opt.workBand(1) = 4;
        decodeImage(memory, back);
        QCOMPARE(
            QList<int>({opt[Opt::TSQCode], opt[Opt::PublicMode], opt[Opt::REPDirection], opt.workBand(1)}),
            QList<int>({12, 1, 2, 4}));
        QCOMPARE(opt[Opt::REPOffsetKHz], qint16(0x105));
    }

    void rangeMode_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("rangeText");
        QTest::newRow("0") << 0 << 0 << "28.0000 - 29.7000 MHz";
        QTest::newRow("erased reads as 0") << 0xFF << 0 << "28.0000 - 29.7000 MHz";
        QTest::newRow("2") << 2 << 2 << "26.3300 - 27.99125 MHz";
    }
    void rangeMode()
    {
        QFETCH(int, stored);
        QByteArray memory = filledMemory();
        memory[0x3D00] = char(stored);
        // Range 2 has no bitmap: every slot holding a frequency counts, up to its plan's 27 or 40.
        for (int i = 1; i <= 40; ++i) {
            markSlot(memory, 2, 6, i, "\x00\x50\x27");
            markSlot(memory, 2, 1, i, "\x00\x50\x27");
        }
        RadioImage image;
        image.setRangeFamily(1);
        decodeImage(memory, image);
        QTEST(int(image.work.rangeMode), "mode");
        QTEST(image.rangeText, "rangeText");
        QCOMPARE(image.work.count(2, 6), qint16(27));
        QCOMPARE(image.work.count(2, 1), qint16(40));
        QCOMPARE(image.workChannels.at(2, 27, 6).chNo, qint16(27));
    }

    void tvChannels()
    {
        RadioImage image;
        auto& tv = image.work.tvChannels;
        tv.fill(TVChannelRecord{});
        tv[0] = {1, 155.0, 1, 1};
        tv[9] = {1, 87.65432, 0, 1};
        tv[31] = {1, 0.5, 1, 0};
        tv[5] = {0, 100.0, 1, 1}; // free: not written
        QByteArray memory = imageMemory(image);
        QCOMPARE(hexAt(memory, 0x3C00, 8), QStringLiteral("00 00 50 15 03 ff ff ff"));
        QCOMPARE(hexAt(memory, 0x3C00 + 9 * 8, 5), QStringLiteral("32 54 76 08 02"));
        QCOMPARE(hexAt(memory, 0x3C00 + 31 * 8, 5), QStringLiteral("00 00 05 00 01"));
        QCOMPARE(memory.mid(0x3C00 + 5 * 8, 8), QByteArray(8, char(0xFF)));
        QCOMPARE(hexAt(memory, 0x3D09, 4), QStringLiteral("01 02 00 80"));

        memory[0x3C00 + 9 * 8] = char(0x3A); // not a BCD digit
        RadioImage back;
        back.work.tvChannels[5].inUse = 1;
        decodeImage(memory, back);
        QCOMPARE(back.work.tvChannels[0], tv[0]);
        QCOMPARE(back.work.tvChannels[9].inUse, qint16(0));
        QCOMPARE(back.work.tvChannels[31].inUse, qint16(1));
        QVERIFY(std::abs(back.work.tvChannels[31].frequency - 0.5) < 1e-9);
        QCOMPARE(back.work.tvChannels[5].inUse, qint16(0));
    }

    void toneTipsAndTail()
    {
        RadioImage image;
        for (int t = 0; t < ToneTipCount; ++t)
            for (int w = 0; w < 30; ++w)
                image.work.toneTips[t].words[w] = qint16((t * 30 + w) % 256);
        const QByteArray memory = imageMemory(image);
        // Tip 3 (words 60..89) starts the second 64-byte block: recycle times (word 28), inter time,
        // tones 1..14, then lengths; tip 2 (words 30..59) follows tip 1 at 30.
        QCOMPARE(hexAt(memory, 0x3E40, 3), QStringLiteral("58 59 3c"));
        QCOMPARE(hexAt(memory, 0x3E42 + 13, 2), QStringLiteral("56 3d")); // tone 14, length 1
        QCOMPARE(at(memory, 0x3E1E), 58);
        QCOMPARE(at(memory, 0x3E3C), 0xFF); // the gap after the second tip
        QCOMPARE(memory.mid(0x3FF8, 8), QByteArray(8, char(0x55)));

        RadioImage back;
        decodeImage(memory, back);
        QCOMPARE(back.work.toneTips, image.work.toneTips);
    }

    void fits_data()
    {
        QTest::addColumn<Mutation>("change");
        QTest::addColumn<QString>("field"); // "" when the image fits
#define ROW(tag, field, ...)                                                                                 \
    QTest::newRow(tag) << Mutation([](RadioImage& i) { __VA_ARGS__; }) << QStringLiteral(field)
        ROW("defaults", "", (void)i);
        ROW("tone 300", "tone tip 3, step 2 tone (300)", i.work.toneTips[2].tone(2) = 300);
        ROW("repeater shift 5", "range 0, band 1, slot 1, RepeaterShift (5)",
            i.workChannels.at(0, 1, 1).repeaterShift = 5);
        ROW("roger beep -1", "range 0, band 1, slot 1, RogerBeep (-1)",
            i.workChannels.at(0, 1, 1).rogerBeep = -1);
        ROW("tone code 295", "range 0, band 1, slot 1, ToneCode (295)",
            i.workChannels.at(0, 1, 1).toneCode = 295);
        ROW("tone code 294 fits", "", i.workChannels.at(0, 1, 1).toneCode = 294);
        ROW("frequency with a point", "range 0, band 1, slot 1, RxFreq (27.005)",
            i.workChannels.at(0, 1, 1).rxFreq.set(QByteArrayView("27.005")));
        ROW("frequency not numeric goes as empty", "",
            i.workChannels.at(0, 1, 1).rxFreq.set(QByteArrayView("ABC")));
        ROW("channel count 41", "range 1, band 2, ChannelCount (41)", i.work.count(1, 2) = 41);
        ROW("a slot beyond the count is not looked at", "", i.workChannels.at(0, 2, 1).rogerBeep = 999);
        ROW("work channel 0 fits", "", i.work.optFeat.workChannel(0, 2) = 0);
        ROW("work channel 256", "WorkChannel of range 0, band 2 (256)",
            i.work.optFeat.workChannel(0, 2) = 256);
        ROW("range mode 3", "RangeMode (3)", i.work.rangeMode = 3);
        ROW("band valid 2 is off", "", i.work.optFeat.bandValid(2, 8) = 2);
        ROW("REP offset 1024", "REPOffsetKHz (1024)", i.work.optFeat[Opt::REPOffsetKHz] = 1024);
        ROW("REP offset 1023 fits", "", i.work.optFeat[Opt::REPOffsetKHz] = 1023);
        ROW("TV frequency 1000 MHz", "TV channel 4, Frequency (1000)",
            i.work.tvChannels[3] = {1, 1000.0, 0, 1});
        ROW("TV frequency of a free entry", "", i.work.tvChannels[3] = {0, 1000.0, 0, 1});
        ROW("TV tbst 2", "TV channel 1, Tbst (2)", i.work.tvChannels[0] = {1, 155.0, 2, 1});
        ROW("TV in use 2 is free", "", i.work.tvChannels[1].inUse = 2);
#undef ROW
    }
    void fits()
    {
        QFETCH(Mutation, change);
        RadioImage image;
        image.work.optFeat.words.fill(0);
        oneChannel(image);
        change(image);
        QTEST(checkImageFits(image), "field");
    }
};

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
