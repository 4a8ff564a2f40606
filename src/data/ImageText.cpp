#include "data/ImageText.h"

#include "data/ChannelRules.h"
#include "data/FreqRules.h"
#include "data/OptionRules.h"
#include "data/RadioData.h"
#include "texts/OptionTexts.h"
#include "texts/Texts.h"
#include "texts/ToolTexts.h"

#include <QHash>

#include <utility>

namespace mx::imagetext {

namespace {

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
    for (const optionrules::Field& f : optionrules::fields())
        names.append(QLatin1String(f.name));
    return names;
}

QString optionText(const RadioDataRecord& record, const QString& name)
{
    using optionrules::Kind;
    const optionrules::Field* f = optionrules::find(name);
    if (!f) return {};
    const int value = record.optFeat[f->word];
    switch (f->kind) {
    case Kind::Check:
        return onOff(value);
    case Kind::Number:
    case Kind::Roger:
        if (value == 0 && f->kind == Kind::Roger) return text(TextId::OffText, English);
        return optionChoices(record, name).contains(QString::number(value)) ? QString::number(value)
                                                                            : unknown(value);
    case Kind::Index:
        return itemAt(optionChoices(record, name), value);
    case Kind::Tenths:
        return optionrules::tenths(value);
    case Kind::RepOffset:
        return QString::number(value);
    }
    return {};
}

QStringList optionChoices(const RadioDataRecord& record, const QString& name)
{
    const optionrules::Field* f = optionrules::find(name);
    return f ? optionrules::listItems(record, f->word, English) : QStringList();
}

OptionResult setOption(RadioImage& image, const QString& name, const QString& value, int language,
                       QString* message)
{
    using optionrules::Kind;
    const optionrules::Field* f = optionrules::find(name);
    if (!f) {
        if (message) *message = text(ToolText::UnknownOption, language).arg(name);
        return OptionResult::UnknownName;
    }
    OptFeatRecord rec = image.work.optFeat;
    const QString typed = value.trimmed();
    // The window's box takes digits and a point only: anything else is no value at all.
    bool number = false;
    freq::toDouble(typed, &number);
    if ((f->kind == Kind::Tenths || f->kind == Kind::RepOffset) && !number) {
        const bool tenths = f->kind == Kind::Tenths;
        if (message)
            *message = text(ToolText::NotANumber, language)
                           .arg(printable(typed), QLatin1String(f->name),
                                tenths ? optionrules::tenths(f->low) : QString::number(f->low),
                                tenths ? optionrules::tenths(f->high) : QString::number(f->high));
        return OptionResult::NotOffered;
    }
    switch (f->kind) {
    case Kind::Check:
    case Kind::Number:
    case Kind::Index:
    case Kind::Roger: {
        const QStringList items = optionrules::listItems(image.work, f->word, English);
        int index = -1;
        for (int k = 0; k < items.size() && index < 0; ++k)
            if (typed.compare(items[k], Qt::CaseInsensitive) == 0) index = k;
        if (index < 0) {
            if (message)
                *message =
                    text(ToolText::NotOffered, language)
                        .arg(printable(typed), QLatin1String(f->name), items.join(QStringLiteral(", ")));
            return OptionResult::NotOffered;
        }
        rec[f->word] = optionrules::valueOf(*f, index, items);
        break;
    }
    case Kind::Tenths:
        rec[f->word] = qint16(optionrules::typedTenths(*f, typed));
        // The battery pair is normalised together: the smaller value is the minimum.
        if (f->word != Opt::SWRMax) optionrules::orderBatteryLimits(rec);
        break;
    case Kind::RepOffset:
        rec[f->word] = qint16(optionrules::typedRepOffset(typed));
        break;
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
            const int count = rec.usedSlots(m, b);
            QHash<int, int> seen; // a number held twice: its second channel is "5#2"
            for (int i = 1; i <= count; ++i) {
                const ChannelRecord& ch = image.workChannels.at(m, i, b);
                const int k = ++seen[ch.chNo];
                const QString number =
                    QString::number(ch.chNo) + (k > 1 ? QStringLiteral("#%1").arg(k) : QString());
                const QStringList path = bandPath + QStringList{QStringLiteral("channels"), number};
                const QString label = where + QStringLiteral(" channel ") + number + QLatin1Char(' ');
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
    for (const optionrules::Field& f : optionrules::fields())
        add({QStringLiteral("options"), QLatin1String(f.name)}, QLatin1String(f.name),
            optionText(rec, QLatin1String(f.name)));
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
