#include "link/MemoryMap.h"

namespace mx::memmap {

namespace {

// Option features are 16-bit words addressed by Opt::Word; the per-band tables
// pack (m, b) into the argument as bandIndex(m, b).
qint16& optWord(RadioDataRecord& r, int word)
{
    return r.optFeat.words[word];
}
qint16& rangeModeOf(RadioDataRecord& r, int)
{
    return r.rangeMode;
}
qint16& tipWord(ToneTipRecord& t, int word)
{
    return t.words[word];
}

OptionField opt(const char* name, int at, Opt::Word word, int shift = 0, int width = 8)
{
    OptionField f;
    f.name = QString::fromLatin1(name);
    f.at = at;
    f.shift = shift;
    f.width = width;
    f.maxValue = (1 << width) - 1;
    f.ref = optWord;
    f.arg = word;
    return f;
}

OptionField flag(const char* name, int at, int bit, Opt::Word word)
{
    return opt(name, at, word, bit, 1);
}

std::vector<OptionField> buildOptionFields()
{
    std::vector<OptionField> f;

    OptionField range;
    range.name = QStringLiteral("RangeMode");
    range.at = 0x3D00;
    range.maxValue = FamilyCount - 1;
    range.ref = rangeModeOf;
    f.push_back(range);

    f.push_back(opt("radio option byte", 0x3D01, Opt::RadioOption));

    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            OptionField v = flag("", 0x3D02 + m, b - 1, Opt::BandValid);
            v.name = QStringLiteral("BandValid of range %1, band %2").arg(m).arg(b);
            v.arg = Opt::BandValid + bandIndex(m, b);
            v.conv = Conv::OnlyOne;
            f.push_back(v);
        }
    }

    f.push_back(opt("CurrentTVChannel", 0x3D08, Opt::CurrentTVChannel));

    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            OptionField w = opt("", 0x3D10 + 16 * m + (b - 1), Opt::WorkChannel);
            w.name = QStringLiteral("WorkChannel of range %1, band %2").arg(m).arg(b);
            w.arg = Opt::WorkChannel + bandIndex(m, b);
            w.conv = Conv::MinusOne;
            f.push_back(w);
        }
    }

    f.push_back(flag("ShowSQLLevel", 0x3F00, 0, Opt::ShowSQLLevel));
    f.push_back(flag("ShowVOLLevel", 0x3F00, 1, Opt::ShowVOLLevel));
    f.push_back(flag("ShowMICLevel", 0x3F00, 2, Opt::ShowMICLevel));
    f.push_back(flag("ExtensionBand", 0x3F00, 3, Opt::ExtensionBand));
    f.push_back(flag("TVSignalHold", 0x3F00, 4, Opt::TVSignalHold));
    f.push_back(flag("BeepTone", 0x3F00, 5, Opt::BeepTone));
    f.push_back(flag("ASQ", 0x3F00, 6, Opt::ASQ));
    f.push_back(flag("SWRProtect", 0x3F00, 7, Opt::SWRProtect));
    f.push_back(opt("MonSetting", 0x3F01, Opt::MonSetting));
    f.push_back(opt("TVSqlLevel", 0x3F02, Opt::TVSqlLevel));
    f.push_back(opt("TimeOutTimer", 0x3F03, Opt::TimeOutTimer));
    f.push_back(flag("ShowVSWRLaunch", 0x3F04, 1, Opt::ShowVSWRLaunch));
    f.push_back(flag("Busy", 0x3F05, 0, Opt::Busy));
    f.push_back(flag("HiCut", 0x3F05, 1, Opt::HiCut));

    // Only the kind of the tone squelch code goes to the radio, and it is not read back.
    OptionField tsq = opt("TSQCode", 0x3F05, Opt::TSQCode, 4, 2);
    tsq.conv = Conv::ToneKind;
    tsq.maxValue = 32767;
    tsq.readBack = false;
    f.push_back(tsq);

    f.push_back(opt("RogerTone", 0x3F06, Opt::RogerTone));
    f.push_back(opt("BatteryMax", 0x3F08, Opt::BatteryMax));
    f.push_back(opt("BatteryMin", 0x3F09, Opt::BatteryMin));
    f.push_back(opt("SWRMax", 0x3F0A, Opt::SWRMax));

    // Ten bits: the low byte, then the two high bits (the low one must come first
    // so that decoding builds the value from scratch).
    OptionField offLow = opt("REPOffsetKHz", 0x3F14, Opt::REPOffsetKHz);
    offLow.maxValue = 1023;
    f.push_back(offLow);
    OptionField offHigh = opt("REPOffsetKHz", 0x3F15, Opt::REPOffsetKHz, 0, 2);
    offHigh.maxValue = 1023;
    offHigh.valueShift = 8;
    f.push_back(offHigh);

    f.push_back(opt("BacklightColor", 0x3F50, Opt::BacklightColor));
    f.push_back(opt("BacklightBrightness", 0x3F51, Opt::BacklightBrightness));
    f.push_back(opt("BacklightLoopTime", 0x3F52, Opt::BacklightLoopTime));
    return f;
}

template <class Rec>
Field<Rec> field(const char* name, int at, int shift, int width, Conv conv, qint16& (*ref)(Rec&, int),
                 int maxValue = -1)
{
    Field<Rec> f;
    f.name = QString::fromLatin1(name);
    f.at = at;
    f.shift = shift;
    f.width = width;
    f.conv = conv;
    f.maxValue = maxValue >= 0 ? maxValue : (1 << width) - 1;
    f.ref = ref;
    f.readBack = conv != Conv::Zero;
    return f;
}

std::vector<ChannelField> buildChannelFields()
{
    using C = ChannelRecord;
    auto toneCode = [](C& c, int) -> qint16& { return c.toneCode; };
    std::vector<ChannelField> f;
    f.push_back(field<C>("", 3, 0, 8, Conv::Zero, nullptr));
    f.push_back(field<C>("", 4, 0, 8, Conv::Zero, nullptr));
    // A tone code: its CTCSS index, its DCS index and its kind. The largest code
    // that fits is the last DCS index a byte can hold.
    f.push_back(field<C>("ToneCode", 5, 0, 8, Conv::CtcssIndex, +toneCode, 39 + 255));
    f.push_back(field<C>("ToneCode", 7, 0, 8, Conv::DcsIndex, +toneCode, 39 + 255));
    f.push_back(field<C>(
        "Busy", 11, 0, 1, Conv::Plain, +[](C& c, int) -> qint16& { return c.busy; }));
    f.push_back(field<C>(
        "HiCut", 11, 1, 1, Conv::Plain, +[](C& c, int) -> qint16& { return c.hiCut; }));
    f.push_back(field<C>(
        "RepeaterShift", 11, 2, 2, Conv::Plain, +[](C& c, int) -> qint16& { return c.repeaterShift; }));
    f.push_back(field<C>("ToneCode", 11, 4, 2, Conv::ToneKind, +toneCode, 39 + 255));
    f.push_back(field<C>("", 11, 6, 1, Conv::Zero, nullptr));
    f.push_back(field<C>(
        "Public", 11, 7, 1, Conv::Plain, +[](C& c, int) -> qint16& { return c.publicFlag; }));
    f.push_back(field<C>(
        "RogerBeep", 12, 0, 8, Conv::Plain, +[](C& c, int) -> qint16& { return c.rogerBeep; }));
    return f;
}

std::vector<TVField> buildTVFields()
{
    using T = TVChannelRecord;
    std::vector<TVField> f;
    f.push_back(field<T>(
        "Tbst", 4, 0, 1, Conv::Plain, +[](T& t, int) -> qint16& { return t.tbst; }));
    f.push_back(field<T>(
        "Bandwidth", 4, 1, 1, Conv::Plain, +[](T& t, int) -> qint16& { return t.bandwidth; }));
    return f;
}

std::vector<ToneTipField> buildToneTipFields()
{
    std::vector<ToneTipField> f;
    auto word = [&](const QString& name, int at, int w) {
        ToneTipField t = field<ToneTipRecord>("", at, 0, 8, Conv::Plain, tipWord);
        t.name = name;
        t.arg = w;
        f.push_back(t);
    };
    word(QStringLiteral("RecycleTimes"), 0, 28);
    word(QStringLiteral("InterTime"), 1, 29);
    for (int s = 1; s <= ToneStepCount; ++s)
        word(QStringLiteral("step %1 tone").arg(s), 1 + s, 2 * (s - 1));
    for (int s = 1; s <= ToneStepCount; ++s)
        word(QStringLiteral("step %1 length").arg(s), 15 + s, 2 * (s - 1) + 1);
    return f;
}

} // namespace

const std::vector<ChannelField>& channelFields()
{
    static const std::vector<ChannelField> fields = buildChannelFields();
    return fields;
}

const std::vector<TVField>& tvFields()
{
    static const std::vector<TVField> fields = buildTVFields();
    return fields;
}

const std::vector<OptionField>& optionFields()
{
    static const std::vector<OptionField> fields = buildOptionFields();
    return fields;
}

const std::vector<ToneTipField>& toneTipFields()
{
    static const std::vector<ToneTipField> fields = buildToneTipFields();
    return fields;
}

ToneParts splitTone(int code)
{
    if (code <= 0) return {};
    if (code <= 38) return {1, code - 1, 0};
    return {2, 0, code - 39};
}

int joinTone(int kind, int ctcss, int dcs)
{
    switch (kind) {
    case 1:
        return ctcss + 1;
    case 2:
        return dcs + 39;
    default:
        return 0;
    }
}

int rawOf(Conv conv, int value, int valueShift, int width)
{
    const int mask = (1 << width) - 1;
    switch (conv) {
    case Conv::Plain:
        return (value >> valueShift) & mask;
    case Conv::MinusOne:
        return value == 0 ? 0xFF : (value - 1) & mask;
    case Conv::ToneKind:
        return splitTone(value).kind & mask;
    case Conv::CtcssIndex:
        return splitTone(value).ctcss & mask;
    case Conv::DcsIndex:
        return splitTone(value).dcs & mask;
    case Conv::Zero:
        return 0;
    case Conv::OnlyOne:
        return value == 1 ? 1 : 0;
    }
    return 0;
}

bool fits(Conv conv, int value, int maxValue)
{
    if (conv == Conv::Zero || conv == Conv::OnlyOne) return true;
    return value >= 0 && value <= maxValue;
}

QString hexByte(quint8 byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace mx::memmap
