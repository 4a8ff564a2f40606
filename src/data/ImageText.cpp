#include "data/ImageText.h"

#include "data/ChannelRules.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "data/ToneRules.h"
#include "texts/OptionTexts.h"
#include "texts/Texts.h"
#include "texts/ToolTexts.h"

#include <QHash>

#include <cmath>
#include <utility>

namespace mx::imagetext {

namespace {

// How the option window holds a field.
enum class Kind {
    Check,     // check box: 0 off, 1 on
    Number,    // list of numbers, stored as the number
    Index,     // list, stored as the item's index
    Roger,     // "OFF" and the usable tone tips, stored as the tip number
    Tenths,    // typed volts or ratio, stored × 10
    RepOffset, // typed kilohertz on 5 kHz steps
};

struct OptionDef
{
    const char* name;
    Opt::Word word;
    Kind kind;
    int low = 0, high = 0, fallback = 0; // Tenths, RepOffset
};

constexpr OptionDef Options[] = {
    {"ShowSQLLevel", Opt::ShowSQLLevel, Kind::Check},
    {"ShowVOLLevel", Opt::ShowVOLLevel, Kind::Check},
    {"ShowMICLevel", Opt::ShowMICLevel, Kind::Check},
    {"ExtensionBand", Opt::ExtensionBand, Kind::Check},
    {"TVSignalHold", Opt::TVSignalHold, Kind::Check},
    {"BeepTone", Opt::BeepTone, Kind::Check},
    {"ASQ", Opt::ASQ, Kind::Check},
    {"SWRProtect", Opt::SWRProtect, Kind::Check},
    {"ShowVSWRLaunch", Opt::ShowVSWRLaunch, Kind::Check},
    {"MonSetting", Opt::MonSetting, Kind::Number},
    {"TVSqlLevel", Opt::TVSqlLevel, Kind::Number},
    {"TimeOutTimer", Opt::TimeOutTimer, Kind::Index},
    {"PublicMode", Opt::PublicMode, Kind::Index},
    {"Busy", Opt::Busy, Kind::Index},
    {"HiCut", Opt::HiCut, Kind::Index},
    {"RogerTone", Opt::RogerTone, Kind::Roger},
    {"BatteryMin", Opt::BatteryMin, Kind::Tenths, 90, 170, 90},
    {"BatteryMax", Opt::BatteryMax, Kind::Tenths, 90, 170, 90},
    {"SWRMax", Opt::SWRMax, Kind::Tenths, 12, 200, 200},
    {"TSQCode", Opt::TSQCode, Kind::Index},
    {"REPOffsetKHz", Opt::REPOffsetKHz, Kind::RepOffset, 0, 1000, 100},
    {"REPDirection", Opt::REPDirection, Kind::Index},
    {"BacklightColor", Opt::BacklightColor, Kind::Index},
    {"BacklightBrightness", Opt::BacklightBrightness, Kind::Index},
    {"BacklightLoopTime", Opt::BacklightLoopTime, Kind::Index},
};

const OptionDef* findOption(const QString& name)
{
    for (const OptionDef& d : Options)
        if (name.compare(QLatin1String(d.name), Qt::CaseInsensitive) == 0) return &d;
    return nullptr;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out.append(QString::number(n));
    return out;
}

// The items of a list field, as the option window fills them (English).
QStringList choicesOf(const RadioDataRecord& record, const OptionDef& d)
{
    const QString off = QStringLiteral("Off");
    switch (d.word) {
    case Opt::MonSetting:
        return numbers(1, 32);
    case Opt::TVSqlLevel:
        return numbers(1, 9);
    case Opt::TimeOutTimer: {
        QStringList items{off};
        for (int n = 1; n <= 20; ++n)
            items.append(QString::number(30 * n) + QLatin1Char('s'));
        return items;
    }
    case Opt::PublicMode:
    case Opt::Busy:
    case Opt::HiCut:
        return channelrules::onOffList(English);
    case Opt::RogerTone:
        return channelrules::rogerList(record, English);
    case Opt::TSQCode: {
        QStringList items = channelrules::toneSquelchList();
        items[0] = off;
        return items;
    }
    case Opt::REPDirection:
        return channelrules::repeaterList(English);
    case Opt::BacklightColor:
        return backlightColors(English);
    case Opt::BacklightBrightness:
        return QStringList{off} + numbers(1, 31);
    case Opt::BacklightLoopTime: {
        QStringList items;
        for (int n = 1; n <= 20; ++n)
            items.append(freq::formatFixed(n * 0.5, 1) + QLatin1Char('s'));
        return items;
    }
    default:
        break;
    }
    if (d.kind == Kind::Check) return channelrules::onOffList(English);
    return {};
}

QString tenths(int value)
{
    return freq::formatFixed(value / 10.0, 1);
}

// A typed tenth-unit value rounded once and clamped; fallback when it is no number.
int typedTenths(const QString& text, int lo, int hi, int fallback)
{
    bool ok = false;
    const double v = freq::toDouble(text, &ok);
    if (!ok || text.trimmed().isEmpty()) return fallback;
    return qBound(lo, int(std::lround(qBound(lo / 10.0, v, hi / 10.0) * 10.0)), hi);
}

QString unknown(int value)
{
    return QLatin1Char('?') + QString::number(value);
}

QString onOff(int value)
{
    if (value == 0 || value == 1) return channelrules::onOffList(English).at(value);
    return unknown(value);
}

QString itemAt(const QStringList& items, int index)
{
    return index >= 0 && index < items.size() ? items.at(index) : unknown(index);
}

} // namespace

QString familyName(int family)
{
    static const char* const Names[] = {"10M", "HF", "EU"};
    return family >= 0 && family < FamilyCount ? QString::fromLatin1(Names[family]) : QString();
}

int familyNumber(const QString& name)
{
    for (int m = 0; m < FamilyCount; ++m)
        if (name.trimmed().compare(familyName(m), Qt::CaseInsensitive) == 0) return m;
    return -1;
}

int bandNumberOf(const QString& name, int family)
{
    for (int b = 1; b <= BandCount; ++b)
        if (name.trimmed().compare(freq::bandName(b, family), Qt::CaseInsensitive) == 0) return b;
    return 0;
}

QStringList optionNames()
{
    QStringList names;
    for (const OptionDef& d : Options)
        names.append(QLatin1String(d.name));
    return names;
}

QString optionText(const RadioDataRecord& record, const QString& name)
{
    const OptionDef* d = findOption(name);
    if (!d) return {};
    const int value = record.optFeat[d->word];
    switch (d->kind) {
    case Kind::Check:
        return onOff(value);
    case Kind::Number:
    case Kind::Roger:
        if (value == 0 && d->kind == Kind::Roger) return text(TextId::OffText, English);
        return choicesOf(record, *d).contains(QString::number(value)) ? QString::number(value)
                                                                      : unknown(value);
    case Kind::Index:
        return itemAt(choicesOf(record, *d), value);
    case Kind::Tenths:
        return tenths(value);
    case Kind::RepOffset:
        return QString::number(value);
    }
    return {};
}

QStringList optionChoices(const RadioDataRecord& record, const QString& name)
{
    const OptionDef* d = findOption(name);
    return d ? choicesOf(record, *d) : QStringList();
}

OptionResult setOption(RadioImage& image, const QString& name, const QString& value, int language,
                       QString* message)
{
    const OptionDef* d = findOption(name);
    if (!d) {
        if (message) *message = text(ToolText::UnknownOption, language).arg(name);
        return OptionResult::UnknownName;
    }
    OptFeatRecord rec = image.work.optFeat;
    const QString typed = value.trimmed();
    switch (d->kind) {
    case Kind::Check:
    case Kind::Number:
    case Kind::Index:
    case Kind::Roger: {
        const QStringList items = choicesOf(image.work, *d);
        int index = -1;
        for (int k = 0; k < items.size() && index < 0; ++k)
            if (typed.compare(items[k], Qt::CaseInsensitive) == 0) index = k;
        if (index < 0) {
            if (message)
                *message = text(ToolText::NotOffered, language)
                               .arg(typed, QLatin1String(d->name), items.join(QStringLiteral(", ")));
            return OptionResult::NotOffered;
        }
        if (d->kind == Kind::Check || d->kind == Kind::Index)
            rec[d->word] = qint16(index);
        else
            rec[d->word] = freq::toInt(items[index], 0); // "OFF" of the roger list stores 0
        break;
    }
    case Kind::Tenths:
        if (d->word == Opt::SWRMax) {
            rec[d->word] = qint16(typedTenths(typed, d->low, d->high, d->fallback));
        } else {
            // The pair is normalised together: the smaller value is the minimum.
            rec[d->word] = qint16(typedTenths(typed, d->low, d->high, d->fallback));
            int low = qBound(d->low, int(rec[Opt::BatteryMin]), d->high);
            int high = qBound(d->low, int(rec[Opt::BatteryMax]), d->high);
            if (high < low) std::swap(low, high);
            rec[Opt::BatteryMin] = qint16(low);
            rec[Opt::BatteryMax] = qint16(high);
        }
        break;
    case Kind::RepOffset: {
        bool ok = false;
        const double v = freq::toDouble(typed, &ok);
        int khz = d->fallback;
        if (ok && !typed.isEmpty()) {
            khz = int(std::lround(qBound(0.0, v, 1000.0)));
            khz -= khz % 5;
        }
        rec[d->word] = qint16(khz);
        break;
    }
    }
    if (rec == image.work.optFeat) return OptionResult::Unchanged;
    image.work.optFeat = rec;
    return OptionResult::Changed;
}

QList<Entry> describe(const RadioImage& image)
{
    const RadioDataRecord& rec = image.work;
    QList<Entry> out;
    auto add = [&out](QStringList path, QString label, QString value, bool radio = true) {
        out.append(Entry{std::move(path), std::move(label), std::move(value), radio});
    };
    const QString fams = QStringLiteral("families");
    add({QStringLiteral("rangeFamily")}, QStringLiteral("range family"),
        familyName(rec.rangeMode).isEmpty() ? unknown(rec.rangeMode) : familyName(rec.rangeMode));
    add({QStringLiteral("radioOption")}, QStringLiteral("radio option byte"),
        QString::number(rec.optFeat[Opt::RadioOption]));
    for (int m = 0; m < FamilyCount; ++m) {
        const QString fam = familyName(m);
        const double low = freq::parseRange(freq::rangeTextFor(m)).low;
        add({fams, fam, QStringLiteral("workBand")}, fam + QStringLiteral(" work band"),
            QString::number(rec.optFeat.workBand(m)), false);
        for (int b = 1; b <= BandCount; ++b) {
            const QString band = freq::bandName(b, m);
            const QString where = fam + QStringLiteral(" band ") + band;
            const QStringList bandPath{fams, fam, QStringLiteral("bands"), band};
            add(bandPath + QStringList{QStringLiteral("enabled")}, where + QStringLiteral(" enabled"),
                onOff(rec.optFeat.bandValid(m, b)));
            add(bandPath + QStringList{QStringLiteral("workChannel")},
                where + QStringLiteral(" work channel"), QString::number(rec.optFeat.workChannel(m, b)));
            const int count = qBound(0, int(rec.count(m, b)), SlotCount);
            for (int i = 1; i <= count; ++i) {
                const ChannelRecord& ch = image.workChannels.at(m, i, b);
                const QStringList path =
                    bandPath + QStringList{QStringLiteral("channels"), QString::number(ch.chNo)};
                const QString label =
                    where + QStringLiteral(" channel ") + QString::number(ch.chNo) + QLatin1Char(' ');
                add(path + QStringList{QStringLiteral("slot")}, label + QStringLiteral("slot"),
                    QString::number(i));
                add(path + QStringList{QStringLiteral("inUse")}, label + QStringLiteral("in use"),
                    onOff(ch.inUse), false);
                add(path + QStringList{QStringLiteral("rx")}, label + QStringLiteral("receive frequency"),
                    freq::textFromStored(ch.rxFreq.text(), low));
                add(path + QStringList{QStringLiteral("tx")}, label + QStringLiteral("transmit frequency"),
                    freq::textFromStored(ch.txFreq.text(), low), false);
                const QString tsq = channelrules::toneSquelchText(ch.toneCode);
                add(path + QStringList{QStringLiteral("tsq")}, label + QStringLiteral("TSQ"),
                    tsq.isEmpty() ? unknown(ch.toneCode) : tsq);
                add(path + QStringList{QStringLiteral("rep")}, label + QStringLiteral("REP"),
                    itemAt(channelrules::repeaterList(English), ch.repeaterShift));
                add(path + QStringList{QStringLiteral("roger")}, label + QStringLiteral("Roger"),
                    ch.rogerBeep == 0 ? text(TextId::OffText, English) : QString::number(ch.rogerBeep));
                add(path + QStringList{QStringLiteral("public")}, label + QStringLiteral("Public"),
                    onOff(ch.publicFlag));
                add(path + QStringList{QStringLiteral("busy")}, label + QStringLiteral("BUSY"),
                    onOff(ch.busy));
                add(path + QStringList{QStringLiteral("hiCut")}, label + QStringLiteral("HI-CUT"),
                    onOff(ch.hiCut));
            }
        }
    }
    for (const OptionDef& d : Options)
        add({QStringLiteral("options"), QLatin1String(d.name)}, QLatin1String(d.name),
            optionText(rec, QLatin1String(d.name)));
    add({QStringLiteral("tvChannels"), QStringLiteral("current")}, QStringLiteral("current TV channel"),
        QString::number(rec.optFeat[Opt::CurrentTVChannel] + 1));
    for (int j = 1; j <= TVChannelCount; ++j) {
        const TVChannelRecord& tv = rec.tvChannels[j - 1];
        const QStringList path{QStringLiteral("tvChannels"), QString::number(j)};
        const QString label = QStringLiteral("TV channel %1 ").arg(j);
        add(path + QStringList{QStringLiteral("inUse")}, label + QStringLiteral("in use"),
            onOff(tv.inUse == 1 ? 1 : 0));
        if (tv.inUse != 1) continue; // a free entry sends nothing else
        add(path + QStringList{QStringLiteral("frequency")}, label + QStringLiteral("frequency"),
            freq::formatFixed(tv.frequency, 5));
        add(path + QStringList{QStringLiteral("tbst")}, label + QStringLiteral("TBST"), onOff(tv.tbst));
        add(path + QStringList{QStringLiteral("bandwidth")}, label + QStringLiteral("W/N"),
            tv.bandwidth == 0   ? QStringLiteral("Narrow")
            : tv.bandwidth == 1 ? QStringLiteral("Wide")
                                : unknown(tv.bandwidth));
    }
    for (int t = 1; t <= ToneTipCount; ++t) {
        const ToneTipRecord& tip = rec.toneTips[t - 1];
        const QStringList path{QStringLiteral("toneTips"), QString::number(t)};
        const QString label = QStringLiteral("tone tip %1 ").arg(t);
        add(path + QStringList{QStringLiteral("repeat")}, label + QStringLiteral("repeat count"),
            QString::number(tip.recycleTimes()));
        add(path + QStringList{QStringLiteral("pauseMs")}, label + QStringLiteral("pause (ms)"),
            QString::number(tip.interTime() * 10));
        for (int s = 1; s <= ToneStepCount; ++s) {
            const QStringList step = path + QStringList{QStringLiteral("steps"), QString::number(s)};
            add(step + QStringList{QStringLiteral("toneHz")},
                label + QStringLiteral("step %1 tone (Hz)").arg(s), QString::number(tip.tone(s) * 10));
            add(step + QStringList{QStringLiteral("lengthMs")},
                label + QStringLiteral("step %1 length (ms)").arg(s), QString::number(tip.length(s) * 10));
        }
    }
    return out;
}

namespace {

void insertAt(QJsonObject& object, const QStringList& path, int at, const QString& value)
{
    if (at == path.size() - 1) {
        object.insert(path[at], value);
        return;
    }
    QJsonObject child = object.value(path[at]).toObject();
    insertAt(child, path, at + 1, value);
    object.insert(path[at], child);
}

} // namespace

QJsonObject toJson(const RadioImage& image)
{
    QJsonObject root;
    root.insert(QStringLiteral("model"), image.modelCode);
    for (const Entry& e : describe(image))
        insertAt(root, e.path, 0, e.value);
    return root;
}

QStringList diff(const RadioImage& a, const RadioImage& b)
{
    const QList<Entry> before = describe(a);
    const QList<Entry> after = describe(b);
    QHash<QString, int> index;
    for (int k = 0; k < after.size(); ++k)
        index.insert(after[k].path.join(QLatin1Char('/')), k);
    const QString none = QStringLiteral("(none)");
    QStringList lines;
    QList<bool> seen(after.size(), false);
    for (const Entry& e : before) {
        const int k = index.value(e.path.join(QLatin1Char('/')), -1);
        if (k >= 0) seen[k] = true;
        if (!e.radio) continue;
        const QString other = k >= 0 ? after[k].value : none;
        if (other != e.value) lines.append(QStringLiteral("%1: %2 -> %3").arg(e.label, e.value, other));
    }
    for (int k = 0; k < after.size(); ++k)
        if (!seen[k] && after[k].radio)
            lines.append(QStringLiteral("%1: %2 -> %3").arg(after[k].label, none, after[k].value));
    return lines;
}

} // namespace mx::imagetext
