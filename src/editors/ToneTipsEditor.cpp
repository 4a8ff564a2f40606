#include "editors/ToneTipsEditor.h"

#include "data/ToneRules.h"
#include "editors/Sound.h"
#include "editors/WidgetSupport.h"
#include "texts/Messenger.h"
#include "texts/ToneTexts.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringListModel>
#include <QTabBar>
#include <QVBoxLayout>

#include <cmath>

namespace mx {

namespace {

// Items of the 10-unit lists: "0", "10", ... "2550".
QStringList tens(int from)
{
    QStringList out;
    for (int k = from; k <= 255; ++k)
        out.append(QString::number(k * 10));
    return out;
}

// Frequency list index <-> stored tone: item 0 "None", item i the tone 39 + i.
int toneOfItem(int index)
{
    return index <= 0 ? 0 : 39 + index;
}
int itemOfTone(int tone)
{
    return tone == 0 ? 0 : tone - 39;
}

class TipPicture : public QFrame
{
public:
    TipPicture(const std::function<const ToneTipRecord&()>& tip, QWidget* parent) : QFrame(parent), m_tip(tip)
    {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setMinimumHeight(90);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        QPainter painter(this);
        drawTip(painter, m_tip(), contentsRect());
    }

private:
    std::function<const ToneTipRecord&()> m_tip;
};

void choose(QComboBox* box, int index)
{
    const QSignalBlocker block(box);
    box->setCurrentIndex(index);
}

} // namespace

FrmToneTips::FrmToneTips(EditorContext& context, std::unique_ptr<Sound> sound, QWidget* parent)
    : EditorWindow(EditorKind::ToneTips, context, parent), m_sound(sound ? std::move(sound) : makeSpeaker())
{
    setObjectName(nameOf(EditorKind::ToneTips));
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FrmToneTips::advance);

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("TabStrip1"));
    m_tabs->setUsesScrollButtons(false);
    for (int n = 1; n <= ToneTipCount; ++n)
        m_tabs->addTab(QString());
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index + 1 == m_shownTip || index < 0) return;
        m_shownTip = index + 1;
        showToneTip();
    });

    auto* top = new QGridLayout;
    m_repeat = new QComboBox(this);
    m_repeat->setObjectName(QStringLiteral("Combo1_0"));
    m_repeatLabel = new QLabel(this);
    m_pause = new QComboBox(this);
    m_pause->setObjectName(QStringLiteral("Combo2_0"));
    m_pauseLabel = new QLabel(this);
    widgets::addRow(top, 0, m_repeatLabel, m_repeat, 0);
    widgets::addRow(top, 0, m_pauseLabel, m_pause, 2);
    top->setColumnStretch(4, 1);
    onChoice(m_repeat, [this](int index) { return repeatChosen(index); });
    onChoice(m_pause, [this](int index) { return store(tip().interTime(), index); });

    // Tones 1-7 on the left, 8-14 on the right: label, frequency, length.
    auto* tones = new QGridLayout;
    for (int c = 0; c < 2; ++c)
        for (int h = 0; h < 2; ++h) {
            auto* header = new QLabel(this);
            header->setAlignment(Qt::AlignCenter);
            m_headers.append(header);
            tones->addWidget(header, 0, 3 * c + 1 + h);
        }
    for (int j = 1; j <= ToneStepCount; ++j) {
        auto* label = new QLabel(this);
        auto* frequency = new QComboBox(this);
        frequency->setObjectName(QStringLiteral("Combo3_%1").arg(j - 1));
        auto* length = new QComboBox(this);
        length->setObjectName(QStringLiteral("Combo4_%1").arg(j - 1));
        const int column = j <= 7 ? 0 : 3;
        const int row = (j - 1) % 7 + 1;
        widgets::addRow(tones, row, label, frequency, column);
        tones->addWidget(length, row, column + 2);
        m_toneLabels.append(label);
        m_frequencies.append(frequency);
        m_lengths.append(length);
        onChoice(frequency, [this, j](int index) { return frequencyChosen(j, index); });
        onChoice(length, [this, j](int index) { return lengthChosen(j, index); });
    }

    m_picture = new TipPicture([this]() -> const ToneTipRecord& { return tip(); }, this);
    m_picture->setObjectName(QStringLiteral("Picture1_0"));

    m_play = new QPushButton(this);
    m_play->setObjectName(QStringLiteral("Command1_0"));
    m_stop = new QPushButton(this);
    m_stop->setObjectName(QStringLiteral("Command2_0"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("CommandClose"));
    connect(m_play, &QPushButton::clicked, this, &FrmToneTips::play);
    connect(m_stop, &QPushButton::clicked, this, &FrmToneTips::stopPlay);
    connect(m_close, &QPushButton::clicked, this, &EditorWindow::closeWindow);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_play);
    buttons->addWidget(m_stop);
    buttons->addStretch();
    buttons->addWidget(m_close);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_tabs);
    outer->addLayout(top);
    outer->addLayout(tones);
    outer->addWidget(m_picture, 1);
    outer->addLayout(buttons);

    m_shownTip = m_tabs->currentIndex() + 1;
    applyLanguage();
    initToneLists();
    showToneTip();
}

FrmToneTips::~FrmToneTips()
{
    stopPlay();
}

ToneTipRecord& FrmToneTips::tip()
{
    return context().image.work.toneTips[m_shownTip - 1];
}

void FrmToneTips::applyLanguage()
{
    const int lang = context().messenger.language();
    setWindowTitle(text(ToneText::Title, lang));
    m_tabs->setAccessibleName(text(ToneText::Title, lang));
    m_picture->setAccessibleName(text(ToneText::Title, lang));
    for (int n = 1; n <= ToneTipCount; ++n)
        m_tabs->setTabText(n - 1, text(ToneText::Tab, lang) + QLatin1Char(' ') + QString::number(n));
    widgets::setCaption(m_repeatLabel, m_repeat, text(ToneText::RecycleTimes, lang));
    widgets::setCaption(m_pauseLabel, m_pause, text(ToneText::InterTime, lang));
    for (int h = 0; h < m_headers.size(); ++h)
        m_headers[h]->setText(text(h % 2 ? ToneText::Length : ToneText::Frequency, lang));
    for (int j = 1; j <= ToneStepCount; ++j) {
        widgets::setCaption(m_toneLabels[j - 1], m_frequencies[j - 1],
                            toneLabel(j, lang) + QLatin1Char(' ') + text(ToneText::Frequency, lang));
        m_toneLabels[j - 1]->setText(toneLabel(j, lang));
        m_lengths[j - 1]->setAccessibleName(toneLabel(j, lang) + QLatin1Char(' ') +
                                            text(ToneText::Length, lang));
    }
    widgets::setCaption(m_play, text(ToneText::Play, lang));
    widgets::setCaption(m_stop, text(ToneText::Stop, lang));
    widgets::setCaption(m_close, text(ToneText::Close, lang));
    // The first items of two lists are words.
    if (m_repeat->count() > 0) m_repeat->setItemText(0, text(ToneText::Off, lang));
    if (!m_frequencies.isEmpty() && m_frequencies[0]->count() > 0)
        m_frequencies[0]->setItemText(0, text(ToneText::None, lang)); // the list all frequencies share
}

void FrmToneTips::initToneLists()
{
    // The fourteen frequency lists share one list of items, the length and pause lists another.
    const int lang = context().messenger.language();
    QStringList repeat{text(ToneText::Off, lang)};
    for (int n = 1; n <= 10; ++n)
        repeat.append(QString::number(n));
    auto* lengths = new QStringListModel(tens(0), this);
    auto* frequencies = new QStringListModel(QStringList{text(ToneText::None, lang)} + tens(40), this);
    const QSignalBlocker b1(m_repeat), b2(m_pause);
    m_repeat->addItems(repeat);
    m_pause->setModel(lengths);
    for (int j = 0; j < ToneStepCount; ++j) {
        const QSignalBlocker b3(m_frequencies[j]), b4(m_lengths[j]);
        m_frequencies[j]->setModel(frequencies);
        m_lengths[j]->setModel(lengths);
    }
}

void FrmToneTips::showToneTip()
{
    const ToneTipRecord& t = tip();
    choose(m_repeat, tipview::repeatCount(t));
    choose(m_pause, tipview::pause(t));
    for (int j = 1; j <= ToneStepCount; ++j) {
        choose(m_frequencies[j - 1], itemOfTone(tipview::tone(t, j)));
        choose(m_lengths[j - 1], tipview::length(t, j));
    }
    m_picture->update();
}

// Each choice is compared with the stored value: an item shown for a value the
// list cannot hold (a 200 Hz tone shows "None") is stored when chosen.
bool FrmToneTips::repeatChosen(int index)
{
    ToneTipRecord& t = tip();
    if (index == t.recycleTimes()) return false;
    if (index == 0 && tonerules::countUsableTips(context().image.work) == 1) {
        choose(m_repeat, tipview::repeatCount(t)); // the last usable tip cannot be switched off
        return false;
    }
    t.recycleTimes() = qint16(index);
    tipsChanged();
    return true;
}

bool FrmToneTips::frequencyChosen(int step, int index)
{
    if (!store(tip().tone(step), toneOfItem(index))) return false;
    m_picture->update();
    return true;
}

bool FrmToneTips::lengthChosen(int step, int index)
{
    ToneTipRecord& t = tip();
    if (index == t.length(step)) return false;
    if (tonerules::countUsableTips(context().image.work) == 1) {
        bool allZero = true;
        for (QComboBox* box : m_lengths)
            allZero = allZero && box->currentIndex() == 0;
        if (allZero) {
            choose(m_lengths[step - 1], tipview::length(t, step)); // the last usable tip keeps a tone
            return false;
        }
    }
    t.length(step) = qint16(index);
    m_picture->update();
    tipsChanged();
    return true;
}

void FrmToneTips::tipsChanged()
{
    RadioImage& image = context().image;
    tonerules::refreshRogerBeepRefs(image);
    Q_EMIT image.toneTipsChanged();
}

void FrmToneTips::play()
{
    if (m_playing) return;
    const ToneTipRecord& t = tip();
    m_repeatCount = tipview::repeatCount(t);
    m_pauseMs = tipview::pause(t) * 10;
    int total = 0;
    for (int j = 1; j <= ToneStepCount; ++j)
        total += tipview::length(t, j) * 10;
    if (total < 5) return; // nothing to sound
    if (!m_sound->available()) {
        Q_EMIT notice(text(ToneText::NoSound, context().messenger.language()));
        return;
    }
    m_playing = true;
    m_play->setEnabled(false);
    if (m_repeatCount < 1) {
        stopPlay();
        return;
    }
    m_pass = 0;
    m_step = 1;
    m_due = 0;
    m_clock.start();
    advance();
}

void FrmToneTips::advance()
{
    if (!m_playing) return;
    const ToneTipRecord& t = tip(); // the tab shown now
    while (m_step <= ToneStepCount) {
        const int j = m_step++;
        const int len = tipview::length(t, j);
        if (len < 1) continue;
        m_sound->start(tipview::tone(t, j) * 10, len * 10);
        schedule(len * 10);
        return;
    }
    if (m_step == ToneStepCount + 1) { // the pause after each pass
        ++m_step;
        if (m_pauseMs > 0) m_sound->start(0, m_pauseMs);
        schedule(m_pauseMs);
        return;
    }
    if (++m_pass >= m_repeatCount) {
        stopPlay();
        return;
    }
    m_step = 1;
    schedule(0);
}

void FrmToneTips::schedule(int ms)
{
    // Deadlines add up from the start, so timer latency does not stretch the melody.
    m_due += ms;
    m_timer.start(int(qMax<qint64>(0, m_due - m_clock.elapsed())));
}

void FrmToneTips::stopPlay()
{
    const bool was = m_playing;
    m_playing = false;
    m_timer.stop();
    if (was) m_sound->stop();
    if (m_play) m_play->setEnabled(true);
    if (was) Q_EMIT playbackEnded();
}

} // namespace mx
