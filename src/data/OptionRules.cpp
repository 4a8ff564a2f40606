#include "data/OptionRules.h"

#include "data/ChannelRules.h"
#include "data/FreqRules.h"
#include "texts/OptionTexts.h"
#include "texts/Texts.h"

#include <cmath>
#include <utility>

namespace mx::optionrules {

namespace {

constexpr Field Fields[] = {
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

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out.append(QString::number(n));
    return out;
}

} // namespace

std::span<const Field> fields()
{
    return Fields;
}

const Field* find(const QString& name)
{
    for (const Field& f : Fields)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

const Field& fieldOf(Opt::Word word)
{
    for (const Field& f : Fields)
        if (f.word == word) return f;
    Q_UNREACHABLE();
    return Fields[0];
}

QStringList listItems(const RadioDataRecord& record, Opt::Word word, int language)
{
    const QString off = text(OptionText::Off, language);
    switch (word) {
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
    case Opt::RogerTone:
        return channelrules::rogerList(record, language);
    case Opt::TSQCode: {
        // The channels' tone squelch list; its first item reads "Off" in both languages.
        QStringList items = channelrules::toneSquelchList();
        items[0] = QStringLiteral("Off");
        return items;
    }
    case Opt::REPDirection:
        return channelrules::repeaterList(language);
    case Opt::BacklightColor:
        return backlightColors(language);
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
    const Kind kind = fieldOf(word).kind;
    if (kind == Kind::Check || kind == Kind::Index) return channelrules::onOffList(language);
    return {};
}

int shownIndex(const Field& field, int value, const QStringList& items)
{
    if (items.isEmpty()) return -1;
    switch (field.kind) {
    case Kind::Number: {
        const int at = int(items.indexOf(QString::number(value)));
        return at >= 0 ? at : qBound(0, value - items.first().toInt(), int(items.size()) - 1);
    }
    case Kind::Roger:
        return qMax(0, int(items.indexOf(QString::number(value))));
    default:
        return qBound(0, value, int(items.size()) - 1);
    }
}

qint16 valueOf(const Field& field, int index, const QStringList& items)
{
    if (field.kind == Kind::Number || field.kind == Kind::Roger)
        return qint16(freq::toInt(items.value(index), 0)); // "OFF" of the roger list stores 0
    return qint16(qMax(0, index));
}

QString tenths(int value)
{
    return freq::formatFixed(value / 10.0, 1);
}

int typedTenths(const Field& field, const QString& text)
{
    bool ok = false;
    const double v = freq::toDouble(text, &ok);
    if (!ok || text.trimmed().isEmpty()) return field.fallback;
    return qBound(field.low, int(std::lround(qBound(field.low / 10.0, v, field.high / 10.0) * 10.0)),
                  field.high);
}

int shownRepOffset(int khz)
{
    const int v = qBound(0, khz, 1000);
    return v - v % 5;
}

int typedRepOffset(const QString& text)
{
    bool ok = false;
    const double v = freq::toDouble(text, &ok);
    if (!ok || text.trimmed().isEmpty()) return fieldOf(Opt::REPOffsetKHz).fallback;
    return shownRepOffset(int(std::lround(qBound(0.0, v, 1000.0))));
}

void orderBatteryLimits(OptFeatRecord& record)
{
    const Field& f = fieldOf(Opt::BatteryMin);
    int low = qBound(f.low, int(record[Opt::BatteryMin]), f.high);
    int high = qBound(f.low, int(record[Opt::BatteryMax]), f.high);
    if (high < low) std::swap(low, high);
    record[Opt::BatteryMin] = qint16(low);
    record[Opt::BatteryMax] = qint16(high);
}

} // namespace mx::optionrules
