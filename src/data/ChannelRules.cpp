#include "data/ChannelRules.h"

#include "data/Defaults.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "data/ToneRules.h"
#include "texts/ChannelTexts.h"
#include "texts/Messenger.h"

#include <iterator>

namespace mx::channelrules {

namespace {

const char* const CtcssTones[] = {"67.0",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",
                                  "91.5",  "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8",
                                  "118.8", "123.0", "127.3", "131.8", "136.5", "141.3", "146.2", "151.4",
                                  "156.7", "162.2", "167.9", "173.8", "179.9", "186.2", "192.8", "203.5",
                                  "210.7", "218.1", "225.7", "233.6", "241.8", "250.3"};
// DCS codes in ascending order, normal polarity only.
const char* const DcsCodes[] = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071", "072", "073",
    "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145", "152", "155", "156", "162",
    "165", "172", "174", "205", "212", "223", "225", "226", "243", "244", "245", "246", "251", "252", "255",
    "261", "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
    "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454", "455",
    "462", "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624",
    "627", "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};
constexpr int CtcssCount = int(std::size(CtcssTones));
static_assert(CtcssCount == 38);
static_assert(1 + CtcssCount + int(std::size(DcsCodes)) == ToneSquelchCount);

bool validBand(int m, int b)
{
    return m >= 0 && m < FamilyCount && b >= 1 && b <= BandCount;
}

// The field's word of a channel (const or not).
template <typename Channel> auto& fieldRef(Channel& channel, Field field)
{
    switch (field) {
    case Field::ToneCode:
        return channel.toneCode;
    case Field::RepeaterShift:
        return channel.repeaterShift;
    case Field::RogerBeep:
        return channel.rogerBeep;
    case Field::Public:
        return channel.publicFlag;
    case Field::Busy:
        return channel.busy;
    case Field::HiCut:
        break;
    }
    return channel.hiCut;
}

FrequencyResult storeFrequency(RadioImage& image, int m, int b, int n, int column, const QString& typed,
                               Messenger* messenger)
{
    const freq::Range range = freq::parseRange(freq::rangeTextFor(m));
    QString text = typed.trimmed();
    if (!text.isEmpty() && (column == 1 || column == 2)) {
        text = freq::normalizeEntry(text, column != 1, true, range, messenger);
        // A typo must not cost the channel and its settings: only an empty entry deletes.
        if (text.isEmpty()) return FrequencyResult::OutOfRange;
    }
    if (column != 1) return FrequencyResult::Unchanged; // the transmit frequency is never edited

    const int slot = image.findSlot(n, m, b);
    if (slot > 0 && text.isEmpty()) {
        FrequencyResult result = FrequencyResult::Deleted;
        if (image.countRegular(m, b) < 2) {
            if (image.countOthers(m, b, n) < 1) return FrequencyResult::LastChannelKept;
            image.work.optFeat.bandValid(m, b) = 0;
            result = FrequencyResult::BandSwitchedOff;
        }
        image.deleteChannel(slot, m, b);
        if (result == FrequencyResult::BandSwitchedOff) fixWorkBand(image, m);
        image.fixWorkChannel(m, b);
        return result;
    }
    if (slot > 0) {
        FixedString<8> stored;
        stored.set(freq::storedFromText(text, range.low));
        ChannelRecord& channel = image.workChannels.at(m, slot, b);
        const QString before = channel.rxFreq.text();
        if (channel.rxFreq == stored ||
            (freq::isNumeric(before) &&
             freq::textFromStored(before, range.low) == freq::textFromStored(stored.text(), range.low)))
            return FrequencyResult::Unchanged; // the same frequency, perhaps written with fewer digits
        channel.rxFreq = stored;               // TxFreq keeps the value the channel was added with
        return FrequencyResult::Changed;
    }
    if (text.isEmpty()) return FrequencyResult::Unchanged;
    if (image.work.usedSlots(m, b) >= SlotCount) {
        if (messenger)
            messenger->ask(channelText(ChannelText::BandFull, messenger->language()), Buttons::Ok,
                           Icon::Exclamation);
        return FrequencyResult::BandFull;
    }
    image.addChannel(n, m, b, text);
    image.fixWorkChannel(m, b);
    return FrequencyResult::Added;
}

} // namespace

QString toneSquelchText(int index)
{
    if (index == 0) return QStringLiteral("OFF");
    if (index >= 1 && index <= CtcssCount) return QString::fromLatin1(CtcssTones[index - 1]);
    if (index > CtcssCount && index < ToneSquelchCount)
        return QLatin1Char('D') + QLatin1String(DcsCodes[index - CtcssCount - 1]) + QLatin1Char('N');
    return {};
}

QStringList toneSquelchList()
{
    QStringList list;
    list.reserve(ToneSquelchCount);
    for (int k = 0; k < ToneSquelchCount; ++k)
        list.append(toneSquelchText(k));
    return list;
}

int ctcssIndex(const QString& hz)
{
    if (!freq::isNumeric(hz)) return -1;
    const double value = freq::toDouble(hz);
    for (int k = 0; k < CtcssCount; ++k)
        if (qAbs(freq::toDouble(QLatin1String(CtcssTones[k])) - value) < 1e-6) return k + 1;
    return -1;
}

QStringList onOffList(int language)
{
    return {text(TextId::OffText, language), text(TextId::OnText, language)};
}

QStringList repeaterList(int language)
{
    return {text(TextId::OffText, language), QStringLiteral("+"), QStringLiteral("-")};
}

QStringList rogerList(const RadioDataRecord& record, int language)
{
    QStringList list{text(TextId::OffText, language)};
    for (int n = 1; n <= ToneTipCount; ++n)
        if (tonerules::usableTip(record, n) != 0) list.append(QString::number(n));
    return list;
}

QStringList channelComboItems(const RadioImage& image, int m, int b, int sortMode)
{
    QStringList items;
    if (!validBand(m, b)) return items;
    const int used = image.work.usedSlots(m, b);
    for (int i = 1; i <= used; ++i)
        items.append(QString::number(image.workChannels.at(m, i, b).chNo));
    auto key = [sortMode](const QString& item) { return freq::toDouble(sortMode == 1 ? item.mid(1) : item); };
    for (int i = 0; i + 1 < items.size(); ++i)
        for (int j = i + 1; j < items.size(); ++j)
            if (key(items[i]) > key(items[j])) items.swapItemsAt(i, j);
    return items;
}

bool changesImage(FrequencyResult result)
{
    switch (result) {
    case FrequencyResult::Added:
    case FrequencyResult::Changed:
    case FrequencyResult::Deleted:
    case FrequencyResult::BandSwitchedOff:
        return true;
    default:
        return false;
    }
}

FrequencyResult setChannelFrequency(RadioImage& image, int m, int b, int n, int column, const QString& text,
                                    Messenger* messenger)
{
    if (!validBand(m, b) || n < 1 || n > RegularChannels) return FrequencyResult::NoSuchChannel;
    const FrequencyResult result = storeFrequency(image, m, b, n, column, text, messenger);
    image.notifyChannelChanged(m, b, n);
    return result;
}

bool addDefaultChannel(RadioImage& image, int m, int b)
{
    if (!validBand(m, b) || image.findSlot(1, m, b) > 0 || image.work.usedSlots(m, b) >= SlotCount)
        return false;
    image.addChannel(1, m, b, defaults::defaultFrequency(b));
    image.notifyChannelChanged(m, b, 1);
    return true;
}

bool fixWorkBand(RadioImage& image, int m)
{
    if (m < 0 || m >= FamilyCount) return false;
    OptFeatRecord& opt = image.work.optFeat;
    const int work = opt.workBand(m);
    if (work >= 1 && work <= BandCount && opt.bandValid(m, work) == 1) return false;
    for (int b = 1; b <= BandCount; ++b) {
        if (opt.bandValid(m, b) == 1) {
            opt.workBand(m) = qint16(b);
            return true;
        }
    }
    return false;
}

BandSwitch setBandValid(RadioImage& image, int m, int b, bool on)
{
    if (!validBand(m, b)) return BandSwitch::Refused;
    OptFeatRecord& opt = image.work.optFeat;
    bool other = false;
    for (int k = 1; k <= BandCount; ++k)
        if (k != b && opt.bandValid(m, k) >= 1) other = true;
    if (!on && !other) return BandSwitch::Refused;
    const qint16 value = on ? 1 : 0;
    if (opt.bandValid(m, b) == value) return BandSwitch::Unchanged;
    const bool fresh = on && image.countRegular(m, b) == 0;
    opt.bandValid(m, b) = value;
    fixWorkBand(image, m);
    image.notifyChannelChanged(m, b, 0); // the band's switch
    if (!fresh || !addDefaultChannel(image, m, b)) return BandSwitch::Switched;
    image.fixWorkChannel(m, b);
    return BandSwitch::SwitchedWithDefault;
}

qint16 fieldValue(const ChannelRecord& channel, Field field)
{
    return fieldRef(channel, field);
}

FieldResult setField(RadioImage& image, int m, int b, int n, Field field, int value)
{
    const int slot = validBand(m, b) ? image.findSlot(n, m, b) : 0;
    if (slot == 0) return FieldResult::Refused;
    bool offered = false;
    switch (field) {
    case Field::ToneCode:
        offered = value >= 0 && value < ToneSquelchCount;
        break;
    case Field::RepeaterShift:
        offered = m != 2 && value >= 0 && value <= 2;
        break;
    case Field::RogerBeep:
        offered = value == 0 || tonerules::usableTip(image.work, value) == value;
        break;
    case Field::Public:
    case Field::Busy:
    case Field::HiCut:
        offered = value == 0 || value == 1;
        break;
    }
    if (!offered) return FieldResult::Refused;
    qint16& stored = fieldRef(image.workChannels.at(m, slot, b), field);
    if (stored == value) return FieldResult::Unchanged;
    stored = qint16(value);
    image.notifyChannelChanged(m, b, n);
    return FieldResult::Changed;
}

} // namespace mx::channelrules
