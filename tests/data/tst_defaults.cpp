#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/TestPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace mx;
using mx::test::TestPrompter;

namespace {

const QDate Today(2016, 12, 5);

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

// Writes a template pair at path: an image unlike the built-in defaults.
std::unique_ptr<RadioImage> makeTemplate(const QString& path, const char* tag = "V100")
{
    auto image = std::make_unique<RadioImage>();
    defaults::applyBuiltIn(*image, QDate(2001, 2, 3));
    image->work.count(0, 3) = 0;
    image->addChannel(12, 0, 3, QStringLiteral("29.5"));
    image->addChannel(44, 0, 3, QStringLiteral("29.6"));
    image->work.optFeat[Opt::BacklightColor] = 6;
    image->work.rangeMode = 0;
    image->copyWorkToStaging();
    image->staging.tag.set(QByteArrayView(tag));
    image->work.tag = image->staging.tag;
    writeFile(path, datafile::encodeRecord(image->staging));
    writeFile(datafile::channelFileName(path),
              datafile::encodeChannels(image->staging, image->stagingChannels));
    return image;
}

} // namespace

class TestDefaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void defaultFrequencies_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        const char* table[] = {"28.015000", "28.145000", "28.115000", "28.085000",
                               "28.055000", "28.025000", "28.015000", "28.145000"};
        for (int b = 1; b <= 8; ++b) {
            QByteArray stored = QByteArray(table[b - 1]);
            stored.remove(2, 1);
            QTest::addRow("band %d", b) << b << QString::fromLatin1(table[b - 1]) << stored;
        }
    }
    void defaultFrequencies()
    {
        QFETCH(int, band);
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        QCOMPARE(defaults::defaultFrequency(band), text);
        RadioImage image;
        image.setRangeFamily(2); // the table is the same in every family
        defaults::applyBuiltIn(image, Today);
        for (int m = 0; m < 3; ++m) {
            QCOMPARE(int(image.work.count(m, band)), 1);
            const ChannelRecord& ch = image.workChannels.at(m, 1, band);
            QCOMPARE(int(ch.chNo), 1);
            QCOMPARE(ch.rxFreq.raw(), stored);
            QCOMPARE(ch.txFreq.raw(), stored);
            QCOMPARE(int(ch.publicFlag), 1);
            QCOMPARE(int(ch.word1), 7);
        }
    }

    void builtInValues()
    {
        RadioImage image;
        image.currentFileName = QStringLiteral("/x/old.dat");
        image.isNewDocument = false;
        image.setRangeFamily(1);
        image.work.count(2, 2) = 17;
        image.work.toneTips[6].tone(3) = 99;
        defaults::applyBuiltIn(image, Today);
        const RadioDataRecord& w = image.work;
        QVERIFY(image.isNewDocument);
        QCOMPARE(image.currentFileName, QStringLiteral("new.dat"));
        QCOMPARE(w.tag.raw(), QByteArray("V100"));
        for (int m = 0; m < 3; ++m)
            QCOMPARE(int(w.currentBand[m]), 1);
        for (int k = 0; k < 24; ++k) {
            QCOMPARE(int(w.currentChannel[k]), 1);
            QCOMPARE(int(w.channelCount[k]), 1);
        }
        QCOMPARE(int(w.tvChannels[0].inUse), 1);
        for (int k = 1; k < 32; ++k)
            QVERIFY(w.tvChannels[k] == (TVChannelRecord{0, 155.0, 0, 1}));
        QCOMPARE(w.tvChannels[0].frequency, 155.0);

        const OptFeatRecord& o = w.optFeat;
        QCOMPARE(int(o[Opt::RadioOption]), 7);
        for (int m = 0; m < 3; ++m) {
            QCOMPARE(int(o.workBand(m)), 1);
            for (int b = 1; b <= 8; ++b) {
                QCOMPARE(int(o.bandValid(m, b)), 1);
                QCOMPARE(int(o.workChannel(m, b)), 1);
            }
        }
        const QList<int> tail = {
            o[Opt::CurrentTVChannel], o[Opt::ShowSQLLevel], o[Opt::ASQ],          o[Opt::SWRProtect],
            o[Opt::ShowVSWRLaunch],   o[Opt::MonSetting],   o[Opt::TVSqlLevel],   o[Opt::TimeOutTimer],
            o[Opt::RogerTone],        o[Opt::BatteryMin],   o[Opt::BatteryMax],   o[Opt::SWRMax],
            o[Opt::TSQCode],          o[Opt::REPOffsetKHz], o[Opt::REPDirection], o[Opt::BacklightLoopTime]};
        QCOMPARE(tail, (QList<int>{1, 0, 0, 1, 1, 1, 5, 0, 0, 97, 168, 160, 0, 100, 0, 0}));

        QCOMPARE(int(w.model.defaultRange), 1);
        QCOMPARE(w.model.modelCode.raw(), QByteArray("MX806\0", 6));
        QCOMPARE(int(w.model.modelLetter), 67);
        QCOMPARE(w.model.creationDate.raw(), QByteArray("20161205"));
        QCOMPARE(w.model.dataVersion.raw(), QByteArray("V1.00"));
    }

    void toneTips_data()
    {
        QTest::addColumn<int>("tip");
        QTest::addColumn<QList<int>>("words");
        auto steps = [](QList<int> pairs, int recycle) {
            pairs.resize(28, 0);
            return pairs << recycle << 0;
        };
        QTest::newRow("1") << 1 << steps({210, 10, 0, 10, 210, 10, 0, 10, 210, 10, 0, 10, 210, 10}, 1);
        QList<int> two;
        for (int k = 0; k < 7; ++k)
            two << 80 << 4 << 0 << 4;
        QTest::newRow("2") << 2 << steps(two, 1);
        QTest::newRow("3") << 3 << steps({170, 3, 90, 3, 170, 3, 90, 3, 170, 3, 90, 3, 170, 3}, 1);
        QTest::newRow("4") << 4 << steps({64, 6, 94, 6, 134, 6, 163, 6, 192, 6}, 1);
        QTest::newRow("5") << 5 << steps({150, 20, 70, 20, 150, 20, 70, 20, 150, 20, 70, 20}, 1);
        for (int t = 6; t <= 8; ++t)
            QTest::addRow("%d", t) << t << steps({}, 0);
    }
    void toneTips()
    {
        QFETCH(int, tip);
        QFETCH(QList<int>, words);
        RadioImage image;
        image.work.toneTips[tip - 1].words.fill(33);
        defaults::applyBuiltIn(image, Today);
        QList<int> got;
        for (qint16 v : image.work.toneTips[tip - 1].words)
            got << v;
        QCOMPARE(got, words);
    }

    void templatePath_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("modelCode");
        QTest::addColumn<bool>("newImage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("new, family 0") << 0 << "MX806" << true << "/opt/mx/V100/Init/0_MX806_New.dat";
        QTest::newRow("initialise, family 2") << 2 << "MX806" << false << "/opt/mx/V100/Init/2_MX806.dat";
        QTest::newRow("code trimmed") << 1 << " MX806 " << true << "/opt/mx/V100/Init/1_MX806_New.dat";
    }
    void templatePath()
    {
        QFETCH(int, family);
        QFETCH(QString, modelCode);
        QFETCH(bool, newImage);
        QFETCH(QString, expected);
        RadioImage image;
        image.setRangeFamily(family);
        image.modelCode = modelCode;
        QCOMPARE(defaults::templatePath(QStringLiteral("/opt/mx/V100"), image, newImage), expected);
        QCOMPARE(defaults::templatePath(QStringLiteral("/opt/mx/V100/"), image, newImage), expected);
    }

    void initAllWithoutTemplates()
    {
        RadioImage image;
        defaults::initAll(image, m_dir.filePath(QStringLiteral("nowhere")), Today);
        QVERIFY(!datafile::isModified(image));
        QVERIFY(image.staging == image.work);
        QVERIFY(image.isNewDocument);
        QCOMPARE(image.currentFileName, QStringLiteral("new.dat"));
        QCOMPARE(image.work.model.creationDate.raw(), QByteArray("20161205"));
        for (int k = 0; k < 24; ++k)
            QCOMPARE(int(image.work.channelCount[k]), 1);
    }

    void initAllUsesNewImageTemplate()
    {
        const QString programDir = m_dir.filePath(QStringLiteral("prog"));
        QVERIFY(QDir().mkpath(programDir + QStringLiteral("/Init")));
        const auto tpl = makeTemplate(programDir + QStringLiteral("/Init/0_MX806_New.dat"));

        RadioImage image;
        defaults::initAll(image, programDir, Today);
        QVERIFY(image.work == tpl->staging);
        QCOMPARE(int(image.work.count(0, 3)), 2);
        QCOMPARE(int(image.workChannels.at(0, 2, 3).chNo), 44);
        QCOMPARE(image.work.model.creationDate.raw(), QByteArray("20010203"));
        QVERIFY(!datafile::isModified(image));
        QVERIFY(image.isNewDocument);
        QCOMPARE(image.currentFileName, QStringLiteral("new.dat"));
    }

    void loadTemplateFollowsItsTag()
    {
        const QString file = m_dir.filePath(QStringLiteral("tag.dat"));
        const auto tpl = makeTemplate(file, "V105");
        RadioImage image;
        defaults::applyBuiltIn(image, Today);
        image.currentFileName = QStringLiteral("/kept.dat");
        image.isNewDocument = false;
        QVERIFY(defaults::loadTemplate(image, file));
        QCOMPARE(image.versionTag, QStringLiteral("V105"));
        QCOMPARE(image.work.optFeat[Opt::BacklightColor], qint16(6));
        QCOMPARE(image.currentFileName, QStringLiteral("/kept.dat"));
        QVERIFY(!image.isNewDocument);
    }

    void brokenTemplateLeavesImage_data()
    {
        QTest::addColumn<QString>("breakage");
        QTest::newRow("missing") << "missing";
        QTest::newRow("short") << "short";
        QTest::newRow("no channel file") << "noChannels";
        QTest::newRow("counts out of range") << "counts";
    }
    void brokenTemplateLeavesImage()
    {
        QFETCH(QString, breakage);
        const QString file = m_dir.filePath(QStringLiteral("broken.dat"));
        QFile::remove(file);
        QFile::remove(datafile::channelFileName(file));
        if (breakage != QLatin1String("missing")) {
            makeTemplate(file);
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            if (breakage == QLatin1String("short"))
                f.resize(1225);
            else if (breakage == QLatin1String("counts") && f.seek(60))
                f.write("\x29\x00", 2);
            f.close();
            if (breakage == QLatin1String("noChannels")) QFile::remove(datafile::channelFileName(file));
        }

        RadioImage image;
        defaults::initAll(image, m_dir.filePath(QStringLiteral("nowhere")), Today);
        image.addChannel(9, 1, 1, QStringLiteral("29.0")); // a change not yet saved
        const RadioDataRecord work = image.work;
        const ChannelArray channels = image.workChannels;
        QVERIFY(!defaults::loadTemplate(image, file));
        QVERIFY(image.work == work);
        QVERIFY(image.workChannels.records == channels.records);
        QVERIFY(!datafile::isModified(image)); // the kept image now counts as unchanged
        QCOMPARE(image.versionTag, QStringLiteral("V100"));
    }
};

QTEST_GUILESS_MAIN(TestDefaults)
#include "tst_defaults.moc"
