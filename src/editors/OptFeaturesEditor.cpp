#include "editors/OptFeaturesEditor.h"

#include "data/OptionRules.h"
#include "editors/WidgetSupport.h"
#include "texts/Messenger.h"
#include "texts/OptionTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mx {

namespace {

struct ComboDef
{
    int k; // Combo1 index
    Opt::Word field;
    OptionText label;
};

// In the order they stand in the window.
constexpr ComboDef ComboDefs[] = {
    {8, Opt::MonSetting, OptionText::Mon},
    {24, Opt::TVSqlLevel, OptionText::TVSqlLevel},
    {9, Opt::TimeOutTimer, OptionText::TimeOutTimer},
    {17, Opt::BacklightColor, OptionText::BacklightColor},
    {31, Opt::BacklightBrightness, OptionText::BacklightBrightness},
    {32, Opt::BacklightLoopTime, OptionText::BacklightLoopTime},
    {25, Opt::PublicMode, OptionText::Public},
    {26, Opt::Busy, OptionText::Busy},
    {27, Opt::HiCut, OptionText::HiCut},
    {28, Opt::RogerTone, OptionText::Roger},
    {29, Opt::TSQCode, OptionText::Tsq},
    {30, Opt::REPDirection, OptionText::Rep},
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

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

struct FrmOptFeatures::ComboSlot
{
    ComboDef def;
    QComboBox* box;
    QLabel* label;
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
        onChoice(box, [this, code](bool) { return saveOptFeat(code); });
    }
    checkLayout->addStretch();

    auto makeText = [this](int k, QWidget* owner) {
        auto* slot = new TextSlot{TextDefs[k], new QLineEdit(owner), new QLabel(owner)};
        slot->edit->setObjectName(QStringLiteral("Text2_%1").arg(k));
        slot->label->setObjectName(QStringLiteral("Label3_%1").arg(k));
        widgets::guardNumberEdit(
            slot->edit, k == RepBox ? QStringLiteral("[0-9]*") : QStringLiteral("[0-9]*\\.?[0-9]*"), 6);
        onLeave(slot->edit, [this, k] {
            if (m_texts[k]->edit->isModified()) leaveText(k);
        });
        m_texts.append(slot);
    };
    auto makeCombo = [this](const ComboDef& def, QWidget* owner) {
        auto* slot = new ComboSlot{def, new QComboBox(owner), new QLabel(owner)};
        slot->box->setObjectName(QStringLiteral("Combo1_%1").arg(def.k));
        slot->label->setObjectName(QStringLiteral("Label1_%1").arg(def.k));
        const int k = def.k;
        onChoice(slot->box, [this, k](int) { return saveOptFeat(k); });
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

    // Tab goes down each column, then to the buttons.
    QList<QWidget*> order(m_checks.begin(), m_checks.end());
    for (int c = 0; c < GeneralCombos; ++c)
        order.append(m_combos[c]->box);
    order.append(m_texts[SwrBox]->edit);
    for (int c = GeneralCombos; c < m_combos.size(); ++c)
        order.append(m_combos[c]->box);
    order << m_texts[RepBox]->edit << m_texts[MinBox]->edit << m_texts[MaxBox]->edit << m_help << m_close;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    fillLists();
    applyLanguage();
    showOptFeat();
    m_loaded = true;
}

FrmOptFeatures::~FrmOptFeatures()
{
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
    for (ComboSlot* slot : m_combos) {
        const QStringList items = optionrules::listItems(context().image.work, slot->def.field, lang);
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
    widgets::setCaption(m_close, text(OptionText::Close, lang));
    widgets::setCaption(m_help, text(OptionText::Help, lang));
    if (m_loaded) fillLists(); // the list items keep their positions
}

void FrmOptFeatures::showOptFeat()
{
    const OptFeatRecord& rec = record();
    for (int c = 0; c < m_checks.size(); ++c) {
        const QSignalBlocker block(m_checks[c]);
        m_checks[c]->setChecked(rec[CheckDefs[c].field] == 1);
    }
    for (ComboSlot* slot : m_combos)
        showItem(slot);
    for (TextSlot* slot : m_texts) {
        const optionrules::Field& f = optionrules::fieldOf(slot->def.field);
        const int value = rec[f.word];
        slot->edit->setText(f.kind == optionrules::Kind::RepOffset
                                ? QString::number(optionrules::shownRepOffset(value))
                                : optionrules::tenths(qBound(f.low, value, f.high)));
    }
}

void FrmOptFeatures::showItem(ComboSlot* slot)
{
    QComboBox* box = slot->box;
    const QSignalBlocker block(box);
    box->setCurrentIndex(optionrules::shownIndex(optionrules::fieldOf(slot->def.field),
                                                 record()[slot->def.field], itemsOf(box)));
}

void FrmOptFeatures::showRB()
{
    for (ComboSlot* slot : m_combos) {
        if (slot->def.field != Opt::RogerTone) continue;
        const QSignalBlocker block(slot->box);
        slot->box->clear();
        slot->box->addItems(
            optionrules::listItems(context().image.work, Opt::RogerTone, context().messenger.language()));
        showItem(slot);
    }
}

bool FrmOptFeatures::saveOptFeat(int index)
{
    for (int c = 0; c < m_checks.size(); ++c)
        if (CheckDefs[c].code == index) return store(record()[CheckDefs[c].field], m_checks[c]->isChecked());
    for (ComboSlot* slot : m_combos)
        if (slot->def.k == index)
            return store(record()[slot->def.field],
                         optionrules::valueOf(optionrules::fieldOf(slot->def.field),
                                              slot->box->currentIndex(), itemsOf(slot->box)));
    return false;
}

void FrmOptFeatures::leaveText(int k)
{
    OptFeatRecord rec = record();
    const auto typed = [this](int box) {
        return optionrules::typedTenths(optionrules::fieldOf(m_texts[box]->def.field),
                                        m_texts[box]->edit->text());
    };
    if (k == MinBox || k == MaxBox) {
        // Both boxes of the pair are normalised; the smaller value is the minimum.
        rec[Opt::BatteryMin] = qint16(typed(MinBox));
        rec[Opt::BatteryMax] = qint16(typed(MaxBox));
        optionrules::orderBatteryLimits(rec);
        m_texts[MinBox]->edit->setText(optionrules::tenths(rec[Opt::BatteryMin]));
        m_texts[MaxBox]->edit->setText(optionrules::tenths(rec[Opt::BatteryMax]));
    } else if (k == SwrBox) {
        rec[Opt::SWRMax] = qint16(typed(SwrBox));
        m_texts[SwrBox]->edit->setText(optionrules::tenths(rec[Opt::SWRMax]));
    } else if (k == RepBox) {
        rec[Opt::REPOffsetKHz] = qint16(optionrules::typedRepOffset(m_texts[RepBox]->edit->text()));
        m_texts[RepBox]->edit->setText(QString::number(rec[Opt::REPOffsetKHz]));
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

} // namespace mx
