#include "data/ChannelCsv.h"

#include "data/ChannelRules.h"
#include "data/CsvText.h"
#include "data/FileWrite.h"
#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "data/RadioData.h"
#include "texts/Texts.h"
#include "texts/ToolTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>

#include <algorithm>
#include <cerrno>

namespace mx::channelcsv {

namespace {

enum Column { Family, Band, Channel, InUse, Rx, Tx, Tsq, Rep, Roger, Public, Busy, HiCut, ColumnCount };

const char* const Header[ColumnCount] = {"family", "band", "channel", "in use", "rx MHz", "tx MHz",
                                         "TSQ",    "REP",  "Roger",   "Public", "BUSY",   "HI-CUT"};

QString onOff(int value)
{
    if (value == 0 || value == 1) return channelrules::onOffList(English).at(value);
    return QString::number(value);
}

// A stored frequency as its cell: the number for digits, "" for a transmit
// frequency left blank, otherwise "#" and the stored characters (controls
// as \xHH), which only a channel holding exactly them takes back.
QString frequencyCell(const FixedString<8>& stored, bool blankAllowed)
{
    const QString t = stored.text();
    if (!t.isEmpty() && std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return freq::textFromStored(t, 0.0);
    QByteArray raw = stored.raw();
    while (!raw.isEmpty() && raw.back() == ' ')
        raw.chop(1);
    if (raw.isEmpty() && blankAllowed) return {};
    return QLatin1Char('#') + printable(QString::fromLatin1(raw));
}

// The cells of a channel of band (m, b), as export writes them.
QStringList cellsOf(int m, int b, const ChannelRecord& ch)
{
    const QString tsq = channelrules::toneSquelchText(ch.toneCode);
    return {imagetext::familyName(m),
            freq::bandName(b, m),
            QString::number(ch.chNo),
            onOff(ch.inUse),
            frequencyCell(ch.rxFreq, false),
            frequencyCell(ch.txFreq, true),
            tsq.isEmpty() ? QString::number(ch.toneCode) : tsq,
            ch.repeaterShift >= 0 && ch.repeaterShift <= 2
                ? channelrules::repeaterList(English).at(ch.repeaterShift)
                : QString::number(ch.repeaterShift),
            ch.rogerBeep == 0 ? text(TextId::OffText, English) : QString::number(ch.rogerBeep),
            onOff(ch.publicFlag),
            onOff(ch.busy),
            onOff(ch.hiCut)};
}

// A cell that names the frequency a channel stores as digits, however many decimals it is written with.
bool sameFrequency(const QString& cell, const FixedString<8>& stored)
{
    const QString t = stored.text();
    return freq::isNumeric(cell) && !frequencyCell(stored, false).startsWith(QLatin1Char('#')) &&
           qAbs(freq::toDouble(cell) - freq::toDouble(freq::textFromStored(t, 0.0))) < 1e-7;
}

// The index of text in items (any case, blanks around ignored); -1 when absent.
int indexIn(const QStringList& items, const QString& text)
{
    for (int k = 0; k < items.size(); ++k)
        if (text.trimmed().compare(items[k], Qt::CaseInsensitive) == 0) return k;
    return -1;
}

// The channel numbers of band (m, b) in slot order.
QList<qint16> numbersOf(const RadioImage& image, int m, int b)
{
    QList<qint16> numbers;
    for (int i = 1; i <= image.work.usedSlots(m, b); ++i)
        numbers.append(image.workChannels.at(m, i, b).chNo);
    return numbers;
}

} // namespace

QStringList header()
{
    return csvtext::names(Header);
}

QString readList(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    const QFileInfo info(path);
    if (!info.exists()) return filewrite::systemReason(ENOENT);
    if (!info.isFile()) return filewrite::refusal(path); // a FIFO would wait for a writer without end
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    bytes = file.read(MaxListBytes + 1);
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return {};
}

QByteArray exportChannels(const RadioImage& image)
{
    QString out = csvtext::line(header());
    const RadioDataRecord& rec = image.work;
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int count = rec.usedSlots(m, b);
            for (int i = 1; i <= count; ++i)
                out += csvtext::line(cellsOf(m, b, image.workChannels.at(m, i, b)));
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
    // No radio holds a list this long: refused before any of it is parsed.
    if (csv.size() > MaxListBytes)
        return refuse(0, 0, text(ToolText::CsvTooLarge, language).arg(MaxListBytes >> 20));

    QList<csvtext::Row> rows;
    int badLine = 0;
    if (!csvtext::splitList(csv, rows, &badLine))
        return refuse(badLine, 1, text(ToolText::CsvQuote, language));
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

    QHash<qint64, int> rowsOf; // rows so far of each (family, band, channel number)
    const QStringList onOffs = channelrules::onOffList(language);
    const QStringList onOffEn = channelrules::onOffList(English);
    auto onOffValue = [&](const QString& cell) {
        int v = indexIn(onOffEn, cell);
        return v >= 0 ? v : indexIn(onOffs, cell);
    };
    auto notOneOf = [&](const QString& cell, const QStringList& items) {
        return text(ToolText::CsvValue, language)
            .arg(printable(cell.trimmed()), items.join(QStringLiteral(", ")));
    };

    for (int r = 1; r < rows.size(); ++r) {
        const csvtext::Row& row = rows[r];
        const QStringList& c = row.cells;
        if (c.size() != ColumnCount)
            return refuse(row.line,
                          qMin(int(c.size()), int(ColumnCount)) + 1, // the first missing or extra one
                          text(ToolText::CsvColumns, language).arg(c.size()).arg(int(ColumnCount)));
        const int m = imagetext::familyNumber(c[Family]);
        if (m < 0)
            return refuse(row.line, Family + 1,
                          text(ToolText::CsvFamily, language).arg(printable(c[Family].trimmed())));
        const int b = imagetext::bandNumberOf(c[Band], m);
        if (b == 0)
            return refuse(row.line, Band + 1,
                          text(ToolText::CsvBand, language).arg(printable(c[Band].trimmed())));
        bool ok = false;
        const int n = c[Channel].trimmed().toInt(&ok);
        if (!ok || n < -32768 || n > 32767)
            return refuse(row.line, Channel + 1, text(ToolText::CsvChannelNumber, language));

        // The k-th row of a number stands for the band's k-th channel of that number.
        const int k = ++rowsOf[(qint64(m) * 16 + b) * 0x20000 + n + 0x10000];
        const ChannelRecord* old = nullptr;
        for (int i = 1, seen = 0; i <= image.work.usedSlots(m, b) && !old; ++i)
            if (image.workChannels.at(m, i, b).chNo == n && ++seen == k)
                old = &image.workChannels.at(m, i, b);
        if (!old && (n < 1 || n > channelrules::RegularChannels))
            return refuse(row.line, Channel + 1, text(ToolText::CsvChannelNumber, language));
        if (scratch.work.count(m, b) >= SlotCount)
            return refuse(row.line, Channel + 1, text(ToolText::CsvBandFull, language));
        if (!old && k > 1)
            return refuse(row.line, Channel + 1, text(ToolText::CsvDuplicate, language).arg(n));
        // A cell as export writes the channel's own value keeps that value, whatever the rules say.
        const QStringList was = old ? cellsOf(m, b, *old) : QStringList();
        auto kept = [&](int column) { return old && c[column].trimmed() == was[column]; };

        const QString range = freq::rangeTextFor(m);
        const freq::Range limits = freq::parseRange(range);
        auto notFrequency = [&](int column) {
            return refuse(row.line, column + 1,
                          text(ToolText::CsvFrequency, language).arg(printable(c[column].trimmed()), range));
        };
        const QString rx = c[Rx].trimmed();
        ChannelRecord ch;
        if (old && (kept(Rx) || sameFrequency(rx, old->rxFreq))) {
            ch = *old;
        } else {
            // As if typed into the band's list: on the 5 kHz grid, inside the family's range.
            if (rx.isEmpty()) return refuse(row.line, Rx + 1, text(ToolText::CsvNoFrequency, language));
            const QString entry =
                freq::isNumeric(rx) ? freq::normalizeEntry(rx, false, false, limits) : QString();
            if (entry.isEmpty()) return notFrequency(Rx);
            RadioImage added; // the channel a new row adds, with the defaults of the channel window
            added.addChannel(n, m, b, entry);
            ch = added.workChannels.at(m, added.work.count(m, b), b);
            if (old) {
                ChannelRecord moved = *old; // a changed frequency keeps the rest of the channel
                moved.rxFreq = ch.rxFreq;
                ch = moved;
            }
        }

        const QString tx = c[Tx].trimmed();
        if (old && (kept(Tx) || sameFrequency(tx, old->txFreq))) {
            ch.txFreq = old->txFreq;
        } else if (!tx.isEmpty()) {
            // The transmit column is clamped to the range, never refused.
            if (!freq::isNumeric(tx)) return notFrequency(Tx);
            const QString stored =
                freq::storedFromText(freq::normalizeEntry(tx, true, false, limits), limits.low);
            if (freq::textFromStored(ch.txFreq.text(), limits.low) !=
                freq::textFromStored(stored, limits.low))
                ch.txFreq.set(stored);
        }

        if (kept(InUse)) {
            ch.inUse = old->inUse;
        } else {
            const int inUse = onOffValue(c[InUse]);
            if (inUse < 0) return refuse(row.line, InUse + 1, notOneOf(c[InUse], onOffEn));
            ch.inUse = qint16(inUse);
        }
        if (!kept(Tsq)) {
            const int tsq = indexIn(channelrules::toneSquelchList(), c[Tsq]);
            if (tsq < 0) return refuse(row.line, Tsq + 1, notOneOf(c[Tsq], channelrules::toneSquelchList()));
            ch.toneCode = qint16(tsq);
        }
        if (!kept(Rep)) {
            const QStringList reps = channelrules::repeaterList(English);
            int rep = indexIn(reps, c[Rep]);
            if (rep < 0) rep = indexIn(channelrules::repeaterList(language), c[Rep]);
            if (rep < 0) return refuse(row.line, Rep + 1, notOneOf(c[Rep], reps));
            if (m == 2 && rep != 0)
                return refuse(row.line, Rep + 1, text(ToolText::RepeaterNotInFamily, language));
            ch.repeaterShift = qint16(rep);
        }
        if (!kept(Roger)) {
            const QStringList rogers = channelrules::rogerList(scratch.work, English);
            int roger = indexIn(rogers, c[Roger]);
            if (roger < 0) roger = indexIn(channelrules::rogerList(scratch.work, language), c[Roger]);
            if (roger < 0) return refuse(row.line, Roger + 1, notOneOf(c[Roger], rogers));
            ch.rogerBeep = qint16(roger == 0 ? 0 : rogers[roger].toInt());
        }
        qint16* flags[] = {&ch.publicFlag, &ch.busy, &ch.hiCut};
        for (int f = 0; f < 3; ++f) {
            if (kept(Public + f)) continue;
            const int v = onOffValue(c[Public + f]);
            if (v < 0) return refuse(row.line, Public + f + 1, notOneOf(c[Public + f], onOffEn));
            *flags[f] = qint16(v);
        }
        const int slot = ++scratch.work.count(m, b);
        scratch.workChannels.at(m, slot, b) = ch;
    }

    for (int m = 0; m < FamilyCount; ++m) {
        bool any = false;
        for (int b = 1; b <= BandCount; ++b) {
            // The work channel moves only when the channel it pointed at is gone, or it pointed at
            // none and the band's channels changed (as the channel window moves it).
            const int work = image.work.optFeat.workChannel(m, b);
            if (scratch.findSlot(work, m, b) == 0 &&
                (image.findSlot(work, m, b) > 0 || numbersOf(image, m, b) != numbersOf(scratch, m, b)))
                scratch.fixWorkChannel(m, b);
            if (scratch.work.optFeat.bandValid(m, b) == 1 && scratch.countRegular(m, b) > 0) any = true;
        }
        // As in the channel list: the family's last channel in its enabled bands stays.
        if (hadChannel[m] && !any)
            return refuse(0, 0, text(ToolText::NoChannelLeft, language).arg(imagetext::familyName(m)));
    }

    image.work = scratch.work;
    image.workChannels = scratch.workChannels;
    result.ok = true;
    return result;
}

} // namespace mx::channelcsv
