#pragma once

// The radio's memory map, declared once. The encoder, the decoder and the
// fit check all walk these tables; nothing else in the program knows where a
// value lives in the radio.

#include "data/RadioData.h"

#include <QString>

#include <vector>

namespace mx::memmap {

// ---- Regions -------------------------------------------------------------

// 960 channel slots of 16 bytes: range family m, band b, slot i.
constexpr int ChannelSlotSize = 16;
constexpr int FamilyStride = 0x1400;
constexpr int channelSlotAddress(int m, int b, int i)
{
    return m * FamilyStride + ((b - 1) * SlotCount + (i - 1)) * ChannelSlotSize;
}
// The receive frequency: 6 BCD digits in units of 100 Hz, least significant pair first.
constexpr int RxFreqOffset = 0;
constexpr int RxFreqBytes = 3;

// Present bitmap of the channel slots: families 0 and 1 only, 5 bytes per band.
constexpr int ChannelBitmapBase[FamilyCount] = {0x3D40, 0x3D80, -1};
constexpr bool hasChannelBitmap(int m)
{
    return ChannelBitmapBase[m] >= 0;
}
constexpr int channelBitmapByte(int m, int b, int i)
{
    return ChannelBitmapBase[m] + (b - 1) * 5 + (i - 1) / 8;
}
constexpr int channelBitmapBit(int i)
{
    return (i - 1) % 8;
}
// Family 2 has no bitmap: every slot counts as a channel, except slots 28-40 of
// band 6 ("IN"), which that plan does not have.
constexpr bool isPlanSlot(int b, int i)
{
    return !(b == 6 && i >= 28);
}

// 32 TV channel slots of 8 bytes: frequency in units of 10 Hz as 8 BCD digits,
// least significant pair first, then the option byte.
constexpr int TVSlotBase = 0x3C00;
constexpr int TVSlotSize = 8;
constexpr int tvSlotAddress(int j)
{
    return TVSlotBase + (j - 1) * TVSlotSize;
}
constexpr int TVFreqOffset = 0;
constexpr int TVFreqBytes = 4;
constexpr int TVBitmapBase = 0x3D09;
constexpr int tvBitmapByte(int j)
{
    return TVBitmapBase + (j - 1) / 8;
}
constexpr int tvBitmapBit(int j)
{
    return (j - 1) % 8;
}

// Tone tips: 30 bytes each, two per 64-byte block.
constexpr int ToneTipBase = 0x3E00;
constexpr int ToneTipSize = 30;
constexpr int toneTipAddress(int t)
{
    return ToneTipBase + ((t - 1) / 2) * 64 + ((t - 1) % 2) * ToneTipSize;
}

// The area whose bitmaps are built by OR-ing bits in: zero before encoding.
constexpr int ZeroAreaBegin = 0x3D00;
constexpr int ZeroAreaEnd = 0x3DFF;

// Eight 0x55 bytes at the very end; they never leave the program.
constexpr int TailAddress = 0x3FF8;
constexpr int TailLength = 8;
constexpr char TailByte = 0x55;

// ---- Fields --------------------------------------------------------------

// How a 16-bit value of the image sits in the bits of a byte.
enum class Conv {
    Plain,      // the value (or its bits from valueShift on) in the field's bits
    MinusOne,   // stored minus 1; 0 (no channel) is stored as 0xFF, the erased value
    ToneKind,   // kind of a tone code: 0 none, 1 CTCSS, 2 DCS
    CtcssIndex, // CTCSS index of a tone code (0 unless kind 1)
    DcsIndex,   // DCS index of a tone code (0 unless kind 2)
    Zero,       // always 0; no value behind it
    OnlyOne,    // one bit, set for the value 1 only: any other value is off
};

// One value in memory. `at` is an absolute address for the option features and
// an offset within the slot for channels, TV channels and tone tips.
template <class Rec> struct Field
{
    QString name;
    int at = 0;
    int shift = 0; // lowest bit within the byte
    int width = 8; // number of bits
    Conv conv = Conv::Plain;
    int maxValue = 255;   // largest value of the image that fits (smallest is 0)
    int valueShift = 0;   // Plain: the part of the value from this bit on
    bool readBack = true; // false: written to the radio, never read back
    qint16& (*ref)(Rec&, int) = nullptr;
    int arg = 0;

    qint16 value(const Rec& rec) const { return ref ? ref(const_cast<Rec&>(rec), arg) : 0; }
    qint16& target(Rec& rec) const { return ref(rec, arg); }
};

using ChannelField = Field<ChannelRecord>;
using TVField = Field<TVChannelRecord>;
using OptionField = Field<RadioDataRecord>;
using ToneTipField = Field<ToneTipRecord>;

// Offsets 3..15 of a channel slot that carry a value (offsets 6, 8-10 and 13-15 are not written).
const std::vector<ChannelField>& channelFields();
// Offset 4 of a TV channel slot.
const std::vector<TVField>& tvFields();
// RangeMode first, then the option features in address order.
const std::vector<OptionField>& optionFields();
// The 30 bytes of a tone tip slot.
const std::vector<ToneTipField>& toneTipFields();

// ---- Conversions ---------------------------------------------------------

struct ToneParts
{
    int kind = 0;
    int ctcss = 0;
    int dcs = 0;
};
// 0 -> (0, 0, 0); 1..38 -> (1, code - 1, 0); 39 and up -> (2, 0, code - 39).
ToneParts splitTone(int code);
// Kind 0 -> 0, 1 -> CTCSS + 1, 2 -> DCS + 39, any other kind -> 0.
int joinTone(int kind, int ctcss, int dcs);

// The raw bits of a field for a value (before shifting into place).
int rawOf(Conv conv, int value, int valueShift, int width);
// Whether the value fits the field.
bool fits(Conv conv, int value, int maxValue);

// Two upper-case hexadecimal digits of a byte.
QString hexByte(quint8 byte);

} // namespace mx::memmap
