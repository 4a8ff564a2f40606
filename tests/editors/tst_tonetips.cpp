#include "EditorSupport.h"
#include "e2e/E2e.h"
#include "editors/OptFeaturesEditor.h"
#include "editors/Sound.h"
#include "editors/ToneTipsEditor.h"

#include <QDir>
#include <QImage>
#include <QLibrary>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>

using namespace mx;
using namespace mx::test;

namespace {

using Steps = QList<QPair<int, int>>; // (tone in 10 Hz, length in 10 ms), or (hz, ms) as played

// Remembers every (hz, ms) the player asks for.
class RecordingSound : public Sound
{
public:
    Steps* started;
    int* stops;
    bool output = true; // false: a machine without a sound output
    RecordingSound(Steps* s, int* t) : started(s), stops(t) {}
    bool available() override { return output; }
    void start(int hz, int ms) override { started->append({hz, ms}); }
    void stop() override { ++*stops; }
};

void setTip(ToneTipRecord& tip, const Steps& steps, int repeat, int pause)
{
    tip.words.fill(0);
    for (int j = 0; j < steps.size(); ++j) {
        tip.tone(j + 1) = qint16(steps[j].first);
        tip.length(j + 1) = qint16(steps[j].second);
    }
    tip.recycleTimes() = qint16(repeat);
    tip.interTime() = qint16(pause);
}

struct Player
{
    EditorBench bench;
    Steps started;
    int stops = 0;
    std::unique_ptr<FrmToneTips> window;

    explicit Player(const Steps& steps, int repeat, int pause)
    {
        setTip(bench.image.work.toneTips[0], steps, repeat, pause);
        window =
            std::make_unique<FrmToneTips>(bench.context, std::make_unique<RecordingSound>(&started, &stops));
    }
};

} // namespace

class TestToneTips : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void playback_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("pause");
        QTest::addColumn<Steps>("expected"); // (hz, ms), pause is hz 0
        using P = Steps;
        const P pass{{400, 100}, {800, 300}, {0, 500}};
        QTest::newRow("repeat 3 pause 500") << Steps{{40, 10}, {80, 30}} << 3 << 50 << pass + pass + pass;
        QTest::newRow("None is silence, zero lengths skipped")
            << Steps{{0, 10}, {100, 0}, {255, 2}} << 1 << 0 << P{{0, 100}, {2550, 20}};
        QTest::newRow("repeat 255 plays as 10") << Steps{{40, 1}} << 255 << 0 << P(10, {400, 10});
        QTest::newRow("frequency below the list is None") << Steps{{20, 1}} << 1 << 0 << P{{0, 10}};
    }
    void playback()
    {
        QFETCH(Steps, steps);
        QFETCH(int, repeat);
        QFETCH(int, pause);
        QFETCH(Steps, expected);
        Player p(steps, repeat, pause);
        QSignalSpy ended(p.window.get(), &FrmToneTips::playbackEnded);
        auto* play = p.window->findChild<QPushButton*>(QStringLiteral("Command1_0"));
        play->click();
        QVERIFY(!play->isEnabled());
        QVERIFY(ended.wait(10000));
        QCOMPARE(p.started, expected);
        QVERIFY(play->isEnabled());
        QVERIFY(!p.window->isPlaying());
    }

    // Stop during a pause, Close, or a tip without lengths: nothing sounds afterwards.
    void stopping_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("stop in the pause") << "stop";
        QTest::newRow("close") << "close";
        QTest::newRow("tip without lengths") << "silent";
    }
    void stopping()
    {
        QFETCH(QString, how);
        Player p({{40, how == "silent" ? 0 : 1}}, 3, 255);
        p.window->play();
        if (how == "silent") {
            QVERIFY(!p.window->isPlaying());
            QVERIFY(p.started.isEmpty());
            return;
        }
        QTRY_COMPARE(p.started.size(), 2); // the tone, then the 2550 ms pause
        if (how == "stop")
            p.window->findChild<QPushButton*>(QStringLiteral("Command2_0"))->click();
        else
            p.window->close();
        QVERIFY(!p.window->isPlaying());
        QVERIFY(p.window->findChild<QPushButton*>(QStringLiteral("Command1_0"))->isEnabled());
        QCOMPARE(p.stops, 1);
        QTest::qWait(100);
        QCOMPARE(p.started.size(), 2);
    }

    // The tones follow the tab shown at each moment.
    void tabChangeDuringPlayback()
    {
        Player p({{40, 30}, {40, 30}}, 1, 0);
        setTip(p.bench.image.work.toneTips[1], {{60, 1}, {70, 1}}, 1, 0);
        p.window->play();
        QSignalSpy ended(p.window.get(), &FrmToneTips::playbackEnded);
        p.window->findChild<QTabBar*>()->setCurrentIndex(1);
        QCOMPARE(p.window->shownTip(), 2);
        QVERIFY(ended.wait(5000));
        QCOMPARE(p.started, (Steps{{400, 300}, {700, 10}}));
    }

    // Setting the last usable tip silent is refused; with a second usable tip
    // tip 1 goes silent and the roger references to it go OFF.
    void refusals_data()
    {
        QTest::addColumn<bool>("twoUsable");
        QTest::addColumn<int>("firstLength"); // of tip 1, whose second tone has length 10
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("stored");
        QTest::newRow("repeat off, last usable") << false << 10 << "Combo1_0"
                                                 << "Off" << false;
        QTest::newRow("last length 0, last usable") << false << 0 << "Combo4_1"
                                                    << "0" << false;
        QTest::newRow("one of two lengths 0") << false << 10 << "Combo4_1"
                                              << "0" << true;
        QTest::newRow("repeat off, two usable") << true << 10 << "Combo1_0"
                                                << "Off" << true;
        QTest::newRow("last length 0, two usable") << true << 0 << "Combo4_1"
                                                   << "0" << true;
    }
    void refusals()
    {
        QFETCH(bool, twoUsable);
        QFETCH(int, firstLength);
        QFETCH(QString, control);
        QFETCH(QString, item);
        QFETCH(bool, stored);
        EditorBench bench;
        RadioDataRecord& rec = bench.image.work;
        for (ToneTipRecord& tip : rec.toneTips)
            setTip(tip, {}, 0, 0);
        setTip(rec.toneTips[0], {{40, firstLength}, {50, 10}}, 2, 0);
        if (twoUsable) setTip(rec.toneTips[1], {{40, 10}}, 1, 0);
        rec.optFeat[Opt::RogerTone] = 1;
        bench.image.addChannel(5, 0, 1, QStringLiteral("28.0150"));
        bench.image.workChannels.at(0, 1, 1).rogerBeep = 1;
        const ToneTipRecord before = rec.toneTips[0];
        FrmOptFeatures options(bench.context);
        FrmToneTips w(bench.context, nullptr);
        auto* box = w.findChild<QComboBox*>(control);
        const QString shownBefore = box->currentText();
        QVERIFY(chooseText(box, item));
        QCOMPARE(rec.toneTips[0] != before, stored);
        QCOMPARE(box->currentText(), stored ? item : shownBefore);
        QCOMPARE(rec.optFeat[Opt::RogerTone], twoUsable ? 0 : 1);
        QCOMPARE(bench.image.workChannels.at(0, 1, 1).rogerBeep, twoUsable ? 0 : 1);
        QCOMPARE(
            items(options.findChild<QComboBox*>(QStringLiteral("Combo1_28"))).contains(QStringLiteral("1")),
            !twoUsable);
    }

    // Choosing an item stores it, also the item a list shows for a value it cannot hold.
    void shownItemStored_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("word"); // of the tip record
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        // clang-format off
        QTest::newRow("None shown for 200 Hz") << "Combo3_0" << "None" << 0 << 20 << 0;
        QTest::newRow("2550 shown for a length of 300") << "Combo4_0" << "2550" << 1 << 300 << 255;
        QTest::newRow("10 shown for repeat 255") << "Combo1_0" << "10" << 28 << 255 << 10;
        // clang-format on
    }
    void shownItemStored()
    {
        QFETCH(QString, control);
        QFETCH(QString, item);
        QFETCH(int, word);
        QFETCH(int, before);
        EditorBench bench(true);
        qint16& stored = bench.image.work.toneTips[0].words[word];
        stored = qint16(before);
        FrmToneTips w(bench.context, nullptr);
        QSignalSpy edited(&w, &EditorWindow::edited);
        auto* box = w.findChild<QComboBox*>(control);
        QCOMPARE(box->currentText(), item);
        QVERIFY(chooseText(box, item));
        QTEST(int(stored), "after");
        QCOMPARE(edited.size(), 1);
    }

    // Without a sound output Play says so in the status bar and plays nothing.
    void noSoundOutput()
    {
        EditorBench bench;
        Steps started;
        int stops = 0;
        auto sound = std::make_unique<RecordingSound>(&started, &stops);
        sound->output = false;
        FrmToneTips w(bench.context, std::move(sound));
        QSignalSpy notice(&w, &EditorWindow::notice);
        w.play();
        QCOMPARE(notice.size(), 1);
        QCOMPARE(notice[0][0].toString(), QStringLiteral("No sound output: the tone cannot be played."));
        QVERIFY(!w.isPlaying());
        QVERIFY(started.isEmpty());
    }

    // The sound output is a module beside the programs, loaded when a tone is first
    // played; a program without it plays nothing and says so.
    void soundModule()
    {
        QLibrary module(QDir(e2e::binDir()).filePath("mxsound"));
        const auto create = reinterpret_cast<Sound* (*)()>(module.resolve("mx_create_speaker"));
        QVERIFY2(create, qPrintable(module.errorString()));
        std::unique_ptr<Sound> speaker(create());
        speaker->stop();
        QVERIFY(!makeSpeaker()->available()); // no module beside the test
    }

    // Tones (400 Hz, 100 ms) and (800 Hz, 300 ms) in a 208 x 108 picture:
    // 200 x 100 inside the 4-pixel margin.
    void barGeometry_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QList<int>>("bars"); // colour (0 red, 1 blue), left, width, height, ...
        QTest::newRow("quarter and three quarters")
            << Steps{{40, 10}, {80, 30}} << QList<int>{0, 4, 50, 16, 1, 54, 150, 31};
        QTest::newRow("pause takes width only")
            << Steps{{0, 10}, {0, 0}, {255, 10}} << QList<int>{0, 104, 100, 100};
        QTest::newRow("no lengths draws nothing") << Steps{{200, 0}} << QList<int>{};
    }
    void barGeometry()
    {
        QFETCH(Steps, steps);
        QFETCH(QList<int>, bars);
        ToneTipRecord tip;
        setTip(tip, steps, 1, 0);
        QImage image(208, 108, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            drawTip(painter, tip, image.rect());
        }
        // Scan the bottom row inside the margin for runs of colour and measure each run's height.
        QList<int> found;
        const int y = 108 - 4 - 1;
        for (int x = 0; x < image.width();) {
            const QRgb c = image.pixel(x, y);
            if (c == qRgb(255, 255, 255)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < image.width() && image.pixel(end, y) == c)
                ++end;
            int top = y;
            while (top > 0 && image.pixel(x, top - 1) == c)
                --top;
            found << (c == qRgb(255, 0, 0)   ? 0
                      : c == qRgb(0, 0, 255) ? 1
                                             : -1)
                  << x << end - x << y - top + 1;
            x = end;
        }
        QCOMPARE(found, bars);
    }
};

QTEST_MAIN(TestToneTips)
#include "tst_tonetips.moc"
