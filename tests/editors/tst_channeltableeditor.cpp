// The channel table window offscreen, by keyboard: in-place editors, the keys
// of copy, paste, delete, fill and insert, sorting and searching, refusals in
// the status line, and the channel window beside it showing the same image.

#include "EditorSupport.h"
#include "data/ChannelRules.h"
#include "data/ChannelTable.h"
#include "editors/ChannelEditor.h"
#include "editors/ChannelTableEditor.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>

#include <memory>

using namespace mx;

namespace {

struct Desk : test::EditorBench
{
    std::unique_ptr<FrmChannelTable> window;

    Desk()
    {
        window = std::make_unique<FrmChannelTable>(context);
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) qFatal("no window");
        view()->setFocus();
    }
    QTableView* view() const { return window->view(); }
    QAbstractProxyModel* proxy() const { return static_cast<QAbstractProxyModel*>(view()->model()); }
    // The table's cell behind the view's current one.
    QModelIndex current() const { return proxy()->mapToSource(view()->currentIndex()); }
    // Makes the cell of band b, channel n, column kind current (and the only one selected).
    void go(int b, int n, ChannelTable::Column kind) const
    {
        const ChannelTable* t = window->table();
        view()->selectionModel()->setCurrentIndex(
            proxy()->mapFromSource(t->index(t->rowOf(b, n), t->columnOf(kind))),
            QItemSelectionModel::ClearAndSelect);
    }
    void select(int b, int n, ChannelTable::Column kind) const
    {
        const ChannelTable* t = window->table();
        view()->selectionModel()->select(proxy()->mapFromSource(t->index(t->rowOf(b, n), t->columnOf(kind))),
                                         QItemSelectionModel::Select);
    }
    QString shown(int b, int n, ChannelTable::Column kind) const
    {
        const ChannelTable* t = window->table();
        return t->index(t->rowOf(b, n), t->columnOf(kind)).data().toString();
    }
    QString status() const { return window->findChild<QStatusBar*>("TableStatus")->currentMessage(); }
};

} // namespace

class TestChannelTableEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Typing into a frequency cell: the channel rules decide; a refusal is
    // marked and named in the status line, never in a message box.
    void typing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("status");
        // clang-format off
        QTest::newRow("typed over the cell, letters left out") << "28a.4" << "28.40000" << "";
        QTest::newRow("out of range") << "31" << "28.01500" << "\"31\" is not a frequency of 28.0000 - 29.7000 MHz.";
        // clang-format on
    }
    void typing()
    {
        QFETCH(QString, keys);
        QFETCH(QString, status);
        Desk desk;
        QSignalSpy edited(desk.window.get(), &EditorWindow::edited);
        desk.go(1, 1, ChannelTable::RxColumn);
        QTest::keyClicks(desk.view(), keys.left(1)); // typing opens the cell's editor
        auto* edit = desk.view()->findChild<QLineEdit*>("CellFrequency");
        QVERIFY(edit && edit->hasFocus());
        QCOMPARE(edit->accessibleName(), "RX MHz");
        QTest::keyClicks(edit, keys.mid(1));
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor commits once the key is handled
        QTEST(desk.shown(1, 1, ChannelTable::RxColumn), "cell");
        QCOMPARE(desk.status(), status);
        QCOMPARE(edited.size(), status.isEmpty() ? 1 : 0);
        QCOMPARE(desk.view()->currentIndex().data(ChannelTable::RefusedRole).toBool(), !status.isEmpty());
        QVERIFY(desk.prompter.shown.isEmpty());
    }

    // F2 on a list cell opens a drop-down of the channel window's list; a choice is stored at once.
    void dropDown()
    {
        Desk desk;
        desk.go(1, 1, ChannelTable::TsqColumn);
        QTest::keyClick(desk.view(), Qt::Key_F2);
        auto* box = desk.view()->findChild<QComboBox*>("CellList");
        QVERIFY(box && box->hasFocus());
        QCOMPARE(box->count(), channelrules::ToneSquelchCount);
        QCOMPARE(box->accessibleName(), "TSQ");
        box->setCurrentIndex(39);
        Q_EMIT box->activated(39);
        QCOMPARE(desk.image.workChannels.at(0, 1, 1).toneCode, 39);
        QCOMPARE(desk.shown(1, 1, ChannelTable::TsqColumn), "D023N");
        // Typing on a list cell picks the item it begins with; Enter stores it.
        desk.go(1, 1, ChannelTable::RepColumn);
        QTest::keyClicks(desk.view(), "+");
        QTest::keyClick(desk.view()->findChild<QComboBox*>("CellList"), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(desk.shown(1, 1, ChannelTable::RepColumn), "+");
    }

    // The keys act on the selection, each as one change.
    void keys()
    {
        Desk desk;
        QSignalSpy edited(desk.window.get(), &EditorWindow::edited);
        desk.go(1, 1, ChannelTable::RxColumn);
        desk.select(1, 1, ChannelTable::TsqColumn);
        QTest::keyClick(desk.view(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "RX MHz\tTSQ\n28.01500\tOFF\n");

        QApplication::clipboard()->setText("28.2\t67.0\n28.3\t71.9\n"); // from a spreadsheet
        desk.go(1, 5, ChannelTable::RxColumn);
        QTest::keyClick(desk.view(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(desk.shown(1, 6, ChannelTable::TsqColumn), "71.9");
        QCOMPARE(edited.size(), 1);

        desk.go(1, 5, ChannelTable::TsqColumn); // fill 67.0 down onto channel 6
        desk.select(1, 6, ChannelTable::TsqColumn);
        QTest::keyClick(desk.view(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(desk.shown(1, 6, ChannelTable::TsqColumn), "67.0");

        QTest::keyClick(desk.view(), Qt::Key_Delete); // channels 5 and 6
        QCOMPARE(desk.image.work.count(0, 1), 1);

        desk.go(1, 1, ChannelTable::TsqColumn);
        QTest::keyClick(desk.view(), Qt::Key_Insert); // channel 2, at channel 1's frequency
        QCOMPARE(desk.shown(1, 2, ChannelTable::RxColumn), "28.01500");
        QCOMPARE(desk.window->table()->channelOf(desk.current().row()),
                 2); // the new channel's row is current
        QCOMPARE(edited.size(), 4);
    }

    // Sorting and the search change the view only.
    void sortAndSearch()
    {
        Desk desk;
        desk.image.addChannel(2, 0, 1, "29.6");
        desk.image.notifyChannelChanged(0, 1, 2);
        const RadioDataRecord before = desk.image.work;
        const int rx = desk.window->table()->columnOf(ChannelTable::RxColumn);
        desk.go(1, 1, ChannelTable::RxColumn);
        desk.window->sortByCurrentColumn();
        QCOMPARE(desk.view()->model()->index(0, rx).data().toString(), "28.01500");
        desk.window->sortByCurrentColumn(); // again: the other way round, free rows still last
        QCOMPARE(desk.view()->model()->index(0, rx).data().toString(), "29.60000");
        QCOMPARE(desk.view()->model()->index(9, rx).data().toString(), ""); // nine channels first
        desk.window->search("28.14");
        QCOMPARE(desk.view()->model()->rowCount(), 2); // B-01 and H-01
        desk.window->search("h");
        QCOMPARE(desk.view()->model()->rowCount(), 40);
        QVERIFY(desk.image.work == before);
    }

    // The table and the channel window beside it show every change of either at once.
    void besideTheChannelWindow()
    {
        Desk desk;
        ChannelEditor channels(desk.context);
        channels.show();
        desk.go(1, 1, ChannelTable::TsqColumn);
        QVERIFY(desk.window->table()->setData(desk.current(), "88.5"));
        QCOMPARE(channels.findChild<QComboBox*>("Combo8_0")->currentText(), "88.5");
        QVERIFY(desk.window->table()->setData(desk.window->table()->index(2, 2), "28.4")); // A-03 added
        QCOMPARE(channels.findChild<QTableWidget*>("MSFlexGrid1")->item(2, 1)->text(), "28.40000");
        test::chooseText(channels.findChild<QComboBox*>("Combo2"), "EU -- 26.3300 - 27.99125 MHz");
        QCOMPARE(desk.shown(1, 1, ChannelTable::BandColumn), "EU");
        QCOMPARE(desk.view()->model()->columnCount(), 7); // no REP in EU
    }
};

QTEST_MAIN(TestChannelTableEditor)
#include "tst_channeltableeditor.moc"
