#include "editors/WidgetSupport.h"

#include "editors/EditorWindow.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

namespace mx::widgets {

namespace {

// Discards the clipboard keys and selects the text on entry.
class NumberEditFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* edit = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
                key->matches(QKeySequence::Cut)) {
                event->accept();
                return true;
            }
        } else if (event->type() == QEvent::FocusIn) {
            // After the mouse press that gave the focus has placed the cursor.
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
        return false;
    }
};

// Hands the wheel on to the window around a list without the keyboard focus:
// an ignored event goes on to the parent, which scrolls.
class WheelGuard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus()) return false;
        event->ignore();
        return true;
    }
};

} // namespace

void guardWheel(QComboBox* box)
{
    static WheelGuard guard;              // one filter serves every list; installing it again changes nothing
    box->setFocusPolicy(Qt::StrongFocus); // the wheel gives no focus either
    box->installEventFilter(&guard);
}

QString typedDigit(const QKeyEvent* key)
{
    const QString typed = key->text();
    const bool digit = typed.size() == 1 && typed[0].isDigit() && typed[0].unicode() < 128 &&
                       !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    return digit ? typed : QString();
}

void guardNumberEdit(QLineEdit* edit, const QString& pattern, int maxLength)
{
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    edit->setMaxLength(maxLength);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setAcceptDrops(false);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setDragEnabled(false);
    edit->installEventFilter(new NumberEditFilter(edit));
}

void addRow(QGridLayout* grid, int row, QLabel* label, QWidget* control, int column)
{
    label->setBuddy(control);
    grid->addWidget(label, row, column, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(control, row, column + 1);
}

void setCaption(QLabel* label, QWidget* control, const QString& caption)
{
    label->setText(caption);
    QString plain = caption;
    control->setAccessibleName(plain.remove(QLatin1Char('&')));
}

void setCaption(QAbstractButton* button, const QString& caption)
{
    button->setText(caption);
    QString plain = caption;
    button->setAccessibleName(plain.remove(QLatin1Char('&')));
}

void fitWidthToColumns(QTableView* view)
{
    int total = 0;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        total += view->columnWidth(c);
    view->setMinimumWidth(total + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth());
}

QHBoxLayout* helpAndCloseRow(EditorWindow* editor, QPushButton*& help, QPushButton*& close)
{
    help = new QPushButton(editor);
    help->setObjectName(QStringLiteral("CommandHelp"));
    close = new QPushButton(editor);
    close->setObjectName(QStringLiteral("CommandClose"));
    QObject::connect(close, &QPushButton::clicked, editor, &EditorWindow::closeWindow);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(help);
    row->addWidget(close);
    return row;
}

} // namespace mx::widgets
