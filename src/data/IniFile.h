#pragma once

#include <QString>
#include <QStringList>

namespace mx {

// A private-profile (INI) file read and written in place: setValue changes
// only the line of its key (or adds one), every other line keeps its text,
// its order and its line ending. Sections and keys compare case-insensitively.
class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(const QString& path) { load(path); }

    // False when the file is missing or unreadable (the object is then empty).
    bool load(const QString& path);
    // Writes the lines back (atomically). False on a file error.
    bool save() const;
    bool save(const QString& path) const;

    const QString& path() const { return m_path; }
    bool contains(const QString& section, const QString& key) const;
    // The value with blanks trimmed, or def when the key is missing.
    QString value(const QString& section, const QString& key, const QString& def = {}) const;
    void setValue(const QString& section, const QString& key, const QString& value);

private:
    QString m_path;
    QStringList m_lines;   // without line endings
    QString m_eol = QStringLiteral("\r\n");
    bool m_finalEol = true;
};

} // namespace mx
