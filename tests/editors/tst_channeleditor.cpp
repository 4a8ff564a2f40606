// The channel editor offscreen: typing into the list, the band switches and
// the detail panel.

#include "EditorSupport.h"
#include "data/FreqRules.h"
#include "editors/ChannelEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace mx;

namespace {

const QString OutOfRange = QStringLiteral("Frequency is out of range.");

// An image, the messenger and, once opened, the window on them.
struct Desk : test::EditorBench
{
    using EditorBench::EditorBench;
    std::unique_ptr<ChannelEditor> editor;

    // Shows band b of family m with row `row` current.
    void open(int m, int b, int row)
    {
        image.work.rangeMode = qint16(m);
        image.setRangeFamily(m);
        image.work.currentBand[m] = qint16(b);
        image.work.currentChannel[bandIndex(m, b)] = qint16(row);
        open();
    }
    // Shows the image as it is.
    void open()
    {
        editor = std::make_unique<ChannelEditor>(context);
        editor->show();
        QApplication::setActiveWindow(editor.get());
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
    }
    template <typename T> T* find(const char* name) const
    {
        return editor->findChild<T*>(QLatin1String(name));
    }
    QComboBox* box(const char* name) const { return find<QComboBox>(name); }
    QTableWidget* grid() const { return find<QTableWidget>("MSFlexGrid1"); }
    QLineEdit* edit() const { return find<QLineEdit>("Text1"); }
    // What the user does with a list: pick an item.
    void choose(const char* name, int index) const
    {
        QComboBox* b = box(name);
        b->setCurrentIndex(index);
        Q_EMIT b->activated(index);
    }
    // On row `row` the edit starts with Enter, F2 or the first key typed on the
    // list; then the keys (\b Backspace, \x16 Ctrl+V, \t focus elsewhere), and
    // Enter unless the focus left.
    void type(int row, QString keys, const QString& start = QStringLiteral("Enter"))
    {
        grid()->setCurrentCell(row - 1, 1);
        if (start == "F2")
            QTest::keyClick(grid(), Qt::Key_F2);
        else if (start == "key")
            QTest::keyClicks(grid(), keys.left(1));
        else
            QTest::keyClick(grid(), Qt::Key_Return);
        if (start == "key") keys.remove(0, 1);
        QVERIFY(edit()->isVisible() && edit()->hasFocus());
        for (QChar c : keys) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(edit(), Qt::Key_Backspace);
            else if (c == QLatin1Char('\t')) // a click on the family selector
                box("Combo2")->setFocus(Qt::MouseFocusReason);
            else if (c == QChar(0x16))
                QTest::keyClick(edit(), Qt::Key_V, Qt::ControlModifier);
            else
                QTest::keyClicks(edit(), QString(c));
        }
        if (!keys.endsWith(QLatin1Char('\t'))) QTest::keyClick(edit(), Qt::Key_Return);
        QVERIFY(edit()->isHidden());
    }
    QString rx(int m, int b, int n) const
    {
        const int slot = image.findSlot(n, m, b);
        return slot > 0 ? image.workChannels.at(m, slot, b).rxFreq.text() : QStringLiteral("-");
    }
};

} // namespace

class TestChannelEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typing_data()
    {
        QTest::addColumn<QList<int>>("where"); // family, band, row
        QTest::addColumn<QString>("start");    // Enter, F2, or the first key typed on the list
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("rx");   // stored afterwards, "-" for no channel
        QTest::addColumn<QString>("cell"); // the row's text afterwards
        QTest::addColumn<int>("next");     // current row afterwards
        QTest::addColumn<QString>("message");
        const QString none;
        // clang-format off
        QTest::newRow("27a.1 keeps 27.1") << QList<int>{2, 1, 3} << "key" << "27a.1" << "271000" << "27.10000" << 4 << none;
        QTest::newRow("Enter on row 40 wraps") << QList<int>{0, 1, 40} << "F2" << "28.5" << "285000" << "28.50000" << 1 << none;
        QTest::newRow("the focus leaving stores") << QList<int>{1, 2, 6} << "Enter" << "28.45\t" << "284500" << "28.45000" << 6 << none;
        QTest::newRow("cleared row deletes") << QList<int>{0, 3, 1} << "Enter" << "\b" << "-" << "" << 2 << none;
        QTest::newRow("Ctrl+V and letters do nothing") << QList<int>{0, 1, 1} << "Enter" << "\x16x" << "28015000" << "28.01500" << 2 << none;
        QTest::newRow("a key typed replaces the cell") << QList<int>{0, 1, 1} << "key" << "30" << "28015000" << "28.01500" << 2 << OutOfRange;
        QTest::newRow("UK shows 27.60125, Enter stores nothing") << QList<int>{2, 2, 1} << "Enter" << "" << "27601000" << "27.60125" << 2 << none;
        // clang-format on
    }
    void typing()
    {
        QFETCH(QList<int>, where);
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, rx);
        const int m = where[0], b = where[1], row = where[2];
        Desk desk;
        desk.image.workChannels.at(2, 1, 2).rxFreq.set(QStringLiteral("27601000"));
        QApplication::clipboard()->setText(QStringLiteral("28.3"));
        desk.open(m, b, row);
        QSignalSpy edited(desk.editor.get(), &EditorWindow::edited);
        desk.type(row, keys, start);
        QCOMPARE(desk.rx(m, b, row), rx);
        QTEST(desk.grid()->item(row - 1, 1)->text(), "cell");
        QTEST(desk.grid()->currentRow() + 1, "next");
        QTEST(desk.prompter.texts().value(0), "message");
        QCOMPARE(edited.isEmpty(), rx == "28015000" || keys.isEmpty());
    }

    void groupValid_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("choice");       // 0 OFF, 1 ON
        QTest::addColumn<QList<int>>("after"); // shown index, BandValid, WorkBand, channels
        QTest::newRow("last enabled band snaps back to ON") << "othersOff" << 0 << QList<int>{1, 1, 1, 1};
        QTest::newRow("OFF: the work band moves on") << "" << 0 << QList<int>{0, 0, 2, 1};
        QTest::newRow("ON for an empty band: default channel") << "emptyOff" << 1 << QList<int>{1, 1, 1, 1};
    }
    void groupValid()
    {
        QFETCH(QString, setup);
        QFETCH(int, choice);
        Desk desk;
        OptFeatRecord& opt = desk.image.work.optFeat;
        for (int b = 2; b <= BandCount; ++b)
            if (setup == "othersOff") opt.bandValid(0, b) = 0;
        if (setup == "emptyOff") {
            desk.image.work.count(0, 1) = 0;
            opt.bandValid(0, 1) = 0;
        }
        desk.open(0, 1, 1);
        desk.choose("Combo1_6", choice);
        QTEST((QList<int>{desk.box("Combo1_6")->currentIndex(), opt.bandValid(0, 1), opt.workBand(0),
                          desk.image.work.count(0, 1)}),
              "after");
        // The band's channel is in its row and in the work channel list.
        QCOMPARE(desk.grid()->item(0, 1)->text(), "28.01500");
        QCOMPARE(desk.box("Combo1_2")->currentText(), "1");
    }

    void detailPanel_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("publicIndex");
        QTest::addColumn<bool>("offered"); // Roger and BUSY enabled
        QTest::newRow("Public OFF enables Roger and BUSY") << 0 << 0 << true;
        QTest::newRow("Public ON disables them") << 1 << 1 << false;
        QTest::newRow("family 2: no REP") << 2 << 0 << true;
    }
    void detailPanel()
    {
        QFETCH(int, family);
        QFETCH(int, publicIndex);
        QFETCH(bool, offered);
        Desk desk;
        desk.open(family, 1, 2); // a free row: no panel
        desk.editor->resize(1, 1);
        desk.grid()->setCurrentCell(0, 1);
        QVERIFY(desk.find<QGroupBox>("Frame2")->isVisible());
        QVERIFY(!desk.find<QGroupBox>("Frame2")->geometry().intersects(desk.grid()->geometry()));
        QVERIFY(desk.box("Combo8_5")->isHidden()); // HI-CUT is never offered
        desk.choose("Combo8_3", publicIndex);
        QCOMPARE(int(desk.image.workChannels.at(family, 1, 1).publicFlag), publicIndex);
        QCOMPARE(desk.box("Combo8_2")->isEnabled(), offered);
        QCOMPARE(desk.box("Combo8_4")->isEnabled(), offered);
        QCOMPARE(desk.box("Combo8_1")->isVisible(), family != 2);
        desk.grid()->setCurrentCell(1, 1); // row 2 holds no channel
        QVERIFY(desk.find<QGroupBox>("Frame2")->isHidden());
    }

    // Choosing an item stores it, also the item a list shows for a value it
    // cannot hold: an erased radio with 255 where a damaged file may hold it.
    void shownItemStored_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        // clang-format off
        QTest::newRow("10M") << "Combo2" << "10M -- 28.0000 - 29.7000 MHz" << "range family" << 0;
        QTest::newRow("band A") << "Combo6" << "A" << "band" << 1;
        QTest::newRow("Group Valid OFF") << "Combo1_6" << "OFF" << "band valid" << 0;
        QTest::newRow("TSQ OFF") << "Combo8_0" << "OFF" << "TSQ" << 0;
        QTest::newRow("Roger OFF") << "Combo8_2" << "OFF" << "roger" << 0;
        // clang-format on
    }
    void shownItemStored()
    {
        QFETCH(QString, list);
        QFETCH(QString, item);
        QFETCH(QString, field);
        Desk desk(true);
        desk.image.addChannel(1, 0, 1, QStringLiteral("28.0150"));
        ChannelRecord& ch = desk.image.workChannels.at(0, 1, 1);
        ch.publicFlag = ch.toneCode = ch.rogerBeep = 255;
        desk.image.work.rangeMode = desk.image.work.optFeat.bandValid(0, 1) = 255;
        desk.open();
        QSignalSpy edited(desk.editor.get(), &EditorWindow::edited);
        QComboBox* box = desk.box(qPrintable(list));
        QCOMPARE(box->currentText(), item);
        QVERIFY(test::chooseText(box, item));
        const RadioDataRecord& rec = desk.image.work;
        const QMap<QString, int> stored{{"range family", rec.rangeMode},
                                        {"band", rec.currentBand[0]},
                                        {"band valid", rec.optFeat.bandValid(0, 1)},
                                        {"TSQ", ch.toneCode},
                                        {"roger", ch.rogerBeep}};
        QTEST(stored[field], "value");
        QCOMPARE(edited.size(), 1);
    }

    // The detail panel, the lists and typed rows store what the radio gets
    // (the bytes written from an image: tst_mainwindow, tst_codec).
    void editsReachTheImage()
    {
        Desk desk;
        desk.open(1, 1, 1);
        // The radio keeps a band's channels in the order of their slots: new
        // channels go on the rows after the last one, so that the numbers come back.
        desk.type(2, QStringLiteral("28.3"));
        desk.grid()->setCurrentCell(1, 1);
        desk.choose("Combo8_0", 40); // D025N
        desk.choose("Combo8_1", 1);  // +
        desk.choose("Combo8_3", 0);  // Public OFF
        desk.choose("Combo8_4", 1);  // BUSY ON
        desk.choose("Combo8_2", 3);  // roger tip 3
        desk.choose("Combo1_2", 1);  // work channel 2
        desk.choose("Combo6", 3);    // band D
        QSignalSpy caption(&desk.image, &RadioImage::captionChanged);
        desk.choose("Combo2", 0); // 10M and back: each family keeps its band
        QCOMPARE(desk.box("Combo6")->currentText(), "A");
        desk.choose("Combo2", 1);
        QCOMPARE(desk.box("Combo6")->currentText(), "D");
        QCOMPARE(caption.size(), 2);
        QCOMPARE(desk.image.rangeText, "25.6150 - 30.1050 MHz");
        desk.type(1, QStringLiteral("27.1256"));
        desk.type(2, QStringLiteral("29.9"));
        desk.editor->commitPending();
        desk.editor.reset();

        auto channel = [&](int b, int n) {
            const int slot = desk.image.findSlot(n, 1, b);
            if (slot == 0) return QStringList{};
            const ChannelRecord& ch = desk.image.workChannels.at(1, slot, b);
            return QStringList{freq::textFromStored(ch.rxFreq.text(), 25.615)} +
                   QStringList{QString::number(ch.toneCode), QString::number(ch.repeaterShift),
                               QString::number(ch.publicFlag), QString::number(ch.busy),
                               QString::number(ch.rogerBeep)};
        };
        QCOMPARE(channel(1, 2), (QStringList{"28.30000", "40", "1", "0", "1", "3"}));
        QCOMPARE(channel(4, 1), (QStringList{"27.12500", "0", "0", "1", "0", "0"}));
        QCOMPARE(channel(4, 2), (QStringList{"29.90000", "0", "0", "1", "0", "0"}));
        QCOMPARE(desk.image.work.count(1, 1), 2);
        QCOMPARE(desk.image.work.optFeat.workChannel(1, 1), 2);
    }
};

QTEST_MAIN(TestChannelEditor)
#include "tst_channeleditor.moc"
