#include "cli/Listing.h"

#include "cli/Problems.h"
#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "data/RadioData.h"
#include "texts/Texts.h"

#include <QDir>
#include <QTextStream>

#include <algorithm>
#include <array>

namespace mx::cli {

namespace {

constexpr std::array<const char*, 38> Ctcss = {
    "67.0",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",  "94.8",
    "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3", "131.8",
    "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9", "186.2",
    "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3"};

constexpr std::array<int, 104> Dcs = {
    023,  025,  026,  031,  032,  036,  043,  047,  051,  053,  054,  065,  071,  072,  073,
    074,  0114, 0115, 0116, 0122, 0125, 0131, 0132, 0134, 0143, 0145, 0152, 0155, 0156, 0162,
    0165, 0172, 0174, 0205, 0212, 0223, 0225, 0226, 0243, 0244, 0245, 0246, 0251, 0252, 0255,
    0261, 0263, 0265, 0266, 0271, 0274, 0306, 0311, 0315, 0325, 0331, 0332, 0343, 0346, 0351,
    0356, 0364, 0365, 0371, 0411, 0412, 0413, 0423, 0431, 0432, 0445, 0446, 0452, 0454, 0455,
    0462, 0464, 0465, 0466, 0503, 0506, 0516, 0523, 0526, 0532, 0546, 0565, 0606, 0612, 0624,
    0627, 0631, 0632, 0654, 0662, 0664, 0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754};

const QStringList BacklightColors = {
    QStringLiteral("Green"), QStringLiteral("Red"),    QStringLiteral("Yellow"), QStringLiteral("Blue"),
    QStringLiteral("Cyan"),  QStringLiteral("Purple"), QStringLiteral("White"),  QStringLiteral("Loop")};

// A value that has no item in its list shows as the number with a mark.
QString unlisted(int value)
{
    return QStringLiteral("?%1").arg(value);
}

QString tenths(int value)
{
    return freq::formatFixed(value / 10.0, 1);
}

// Frequency text a channel list shows for a stored receive frequency; a
// stored text that is not a frequency is shown as it is, marked.
QString channelFrequency(const ChannelRecord& ch, int m, int b)
{
    const QString stored = QString::fromLatin1(ch.rxFreq.raw());
    const QString trimmed = stored.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("FFFFFFFF")) return QStringLiteral("-");
    bool digitsOnly = !trimmed.isEmpty();
    for (QChar c : trimmed)
        digitsOnly = digitsOnly && c.isDigit();
    if (!digitsOnly) return QStringLiteral("?") + printable(trimmed);
    return freq::shownFrequency(trimmed, m, b, freq::parseRange(freq::rangeTextFor(m)).low);
}

bool usableTip(const ToneTipRecord& tip)
{
    if (tip.recycleTimes() < 1) return false;
    for (int s = 1; s <= ToneStepCount; ++s)
        if (tip.length(s) > 0) return true;
    return false;
}

void printBands(QTextStream& out, const RadioImage& image, int m)
{
    const RadioDataRecord& d = image.work;
    for (int b = 1; b <= BandCount; ++b) {
        const int stored = d.count(m, b);
        const int count = std::clamp(stored, 0, SlotCount);
        out << "  Band " << freq::bandName(b, m) << " (" << b
            << "): " << (d.optFeat.bandValid(m, b) == 1 ? "enabled" : "disabled") << ", " << count
            << (count == 1 ? " channel" : " channels") << ", work channel " << d.optFeat.workChannel(m, b)
            << ", current channel " << d.currentChannel[bandIndex(m, b)];
        if (stored != count) out << " (stored count " << stored << ')';
        out << '\n';
        if (count == 0) continue;
        QList<int> slots;
        for (int i = 1; i <= count; ++i)
            slots.append(i);
        std::stable_sort(slots.begin(), slots.end(), [&](int a, int c) {
            return image.workChannels.at(m, a, b).chNo < image.workChannels.at(m, c, b).chNo;
        });
        out << "     CH  Frequency  TSQ     Shift  Public  Busy  HI-CUT  Roger\n";
        for (int i : std::as_const(slots)) {
            const ChannelRecord& ch = image.workChannels.at(m, i, b);
            out << "    " << QString::number(ch.chNo).rightJustified(3) << "  "
                << channelFrequency(ch, m, b).leftJustified(9) << "  "
                << toneCodeText(ch.toneCode).leftJustified(6) << "  "
                << shiftText(ch.repeaterShift).leftJustified(5) << "  "
                << onOffText(ch.publicFlag).leftJustified(6) << "  " << onOffText(ch.busy).leftJustified(4)
                << "  " << onOffText(ch.hiCut).leftJustified(6) << "  " << rogerText(ch.rogerBeep);
            if (ch.inUse != 1) out << "  (in-use word " << ch.inUse << ')';
            // A hand-edited or imported file: what the radio would take but should not hold.
            if (const QString problem = frequencyProblem(ch, m); !problem.isEmpty())
                out << "  <- " << problem;
            out << '\n';
        }
    }
}

void printOptions(QTextStream& out, const OptFeatRecord& o)
{
    auto line = [&](const char* name, const QString& value) {
        out << "  " << QString::fromLatin1(name).leftJustified(22) << value << '\n';
    };
    auto listed = [](int value, int count, auto text) {
        return value >= 0 && value < count ? text(value) : unlisted(value);
    };

    line("Radio option byte", QString::number(o[Opt::RadioOption]));
    line("Show SQL Level", onOffText(o[Opt::ShowSQLLevel]));
    line("Show VOL Level", onOffText(o[Opt::ShowVOLLevel]));
    line("Show MIC Level", onOffText(o[Opt::ShowMICLevel]));
    line("Extension Band", onOffText(o[Opt::ExtensionBand]));
    line("TV Signal Hold", onOffText(o[Opt::TVSignalHold]));
    line("Beep Tone", onOffText(o[Opt::BeepTone]));
    line("ASQ", onOffText(o[Opt::ASQ]));
    line("SWR Protect", onOffText(o[Opt::SWRProtect]));
    line("Show VSWR Launch", onOffText(o[Opt::ShowVSWRLaunch]));
    const int mon = o[Opt::MonSetting];
    line("MON", mon >= 1 && mon <= 32 ? QString::number(mon) : unlisted(mon));
    const int tvSql = o[Opt::TVSqlLevel];
    line("TV SQL Level", tvSql >= 1 && tvSql <= 9 ? QString::number(tvSql) : unlisted(tvSql));
    line("Time Out Timer", listed(o[Opt::TimeOutTimer], 21, [](int v) -> QString {
             return v == 0 ? QStringLiteral("Off") : QStringLiteral("%1s").arg(30 * v);
         }));
    line("Public", onOffText(o[Opt::PublicMode]));
    line("Busy", onOffText(o[Opt::Busy]));
    line("HI-CUT", onOffText(o[Opt::HiCut]));
    line("Roger", rogerText(o[Opt::RogerTone]));
    line("Battery Min[V]", tenths(o[Opt::BatteryMin]));
    line("Battery Max[V]", tenths(o[Opt::BatteryMax]));
    line("SWR Max", tenths(o[Opt::SWRMax]));
    line("TSQ", toneCodeText(o[Opt::TSQCode]));
    line("REP Freqency[KHz]", QString::number(o[Opt::REPOffsetKHz]));
    line("REP", shiftText(o[Opt::REPDirection]));
    line("Backlight Color",
         listed(o[Opt::BacklightColor], 8, [](int v) -> QString { return BacklightColors[v]; }));
    line("Backlight Brightness", listed(o[Opt::BacklightBrightness], 32, [](int v) -> QString {
             return v == 0 ? QStringLiteral("Off") : QString::number(v);
         }));
    line("Backlight Loop Time", listed(o[Opt::BacklightLoopTime], 20, [](int v) -> QString {
             return freq::formatFixed((v + 1) * 0.5, 1) + QLatin1Char('s');
         }));
}

void printToneTips(QTextStream& out, const RadioDataRecord& d)
{
    for (int t = 1; t <= ToneTipCount; ++t) {
        const ToneTipRecord& tip = d.toneTips[t - 1];
        out << "  Tone " << t << ": " << (usableTip(tip) ? "usable" : "not usable") << ", passes "
            << tip.recycleTimes() << ", pause after each pass " << 10 * tip.interTime() << " ms";
        int last = 0;
        for (int s = 1; s <= ToneStepCount; ++s)
            if (tip.tone(s) != 0 || tip.length(s) != 0) last = s;
        if (last > 0) {
            out << "\n    steps:";
            for (int s = 1; s <= last; ++s) {
                out << ' ';
                if (tip.tone(s) == 0)
                    out << "pause";
                else
                    out << 10 * tip.tone(s) << "Hz";
                out << '/' << 10 * tip.length(s) << "ms";
            }
        }
        out << '\n';
    }
}

void printTvChannels(QTextStream& out, const RadioDataRecord& d)
{
    int used = 0;
    for (int k = 1; k <= TVChannelCount; ++k) {
        const TVChannelRecord& tv = d.tvChannels[k - 1];
        if (tv.inUse != 1) continue;
        ++used;
        out << "  " << QString::number(k).rightJustified(2) << "  "
            << freq::formatFixed(tv.frequency, 5).rightJustified(9, QLatin1Char('0')) << " MHz  TBST "
            << onOffText(tv.tbst) << "  "
            << (tv.bandwidth == 0   ? QStringLiteral("Narrow")
                : tv.bandwidth == 1 ? QStringLiteral("Wide")
                                    : unlisted(tv.bandwidth))
            << '\n';
    }
    if (used == 0) out << "  none\n";
    out << "  Current TV channel: " << d.optFeat[Opt::CurrentTVChannel] + 1 << '\n';
}

} // namespace

QString toneCodeText(int code)
{
    if (code == 0) return QStringLiteral("OFF");
    if (code >= 1 && code <= int(Ctcss.size())) return QString::fromLatin1(Ctcss[code - 1]);
    if (code >= 39 && code < 39 + int(Dcs.size()))
        return QStringLiteral("D%1N").arg(Dcs[code - 39], 3, 8, QLatin1Char('0'));
    return unlisted(code);
}

QString shiftText(int shift)
{
    switch (shift) {
    case 0:
        return QStringLiteral("OFF");
    case 1:
        return QStringLiteral("+");
    case 2:
        return QStringLiteral("-");
    }
    return unlisted(shift);
}

QString onOffText(int value)
{
    if (value == 0 || value == 1) return text(value ? TextId::OnText : TextId::OffText, English);
    return unlisted(value);
}

QString rogerText(int tip)
{
    if (tip == 0) return QStringLiteral("OFF");
    if (tip >= 1 && tip <= ToneTipCount) return QString::number(tip);
    return unlisted(tip);
}

QString familyName(int family)
{
    const QString name = imagetext::familyName(family);
    return name.isEmpty() ? unlisted(family) : name;
}

void printImage(QTextStream& out, const RadioImage& image, const QString& fileName)
{
    const RadioDataRecord& d = image.work;
    const ModelBlock& mb = d.model;
    if (!fileName.isEmpty()) out << "Data file:     " << QDir::toNativeSeparators(fileName) << '\n';
    // What the file holds is shown with its control characters escaped.
    out << "Model:         " << printable(modelDisplayName(image.modelCode)) << " (model code "
        << printable(image.modelCode) << ", model number " << mb.modelNumber << ", model letter "
        << printable(QChar(ushort(mb.modelLetter))) << ")\n";
    out << "Data version:  " << printable(mb.dataVersion.text()) << ", tag " << printable(image.versionTag)
        << ", created " << printable(mb.creationDate.text()) << '\n';
    const int current = d.rangeMode;
    out << "Range family:  " << current << " \"" << familyName(current) << "\" "
        << freq::rangeTextFor(current) << " (default range family " << mb.defaultRange << ")\n";

    for (int m = 0; m < FamilyCount; ++m) {
        const int cb = d.currentBand[m];
        const int wb = d.optFeat.workBand(m);
        out << "\nRange family " << m << " \"" << familyName(m) << "\": " << freq::rangeTextFor(m)
            << (m == current ? " (current)" : "") << ", current band "
            << (cb >= 1 && cb <= BandCount ? freq::bandName(cb, m) : unlisted(cb)) << ", work band "
            << (wb >= 1 && wb <= BandCount ? freq::bandName(wb, m) : unlisted(wb)) << '\n';
        printBands(out, image, m);
    }

    out << "\nOption features:\n";
    printOptions(out, d.optFeat);
    out << "\nTone tips:\n";
    printToneTips(out, d);
    out << "\nTV channels in use:\n";
    printTvChannels(out, d);
}

} // namespace mx::cli
