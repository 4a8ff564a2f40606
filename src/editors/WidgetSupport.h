#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QKeyEvent;
class QPushButton;
class QTableView;
class QLabel;
class QLineEdit;
class QWidget;

namespace mx {

class EditorWindow;

namespace widgets {

// A list without the keyboard focus leaves the mouse wheel to the window
// around it, which scrolls; a list takes the focus by click or Tab only.
void guardWheel(QComboBox* box);

// The digit a key types on a list when it is a plain one (0-9, without Ctrl
// or Alt), with which a frequency's edit starts; "" for any other key.
QString typedDigit(const QKeyEvent* key);

// Makes a line edit take only text matching pattern, whichever way the text
// arrives (keys, input method, paste, middle click, drop): a validator with
// the input method, drops and the context menu switched off; Ctrl+C, Ctrl+V
// and Ctrl+X are discarded. Entering the box selects its whole text.
void guardNumberEdit(QLineEdit* edit, const QString& pattern, int maxLength);

// Adds label and control as one row of a two-column grid: the label stands
// right-aligned to the left of its control whatever the width of its caption.
void addRow(QGridLayout* grid, int row, QLabel* label, QWidget* control, int column = 0);

// Sets a label's caption and the accessible name of the control it labels.
void setCaption(QLabel* label, QWidget* control, const QString& caption);
// Sets a button's caption and its accessible name (the caption without its access key mark).
void setCaption(QAbstractButton* button, const QString& caption);

// Makes a table at least as wide as its columns, with room for its frame and
// a vertical scroll bar.
void fitWidthToColumns(QTableView* view);

// The Help and Close buttons at the foot of an editor, right-aligned; Close closes it.
QHBoxLayout* helpAndCloseRow(EditorWindow* editor, QPushButton*& help, QPushButton*& close);

} // namespace widgets
} // namespace mx
