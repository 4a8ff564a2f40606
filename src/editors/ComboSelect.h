#pragma once

#include <QString>

class QComboBox;

namespace mx::combo {

// Showing a stored value in a drop-down list. Selecting a text selects the
// first item equal to it; the list's activated signal is not raised, so
// callers that need the click handler call it themselves.

// The item at index when it exists, otherwise the first item; "" for an empty list.
QString itemText(const QComboBox* box, int index);
// The first item equal to text, otherwise the first item; "" for an empty list.
QString findText(const QComboBox* box, const QString& text);
// Selects findText(text), or removes the selection when that is "".
void setText(QComboBox* box, const QString& text);
// Selects itemText(index), or removes the selection when that is "".
void setIndex(QComboBox* box, int index);

} // namespace mx::combo
