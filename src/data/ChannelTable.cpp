#include "data/ChannelTable.h"

#include "data/ChannelRules.h"
#include "data/CsvText.h"
#include "data/Defaults.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "texts/ChannelTexts.h"
#include "texts/TableTexts.h"
#include "texts/Texts.h"
#include "texts/ToolTexts.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace mx {

namespace cr = channelrules;

namespace {

constexpr double FreeRowKey = 1e9; // free rows sort after every channel

quint32 markKey(int row, int column)
{
    return quint32(row) << 8 | quint32(column);
}

// The item at a stored index; the first item for a value outside the list.
QString listText(const QStringList& items, int value)
{
    return value >= 0 && value < items.size() ? items[value] : items.value(0);
}

// The index of text in either list (any case, blanks around ignored); -1 when absent.
int indexIn(const QString& text, const QStringList& items, const QStringList& others = {})
{
    for (const QStringList* list : {&items, &others})
        for (int k = 0; k < list->size(); ++k)
            if (text.trimmed().compare(list->at(k), Qt::CaseInsensitive) == 0) return k;
    return -1;
}

// A column's name in its header.
QString columnName(ChannelTable::Column kind, int language)
{
    switch (kind) {
    case ChannelTable::BandColumn:
        return tableText(TableText::BandHeader, language);
    case ChannelTable::ChColumn:
        return tableText(TableText::ChHeader, language);
    case ChannelTable::RxColumn:
        return tableText(TableText::RxHeader, language);
    case ChannelTable::TsqColumn:
        return channelText(ChannelText::Tsq, language);
    case ChannelTable::RepColumn:
        return channelText(ChannelText::Rep, language);
    case ChannelTable::RogerColumn:
        return channelText(ChannelText::Roger, language);
    case ChannelTable::PublicColumn:
        return channelText(ChannelText::Public, language);
    case ChannelTable::BusyColumn:
        return channelText(ChannelText::Busy, language);
    }
    return {};
}

// The column a header line's name stands for: the table's own names and the
// channel window's in either language, and the program's channel list's.
int kindNamed(const QString& name)
{
    const QString n = name.trimmed();
    auto is = [&n](const QString& text) { return n.compare(text, Qt::CaseInsensitive) == 0; };
    for (int language : {English, Chinese}) {
        for (int kind = ChannelTable::BandColumn; kind <= ChannelTable::BusyColumn; ++kind)
            if (is(columnName(ChannelTable::Column(kind), language))) return kind;
        if (is(channelText(ChannelText::ChNoHeader, language))) return ChannelTable::ChColumn;
        if (is(channelText(ChannelText::FrequencyHeader, language))) return ChannelTable::RxColumn;
    }
    return is(QStringLiteral("channel")) ? ChannelTable::ChColumn : -1;
}

bool isListKind(ChannelTable::Column kind)
{
    return kind != ChannelTable::BandColumn && kind != ChannelTable::ChColumn &&
           kind != ChannelTable::RxColumn;
}

} // namespace

ChannelTable::ChannelTable(RadioImage& image, int language, QObject* parent)
    : QAbstractTableModel(parent), m_image(image), m_language(language)
{
    rebuild();
    connect(&image, &RadioImage::channelChanged, this, [this](int m, int b, int) { imageChanged(m, b); });
    connect(&image, &RadioImage::captionChanged, this, [this] { imageChanged(-1, 0); });
    connect(&image, &RadioImage::toneTipsChanged, this, &ChannelTable::refreshAll);
}

void ChannelTable::setLanguage(int language)
{
    m_language = language;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    refreshAll();
}

QList<ChannelTable::Key> ChannelTable::rowsOfImage() const
{
    const int m = m_image.work.shownFamily();
    QList<Key> rows;
    for (int b = 1; b <= BandCount; ++b) {
        for (int n = 1; n <= cr::RegularChannels; ++n)
            rows.append({b, n});
        QList<int> others;
        const int used = m_image.work.usedSlots(m, b);
        for (int i = 1; i <= used; ++i) {
            const int n = m_image.workChannels.at(m, i, b).chNo;
            if ((n < 1 || n > cr::RegularChannels) && !others.contains(n)) others.append(n);
        }
        std::sort(others.begin(), others.end());
        for (int n : others)
            rows.append({b, n});
    }
    return rows;
}

void ChannelTable::rebuild()
{
    m_family = m_image.work.shownFamily();
    m_columns = {BandColumn, ChColumn, RxColumn, TsqColumn, RepColumn, RogerColumn, PublicColumn, BusyColumn};
    if (m_family == 2) m_columns.removeOne(RepColumn); // the repeater shift is not used there
    m_rows = rowsOfImage();
    m_marks.clear();
}

// Another window (or an undo) changed the image: band b of family m, or anything (m = -1).
void ChannelTable::imageChanged(int m, int b)
{
    if (m_storing) return;
    const QList<Key> rows = rowsOfImage();
    const bool sameRows =
        std::equal(rows.begin(), rows.end(), m_rows.begin(), m_rows.end(),
                   [](const Key& x, const Key& y) { return x.band == y.band && x.number == y.number; });
    if (!sameRows || m_family != m_image.work.shownFamily()) {
        beginResetModel();
        rebuild();
        endResetModel();
    } else if (m < 0) {
        refreshAll();
    } else if (m == m_family) {
        const int first = rowOf(b, 1);
        int last = first;
        while (last + 1 < m_rows.size() && m_rows[last + 1].band == b)
            ++last;
        Q_EMIT dataChanged(index(first, 0), index(last, columnCount() - 1));
    }
}

void ChannelTable::refreshAll()
{
    if (!m_rows.isEmpty()) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int ChannelTable::rowOf(int band, int number) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].band == band && m_rows[r].number == number) return r;
    return -1;
}

const ChannelRecord* ChannelTable::record(int row) const
{
    if (row < 0 || row >= m_rows.size()) return nullptr;
    const Key k = m_rows[row];
    const int slot = m_image.findSlot(k.number, m_family, k.band);
    return slot > 0 ? &m_image.workChannels.at(m_family, slot, k.band) : nullptr;
}

bool ChannelTable::hasChannel(int row) const
{
    return record(row) != nullptr;
}

QStringList ChannelTable::choices(Column kind) const
{
    switch (kind) {
    case TsqColumn:
        return cr::toneSquelchList();
    case RepColumn:
        return cr::repeaterList(m_language);
    case RogerColumn:
        return cr::rogerList(m_image.work, m_language);
    case PublicColumn:
    case BusyColumn:
        return cr::onOffList(m_language);
    default:
        return {};
    }
}

QString ChannelTable::cellText(int row, Column kind) const
{
    const Key k = m_rows.value(row);
    if (kind == BandColumn) return freq::bandName(k.band, m_family);
    if (kind == ChColumn) return QString::number(k.number);
    const ChannelRecord* ch = record(row);
    if (!ch) return {};
    switch (kind) {
    case RxColumn:
        return freq::listedFrequency(ch->rxFreq.text(), m_family, k.band);
    case RogerColumn: {
        const QStringList items = choices(kind);
        const QString tip = QString::number(ch->rogerBeep);
        return ch->rogerBeep != 0 && items.contains(tip) ? tip : items.value(0);
    }
    case TsqColumn:
        return listText(choices(kind), ch->toneCode);
    case RepColumn:
        return listText(choices(kind), ch->repeaterShift);
    case PublicColumn:
        return listText(choices(kind), ch->publicFlag);
    case BusyColumn:
        return listText(choices(kind), ch->busy);
    default:
        return {};
    }
}

// The stored value of a list cell's text (English or the current language); -1 when not offered.
int ChannelTable::valueOf(Column kind, const QString& text) const
{
    switch (kind) {
    case TsqColumn: {
        const int index = indexIn(text, cr::toneSquelchList());
        return index >= 0 ? index : cr::ctcssIndex(text); // "88.50" is 88.5
    }
    case RepColumn:
        return indexIn(text, cr::repeaterList(English), cr::repeaterList(m_language));
    case RogerColumn: {
        const QStringList items = cr::rogerList(m_image.work, English);
        const int index = indexIn(text, items, cr::rogerList(m_image.work, m_language));
        return index <= 0 ? index : items[index].toInt();
    }
    case PublicColumn:
    case BusyColumn:
        return indexIn(text, cr::onOffList(English), cr::onOffList(m_language));
    default:
        return -1;
    }
}

// Roger and BUSY are not offered while Public is ON.
bool ChannelTable::locked(int row, Column kind) const
{
    const ChannelRecord* ch = record(row);
    return ch && (kind == RogerColumn || kind == BusyColumn) && ch->publicFlag >= 1;
}

QString ChannelTable::rowLabel(int row) const
{
    const Key k = m_rows.value(row);
    return freq::channelLabel(m_family, k.band, k.number);
}

int ChannelTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ChannelTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ChannelTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size()) return {};
    const int row = index.row();
    const Column kind = kindOf(index.column());
    const Key k = m_rows[row];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellText(row, kind);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(kind == ChColumn || kind == RxColumn || kind == TsqColumn ||
                                           kind == RogerColumn
                                       ? Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter)
                                       : Qt::Alignment(Qt::AlignCenter));
    case Qt::ToolTipRole:
        if (const auto mark = m_marks.constFind(markKey(row, index.column())); mark != m_marks.constEnd())
            return *mark;
        if (locked(row, kind)) return text(ToolText::PublicLocks, m_language);
        if (m_image.work.optFeat.bandValid(m_family, k.band) != 1)
            return tableText(TableText::BandOff, m_language);
        return {};
    case ChoicesRole:
        return choices(kind);
    case SortRole: {
        if (kind == BandColumn) return k.band * 1000 + k.number;
        if (kind == ChColumn) return k.number;
        const ChannelRecord* ch = record(row);
        if (!ch) return FreeRowKey;
        if (kind == RxColumn) return freq::toDouble(cellText(row, kind));
        if (kind == RogerColumn) return double(ch->rogerBeep);
        return double(cr::fieldValue(*ch, kind == TsqColumn    ? cr::Field::ToneCode
                                          : kind == RepColumn  ? cr::Field::RepeaterShift
                                          : kind == BusyColumn ? cr::Field::Busy
                                                               : cr::Field::Public));
    }
    case GreyedRole:
        return m_image.work.optFeat.bandValid(m_family, k.band) != 1 || locked(row, kind);
    case RefusedRole:
        return m_marks.contains(markKey(row, index.column()));
    default:
        return {};
    }
}

QVariant ChannelTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size()) return {};
    return role == Qt::DisplayRole ? columnName(kindOf(section), m_language) : QVariant();
}

Qt::ItemFlags ChannelTable::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int row = index.row();
    const Column kind = kindOf(index.column());
    const int n = channelOf(row);
    if (kind == BandColumn || kind == ChColumn || n < 1 || n > cr::RegularChannels) return shown;
    if (kind == RxColumn || (hasChannel(row) && !locked(row, kind))) return shown | Qt::ItemIsEditable;
    return shown;
}

bool ChannelTable::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole) return false;
    return run({RowEdit{index.row(), 0, {CellValue{index.column(), value.toString()}}}}, Where::Cell);
}

QList<int> ChannelTable::order(const QList<int>& rowOrder) const
{
    if (!rowOrder.isEmpty()) return rowOrder;
    QList<int> all(m_rows.size());
    std::iota(all.begin(), all.end(), 0);
    return all;
}

std::optional<ChannelTable::Failure> ChannelTable::apply(const QList<RowEdit>& edits)
{
    RadioImage scratch;
    scratch.copyFrom(m_image);
    const int m = m_family;
    const QString range = freq::rangeTextFor(m);
    QSet<int> touched; // band << 8 | number
    std::optional<Failure> lockedCell;

    for (const RowEdit& e : edits) {
        const Key k = m_rows.value(e.row);
        const int b = k.band, n = k.number;
        auto fail = [&](int column, const QString& reason) { return Failure{e.line, e.row, column, reason}; };
        const CellValue* rx = nullptr;
        const CellValue* filled = nullptr; // the first list cell that holds a value
        for (const CellValue& c : e.cells) {
            if (kindOf(c.column) == RxColumn)
                rx = &c;
            else if (!filled && !c.text.trimmed().isEmpty())
                filled = &c;
        }
        if (!rx && !filled) continue;
        if (n < 1 || n > cr::RegularChannels)
            return fail(rx ? rx->column : filled->column, tableText(TableText::NotEditable, m_language));
        if (rx) {
            switch (cr::setChannelFrequency(scratch, m, b, n, 1, rx->text, nullptr)) {
            case cr::FrequencyResult::OutOfRange:
                return fail(rx->column,
                            text(ToolText::CsvFrequency, m_language).arg(rx->text.trimmed(), range));
            case cr::FrequencyResult::LastChannelKept:
                return fail(rx->column, text(ToolText::LastChannelKept, m_language));
            case cr::FrequencyResult::BandFull:
                return fail(rx->column, channelText(ChannelText::BandFull, m_language));
            default:
                break;
            }
            touched.insert(b << 8 | n);
            if (rx->text.trimmed().isEmpty()) continue; // no channel: its other cells go with it
        }
        const int slot = scratch.findSlot(n, m, b);
        if (slot == 0) {
            if (filled && !e.skipFree)
                return fail(filled->column,
                            text(ToolText::NoSuchChannel, m_language).arg(freq::bandName(b, m)).arg(n));
            continue;
        }

        int values[BusyColumn + 1];
        std::fill(std::begin(values), std::end(values), -1);
        for (const CellValue& c : e.cells) {
            const Column kind = kindOf(c.column);
            if (!isListKind(kind) || c.text.trimmed().isEmpty()) continue; // an empty cell changes nothing
            values[kind] = valueOf(kind, c.text);
            if (values[kind] >= 0) continue;
            if (kind == TsqColumn)
                return fail(c.column, tableText(TableText::ToneNotInList, m_language).arg(c.text.trimmed()));
            return fail(c.column, text(ToolText::CsvValue, m_language)
                                      .arg(c.text.trimmed(), choices(kind).join(QStringLiteral(", "))));
        }
        auto set = [&](Column kind, cr::Field field) {
            if (values[kind] >= 0) cr::setField(scratch, m, b, n, field, values[kind]);
        };
        set(TsqColumn, cr::Field::ToneCode);
        set(RepColumn, cr::Field::RepeaterShift);
        // Roger and BUSY are greyed while Public is ON. A line that gives
        // Public as well is taken as a whole, as switching Public OFF, setting
        // them and switching Public back would store it in the channel window.
        for (auto [kind, field] :
             {std::pair{RogerColumn, cr::Field::RogerBeep}, std::pair{BusyColumn, cr::Field::Busy}}) {
            const ChannelRecord& ch = scratch.workChannels.at(m, slot, b);
            if (values[kind] >= 0 && values[PublicColumn] < 0 && ch.publicFlag >= 1 &&
                cr::fieldValue(ch, field) != values[kind]) {
                if (!lockedCell) lockedCell = fail(columnOf(kind), text(ToolText::PublicLocks, m_language));
                continue; // the greyed cell keeps its value
            }
            set(kind, field);
        }
        set(PublicColumn, cr::Field::Public);
        touched.insert(b << 8 | n);
    }

    if (scratch.work == m_image.work && scratch.workChannels.records == m_image.workChannels.records)
        return lockedCell; // nothing changed: a value only a greyed cell would have taken is refused

    m_image.work = scratch.work;
    m_image.workChannels = scratch.workChannels;
    m_storing = true;
    QSet<int> bands;
    for (int key : std::as_const(touched)) {
        m_image.notifyChannelChanged(m, key >> 8, key & 0xFF);
        bands.insert(key >> 8);
    }
    for (int b : std::as_const(bands))
        Q_EMIT m_image.workChannelFixed(m, b);
    m_storing = false;
    refreshAll();
    Q_EMIT edited();
    return std::nullopt;
}

bool ChannelTable::refuse(const QString& message)
{
    m_lastMessage = message;
    Q_EMIT refused({}, message);
    return false;
}

bool ChannelTable::run(const QList<RowEdit>& edits, Where where)
{
    const std::optional<Failure> failure = apply(edits);
    if (!failure) {
        m_lastMessage.clear();
        for (const RowEdit& e : edits)
            for (const CellValue& c : e.cells)
                if (m_marks.remove(markKey(e.row, c.column)) > 0) {
                    const QModelIndex cell = index(e.row, c.column);
                    Q_EMIT dataChanged(cell, cell);
                }
        return true;
    }
    const Failure& f = *failure;
    const QString column = f.column >= 0 ? headerData(f.column, Qt::Horizontal).toString() : QString();
    if (f.column < 0)
        m_lastMessage = f.reason;
    else if (where == Where::Paste)
        m_lastMessage =
            tableText(TableText::PasteWhere, m_language).arg(f.line).arg(rowLabel(f.row), column, f.reason);
    else if (where == Where::Row)
        m_lastMessage = tableText(TableText::CellWhere, m_language).arg(rowLabel(f.row), column, f.reason);
    else
        m_lastMessage = f.reason;
    const QModelIndex cell = f.column >= 0 ? index(f.row, f.column) : QModelIndex();
    if (cell.isValid()) {
        m_marks.insert(markKey(f.row, f.column), m_lastMessage);
        Q_EMIT dataChanged(cell, cell);
    }
    Q_EMIT refused(cell, m_lastMessage);
    return false;
}

bool ChannelTable::paste(const QString& text, const QModelIndexList& selection, const QList<int>& rowOrder)
{
    if (selection.isEmpty()) return true;
    const QChar separator = text.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
    QList<csvtext::Row> lines;
    int badLine = 0;
    if (!csvtext::split(text, separator, lines, &badLine, false))
        return refuse(mx::text(ToolText::CsvQuote, m_language));
    if (lines.isEmpty()) return true;

    // A first line naming columns places every column under its name.
    QList<int> named;
    bool header = false;
    for (const QString& cell : lines.first().cells) {
        named.append(kindNamed(cell));
        header = header || named.last() >= 0;
    }
    if (header) lines.removeFirst();
    if (lines.isEmpty()) return true;

    const QList<int> rows = order(rowOrder);
    QList<int> selectedRows;
    QSet<quint32> selectedCells;
    int anchorColumn = columnCount();
    for (const QModelIndex& i : selection) {
        if (!selectedRows.contains(i.row())) selectedRows.append(i.row());
        selectedCells.insert(markKey(i.row(), i.column()));
        anchorColumn = qMin(anchorColumn, i.column());
    }
    std::sort(selectedRows.begin(), selectedRows.end(),
              [&](int x, int y) { return rows.indexOf(x) < rows.indexOf(y); });
    // The model column a pasted cell goes to; -1 where it goes nowhere.
    auto columnFor = [&](int k) {
        int column = -1;
        if (header)
            column = k < named.size() && named[k] >= 0 ? columnOf(Column(named[k])) : -1;
        else if (anchorColumn + k < columnCount())
            column = anchorColumn + k;
        // Band and CH name a row: a line goes into the row it is pasted on.
        return column >= 0 && (kindOf(column) == BandColumn || kindOf(column) == ChColumn) ? -1 : column;
    };
    auto lineInto = [&](const csvtext::Row& line, int row) {
        RowEdit e{row, line.line, {}};
        for (int k = 0; k < line.cells.size(); ++k)
            if (const int column = columnFor(k); column >= 0) e.cells.append({column, line.cells[k]});
        return e;
    };

    QList<RowEdit> edits;
    if (lines.size() == 1 && lines.first().cells.size() == 1 && selection.size() > 1 && !header) {
        for (int row : selectedRows) { // one value into every selected cell
            RowEdit e{row, lines.first().line, {}, true};
            for (int column = 0; column < columnCount(); ++column)
                if (selectedCells.contains(markKey(row, column)) && kindOf(column) != BandColumn &&
                    kindOf(column) != ChColumn)
                    e.cells.append({column, lines.first().cells.first()});
            edits.append(e);
        }
    } else if (lines.size() == 1) { // one line into every selected row
        for (int row : selectedRows)
            edits.append(lineInto(lines.first(), row));
    } else {
        const qsizetype first = rows.indexOf(selectedRows.first());
        for (int k = 0; k < lines.size(); ++k) {
            if (first < 0 || first + k >= rows.size())
                return refuse(tableText(TableText::PasteTooLong, m_language));
            edits.append(lineInto(lines[k], rows[first + k]));
        }
    }
    return run(edits, Where::Paste);
}

bool ChannelTable::clearChannels(const QModelIndexList& selection)
{
    QList<int> rows;
    for (const QModelIndex& i : selection)
        if (!rows.contains(i.row()) && hasChannel(i.row())) rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    QList<RowEdit> edits;
    for (int row : rows)
        edits.append({row, 0, {CellValue{columnOf(RxColumn), QString()}}});
    return run(edits, Where::Row);
}

bool ChannelTable::fillDown(const QModelIndexList& selection, const QList<int>& rowOrder)
{
    if (selection.isEmpty()) return true;
    const QList<int> rows = order(rowOrder);
    int source = selection.first().row();
    for (const QModelIndex& i : selection)
        if (rows.indexOf(i.row()) < rows.indexOf(source)) source = i.row();
    QList<RowEdit> edits;
    for (const QModelIndex& i : selection) {
        const Column kind = kindOf(i.column());
        if (i.row() == source || kind == BandColumn || kind == ChColumn) continue;
        auto e = std::find_if(edits.begin(), edits.end(), [&](const RowEdit& r) { return r.row == i.row(); });
        if (e == edits.end()) e = edits.insert(edits.end(), RowEdit{i.row(), 0, {}, true});
        e->cells.append({i.column(), cellText(source, kind)});
    }
    std::sort(edits.begin(), edits.end(),
              [&](const RowEdit& x, const RowEdit& y) { return rows.indexOf(x.row) < rows.indexOf(y.row); });
    return run(edits, Where::Row);
}

int ChannelTable::insertChannel(int row)
{
    if (row < 0 || row >= m_rows.size()) return -1;
    const int b = m_rows[row].band;
    int free = 0;
    for (int n = cr::RegularChannels; n >= 1; --n)
        if (m_image.findSlot(n, m_family, b) == 0) free = n;
    if (free == 0) {
        refuse(tableText(TableText::NoFreeNumber, m_language).arg(freq::bandName(b, m_family)));
        return -1;
    }
    const freq::Range range = freq::parseRange(freq::rangeTextFor(m_family));
    QString frequency = freq::formatFixed(range.low, 4);
    if (const ChannelRecord* ch = record(row); ch && freq::isNumeric(ch->rxFreq.text()))
        frequency = freq::textFromStored(ch->rxFreq.text(), range.low);
    else if (const double d = freq::toDouble(defaults::defaultFrequency(b));
             d >= range.low && d <= range.high)
        frequency = defaults::defaultFrequency(b);
    const int target = rowOf(b, free);
    return run({RowEdit{target, 0, {CellValue{columnOf(RxColumn), frequency}}}}, Where::Row) ? target : -1;
}

QString ChannelTable::copyText(const QModelIndexList& selection, const QList<int>& rowOrder) const
{
    const QList<int> rows = order(rowOrder);
    QList<int> columns, selectedRows;
    QSet<quint32> cells;
    for (const QModelIndex& i : selection) {
        if (!columns.contains(i.column())) columns.append(i.column());
        if (!selectedRows.contains(i.row())) selectedRows.append(i.row());
        cells.insert(markKey(i.row(), i.column()));
    }
    if (columns.isEmpty()) return {};
    std::sort(columns.begin(), columns.end());
    std::sort(selectedRows.begin(), selectedRows.end(),
              [&](int x, int y) { return rows.indexOf(x) < rows.indexOf(y); });
    QStringList lines, names;
    for (int column : columns)
        names.append(headerData(column, Qt::Horizontal).toString());
    lines.append(names.join(QLatin1Char('\t')));
    for (int row : selectedRows) {
        QStringList line;
        for (int column : columns)
            line.append(cells.contains(markKey(row, column)) ? cellText(row, kindOf(column)) : QString());
        lines.append(line.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool ChannelTable::rowMatches(int row, const QString& search) const
{
    const QString s = search.trimmed();
    if (s.isEmpty()) return true;
    if (cellText(row, BandColumn).compare(s, Qt::CaseInsensitive) == 0) return true;
    return cellText(row, RxColumn).contains(s);
}

} // namespace mx
