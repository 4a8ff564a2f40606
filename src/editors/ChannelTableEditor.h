#pragma once

#include "editors/EditorWindow.h"

#include <QList>
#include <QModelIndexList>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;

namespace mx {

class ChannelTable;
class TableDelegate;
class TableProxy;

// FrmChannelTable: every channel of the current range family in one sheet
// (the channel table model) with in-place editors, copy and paste to and
// from spreadsheets, delete, fill down, insert, sorting and a search box.
// Keys: Ctrl+C, Ctrl+V, Delete, Ctrl+D, Insert; F2, Enter or typing edits a
// cell. A refused value is marked at its cell and named in the status line.
class FrmChannelTable : public EditorWindow
{
    Q_OBJECT
public:
    explicit FrmChannelTable(EditorContext& context, QWidget* parent = nullptr);
    ~FrmChannelTable() override;

    void applyLanguage() override;
    void commitPending() override;

    ChannelTable* table() const { return m_table; }
    QTableView* view() const { return m_view; }

    // The commands of the keys and the context menu, on the view's selection.
    void copy();
    void paste();
    void deleteChannels();
    void fillDown();
    void insertChannel();
    // Sorts the view by the current column, the other way round when it already is.
    void sortByCurrentColumn();
    // Shows the rows whose band or frequency match.
    void search(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QModelIndexList selectedCells() const;
    QList<int> shownRows() const;
    bool editing() const;
    void showFamily();
    void fitColumns();

    ChannelTable* m_table = nullptr;
    TableProxy* m_proxy = nullptr;
    TableDelegate* m_delegate = nullptr;
    QLabel* m_searchLabel = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_family = nullptr;
    QTableView* m_view = nullptr;
    QStatusBar* m_status = nullptr;
    QPushButton* m_close = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_paste = nullptr;
    QAction* m_delete = nullptr;
    QAction* m_fill = nullptr;
    QAction* m_insert = nullptr;
    QAction* m_sort = nullptr;
};

} // namespace mx
