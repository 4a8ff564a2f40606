#include "data/CsvText.h"

namespace mx::csvtext {

bool split(const QString& text, QChar separator, QList<Row>& rows, int* badLine, bool skipBlank)
{
    rows.clear();
    int line = 1;
    Row row{1, {}};
    QString cell;
    bool inQuotes = false, quotedCell = false;
    auto endRow = [&] {
        row.cells.append(cell);
        const bool blank = row.cells.size() == 1 && cell.trimmed().isEmpty() && !quotedCell;
        if (!blank || !skipBlank) rows.append(blank ? Row{row.line, {QString()}} : row);
        row = Row{line, {}};
        cell.clear();
        quotedCell = false;
    };
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (inQuotes) {
            if (c != u'"') {
                if (c == u'\n') ++line;
                cell += c;
            } else if (k + 1 < text.size() && text[k + 1] == u'"') {
                cell += c;
                ++k;
            } else {
                inQuotes = false;
            }
        } else if (c == u'"' && cell.isEmpty() && !quotedCell) {
            inQuotes = quotedCell = true;
        } else if (c == separator) {
            row.cells.append(cell);
            cell.clear();
            quotedCell = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n') ++k;
            ++line;
            endRow();
        } else {
            cell += c;
        }
    }
    if (inQuotes) {
        if (badLine) *badLine = row.line;
        return false;
    }
    if (!cell.isEmpty() || !row.cells.isEmpty() || quotedCell) endRow();
    // Blank lines at the end are no rows.
    while (!rows.isEmpty() && rows.last().cells == QStringList{QString()})
        rows.removeLast();
    return true;
}

bool splitList(const QByteArray& csv, QList<Row>& rows, int* badLine)
{
    QString content = QString::fromUtf8(csv);
    if (content.startsWith(QChar(0xFEFF))) content.remove(0, 1);
    return split(content, QLatin1Char(','), rows, badLine);
}

QString quoted(const QString& cell, QChar separator)
{
    if (!cell.contains(separator) && !cell.contains(QLatin1Char('"')) && !cell.contains(QLatin1Char('\n')) &&
        !cell.contains(QLatin1Char('\r')))
        return cell;
    QString q = cell;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString line(const QStringList& cells)
{
    QStringList quotedCells;
    quotedCells.reserve(cells.size());
    for (const QString& c : cells)
        quotedCells.append(quoted(c));
    return quotedCells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QStringList names(std::span<const char* const> columns)
{
    QStringList cells;
    cells.reserve(qsizetype(columns.size()));
    for (const char* name : columns)
        cells.append(QLatin1String(name));
    return cells;
}

} // namespace mx::csvtext
