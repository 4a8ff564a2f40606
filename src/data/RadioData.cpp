#include "data/RadioData.h"

#include "data/FreqRules.h"
#include "texts/Texts.h"

namespace mx {

namespace {

bool validBand(int m, int b)
{
    return m >= 0 && m < FamilyCount && b >= 1 && b <= BandCount;
}

// Copies the used channels of every band; `counts` says how many.
void copyUsedChannels(const RadioDataRecord& counts, const ChannelArray& from, ChannelArray& to)
{
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int n = counts.usedSlots(m, b);
            for (int i = 1; i <= n; ++i)
                to.at(m, i, b) = from.at(m, i, b);
        }
    }
}

QByteArray withNul(const QString& code)
{
    return code.toLatin1() + QByteArray(1, '\0');
}

} // namespace

RadioImage::RadioImage(QObject* parent) : QObject(parent)
{
    work.tag.set(QByteArrayView("V100"));
    staging.tag = work.tag;
}

int RadioImage::rangeFamily() const
{
    return freq::familyOf(rangeText);
}

void RadioImage::copyFrom(const RadioImage& other)
{
    work = other.work;
    workChannels = other.workChannels;
    modelCode = other.modelCode;
    modelName = other.modelName;
    rangeText = other.rangeText;
    rangeLow = other.rangeLow;
    rangeHigh = other.rangeHigh;
    versionTag = other.versionTag;
}

void RadioImage::setRangeFamily(int family)
{
    rangeText = freq::rangeTextFor(family);
    const freq::Range r = freq::parseRange(rangeText);
    rangeLow = r.low;
    rangeHigh = r.high;
}

void RadioImage::addChannel(int chNo, int m, int b, const QString& frequencyText)
{
    if (!validBand(m, b)) return;
    const int slot = work.usedSlots(m, b) + 1;
    if (slot > SlotCount) return; // a band holds at most 40 channels
    work.count(m, b) = qint16(slot);
    ChannelRecord& ch = workChannels.at(m, slot, b);
    ch = ChannelRecord{};
    ch.chNo = qint16(chNo);
    ch.inUse = 1;
    const QString stored = freq::storedFromText(frequencyText, rangeLow);
    ch.rxFreq.set(stored);
    ch.txFreq.set(stored);
    ch.word1 = 7;
    ch.word2 = 7;
    ch.publicFlag = 1;
}

void RadioImage::deleteChannel(int i, int m, int b)
{
    if (!validBand(m, b)) return;
    const int count = work.usedSlots(m, b);
    if (i < 1 || i > count) return;
    for (int k = i; k < count; ++k)
        workChannels.at(m, k, b) = workChannels.at(m, k + 1, b);
    work.count(m, b) = qint16(count - 1);
}

int RadioImage::findSlot(int chNo, int m, int b) const
{
    if (!validBand(m, b)) return 0;
    const int count = work.usedSlots(m, b);
    for (int i = 1; i <= count; ++i) {
        if (workChannels.at(m, i, b).chNo == chNo) return i;
    }
    return 0;
}

int RadioImage::countRegular(int m, int b) const
{
    if (!validBand(m, b)) return 0;
    const int count = work.usedSlots(m, b);
    int n = 0;
    for (int i = 1; i <= count; ++i) {
        if (workChannels.at(m, i, b).chNo <= 40) ++n;
    }
    return n;
}

int RadioImage::countSameClass(int m, int b, int n) const
{
    if (!validBand(m, b)) return 0;
    if (n <= 40) return countRegular(m, b);
    const int count = work.usedSlots(m, b);
    int k = 0;
    for (int i = 1; i <= count; ++i) {
        if (workChannels.at(m, i, b).chNo > 40) ++k;
    }
    return k;
}

int RadioImage::countOthers(int m, int b, int n) const
{
    if (m < 0 || m >= FamilyCount) return 0;
    int total = 0;
    for (int band = 1; band <= BandCount; ++band) {
        if (work.optFeat.bandValid(m, band) != 1) continue;
        const int count = work.usedSlots(m, band);
        for (int i = 1; i <= count; ++i) {
            const qint16 chNo = workChannels.at(m, i, band).chNo;
            if (chNo > 40) continue;
            if (band == b && chNo == n) continue;
            ++total;
        }
    }
    return total;
}

void RadioImage::fixWorkChannel(int m, int b)
{
    if (!validBand(m, b)) return;
    qint16& wc = work.optFeat.workChannel(m, b);
    const int old = wc;
    if (!(findSlot(old, m, b) > 0 && countSameClass(m, b, old) >= 1)) {
        const bool regular = old <= 40;
        const int count = work.usedSlots(m, b);
        int chosen = 0;
        for (int i = 1; i <= count; ++i) {
            const qint16 chNo = workChannels.at(m, i, b).chNo;
            if ((chNo <= 40) == regular) {
                chosen = chNo;
                break;
            }
        }
        wc = qint16(chosen);
    }
    Q_EMIT workChannelFixed(m, b);
}

void RadioImage::copyWorkToStaging()
{
    work.model.modelId.set(QByteArrayView(withNul(modelCode)));
    work.model.modelNumber = 248;
    work.model.savedRange = qint16(rangeFamily());
    work.model.modelCode.set(QByteArrayView(withNul(modelCode)));
    work.tag.set(QByteArrayView("V100"));
    staging = work;
    copyUsedChannels(work, workChannels, stagingChannels);
}

void RadioImage::copyStagingToWork()
{
    work = staging;
    versionTag = work.tag.text();
    modelCode = work.model.modelId.text();
    modelName = modelDisplayName(modelCode);
    setRangeFamily(work.rangeMode);
    Q_EMIT captionChanged();
    copyUsedChannels(work, stagingChannels, workChannels);
}

} // namespace mx
