#include "data/Defaults.h"

#include <QDir>

#include "data/DataFile.h"
#include "data/RadioData.h"

#include <QFile>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace mx::defaults {

namespace {

const char* const DefaultFrequencies[BandCount] = {"28.015000", "28.145000", "28.115000", "28.085000",
                                                   "28.055000", "28.025000", "28.015000", "28.145000"};

using Step = std::pair<qint16, qint16>;

void setTip(ToneTipRecord& tip, std::initializer_list<Step> steps, qint16 recycle, qint16 inter)
{
    tip = ToneTipRecord{};
    int k = 1;
    for (const Step& s : steps) {
        tip.tone(k) = s.first;
        tip.length(k) = s.second;
        ++k;
    }
    tip.recycleTimes() = recycle;
    tip.interTime() = inter;
}

void applyOptionDefaults(OptFeatRecord& o)
{
    o.words.fill(0);
    o[Opt::RadioOption] = 7;
    for (int m = 0; m < FamilyCount; ++m) {
        o.workBand(m) = 1;
        for (int b = 1; b <= BandCount; ++b) {
            o.bandValid(m, b) = 1;
            o.workChannel(m, b) = 1;
        }
    }
    o[Opt::CurrentTVChannel] = 1;
    o[Opt::SWRProtect] = 1;
    o[Opt::ShowVSWRLaunch] = 1;
    o[Opt::MonSetting] = 1;
    o[Opt::TVSqlLevel] = 5;
    o[Opt::BatteryMin] = 97;
    o[Opt::BatteryMax] = 168;
    o[Opt::SWRMax] = 160;
    o[Opt::REPOffsetKHz] = 100;
}

void applyToneTipDefaults(std::array<ToneTipRecord, ToneTipCount>& tips)
{
    setTip(tips[0], {{210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}, {0, 10}, {210, 10}}, 1, 0);
    // clang-format off
    setTip(tips[1], {{80, 4}, {0, 4}, {80, 4}, {0, 4}, {80, 4}, {0, 4}, {80, 4}, {0, 4},
                     {80, 4}, {0, 4}, {80, 4}, {0, 4}, {80, 4}, {0, 4}}, 1, 0);
    // clang-format on
    setTip(tips[2], {{170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}, {90, 3}, {170, 3}}, 1, 0);
    setTip(tips[3], {{64, 6}, {94, 6}, {134, 6}, {163, 6}, {192, 6}}, 1, 0);
    setTip(tips[4], {{150, 20}, {70, 20}, {150, 20}, {70, 20}, {150, 20}, {70, 20}}, 1, 0);
    for (int k = 5; k < ToneTipCount; ++k)
        setTip(tips[k], {}, 0, 0);
}

} // namespace

QString defaultFrequency(int band)
{
    if (band < 1 || band > BandCount) band = 1;
    return QString::fromLatin1(DefaultFrequencies[band - 1]);
}

void applyBuiltIn(RadioImage& image, const QDate& today)
{
    // 1. document state (the radio link resets its own session state)
    image.isNewDocument = true;
    image.currentFileName = QStringLiteral("new.dat");

    // 2. tag, current band and channel
    RadioDataRecord& w = image.work;
    w.tag.set(QByteArrayView("V100"));
    w.currentBand.fill(1);
    w.currentChannel.fill(1);

    // 3. one channel in every band of every family
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b)
            w.count(m, b) = 0;
        for (int b = 1; b <= BandCount; ++b)
            image.addChannel(1, m, b, defaultFrequency(b));
    }

    // 4. TV channels
    for (TVChannelRecord& tv : w.tvChannels)
        tv = TVChannelRecord{0, 155.0, 0, 1};
    w.tvChannels[0].inUse = 1;

    // 5. option features
    applyOptionDefaults(w.optFeat);

    // 6. model block
    const QByteArray code = image.modelCode.toLatin1() + QByteArray(1, '\0');
    w.model.defaultRange = qint16(image.rangeFamily());
    w.model.modelCode.set(QByteArrayView(code));
    w.model.modelLetter = 67;
    w.model.creationDate.set(today.toString(QStringLiteral("yyyyMMdd")));
    w.model.dataVersion.set(QByteArrayView("V1.00"));

    // 7. tone tips
    applyToneTipDefaults(w.toneTips);

    Q_EMIT image.captionChanged();
}

QString templatePath(const QString& programDir, const RadioImage& image, bool newImage)
{
    const QString name = QString::number(image.rangeFamily()) + QLatin1Char('_') + image.modelCode.trimmed() +
                         (newImage ? QLatin1String("_New.dat") : QLatin1String(".dat"));
    return QDir::toNativeSeparators(QDir(programDir).filePath(QLatin1String("Init/") + name));
}

bool loadTemplate(RadioImage& image, const QString& path)
{
    auto keepImage = [&image]() {
        // The working image stays and counts as unchanged.
        image.copyWorkToStaging();
        return false;
    };

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return keepImage();
    const QByteArray bytes = file.read(datafile::DataFileSize);
    file.close();
    if (bytes.size() != datafile::DataFileSize) return keepImage(); // a short template is as good as none
    RadioDataRecord record = datafile::decodeRecord(bytes);
    if (!std::all_of(record.channelCount.begin(), record.channelCount.end(),
                     [](qint16 n) { return n >= 0 && n <= SlotCount; }))
        return keepImage();

    const QString channelPath = datafile::channelFileName(path);
    bool channelsRead = false;
    const QByteArray channelBytes =
        channelPath.isEmpty()
            ? QByteArray()
            : datafile::readHead(channelPath,
                                 qint64(datafile::usedChannelRecords(record)) * datafile::ChannelRecordSize,
                                 &channelsRead);
    if (!channelsRead) return keepImage();

    ChannelArray channels;
    datafile::decodeChannels(channelBytes, record, channels);

    image.staging = record;
    image.stagingChannels = channels;
    image.copyStagingToWork();
    return true;
}

void initAll(RadioImage& image, const QString& programDir, const QDate& today)
{
    applyBuiltIn(image, today);
    loadTemplate(image, templatePath(programDir, image, true));
    image.copyWorkToStaging();
}

} // namespace mx::defaults
