#include "data/RadioData.h"

#include <QSignalSpy>
#include <QTest>

using namespace mx;

namespace {

// Fills band (m, b) with channels of the given numbers, frequencies 28.005, 28.010, ...
void fillBand(RadioImage& image, int m, int b, const QList<int>& numbers)
{
    image.work.count(m, b) = 0;
    int k = 1;
    for (int n : numbers)
        image.addChannel(n, m, b, QStringLiteral("28.%1").arg(5 * k++, 3, 10, QLatin1Char('0')));
}

QList<int> numbersOf(const RadioImage& image, int m, int b)
{
    QList<int> out;
    for (int i = 1; i <= image.work.count(m, b); ++i)
        out.append(image.workChannels.at(m, i, b).chNo);
    return out;
}

} // namespace

class TestRadioData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addChannel_data()
    {
        QTest::addColumn<int>("count"); // channels in the band before
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("three decimals, padded") << 2 << "28.015" << QByteArray("28015   ");
        QTest::newRow("too long, cut") << 2 << "28.01500012" << QByteArray("28015000");
        QTest::newRow("not numeric: lower limit") << 2 << "x" << QByteArray("28      ");
        QTest::newRow("full band: refused") << 40 << "28.015" << QByteArray();
    }
    void addChannel()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        RadioImage image;
        image.work.count(1, 3) = qint16(count);
        image.workChannels.at(1, 3, 3).toneCode = 17; // left over from an earlier channel
        const ChannelArray before = image.workChannels;
        image.addChannel(45, 1, 3, text);
        if (stored.isEmpty()) {
            QCOMPARE(int(image.work.count(1, 3)), 40);
            QVERIFY(image.workChannels.records == before.records);
            return;
        }
        QCOMPARE(int(image.work.count(1, 3)), 3);
        const ChannelRecord& ch = image.workChannels.at(1, 3, 3);
        QCOMPARE(ch.rxFreq.raw(), stored);
        QCOMPARE(ch.txFreq.raw(), stored);
        const QList<int> words = {ch.chNo,     ch.inUse,      ch.word1,    ch.word2, ch.word3,
                                  ch.word4,    ch.publicFlag, ch.busy,     ch.hiCut, ch.repeaterShift,
                                  ch.toneCode, ch.word10,     ch.rogerBeep};
        QCOMPARE(words, (QList<int>{45, 1, 7, 7, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
    }

    void deleteChannel_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QList<int>>("left");
        QTest::newRow("middle") << 3 << QList<int>{1, 2, 4, 5};
        QTest::newRow("last") << 5 << QList<int>{1, 2, 3, 4};
        QTest::newRow("slot 0 ignored") << 0 << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("slot above count ignored") << 6 << QList<int>{1, 2, 3, 4, 5};
    }
    void deleteChannel()
    {
        QFETCH(int, slot);
        RadioImage image;
        fillBand(image, 0, 4, {1, 2, 3, 4, 5});
        const ChannelRecord fourth = image.workChannels.at(0, 4, 4);
        image.deleteChannel(slot, 0, 4);
        QTEST(numbersOf(image, 0, 4), "left");
        if (slot == 3) QVERIFY(image.workChannels.at(0, 3, 4) == fourth); // the whole record moved down
    }

    void findAndCount_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("sameClass");
        QTest::addColumn<int>("others");
        // band 1: 1, 40, 41, 50 (and a stale 99 above the count); band 2 (enabled): 40, 45; band 3
        // (disabled): 2, 3
        QTest::newRow("regular number present") << 1 << 1 << 2 << 2;
        QTest::newRow("regular number 40") << 40 << 2 << 2 << 2;
        QTest::newRow("regular number absent") << 5 << 0 << 2 << 3;
        QTest::newRow("second class") << 41 << 3 << 2 << 3;
        QTest::newRow("stale number above the count") << 99 << 0 << 2 << 3;
    }
    void findAndCount()
    {
        QFETCH(int, n);
        RadioImage image;
        for (int b = 1; b <= 8; ++b)
            image.work.optFeat.bandValid(0, b) = b == 3 ? 0 : 1;
        fillBand(image, 0, 1, {1, 40, 41, 50});
        image.workChannels.at(0, 5, 1).chNo = 99;
        fillBand(image, 0, 2, {40, 45});
        fillBand(image, 0, 3, {2, 3});
        fillBand(image, 1, 1, {4, 5, 6}); // another family never counts
        QCOMPARE(image.countRegular(0, 1), 2);
        QTEST(image.findSlot(n, 0, 1), "slot");
        QTEST(image.countSameClass(0, 1, n), "sameClass");
        QTEST(image.countOthers(0, 1, n), "others");
    }

    void fixWorkChannel_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("work");
        QTest::addColumn<int>("fixed");
        QTest::newRow("exists, stays") << QList<int>{3, 5} << 5 << 5;
        QTest::newRow("regular gone: first regular") << QList<int>{45, 9, 3} << 2 << 9;
        QTest::newRow("second class gone: first of that class") << QList<int>{3, 44, 43} << 50 << 44;
        QTest::newRow("no channel of the class") << QList<int>{41, 42} << 7 << 0;
        QTest::newRow("zero becomes first regular") << QList<int>{4} << 0 << 4;
        QTest::newRow("empty band") << QList<int>{} << 1 << 0;
    }
    void fixWorkChannel()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(int, work);
        RadioImage image;
        fillBand(image, 2, 5, numbers);
        image.work.optFeat.workChannel(2, 5) = qint16(work);
        QSignalSpy spy(&image, &RadioImage::workChannelFixed);
        image.fixWorkChannel(2, 5);
        QTEST(int(image.work.optFeat.workChannel(2, 5)), "fixed");
        QCOMPARE(spy, (QList<QVariantList>{{2, 5}}));
    }

    void roundTripKeepsWorkingCopy()
    {
        RadioImage image;
        image.setRangeFamily(1);
        image.work.rangeMode = 1;
        fillBand(image, 1, 6, {3, 1, 44});
        image.work.optFeat[Opt::BeepTone] = 1;
        image.work.tvChannels[4].frequency = 201.25;
        image.work.toneTips[7].interTime() = 12;
        image.work.tag.set(QByteArrayView("V999"));
        image.copyWorkToStaging();
        QCOMPARE(image.staging.model.modelId.raw(), QByteArray("MX806\0 ", 7));
        QCOMPARE(image.staging.model.modelCode.raw(), QByteArray("MX806\0", 6));
        QCOMPARE(int(image.staging.model.modelNumber), 248);
        QCOMPARE(int(image.staging.model.savedRange), 1);
        QCOMPARE(image.staging.tag.raw(), QByteArray("V100"));
        QVERIFY(image.staging == image.work);
        const RadioDataRecord before = image.work;
        const ChannelArray channelsBefore = image.workChannels;
        QSignalSpy caption(&image, &RadioImage::captionChanged);
        image.copyStagingToWork();
        QVERIFY(image.work == before);
        QVERIFY(image.workChannels.records == channelsBefore.records);
        QCOMPARE(image.rangeText, QStringLiteral("25.6150 - 30.1050 MHz"));
        QCOMPARE(caption.count(), 1);
    }

    void copyStagingToWorkFollowsRecord_data()
    {
        QTest::addColumn<QByteArray>("modelId");
        QTest::addColumn<int>("rangeMode");
        QTest::addColumn<QString>("modelCode");
        QTest::addColumn<double>("rangeLow");
        QTest::newRow("NUL and space") << QByteArray("MX806\0 ", 7) << 2 << "MX806" << 26.33;
        QTest::newRow("spaces only") << QByteArray("AB12   ") << 0 << "AB12" << 28.0;
        QTest::newRow("unknown family") << QByteArray("MX806\0\0", 7) << 7 << "MX806" << 28.0;
    }
    void copyStagingToWorkFollowsRecord()
    {
        QFETCH(QByteArray, modelId);
        QFETCH(int, rangeMode);
        RadioImage image;
        image.staging.model.modelId.set(QByteArrayView(modelId));
        image.staging.rangeMode = qint16(rangeMode);
        image.staging.tag.set(QByteArrayView("V101"));
        image.staging.count(0, 1) = 1;
        image.stagingChannels.at(0, 1, 1).chNo = 9;
        image.copyStagingToWork();
        QTEST(image.modelCode, "modelCode");
        QCOMPARE(image.work.model.modelId.raw(), modelId); // the field keeps its content
        QFETCH(double, rangeLow);
        QCOMPARE(image.rangeLow, rangeLow);
        QCOMPARE(image.rangeText, rangeLow == 28.0 ? "28.0000 - 29.7000 MHz" : "26.3300 - 27.99125 MHz");
        QCOMPARE(image.versionTag, QStringLiteral("V101"));
        QCOMPARE(int(image.workChannels.at(0, 1, 1).chNo), 9);
    }

    void countsOutsideTheArrayAreHarmless()
    {
        RadioImage image;
        image.work.count(0, 1) = 500;
        image.work.count(0, 2) = -3;
        image.copyWorkToStaging();
        image.copyStagingToWork();
        QCOMPARE(image.findSlot(12345, 0, 1), 0);
        QCOMPARE(image.countRegular(0, 2), 0);
        image.deleteChannel(1, 0, 2);
        QCOMPARE(int(image.work.count(0, 2)), -3);
    }
};

QTEST_GUILESS_MAIN(TestRadioData)
#include "tst_radiodata.moc"
