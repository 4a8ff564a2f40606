#pragma once

#include <QHash>
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

    // Larger files are refused: the biggest table the program accepts
    // (32,767 software and 32,767 firmware entries) takes about 1.3 MB.
    static constexpr qint64 MaxFileSize = 2 * 1024 * 1024;

    // False when the file is missing, unreadable, no regular file or larger
    // than MaxFileSize (the object is then empty), with the reason when asked.
    // The file is parsed once; lookups do not rescan it.
    bool load(const QString& path, QString* reason = nullptr);
    // Writes the lines back (atomically). False on a file error, with the reason when asked.
    bool save() const;
    bool save(const QString& path, QString* reason = nullptr) const;

    const QString& path() const { return m_path; }
    bool contains(const QString& section, const QString& key) const;
    // The value with blanks trimmed, or def when the key is missing.
    QString value(const QString& section, const QString& key, const QString& def = {}) const;
    void setValue(const QString& section, const QString& key, const QString& value);

private:
    QString m_path;
    // The file's bytes one character each (Latin-1), so that lines the
    // program does not write go back byte for byte whatever their encoding.
    QStringList m_lines; // without line endings
    // The ending of each line as found: "\r\n", "\n", or "" for a last line without one.
    QStringList m_endings;
    // Ending of added lines: the file's first one, CRLF for a new file.
    QString m_eol = QStringLiteral("\r\n");

    struct Found
    {
        int sectionLine = -1; // header of the first matching section
        int lastKeyLine = -1; // last key line of the first matching section
        int keyLine = -1;     // the key's line, -1 when missing
    };
    // Where each section and key is, by case-folded name: the first header of
    // a section name with the last key line under it, and the first line of
    // each key in any section of that name. Rebuilt whenever lines are inserted.
    struct Section
    {
        int headerLine = -1;
        int lastKeyLine = -1;
        QHash<QString, int> keys;
    };
    QHash<QString, Section> m_sections;
    void index();
    Found find(const QString& section, const QString& key) const;
    void insertLine(int at, const QString& line);
};

} // namespace mx
