#pragma once

#include "data/RadioData.h"
#include "editors/EditorWindow.h"
#include "editors/Sound.h"
#include "report/TipPicture.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>

#include <memory>

class QComboBox;
class QLabel;
class QPainter;
class QPushButton;
class QRect;
class QTabBar;

namespace mx {

// The roger-beep window: eight tabs, one per tip, each with fourteen
// frequency/length pairs, a repeat count, a pause and Play/Stop.
//
// Playback runs on timers: each tone is started on the sound output and the
// next one follows when its time is up, so the window stays live and Stop,
// the tabs and Close act at once. The tones come from the tab shown at each
// moment; the repeat count and pause are those of the tip when Play was pressed.
class FrmToneTips : public EditorWindow
{
    Q_OBJECT
public:
    // sound: where tones go; the computer's speaker when null.
    explicit FrmToneTips(EditorContext& context, std::unique_ptr<Sound> sound = nullptr,
                         QWidget* parent = nullptr);
    ~FrmToneTips() override;

    void applyLanguage() override;
    void commitPending() override {}
    void stopActivity() override { stopPlay(); }

    int shownTip() const { return m_shownTip; }
    bool isPlaying() const { return m_playing; }
    void play();
    void stopPlay();

Q_SIGNALS:
    // Playback ended, by itself or by Stop.
    void playbackEnded();

private:
    ToneTipRecord& tip();
    void initToneLists();
    void showToneTip();
    // The lists' choices; true when the tip changed.
    bool repeatChosen(int index);
    bool frequencyChosen(int step, int index);
    bool lengthChosen(int step, int index);
    void tipsChanged();
    void advance();
    void schedule(int ms);

    std::unique_ptr<Sound> m_sound;
    QTabBar* m_tabs = nullptr;
    QComboBox* m_repeat = nullptr;
    QComboBox* m_pause = nullptr;
    QList<QComboBox*> m_frequencies; // step 1..14 at 0..13
    QList<QComboBox*> m_lengths;
    QLabel* m_repeatLabel = nullptr;
    QLabel* m_pauseLabel = nullptr;
    QList<QLabel*> m_toneLabels;
    QList<QLabel*> m_headers; // frequency, length, frequency, length
    QWidget* m_picture = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_close = nullptr;
    int m_shownTip = 1;

    // Playback.
    bool m_playing = false;
    int m_repeatCount = 0;
    int m_pauseMs = 0;
    int m_pass = 0;
    int m_step = 1;   // next tone 1..14; 15 the pause after the pass; 16 the pass is over
    qint64 m_due = 0; // end of the sounding item, ms since Play
    QElapsedTimer m_clock;
    QTimer m_timer;
};

} // namespace mx
