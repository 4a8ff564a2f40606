#include "editors/TVChannelEditor.h"

#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "editors/WidgetSupport.h"
#include "texts/Messenger.h"
#include "texts/TVTexts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace mx {

namespace tvch {

double step(double mhz)
{
    const double units = std::round(mhz * 100000.0); // 10 Hz
    if (!std::isfinite(units) || std::fabs(units) > 9e15) return mhz;
    const qint64 n = qint64(units);
    if (n % 500 != 0 && n % 625 != 0) return double(n - n % 500) / 100000.0;
    return mhz;
}

QString checkFrequency(const QString& text)
{
    bool ok = false;
    double v = freq::toDouble(text, &ok);
    if (!ok) return {};
    if (v < 150.0)
        v = 150.0;
    else if (v > 170.0)
        v = 170.0;
    else
        v = step(v);
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString shownFrequency(double mhz)
{
    if (!std::isfinite(mhz) || mhz < 0.0 || mhz >= 1000.0) return QString::number(mhz);
    return freq::formatFixed(mhz, 5).rightJustified(9, QLatin1Char('0'));
}

} // namespace tvch

namespace {

constexpr int Rows = TVChannelCount;

} // namespace

FrmTVCH::FrmTVCH(EditorContext& context, QWidget* parent)
    : EditorWindow(EditorKind::TVChannel, context, parent)
{
    setObjectName(nameOf(EditorKind::TVChannel));

    m_current = new QComboBox(this);
    m_current->setObjectName(QStringLiteral("Combo1"));
    m_current->installEventFilter(this);
    m_currentLabel = new QLabel(this);
    auto* top = new QGridLayout;
    widgets::addRow(top, 0, m_currentLabel, m_current);
    top->setColumnStretch(2, 1);
    onChoice(m_current, [this](int index) {
        return store(this->context().image.work.optFeat[Opt::CurrentTVChannel],
                     freq::toInt(m_current->itemText(index), 1) - 1);
    });

    m_grid = new QTableWidget(Rows, 4, this);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false); // Tab leaves the grid, the arrow keys move inside it
    m_grid->horizontalHeader()->setMinimumHeight(34);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(c == 0 ? QString::number(r + 1) : QString());
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_grid->setItem(r, c, item);
        }
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableWidget::cellClicked, this, [this] { saveTVChannel(); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) { editCell(r + 1, c); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &FrmTVCH::placeEditor);
    connect(m_grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FrmTVCH::placeEditor);

    // Cell editors, laid over the cell being edited.
    m_text = new QLineEdit(m_grid->viewport());
    m_text->setObjectName(QStringLiteral("Text1"));
    widgets::guardNumberEdit(m_text, QStringLiteral("[0-9]*\\.?[0-9]*"), 12);
    onLeave(m_text, [this] { saveTVChannel(); });
    m_tbst = new QComboBox(m_grid->viewport());
    m_tbst->setObjectName(QStringLiteral("Combo2"));
    m_width = new QComboBox(m_grid->viewport());
    m_width->setObjectName(QStringLiteral("Combo3"));
    for (QComboBox* box : {m_tbst, m_width})
        onChoice(box, [this](int index) { return chooseOption(index); });
    hideEditors();

    auto* buttons = widgets::helpAndCloseRow(this, m_help, m_close);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addLayout(buttons);

    applyLanguage();
    fillCurrentList();
    for (int r = 1; r <= Rows; ++r)
        showRow(r);
    m_loaded = true;
}

void FrmTVCH::setLists()
{
    const int lang = context().messenger.language();
    const QStringList tbst{mx::text(TextId::OffText, lang), mx::text(TextId::OnText, lang)};
    const QStringList width{text(TVText::Narrow, lang), text(TVText::Wide, lang)};
    for (auto [box, items] : {std::pair{m_tbst, tbst}, std::pair{m_width, width}}) {
        const QSignalBlocker block(box);
        const int keep = box->currentIndex();
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(keep);
    }
}

void FrmTVCH::applyLanguage()
{
    const int lang = context().messenger.language();
    setWindowTitle(text(TVText::Title, lang));
    widgets::setCaption(m_currentLabel, m_current, text(TVText::CurrentChannel, lang));
    m_grid->setHorizontalHeaderLabels({text(TVText::ChNo, lang), text(TVText::Frequency, lang),
                                       text(TVText::Tbst, lang), text(TVText::Bandwidth, lang)});
    m_grid->setAccessibleName(text(TVText::Title, lang));
    fitColumns();
    m_text->setAccessibleName(text(TVText::Frequency, lang));
    m_tbst->setAccessibleName(text(TVText::Tbst, lang));
    m_width->setAccessibleName(text(TVText::Bandwidth, lang));
    widgets::setCaption(m_close, text(TVText::Close, lang));
    widgets::setCaption(m_help, text(TVText::Help, lang));
    setLists();
    if (m_loaded)
        for (int r = 1; r <= Rows; ++r)
            showRow(r);
}

void FrmTVCH::fitColumns()
{
    // 500, 1260, 1200 and 1200 twips, widened where a header caption needs more.
    constexpr int Widths[] = {34, 84, 80, 80};
    QHeaderView* header = m_grid->horizontalHeader();
    for (int c = 0; c < 4; ++c) {
        const int caption =
            header->fontMetrics().horizontalAdvance(m_grid->horizontalHeaderItem(c)->text()) + 16;
        m_grid->setColumnWidth(c, qMax(Widths[c], caption));
    }
    widgets::fitWidthToColumns(m_grid);
    m_grid->setMinimumHeight(header->minimumHeight() + 12 * m_grid->verticalHeader()->defaultSectionSize());
}

void FrmTVCH::showRow(int row)
{
    const TVChannelRecord& tv = context().image.work.tvChannels[row - 1];
    const bool used = tv.inUse == 1;
    m_grid->item(row - 1, 1)->setText(used ? tvch::shownFrequency(tv.frequency) : QString());
    m_grid->item(row - 1, 2)->setText(used ? m_tbst->itemText(qBound(0, int(tv.tbst), 1)) : QString());
    m_grid->item(row - 1, 3)->setText(used ? m_width->itemText(qBound(0, int(tv.bandwidth), 1)) : QString());
}

void FrmTVCH::fillCurrentList()
{
    const RadioDataRecord& rec = context().image.work;
    const QSignalBlocker block(m_current);
    m_current->clear();
    for (int r = 1; r <= Rows; ++r)
        if (rec.tvChannels[r - 1].inUse == 1) m_current->addItem(QString::number(r));
    m_current->setCurrentIndex(m_current->findText(QString::number(rec.optFeat[Opt::CurrentTVChannel] + 1)));
}

void FrmTVCH::editCell(int row, int column)
{
    saveTVChannel();
    if (row < 1 || row > Rows || column < 1 || column > 3) return;
    m_row = row;
    m_column = column;
    const QString cell = m_grid->item(row - 1, column)->text();
    m_grid->setCurrentCell(row - 1, column);
    if (column == 1) {
        m_text->setText(cell);
        m_text->show();
        m_text->setFocus();
        m_text->selectAll();
    } else {
        QComboBox* box = column == 2 ? m_tbst : m_width;
        const QSignalBlocker block(box);
        box->setCurrentIndex(qMax(0, box->findText(cell)));
        box->show();
        box->setFocus();
    }
    placeEditor();
}

void FrmTVCH::placeEditor()
{
    if (m_row < 1 || m_column < 1) return;
    const QRect cell = m_grid->visualRect(m_grid->model()->index(m_row - 1, m_column));
    for (QWidget* w :
         {static_cast<QWidget*>(m_text), static_cast<QWidget*>(m_tbst), static_cast<QWidget*>(m_width)})
        if (w->isVisible()) w->setGeometry(cell);
}

void FrmTVCH::hideEditors()
{
    m_text->hide();
    m_tbst->hide();
    m_width->hide();
}

// A TBST or W/N item chosen in the cell's list; leaving the list unchosen stores nothing.
bool FrmTVCH::chooseOption(int index)
{
    const int r = m_row;
    if (r < 1 || r > Rows || m_column < 2) return false;
    TVChannelRecord& tv = context().image.work.tvChannels[r - 1];
    const bool changed = store(m_column == 2 ? tv.tbst : tv.bandwidth, index);
    storeEdit();
    showRow(r);
    return changed;
}

void FrmTVCH::saveTVChannel()
{
    if (storeEdit()) Q_EMIT edited();
}

bool FrmTVCH::storeEdit()
{
    if (m_saving) return false;
    m_saving = true;
    const int r = m_row;
    RadioDataRecord& rec = context().image.work;
    bool changed = false;
    if (r >= 1 && r <= Rows && m_column >= 1) {
        TVChannelRecord& tv = rec.tvChannels[r - 1];
        if (m_column == 1 && !m_text->isHidden() && m_text->isModified()) {
            const QString typed = m_text->text();
            const QString s = tvch::checkFrequency(typed);
            if (!s.isEmpty()) {
                if (tv.inUse != 1) {
                    tv.inUse = 1;
                    tv.tbst = 0;
                    tv.bandwidth = 1;
                }
                tv.frequency = freq::toDouble(s);
                changed = true;
            } else if (typed.isEmpty() && tv.inUse == 1) { // cleared on purpose: the channel goes
                tv.inUse = 0;
                qint16& current = rec.optFeat[Opt::CurrentTVChannel];
                if (current == r - 1)
                    for (int k = 1; k <= Rows; ++k)
                        if (rec.tvChannels[k - 1].inUse == 1) {
                            current = qint16(k - 1);
                            break;
                        }
                changed = true;
            }
            showRow(r);
            fillCurrentList();
        }
    }
    const bool hadFocus = m_text->hasFocus() || m_tbst->hasFocus() || m_width->hasFocus();
    hideEditors();
    m_row = 0;
    m_column = 0;
    if (hadFocus) m_grid->setFocus();
    m_saving = false;
    return changed;
}

bool FrmTVCH::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_current && event->type() == QEvent::FocusIn) {
        saveTVChannel();
    } else if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2 || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            editCell(m_grid->currentRow() + 1, m_grid->currentColumn());
            return true;
        }
        // A digit typed on a frequency starts its edit with that digit.
        if (const QString typed = widgets::typedDigit(key);
            !typed.isEmpty() && m_grid->currentColumn() == 1) {
            editCell(m_grid->currentRow() + 1, 1);
            m_text->insert(typed);
            return true;
        }
    }
    return EditorWindow::eventFilter(watched, event);
}

} // namespace mx
