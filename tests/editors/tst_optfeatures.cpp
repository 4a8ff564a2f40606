#include "EditorSupport.h"
#include "editors/OptFeaturesEditor.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>

using namespace mx;
using namespace mx::test;

class TestOptFeatures : public QObject
{
    Q_OBJECT

    // Types text into Text2_k as the user does and leaves the box with Enter.
    static void type(FrmOptFeatures& w, int k, const QString& text)
    {
        auto* edit = w.findChild<QLineEdit*>(QStringLiteral("Text2_%1").arg(k));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(edit, text);
        else
            edit->insert(text); // as pasted or committed by an input method
        QTest::keyClick(edit, Qt::Key_Return);
    }
    static QString shown(FrmOptFeatures& w, int k)
    {
        return w.findChild<QLineEdit*>(QStringLiteral("Text2_%1").arg(k))->text();
    }

private Q_SLOTS:
    // Edits "k=text" in order; then each box shows its text and the record holds
    // what the box shows (tenths of a volt or of the SWR, kHz).
    void textBoxes_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QStringList>("shownTexts"); // SWR, min, max, REP
        // clang-format off
        QTest::newRow("min below 9 V") << QStringList{"1=8"} << QStringList{"16.0", "9.0", "16.8", "100"};
        QTest::newRow("max above 17 V") << QStringList{"2=18"} << QStringList{"16.0", "9.7", "17.0", "100"};
        QTest::newRow("min above max swaps") << QStringList{"2=12", "1=16"} << QStringList{"16.0", "12.0", "16.0", "100"};
        QTest::newRow("empty min") << QStringList{"1="} << QStringList{"16.0", "9.0", "16.8", "100"};
        QTest::newRow("SWR empty") << QStringList{"0="} << QStringList{"20.0", "9.7", "16.8", "100"};
        QTest::newRow("SWR 1.0") << QStringList{"0=1.0"} << QStringList{"1.2", "9.7", "16.8", "100"};
        QTest::newRow("SWR rounded once") << QStringList{"0=2.25"} << QStringList{"2.3", "9.7", "16.8", "100"};
        QTest::newRow("REP 123") << QStringList{"3=123"} << QStringList{"16.0", "9.7", "16.8", "120"};
        QTest::newRow("REP 1234") << QStringList{"3=1234"} << QStringList{"16.0", "9.7", "16.8", "1000"};
        QTest::newRow("REP letters refused") << QStringList{"3=1a2b5"} << QStringList{"16.0", "9.7", "16.8", "125"};
        QTest::newRow("full-width digits refused") << QStringList{QStringLiteral("3=１２5")} << QStringList{"16.0", "9.7", "16.8", "100"};
        QTest::newRow("REP empty") << QStringList{"3="} << QStringList{"16.0", "9.7", "16.8", "100"};
        // clang-format on
    }
    void textBoxes()
    {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, shownTexts);
        EditorBench bench;
        FrmOptFeatures w(bench.context);
        for (const QString& e : edits)
            type(w, e.section('=', 0, 0).toInt(), e.section('=', 1));
        const OptFeatRecord& rec = bench.image.work.optFeat;
        QCOMPARE((QStringList{shown(w, 0), shown(w, 1), shown(w, 2), shown(w, 3)}), shownTexts);
        const auto tenths = [&](int k) { return qRound(shownTexts[k].toDouble() * 10); };
        QCOMPARE((QList<int>{rec[Opt::SWRMax], rec[Opt::BatteryMin], rec[Opt::BatteryMax],
                             rec[Opt::REPOffsetKHz]}),
                 (QList<int>{tenths(0), tenths(1), tenths(2), shownTexts[3].toInt()}));
    }

    // A value still being typed is stored by commitPending, untouched boxes are not.
    void commitPendingStoresTyping()
    {
        EditorBench bench;
        bench.image.work.optFeat[Opt::SWRMax] = 255; // out of range, shown as 20.0
        FrmOptFeatures w(bench.context);
        auto* rep = w.findChild<QLineEdit*>(QStringLiteral("Text2_3"));
        rep->selectAll();
        QTest::keyClicks(rep, "333");
        w.commitPending();
        QCOMPARE(bench.image.work.optFeat[Opt::REPOffsetKHz], 330);
        QCOMPARE(bench.image.work.optFeat[Opt::SWRMax], 255);
    }

    // Choosing an item stores it, also the item a list shows for a value it
    // cannot hold: an erased radio reads 255 everywhere.
    void choices_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("value");
        // clang-format off
        QTest::newRow("MON 32 shown for 255") << "Combo1_8" << "32" << int(Opt::MonSetting) << 32;
        QTest::newRow("time-out 600s shown for 255") << "Combo1_9" << "600s" << int(Opt::TimeOutTimer) << 20;
        QTest::newRow("backlight Loop shown for 255") << "Combo1_17" << "Loop" << int(Opt::BacklightColor) << 7;
        QTest::newRow("roger OFF shown for 255") << "Combo1_28" << "OFF" << int(Opt::RogerTone) << 0;
        QTest::newRow("roger 3") << "Combo1_28" << "3" << int(Opt::RogerTone) << 3;
        QTest::newRow("TSQ D754N shown for 255") << "Combo1_29" << "D754N" << int(Opt::TSQCode) << 142;
        QTest::newRow("ASQ off: an erased flag is on") << "Check2_6" << "" << int(Opt::ASQ) << 0;
        // clang-format on
    }
    void choices()
    {
        QFETCH(QString, control);
        QFETCH(QString, item);
        QFETCH(int, field);
        QFETCH(int, value);
        EditorBench bench(true);
        FrmOptFeatures w(bench.context);
        QSignalSpy edited(&w, &EditorWindow::edited);
        if (auto* box = w.findChild<QComboBox*>(control))
            QVERIFY(chooseText(box, item));
        else
            w.findChild<QCheckBox*>(control)->click();
        QCOMPARE(int(bench.image.work.optFeat[Opt::Word(field)]), value);
        QCOMPARE(edited.size(), 1);
    }

    // Stored values no list holds show the nearest item; the roger list offers usable tips only.
    void shownValues_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("MON 255") << int(Opt::MonSetting) << 255 << "Combo1_8" << "32";
        QTest::newRow("MON 0") << int(Opt::MonSetting) << 0 << "Combo1_8" << "1";
        QTest::newRow("time-out -1") << int(Opt::TimeOutTimer) << -1 << "Combo1_9" << "Off";
        QTest::newRow("roger of a silent tip") << int(Opt::RogerTone) << 7 << "Combo1_28" << "OFF";
        QTest::newRow("TSQ 38") << int(Opt::TSQCode) << 38 << "Combo1_29" << "250.3";
        QTest::newRow("SWR 255") << int(Opt::SWRMax) << 255 << "Text2_0" << "20.0";
        QTest::newRow("battery 50") << int(Opt::BatteryMin) << 50 << "Text2_1" << "9.0";
        QTest::newRow("REP 1234") << int(Opt::REPOffsetKHz) << 1234 << "Text2_3" << "1000";
        // clang-format on
    }
    void shownValues()
    {
        QFETCH(int, field);
        QFETCH(int, value);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        EditorBench bench;
        bench.image.work.optFeat[Opt::Word(field)] = qint16(value);
        FrmOptFeatures w(bench.context);
        if (auto* box = w.findChild<QComboBox*>(control))
            QCOMPARE(box->currentText(), shown);
        else
            QCOMPARE(w.findChild<QLineEdit*>(control)->text(), shown);
        QCOMPARE(items(w.findChild<QComboBox*>(QStringLiteral("Combo1_28"))),
                 (QStringList{"OFF", "1", "2", "3", "4", "5"}));
        QCOMPARE(int(bench.image.work.optFeat[Opt::Word(field)]), value);
    }

    void chineseCaptions()
    {
        EditorBench bench;
        FrmOptFeatures w(bench.context);
        bench.messenger.setLanguage(Chinese);
        w.applyLanguage();
        QCOMPARE(w.windowTitle(), QStringLiteral("可选功能"));
        QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("Combo1_9"))->itemText(0), QStringLiteral("关"));
        QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("Combo1_17"))->currentText(), QStringLiteral("绿色"));
        QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("Combo1_25"))->accessibleName(),
                 QStringLiteral("Public"));
    }
};

QTEST_MAIN(TestOptFeatures)
#include "tst_optfeatures.moc"
