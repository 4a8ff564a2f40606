#include "EditorSupport.h"

#include "editors/TVChannelEditor.h"

#include <QTabBar>
#include <QTableWidget>

using namespace mx;
using namespace mx::test;

Q_DECLARE_METATYPE(mx::EditorKind)

// Opening an editor, looking around (every tab, both languages, a cell editor
// opened and left) and closing it writes nothing into the image.
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
            QTest::addRow("options, %s", image) << EditorKind::OptFeatures << erased;
            QTest::addRow("tones, %s", image) << EditorKind::ToneTips << erased;
            QTest::addRow("TV, %s", image) << EditorKind::TVChannel << erased;
        }
    }
    void unchanged()
    {
        QFETCH(EditorKind, kind);
        QFETCH(bool, erased);
        EditorBench bench(erased);
        RadioDataRecord& rec = bench.image.work;
        if (!erased) { // values no editor produces
            rec.toneTips[0].tone(1) = 20;
            rec.toneTips[0].length(2) = 300;
            rec.toneTips[1].recycleTimes() = 255;
            rec.optFeat[Opt::MonSetting] = 40;
            rec.optFeat[Opt::SWRMax] = 205;
            rec.optFeat[Opt::BatteryMin] = 170;
            rec.optFeat[Opt::BatteryMax] = 90;
            rec.optFeat[Opt::RogerTone] = 8;
            rec.optFeat[Opt::CurrentTVChannel] = 255;
            rec.tvChannels[0].frequency = 155.123;
            rec.tvChannels[0].tbst = 7;
        }
        const RadioDataRecord before = rec;
        const auto channels = bench.image.workChannels.records;
        EditorWindow* w = createEditor(kind, bench.context);
        QCOMPARE(w->objectName(), EditorWindow::nameOf(kind));
        w->show();
        if (auto* tabs = w->findChild<QTabBar*>())
            for (int t = 0; t < tabs->count(); ++t)
                tabs->setCurrentIndex(t);
        if (auto* tv = qobject_cast<FrmTVCH*>(w)) {
            tv->editCell(1, 1);
            tv->editCell(1, 2);
            tv->editCell(1, 3);
        }
        bench.messenger.setLanguage(Chinese);
        w->applyLanguage();
        w->commitPending();
        w->close();
        delete w;
        QVERIFY(rec == before);
        QVERIFY(bench.image.workChannels.records == channels);
    }
};

QTEST_MAIN(TestEditorImage)
#include "tst_editorimage.moc"
