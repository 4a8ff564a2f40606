#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <span>

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

// A list file's bytes (UTF-8, a byte-order mark left out) split at commas, as split does.
bool splitList(const QByteArray& csv, QList<Row>& rows, int* badLine = nullptr);

// The cell as a list writes it: in double quotes when it holds the separator,
// a quote or a line break.
QString quoted(const QString& cell, QChar separator = QLatin1Char(','));

// A line of a comma-separated list: every cell quoted where needed, ended with CR LF.
QString line(const QStringList& cells);

// A header line's cells from its column names.
QStringList names(std::span<const char* const> columns);

} // namespace mx::csvtext
