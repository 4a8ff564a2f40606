#include "data/ChannelRules.h"
#include "data/Defaults.h"
#include "data/RadioData.h"
#include "data/TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace mx;
using namespace mx::channelrules;
using mx::test::TestPrompter;

namespace {

// The built-in image (channel 1 in every band, every band on), then band (m, b)
// as a row asks: alone (the family's other bands empty), othersOff (they are
// switched off), three (channels 3, 1, 5, work channel 5), full (40 slots
// numbered 2..41).
void prepare(RadioImage& image, const QString& setup, int m, int b)
{
    defaults::applyBuiltIn(image, QDate(2026, 12, 7));
    for (int k = 1; k <= BandCount; ++k) {
        if (k != b && setup == "alone") image.work.count(m, k) = 0;
        if (k != b && setup == "othersOff") image.work.optFeat.bandValid(m, k) = 0;
    }
    QList<int> numbers{3, 1, 5};
    if (setup == "full")
        for (numbers = {}; numbers.size() < SlotCount;)
            numbers.append(numbers.size() + 2);
    if (setup == "three" || setup == "full") {
        image.work.count(m, b) = 0;
        for (int n : numbers)
            image.addChannel(n, m, b, QStringLiteral("28.%1").arg(100 + n * 10));
        image.work.optFeat.workChannel(m, b) = qint16(numbers.last());
    }
}

QString storedRx(const RadioImage& image, int m, int b, int n)
{
    const int slot = image.findSlot(n, m, b);
    return slot > 0 ? image.workChannels.at(m, slot, b).rxFreq.text() : QStringLiteral("-");
}

} // namespace

class TestChannelRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setChannelFrequency_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QList<int>>("where"); // family, band, channel number, column
        QTest::addColumn<QString>("text");
        QTest::addColumn<FrequencyResult>("result");
        QTest::addColumn<QString>("rx");       // channel's stored RxFreq afterwards, "-" for none
        QTest::addColumn<QList<int>>("after"); // BandValid, WorkBand, WorkChannel afterwards
        QTest::addColumn<QString>("message");
        using R = FrequencyResult;
        const QList<int> same{1, 1, 1}, b1{0, 1, 1, 1}, b2{0, 2, 1, 1};
        const QString none, out = "Frequency is out of range.";
        // clang-format off
        QTest::newRow("28.0173 snaps down") << "" << b2 << "28.0173" << R::Changed << "280150" << same << none;
        QTest::newRow("same frequency, fewer digits") << "" << b1 << "28.015" << R::Unchanged << "28015000" << same << none;
        QTest::newRow("0 keeps the channel") << "" << b1 << "0" << R::OutOfRange << "28015000" << same << out;
        QTest::newRow("lone point keeps the channel") << "" << b1 << "." << R::OutOfRange << "28015000" << same << out;
        QTest::newRow("out of range adds nothing") << "" << QList<int>{0, 1, 9, 1} << "27" << R::OutOfRange << "-" << same << out;
        QTest::newRow("cleared: bands switched off do not count") << "othersOff" << QList<int>{2, 5, 1, 1} << "" << R::LastChannelKept << "28055000" << same << none;
        QTest::newRow("cleared work channel: first slot's number") << "three" << QList<int>{0, 3, 5, 1} << "" << R::Deleted << "-" << QList<int>{1, 1, 3} << none;
        QTest::newRow("cleared other: work channel stays") << "three" << QList<int>{0, 3, 3, 1} << "" << R::Deleted << "-" << QList<int>{1, 1, 5} << none;
        QTest::newRow("free row left empty") << "" << QList<int>{0, 1, 9, 1} << "" << R::Unchanged << "-" << same << none;
        QTest::newRow("41st channel refused") << "full" << QList<int>{0, 6, 1, 1} << "28.1" << R::BandFull << "-" << QList<int>{1, 1, 41} << "A band holds at most 40 channels.";
        QTest::newRow("transmit column stores nothing") << "" << QList<int>{0, 1, 1, 2} << "28.5" << R::Unchanged << "28015000" << same << none;
        QTest::newRow("channel 41 is no row") << "full" << QList<int>{0, 6, 41, 1} << "28.1" << R::NoSuchChannel << "28510" << QList<int>{1, 1, 41} << none;
        QTest::newRow("channel 0 is no row") << "" << QList<int>{0, 1, 0, 1} << "28.1" << R::NoSuchChannel << "-" << same << none;
        // clang-format on
    }
    void setChannelFrequency()
    {
        QFETCH(QString, setup);
        QFETCH(QList<int>, where);
        QFETCH(QString, text);
        QFETCH(FrequencyResult, result);
        const int m = where[0], b = where[1], n = where[2];
        RadioImage image;
        prepare(image, setup, m, b);
        const int slot = image.findSlot(n, m, b);
        const ChannelRecord before = image.workChannels.at(m, qMax(slot, 1), b);
        TestPrompter prompter;
        Messenger messenger(prompter);
        QSignalSpy shown(&image, &RadioImage::channelChanged);

        QCOMPARE(channelrules::setChannelFrequency(image, m, b, n, where[3], text, &messenger), result);
        QTEST(storedRx(image, m, b, n), "rx");
        const OptFeatRecord& opt = image.work.optFeat;
        QTEST((QList<int>{opt.bandValid(m, b), opt.workBand(m), opt.workChannel(m, b)}), "after");
        QTEST(prompter.texts().value(0), "message");
        // The row is shown again whatever happened, unless there is no row.
        QCOMPARE(shown.size(), result == FrequencyResult::NoSuchChannel ? 0 : 1);
        const ChannelRecord& ch = image.workChannels.at(m, qMax(image.findSlot(n, m, b), 1), b);
        if (result == FrequencyResult::Changed)
            QCOMPARE(ch.txFreq, before.txFreq); // the transmit frequency is never edited
    }

    void lists()
    {
        RadioImage image;
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        const QStringList tones = toneSquelchList();
        QCOMPARE(tones.size(), ToneSquelchCount);
        QCOMPARE((QStringList{tones[0], tones[1], tones[38], tones[39], tones[142], toneSquelchText(143)}),
                 (QStringList{"OFF", "67.0", "250.3", "D023N", "D754N", ""}));
        QCOMPARE(onOffList(Chinese) + repeaterList(English), (QStringList{"关", "开", "OFF", "+", "-"}));
        image.work.toneTips[1].recycleTimes() = 0; // tip 2 no longer usable
        QCOMPARE(rogerList(image.work, English), (QStringList{"OFF", "1", "3", "4", "5"}));
        image.work.count(0, 1) = 0;
        for (int n : {12, 3, 41, 1})
            image.addChannel(n, 0, 1, "28.1");
        QCOMPARE(channelComboItems(image, 0, 1), (QStringList{"1", "3", "12", "41"}));
        // A field takes only what its list offers.
        QCOMPARE((QList<FieldResult>{setField(image, 1, 1, 1, Field::RogerBeep, 3),
                                     setField(image, 1, 1, 1, Field::RogerBeep, 2),
                                     setField(image, 2, 1, 1, Field::RepeaterShift, 1),
                                     setField(image, 0, 1, 1, Field::ToneCode, 143),
                                     setField(image, 0, 1, 1, Field::ToneCode, 142),
                                     setField(image, 0, 1, 2, Field::Busy, 1)}),
                 (QList<FieldResult>{FieldResult::Changed, FieldResult::Refused, FieldResult::Refused,
                                     FieldResult::Refused, FieldResult::Changed, FieldResult::Refused}));
        QCOMPARE(fieldValue(image.workChannels.at(1, 1, 1), Field::RogerBeep), 3);
    }
};

QTEST_GUILESS_MAIN(TestChannelRules)
#include "tst_channelrules.moc"
