#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace mx {

class RadioImage;

// Every channel of the current range family as one sheet: a row per channel
// number 1..40 of each band (band 1 first; an empty row is a free number),
// then the band's channels numbered otherwise (shown, not edited). Columns:
// band, CH, RX MHz, TSQ, REP (families 10M and HF only), Roger, Public, BUSY.
//
// Every change goes through the channel rules, as in the channel window: a
// frequency is put on the 5 kHz grid and must lie in the range family, a
// cleared frequency deletes the channel (the family's last one stays), the
// lists offer what the window's lists offer, and while Public is ON the Roger
// and BUSY cells are greyed and keep their values. A refused value leaves the
// image as it was; its cell is marked with the message. A paste, delete or
// fill stores all of its cells or none, and makes one edited() when it
// changed something, so that it is one step of the undo history.
//
// The table follows the image's signals, so that a change made in any other
// window shows at once, and it tells other windows of its own changes the same way.
class ChannelTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        BandColumn,
        ChColumn,
        RxColumn,
        TsqColumn,
        RepColumn,
        RogerColumn,
        PublicColumn,
        BusyColumn
    };
    enum Role {
        ChoicesRole = Qt::UserRole + 1, // QStringList: the items of a list cell's drop-down
        SortRole,                       // a number to sort the column by (free rows last)
        GreyedRole,                     // a switched-off band, or Roger/BUSY while Public is ON
        RefusedRole,                    // the last value given to this cell was refused
    };

    ChannelTable(RadioImage& image, int language, QObject* parent = nullptr);

    int family() const { return m_family; }
    int language() const { return m_language; }
    void setLanguage(int language);

    // The column showing a kind (-1: REP in family 2), and the kind a column shows.
    int columnOf(Column kind) const { return int(m_columns.indexOf(kind)); }
    Column kindOf(int column) const { return m_columns.value(column, BandColumn); }
    int channelOf(int row) const { return m_rows.value(row).number; }
    int rowOf(int band, int number) const;
    bool hasChannel(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // One cell, as typed or chosen in its editor.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The operations on a selection of cells. rowOrder lists the rows in the
    // order they are shown (sorted, filtered); empty means every row in order.
    // Each returns false after refused() when a rule stopped it.

    // Tab- or comma-separated text, with or without a header line naming the
    // columns: a header places each column under its name, otherwise the
    // columns follow from the first selected cell. One value goes into every
    // selected cell (of the channels, and the frequency of free rows), one
    // line into every selected row; more lines go into the
    // rows below the first selected one (a free row becomes a channel when
    // the line gives it a frequency).
    bool paste(const QString& text, const QModelIndexList& selection, const QList<int>& rowOrder = {});
    // Deletes the channels of the selected rows.
    bool clearChannels(const QModelIndexList& selection);
    // The first selected row's values into the selected cells of the rows
    // below it (free rows take only a frequency).
    bool fillDown(const QModelIndexList& selection, const QList<int>& rowOrder = {});
    // A channel at the first free number of the row's band, at the frequency
    // of the row's channel (else the band's default, else the family's lower
    // limit). Its row, or -1 when refused.
    int insertChannel(int row);
    // The selected cells as tab-separated lines under a line of column names.
    QString copyText(const QModelIndexList& selection, const QList<int>& rowOrder = {}) const;
    // The search box: a row matches its band's name or a part of its frequency.
    bool rowMatches(int row, const QString& search) const;

    // The message of the last refusal; "" after a change was stored.
    QString lastMessage() const { return m_lastMessage; }

Q_SIGNALS:
    // A change of the user was written into the image (one per operation).
    void edited();
    // A value or an operation was refused; cell is the place named (may be invalid).
    void refused(const QModelIndex& cell, const QString& message);

private:
    struct Key
    {
        int band = 1;
        int number = 1;
    };
    struct CellValue
    {
        int column;
        QString text;
    };
    struct RowEdit
    {
        int row;
        int line; // line of pasted text, 0 for other operations
        QList<CellValue> cells;
        bool skipFree = false; // a free row that gets no frequency is left alone
    };
    struct Failure
    {
        int line;
        int row;
        int column; // -1: the operation as a whole
        QString reason;
    };
    enum class Where { Cell, Row, Paste };

    QList<Key> rowsOfImage() const;
    void rebuild();
    void imageChanged(int m, int b);
    void refreshAll();
    const struct ChannelRecord* record(int row) const;
    QString cellText(int row, Column kind) const;
    QStringList choices(Column kind) const;
    int valueOf(Column kind, const QString& text) const;
    bool locked(int row, Column kind) const;
    QString rowLabel(int row) const;
    QList<int> order(const QList<int>& rowOrder) const;
    // Applies the edits to a copy of the image; stores it when all went through.
    std::optional<Failure> apply(const QList<RowEdit>& edits);
    bool run(const QList<RowEdit>& edits, Where where);
    // An operation refused as a whole.
    bool refuse(const QString& message);

    RadioImage& m_image;
    int m_language;
    int m_family = 0;
    QList<Column> m_columns;
    QList<Key> m_rows;
    QHash<quint32, QString> m_marks; // refused cells: row << 8 | column
    QString m_lastMessage;
    bool m_storing = false;
};

} // namespace mx
