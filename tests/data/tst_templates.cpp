// The Init templates generated at build time: they load like any data file
// and hold the built-in defaults (families 0 and 1) or the regional 27 MHz
// channel plans (family 2).

#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "shell/Messenger.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QtTest>

using namespace mx;

namespace {

// Fails the test on any message: a template must load silently.
class SilentPrompter : public Prompter
{
public:
    QStringList texts;
    Answer ask(const QString& text, Buttons, Icon) override
    {
        texts.append(text);
        return Answer::No;
    }
};

QString initDir()
{
    return QDir(qEnvironmentVariable("MX_BIN_DIR")).filePath(QStringLiteral("Init"));
}

QString templatePath(int family, bool newImage)
{
    return QDir(initDir()).filePath(QStringLiteral("%1_MX806%2.dat").arg(family).arg(newImage ? "_New" : ""));
}

qint64 storedHz(const ChannelRecord& ch)
{
    bool ok = false;
    const qint64 hz = ch.rxFreq.text().toLongLong(&ok);
    return ok && ch.rxFreq.text().size() == 8 ? hz : -1;
}

} // namespace

class TstTemplates : public QObject
{
    Q_OBJECT

    VersionTable m_versions;

    // Loads a template as a data file; fails when it does not load silently.
    bool load(RadioImage& image, const QString& path)
    {
        SilentPrompter prompter;
        Messenger messenger(prompter);
        const auto status = datafile::loadDataFile(image, path, m_versions, messenger);
        if (status != datafile::LoadStatus::Ok || !prompter.texts.isEmpty()) {
            qWarning() << path << int(status) << prompter.texts;
            return false;
        }
        return true;
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
        QTest::addColumn<bool>("newImage");
        for (int m = 0; m < FamilyCount; ++m) {
            QTest::addRow("%d new", m) << m << true;
            QTest::addRow("%d initialise", m) << m << false;
        }
    }
    void everyTemplateLoads()
    {
        QFETCH(int, family);
        QFETCH(bool, newImage);
        const QString path = templatePath(family, newImage);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.size(), qint64(datafile::DataFileSize));

        RadioImage image;
        QVERIFY(load(image, path));
        QVERIFY(!datafile::isModified(image));
        // Loading a template takes the range family from its record.
        QCOMPARE(int(image.work.rangeMode), family);
        QCOMPARE(image.rangeFamily(), family);
        QCOMPARE(int(image.work.model.savedRange), family);
        QCOMPARE(int(image.work.model.defaultRange), family);
        QCOMPARE(image.modelCode, QStringLiteral("MX806"));
        QCOMPARE(image.work.model.dataVersion.text(), QStringLiteral("V1.00"));
        QCOMPARE(image.work.model.modelLetter, qint16(67));
        // The creation date is the fixed one of the definitions, not the build day.
        QVERIFY(
            QDate::fromString(image.work.model.creationDate.text(), QStringLiteral("yyyyMMdd")).isValid());

        // The channel file holds exactly the records that the counts announce.
        int records = 0;
        for (int m = 0; m < FamilyCount; ++m)
            for (int b = 1; b <= BandCount; ++b)
                records += image.work.count(m, b);
        QFile fre(datafile::channelFileName(path));
        QVERIFY(fre.open(QIODevice::ReadOnly));
        QCOMPARE(fre.size(), qint64(records) * datafile::ChannelRecordSize);
    }

    void newAndInitialiseTemplatesAreEqual_data()
    {
        QTest::addColumn<int>("family");
        for (int m = 0; m < FamilyCount; ++m)
            QTest::addRow("%d", m) << m;
    }
    void newAndInitialiseTemplatesAreEqual()
    {
        QFETCH(int, family);
        for (const QString& ext : {QStringLiteral(".dat"), QStringLiteral(".fre")}) {
            QFile a(templatePath(family, true).replace(QStringLiteral(".dat"), ext));
            QFile b(templatePath(family, false).replace(QStringLiteral(".dat"), ext));
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QCOMPARE(a.readAll(), b.readAll());
        }
        // Every family's template carries the same creation date.
        RadioImage image, first;
        QVERIFY(load(image, templatePath(family, true)));
        QVERIFY(load(first, templatePath(0, true)));
        QCOMPARE(image.work.model.creationDate, first.work.model.creationDate);
    }

    // Families 0 and 1, and the families 0 and 1 of the family-2 template:
    // one channel per band at the built-in default frequency.
    void builtInFamiliesHoldDefaults_data()
    {
        QTest::addColumn<int>("templateFamily");
        QTest::addColumn<int>("family");
        QTest::newRow("template 0") << 0 << 0;
        QTest::newRow("template 1") << 1 << 1;
        QTest::newRow("template 2, family 0") << 2 << 0;
        QTest::newRow("template 2, family 1") << 2 << 1;
        QTest::newRow("template 0, family 2") << 0 << 2;
    }
    void builtInFamiliesHoldDefaults()
    {
        QFETCH(int, templateFamily);
        QFETCH(int, family);
        RadioImage image;
        QVERIFY(load(image, templatePath(templateFamily, true)));
        for (int b = 1; b <= BandCount; ++b) {
            QCOMPARE(int(image.work.count(family, b)), 1);
            const ChannelRecord& ch = image.workChannels.at(family, 1, b);
            QCOMPARE(int(ch.chNo), 1);
            QCOMPARE(ch.rxFreq.text(), freq::storedFromText(defaults::defaultFrequency(b), 28.0));
            QCOMPARE(int(image.work.optFeat.bandValid(family, b)), 1);
        }
        // Option features and tone tips are the built-in ones.
        QCOMPARE(int(image.work.optFeat[Opt::RadioOption]), 7);
        QCOMPARE(int(image.work.optFeat[Opt::TVSqlLevel]), 5);
        QCOMPARE(int(image.work.optFeat[Opt::BatteryMax]), 168);
        QCOMPARE(int(image.work.toneTips[0].tone(1)), 210);
        QCOMPARE(int(image.work.tvChannels[0].inUse), 1);
    }

    void regionalPlans_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("shown");
        QTest::newRow("EU 1") << 1 << "EU" << 40 << 1 << "26.96500";
        QTest::newRow("EU 22") << 1 << "EU" << 40 << 22 << "27.22500";
        QTest::newRow("EU 23") << 1 << "EU" << 40 << 23 << "27.25500";
        QTest::newRow("EU 24") << 1 << "EU" << 40 << 24 << "27.23500";
        QTest::newRow("EU 25") << 1 << "EU" << 40 << 25 << "27.24500";
        QTest::newRow("EU 40") << 1 << "EU" << 40 << 40 << "27.40500";
        QTest::newRow("UK 1") << 2 << "UK" << 40 << 1 << "27.60125";
        QTest::newRow("UK 40") << 2 << "UK" << 40 << 40 << "27.99125";
        QTest::newRow("PL 1") << 3 << "PL" << 40 << 1 << "26.96000";
        QTest::newRow("PL 23") << 3 << "PL" << 40 << 23 << "27.25000";
        QTest::newRow("PL 40") << 3 << "PL" << 40 << 40 << "27.40000";
        QTest::newRow("DE1 9") << 4 << "DE1" << 40 << 9 << "27.06500";
        QTest::newRow("DE2 1") << 5 << "DE2" << 40 << 1 << "26.56500";
        QTest::newRow("DE2 40") << 5 << "DE2" << 40 << 40 << "26.95500";
        QTest::newRow("IN 1") << 6 << "IN" << 27 << 1 << "26.96500";
        QTest::newRow("IN 27") << 6 << "IN" << 27 << 27 << "27.27500";
        QTest::newRow("US 19") << 7 << "US" << 40 << 19 << "27.18500";
        QTest::newRow("US 24") << 7 << "US" << 40 << 24 << "27.23500";
        QTest::newRow("NZ 1") << 8 << "NZ" << 40 << 1 << "26.33000";
        QTest::newRow("NZ 40") << 8 << "NZ" << 40 << 40 << "26.77000";
    }
    void regionalPlans()
    {
        QFETCH(int, band);
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(int, channel);
        QFETCH(QString, shown);
        RadioImage image;
        QVERIFY(load(image, templatePath(2, true)));
        QCOMPARE(freq::bandName(band, 2), name);
        QCOMPARE(int(image.work.count(2, band)), count);
        // Channel numbers 1..count, each once.
        QSet<int> numbers;
        for (int i = 1; i <= count; ++i)
            numbers.insert(image.workChannels.at(2, i, band).chNo);
        QCOMPARE(numbers.size(), count);
        QVERIFY(numbers.contains(1) && numbers.contains(count));
        const int slot = image.findSlot(channel, 2, band);
        QVERIFY(slot >= 1);
        const ChannelRecord& ch = image.workChannels.at(2, slot, band);
        QCOMPARE(freq::shownFrequency(ch.rxFreq.text(), 2, band, 26.33), shown);
        // The band opens enabled, on channel 1.
        QCOMPARE(int(image.work.optFeat.bandValid(2, band)), 1);
        QCOMPARE(int(image.work.optFeat.workChannel(2, band)), 1);
        QCOMPARE(int(image.work.currentChannel[bandIndex(2, band)]), 1);
    }

    void familyTwoFrequenciesInRangeAndOnGrid()
    {
        RadioImage image;
        QVERIFY(load(image, templatePath(2, true)));
        QCOMPARE(int(image.work.currentBand[2]), 1);
        QCOMPARE(int(image.work.optFeat.workBand(2)), 1);
        for (int b = 1; b <= BandCount; ++b) {
            for (int i = 1; i <= image.work.count(2, b); ++i) {
                const ChannelRecord& ch = image.workChannels.at(2, i, b);
                const qint64 hz = storedHz(ch);
                const QByteArray where = QStringLiteral("band %1 channel %2").arg(b).arg(ch.chNo).toLatin1();
                QVERIFY2(hz >= 26330000 && hz <= 27991250, where);
                QVERIFY2(hz % 5000 == 0, where);
                const double shown = freq::shownFrequency(ch.rxFreq.text(), 2, b, 26.33).toDouble();
                QVERIFY2(shown >= 26.33 && shown <= 27.99125 + 1e-9, where);
                // Field defaults of a newly added channel.
                QCOMPARE(ch.txFreq, ch.rxFreq);
                QCOMPARE(int(ch.inUse), 1);
                QCOMPARE(int(ch.word1), 7);
                QCOMPARE(int(ch.word2), 7);
                QCOMPARE(int(ch.publicFlag), 1);
                QCOMPARE(int(ch.busy) + ch.hiCut + ch.repeaterShift + ch.toneCode + ch.rogerBeep, 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TstTemplates)
#include "tst_templates.moc"
