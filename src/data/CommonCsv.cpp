#include "data/CommonCsv.h"

#include "data/ChannelCsv.h"
#include "data/ChannelRules.h"
#include "data/CsvText.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "texts/TableTexts.h"
#include "texts/Texts.h"
#include "texts/ToolTexts.h"

#include <QHash>

#include <algorithm>

namespace mx::commoncsv {

namespace {

enum Column {
    Location,
    Name,
    Frequency,
    Duplex,
    Offset,
    Tone,
    RToneFreq,
    CToneFreq,
    DtcsCode,
    DtcsPolarity,
    Mode,
    TStep,
    Skip,
    Comment,
    UrCall,
    Rpt1Call,
    Rpt2Call,
    DvCode,
    ColumnCount
};

const char* const Header[ColumnCount] = {
    "Location",     "Name", "Frequency", "Duplex", "Offset",  "Tone",   "rToneFreq", "cToneFreq", "DtcsCode",
    "DtcsPolarity", "Mode", "TStep",     "Skip",   "Comment", "URCALL", "RPT1CALL",  "RPT2CALL",  "DVCODE"};

// The columns a header line names, by their place (-1: not there).
QList<int> placesOf(const QStringList& cells)
{
    QList<int> places(ColumnCount, -1);
    for (int k = 0; k < cells.size(); ++k)
        for (int c = 0; c < ColumnCount; ++c)
            if (places[c] < 0 &&
                cells[k].trimmed().compare(QLatin1String(Header[c]), Qt::CaseInsensitive) == 0)
                places[c] = k;
    return places;
}

} // namespace

bool isCommonLayout(const QByteArray& csv)
{
    // A list beyond the size limit is refused as such, whatever its layout.
    if (csv.size() > channelcsv::MaxListBytes) return false;
    QList<csvtext::Row> rows;
    csvtext::splitList(csv.left(4096), rows); // the header is the first line
    if (rows.isEmpty()) return false;
    const QList<int> places = placesOf(rows.first().cells);
    return places[Location] >= 0 && places[Frequency] >= 0;
}

QByteArray exportChannels(const RadioImage& image, int m, int b)
{
    QString out = csvtext::line(csvtext::names(Header));
    if (m < 0 || m >= FamilyCount) return out.toUtf8();
    const QString offset = freq::formatFixed(image.work.optFeat[Opt::REPOffsetKHz] / 1000.0, 6);
    int location = 1;
    for (int band = 1; band <= BandCount; ++band) {
        if (b != 0 && band != b) continue;
        QList<const ChannelRecord*> channels;
        const int used = image.work.usedSlots(m, band);
        for (int i = 1; i <= used; ++i)
            channels.append(&image.workChannels.at(m, i, band));
        std::stable_sort(channels.begin(), channels.end(),
                         [](const ChannelRecord* x, const ChannelRecord* y) { return x->chNo < y->chNo; });
        for (const ChannelRecord* ch : std::as_const(channels)) {
            const QString shown = freq::listedFrequency(ch->rxFreq.text(), m, band);
            QStringList cells(ColumnCount);
            cells[Location] = QString::number(location++);
            cells[Name] = freq::channelLabel(m, band, ch->chNo);
            cells[Frequency] = freq::formatFixed(freq::toDouble(shown), 6);
            const int shift = m == 2 ? 0 : ch->repeaterShift;
            cells[Duplex] = shift == 1 ? QStringLiteral("+") : shift == 2 ? QStringLiteral("-") : QString();
            cells[Offset] = cells[Duplex].isEmpty() ? QStringLiteral("0.000000") : offset;
            const QString tone = channelrules::toneSquelchText(ch->toneCode);
            cells[RToneFreq] = cells[CToneFreq] = QStringLiteral("0.0");
            cells[DtcsCode] = QStringLiteral("000");
            cells[DtcsPolarity] = QStringLiteral("NN");
            if (ch->toneCode >= 1 && freq::isNumeric(tone)) {
                cells[Tone] = QStringLiteral("TSQL");
                cells[RToneFreq] = cells[CToneFreq] = tone;
            } else if (tone.startsWith(QLatin1Char('D'))) {
                cells[Tone] = QStringLiteral("DTCS");
                cells[DtcsCode] = tone.mid(1, 3);
            }
            cells[Mode] = QStringLiteral("FM");
            cells[TStep] = QStringLiteral("5.00");
            out += csvtext::line(cells);
        }
    }
    return out.toUtf8();
}

ImportResult importChannels(RadioImage& image, const QByteArray& csv, int m, int b, int language)
{
    ImportResult result;
    QStringList names;
    auto refuse = [&](int line, int place, const QString& reason) {
        result.line = line;
        result.column = place + 1;
        result.message = place >= 0 ? text(ToolText::CsvWhere, language)
                                          .arg(line)
                                          .arg(place + 1)
                                          .arg(names.value(place, QStringLiteral("…")).trimmed(), reason)
                                    : reason;
        // What the list holds reaches the terminal or a message box with its control characters escaped.
        result.message = printable(result.message);
        return result;
    };
    if (m < 0 || m >= FamilyCount || b < 1 || b > BandCount)
        return refuse(0, -1, text(ToolText::CsvBand, language).arg(b));

    QList<csvtext::Row> rows;
    int badLine = 0;
    if (!csvtext::splitList(csv, rows, &badLine))
        return refuse(badLine, 0, text(ToolText::CsvQuote, language));
    if (rows.size() < 2) return refuse(0, -1, text(ToolText::CsvEmpty, language));
    names = rows.takeFirst().cells;
    const QList<int> place = placesOf(names);
    for (Column c : {Location, Frequency})
        if (place[c] < 0)
            return refuse(1, -1, tableText(TableText::MissingColumn, language).arg(QLatin1String(Header[c])));
    auto cell = [&](const csvtext::Row& row, Column c) { return row.cells.value(place[c]).trimmed(); };

    // Channels are numbered in Location order.
    QHash<int, int> lineOfLocation;
    QList<std::pair<int, const csvtext::Row*>> ordered;
    for (const csvtext::Row& row : std::as_const(rows)) {
        bool ok = false;
        const int location = cell(row, Location).toInt(&ok);
        if (!ok)
            return refuse(row.line, place[Location],
                          tableText(TableText::NotLocation, language).arg(cell(row, Location)));
        if (lineOfLocation.contains(location))
            return refuse(row.line, place[Location],
                          tableText(TableText::LocationTwice, language).arg(location));
        lineOfLocation.insert(location, row.line);
        ordered.append({location, &row});
    }
    std::sort(ordered.begin(), ordered.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    if (ordered.size() > channelrules::RegularChannels) {
        const csvtext::Row& extra = *ordered[channelrules::RegularChannels].second;
        return refuse(extra.line, place[Location], tableText(TableText::TooMany, language));
    }

    // The band's channels as they were, by number: a number taken again keeps its other settings.
    QHash<int, ChannelRecord> old;
    for (int i = 1; i <= image.work.usedSlots(m, b); ++i)
        old.insert(image.workChannels.at(m, i, b).chNo, image.workChannels.at(m, i, b));
    RadioImage scratch;
    scratch.copyFrom(image);
    scratch.work.count(m, b) = 0;
    const QString range = freq::rangeTextFor(m);
    const double low = freq::parseRange(range).low;

    for (int k = 0; k < ordered.size(); ++k) {
        const csvtext::Row& row = *ordered[k].second;
        const int n = k + 1;
        const QString frequency = cell(row, Frequency);
        if (frequency.isEmpty())
            return refuse(row.line, place[Frequency], text(ToolText::CsvNoFrequency, language));

        int shift = 0;
        const QString duplex = place[Duplex] >= 0 ? cell(row, Duplex) : QString();
        if (duplex == QLatin1String("+") || duplex == QLatin1String("-")) {
            if (m == 2) return refuse(row.line, place[Duplex], text(ToolText::RepeaterNotInFamily, language));
            shift = duplex == QLatin1String("+") ? 1 : 2;
        } else if (!duplex.isEmpty()) {
            return refuse(row.line, place[Duplex], tableText(TableText::DuplexRefused, language).arg(duplex));
        }

        int tone = 0;
        const QString mode = place[Tone] >= 0 ? cell(row, Tone) : QString();
        if (mode.compare(QLatin1String("Tone"), Qt::CaseInsensitive) == 0 ||
            mode.compare(QLatin1String("TSQL"), Qt::CaseInsensitive) == 0) {
            // A list with one of the two tone columns uses it for both.
            const Column wanted =
                mode.compare(QLatin1String("Tone"), Qt::CaseInsensitive) == 0 ? RToneFreq : CToneFreq;
            const Column c = place[wanted] >= 0 ? wanted : wanted == RToneFreq ? CToneFreq : RToneFreq;
            if (place[c] < 0)
                return refuse(
                    1, -1, tableText(TableText::MissingColumn, language).arg(QLatin1String(Header[wanted])));
            tone = channelrules::ctcssIndex(cell(row, c));
            if (tone < 0)
                return refuse(row.line, place[c],
                              tableText(TableText::ToneNotInList, language).arg(cell(row, c)));
        } else if (mode.compare(QLatin1String("DTCS"), Qt::CaseInsensitive) == 0) {
            if (place[DtcsCode] < 0)
                return refuse(1, -1,
                              tableText(TableText::MissingColumn, language).arg(QLatin1String("DtcsCode")));
            // The first letter is the transmit polarity; the list holds normal ones only.
            const QString polarity = place[DtcsPolarity] >= 0 ? cell(row, DtcsPolarity).toUpper() : QString();
            if (polarity.startsWith(QLatin1Char('R')))
                return refuse(row.line, place[DtcsPolarity],
                              tableText(TableText::ReversedCode, language).arg(cell(row, DtcsPolarity)));
            if (!polarity.isEmpty() && polarity != QLatin1String("NN") && polarity != QLatin1String("NR"))
                return refuse(row.line, place[DtcsPolarity],
                              text(ToolText::CsvValue, language)
                                  .arg(cell(row, DtcsPolarity), QStringLiteral("NN, NR")));
            const QString code = cell(row, DtcsCode);
            bool digits = !code.isEmpty() && code.size() <= 3;
            for (QChar c : code)
                digits = digits && c >= u'0' && c <= u'7';
            const QString item = QStringLiteral("D%1N").arg(code, 3, QLatin1Char('0'));
            tone = digits ? int(channelrules::toneSquelchList().indexOf(item)) : -1;
            if (tone < 0)
                return refuse(row.line, place[DtcsCode],
                              tableText(TableText::ToneNotInList, language).arg(code));
        } else if (!mode.isEmpty()) {
            return refuse(row.line, place[Tone], tableText(TableText::ToneModeRefused, language).arg(mode));
        }

        if (channelrules::setChannelFrequency(scratch, m, b, n, 1, frequency, nullptr) !=
            channelrules::FrequencyResult::Added)
            return refuse(row.line, place[Frequency],
                          text(ToolText::CsvFrequency, language).arg(frequency, range));
        ChannelRecord& ch = scratch.workChannels.at(m, scratch.findSlot(n, m, b), b);
        if (const auto kept = old.constFind(n); kept != old.constEnd()) {
            const FixedString<8> rx = ch.rxFreq;
            const bool sameFrequency =
                freq::textFromStored(kept->rxFreq.text(), low) == freq::textFromStored(rx.text(), low);
            ch = *kept;
            if (!sameFrequency) ch.rxFreq = rx; // the transmit frequency stays, as in the channel window
        }
        ch.toneCode = qint16(tone);
        if (m != 2) ch.repeaterShift = qint16(shift);

        const QString name = place[Name] >= 0 ? cell(row, Name) : QString();
        const QString rowMode = place[Mode] >= 0 ? cell(row, Mode).toUpper() : QString();
        if ((!name.isEmpty() && name != freq::channelLabel(m, b, n)) ||
            (!rowMode.isEmpty() && rowMode != QLatin1String("FM") && rowMode != QLatin1String("AM")))
            ++result.notKept;
    }

    // Adding the rows one by one moved the work channel along; it stays where
    // it was when that channel is still there.
    scratch.work.optFeat.workChannel(m, b) = image.work.optFeat.workChannel(m, b);
    scratch.fixWorkChannel(m, b);
    channelrules::fixWorkBand(scratch, m);
    image.work = scratch.work;
    image.workChannels = scratch.workChannels;
    result.ok = true;
    result.channels = int(ordered.size());
    return result;
}

} // namespace mx::commoncsv
