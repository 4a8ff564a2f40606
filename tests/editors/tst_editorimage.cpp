#include "EditorSupport.h"

#include "editors/ChannelEditor.h"
#include "editors/TVChannelEditor.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTabBar>
#include <QTableWidget>

#include <memory>

using namespace mx;
using namespace mx::test;

namespace {

// Counts the wheel events that reach a widget.
struct WheelCount : QObject
{
    int seen = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        seen += event->type() == QEvent::Wheel;
        return false;
    }
};

} // namespace

Q_DECLARE_METATYPE(mx::EditorKind)

// Opening an editor, looking around (every tab, both languages, a cell editor
// opened and left) and closing it writes nothing into the image, whatever the
// image holds; labels stay left of their controls and every control has a name.
class TestEditorImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unchanged_data()
    {
        QTest::addColumn<EditorKind>("kind");
        QTest::addColumn<bool>("erased");
        for (bool erased : {false, true}) {
            const char* image = erased ? "erased radio" : "odd values";
            QTest::addRow("channels, %s", image) << EditorKind::ChannelInfo << erased;
            QTest::addRow("options, %s", image) << EditorKind::OptFeatures << erased;
            QTest::addRow("tones, %s", image) << EditorKind::ToneTips << erased;
            QTest::addRow("TV, %s", image) << EditorKind::TVChannel << erased;
            QTest::addRow("channel table, %s", image) << EditorKind::ChannelTable << erased;
        }
    }
    void unchanged()
    {
        QFETCH(EditorKind, kind);
        QFETCH(bool, erased);
        EditorBench bench(erased);
        RadioDataRecord& rec = bench.image.work;
        if (!erased) { // values no editor produces
            rec.rangeMode = 255;
            rec.currentBand.fill(255);
            rec.currentChannel.fill(255);
            rec.optFeat.words.fill(255);
            rec.count(0, 1) = 255;
            bench.image.workChannels.at(0, 2, 1).chNo = 99;
            bench.image.workChannels.at(0, 3, 1).chNo = -1;
            rec.toneTips[0].tone(1) = 20;
            rec.toneTips[0].length(2) = 300;
            rec.toneTips[1].recycleTimes() = 255;
            rec.optFeat[Opt::MonSetting] = 40;
            rec.optFeat[Opt::SWRMax] = 205;
            rec.optFeat[Opt::BatteryMin] = 170;
            rec.optFeat[Opt::BatteryMax] = 90;
            rec.optFeat[Opt::RogerTone] = 8;
            rec.tvChannels[0].frequency = 155.123;
            rec.tvChannels[0].tbst = 7;
        }
        const RadioDataRecord before = rec;
        const auto channels = bench.image.workChannels.records;
        EditorWindow* w = createEditor(kind, bench.context);
        QSignalSpy edited(w, &EditorWindow::edited);
        QCOMPARE(w->objectName(), EditorWindow::nameOf(kind));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        if (auto* channelEditor = qobject_cast<ChannelEditor*>(w))
            QCOMPARE(channelEditor->family(), erased ? int(rec.rangeMode) : 0);
        if (auto* tabs = w->findChild<QTabBar*>())
            for (int t = 0; t < tabs->count(); ++t)
                tabs->setCurrentIndex(t);
        if (auto* tv = qobject_cast<FrmTVCH*>(w)) {
            tv->editCell(1, 1);
            tv->editCell(1, 2);
            tv->editCell(1, 3);
        } else if (auto* grid = w->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"))) {
            grid->setCurrentCell(4, 1);
        }
        bench.messenger.setLanguage(Chinese);
        w->applyLanguage();
        QCoreApplication::processEvents();
        for (QLabel* label : w->findChildren<QLabel*>()) {
            QWidget* control = label->buddy();
            if (!control || !control->isVisible()) continue;
            const QRect l(label->mapTo(w, QPoint()), label->size());
            const QRect c(control->mapTo(w, QPoint()), control->size());
            QVERIFY2(l.right() < c.left() && l.bottom() >= c.top() && l.top() <= c.bottom(),
                     qPrintable(label->text()));
        }
        for (QWidget* control : w->findChildren<QWidget*>())
            if (!control->objectName().isEmpty() && control->focusPolicy() != Qt::NoFocus)
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        w->commitPending();
        w->close();
        delete w;
        QVERIFY(rec == before);
        QVERIFY(bench.image.workChannels.records == channels);
        QVERIFY(edited.isEmpty());
        QVERIFY(bench.prompter.shown.isEmpty());
    }

    // A wheel notch over a list without the keyboard focus scrolls the window
    // and changes nothing; once the list has the focus the wheel picks items.
    void wheel_data()
    {
        QTest::addColumn<EditorKind>("kind");
        QTest::addColumn<QString>("list");
        QTest::newRow("channels: range family") << EditorKind::ChannelInfo << "Combo2";
        QTest::newRow("channels: TSQ") << EditorKind::ChannelInfo << "Combo8_0";
        QTest::newRow("options: time-out") << EditorKind::OptFeatures << "Combo1_9";
        QTest::newRow("tones: first frequency") << EditorKind::ToneTips << "Combo3_0";
        QTest::newRow("TV: current channel") << EditorKind::TVChannel << "Combo1";
    }
    void wheel()
    {
        QFETCH(EditorKind, kind);
        QFETCH(QString, list);
        EditorBench bench;
        bench.image.work.tvChannels[1] = TVChannelRecord{1, 155.0, 0, 1};
        const RadioDataRecord before = bench.image.work;
        const auto channels = bench.image.workChannels.records;
        const auto unchanged = [&] {
            return bench.image.work == before && bench.image.workChannels.records == channels;
        };
        QScrollArea area;
        area.setWidget(createEditor(kind, bench.context));
        area.resize(200, 200);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        auto* box = area.widget()->findChild<QComboBox*>(list);
        const int shown = box->currentIndex();
        const int down = shown + 1 < box->count() ? 1 : -1; // towards an item there is
        const auto notch = [box, down] {
            QWheelEvent event(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), {}, {0, -120 * down},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&event);
            QApplication::instance()->notify(box, &event);
        };
        area.ensureWidgetVisible(box);
        area.widget()->findChild<QPushButton*>(QStringLiteral("CommandClose"))->setFocus();
        WheelCount window;
        area.viewport()->installEventFilter(&window);
        notch();
        QCOMPARE(box->currentIndex(), shown);
        QVERIFY(!box->hasFocus());
        QVERIFY(unchanged());
        QCOMPARE(window.seen, 1);
        box->setFocus();
        notch();
        QCOMPARE(box->currentIndex(), shown + down);
        QVERIFY(!unchanged());
    }

    // Tab visits every control that takes the focus, Close included, and
    // leaves the lists of channels; Shift+Tab goes back the same way.
    void tabOrder_data()
    {
        QTest::addColumn<EditorKind>("kind");
        QTest::newRow("channels") << EditorKind::ChannelInfo;
        QTest::newRow("options") << EditorKind::OptFeatures;
        QTest::newRow("tones") << EditorKind::ToneTips;
        QTest::newRow("TV") << EditorKind::TVChannel;
    }
    void tabOrder()
    {
        QFETCH(EditorKind, kind);
        EditorBench bench;
        std::unique_ptr<EditorWindow> w(createEditor(kind, bench.context));
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QList<QWidget*> controls;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->isVisible() && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus) && !c->focusProxy())
                controls.append(c);
        auto* close = w->findChild<QPushButton*>(QStringLiteral("CommandClose"));
        QVERIFY(controls.contains(close));
        for (Qt::KeyboardModifiers direction : {Qt::NoModifier, Qt::ShiftModifier}) {
            close->setFocus();
            QList<QWidget*> visited{close};
            for (int k = 0; k < controls.size(); ++k) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, direction);
                visited.append(QApplication::focusWidget());
            }
            QCOMPARE(visited.last(), close); // round the whole window
            for (QWidget* c : controls)
                QVERIFY2(visited.contains(c), qPrintable(c->objectName()));
        }
    }

    // Any text in any text box, typed or put there by paste or an input method:
    // the window keeps working and what it stores stays within its limits.
    void junkInTextBoxes_data()
    {
        QTest::addColumn<EditorKind>("kind");
        QTest::newRow("options") << EditorKind::OptFeatures;
        QTest::newRow("TV") << EditorKind::TVChannel;
        QTest::newRow("channels") << EditorKind::ChannelInfo;
    }
    void junkInTextBoxes()
    {
        QFETCH(EditorKind, kind);
        // clang-format off
        const QStringList junk{"", "abc", "99999999999999999999", "-5", "1e308", "０１２.５", "..", "12.3.4",
                               " \t", "NaN", "-0", "0.00001", "%s%n", QString(300, u'9')};
        // clang-format on
        EditorBench bench;
        EditorWindow* w = createEditor(kind, bench.context);
        w->show();
        for (const QString& text : junk) {
            if (auto* tv = qobject_cast<FrmTVCH*>(w)) tv->editCell(1, 1);
            if (auto* grid = w->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"))) {
                grid->setCurrentCell(int(junk.indexOf(text)) % 3, 1); // a channel, then free rows
                QTest::keyClick(grid, Qt::Key_Return);
            }
            for (QLineEdit* edit : w->findChildren<QLineEdit*>()) {
                if (!edit->isVisible() || edit->isReadOnly()) continue;
                edit->setFocus();
                edit->selectAll();
                bool ascii = true;
                for (QChar c : text)
                    ascii = ascii && c.unicode() < 0x7F && c.unicode() >= 0x20;
                if (ascii) QTest::keyClicks(edit, text); // typed: the validator filters
                QInputMethodEvent composed;              // from an input method
                composed.setCommitString(text);
                QCoreApplication::sendEvent(edit, &composed);
                Q_EMIT edit->editingFinished();
                edit->setText(text); // put there by any other way
                Q_EMIT edit->editingFinished();
                w->commitPending();
            }
        }
        w->close();
        delete w;
        const OptFeatRecord& o = bench.image.work.optFeat;
        QVERIFY(o[Opt::BatteryMin] >= 90 && o[Opt::BatteryMin] <= o[Opt::BatteryMax] &&
                o[Opt::BatteryMax] <= 170);
        QVERIFY(o[Opt::SWRMax] >= 12 && o[Opt::SWRMax] <= 200);
        QVERIFY(o[Opt::REPOffsetKHz] >= 0 && o[Opt::REPOffsetKHz] <= 1000 && o[Opt::REPOffsetKHz] % 5 == 0);
        for (int b = 1; b <= BandCount; ++b)
            QVERIFY(bench.image.work.count(0, b) >= 0 && bench.image.work.count(0, b) <= SlotCount);
        for (const TVChannelRecord& tv : bench.image.work.tvChannels)
            if (tv.inUse == 1)
                QVERIFY2(tv.frequency >= 150.0 && tv.frequency <= 170.0,
                         qPrintable(QString::number(tv.frequency)));
    }
};

QTEST_MAIN(TestEditorImage)
#include "tst_editorimage.moc"
