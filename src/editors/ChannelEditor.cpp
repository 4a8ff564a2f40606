#include "editors/ChannelEditor.h"

#include "data/ChannelRules.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "editors/ComboSelect.h"
#include "editors/WidgetSupport.h"
#include "texts/ChannelTexts.h"
#include "texts/Messenger.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mx {

namespace cr = channelrules;

namespace {

const char* const FamilyItems[FamilyCount] = {"10M -- 28.0000 - 29.7000 MHz", "HF -- 25.6150 - 30.1050 MHz",
                                              "EU -- 26.3300 - 27.99125 MHz"};

// Refills a list without raising its signals, keeping the selected position.
void refill(QComboBox* box, const QStringList& items)
{
    const QSignalBlocker block(box);
    const int index = box->currentIndex();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(index < box->count() ? index : 0);
}

// Shows a stored index without raising the list's signals.
void showIndex(QComboBox* box, int index)
{
    const QSignalBlocker block(box);
    combo::setIndex(box, index);
}

// The channel list: sixteen rows tall when there is room, fewer when the window is small.
class ChannelGrid : public QTableWidget
{
public:
    using QTableWidget::QTableWidget;
    static constexpr int ShownRows = 16;
    static constexpr int FewestRows = 5;

    QSize sizeHint() const override { return {QTableWidget::sizeHint().width(), heightFor(ShownRows)}; }
    QSize minimumSizeHint() const override { return {minimumWidth(), heightFor(FewestRows)}; }

private:
    int heightFor(int rows) const
    {
        const int header = qMax(horizontalHeader()->sizeHint().height(), horizontalHeader()->minimumHeight());
        return header + rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
    }
};

} // namespace

ChannelEditor::ChannelEditor(EditorContext& context, QWidget* parent)
    : EditorWindow(EditorKind::ChannelInfo, context, parent)
{
    buildWidgets();
    fillLists();
    applyLanguage();

    // The family on show; a stored value outside 0..2 shows the first one and stays as it is.
    m_family = context.image.work.shownFamily();
    {
        const QSignalBlocker block(m_rangeBox);
        m_rangeBox->setCurrentIndex(m_family);
    }
    showFamily();
    m_ready = true;

    RadioImage* image = &context.image;
    connect(image, &RadioImage::channelChanged, this, [this](int m, int b, int n) {
        if (m == m_family && b == m_band) reShowGrid(n);
    });
    connect(image, &RadioImage::workChannelFixed, this, [this](int m, int b) {
        if (m != m_family || b != m_band) return;
        initValidComboList();
        showValidComboText();
    });
    connect(image, &RadioImage::toneTipsChanged, this, &ChannelEditor::showRB);
}

void ChannelEditor::buildWidgets()
{
    auto labelled = [this](QLabel*& label, QComboBox*& box, const char* name, auto store) {
        label = new QLabel(this);
        box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        // Sized to its items when first shown, and never narrower than three
        // characters ("DE1", "OFF") for the items a band or language brings later.
        box->setMinimumContentsLength(3);
        label->setBuddy(box);
        onChoice(box, [this, store](int index) { return (this->*store)(index); });
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(box);
        row->addStretch();
        return row;
    };
    // Frames stand close together, so that the whole window fits at the main window's first size.
    auto compact = [](QLayout* layout) {
        layout->setContentsMargins(6, 4, 6, 6);
        layout->setSpacing(4);
        return layout;
    };

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 6, 8, 6);
    top->setSpacing(4);
    top->addLayout(labelled(m_rangeLabel, m_rangeBox, "Combo2", &ChannelEditor::chooseFamily));

    m_rangeFrame = new QGroupBox(this);
    m_rangeFrame->setObjectName(QStringLiteral("Frame3"));
    auto* rangeLayout = new QVBoxLayout(m_rangeFrame);
    compact(rangeLayout);
    rangeLayout->addLayout(labelled(m_bandLabel, m_bandBox, "Combo6", &ChannelEditor::chooseBand));

    m_bandFrame = new QGroupBox(m_rangeFrame);
    m_bandFrame->setObjectName(QStringLiteral("Frame1"));
    rangeLayout->addWidget(m_bandFrame, 1);
    auto* bandLayout = new QVBoxLayout(m_bandFrame);
    compact(bandLayout);
    auto* selectors = new QHBoxLayout;
    selectors->addLayout(labelled(m_workLabel, m_workBox, "Combo1_2", &ChannelEditor::chooseWorkChannel));
    selectors->addLayout(labelled(m_validLabel, m_validBox, "Combo1_6", &ChannelEditor::chooseBandValid));
    bandLayout->addLayout(selectors);

    // The list: column 0 holds the channel numbers, column 1 the receive frequency.
    // Tab leaves it; the arrow keys move inside it.
    m_grid = new ChannelGrid(Rows, 2, m_bandFrame);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    m_grid->setContextMenuPolicy(Qt::NoContextMenu);
    m_grid->setColumnWidth(0, 50);
    m_grid->setColumnWidth(1, 100);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->horizontalHeader()->setMinimumHeight(34);
    m_grid->setMinimumWidth(180);
    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    for (int r = 0; r < Rows; ++r) {
        auto* number = new QTableWidgetItem;
        number->setFlags(Qt::ItemIsEnabled);
        number->setTextAlignment(Qt::AlignCenter);
        number->setBackground(palette().button());
        m_grid->setItem(r, 0, number);
        auto* frequency = new QTableWidgetItem;
        frequency->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        frequency->setTextAlignment(Qt::AlignCenter);
        m_grid->setItem(r, 1, frequency);
    }
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this] { showDetail(); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column < 1 || row < 0) return;
        setWindowTitle(channelText(ChannelText::WindowTitle, context().messenger.language()));
        if (m_family != 2) enterGridEdit();
    });
    // The edit box follows its cell when the list scrolls or its columns change width.
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &ChannelEditor::placeEditBox);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this, &ChannelEditor::placeEditBox);

    // The frequency edit box: digits and points only, however they come.
    m_edit = new QLineEdit(m_grid->viewport());
    m_edit->setObjectName(QStringLiteral("Text1"));
    m_edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), m_edit));
    m_edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_edit->setAcceptDrops(false);
    m_edit->setDragEnabled(false);
    m_edit->setContextMenuPolicy(Qt::NoContextMenu);
    m_edit->setAlignment(Qt::AlignCenter);
    m_edit->setMaxLength(16);
    m_edit->installEventFilter(this);
    onLeave(
        m_edit, [this] { saveShowGridData(); }, [this] { enterPressed(); });
    m_edit->hide();

    // The detail panel.
    m_detail = new QGroupBox(m_bandFrame);
    m_detail->setObjectName(QStringLiteral("Frame2"));
    auto* detailLayout = new QGridLayout(m_detail);
    for (int i = 0; i < DetailCount; ++i) {
        m_detailLabels[i] = new QLabel(m_detail);
        m_detailLabels[i]->setObjectName(QStringLiteral("Label5_%1").arg(i));
        m_detailBoxes[i] = new QComboBox(m_detail);
        m_detailBoxes[i]->setObjectName(QStringLiteral("Combo8_%1").arg(i));
        m_detailBoxes[i]->setMinimumContentsLength(3);
        m_detailLabels[i]->setBuddy(m_detailBoxes[i]);
        detailLayout->addWidget(m_detailLabels[i], i, 0, Qt::AlignRight);
        detailLayout->addWidget(m_detailBoxes[i], i, 1, Qt::AlignLeft);
        onChoice(m_detailBoxes[i], [this, i](int index) { return chooseDetail(i, index); });
    }
    detailLayout->setRowStretch(DetailCount, 1);
    // HI-CUT exists but is never offered.
    m_detailLabels[HiCut]->hide();
    m_detailBoxes[HiCut]->hide();
    // The panel keeps its room while hidden: the window never has to grow for
    // it, and it never covers the list.
    QSizePolicy keep = m_detail->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_detail->setSizePolicy(keep);
    m_detail->hide();

    auto* body = new QHBoxLayout;
    body->addWidget(m_grid, 1);
    body->addWidget(m_detail, 0, Qt::AlignTop);
    bandLayout->addLayout(body, 1);
    top->addWidget(m_rangeFrame, 1);

    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("CommandClose"));
    connect(m_close, &QPushButton::clicked, this, &EditorWindow::closeWindow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_close);
    top->addLayout(buttons);
}

// Lists that do not depend on the language.
void ChannelEditor::fillLists()
{
    for (int m = 0; m < FamilyCount; ++m)
        m_rangeBox->addItem(QLatin1String(FamilyItems[m]));
    m_detailBoxes[Tsq]->addItems(cr::toneSquelchList());
}

void ChannelEditor::applyLanguage()
{
    commitPending();
    const int language = context().messenger.language();
    auto caption = [language](ChannelText id) { return channelText(id, language); };

    // Every control is named for assistive technology after its label.
    widgets::setCaption(m_rangeLabel, m_rangeBox, caption(ChannelText::SelectRange));
    setWindowTitle(caption(ChannelText::WindowTitle));
    widgets::setCaption(m_bandLabel, m_bandBox, caption(ChannelText::Band));
    m_grid->setHorizontalHeaderLabels(
        {caption(ChannelText::ChNoHeader), caption(ChannelText::FrequencyHeader)});
    for (int r = 0; r < Rows; ++r)
        m_grid->item(r, 0)->setText(QString::number(r + 1));
    widgets::setCaption(m_workLabel, m_workBox, caption(ChannelText::WorkChannel));
    widgets::setCaption(m_validLabel, m_validBox, caption(ChannelText::GroupValid));
    const ChannelText detailCaptions[DetailCount] = {ChannelText::Tsq,   ChannelText::Rep,
                                                     ChannelText::Roger, ChannelText::Public,
                                                     ChannelText::Busy,  ChannelText::HiCut};
    for (int i = 0; i < DetailCount; ++i)
        widgets::setCaption(m_detailLabels[i], m_detailBoxes[i], caption(detailCaptions[i]));

    const QStringList onOff = cr::onOffList(language);
    refill(m_validBox, onOff);
    refill(m_detailBoxes[Rep], cr::repeaterList(language));
    showRB();
    for (Detail d : {Public, Busy, HiCut})
        refill(m_detailBoxes[d], onOff);
    widgets::setCaption(m_close, caption(ChannelText::Close));
    m_grid->setAccessibleName(caption(ChannelText::ChannelList));
    m_edit->setAccessibleName(caption(ChannelText::FrequencyEntry));

    if (m_ready) {
        m_bandFrame->setTitle(m_bandLabel->text() + QStringLiteral(" -- ") + m_bandBox->currentText());
        setGridData();
    }
}

void ChannelEditor::commitPending()
{
    saveShowGridData();
}

int ChannelEditor::chId(const QString& name)
{
    QString text = name;
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) text.truncate(nul);
    return freq::isNumeric(text) ? int(freq::toDouble(text)) : 0;
}

QString ChannelEditor::chName(int number)
{
    return QString::number(number);
}

QString ChannelEditor::shownText(const ChannelRecord& channel)
{
    const QString stored = channel.rxFreq.text();
    Messenger* messenger = &context().messenger; // a stored text that is no number says so
    const double low = freq::parseRange(freq::rangeTextFor(m_family)).low;
    // Only a stored number gets the "UK" form (1.25 kHz above the 10 kHz step).
    if (m_family == 2 && m_band == 2 && !freq::isNumeric(stored))
        return freq::textFromStored(stored, low, messenger);
    return freq::shownFrequency(stored, m_family, m_band, low, messenger);
}

// The family selector's "in every case" part: band list, then the family's band.
void ChannelEditor::showFamily()
{
    m_rangeFrame->setTitle(m_rangeBox->currentText());
    QStringList names;
    for (int b = 1; b <= BandCount; ++b)
        names.append(freq::bandName(b, m_family));
    {
        const QSignalBlocker block(m_bandBox);
        m_bandBox->clear();
        m_bandBox->addItems(names);
        // A stored band outside 1..8 shows the first band and stays as it is.
        const int stored = context().image.work.currentBand[m_family];
        m_band = stored >= 1 && stored <= BandCount ? stored : 1;
        m_bandBox->setCurrentIndex(m_band - 1);
    }
    showBand();
}

void ChannelEditor::showBand()
{
    m_bandFrame->setTitle(m_bandLabel->text() + QStringLiteral(" -- ") + m_bandBox->currentText());
    initValidComboList();
    m_detail->hide();
    setGridData();
}

void ChannelEditor::setGridData()
{
    const RadioImage& image = context().image;
    showIndex(m_validBox, image.work.optFeat.bandValid(m_family, m_band));
    showValidComboText();
    for (int n = 1; n <= Rows; ++n)
        showRow(n);
    // The row last edited becomes current; a stored number outside 1..40 selects row 1.
    const int stored = image.work.currentChannel[bandIndex(m_family, m_band)];
    const int row = stored >= 1 && stored <= Rows ? stored : 1;
    m_editRow = row;
    {
        const QSignalBlocker block(m_grid);
        m_grid->setCurrentCell(row - 1, 1);
    }
    showDetail();
}

// Row n shows the band's channel numbered n, or nothing.
void ChannelEditor::showRow(int n)
{
    const RadioImage& image = context().image;
    const int slot = image.findSlot(n, m_family, m_band);
    m_grid->item(n - 1, 1)->setText(slot > 0 ? shownText(image.workChannels.at(m_family, slot, m_band))
                                             : QString());
}

void ChannelEditor::reShowGrid(int n)
{
    showIndex(m_validBox, context().image.work.optFeat.bandValid(m_family, m_band));
    if (n < 1 || n > Rows) return;
    showRow(n);
    if (context().image.findSlot(n, m_family, m_band) == 0) {
        m_edit->clear();
        return;
    }
    if (m_grid->currentRow() + 1 == n) showDetail();
}

void ChannelEditor::showDetail()
{
    const int row = m_grid->currentRow() + 1;
    if (row < 1) return;
    const RadioImage& image = context().image;
    const int slot = image.findSlot(row, m_family, m_band);
    if (slot == 0) {
        m_detail->hide();
        return;
    }
    const ChannelRecord& channel = image.workChannels.at(m_family, slot, m_band);
    const int language = context().messenger.language();
    m_detail->setTitle(channelText(ChannelText::MoreInformation, language) + chName(row));
    // Read out with the channel it shows.
    m_detail->setAccessibleName(channelText(ChannelText::DetailPanel, language) + QStringLiteral(" -- CH ") +
                                chName(row));
    m_detail->show();
    const bool rep = m_family != 2;
    m_detailLabels[Rep]->setVisible(rep);
    m_detailBoxes[Rep]->setVisible(rep);
    showIndex(m_detailBoxes[Tsq], channel.toneCode);
    showIndex(m_detailBoxes[Rep], channel.repeaterShift);
    {
        const QSignalBlocker block(m_detailBoxes[Roger]);
        combo::setText(m_detailBoxes[Roger], QString::number(channel.rogerBeep));
    }
    showIndex(m_detailBoxes[Public], channel.publicFlag);
    enableDetailFields(m_detailBoxes[Public]->currentIndex());
    showIndex(m_detailBoxes[Busy], channel.busy);
    showIndex(m_detailBoxes[HiCut], channel.hiCut);
}

// While Public is ON the roger beep, BUSY and HI-CUT are not offered.
void ChannelEditor::enableDetailFields(int publicIndex)
{
    const bool enabled = publicIndex < 1;
    for (Detail d : {Roger, Busy, HiCut}) {
        m_detailLabels[d]->setEnabled(enabled);
        m_detailBoxes[d]->setEnabled(enabled);
    }
}

void ChannelEditor::showRB()
{
    QComboBox* box = m_detailBoxes[Roger];
    const QString shown = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(cr::rogerList(context().image.work, context().messenger.language()));
    if (m_detail->isVisibleTo(this)) combo::setText(box, shown);
}

void ChannelEditor::initValidComboList()
{
    const QSignalBlocker block(m_workBox);
    m_workBox->clear();
    m_workBox->addItems(cr::channelComboItems(context().image, m_family, m_band, 0));
}

void ChannelEditor::showValidComboText()
{
    const QSignalBlocker block(m_workBox);
    combo::setText(m_workBox, QString::number(context().image.work.optFeat.workChannel(m_family, m_band)));
}

void ChannelEditor::enterGridEdit()
{
    const int row = m_grid->currentRow() + 1;
    if (row < 1) return;
    m_editCol = m_grid->currentColumn();
    m_editRow = row;
    qint16& current = context().image.work.currentChannel[bandIndex(m_family, m_band)];
    current = qint16(row);
    if (m_editCol != 1) return;
    m_editFamily = m_family;
    m_editBand = m_band;
    m_editOriginal = m_grid->item(row - 1, 1)->text();
    m_edit->setText(m_editOriginal);
    placeEditBox();
    m_edit->show();
    m_edit->setFocus();
    if (!m_editOriginal.isEmpty()) m_edit->selectAll();
}

void ChannelEditor::placeEditBox()
{
    if (m_editRow < 1 || m_editRow > Rows) return;
    m_edit->setGeometry(m_grid->visualItemRect(m_grid->item(m_editRow - 1, 1)));
}

void ChannelEditor::gridNextLine()
{
    const int row = m_grid->currentRow() + 1;
    const int next = row >= Rows ? 1 : row + 1;
    m_grid->setCurrentCell(next - 1, qMax(0, m_grid->currentColumn()));
    m_grid->setFocus();
}

void ChannelEditor::gridNextCol()
{
    const int column = m_grid->currentColumn() + 1;
    if (column >= m_grid->columnCount()) {
        m_grid->setCurrentCell(m_grid->currentRow(), 1);
        gridNextLine();
        return;
    }
    m_grid->setCurrentCell(m_grid->currentRow(), column);
}

// Stores what the edit box holds for the row it was opened on.
void ChannelEditor::saveShowGridData()
{
    if (m_editRow < 1 || m_editCol != 1 || m_edit->isHidden()) return;
    m_edit->hide(); // first: the focus leaving the box must not commit twice
    const QString text = m_edit->text();
    if (text == m_editOriginal) { // a cell opened and left as it was stores nothing
        reShowGrid(m_editRow);
        return;
    }
    const cr::FrequencyResult result = cr::setChannelFrequency(context().image, m_editFamily, m_editBand,
                                                               m_editRow, 1, text, &context().messenger);
    if (cr::changesImage(result)) Q_EMIT edited();
}

// Enter in the edit box: on to the next row, storing what was typed.
void ChannelEditor::enterPressed()
{
    const int column = m_grid->currentColumn();
    if (column == 1 && m_edit->text().isEmpty())
        gridNextLine();
    else if (column > 0 && column < m_grid->columnCount())
        gridNextCol();
    m_grid->setFocus();
    saveShowGridData(); // also when the window has no focus to move
}

bool ChannelEditor::filterEditKey(const QKeyEvent* key)
{
    if (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
        key->matches(QKeySequence::Paste))
        return true;
    if ((key->modifiers() & Qt::ControlModifier) &&
        (key->key() == Qt::Key_X || key->key() == Qt::Key_C || key->key() == Qt::Key_V))
        return true;
    for (QChar c : key->text()) {
        const ushort code = c.unicode();
        if (code > 127) return true;
        if (code != 127 && code > 31 && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')) &&
            c != QLatin1Char('.'))
            return true;
    }
    return false;
}

bool ChannelEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        switch (event->type()) {
        case QEvent::KeyPress:
            return filterEditKey(static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // No selection paste with the middle button, no menu with the right one.
            return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
            return true;
        default:
            break;
        }
    } else if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_F2) {
            enterGridEdit();
            return true;
        }
        // A digit typed on a frequency starts its edit with that digit.
        if (const QString typed = widgets::typedDigit(key);
            !typed.isEmpty() && m_grid->currentColumn() == 1) {
            enterGridEdit();
            if (m_edit->isVisible()) m_edit->insert(typed);
            return true;
        }
    }
    return EditorWindow::eventFilter(watched, event);
}

bool ChannelEditor::chooseFamily(int index)
{
    if (index >= FamilyCount) return false;
    RadioImage& image = context().image;
    const bool changed = store(image.work.rangeMode, index);
    if (changed) {
        image.setRangeFamily(index);
        Q_EMIT image.captionChanged();
    }
    m_family = index;
    showFamily();
    return changed;
}

bool ChannelEditor::chooseBand(int index)
{
    if (index >= BandCount) return false;
    const bool changed = store(context().image.work.currentBand[m_family], index + 1);
    m_band = index + 1;
    showBand();
    return changed;
}

bool ChannelEditor::chooseWorkChannel(int index)
{
    return store(context().image.work.optFeat.workChannel(m_family, m_band),
                 chId(m_workBox->itemText(index)));
}

bool ChannelEditor::chooseBandValid(int index)
{
    switch (cr::setBandValid(context().image, m_family, m_band, index == 1)) {
    case cr::BandSwitch::Refused: // the family's last enabled band stays on
        showIndex(m_validBox, 1);
        return false;
    case cr::BandSwitch::Switched:
    case cr::BandSwitch::SwitchedWithDefault:
        return true;
    case cr::BandSwitch::Unchanged:
        break;
    }
    return false;
}

bool ChannelEditor::chooseDetail(int which, int index)
{
    static constexpr cr::Field Fields[DetailCount] = {cr::Field::ToneCode,  cr::Field::RepeaterShift,
                                                      cr::Field::RogerBeep, cr::Field::Public,
                                                      cr::Field::Busy,      cr::Field::HiCut};
    int value = index;
    if (which == Roger) value = index < 1 ? 0 : m_detailBoxes[Roger]->itemText(index).toInt();
    if (which == Public) enableDetailFields(index);
    const int row = m_grid->currentRow() + 1;
    return cr::setField(context().image, m_family, m_band, row, Fields[which], value) ==
           cr::FieldResult::Changed;
}

} // namespace mx
