#include "link/Verify.h"

#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "link/MemoryCodec.h"
#include "link/MemoryMap.h"

namespace mx {

namespace {

template <class F> QString fieldAt(const std::vector<F>& fields, int at)
{
    for (const F& f : fields)
        if (f.at == at) return f.name;
    return {};
}

} // namespace

QString describeAddress(int address, const RadioImage* image)
{
    using namespace memmap;
    if (address < 0 || address >= RadioMemorySize) return QStringLiteral("outside the memory");
    if (address < FamilyCount * FamilyStride) {
        const int m = address / FamilyStride;
        const int slot = (address % FamilyStride) / ChannelSlotSize;
        const int offset = address % ChannelSlotSize;
        const int b = slot / SlotCount + 1;
        const int i = slot % SlotCount + 1;
        QString what =
            offset < RxFreqBytes ? QStringLiteral("receive frequency") : fieldAt(channelFields(), offset);
        if (what.isEmpty()) what = QStringLiteral("unused byte %1").arg(offset);
        const bool listed = image && i <= image->work.count(m, b);
        return QStringLiteral("%1 band %2 channel %3 %4")
            .arg(imagetext::familyName(m), freq::bandName(b, m))
            .arg(listed ? image->workChannels.at(m, i, b).chNo : i)
            .arg(what);
    }
    if (address >= TVSlotBase && address < TVSlotBase + TVChannelCount * TVSlotSize) {
        const int j = (address - TVSlotBase) / TVSlotSize + 1;
        const int offset = (address - TVSlotBase) % TVSlotSize;
        QString what = offset < TVFreqBytes ? QStringLiteral("frequency") : fieldAt(tvFields(), offset);
        if (what.isEmpty()) what = QStringLiteral("unused byte %1").arg(offset);
        return QStringLiteral("TV channel %1 %2").arg(j).arg(what);
    }
    if (address >= TVBitmapBase && address < TVBitmapBase + TVChannelCount / 8)
        return QStringLiteral("TV channels in use");
    for (int m = 0; m < FamilyCount; ++m)
        if (hasChannelBitmap(m) && address >= ChannelBitmapBase[m] &&
            address < ChannelBitmapBase[m] + 5 * BandCount)
            return QStringLiteral("%1 band %2 channels in use")
                .arg(imagetext::familyName(m), freq::bandName((address - ChannelBitmapBase[m]) / 5 + 1, m));
    if (const QString option = fieldAt(optionFields(), address); !option.isEmpty()) return option;
    for (int t = 1; t <= ToneTipCount; ++t) {
        const int at = toneTipAddress(t);
        if (address >= at && address < at + ToneTipSize) {
            const QString what = fieldAt(toneTipFields(), address - at);
            return QStringLiteral("tone tip %1 %2")
                .arg(t)
                .arg(what.isEmpty() ? QStringLiteral("byte") : what);
        }
    }
    return QStringLiteral("unused byte");
}

VerifyResult compareWritten(const QByteArray& written, const QByteArray& readBack, const RadioImage* image)
{
    const int end = qMin<qsizetype>(WriteEndAddress + 1, qMin(written.size(), readBack.size()));
    for (int a = 0; a < end; ++a)
        if (written[a] != readBack[a]) return {false, a, describeAddress(a, image)};
    if (written.size() < WriteEndAddress + 1 || readBack.size() < WriteEndAddress + 1)
        return {false, end, describeAddress(end, image)};
    return {};
}

QString verifyPlace(const VerifyResult& result)
{
    return QStringLiteral("0x%1 (%2)").arg(result.address, 4, 16, QLatin1Char('0')).arg(result.field);
}

QString verifyFailedText(const VerifyResult& result)
{
    return QStringLiteral("Verify failed at ") + verifyPlace(result) + QLatin1Char('.');
}

} // namespace mx
