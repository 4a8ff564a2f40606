#include "link/MemoryCodec.h"

#include "data/FreqRules.h"
#include "link/MemoryMap.h"

#include <QtMath>

#include <cmath>

namespace mx {

using namespace memmap;

namespace {

void ensureSize(QByteArray& memory)
{
    if (memory.size() < RadioMemorySize)
        memory.append(QByteArray(RadioMemorySize - memory.size(), char(0xFF)));
}

bool allDigits(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

// Writes the fields of one record into memory at base: every byte a field
// lives in is built from its fields alone (bits no field claims are 0).
template <class Rec> void putFields(const std::vector<Field<Rec>>& fields, const Rec& rec, char* base)
{
    for (const auto& f : fields)
        base[f.at] = 0;
    for (const auto& f : fields) {
        const int raw = rawOf(f.conv, f.value(rec), f.valueShift, f.width);
        base[f.at] = char(quint8(base[f.at]) | (raw << f.shift));
    }
}

// Reads the fields of one record back; returns the parts of a tone code, if any.
template <class Rec> ToneParts getFields(const std::vector<Field<Rec>>& fields, Rec& rec, const char* base)
{
    ToneParts tone;
    for (const auto& f : fields) {
        if (!f.readBack) continue;
        const int raw = (quint8(base[f.at]) >> f.shift) & ((1 << f.width) - 1);
        switch (f.conv) {
        case Conv::Plain:
        case Conv::OnlyOne:
            if (f.valueShift == 0)
                f.target(rec) = qint16(raw <= f.maxValue ? raw : 0); // a value the image cannot hold reads 0
            else
                f.target(rec) = qint16(f.target(rec) | (raw << f.valueShift));
            break;
        case Conv::MinusOne:
            f.target(rec) = qint16(raw == 0xFF ? 0 : raw + 1);
            break;
        case Conv::ToneKind:
            tone.kind = raw;
            break;
        case Conv::CtcssIndex:
            tone.ctcss = raw;
            break;
        case Conv::DcsIndex:
            tone.dcs = raw;
            break;
        case Conv::Zero:
            break;
        }
    }
    return tone;
}

template <class Rec>
QString firstMisfit(const std::vector<Field<Rec>>& fields, const Rec& rec, const QString& prefix)
{
    for (const auto& f : fields) {
        if (!f.ref) continue;
        const int v = f.value(rec);
        if (!fits(f.conv, v, f.maxValue)) return QStringLiteral("%1%2 (%3)").arg(prefix, f.name).arg(v);
    }
    return {};
}

// The receive frequency as 8 characters: "" for no frequency, else the stored
// digits padded with "0" (a stored 280150 is 28.015 MHz).
QString rxFreqText(const ChannelRecord& ch)
{
    const QString text = ch.rxFreq.text();
    if (text.isEmpty() || text == QLatin1String("FFFFFFFF")) return {};
    return text.leftJustified(8, u'0', true);
}

// A TV frequency in units of 10 Hz, or -1 when it does not fit 8 digits.
qint64 tvUnits(double mhz)
{
    if (!std::isfinite(mhz)) return -1;
    const double units = std::round(mhz * 100000.0);
    if (units < 0 || units > 99999999.0) return -1;
    return qint64(units);
}

QString channelPrefix(int m, int b, int i)
{
    return QStringLiteral("range %1, band %2, slot %3, ").arg(m).arg(b).arg(i);
}

} // namespace

void fillRadioMemory(QByteArray& memory)
{
    memory.fill(char(0xFF), RadioMemorySize);
    for (int a = ZeroAreaBegin; a <= ZeroAreaEnd; ++a)
        memory[a] = 0;
}

QString checkImageFits(const RadioImage& image)
{
    const RadioDataRecord& rec = image.work;

    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int count = rec.count(m, b);
            if (count < 0 || count > SlotCount)
                return QStringLiteral("range %1, band %2, ChannelCount (%3)").arg(m).arg(b).arg(count);
            for (int i = 1; i <= count; ++i) {
                const ChannelRecord& ch = image.workChannels.at(m, i, b);
                const QString freq = rxFreqText(ch);
                // A numeric text that is not plain digits would reach the radio as garbage.
                if (!freq.isEmpty() && !allDigits(freq) && freq::isNumeric(freq))
                    return channelPrefix(m, b, i) + QStringLiteral("RxFreq (%1)").arg(ch.rxFreq.text());
                const QString misfit = firstMisfit(channelFields(), ch, channelPrefix(m, b, i));
                if (!misfit.isEmpty()) return misfit;
            }
        }
    }

    for (int j = 1; j <= TVChannelCount; ++j) {
        const TVChannelRecord& tv = rec.tvChannels[j - 1];
        const QString prefix = QStringLiteral("TV channel %1, ").arg(j);
        if (tv.inUse != 1) continue; // any other value is a free entry
        if (tvUnits(tv.frequency) < 0) return prefix + QStringLiteral("Frequency (%1)").arg(tv.frequency);
        const QString misfit = firstMisfit(tvFields(), tv, prefix);
        if (!misfit.isEmpty()) return misfit;
    }

    const QString misfit = firstMisfit(optionFields(), rec, QString());
    if (!misfit.isEmpty()) return misfit;

    for (int t = 1; t <= ToneTipCount; ++t) {
        const QString tip =
            firstMisfit(toneTipFields(), rec.toneTips[t - 1], QStringLiteral("tone tip %1, ").arg(t));
        if (!tip.isEmpty()) return tip;
    }
    return {};
}

void encodeImage(const RadioImage& image, QByteArray& memory)
{
    ensureSize(memory);
    char* mem = memory.data();
    const RadioDataRecord& rec = image.work;

    // 1. Channels: the slot is the channel's position in its band.
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int count = rec.usedSlots(m, b);
            for (int i = 1; i <= count; ++i) {
                const ChannelRecord& ch = image.workChannels.at(m, i, b);
                char* slot = mem + channelSlotAddress(m, b, i);
                const QString freq = rxFreqText(ch);
                if (allDigits(freq)) {
                    // Each digit pair read as a hexadecimal number: BCD. The last pair is dropped.
                    slot[RxFreqOffset + 2] = char(freq.mid(0, 2).toInt(nullptr, 16));
                    slot[RxFreqOffset + 1] = char(freq.mid(2, 2).toInt(nullptr, 16));
                    slot[RxFreqOffset + 0] = char(freq.mid(4, 2).toInt(nullptr, 16));
                } else {
                    for (int k = 0; k < RxFreqBytes; ++k)
                        slot[RxFreqOffset + k] = char(0xFF);
                }
                putFields(channelFields(), ch, slot);
                if (hasChannelBitmap(m)) {
                    const int at = channelBitmapByte(m, b, i);
                    mem[at] = char(quint8(mem[at]) | (1 << channelBitmapBit(i)));
                }
            }
        }
    }

    // 2. TV channels in use.
    for (int j = 1; j <= TVChannelCount; ++j) {
        const TVChannelRecord& tv = rec.tvChannels[j - 1];
        if (tv.inUse != 1) continue;
        mem[tvBitmapByte(j)] = char(quint8(mem[tvBitmapByte(j)]) | (1 << tvBitmapBit(j)));
        char* slot = mem + tvSlotAddress(j);
        const qint64 units = tvUnits(tv.frequency);
        if (units >= 0) {
            const QString digits = QStringLiteral("%1").arg(units, 8, 10, QLatin1Char('0'));
            for (int k = 0; k < TVFreqBytes; ++k)
                slot[TVFreqOffset + 3 - k] = char(digits.mid(2 * k, 2).toInt(nullptr, 16));
        }
        putFields(tvFields(), tv, slot);
    }

    // 3. Option features, then the tail.
    putFields(optionFields(), rec, mem);
    for (int k = 0; k < TailLength; ++k)
        mem[TailAddress + k] = TailByte;

    // 4. Tone tips.
    for (int t = 1; t <= ToneTipCount; ++t)
        putFields(toneTipFields(), rec.toneTips[t - 1], mem + toneTipAddress(t));
}

void decodeImage(const QByteArray& memory, RadioImage& image)
{
    QByteArray copy = memory;
    ensureSize(copy);
    const char* mem = copy.constData();
    RadioDataRecord& rec = image.work;

    // 1. Option features, with the range family first so that its limits follow.
    getFields(optionFields(), rec, mem);
    image.setRangeFamily(rec.rangeMode);

    // 2. Channels, compacted into the positions of their band.
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            int count = 0;
            for (int i = 1; i <= SlotCount; ++i) {
                const bool candidate =
                    hasChannelBitmap(m) ? (quint8(mem[channelBitmapByte(m, b, i)]) >> channelBitmapBit(i)) & 1
                                        : isPlanSlot(b, i);
                if (!candidate) continue;
                ChannelRecord& ch = image.workChannels.at(m, count + 1, b);
                ch.chNo = qint16(i);
                ch.inUse = 1;
                const char* slot = mem + channelSlotAddress(m, b, i);
                const QString freq = hexByte(quint8(slot[RxFreqOffset + 2])) +
                                     hexByte(quint8(slot[RxFreqOffset + 1])) +
                                     hexByte(quint8(slot[RxFreqOffset + 0])) + QLatin1String("00");
                if (!allDigits(freq)) continue; // an empty slot (FFFFFF00) or not BCD: skipped
                ++count;
                ch.rxFreq.set(freq);
                const ToneParts tone = getFields(channelFields(), ch, slot);
                ch.toneCode = qint16(joinTone(tone.kind, tone.ctcss, tone.dcs));
            }
            rec.count(m, b) = qint16(count);
        }
    }

    // 3. TV channels.
    for (int j = 1; j <= TVChannelCount; ++j) {
        TVChannelRecord& tv = rec.tvChannels[j - 1];
        tv.inUse = qint16((quint8(mem[tvBitmapByte(j)]) >> tvBitmapBit(j)) & 1);
        if (tv.inUse != 1) continue;
        const char* slot = mem + tvSlotAddress(j);
        QString digits;
        for (int k = TVFreqBytes - 1; k >= 0; --k)
            digits += hexByte(quint8(slot[TVFreqOffset + k]));
        if (!allDigits(digits)) {
            tv.inUse = 0;
            continue;
        }
        tv.frequency = digits.toLongLong() / 100000.0;
        getFields(tvFields(), tv, slot);
    }

    // 4. Tone tips.
    for (int t = 1; t <= ToneTipCount; ++t)
        getFields(toneTipFields(), rec.toneTips[t - 1], mem + toneTipAddress(t));
}

} // namespace mx
