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

const QString OutOfRange = QStringLiteral("Frequency is out of range.");
const QString BandFullText = QStringLiteral("A band holds at most 40 channels.");

// The built-in image (channel 1 in every band, every band on), then band
// (m, b) set up as a row asks:
//   alone: the family's other bands empty; othersOff: they are switched off;
//   three: channels 3, 1, 5 with work channel 5; full: 40 slots, channel 1 missing;
//   off: switched off; emptyOff: no channel and switched off.
void prepare(RadioImage& image, const QString& setup, int m, int b)
{
    defaults::applyBuiltIn(image, QDate(2026, 12, 7));
    auto fill = [&](const QList<int>& numbers) {
        image.work.count(m, b) = 0;
        for (int n : numbers)
            image.addChannel(n, m, b, QStringLiteral("28.%1").arg(100 + n * 10));
    };
    for (int k = 1; k <= BandCount; ++k) {
        if (k == b) continue;
        if (setup == "alone") image.work.count(m, k) = 0;
        if (setup == "othersOff") image.work.optFeat.bandValid(m, k) = 0;
    }
    if (setup == "three") {
        fill({3, 1, 5});
        image.work.optFeat.workChannel(m, b) = 5;
    } else if (setup == "full") {
        QList<int> numbers;
        for (int n = 2; n <= 41; ++n)
            numbers.append(n);
        fill(numbers);
    } else if (setup == "off") {
        image.work.optFeat.bandValid(m, b) = 0;
    } else if (setup == "emptyOff") {
        image.work.count(m, b) = 0;
        image.work.optFeat.bandValid(m, b) = 0;
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
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<FrequencyResult>("result");
        QTest::addColumn<QString>("rx");       // channel n's stored RxFreq afterwards, "-" for none
        QTest::addColumn<QList<int>>("after"); // BandValid, WorkBand, WorkChannel afterwards
        QTest::addColumn<QStringList>("messages");
        using R = FrequencyResult;
        const QList<int> same{1, 1, 1};
        const QStringList none;
        QTest::newRow("28.0173 snaps down")
            << "" << 0 << 2 << 1 << 1 << "28.0173" << R::Changed << "280150" << same << none;
        QTest::newRow("28.0176 snaps up")
            << "" << 0 << 2 << 1 << 1 << "28.0176" << R::Changed << "280200" << same << none;
        QTest::newRow("28.0175: half a step rounds down")
            << "" << 0 << 2 << 1 << 1 << "28.0175" << R::Changed << "280150" << same << none;
        QTest::newRow("UK 27.60125 stores 27.6000")
            << "" << 2 << 2 << 1 << 1 << "27.60125" << R::Changed << "276000" << same << none;
        QTest::newRow("same frequency, fewer digits")
            << "" << 0 << 1 << 1 << 1 << "28.015" << R::Unchanged << "28015000" << same << none;
        QTest::newRow("free row: new channel")
            << "" << 1 << 4 << 7 << 1 << "27.5" << R::Added << "275000" << same << none;
        QTest::newRow("30 keeps the channel") << "" << 0 << 1 << 1 << 1 << "30" << R::OutOfRange << "28015000"
                                              << same << QStringList{OutOfRange};
        QTest::newRow("typo 285 keeps the channel") << "" << 0 << 1 << 1 << 1 << "285" << R::OutOfRange
                                                    << "28015000" << same << QStringList{OutOfRange};
        QTest::newRow("0 keeps the channel") << "" << 0 << 1 << 1 << 1 << "0" << R::OutOfRange << "28015000"
                                             << same << QStringList{OutOfRange};
        QTest::newRow("lone point keeps the channel") << "" << 0 << 1 << 1 << 1 << "." << R::OutOfRange
                                                      << "28015000" << same << QStringList{OutOfRange};
        QTest::newRow("out of range on a free row adds nothing")
            << "" << 0 << 1 << 9 << 1 << "27" << R::OutOfRange << "-" << same << QStringList{OutOfRange};
        QTest::newRow("cleared: band off, another enabled band holds one")
            << "" << 0 << 1 << 1 << 1 << "" << R::BandSwitchedOff << "-" << QList<int>{0, 2, 0} << none;
        QTest::newRow("cleared: last channel of the family kept")
            << "alone" << 0 << 1 << 1 << 1 << "" << R::LastChannelKept << "28015000" << same << none;
        QTest::newRow("cleared: switched-off bands do not count")
            << "othersOff" << 2 << 5 << 1 << 1 << "" << R::LastChannelKept << "28055000" << same << none;
        QTest::newRow("cleared work channel: first slot's number")
            << "three" << 0 << 3 << 5 << 1 << "" << R::Deleted << "-" << QList<int>{1, 1, 3} << none;
        QTest::newRow("cleared other channel: work channel stays")
            << "three" << 0 << 3 << 3 << 1 << "" << R::Deleted << "-" << QList<int>{1, 1, 5} << none;
        QTest::newRow("free row left empty")
            << "" << 0 << 1 << 9 << 1 << "" << R::Unchanged << "-" << same << none;
        QTest::newRow("41st channel refused") << "full" << 0 << 6 << 1 << 1 << "28.1" << R::BandFull << "-"
                                              << QList<int>{1, 1, 2} << QStringList{BandFullText};
        QTest::newRow("transmit column stores nothing")
            << "" << 0 << 1 << 1 << 2 << "28.5" << R::Unchanged << "28015000" << same << none;
        QTest::newRow("channel 41 is no row") << "full" << 0 << 6 << 41 << 1 << "28.1" << R::NoSuchChannel
                                              << "28510" << QList<int>{1, 1, 2} << none;
        QTest::newRow("channel 0 is no row")
            << "" << 0 << 1 << 0 << 1 << "28.1" << R::NoSuchChannel << "-" << same << none;
    }
    void setChannelFrequency()
    {
        QFETCH(QString, setup);
        QFETCH(int, family);
        QFETCH(int, band);
        QFETCH(int, n);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(FrequencyResult, result);
        QFETCH(QString, rx);
        QFETCH(QList<int>, after);
        QFETCH(QStringList, messages);
        RadioImage image;
        prepare(image, setup, family, band);
        if (setup == "full") image.fixWorkChannel(family, band);
        const int slot = image.findSlot(n, family, band);
        const FixedString<8> txBefore =
            slot > 0 ? image.workChannels.at(family, slot, band).txFreq : FixedString<8>();
        TestPrompter prompter;
        Messenger messenger(prompter);
        QSignalSpy shown(&image, &RadioImage::channelChanged);

        QCOMPARE(channelrules::setChannelFrequency(image, family, band, n, column, text, &messenger), result);
        QCOMPARE(storedRx(image, family, band, n), rx);
        const OptFeatRecord& opt = image.work.optFeat;
        QCOMPARE(
            (QList<int>{opt.bandValid(family, band), opt.workBand(family), opt.workChannel(family, band)}),
            after);
        QCOMPARE(prompter.texts(), messages);
        // The row is shown again whatever happened, unless there is no row.
        QCOMPARE(shown.size(), result == FrequencyResult::NoSuchChannel ? 0 : 1);
        if (result == FrequencyResult::Added) {
            const ChannelRecord& ch = image.workChannels.at(family, image.findSlot(n, family, band), band);
            QCOMPARE(ch.txFreq, ch.rxFreq);
            QCOMPARE(
                (QList<int>{ch.publicFlag, ch.busy, ch.hiCut, ch.repeaterShift, ch.toneCode, ch.rogerBeep}),
                (QList<int>{1, 0, 0, 0, 0, 0}));
        } else if (result == FrequencyResult::Changed) { // the transmit frequency is never edited
            QCOMPARE(image.workChannels.at(family, slot, band).txFreq, txBefore);
        }
    }

    void setBandValid_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("band");
        QTest::addColumn<bool>("on");
        QTest::addColumn<BandSwitch>("result");
        QTest::addColumn<QList<int>>("after"); // BandValid, count, WorkBand, WorkChannel
        QTest::addColumn<QString>("rx");       // channel 1
        QTest::newRow("last enabled band stays on")
            << "othersOff" << 0 << 1 << false << BandSwitch::Refused << QList<int>{1, 1, 1, 1} << "28015000";
        QTest::newRow("switched off: work band moves on")
            << "" << 0 << 1 << false << BandSwitch::Switched << QList<int>{0, 1, 2, 1} << "28015000";
        QTest::newRow("already on") << "" << 1 << 4 << true << BandSwitch::Unchanged << QList<int>{1, 1, 1, 1}
                                    << "28085000";
        QTest::newRow("empty band on: default channel")
            << "emptyOff" << 2 << 3 << true << BandSwitch::SwitchedWithDefault << QList<int>{1, 1, 1, 1}
            << "28115000";
        QTest::newRow("band with channels on: nothing added")
            << "off" << 1 << 2 << true << BandSwitch::Switched << QList<int>{1, 1, 1, 1} << "28145000";
    }
    void setBandValid()
    {
        QFETCH(QString, setup);
        QFETCH(int, family);
        QFETCH(int, band);
        QFETCH(bool, on);
        QFETCH(BandSwitch, result);
        QFETCH(QList<int>, after);
        QFETCH(QString, rx);
        RadioImage image;
        prepare(image, setup, family, band);
        image.work.optFeat.workChannel(family, band) = 0;
        image.fixWorkChannel(family, band);
        QCOMPARE(channelrules::setBandValid(image, family, band, on), result);
        const OptFeatRecord& opt = image.work.optFeat;
        QCOMPARE((QList<int>{opt.bandValid(family, band), image.work.count(family, band),
                             opt.workBand(family), opt.workChannel(family, band)}),
                 after);
        QCOMPARE(storedRx(image, family, band, 1), rx);
    }

    void setField_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("n");
        QTest::addColumn<Field>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<FieldResult>("result");
        QTest::newRow("DCS D754N") << 0 << 1 << Field::ToneCode << 142 << FieldResult::Changed;
        QTest::newRow("tone 143 not offered") << 0 << 1 << Field::ToneCode << 143 << FieldResult::Refused;
        QTest::newRow("REP not offered in family 2")
            << 2 << 1 << Field::RepeaterShift << 1 << FieldResult::Refused;
        QTest::newRow("usable tip 3") << 1 << 1 << Field::RogerBeep << 3 << FieldResult::Changed;
        QTest::newRow("unusable tip 7") << 1 << 1 << Field::RogerBeep << 7 << FieldResult::Refused;
        QTest::newRow("Public already ON") << 0 << 1 << Field::Public << 1 << FieldResult::Unchanged;
        QTest::newRow("no such channel") << 0 << 2 << Field::Busy << 1 << FieldResult::Refused;
    }
    void setField()
    {
        QFETCH(int, family);
        QFETCH(int, n);
        QFETCH(Field, field);
        QFETCH(int, value);
        QFETCH(FieldResult, result);
        RadioImage image;
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        const ChannelRecord before = image.workChannels.at(family, 1, 1);
        QCOMPARE(channelrules::setField(image, family, 1, n, field, value), result);
        const ChannelRecord& ch = image.workChannels.at(family, 1, 1);
        QCOMPARE(int(fieldValue(ch, field)),
                 result == FieldResult::Changed ? value : int(fieldValue(before, field)));
    }

    void lists()
    {
        RadioImage image;
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        const QStringList tones = toneSquelchList();
        QCOMPARE(tones.size(), ToneSquelchCount);
        QCOMPARE((QStringList{tones[0], tones[1], tones[38], tones[39], tones[142], toneSquelchText(143)}),
                 (QStringList{"OFF", "67.0", "250.3", "D023N", "D754N", ""}));
        QCOMPARE(onOffList(Chinese), (QStringList{"关", "开"}));
        QCOMPARE(repeaterList(English), (QStringList{"OFF", "+", "-"}));
        image.work.toneTips[1].recycleTimes() = 0; // tip 2 no longer usable
        QCOMPARE(rogerList(image.work, English), (QStringList{"OFF", "1", "3", "4", "5"}));
        image.work.count(0, 1) = 0;
        for (int n : {12, 3, 41, 1})
            image.addChannel(n, 0, 1, "28.1");
        QCOMPARE(channelComboItems(image, 0, 1), (QStringList{"1", "3", "12", "41"}));
        QCOMPARE(channelComboItems(image, 0, 9), QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestChannelRules)
#include "tst_channelrules.moc"
