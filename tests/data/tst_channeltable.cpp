// The channel table without a screen: cells edited through the channel rules,
// paste, delete, fill and insert as one change each, refusals, and the table
// following the image both ways.

#include "data/ChannelRules.h"
#include "data/ChannelTable.h"
#include "data/Defaults.h"
#include "data/RadioData.h"
#include "texts/Texts.h"

#include <QSignalSpy>
#include <QTest>

using namespace mx;

namespace {

// The built-in image (channel 1 in every band, Public ON, every band on) shown
// in family m; "alone": the family's other bands hold nothing; "publicOff":
// channel A-01 has Public OFF and BUSY ON; "tone": A-01 has TSQ 88.5;
// "above40": band A holds a channel 41; "full": band A holds 1..40.
struct Sheet
{
    RadioImage image;
    std::unique_ptr<ChannelTable> table;

    explicit Sheet(int m = 0, const QString& setup = {}, int language = English)
    {
        defaults::applyBuiltIn(image, QDate(2026, 12, 7));
        image.work.rangeMode = qint16(m);
        image.setRangeFamily(m);
        for (int b = 2; b <= BandCount && setup == "alone"; ++b)
            image.work.count(m, b) = 0;
        if (setup == "publicOff") {
            image.workChannels.at(m, 1, 1).publicFlag = 0;
            image.workChannels.at(m, 1, 1).busy = 1;
        }
        if (setup == "tone") image.workChannels.at(m, 1, 1).toneCode = 8; // 88.5
        if (setup == "above40") image.addChannel(41, m, 1, "28.5");
        for (int n = 2; n <= 40 && setup == "full"; ++n)
            image.addChannel(n, m, 1, "28.5");
        table = std::make_unique<ChannelTable>(image, language);
    }
    int column(const QString& name) const
    {
        for (int c = 0; c < table->columnCount(); ++c)
            if (table->headerData(c, Qt::Horizontal).toString() == name) return c;
        return -1;
    }
    // "A-03:TSQ" is band A channel 3's TSQ cell.
    QModelIndex cell(const QString& where) const
    {
        const QStringList parts = where.split(QLatin1Char(':'));
        const QStringList row = parts[0].split(QLatin1Char('-'));
        const int b = table->family() == 2 ? QStringList{"EU", "UK", "PL"}.indexOf(row[0]) + 1
                                           : row[0].at(0).unicode() - 'A' + 1;
        return table->index(table->rowOf(b, row[1].toInt()), parts.size() > 1 ? column(parts[1]) : 0);
    }
    QModelIndexList cells(const QStringList& where) const
    {
        QModelIndexList list;
        for (const QString& w : where)
            list.append(cell(w));
        return list;
    }
    // What row "A-03" shows, cells joined by blanks, "(off)" for a switched-off band.
    QString shown(const QString& row) const
    {
        QStringList texts;
        const QModelIndex first = cell(row);
        for (int c = 0; c < table->columnCount(); ++c)
            texts.append(table->index(first.row(), c).data().toString());
        if (first.data(ChannelTable::GreyedRole).toBool()) texts.append("(off)"); // the band is switched off
        return texts.join(QLatin1Char(' ')).simplified();
    }
};

} // namespace

class TestChannelTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One cell typed or chosen: the channel rules decide, a refusal marks the cell.
    void cellEdit_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("row"); // what the row shows afterwards
        QTest::addColumn<QString>("message");
        const QString none;
        // clang-format off
        QTest::newRow("28.01751 snaps up") << "" << 0 << "B-01:RX MHz" << "28.01751" << "B 1 28.02000 OFF OFF OFF ON OFF" << none;
        QTest::newRow("28.0175: half a step down") << "" << 0 << "B-01:RX MHz" << "28.0175" << "B 1 28.01500 OFF OFF OFF ON OFF" << none;
        QTest::newRow("UK 27.60125 stores 27.6000") << "" << 2 << "UK-01:RX MHz" << "27.60125" << "UK 1 27.60125 OFF OFF ON OFF" << none;
        QTest::newRow("free row: new channel, Public ON") << "" << 1 << "B-07:RX MHz" << "27.5" << "B 7 27.50000 OFF OFF OFF ON OFF" << none;
        QTest::newRow("typo 285 keeps the channel") << "" << 0 << "A-01:RX MHz" << "285" << "A 1 28.01500 OFF OFF OFF ON OFF" << "\"285\" is not a frequency of 28.0000 - 29.7000 MHz.";
        QTest::newRow("cleared: deleted, band off") << "" << 0 << "A-01:RX MHz" << "" << "A 1 (off)" << none;
        QTest::newRow("cleared: family's last channel kept") << "alone" << 0 << "A-01:RX MHz" << "" << "A 1 28.01500 OFF OFF OFF ON OFF" << "The last channel of a range family's enabled bands cannot be deleted.";
        QTest::newRow("TSQ 88.50 is 88.5") << "" << 0 << "A-01:TSQ" << "88.50" << "A 1 28.01500 88.5 OFF OFF ON OFF" << none;
        QTest::newRow("TSQ not in the list") << "" << 0 << "A-01:TSQ" << "66.6" << "A 1 28.01500 OFF OFF OFF ON OFF" << "\"66.6\" is not in the TSQ list.";
        QTest::newRow("TSQ of a free row") << "" << 0 << "A-02:TSQ" << "88.5" << "A 2" << "Band A has no channel 2.";
        QTest::newRow("REP +") << "" << 1 << "A-01:REP" << "+" << "A 1 28.01500 OFF + OFF ON OFF" << none;
        QTest::newRow("Roger: an unusable tip") << "publicOff" << 0 << "A-01:Roger" << "6" << "A 1 28.01500 OFF OFF OFF OFF ON" << "\"6\" is not one of: OFF, 1, 2, 3, 4, 5.";
        QTest::newRow("Roger while Public is ON") << "" << 0 << "A-01:Roger" << "2" << "A 1 28.01500 OFF OFF OFF ON OFF" << "Roger and BUSY cannot be chosen while Public is ON.";
        QTest::newRow("Public on, off") << "" << 0 << "A-01:Public" << "off" << "A 1 28.01500 OFF OFF OFF OFF OFF" << none;
        QTest::newRow("channel 41 is shown, not edited") << "above40" << 0 << "A-41:RX MHz" << "28.1" << "A 41 28.50000 OFF OFF OFF ON OFF" << "Channels numbered above 40 are not edited here.";
        // clang-format on
    }
    void cellEdit()
    {
        QFETCH(QString, setup);
        QFETCH(int, family);
        QFETCH(QString, where);
        QFETCH(QString, value);
        QFETCH(QString, message);
        Sheet sheet(family, setup);
        QSignalSpy edited(sheet.table.get(), &ChannelTable::edited);
        const QModelIndex cell = sheet.cell(where);
        QVERIFY(cell.isValid());
        QCOMPARE(sheet.table->setData(cell, value), message.isEmpty());
        QTEST(sheet.shown(where.section(':', 0, 0)), "row");
        QCOMPARE(sheet.table->lastMessage(), message);
        QCOMPARE(edited.size(), message.isEmpty() ? 1 : 0);
        // A refused value is marked at its cell, with the message as its tool tip.
        QCOMPARE(cell.data(ChannelTable::RefusedRole).toBool(), !message.isEmpty());
        if (!message.isEmpty()) QCOMPARE(cell.data(Qt::ToolTipRole).toString(), message);
    }

    void paste_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QStringList>("rowOrder"); // the rows as a sorted or filtered view shows them
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows"); // "A-03=what row A-03 shows"
        QTest::addColumn<QString>("message");
        const QString none;
        const QStringList all;
        // clang-format off
        QTest::newRow("the table's rows, header, onto free rows")
            << 1 << QStringList{"B-05:TSQ"} << all
            << "Band\tCH\tRX MHz\tTSQ\tREP\tRoger\tPublic\tBUSY\nA\t1\t28.01500\t88.5\t+\tOFF\tOFF\tON\nA\t2\t28.02500\tD023N\t-\t3\tON\tOFF\n"
            << QStringList{"B-05=B 5 28.01500 88.5 + OFF OFF ON", "B-06=B 6 28.02500 D023N - 3 ON OFF"} << none;
        QTest::newRow("comma block from the RX column")
            << 1 << QStringList{"A-03:RX MHz"} << all << "28.1,67.0\r\n28.2,D023N"
            << QStringList{"A-03=A 3 28.10000 67.0 OFF OFF ON OFF", "A-04=A 4 28.20000 D023N OFF OFF ON OFF"} << none;
        QTest::newRow("a blank line leaves a free row free")
            << 1 << QStringList{"A-01:RX MHz"} << all << "28.3\n\n28.4\n"
            << QStringList{"A-01=A 1 28.30000 OFF OFF OFF ON OFF", "A-02=A 2", "A-03=A 3 28.40000 OFF OFF OFF ON OFF"} << none;
        QTest::newRow("one value into every selected cell")
            << 1 << QStringList{"A-01:TSQ", "B-01:TSQ", "B-02:TSQ"} << all << "100.0"
            << QStringList{"A-01=A 1 28.01500 100.0 OFF OFF ON OFF", "B-01=B 1 28.14500 100.0 OFF OFF ON OFF", "B-02=B 2"} << none;
        QTest::newRow("one line into every selected row")
            << 1 << QStringList{"A-01:TSQ", "C-01:TSQ"} << all << "71.9\t-"
            << QStringList{"A-01=A 1 28.01500 71.9 - OFF ON OFF", "C-01=C 1 28.11500 71.9 - OFF ON OFF"} << none;
        QTest::newRow("spreadsheet header in its own order")
            << 1 << QStringList{"A-07:Band"} << all << "BUSY,rx MHz,family\nOFF,28.6,10M\n"
            << QStringList{"A-07=A 7 28.60000 OFF OFF OFF ON OFF"} << none;
        QTest::newRow("Public OFF and BUSY ON in one line")
            << 1 << QStringList{"A-01:Public"} << all << "OFF\tON"
            << QStringList{"A-01=A 1 28.01500 OFF OFF OFF OFF ON"} << none;
        QTest::newRow("sorted view: the rows below as shown")
            << 1 << QStringList{"A-02:RX MHz"} << QStringList{"A-05", "A-02", "A-09"} << "28.1\n28.2"
            << QStringList{"A-02=A 2 28.10000 OFF OFF OFF ON OFF", "A-03=A 3", "A-09=A 9 28.20000 OFF OFF OFF ON OFF"} << none;
        QTest::newRow("an empty frequency deletes")
            << 1 << QStringList{"B-01:Band"} << all << "Band\tCH\tRX MHz\nA\t2\t\n"
            << QStringList{"B-01=B 1 (off)"} << none;
        QTest::newRow("Chinese header and values")
            << 2 << QStringList{"B-01:接收 MHz"} << all << "组\t信道\t接收 MHz\tPublic\nA\t1\t28.02000\t关\n"
            << QStringList{"B-01=B 1 28.02000 OFF 关 关 关 关"} << none;
        QTest::newRow("line 2 out of range: nothing stored")
            << 1 << QStringList{"A-03:RX MHz"} << all << "28.1\n31"
            << QStringList{"A-03=A 3"} << "Pasted line 2, A-04, column RX MHz: \"31\" is not a frequency of 28.0000 - 29.7000 MHz.";
        QTest::newRow("BUSY of a channel with Public ON")
            << 1 << QStringList{"A-01:BUSY"} << all << "ON"
            << QStringList{"A-01=A 1 28.01500 OFF OFF OFF ON OFF"} << "Pasted line 1, A-01, column BUSY: Roger and BUSY cannot be chosen while Public is ON.";
        QTest::newRow("past the last row")
            << 1 << QStringList{"H-40:RX MHz"} << all << "28.1\n28.2"
            << QStringList{"H-40=H 40"} << "The pasted rows go past the last row of the table.";
        QTest::newRow("quote left open")
            << 1 << QStringList{"A-02:RX MHz"} << all << "\"28.1"
            << QStringList{"A-02=A 2"} << "A quoted field is not closed.";
        // clang-format on
    }
    void paste()
    {
        QFETCH(int, language);
        QFETCH(QStringList, selection);
        QFETCH(QStringList, rowOrder);
        QFETCH(QString, text);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        Sheet sheet(0, {}, language);
        QList<int> order;
        for (const QString& r : rowOrder)
            order.append(sheet.cell(r).row());
        QSignalSpy edited(sheet.table.get(), &ChannelTable::edited);
        QCOMPARE(sheet.table->paste(text, sheet.cells(selection), order), message.isEmpty());
        for (const QString& r : rows)
            QCOMPARE(sheet.shown(r.section('=', 0, 0)), r.section('=', 1));
        QCOMPARE(sheet.table->lastMessage(), message);
        QCOMPARE(edited.size(), message.isEmpty() ? 1 : 0); // one undo step
    }

    void operations_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("message");
        const QString none;
        // clang-format off
        QTest::newRow("delete: every touched row's channel")
            << "" << 0 << "delete" << QStringList{"A-01:TSQ", "B-01:RX MHz", "B-02:RX MHz"}
            << QStringList{"A-01=A 1 (off)", "B-01=B 1 (off)", "C-01=C 1 28.11500 OFF OFF OFF ON OFF"} << none;
        QTest::newRow("delete: the family's last channel stays, nothing deleted")
            << "alone" << 0 << "delete" << QStringList{"A-01:RX MHz"}
            << QStringList{"A-01=A 1 28.01500 OFF OFF OFF ON OFF"} << "A-01, column RX MHz: The last channel of a range family's enabled bands cannot be deleted.";
        QTest::newRow("fill: TSQ down, free rows left alone")
            << "tone" << 0 << "fill" << QStringList{"A-01:TSQ", "A-02:TSQ", "B-01:TSQ"}
            << QStringList{"A-02=A 2", "B-01=B 1 28.14500 88.5 OFF OFF ON OFF"} << none;
        QTest::newRow("fill: frequency and TSQ make channels")
            << "tone" << 0 << "fill" << QStringList{"A-01:RX MHz", "A-01:TSQ", "A-02:RX MHz", "A-02:TSQ"}
            << QStringList{"A-02=A 2 28.01500 88.5 OFF OFF ON OFF"} << none;
        QTest::newRow("fill: BUSY into channels with Public ON")
            << "publicOff" << 0 << "fill" << QStringList{"A-01:BUSY", "B-01:BUSY"}
            << QStringList{"B-01=B 1 28.14500 OFF OFF OFF ON OFF"} << "B-01, column BUSY: Roger and BUSY cannot be chosen while Public is ON.";
        QTest::newRow("insert: the current channel's frequency")
            << "" << 0 << "insert" << QStringList{"A-01"}
            << QStringList{"A-02=A 2 28.01500 OFF OFF OFF ON OFF"} << none;
        QTest::newRow("insert: EU band without channels, default out of range")
            << "alone" << 2 << "insert" << QStringList{"PL-05"}
            << QStringList{"PL-01=PL 1 26.33000 OFF OFF ON OFF"} << none;
        QTest::newRow("insert: full band")
            << "full" << 0 << "insert" << QStringList{"A-03"}
            << QStringList{} << "Band A has no free channel number.";
        // clang-format on
    }
    void operations()
    {
        QFETCH(QString, setup);
        QFETCH(int, family);
        QFETCH(QString, operation);
        QFETCH(QStringList, selection);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        Sheet sheet(family, setup);
        QSignalSpy edited(sheet.table.get(), &ChannelTable::edited);
        bool ok = false;
        if (operation == "delete") ok = sheet.table->clearChannels(sheet.cells(selection));
        if (operation == "fill") ok = sheet.table->fillDown(sheet.cells(selection));
        if (operation == "insert") {
            const int row = sheet.table->insertChannel(sheet.cell(selection.first()).row());
            ok = row >= 0;
            if (ok) QCOMPARE(row, sheet.cell(rows.first().section('=', 0, 0)).row());
        }
        QCOMPARE(ok, message.isEmpty());
        for (const QString& r : rows)
            QCOMPARE(sheet.shown(r.section('=', 0, 0)), r.section('=', 1));
        QCOMPARE(sheet.table->lastMessage(), message);
        QCOMPARE(edited.size(), message.isEmpty() ? 1 : 0);
    }

    // Copy, search, greyed and editable cells. (Family EU's columns: followsTheImage.)
    void reading()
    {
        Sheet sheet(0, "publicOff");
        sheet.image.work.optFeat.bandValid(0, 3) = 0;
        sheet.table = std::make_unique<ChannelTable>(sheet.image, English);
        const ChannelTable& t = *sheet.table;
        QCOMPARE(t.copyText(sheet.cells({"A-01:RX MHz", "A-01:TSQ", "B-01:RX MHz", "B-02:TSQ"})),
                 "RX MHz\tTSQ\n28.01500\tOFF\n28.14500\t\n\t\n");
        QCOMPARE(t.copyText(sheet.cells({"A-01:Band", "B-01:Band"}),
                            {sheet.cell("B-01").row(), sheet.cell("A-01").row()}),
                 "Band\nB\nA\n"); // the rows as the view shows them
        auto matching = [&](const QString& search) {
            QStringList found;
            for (int row = 0; row < t.rowCount(); ++row)
                if (t.rowMatches(row, search) && t.hasChannel(row))
                    found.append(t.index(row, 0).data().toString() + t.index(row, 1).data().toString());
            return found;
        };
        QCOMPARE(matching("28.14"), (QStringList{"B1", "H1"}));
        QCOMPARE(matching(" c "), (QStringList{"C1"}));
        QCOMPARE(matching("").size(), 8);
        auto greyed = [&](const QString& where) {
            return sheet.cell(where).data(ChannelTable::GreyedRole).toBool();
        };
        auto editable = [&](const QString& where) {
            return bool(t.flags(sheet.cell(where)) & Qt::ItemIsEditable);
        };
        QCOMPARE((QList<bool>{greyed("A-01:Roger"), greyed("B-01:Roger"), greyed("B-01:TSQ"),
                              greyed("C-05:RX MHz")}),
                 (QList<bool>{false, true, false, true}));
        QCOMPARE((QList<bool>{editable("A-01:Roger"), editable("B-01:BUSY"), editable("B-02:TSQ"),
                              editable("B-02:RX MHz"), editable("C-01:TSQ"), editable("A-01:CH")}),
                 (QList<bool>{true, false, false, true, true, false}));
        QCOMPARE(sheet.cell("B-01:Roger").data(ChannelTable::ChoicesRole).toStringList(),
                 (QStringList{"OFF", "1", "2", "3", "4", "5"}));
        QCOMPARE(sheet.cell("A-01:RX MHz").data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(t.rowCount(), 320);
    }

    // Changes made elsewhere show at once; the table's own changes are announced.
    void followsTheImage()
    {
        Sheet sheet;
        ChannelTable& t = *sheet.table;
        QSignalSpy changed(&t, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&t, &QAbstractItemModel::modelReset);
        QSignalSpy announced(&sheet.image, &RadioImage::channelChanged);

        channelrules::setField(sheet.image, 0, 3, 1, channelrules::Field::ToneCode, 39); // the channel window
        QCOMPARE(sheet.shown("C-01"), "C 1 28.11500 D023N OFF OFF ON OFF");
        QVERIFY(!changed.isEmpty());
        channelrules::setBandValid(sheet.image, 0, 4, false);
        QVERIFY(sheet.cell("D-01:TSQ").data(ChannelTable::GreyedRole).toBool());

        announced.clear();
        QVERIFY(t.setData(sheet.cell("E-01:TSQ"), "67.0"));
        QCOMPARE(announced.size(), 1);
        QCOMPARE(announced.first(), (QVariantList{0, 5, 1}));

        QVERIFY(reset.isEmpty());
        sheet.image.work.rangeMode = 2; // another family chosen in the channel window
        sheet.image.setRangeFamily(2);
        Q_EMIT sheet.image.captionChanged();
        QCOMPARE(reset.size(), 1);
        QCOMPARE((QList<int>{t.family(), t.columnCount()}), (QList<int>{2, 7})); // no REP
    }
};

QTEST_GUILESS_MAIN(TestChannelTable)
#include "tst_channeltable.moc"
