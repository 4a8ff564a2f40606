#include "data/ChannelCsv.h"

#include "data/ChannelRules.h"
#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "data/RadioData.h"
#include "texts/Texts.h"
#include "texts/ToolTexts.h"

#include <QList>
#include <QSet>

namespace mx::channelcsv {

namespace {

enum Column { Family, Band, Channel, InUse, Rx, Tx, Tsq, Rep, Roger, Public, Busy, HiCut, ColumnCount };

const char* const Header[ColumnCount] = {"family", "band", "channel", "in use", "rx MHz", "tx MHz",
                                         "TSQ",    "REP",  "Roger",   "Public", "BUSY",   "HI-CUT"};

QString quoted(const QString& cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')))
        return cell;
    QString q = cell;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString onOff(int value)
{
    if (value == 0 || value == 1) return channelrules::onOffList(English).at(value);
    return QString::number(value);
}

struct Row
{
    int line = 0;
    QStringList cells;
};

// Splits the text into rows of cells: commas between cells, double quotes
// around a cell that holds commas, quotes or line breaks ("" is one quote).
// Lines that hold nothing are skipped. False when a quote is left open.
bool parse(const QString& text, QList<Row>& rows, int& badLine)
{
    int line = 1;
    Row row{1, {}};
    QString cell;
    bool inQuotes = false, rowHasText = false;
    auto endRow = [&] {
        row.cells.append(cell);
        if (rowHasText || row.cells.size() > 1 || !cell.trimmed().isEmpty()) rows.append(row);
        row = Row{line, {}};
        cell.clear();
        rowHasText = false;
    };
    for (int k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (inQuotes) {
            if (c == u'"') {
                if (k + 1 < text.size() && text[k + 1] == u'"') {
                    cell += c;
                    ++k;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == u'\n') ++line;
                cell += c;
            }
        } else if (c == u'"') {
            inQuotes = true;
            rowHasText = true;
        } else if (c == u',') {
            row.cells.append(cell);
            cell.clear();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n') ++k;
            ++line;
            endRow();
        } else {
            cell += c;
        }
    }
    if (inQuotes) {
        badLine = row.line;
        return false;
    }
    if (!cell.isEmpty() || !row.cells.isEmpty()) endRow();
    return true;
}

// The index of text in items (any case, blanks around ignored); -1 when absent.
int indexIn(const QStringList& items, const QString& text)
{
    for (int k = 0; k < items.size(); ++k)
        if (text.trimmed().compare(items[k], Qt::CaseInsensitive) == 0) return k;
    return -1;
}

// Copies the working copy and the globals the channel rules use.
} // namespace

QStringList header()
{
    QStringList cells;
    for (const char* h : Header)
        cells.append(QLatin1String(h));
    return cells;
}

QByteArray exportChannels(const RadioImage& image)
{
    QString out = header().join(QLatin1Char(',')) + QStringLiteral("\r\n");
    const RadioDataRecord& rec = image.work;
    for (int m = 0; m < FamilyCount; ++m) {
        const double low = freq::parseRange(freq::rangeTextFor(m)).low;
        for (int b = 1; b <= BandCount; ++b) {
            const int count = qBound(0, int(rec.count(m, b)), SlotCount);
            for (int i = 1; i <= count; ++i) {
                const ChannelRecord& ch = image.workChannels.at(m, i, b);
                QStringList cells;
                cells << imagetext::familyName(m) << freq::bandName(b, m) << QString::number(ch.chNo)
                      << onOff(ch.inUse) << freq::textFromStored(ch.rxFreq.text(), low)
                      << freq::textFromStored(ch.txFreq.text(), low)
                      << channelrules::toneSquelchText(ch.toneCode)
                      << (ch.repeaterShift >= 0 && ch.repeaterShift <= 2
                              ? channelrules::repeaterList(English).at(ch.repeaterShift)
                              : QString::number(ch.repeaterShift))
                      << (ch.rogerBeep == 0 ? text(TextId::OffText, English) : QString::number(ch.rogerBeep))
                      << onOff(ch.publicFlag) << onOff(ch.busy) << onOff(ch.hiCut);
                for (QString& c : cells)
                    c = quoted(c);
                out += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
            }
        }
    }
    return out.toUtf8();
}

ImportResult importChannels(RadioImage& image, const QByteArray& csv, int language)
{
    ImportResult result;
    auto refuse = [&](int line, int column, const QString& reason) {
        result.line = line;
        result.column = column;
        const QString name = column >= 1 && column <= ColumnCount ? QString::fromLatin1(Header[column - 1])
                                                                  : QStringLiteral("…");
        result.message =
            column > 0 ? text(ToolText::CsvWhere, language).arg(line).arg(column).arg(name, reason) : reason;
        return result;
    };

    QString content = QString::fromUtf8(csv);
    if (content.startsWith(QChar(0xFEFF))) content.remove(0, 1);
    QList<Row> rows;
    int badLine = 0;
    if (!parse(content, rows, badLine)) return refuse(badLine, 1, text(ToolText::CsvQuote, language));
    if (rows.isEmpty()) return refuse(0, 0, text(ToolText::CsvEmpty, language));
    if (rows.first().cells.value(0).trimmed().compare(QLatin1String(Header[0]), Qt::CaseInsensitive) != 0)
        return refuse(rows.first().line, 1, text(ToolText::CsvHeader, language));

    RadioImage scratch;
    scratch.copyFrom(image);
    for (int m = 0; m < FamilyCount; ++m)
        for (int b = 1; b <= BandCount; ++b)
            scratch.work.count(m, b) = 0;
    bool hadChannel[FamilyCount] = {};
    for (int m = 0; m < FamilyCount; ++m)
        for (int b = 1; b <= BandCount; ++b)
            if (image.work.optFeat.bandValid(m, b) == 1 && image.countRegular(m, b) > 0) hadChannel[m] = true;

    QSet<int> seen; // (family, band, channel)
    const QStringList onOffs = channelrules::onOffList(language == English ? English : language);
    const QStringList onOffEn = channelrules::onOffList(English);
    auto onOffValue = [&](const QString& cell) {
        int v = indexIn(onOffEn, cell);
        return v >= 0 ? v : indexIn(onOffs, cell);
    };
    auto notOneOf = [&](const QString& cell, const QStringList& items) {
        return text(ToolText::CsvValue, language).arg(cell.trimmed(), items.join(QStringLiteral(", ")));
    };

    for (int r = 1; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const QStringList& c = row.cells;
        if (c.size() != ColumnCount)
            return refuse(row.line,
                          qMin(int(c.size()), int(ColumnCount)) + 1, // the first missing or extra one
                          text(ToolText::CsvColumns, language).arg(c.size()).arg(int(ColumnCount)));
        const int m = imagetext::familyNumber(c[Family]);
        if (m < 0)
            return refuse(row.line, Family + 1, text(ToolText::CsvFamily, language).arg(c[Family].trimmed()));
        const int b = imagetext::bandNumberOf(c[Band], m);
        if (b == 0)
            return refuse(row.line, Band + 1, text(ToolText::CsvBand, language).arg(c[Band].trimmed()));
        bool ok = false;
        const int n = c[Channel].trimmed().toInt(&ok);
        if (!ok || n < 1 || n > channelrules::RegularChannels)
            return refuse(row.line, Channel + 1, text(ToolText::CsvChannelNumber, language));
        if (scratch.work.count(m, b) >= SlotCount)
            return refuse(row.line, Channel + 1, text(ToolText::CsvBandFull, language));
        const int key = (m * 16 + b) * 64 + n;
        if (seen.contains(key))
            return refuse(row.line, Channel + 1, text(ToolText::CsvDuplicate, language).arg(n));
        seen.insert(key);

        int inUse = onOffValue(c[InUse]);
        if (inUse < 0) {
            const int v = c[InUse].trimmed().toInt(&ok);
            if (!ok) return refuse(row.line, InUse + 1, notOneOf(c[InUse], onOffEn));
            inUse = v;
        }
        const QString range = freq::rangeTextFor(m);
        if (c[Rx].trimmed().isEmpty())
            return refuse(row.line, Rx + 1, text(ToolText::CsvNoFrequency, language));
        if (!freq::isNumeric(c[Rx]))
            return refuse(row.line, Rx + 1,
                          text(ToolText::CsvFrequency, language).arg(c[Rx].trimmed(), range));
        const QString tx = c[Tx].trimmed();
        if (!tx.isEmpty() && !freq::isNumeric(tx))
            return refuse(row.line, Tx + 1, text(ToolText::CsvFrequency, language).arg(tx, range));
        const int tsq = indexIn(channelrules::toneSquelchList(), c[Tsq]);
        if (tsq < 0) return refuse(row.line, Tsq + 1, notOneOf(c[Tsq], channelrules::toneSquelchList()));
        const QStringList reps = channelrules::repeaterList(English);
        int rep = indexIn(reps, c[Rep]);
        if (rep < 0) rep = indexIn(channelrules::repeaterList(language), c[Rep]);
        if (rep < 0) return refuse(row.line, Rep + 1, notOneOf(c[Rep], reps));
        if (m == 2 && rep != 0)
            return refuse(row.line, Rep + 1, text(ToolText::RepeaterNotInFamily, language));
        const QStringList rogers = channelrules::rogerList(scratch.work, English);
        int roger = indexIn(rogers, c[Roger]);
        if (roger < 0) roger = indexIn(channelrules::rogerList(scratch.work, language), c[Roger]);
        if (roger < 0) return refuse(row.line, Roger + 1, notOneOf(c[Roger], rogers));
        const int rogerTip = roger == 0 ? 0 : rogers[roger].toInt();
        int flags[3];
        for (int f = 0; f < 3; ++f) {
            flags[f] = onOffValue(c[Public + f]);
            if (flags[f] < 0) return refuse(row.line, Public + f + 1, notOneOf(c[Public + f], onOffEn));
        }

        // A channel the data file already holds at this frequency stays as it is,
        // even off the family's range (the templates give every band a default
        // channel); any other is as if typed into the band's list.
        const int oldSlot = image.findSlot(n, m, b);
        const double low = freq::parseRange(range).low;
        const ChannelRecord* old = oldSlot > 0 ? &image.workChannels.at(m, oldSlot, b) : nullptr;
        if (old && freq::isNumeric(old->rxFreq.text()) &&
            qAbs(freq::toDouble(freq::textFromStored(old->rxFreq.text(), low)) - freq::toDouble(c[Rx])) <
                1e-7) {
            scratch.addChannel(n, m, b, freq::textFromStored(old->rxFreq.text(), low));
            ChannelRecord& kept = scratch.workChannels.at(m, scratch.findSlot(n, m, b), b);
            kept.rxFreq = old->rxFreq;
            kept.txFreq = old->txFreq;
            scratch.fixWorkChannel(m, b);
        } else if (channelrules::setChannelFrequency(scratch, m, b, n, 1, c[Rx], nullptr) !=
                   channelrules::FrequencyResult::Added) {
            return refuse(row.line, Rx + 1,
                          text(ToolText::CsvFrequency, language).arg(c[Rx].trimmed(), range));
        }
        using channelrules::Field;
        channelrules::setField(scratch, m, b, n, Field::ToneCode, tsq);
        if (m != 2) channelrules::setField(scratch, m, b, n, Field::RepeaterShift, rep);
        channelrules::setField(scratch, m, b, n, Field::RogerBeep, rogerTip);
        channelrules::setField(scratch, m, b, n, Field::Public, flags[0]);
        channelrules::setField(scratch, m, b, n, Field::Busy, flags[1]);
        channelrules::setField(scratch, m, b, n, Field::HiCut, flags[2]);
        ChannelRecord& ch = scratch.workChannels.at(m, scratch.findSlot(n, m, b), b);
        ch.inUse = qint16(inUse);
        if (!tx.isEmpty()) {
            // The transmit column is clamped to the range, never refused.
            const QString entry = freq::normalizeEntry(tx, true, false, freq::parseRange(range));
            const double lowOf = freq::parseRange(range).low;
            if (freq::textFromStored(ch.txFreq.text(), lowOf) !=
                freq::textFromStored(freq::storedFromText(entry, lowOf), lowOf))
                ch.txFreq.set(freq::storedFromText(entry, lowOf));
        }
    }

    for (int m = 0; m < FamilyCount; ++m) {
        bool any = false;
        for (int b = 1; b <= BandCount; ++b) {
            // Adding the rows one by one moved the work channel along; it stays
            // where it was when that channel is still there.
            scratch.work.optFeat.workChannel(m, b) = image.work.optFeat.workChannel(m, b);
            scratch.fixWorkChannel(m, b);
            if (scratch.work.optFeat.bandValid(m, b) == 1 && scratch.countRegular(m, b) > 0) any = true;
        }
        // As in the channel list: the family's last channel in its enabled bands stays.
        if (hadChannel[m] && !any)
            return refuse(0, 0, text(ToolText::NoChannelLeft, language).arg(imagetext::familyName(m)));
        channelrules::fixWorkBand(scratch, m);
    }

    image.work = scratch.work;
    image.workChannels = scratch.workChannels;
    result.ok = true;
    return result;
}

} // namespace mx::channelcsv
