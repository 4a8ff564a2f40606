// Opening time of the editor windows, and how closely tone playback keeps
// its timing through the computer's sound output (silent without a device).
#include "data/Defaults.h"
#include "data/RadioData.h"
#include "editors/EditorWindow.h"
#include "editors/Sound.h"
#include "editors/ToneTipsEditor.h"
#include "texts/Messenger.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QEventLoop>

#include <cstdio>

namespace {

class SilentPrompter : public mx::Prompter
{
public:
    mx::Answer ask(const QString&, mx::Buttons, mx::Icon) override { return mx::Answer::Ok; }
};

// Stands in for a machine without a sound output: the player keeps its timing all the same.
class Mute : public mx::Sound
{
public:
    void start(int, int) override {}
    void stop() override {}
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentPrompter prompter;
    mx::Messenger messenger(prompter);
    mx::RadioImage image;
    mx::defaults::applyBuiltIn(image, QDate::currentDate());
    mx::EditorContext context{image, messenger};

    const struct
    {
        mx::EditorKind kind;
        const char* name;
    } kinds[] = {{mx::EditorKind::OptFeatures, "option features"},
                 {mx::EditorKind::ToneTips, "roger beep"},
                 {mx::EditorKind::TVChannel, "TV channels"}};
    constexpr int Rounds = 20;
    for (const auto& k : kinds) {
        QElapsedTimer timer;
        timer.start();
        for (int r = 0; r < Rounds; ++r) {
            mx::EditorWindow* w = mx::createEditor(k.kind, context);
            w->show();
            QApplication::processEvents();
            delete w;
        }
        std::printf("open and close %-16s %8.2f ms\n", k.name, double(timer.nsecsElapsed()) / 1e6 / Rounds);
    }

    // Fourteen tones of 50 ms, three passes with 100 ms after each: 2400 ms.
    mx::ToneTipRecord& tip = image.work.toneTips[0];
    for (int j = 1; j <= mx::ToneStepCount; ++j) {
        tip.tone(j) = qint16(40 + 10 * j);
        tip.length(j) = 5;
    }
    tip.recycleTimes() = 3;
    tip.interTime() = 10;
    std::unique_ptr<mx::Sound> speaker = mx::makeSpeaker();
    if (!speaker->available()) speaker = std::make_unique<Mute>();
    mx::FrmToneTips window(context, std::move(speaker));
    QEventLoop loop;
    QObject::connect(&window, &mx::FrmToneTips::playbackEnded, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    window.play();
    loop.exec();
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    std::printf("playback of 2400 ms nominal  %8.1f ms (late by %.1f ms)\n", elapsed, elapsed - 2400.0);
    return 0;
}
