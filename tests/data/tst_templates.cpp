// The Init templates generated at build time: they load like any data file
// and hold the built-in defaults (families 0 and 1) or the regional 27 MHz
// channel plans (family 2).

#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/FreqRules.h"
#include "data/TestSupport.h"

#include <QSet>
#include <QTest>

using namespace mx;
using namespace mx::test;

namespace {

QString templatePath(int family, bool newImage, const char* ext = ".dat")
{
    return QDir(qEnvironmentVariable("MX_BIN_DIR"))
        .filePath(QStringLiteral("Init/%1_MX806%2%3").arg(family).arg(newImage ? "_New" : "", ext));
}

} // namespace

class TstTemplates : public QObject
{
    Q_OBJECT

    VersionTable m_versions;

    // Loads a template as a data file; fails when it does not load silently.
    bool load(RadioImage& image, const QString& path)
    {
        TestPrompter prompter;
        Messenger messenger(prompter);
        const auto status = datafile::loadDataFile(image, path, m_versions, messenger);
        if (status == datafile::LoadStatus::Ok && prompter.shown.isEmpty()) return true;
        qWarning() << path << int(status) << prompter.texts();
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(templatePath(2, true)),
                 "templates missing: build the 'templates' target first");
        QVERIFY(m_versions.load(
            QDir(qEnvironmentVariable("MX_DIST_DIR")).filePath(QStringLiteral("Version.ini"))));
    }

    void everyTemplateLoads_data()
    {
        QTest::addColumn<int>("family");
        for (int m = 0; m < FamilyCount; ++m)
            QTest::addRow("%d", m) << m;
    }
    void everyTemplateLoads()
    {
        QFETCH(int, family);
        // The template for a new image and the one for initialising are the same.
        for (const char* ext : {".dat", ".fre"})
            QCOMPARE(readFile(templatePath(family, true, ext)), readFile(templatePath(family, false, ext)));
        QCOMPARE(readFile(templatePath(family, true)).size(), datafile::DataFileSize);

        RadioImage image, first;
        QVERIFY(load(image, templatePath(family, true)));
        QVERIFY(!datafile::isModified(image));
        // Loading a template takes the range family from its record.
        QCOMPARE(image.rangeFamily(), family);
        QCOMPARE(int(image.work.model.savedRange), family);
        QCOMPARE(int(image.work.model.defaultRange), family);
        QCOMPARE(image.modelCode, QStringLiteral("MX806"));
        QCOMPARE(image.work.model.dataVersion.text(), QStringLiteral("V1.00"));
        // Every family's template carries the same fixed creation date, not the build day.
        QVERIFY(load(first, templatePath(0, true)));
        QCOMPARE(image.work.model.creationDate, first.work.model.creationDate);
        QVERIFY(
            QDate::fromString(image.work.model.creationDate.text(), QStringLiteral("yyyyMMdd")).isValid());

        // The channel file holds exactly the records that the counts announce.
        int records = 0;
        for (qint16 n : image.work.channelCount)
            records += n;
        QCOMPARE(readFile(templatePath(family, true, ".fre")).size(), records * datafile::ChannelRecordSize);

        // Families other than the regional plans hold channel 1 of the default table in every band.
        const char* const defaults[] = {"28015000", "28145000", "28115000", "28085000",
                                        "28055000", "28025000", "28015000", "28145000"};
        for (int m = 0; m < (family == 2 ? 2 : 3); ++m) {
            for (int b = 1; b <= BandCount; ++b) {
                QCOMPARE(int(image.work.count(m, b)), 1);
                QCOMPARE(int(image.work.optFeat.bandValid(m, b)), 1);
                const ChannelRecord& ch = image.workChannels.at(m, 1, b);
                QCOMPARE((QList<int>{ch.chNo, ch.inUse, ch.publicFlag, ch.toneCode}),
                         (QList<int>{1, 1, 1, 0}));
                QCOMPARE(ch.rxFreq.text(), QLatin1String(defaults[b - 1]));
            }
        }
        // The tone tips and TV channels of a new image.
        const ToneTipRecord& tip1 = image.work.toneTips[0];
        QCOMPARE((QList<int>{tip1.recycleTimes(), tip1.tone(1), tip1.length(1), tip1.tone(7), tip1.tone(8)}),
                 (QList<int>{1, 210, 10, 210, 0}));
        QCOMPARE(int(image.work.toneTips[3].tone(5)), 192);
        QCOMPARE(int(image.work.toneTips[5].recycleTimes()), 0);
        QVERIFY(image.work.tvChannels[0] == (TVChannelRecord{1, 155.0, 0, 1}));
        QVERIFY(image.work.tvChannels[31] == (TVChannelRecord{0, 155.0, 0, 1}));
        QCOMPARE(int(image.work.optFeat[Opt::RadioOption]), 7);
        QCOMPARE(int(image.work.optFeat[Opt::BatteryMax]), 168);
    }

    void regionalPlans_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("shown");
        QTest::newRow("EU 1") << 1 << 1 << "26.96500";
        QTest::newRow("EU 24") << 1 << 24 << "27.23500";
        QTest::newRow("PL 23") << 3 << 23 << "27.25000";
        QTest::newRow("DE2 1") << 5 << 1 << "26.56500";
        QTest::newRow("IN 27") << 6 << 27 << "27.27500";
        QTest::newRow("NZ 40") << 8 << 40 << "26.77000";
    }
    void regionalPlans()
    {
        QFETCH(int, band);
        QFETCH(int, channel);
        RadioImage image;
        QVERIFY(load(image, templatePath(2, true)));
        const int slot = image.findSlot(channel, 2, band);
        QVERIFY(slot >= 1);
        QTEST(freq::shownFrequency(image.workChannels.at(2, slot, band).rxFreq.text(), 2, band, 26.33),
              "shown");
    }

    // Every regional plan: channels 1..40 (1..27 in India) each once, in range and on the grid, each band
    // enabled and opened on channel 1.
    void familyTwoFrequenciesInRangeAndOnGrid()
    {
        RadioImage image;
        QVERIFY(load(image, templatePath(2, true)));
        QCOMPARE(int(image.work.currentBand[2]), 1);
        QCOMPARE(int(image.work.optFeat.workBand(2)), 1);
        for (int b = 1; b <= BandCount; ++b) {
            const int count = b == 6 ? 27 : 40;
            QCOMPARE(int(image.work.count(2, b)), count);
            QSet<int> numbers;
            for (int i = 1; i <= count; ++i)
                numbers.insert(image.workChannels.at(2, i, b).chNo);
            QCOMPARE(numbers.size(), count);
            QVERIFY(numbers.contains(1) && numbers.contains(count));
            QCOMPARE(int(image.work.optFeat.bandValid(2, b)), 1);
            QCOMPARE(int(image.work.optFeat.workChannel(2, b)), 1);
            QCOMPARE(int(image.work.currentChannel[bandIndex(2, b)]), 1);
            for (int i = 1; i <= count; ++i) {
                const ChannelRecord& ch = image.workChannels.at(2, i, b);
                const QByteArray where = QStringLiteral("band %1 channel %2").arg(b).arg(ch.chNo).toLatin1();
                bool ok = false;
                const qint64 hz = ch.rxFreq.text().toLongLong(&ok);
                QVERIFY2(ok && ch.rxFreq.text().size() == 8, where);
                QVERIFY2(hz >= 26330000 && hz <= 27991250 && hz % 5000 == 0, where);
                QCOMPARE(ch.txFreq, ch.rxFreq);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TstTemplates)
#include "tst_templates.moc"
