#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace mx;
using namespace mx::test;

namespace {

const QDate Today(2016, 12, 5);

// Writes a template pair at path: an image unlike the built-in defaults.
std::unique_ptr<RadioImage> makeTemplate(const QString& path, const char* tag = "V100")
{
    auto image = std::make_unique<RadioImage>();
    defaults::applyBuiltIn(*image, QDate(2001, 2, 3));
    image->work.count(0, 3) = 0;
    image->addChannel(12, 0, 3, QStringLiteral("29.5"));
    image->addChannel(44, 0, 3, QStringLiteral("29.6"));
    image->work.optFeat[Opt::BacklightColor] = 6;
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
    // No Init folder: one channel numbered 1 in every band of every family, at the band's default frequency.
    void initAllWithoutTemplates()
    {
        RadioImage image;
        image.currentFileName = QStringLiteral("/x/old.dat");
        image.isNewDocument = false;
        image.work.count(2, 2) = 17; // left over from an earlier image
        for (ToneTipRecord& tip : image.work.toneTips)
            tip.words.fill(33);
        defaults::initAll(image, m_dir.filePath(QStringLiteral("nowhere")), Today);
        QVERIFY(!datafile::isModified(image));
        QVERIFY(image.staging == image.work);
        QVERIFY(image.isNewDocument);
        QCOMPARE(image.currentFileName, QStringLiteral("new.dat"));
        QCOMPARE(image.work.tag.raw(), QByteArray("V100"));
        QCOMPARE(image.work.model.creationDate.raw(), QByteArray("20161205"));
        const QList<QByteArray> stored = {"28015000", "28145000", "28115000", "28085000",
                                          "28055000", "28025000", "28015000", "28145000"};
        for (int m = 0; m < 3; ++m) {
            for (int b = 1; b <= 8; ++b) {
                QCOMPARE(int(image.work.count(m, b)), 1);
                const ChannelRecord& ch = image.workChannels.at(m, 1, b);
                QCOMPARE(int(ch.chNo), 1);
                QCOMPARE(ch.rxFreq.raw(), stored[b - 1]);
                QCOMPARE(ch.txFreq.raw(), stored[b - 1]);
                QCOMPARE(int(ch.publicFlag), 1);
            }
        }
        // The built-in melodies replace what was there; tips 6 to 8 are empty.
        QCOMPARE(int(image.work.toneTips[0].tone(1)), 210);
        QCOMPARE(int(image.work.toneTips[4].recycleTimes()), 1);
        QVERIFY(image.work.toneTips[5] == ToneTipRecord{});
        QVERIFY(image.work.toneTips[7] == ToneTipRecord{});
    }

    void initAllUsesNewImageTemplate()
    {
        const QString programDir = m_dir.filePath(QStringLiteral("prog"));
        const auto tpl = makeTemplate(programDir + QStringLiteral("/Init/0_MX806_New.dat"));
        RadioImage image;
        defaults::initAll(image, programDir, Today);
        QVERIFY(image.work == tpl->staging);
        QCOMPARE(int(image.workChannels.at(0, 2, 3).chNo), 44);
        QCOMPARE(image.work.model.creationDate.raw(), QByteArray("20010203"));
        QVERIFY(!datafile::isModified(image));
        QVERIFY(image.isNewDocument);
        QCOMPARE(image.currentFileName, QStringLiteral("new.dat"));
    }

    void loadTemplateFollowsItsTag()
    {
        const QString file = m_dir.filePath(QStringLiteral("tag.dat"));
        makeTemplate(file, "V105");
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
            QByteArray bytes = readFile(file);
            if (breakage == QLatin1String("short")) bytes.chop(1);
            if (breakage == QLatin1String("counts")) bytes.replace(60, 2, le16(41));
            writeFile(file, bytes);
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
