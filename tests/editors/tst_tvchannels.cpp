#include "EditorSupport.h"
#include "editors/TVChannelEditor.h"

#include <QLineEdit>
#include <QTableWidget>

using namespace mx;
using namespace mx::test;

class TestTVChannels : public QObject
{
    Q_OBJECT

    // Double-clicks channel row's frequency, types text and presses Enter (or
    // leaves it pending when enter is false).
    static void typeFrequency(FrmTVCH& w, int row, const QString& text, bool enter = true)
    {
        w.editCell(row, 1);
        auto* edit = w.findChild<QLineEdit*>(QStringLiteral("Text1"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        if (enter) QTest::keyClick(edit, Qt::Key_Return);
    }
    static QStringList row(FrmTVCH& w, int r)
    {
        auto* grid = w.findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
        return {grid->item(r - 1, 1)->text(), grid->item(r - 1, 2)->text(), grid->item(r - 1, 3)->text()};
    }

private Q_SLOTS:
    // Channels 1 (155.0, wide) and 3 (160.0, TBST on, narrow) are used; channel 3 is current.
    void entries_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<double>("frequency");
        QTest::addColumn<QStringList>("currentList");
        QTest::addColumn<int>("current"); // CurrentTVChannel afterwards
        const QStringList both{"1", "3"};
        // clang-format off
        QTest::newRow("off raster moves down") << 3 << "160.003" << QStringList{"160.00000", "ON", "Narrow"} << 160.0 << both << 2;
        QTest::newRow("6.25 kHz raster stays") << 3 << "160.00625" << QStringList{"160.00625", "ON", "Narrow"} << 160.00625 << both << 2;
        QTest::newRow("real division") << 1 << "155.123" << QStringList{"155.12000", "OFF", "Wide"} << 155.12 << both << 2;
        QTest::newRow("149 is 150") << 1 << "149" << QStringList{"150.00000", "OFF", "Wide"} << 150.0 << both << 2;
        QTest::newRow("180 is 170") << 1 << "180" << QStringList{"170.00000", "OFF", "Wide"} << 170.0 << both << 2;
        QTest::newRow("new channel") << 7 << "165.5" << QStringList{"165.50000", "OFF", "Wide"} << 165.5 << QStringList{"1", "3", "7"} << 2;
        QTest::newRow("cleared channel") << 1 << "" << QStringList{"", "", ""} << 155.0 << QStringList{"3"} << 2;
        QTest::newRow("cleared current channel") << 3 << "" << QStringList{"", "", ""} << 160.0 << QStringList{"1"} << 0;
        QTest::newRow("lone point keeps the channel") << 3 << "." << QStringList{"160.00000", "ON", "Narrow"} << 160.0 << both << 2;
        // clang-format on
    }
    void entries()
    {
        QFETCH(int, channel);
        QFETCH(QString, typed);
        QFETCH(QStringList, cells);
        QFETCH(double, frequency);
        QFETCH(QStringList, currentList);
        QFETCH(int, current);
        EditorBench bench;
        RadioDataRecord& rec = bench.image.work;
        rec.tvChannels[2] = TVChannelRecord{1, 160.0, 1, 0};
        rec.tvChannels[6].tbst = 1; // an unused channel keeps nothing of its past
        rec.optFeat[Opt::CurrentTVChannel] = 2;
        const auto before = rec.tvChannels;
        FrmTVCH w(bench.context);
        typeFrequency(w, channel, typed);
        QCOMPARE(row(w, channel), cells);
        QCOMPARE(rec.tvChannels[channel - 1].frequency, frequency);
        QCOMPARE(rec.tvChannels[channel - 1].inUse, cells[0].isEmpty() ? 0 : 1);
        auto* list = w.findChild<QComboBox*>(QStringLiteral("Combo1"));
        QCOMPARE(items(list), currentList);
        QCOMPARE(list->currentText(), QString::number(current + 1));
        QCOMPARE(rec.optFeat[Opt::CurrentTVChannel], current);
        for (int r = 1; r <= TVChannelCount; ++r)
            if (r != channel) QCOMPARE(rec.tvChannels[r - 1], before[r - 1]);
        QVERIFY(w.findChild<QLineEdit*>(QStringLiteral("Text1"))->isHidden());
    }

    // A frequency typed but not entered is stored before a write; options
    // follow their lists, also the item shown for a value a list cannot hold.
    void pendingAndOptions()
    {
        EditorBench bench;
        RadioDataRecord& rec = bench.image.work;
        rec.tvChannels[2] = TVChannelRecord{1, 160.0, 7, 5}; // shown as ON and Wide
        FrmTVCH w(bench.context);
        typeFrequency(w, 2, "151", false);
        w.commitPending();
        QCOMPARE(rec.tvChannels[1].inUse, 1);
        QCOMPARE(rec.tvChannels[1].frequency, 151.0);
        w.editCell(2, 2);
        QVERIFY(chooseText(w.findChild<QComboBox*>(QStringLiteral("Combo2")), QStringLiteral("ON")));
        w.editCell(2, 3);
        QVERIFY(chooseText(w.findChild<QComboBox*>(QStringLiteral("Combo3")), QStringLiteral("Narrow")));
        QCOMPARE(row(w, 2), (QStringList{"151.00000", "ON", "Narrow"}));
        QCOMPARE((QList<int>{rec.tvChannels[1].tbst, rec.tvChannels[1].bandwidth}), (QList<int>{1, 0}));
        QVERIFY(chooseText(w.findChild<QComboBox*>(QStringLiteral("Combo1")), QStringLiteral("2")));
        QCOMPARE(rec.optFeat[Opt::CurrentTVChannel], 1);
        w.editCell(3, 2);
        QVERIFY(chooseText(w.findChild<QComboBox*>(QStringLiteral("Combo2")), QStringLiteral("ON")));
        w.editCell(3, 3);
        QVERIFY(chooseText(w.findChild<QComboBox*>(QStringLiteral("Combo3")), QStringLiteral("Wide")));
        QCOMPARE((QList<int>{rec.tvChannels[2].tbst, rec.tvChannels[2].bandwidth}), (QList<int>{1, 1}));
    }
};

QTEST_MAIN(TestTVChannels)
#include "tst_tvchannels.moc"
