#include "editors/EditorWindow.h"

#include "editors/WidgetSupport.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace mx {

namespace {

// Runs a field's commit when the focus leaves it and on Enter.
class FieldWatcher : public QObject
{
public:
    FieldWatcher(QLineEdit* edit, std::function<void()> commit, std::function<void()> enter)
        : QObject(edit), m_commit(std::move(commit)), m_enter(std::move(enter))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            // A menu or list popping up is no leaving.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) m_commit();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                (m_enter ? m_enter : m_commit)();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_commit;
    std::function<void()> m_enter;
};

} // namespace

EditorWindow::~EditorWindow()
{
    // The fields go after the window's own parts: their focus leaving then commits nothing.
    for (const QPointer<QObject>& watcher : std::as_const(m_watchers))
        delete watcher.data();
}

void EditorWindow::closeWindow()
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

QSize EditorWindow::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
    const QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area) return hint;
    // The frame takes a title bar and a border around the window.
    QStyleOptionTitleBar option;
    option.initFrom(frame);
    const int border = frame->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame);
    const int title = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame);
    const QSize room = area->viewport()->size() - QSize(2 * border, title + border);
    return hint.boundedTo(room).expandedTo(minimumSizeHint());
}

void EditorWindow::onChoice(QComboBox* box, std::function<bool(int index)> store)
{
    widgets::guardWheel(box);
    connect(box, &QComboBox::activated, this, [this, store = std::move(store)](int index) {
        if (index >= 0 && store(index)) Q_EMIT edited();
    });
}

void EditorWindow::onChoice(QAbstractButton* box, std::function<bool(bool checked)> store)
{
    connect(box, &QAbstractButton::clicked, this, [this, store = std::move(store)](bool checked) {
        if (store(checked)) Q_EMIT edited();
    });
}

bool EditorWindow::store(qint16& field, int value)
{
    if (field == value) return false;
    field = qint16(value);
    return true;
}

void EditorWindow::onLeave(QLineEdit* edit, std::function<void()> commit, std::function<void()> enter)
{
    auto* watcher = new FieldWatcher(edit, std::move(commit), std::move(enter));
    edit->installEventFilter(watcher);
    m_watchers.append(watcher);
}

bool EditorWindow::event(QEvent* event)
{
    if (event->type() == QEvent::Polish && layout()) layout()->setSizeConstraint(QLayout::SetMinimumSize);
    return QWidget::event(event);
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    commitPending();
    stopActivity();
    QWidget::closeEvent(event);
}

} // namespace mx
