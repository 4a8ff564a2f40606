#include "editors/OptFeaturesEditor.h"

#include "data/ChannelRules.h"

#include "data/FreqRules.h"
#include "data/ToneRules.h"
#include "editors/WidgetSupport.h"
#include "texts/Messenger.h"
#include "texts/OptionTexts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace mx {

namespace {

// How a list holds its field: the item's text as a number, the item's index,
// or the roger list (numbers of the usable tips after "OFF").
enum class ListKind { Number, Index, Roger };

struct ComboDef
{
    int k; // Combo1 index
    Opt::Word field;
    ListKind kind;
    OptionText label;
};

// In the order they stand in the window.
constexpr ComboDef ComboDefs[] = {
    {8, Opt::MonSetting, ListKind::Number, OptionText::Mon},
    {24, Opt::TVSqlLevel, ListKind::Number, OptionText::TVSqlLevel},
    {9, Opt::TimeOutTimer, ListKind::Index, OptionText::TimeOutTimer},
    {17, Opt::BacklightColor, ListKind::Index, OptionText::BacklightColor},
    {31, Opt::BacklightBrightness, ListKind::Index, OptionText::BacklightBrightness},
    {32, Opt::BacklightLoopTime, ListKind::Index, OptionText::BacklightLoopTime},
    {25, Opt::PublicMode, ListKind::Index, OptionText::Public},
    {26, Opt::Busy, ListKind::Index, OptionText::Busy},
    {27, Opt::HiCut, ListKind::Index, OptionText::HiCut},
    {28, Opt::RogerTone, ListKind::Roger, OptionText::Roger},
    {29, Opt::TSQCode, ListKind::Index, OptionText::Tsq},
    {30, Opt::REPDirection, ListKind::Index, OptionText::Rep},
};
constexpr int GeneralCombos = 6; // the rest stand in the public frame

struct CheckDef
{
    int code; // 300 + Check2 index, 100 + Check1 index
    Opt::Word field;
    OptionText caption;
};

constexpr CheckDef CheckDefs[] = {
    {300, Opt::ShowSQLLevel, OptionText::ShowSQLLevel},
    {301, Opt::ShowVOLLevel, OptionText::ShowVOLLevel},
    {302, Opt::ShowMICLevel, OptionText::ShowMICLevel},
    {303, Opt::ExtensionBand, OptionText::ExtensionBand},
    {304, Opt::TVSignalHold, OptionText::TVSignalHold},
    {305, Opt::BeepTone, OptionText::BeepTone},
    {306, Opt::ASQ, OptionText::ASQ},
    {307, Opt::ShowVSWRLaunch, OptionText::ShowVSWRLaunch},
    {103, Opt::SWRProtect, OptionText::SWRProtect},
};

struct TextDef
{
    Opt::Word field;
    OptionText label;
};

// Indexed by the Text2 index.
constexpr TextDef TextDefs[] = {
    {Opt::SWRMax, OptionText::SWRMax},
    {Opt::BatteryMin, OptionText::BatteryMin},
    {Opt::BatteryMax, OptionText::BatteryMax},
    {Opt::REPOffsetKHz, OptionText::RepOffset},
};

enum { SwrBox = 0, MinBox = 1, MaxBox = 2, RepBox = 3 };

// The tone squelch list of the channels, with "Off" for none.
QStringList toneSquelchItems()
{
    static const QStringList items = [] {
        QStringList out = channelrules::toneSquelchList();
        out[0] = QStringLiteral("Off");
        return out;
    }();
    return items;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out.append(QString::number(n));
    return out;
}

QString tenths(int value)
{
    return freq::formatFixed(value / 10.0, 1);
}

// Rounds a typed tenth-unit value (volts, ratio) once, clamped to lo..hi tenths;
// a text that is no number gives fallback.
int typedTenths(const QString& text, int lo, int hi, int fallback)
{
    bool ok = false;
    const double v = freq::toDouble(text, &ok);
    if (!ok) return fallback;
    return qBound(lo, int(std::lround(qBound(lo / 10.0, v, hi / 10.0) * 10.0)), hi);
}

int onFiveKHz(int khz)
{
    const int v = qBound(0, khz, 1000);
    return v - v % 5;
}

} // namespace

struct FrmOptFeatures::ComboSlot
{
    ComboDef def;
    QComboBox* box;
    QLabel* label;
    int shown = -1; // index shown for the stored value, or last chosen
};

struct FrmOptFeatures::TextSlot
{
    TextDef def;
    QLineEdit* edit;
    QLabel* label;
};

FrmOptFeatures::FrmOptFeatures(EditorContext& context, QWidget* parent)
    : EditorWindow(EditorKind::OptFeatures, context, parent)
{
    setObjectName(nameOf(EditorKind::OptFeatures));

    // Display and protection check boxes.
    auto* checks = new QGroupBox(this);
    auto* checkLayout = new QVBoxLayout(checks);
    for (const CheckDef& def : CheckDefs) {
        auto* box = new QCheckBox(checks);
        box->setObjectName(def.code >= 300 ? QStringLiteral("Check2_%1").arg(def.code - 300)
                                           : QStringLiteral("Check1_%1").arg(def.code - 100));
        checkLayout->addWidget(box);
        m_checks.append(box);
        const int code = def.code;
        connect(box, &QCheckBox::clicked, this, [this, code] {
            if (m_loaded) saveOptFeat(code);
        });
    }
    checkLayout->addStretch();

    auto makeText = [this](int k, QWidget* owner) {
        auto* slot = new TextSlot{TextDefs[k], new QLineEdit(owner), new QLabel(owner)};
        slot->edit->setObjectName(QStringLiteral("Text2_%1").arg(k));
        slot->label->setObjectName(QStringLiteral("Label3_%1").arg(k));
        widgets::guardNumberEdit(
            slot->edit, k == RepBox ? QStringLiteral("[0-9]*") : QStringLiteral("[0-9]*\\.?[0-9]*"), 6);
        slot->edit->installEventFilter(this);
        connect(slot->edit, &QLineEdit::returnPressed, this, [this, k] {
            if (m_texts[k]->edit->isModified()) leaveText(k);
        });
        m_texts.append(slot);
    };
    auto makeCombo = [this](const ComboDef& def, QWidget* owner) {
        auto* slot = new ComboSlot{def, new QComboBox(owner), new QLabel(owner)};
        slot->box->setObjectName(QStringLiteral("Combo1_%1").arg(def.k));
        slot->label->setObjectName(QStringLiteral("Label1_%1").arg(def.k));
        const int index = int(m_combos.size());
        connect(slot->box, &QComboBox::activated, this,
                [this, index](int chosen) { chooseItem(index, chosen); });
        m_combos.append(slot);
    };

    for (int k = 0; k < 4; ++k)
        makeText(k, this);
    for (const ComboDef& def : ComboDefs)
        makeCombo(def, this);

    // General lists, then the SWR limit under them.
    auto* general = new QGroupBox(this);
    auto* generalGrid = new QGridLayout(general);
    for (int c = 0; c < GeneralCombos; ++c) {
        m_combos[c]->box->setParent(general);
        m_combos[c]->label->setParent(general);
        widgets::addRow(generalGrid, c, m_combos[c]->label, m_combos[c]->box);
    }
    m_texts[SwrBox]->edit->setParent(general);
    m_texts[SwrBox]->label->setParent(general);
    widgets::addRow(generalGrid, GeneralCombos, m_texts[SwrBox]->label, m_texts[SwrBox]->edit);
    generalGrid->setRowStretch(GeneralCombos + 1, 1);

    m_publicFrame = new QGroupBox(this);
    auto* publicGrid = new QGridLayout(m_publicFrame);
    int row = 0;
    for (int c = GeneralCombos; c < m_combos.size(); ++c, ++row) {
        m_combos[c]->box->setParent(m_publicFrame);
        m_combos[c]->label->setParent(m_publicFrame);
        widgets::addRow(publicGrid, row, m_combos[c]->label, m_combos[c]->box);
    }
    m_texts[RepBox]->edit->setParent(m_publicFrame);
    m_texts[RepBox]->label->setParent(m_publicFrame);
    widgets::addRow(publicGrid, row, m_texts[RepBox]->label, m_texts[RepBox]->edit);

    m_batteryFrame = new QGroupBox(this);
    auto* batteryGrid = new QGridLayout(m_batteryFrame);
    for (int k : {MinBox, MaxBox}) {
        m_texts[k]->edit->setParent(m_batteryFrame);
        m_texts[k]->label->setParent(m_batteryFrame);
        widgets::addRow(batteryGrid, k - MinBox, m_texts[k]->label, m_texts[k]->edit);
    }

    auto* right = new QVBoxLayout;
    right->addWidget(m_publicFrame);
    right->addWidget(m_batteryFrame);
    right->addStretch();

    auto* buttons = widgets::helpAndCloseRow(this, m_help, m_close);

    auto* columns = new QHBoxLayout;
    columns->addWidget(checks);
    columns->addWidget(general);
    columns->addLayout(right);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns);
    outer->addLayout(buttons);

    connect(&context.image, &RadioImage::toneTipsChanged, this, &FrmOptFeatures::showRB);

    fillLists();
    applyLanguage();
    showOptFeat();
    m_loaded = true;
}

FrmOptFeatures::~FrmOptFeatures()
{
    m_loaded = false;
    for (TextSlot* slot : m_texts)
        slot->edit->removeEventFilter(this);
    qDeleteAll(m_combos);
    qDeleteAll(m_texts);
    m_combos.clear();
    m_texts.clear();
}

OptFeatRecord& FrmOptFeatures::record()
{
    return context().image.work.optFeat;
}

void FrmOptFeatures::fillLists()
{
    const int lang = context().messenger.language();
    const QString off = text(OptionText::Off, lang);
    const QString offOn[] = {mx::text(TextId::OffText, lang), mx::text(TextId::OnText, lang)};
    for (ComboSlot* slot : m_combos) {
        QStringList items;
        switch (slot->def.k) {
        case 8:
            items = numbers(1, 32);
            break;
        case 24:
            items = numbers(1, 9);
            break;
        case 9:
            items.append(off);
            for (int n = 1; n <= 20; ++n)
                items.append(QString::number(30 * n) + QLatin1Char('s'));
            break;
        case 17:
            items = backlightColors(lang);
            break;
        case 25:
        case 26:
        case 27:
            items = {offOn[0], offOn[1]};
            break;
        case 28:
            items.append(offOn[0]);
            for (int n = 1; n <= ToneTipCount; ++n)
                if (tonerules::usableTip(context().image.work, n)) items.append(QString::number(n));
            break;
        case 29:
            items = toneSquelchItems();
            break;
        case 30:
            items = {offOn[0], QStringLiteral("+"), QStringLiteral("-")};
            break;
        case 31:
            items = QStringList{off} + numbers(1, 31);
            break;
        case 32:
            for (int n = 1; n <= 20; ++n)
                items.append(freq::formatFixed(n * 0.5, 1) + QLatin1Char('s'));
            break;
        }
        const QSignalBlocker block(slot->box);
        const int keep = slot->box->currentIndex();
        slot->box->clear();
        slot->box->addItems(items);
        if (keep >= 0 && keep < items.size()) slot->box->setCurrentIndex(keep);
    }
}

void FrmOptFeatures::applyLanguage()
{
    const int lang = context().messenger.language();
    setWindowTitle(text(OptionText::Title, lang));
    for (int c = 0; c < m_checks.size(); ++c) {
        m_checks[c]->setText(text(CheckDefs[c].caption, lang));
        m_checks[c]->setAccessibleName(m_checks[c]->text());
    }
    for (ComboSlot* slot : m_combos)
        widgets::setCaption(slot->label, slot->box, text(slot->def.label, lang));
    for (TextSlot* slot : m_texts)
        widgets::setCaption(slot->label, slot->edit, text(slot->def.label, lang));
    m_batteryFrame->setTitle(text(OptionText::BatteryFrame, lang));
    m_publicFrame->setTitle(text(OptionText::PublicFrame, lang));
    m_close->setText(text(OptionText::Close, lang));
    m_help->setText(text(OptionText::Help, lang));
    for (QPushButton* b : {m_close, m_help})
        b->setAccessibleName(b->text().remove(QLatin1Char('&')));
    if (m_loaded) fillLists(); // the list items keep their positions
}

void FrmOptFeatures::showOptFeat()
{
    const OptFeatRecord& rec = record();
    for (int c = 0; c < m_checks.size(); ++c) {
        const QSignalBlocker block(m_checks[c]);
        m_checks[c]->setChecked(rec[CheckDefs[c].field] == 1);
    }
    for (ComboSlot* slot : m_combos) {
        const int value = rec[slot->def.field];
        QComboBox* box = slot->box;
        int index = 0;
        switch (slot->def.kind) {
        case ListKind::Number:
            index = box->findText(QString::number(value));
            if (index < 0) index = qBound(0, value - box->itemText(0).toInt(), box->count() - 1);
            break;
        case ListKind::Index:
            index = qBound(0, value, box->count() - 1);
            break;
        case ListKind::Roger:
            index = qMax(0, box->findText(QString::number(value)));
            break;
        }
        const QSignalBlocker block(box);
        box->setCurrentIndex(box->count() > 0 ? index : -1);
        slot->shown = box->currentIndex();
    }
    m_texts[SwrBox]->edit->setText(tenths(qBound(12, int(rec[Opt::SWRMax]), 200)));
    m_texts[MinBox]->edit->setText(tenths(qBound(90, int(rec[Opt::BatteryMin]), 170)));
    m_texts[MaxBox]->edit->setText(tenths(qBound(90, int(rec[Opt::BatteryMax]), 170)));
    m_texts[RepBox]->edit->setText(QString::number(onFiveKHz(rec[Opt::REPOffsetKHz])));
}

void FrmOptFeatures::showRB()
{
    for (ComboSlot* slot : m_combos) {
        if (slot->def.kind != ListKind::Roger) continue;
        QComboBox* box = slot->box;
        const QSignalBlocker block(box);
        box->clear();
        box->addItem(mx::text(TextId::OffText, context().messenger.language()));
        for (int n = 1; n <= ToneTipCount; ++n)
            if (tonerules::usableTip(context().image.work, n)) box->addItem(QString::number(n));
        box->setCurrentIndex(qMax(0, box->findText(QString::number(record()[Opt::RogerTone]))));
        slot->shown = box->currentIndex();
    }
}

void FrmOptFeatures::chooseItem(int slot, int index)
{
    ComboSlot* s = m_combos[slot];
    if (!m_loaded || index == s->shown) return; // choosing what is shown changes nothing
    s->shown = index;
    saveOptFeat(s->def.k);
}

void FrmOptFeatures::saveOptFeat(int index)
{
    OptFeatRecord rec = record();
    bool found = false;
    if (index >= 100) {
        for (int c = 0; c < m_checks.size(); ++c)
            if (CheckDefs[c].code == index) {
                rec[CheckDefs[c].field] = m_checks[c]->isChecked() ? 1 : 0;
                found = true;
            }
    } else {
        for (ComboSlot* slot : m_combos) {
            if (slot->def.k != index) continue;
            const QString chosen = slot->box->currentText();
            switch (slot->def.kind) {
            case ListKind::Number:
            case ListKind::Roger:
                rec[slot->def.field] = freq::toInt(chosen, 0);
                break;
            case ListKind::Index:
                rec[slot->def.field] = qint16(qMax(0, slot->box->currentIndex()));
                break;
            }
            found = true;
        }
    }
    if (!found || rec == record()) return;
    record() = rec;
    Q_EMIT edited();
}

void FrmOptFeatures::leaveText(int k)
{
    OptFeatRecord rec = record();
    if (k == MinBox || k == MaxBox) {
        // Both boxes of the pair are normalised; the smaller value is the minimum.
        int low = typedTenths(m_texts[MinBox]->edit->text(), 90, 170, 90);
        int high = typedTenths(m_texts[MaxBox]->edit->text(), 90, 170, 90);
        if (high < low) std::swap(low, high);
        m_texts[MinBox]->edit->setText(tenths(low));
        m_texts[MaxBox]->edit->setText(tenths(high));
        rec[Opt::BatteryMin] = qint16(low);
        rec[Opt::BatteryMax] = qint16(high);
    } else if (k == SwrBox) {
        const int swr = typedTenths(m_texts[SwrBox]->edit->text(), 12, 200, 200);
        m_texts[SwrBox]->edit->setText(tenths(swr));
        rec[Opt::SWRMax] = qint16(swr);
    } else if (k == RepBox) {
        bool ok = false;
        const double v = freq::toDouble(m_texts[RepBox]->edit->text(), &ok);
        const int khz = ok ? onFiveKHz(int(std::lround(qBound(0.0, v, 1000.0)))) : 100;
        m_texts[RepBox]->edit->setText(QString::number(khz));
        rec[Opt::REPOffsetKHz] = qint16(khz);
    }
    if (rec == record()) return;
    record() = rec;
    Q_EMIT edited();
}

void FrmOptFeatures::commitPending()
{
    for (int k = 0; k < m_texts.size(); ++k)
        if (m_texts[k]->edit->isModified()) leaveText(k);
}

bool FrmOptFeatures::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut)
        for (int k = 0; k < m_texts.size(); ++k)
            if (watched == m_texts[k]->edit && m_texts[k]->edit->isModified()) leaveText(k);
    return EditorWindow::eventFilter(watched, event);
}

void FrmOptFeatures::closeEvent(QCloseEvent* event)
{
    commitPending();
    EditorWindow::closeEvent(event);
}

} // namespace mx
