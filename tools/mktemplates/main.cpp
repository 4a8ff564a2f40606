// mktemplates DEFINITIONS OUTDIR
//
// Builds the Init templates from their readable definitions: for every range
// family a new-image template <family>_<model>_New.dat/.fre and an initialise
// template <family>_<model>.dat/.fre, with the same content. Each template
// starts from the built-in defaults of its family; the definitions replace
// the channels of the bands they name. Any error in the definitions stops the
// build with the file name and line number.

#include "data/DataFile.h"
#include "data/Defaults.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

struct Channel
{
    int number = 0;
    qint64 hz = 0;
};

struct BandDef
{
    int band = 0;
    QList<Channel> channels;
    int line = 0;
};

struct FamilyDef
{
    int family = 0;
    std::optional<int> currentBand;
    QList<BandDef> bands;
};

struct Definitions
{
    QString model = QStringLiteral("MX806");
    QDate date;
    QList<FamilyDef> families;
};

class DefinitionError
{
public:
    DefinitionError(int line, QString message) : line(line), message(std::move(message)) {}
    int line;
    QString message;
};

// "26.965" -> 26965000 Hz; at most six decimals, no exponent.
std::optional<qint64> parseMHz(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,3})(?:\\.(\\d{1,6}))?$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QString decimals = m.captured(2).leftJustified(6, QLatin1Char('0'));
    return m.captured(1).toLongLong() * 1000000 + decimals.toLongLong();
}

std::optional<int> parseInt(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// One channel line: "CH MHZ" or "FIRST-LAST MHZ STEP", shifted by offsetHz.
QList<Channel> parseChannelLine(const QStringList& words, int line, qint64 offsetHz = 0)
{
    static const QRegularExpression rangeRe(QStringLiteral("^(\\d+)(?:-(\\d+))?$"));
    const auto m = rangeRe.match(words.value(0));
    if (!m.hasMatch())
        throw DefinitionError(
            line, QStringLiteral("expected a channel number or range, got \"%1\"").arg(words.value(0)));
    const int first = m.captured(1).toInt();
    const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
    const bool isRange = !m.captured(2).isEmpty();
    if (words.size() != (isRange ? 3 : 2))
        throw DefinitionError(line, isRange ? QStringLiteral("a channel range needs FIRST-LAST MHZ STEP")
                                            : QStringLiteral("a channel needs CH MHZ"));
    if (first < 1 || last > mx::SlotCount || last < first)
        throw DefinitionError(line, QStringLiteral("channel numbers must lie in 1..40"));
    const auto start = parseMHz(words[1]);
    if (!start) throw DefinitionError(line, QStringLiteral("not a frequency: \"%1\"").arg(words[1]));
    qint64 stepHz = 0;
    if (isRange) {
        const auto step = parseInt(words[2]);
        if (!step || *step <= 0)
            throw DefinitionError(line, QStringLiteral("not a step in kHz: \"%1\"").arg(words[2]));
        stepHz = qint64(*step) * 1000;
    }
    QList<Channel> out;
    for (int n = first; n <= last; ++n)
        out.append({n, *start + (n - first) * stepHz + offsetHz});
    return out;
}

Definitions parseDefinitions(const QString& text)
{
    Definitions defs;
    QMap<QString, QList<Channel>> plans;
    QString openPlan;
    FamilyDef* family = nullptr;
    BandDef* band = nullptr;

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = lines[i];
        const int hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0) line.truncate(hash);
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        const QString& key = words[0];

        if (!openPlan.isEmpty()) {
            if (key == QLatin1String("end") && words.size() == 1)
                openPlan.clear();
            else
                plans[openPlan] += parseChannelLine(words, lineNo);
            continue;
        }
        if (key == QLatin1String("model") && words.size() == 2) {
            defs.model = words[1];
        } else if (key == QLatin1String("date") && words.size() == 2) {
            defs.date = QDate::fromString(words[1], QStringLiteral("yyyyMMdd"));
            if (!defs.date.isValid())
                throw DefinitionError(lineNo, QStringLiteral("not a date yyyyMMdd: \"%1\"").arg(words[1]));
        } else if (key == QLatin1String("plan") && words.size() == 2) {
            if (plans.contains(words[1]))
                throw DefinitionError(lineNo, QStringLiteral("plan \"%1\" defined twice").arg(words[1]));
            openPlan = words[1];
            plans[openPlan] = {};
            band = nullptr;
        } else if (key == QLatin1String("family") && words.size() == 2) {
            const auto m = parseInt(words[1]);
            if (!m || *m < 0 || *m >= mx::FamilyCount)
                throw DefinitionError(lineNo, QStringLiteral("range family must be 0..2"));
            for (const FamilyDef& f : std::as_const(defs.families))
                if (f.family == *m)
                    throw DefinitionError(lineNo, QStringLiteral("family %1 defined twice").arg(*m));
            defs.families.append(FamilyDef{*m, std::nullopt, {}});
            family = &defs.families.last();
            band = nullptr;
        } else if (key == QLatin1String("currentBand") && words.size() == 2) {
            const auto b = parseInt(words[1]);
            if (!family) throw DefinitionError(lineNo, QStringLiteral("currentBand outside a family"));
            if (!b || *b < 1 || *b > mx::BandCount)
                throw DefinitionError(lineNo, QStringLiteral("band must be 1..8"));
            family->currentBand = *b;
        } else if (key == QLatin1String("band") && words.size() >= 3 && words.size() <= 5) {
            if (!family) throw DefinitionError(lineNo, QStringLiteral("band outside a family"));
            const auto b = parseInt(words[1]);
            if (!b || *b < 1 || *b > mx::BandCount)
                throw DefinitionError(lineNo, QStringLiteral("band must be 1..8"));
            const QString expected = mx::freq::bandName(*b, family->family);
            if (words[2] != expected)
                throw DefinitionError(lineNo,
                                      QStringLiteral("band %1 of family %2 is named \"%3\", not \"%4\"")
                                          .arg(*b)
                                          .arg(family->family)
                                          .arg(expected, words[2]));
            for (const BandDef& d : std::as_const(family->bands))
                if (d.band == *b)
                    throw DefinitionError(lineNo, QStringLiteral("band %1 defined twice").arg(*b));
            family->bands.append(BandDef{*b, {}, lineNo});
            band = &family->bands.last();
            if (words.size() >= 4) {
                if (!plans.contains(words[3]))
                    throw DefinitionError(lineNo, QStringLiteral("unknown plan \"%1\"").arg(words[3]));
                qint64 offsetHz = 0;
                if (words.size() == 5) {
                    const auto off = parseInt(words[4]);
                    if (!off)
                        throw DefinitionError(lineNo,
                                              QStringLiteral("not an offset in kHz: \"%1\"").arg(words[4]));
                    offsetHz = qint64(*off) * 1000;
                }
                for (Channel c : plans.value(words[3])) {
                    c.hz += offsetHz;
                    band->channels.append(c);
                }
            }
        } else if (band && key.front().isDigit()) {
            band->channels += parseChannelLine(words, lineNo);
        } else {
            throw DefinitionError(lineNo, QStringLiteral("cannot read \"%1\"").arg(line.simplified()));
        }
    }
    if (!openPlan.isEmpty())
        throw DefinitionError(lines.size(), QStringLiteral("plan \"%1\" has no end").arg(openPlan));
    if (!defs.date.isValid()) throw DefinitionError(lines.size(), QStringLiteral("no creation date given"));
    return defs;
}

// "26.965000": the frequency text that the channel store turns into 26965000.
QString frequencyText(qint64 hz)
{
    return QStringLiteral("%1.%2")
        .arg(hz / 1000000, 2, 10, QLatin1Char('0'))
        .arg(hz % 1000000, 6, 10, QLatin1Char('0'));
}

// Checks a band's channels and puts them in channel-number order.
void checkBand(BandDef& band, int family)
{
    const mx::freq::Range range = mx::freq::parseRange(mx::freq::rangeTextFor(family));
    const qint64 lowHz = qRound64(range.low * 1e6);
    const qint64 highHz = qRound64(range.high * 1e6);
    std::stable_sort(band.channels.begin(), band.channels.end(),
                     [](const Channel& a, const Channel& b) { return a.number < b.number; });
    for (int k = 0; k < band.channels.size(); ++k) {
        const Channel& c = band.channels[k];
        if (k > 0 && band.channels[k - 1].number == c.number)
            throw DefinitionError(band.line, QStringLiteral("channel %1 given twice").arg(c.number));
        if (c.hz < lowHz || c.hz > highHz)
            throw DefinitionError(band.line, QStringLiteral("channel %1 (%2 MHz) lies outside %3")
                                                 .arg(c.number)
                                                 .arg(frequencyText(c.hz), mx::freq::rangeTextFor(family)));
        if ((c.hz - lowHz) % 5000 != 0)
            throw DefinitionError(band.line, QStringLiteral("channel %1 (%2 MHz) is off the 5 kHz grid")
                                                 .arg(c.number)
                                                 .arg(frequencyText(c.hz)));
    }
    if (band.channels.isEmpty())
        throw DefinitionError(band.line, QStringLiteral("band %1 has no channels").arg(band.band));
}

// The image of one family's template: built-in defaults with the family's
// range, then the defined bands.
void buildImage(mx::RadioImage& image, FamilyDef& def, const Definitions& defs)
{
    const int m = def.family;
    image.modelCode = defs.model;
    image.setRangeFamily(m); // the model block's default range family follows the range text
    mx::defaults::applyBuiltIn(image, defs.date);
    image.setRangeFamily(m);
    image.work.rangeMode = qint16(m);
    image.work.model.defaultRange = qint16(m);
    if (def.currentBand) image.work.currentBand[m] = qint16(*def.currentBand);
    for (BandDef& band : def.bands) {
        checkBand(band, m);
        const int b = band.band;
        image.work.count(m, b) = 0;
        for (const Channel& c : std::as_const(band.channels))
            image.addChannel(c.number, m, b, frequencyText(c.hz));
        image.work.optFeat.bandValid(m, b) = 1;
        image.work.currentChannel[mx::bandIndex(m, b)] = qint16(band.channels.first().number);
        image.work.optFeat.workChannel(m, b) = qint16(band.channels.first().number);
    }
    image.copyWorkToStaging();
}

bool writeFile(const QString& path, const QByteArray& bytes, QTextStream& err)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err << "mktemplates: cannot write " << path << ": " << file.errorString() << Qt::endl;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: mktemplates DEFINITIONS OUTDIR" << Qt::endl;
        return 1;
    }
    const QString defsPath = args[1];
    QFile in(defsPath);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "mktemplates: cannot read " << defsPath << ": " << in.errorString() << Qt::endl;
        return 1;
    }
    const QString text = QString::fromUtf8(in.readAll());

    try {
        Definitions defs = parseDefinitions(text);
        QDir out(args[2]);
        if (!out.mkpath(QStringLiteral("."))) {
            err << "mktemplates: cannot create " << args[2] << Qt::endl;
            return 1;
        }
        for (FamilyDef& def : defs.families) {
            mx::RadioImage image;
            buildImage(image, def, defs);
            const QByteArray record = mx::datafile::encodeRecord(image.staging);
            const QByteArray channels = mx::datafile::encodeChannels(image.staging, image.stagingChannels);
            for (const QString& suffix : {QStringLiteral("_New"), QString()}) {
                const QString base =
                    out.filePath(QStringLiteral("%1_%2%3").arg(def.family).arg(defs.model, suffix));
                if (!writeFile(base + QStringLiteral(".dat"), record, err) ||
                    !writeFile(base + QStringLiteral(".fre"), channels, err))
                    return 1;
            }
        }
    } catch (const DefinitionError& e) {
        err << defsPath << ':' << e.line << ": " << e.message << Qt::endl;
        return 1;
    }
    return 0;
}
