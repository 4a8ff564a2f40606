// mx806 set FILE.dat ...: one change of a channel, a band switch or an option
// feature, through the rules the editor windows apply.

#include "cli/Transfer.h"

#include "cli/Problems.h"
#include "data/ChannelRules.h"
#include "data/DataFile.h"
#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "texts/ChannelTexts.h"
#include "texts/ToolTexts.h"

namespace mx::cli {

namespace {

using channelrules::Field;
using channelrules::FieldResult;
using channelrules::FrequencyResult;

const QStringList ChannelOptions = {QStringLiteral("rx"),   QStringLiteral("tx"),    QStringLiteral("tsq"),
                                    QStringLiteral("rep"),  QStringLiteral("roger"), QStringLiteral("public"),
                                    QStringLiteral("busy"), QStringLiteral("delete")};

// The list index of a chosen text (any case); -1 when it is not offered.
int choose(const QStringList& items, const QString& chosen)
{
    for (int k = 0; k < items.size(); ++k)
        if (chosen.trimmed().compare(items[k], Qt::CaseInsensitive) == 0) return k;
    return -1;
}

struct Edit
{
    Context& ctx;
    RadioImage& image;
    int m = 0, b = 0, n = 0;
    bool changed = false;

    int language() const { return ctx.app.messenger.language(); }
    int refuse(const QString& message)
    {
        ctx.say(message);
        return ExitRefused;
    }
    int notOffered(const QString& option, const QStringList& items)
    {
        return refuse(
            text(ToolText::NotOffered, language())
                .arg(ctx.value(option), QStringLiteral("--") + option, items.join(QStringLiteral(", "))));
    }

    // A detail field as chosen from its list: ExitOk, or ExitRefused after the reason.
    int field(const QString& option, Field f, const QStringList& items, bool valueIsItem = false)
    {
        if (!ctx.isSet(option)) return ExitOk;
        const int index = choose(items, ctx.value(option));
        if (index < 0) return notOffered(option, items);
        const int value = valueIsItem && index > 0 ? items[index].toInt() : index;
        if (image.findSlot(n, m, b) == 0)
            return refuse(text(ToolText::NoSuchChannel, language()).arg(freq::bandName(b, m)).arg(n));
        // The channel window locks Roger and BUSY while Public is ON.
        if ((f == Field::RogerBeep || f == Field::Busy) &&
            channelrules::fieldValue(image.workChannels.at(m, image.findSlot(n, m, b), b), Field::Public) >=
                1 &&
            channelrules::fieldValue(image.workChannels.at(m, image.findSlot(n, m, b), b), f) != value)
            return refuse(text(ToolText::PublicLocks, language()));
        const FieldResult r = channelrules::setField(image, m, b, n, f, value);
        if (r == FieldResult::Refused) {
            if (f == Field::RepeaterShift) return refuse(text(ToolText::RepeaterNotInFamily, language()));
            return notOffered(option, items);
        }
        changed = changed || r == FieldResult::Changed;
        return ExitOk;
    }

    int run()
    {
        const int lang = language();
        if (ctx.isSet(QStringLiteral("valid"))) {
            const int on = choose(channelrules::onOffList(English), ctx.value(QStringLiteral("valid")));
            if (on < 0) return notOffered(QStringLiteral("valid"), channelrules::onOffList(English));
            const auto r = channelrules::setBandValid(image, m, b, on == 1);
            if (r == channelrules::BandSwitch::Refused)
                return refuse(text(ToolText::BandSwitchRefused, lang));
            changed = changed || r != channelrules::BandSwitch::Unchanged;
        }
        if (n == 0) return ExitOk;
        if (ctx.isSet(QStringLiteral("delete")) || ctx.isSet(QStringLiteral("rx"))) {
            const QString typed =
                ctx.isSet(QStringLiteral("delete")) ? QString() : ctx.value(QStringLiteral("rx"));
            if (typed.trimmed().isEmpty() && image.findSlot(n, m, b) == 0)
                return refuse(text(ToolText::NoSuchChannel, lang).arg(freq::bandName(b, m)).arg(n));
            const FrequencyResult r =
                channelrules::setChannelFrequency(image, m, b, n, 1, typed, &ctx.app.messenger);
            switch (r) {
            case FrequencyResult::OutOfRange:
            case FrequencyResult::BandFull:
            case FrequencyResult::NoSuchChannel:
                return ExitRefused; // the rule has said why
            case FrequencyResult::LastChannelKept:
                return refuse(text(ToolText::LastChannelKept, lang));
            default:
                changed = changed || channelrules::changesImage(r);
            }
        }
        if (ctx.isSet(QStringLiteral("tx"))) {
            const int slot = image.findSlot(n, m, b);
            if (slot == 0)
                return refuse(text(ToolText::NoSuchChannel, lang).arg(freq::bandName(b, m)).arg(n));
            // The transmit column clamps to the range (with its warning); the
            // value is kept in the data file and never sent to the radio.
            const freq::Range range = freq::parseRange(freq::rangeTextFor(m));
            const QString entry =
                freq::normalizeEntry(ctx.value(QStringLiteral("tx")), true, true, range, &ctx.app.messenger);
            FixedString<8> stored;
            stored.set(freq::storedFromText(entry, range.low));
            ChannelRecord& ch = image.workChannels.at(m, slot, b);
            if (freq::textFromStored(ch.txFreq.text(), range.low) !=
                freq::textFromStored(stored.text(), range.low)) {
                ch.txFreq = stored;
                changed = true;
            }
        }
        if (int s = field(QStringLiteral("tsq"), Field::ToneCode, channelrules::toneSquelchList())) return s;
        if (int s = field(QStringLiteral("rep"), Field::RepeaterShift, channelrules::repeaterList(English)))
            return s;
        if (int s = field(QStringLiteral("public"), Field::Public, channelrules::onOffList(English)))
            return s;
        if (int s = field(QStringLiteral("roger"), Field::RogerBeep,
                          channelrules::rogerList(image.work, English), true))
            return s;
        if (int s = field(QStringLiteral("busy"), Field::Busy, channelrules::onOffList(English))) return s;
        return ExitOk;
    }
};

int runSet(Context& ctx)
{
    const QString input = ctx.args.first();
    const QString output = ctx.value(QStringLiteral("output"), input);
    if (!isDataFileName(output))
        return ctx.usageError(QStringLiteral("the output must be a .dat file: %1").arg(output));
    bool channelPart = ctx.isSet(QStringLiteral("valid")) || ctx.isSet(QStringLiteral("family")) ||
                       ctx.isSet(QStringLiteral("band")) || ctx.isSet(QStringLiteral("channel"));
    for (const QString& o : ChannelOptions)
        channelPart = channelPart || ctx.isSet(o);
    const bool optionPart = ctx.isSet(QStringLiteral("option"));
    if (channelPart == optionPart)
        return ctx.usageError(optionPart
                                  ? QStringLiteral("--option is one change of its own")
                                  : QStringLiteral("nothing to set: give --option or a channel change"));
    if (ctx.isSet(QStringLiteral("delete")) && ctx.isSet(QStringLiteral("rx")))
        return ctx.usageError(QStringLiteral("--delete and --rx exclude each other"));

    int m = -1, b = 0, n = 0;
    if (channelPart) {
        m = imagetext::familyNumber(ctx.value(QStringLiteral("family")));
        if (m < 0) return ctx.usageError(QStringLiteral("--family must be 10M, HF or EU"));
        b = imagetext::bandNumberOf(ctx.value(QStringLiteral("band")), m);
        if (b == 0) {
            QStringList names;
            for (int k = 1; k <= BandCount; ++k)
                names.append(freq::bandName(k, m));
            return ctx.usageError(QStringLiteral("--band of %1 must be one of %2")
                                      .arg(imagetext::familyName(m), names.join(QStringLiteral(", "))));
        }
        const bool needsChannel =
            channelPart && !(ctx.isSet(QStringLiteral("valid")) && !ctx.isSet(QStringLiteral("channel")));
        if (needsChannel && (!ctx.intValue(QStringLiteral("channel"), 0, 1, n) || n < 1 || n > 40))
            return ctx.usageError(QStringLiteral("--channel must be a channel number 1 to 40"));
    }

    // Saving in place is the default; another pair must not end at the input's files.
    if (!sameFile(output, input) &&
        overwritesInput(datafile::savedFiles(output), datafile::savedFiles(input)))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    ctx.loadVersions();
    if (!checkDataOutput(ctx, output)) return ExitRefused;
    if (!loadDataFile(ctx, input)) return ExitRefused;
    checkChannelFile(ctx, input, false);
    RadioImage& image = ctx.app.image;

    bool changed = false;
    if (optionPart) {
        const QString assignment = ctx.value(QStringLiteral("option"));
        const int eq = assignment.indexOf(QLatin1Char('='));
        if (eq <= 0) return ctx.usageError(QStringLiteral("--option takes NAME=VALUE"));
        QString message;
        const auto r = imagetext::setOption(image, assignment.left(eq).trimmed(), assignment.mid(eq + 1),
                                            ctx.app.messenger.language(), &message);
        if (r == imagetext::OptionResult::UnknownName) {
            ctx.say(message);
            ctx.say(QStringLiteral("option features: ") +
                    imagetext::optionNames().join(QStringLiteral(", ")));
            return ExitRefused;
        }
        if (r == imagetext::OptionResult::NotOffered) {
            ctx.say(message);
            return ExitRefused;
        }
        changed = r == imagetext::OptionResult::Changed;
    } else {
        Edit edit{ctx, image, m, b, n};
        if (const int status = edit.run()) return status;
        changed = edit.changed;
    }
    if (!changed) {
        if (!ctx.quiet()) ctx.say(text(ToolText::NothingChanged, ctx.app.messenger.language()));
        return ExitOk;
    }
    return saveDataOutput(ctx, image, output);
}

} // namespace

Command setCommand()
{
    Command c;
    c.name = QStringLiteral("set");
    c.arguments = QStringLiteral("FILE.dat");
    c.summary = QStringLiteral("change one channel, band switch or option feature as the editor windows do");
    c.minArgs = 1;
    c.maxArgs = 1;
    auto value = [](const char* name, const char* valueName, const char* help) {
        return Option{QLatin1String(name), QLatin1String(valueName), QLatin1String(help)};
    };
    c.options = {
        Option{QStringLiteral("output"), QStringLiteral("OUT.dat"),
               QStringLiteral("where to save (default: FILE.dat itself)"), QStringLiteral("o")},
        value("family", "F", "range family: 10M, HF or EU"),
        value("band", "B", "band: A..H (10M, HF) or EU, UK, PL, DE1, DE2, IN, US, NZ"),
        value("channel", "N", "channel number 1..40"),
        value("rx", "MHZ", "receive frequency; adds the channel when it is free"),
        value("tx", "MHZ", "transmit frequency (kept in the file, not sent to the radio)"),
        value("tsq", "TEXT", "tone squelch: OFF, 67.0 .. 250.3, D023N .. D754N"),
        value("rep", "+|-|OFF", "repeater shift (10M and HF)"),
        value("roger", "N", "roger beep: OFF or a usable tone tip 1..8"),
        value("public", "ON|OFF", "public channel"),
        value("busy", "ON|OFF", "busy channel lock-out"),
        Option{QStringLiteral("delete"), QString(), QStringLiteral("delete the channel")},
        value("valid", "ON|OFF", "switch the band on or off (\"Group Valid\")"),
        value("option", "NAME=VALUE", "an option feature, e.g. MonSetting=5, BatteryMin=10.5"),
    };
    c.run = runSet;
    return c;
}

} // namespace mx::cli
