#include "editors/ChannelTableEditor.h"

#include "data/ChannelTable.h"
#include "data/FreqRules.h"
#include "data/ImageText.h"
#include "data/RadioData.h"
#include "editors/WidgetSupport.h"
#include "texts/ChannelTexts.h"
#include "texts/Messenger.h"
#include "texts/TableTexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace mx {

// Sorting changes the view only; the search box keeps the rows of a band or frequency.
class TableProxy : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    const ChannelTable* table() const { return static_cast<const ChannelTable*>(sourceModel()); }

    void setSearch(const QString& search)
    {
        m_search = search;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
    {
        return table()->rowMatches(row, m_search);
    }
    // Free rows stay below the channels in either order, except by band and number.
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        const ChannelTable::Column kind = table()->kindOf(left.column());
        const bool freeLeft = !table()->hasChannel(left.row()), freeRight = !table()->hasChannel(right.row());
        if (kind != ChannelTable::BandColumn && kind != ChannelTable::ChColumn && freeLeft != freeRight)
            return sortOrder() == Qt::AscendingOrder ? freeRight : freeLeft;
        return QSortFilterProxyModel::lessThan(left, right);
    }

private:
    QString m_search;
};

// In-place editors (a frequency box taking digits and points, drop-down lists
// holding the channel window's lists), monospaced frequencies, greyed and
// refused cells.
class TableDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        const QString name = index.model()->headerData(index.column(), Qt::Horizontal).toString();
        const QStringList choices = index.data(ChannelTable::ChoicesRole).toStringList();
        if (!choices.isEmpty()) {
            auto* box = new QComboBox(parent);
            box->setObjectName(QStringLiteral("CellList"));
            box->setAccessibleName(name);
            box->addItems(choices);
            box->setFocusPolicy(Qt::StrongFocus);
            // A choice made in the open list is stored at once.
            connect(box, &QComboBox::activated, this,
                    [this, box] { const_cast<TableDelegate*>(this)->finish(box); });
            return box;
        }
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("CellFrequency"));
        edit->setAccessibleName(name);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), edit));
        edit->setMaxLength(16);
        edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        edit->setAlignment(Qt::AlignRight);
        return edit;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentIndex(qMax(0, box->findText(index.data().toString())));
        else if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && edit->text().isEmpty())
            edit->setText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        QString value;
        if (auto* box = qobject_cast<QComboBox*>(editor)) value = box->currentText();
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) value = edit->text();
        if (value != index.data().toString()) model->setData(index, value);
    }
    // Stores what an open editor holds and closes it.
    void finish(QWidget* editor)
    {
        Q_EMIT commitData(editor);
        Q_EMIT closeEditor(editor);
    }

protected:
    // The mouse wheel never turns an open cell list's choice (nor scrolls under it).
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel && qobject_cast<QComboBox*>(watched)) return true;
        return QStyledItemDelegate::eventFilter(watched, event);
    }
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto* table = qobject_cast<const QSortFilterProxyModel*>(index.model());
        const auto* source = table ? static_cast<const ChannelTable*>(table->sourceModel()) : nullptr;
        if (source && source->kindOf(index.column()) == ChannelTable::RxColumn)
            option->font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (index.data(ChannelTable::GreyedRole).toBool())
            option->palette.setColor(QPalette::Text,
                                     option->palette.color(QPalette::Disabled, QPalette::Text));
        if (index.data(ChannelTable::RefusedRole).toBool()) {
            option->backgroundBrush = QColor(255, 205, 205);
            option->palette.setColor(QPalette::Text, QColor(150, 0, 0));
        }
    }
};

FrmChannelTable::FrmChannelTable(EditorContext& context, QWidget* parent)
    : EditorWindow(EditorKind::ChannelTable, context, parent)
{
    m_table = new ChannelTable(context.image, context.messenger.language(), this);
    m_proxy = new TableProxy(this);
    m_proxy->setSourceModel(m_table);
    m_proxy->setSortRole(ChannelTable::SortRole);

    auto* top = new QVBoxLayout(this);
    auto* searchRow = new QHBoxLayout;
    m_searchLabel = new QLabel(this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("SearchBox"));
    m_search->setClearButtonEnabled(true);
    m_searchLabel->setBuddy(m_search);
    m_family = new QLabel(this);
    m_family->setObjectName(QStringLiteral("FamilyLabel"));
    searchRow->addWidget(m_searchLabel);
    searchRow->addWidget(m_search);
    searchRow->addStretch();
    searchRow->addWidget(m_family);
    top->addLayout(searchRow);
    connect(m_search, &QLineEdit::textChanged, this, &FrmChannelTable::search);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("ChannelTable"));
    m_delegate = new TableDelegate(m_view);
    m_view->setItemDelegate(m_delegate);
    m_view->setModel(m_proxy);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(0, Qt::AscendingOrder);
    m_view->verticalHeader()->hide();
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->setTabKeyNavigation(false); // Tab leaves the table; the arrows move inside
    m_view->setMinimumHeight(360);
    m_view->installEventFilter(this);
    top->addWidget(m_view, 1);

    // The commands, with their keys, in the table's context menu.
    auto command = [this](QAction*& action, const char* name, const QKeySequence& key,
                          void (FrmChannelTable::*run)()) {
        action = new QAction(m_view);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, run] {
            if (!editing()) (this->*run)();
        });
        m_view->addAction(action);
    };
    command(m_copy, "actCopy", QKeySequence::Copy, &FrmChannelTable::copy);
    command(m_paste, "actPaste", QKeySequence::Paste, &FrmChannelTable::paste);
    command(m_delete, "actDelete", QKeySequence(Qt::Key_Delete), &FrmChannelTable::deleteChannels);
    command(m_fill, "actFillDown", QKeySequence(Qt::CTRL | Qt::Key_D), &FrmChannelTable::fillDown);
    command(m_insert, "actInsert", QKeySequence(Qt::Key_Insert), &FrmChannelTable::insertChannel);
    command(m_sort, "actSort", QKeySequence(), &FrmChannelTable::sortByCurrentColumn);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("TableStatus"));
    m_status->setSizeGripEnabled(false);
    auto* foot = new QHBoxLayout;
    foot->addWidget(m_status, 1);
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("CommandClose"));
    connect(m_close, &QPushButton::clicked, this, &EditorWindow::closeWindow); // stores what is being typed
    foot->addWidget(m_close);
    top->addLayout(foot);

    connect(m_table, &ChannelTable::edited, this, [this] {
        m_status->clearMessage();
        Q_EMIT edited();
    });
    // A refusal is named below the table and in the main window's status bar.
    connect(m_table, &ChannelTable::refused, this, [this](const QModelIndex&, const QString& message) {
        m_status->showMessage(message);
        Q_EMIT notice(message);
    });
    connect(m_table, &QAbstractItemModel::modelReset, this, [this] {
        showFamily();
        fitColumns();
    });
    applyLanguage();
    m_view->setCurrentIndex(m_proxy->index(0, m_table->columnOf(ChannelTable::RxColumn)));
    // The window opens with the keyboard in the table.
    setFocusProxy(m_view);
    m_view->setFocus();
}

FrmChannelTable::~FrmChannelTable() = default;

void FrmChannelTable::applyLanguage()
{
    commitPending();
    const int language = context().messenger.language();
    auto caption = [language](TableText id) { return tableText(id, language); };
    setWindowTitle(caption(TableText::WindowTitle));
    widgets::setCaption(m_searchLabel, m_search, caption(TableText::SearchLabel));
    m_search->setPlaceholderText(caption(TableText::SearchHint));
    m_view->setAccessibleName(caption(TableText::TableName));
    m_copy->setText(caption(TableText::CopyAction));
    m_paste->setText(caption(TableText::PasteAction));
    m_delete->setText(caption(TableText::DeleteAction));
    m_fill->setText(caption(TableText::FillAction));
    m_insert->setText(caption(TableText::InsertAction));
    m_sort->setText(caption(TableText::SortAction));
    widgets::setCaption(m_close, channelText(ChannelText::Close, language));
    m_table->setLanguage(language);
    showFamily();
    fitColumns();
}

void FrmChannelTable::showFamily()
{
    const int m = m_table->family();
    m_family->setText(imagetext::familyName(m) + QStringLiteral(" -- ") + freq::rangeTextFor(m));
}

void FrmChannelTable::fitColumns()
{
    m_view->resizeColumnsToContents();
    // Room for the longest item of each list, so that a drop-down never cuts it.
    const QFontMetrics metrics(m_view->font());
    for (int c = 0; c < m_table->columnCount(); ++c) {
        int width = m_view->columnWidth(c);
        for (const QString& item : m_table->index(0, c).data(ChannelTable::ChoicesRole).toStringList())
            width = qMax(width, metrics.horizontalAdvance(item) + 40);
        m_view->setColumnWidth(c, width);
    }
    m_view->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    widgets::fitWidthToColumns(m_view);
}

bool FrmChannelTable::editing() const
{
    return m_view->indexWidget(m_view->currentIndex()) != nullptr; // an editor opens on the current cell
}

void FrmChannelTable::commitPending()
{
    if (QWidget* editor = m_view->indexWidget(m_view->currentIndex())) m_delegate->finish(editor);
}

QModelIndexList FrmChannelTable::selectedCells() const
{
    QModelIndexList cells;
    for (const QModelIndex& i : m_view->selectionModel()->selectedIndexes())
        cells.append(m_proxy->mapToSource(i));
    if (cells.isEmpty() && m_view->currentIndex().isValid())
        cells.append(m_proxy->mapToSource(m_view->currentIndex()));
    return cells;
}

QList<int> FrmChannelTable::shownRows() const
{
    QList<int> rows;
    for (int r = 0; r < m_proxy->rowCount(); ++r)
        rows.append(m_proxy->mapToSource(m_proxy->index(r, 0)).row());
    return rows;
}

void FrmChannelTable::copy()
{
    const QString text = m_table->copyText(selectedCells(), shownRows());
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void FrmChannelTable::paste()
{
    m_table->paste(QApplication::clipboard()->text(), selectedCells(), shownRows());
}

void FrmChannelTable::deleteChannels()
{
    m_table->clearChannels(selectedCells());
}

void FrmChannelTable::fillDown()
{
    m_table->fillDown(selectedCells(), shownRows());
}

void FrmChannelTable::insertChannel()
{
    const QModelIndex current = m_proxy->mapToSource(m_view->currentIndex());
    const int row = m_table->insertChannel(current.isValid() ? current.row() : 0);
    if (row < 0) return;
    const QModelIndex added =
        m_proxy->mapFromSource(m_table->index(row, m_table->columnOf(ChannelTable::RxColumn)));
    if (!added.isValid()) return; // hidden by the search
    m_view->setCurrentIndex(added);
    m_view->scrollTo(added);
}

void FrmChannelTable::sortByCurrentColumn()
{
    const int column = qMax(0, m_view->currentIndex().column());
    const QHeaderView* header = m_view->horizontalHeader();
    const bool again =
        header->sortIndicatorSection() == column && header->sortIndicatorOrder() == Qt::AscendingOrder;
    m_view->sortByColumn(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void FrmChannelTable::search(const QString& text)
{
    m_proxy->setSearch(text);
}

bool FrmChannelTable::eventFilter(QObject* watched, QEvent* event)
{
    // Enter edits the current cell, as in the channel window's list; Shift+F10
    // opens the commands' menu as the menu key does.
    if (watched == m_view && event->type() == QEvent::KeyPress && !editing()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            m_view->currentIndex().isValid()) {
            m_view->edit(m_view->currentIndex());
            return true;
        }
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            const QRect cell = m_view->visualRect(m_view->currentIndex());
            QMenu::exec(m_view->actions(), m_view->viewport()->mapToGlobal(cell.center()), nullptr, m_view);
            return true;
        }
    }
    return EditorWindow::eventFilter(watched, event);
}

} // namespace mx
