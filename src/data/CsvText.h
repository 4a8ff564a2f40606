#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace mx::csvtext {

// One line of a list: where it began (1-based) and its cells.
struct Row
{
    int line = 0;
    QStringList cells;
};

// Splits text into rows of cells. Cells are separated by separator (a comma
// or a tab); a cell that begins with a double quote runs to the closing quote
// and may hold separators, quotes ("" is one quote) and line breaks. With
// skipBlank, lines that hold nothing are left out; otherwise only the blank
// lines at the end are. False when a quote is left open (badLine: its line).
bool split(const QString& text, QChar separator, QList<Row>& rows, int* badLine = nullptr,
           bool skipBlank = true);

// The cell as a list writes it: in double quotes when it holds the separator,
// a quote or a line break.
QString quoted(const QString& cell, QChar separator = QLatin1Char(','));

} // namespace mx::csvtext
