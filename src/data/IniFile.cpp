#include "data/IniFile.h"

#include "data/FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace mx {

namespace {

const QChar Bom = QChar(0xEF); // first byte of a UTF-8 byte order mark, read as Latin-1
const QString BomText = QString::fromLatin1("\xEF\xBB\xBF");

// The line without a byte order mark at its start (only the first line can have one).
QStringView withoutBom(const QString& line)
{
    if (!line.isEmpty() && line.front() == Bom && line.startsWith(BomText))
        return QStringView(line).mid(BomText.size());
    return QStringView(line);
}

// "[name]" -> name; false for a line that is no section header.
bool sectionName(QStringView line, QString& name)
{
    const QStringView t = line.trimmed();
    if (!t.startsWith(u'[')) return false;
    const qsizetype close = t.indexOf(u']');
    name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed().toString();
    return true;
}

// "key = value" -> key; false for comments, blank lines and lines without "=".
bool keyName(QStringView line, QString& key)
{
    const QStringView t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'[')) return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0) return false;
    key = t.left(eq).trimmed().toString();
    return !key.isEmpty();
}

// The name compared without regard to case. ASCII names (all of this
// program's) are lowered in place; others are case-folded.
QString folded(QString name)
{
    for (QChar& c : name) {
        const char16_t u = c.unicode();
        if (u >= 0x80) return name.toCaseFolded();
        if (u >= u'A' && u <= u'Z') c = QChar(char16_t(u + 32));
    }
    return name;
}

// Lines hold the file's bytes one per character; values written by this
// program are UTF-8, older files may hold any 8-bit text.
QString decodeValue(QStringView raw)
{
    // Plain ASCII reads the same either way.
    if (std::all_of(raw.begin(), raw.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return raw.toString();
    const QByteArray bytes = raw.toLatin1();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) return QString::fromLatin1(bytes);
    return text;
}

QString encodeValue(const QString& value)
{
    return QString::fromLatin1(value.toUtf8());
}

} // namespace

bool IniFile::load(const QString& path, QString* reason)
{
    m_path = path;
    m_lines.clear();
    m_endings.clear();
    m_sections.clear();
    m_eol = QStringLiteral("\r\n");

    auto fail = [reason](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    // Only a regular file: a device or a pipe is no settings file (a pipe
    // would block, and saving would rename a new file over it).
    const QFileInfo info(path);
    if (!info.exists()) return fail(QStringLiteral("No such file or directory"));
    if (!info.isFile()) return fail(filewrite::refusal(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
    // One byte more than allowed tells a file that is too large.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) return fail(file.errorString());
    if (bytes.size() > MaxFileSize)
        return fail(QStringLiteral("larger than %1 MiB: not a settings file").arg(MaxFileSize >> 20));
    const QString crlfEnding = QStringLiteral("\r\n"), lfEnding = QStringLiteral("\n");
    const char* text = bytes.constData();
    m_lines.reserve(bytes.count('\n') + 1);
    m_endings.reserve(m_lines.capacity());

    bool eolSeen = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            m_lines.append(QString::fromLatin1(text + start, bytes.size() - start));
            m_endings.append(QString());
            break;
        }
        const bool crlf = nl > start && text[nl - 1] == '\r';
        const QString ending = crlf ? crlfEnding : lfEnding;
        m_lines.append(QString::fromLatin1(text + start, nl - start - (crlf ? 1 : 0)));
        m_endings.append(ending);
        if (!eolSeen) {
            m_eol = ending;
            eolSeen = true;
        }
        start = nl + 1;
    }
    index();
    return true;
}

void IniFile::index()
{
    m_sections.clear();
    Section* section = nullptr; // the section the lines are in
    bool inFirstHeader = false; // under the first header of its section name
    QString name;
    for (int k = 0; k < m_lines.size(); ++k) {
        const QStringView line = k == 0 ? withoutBom(m_lines.at(k)) : QStringView(m_lines.at(k));
        if (sectionName(line, name)) {
            const QString f = folded(name);
            inFirstHeader = !m_sections.contains(f);
            section = &m_sections[f];
            if (inFirstHeader) section->headerLine = k;
            continue;
        }
        if (!section || !keyName(line, name)) continue;
        if (inFirstHeader) section->lastKeyLine = k;
        const QString f = folded(name);
        if (!section->keys.contains(f)) section->keys.insert(f, k); // the first line of a key wins
    }
}

bool IniFile::save() const
{
    return save(m_path);
}

bool IniFile::save(const QString& path, QString* reason) const
{
    if (path.isEmpty()) return false;
    QString text;
    for (qsizetype k = 0; k < m_lines.size(); ++k)
        text += m_lines.at(k) + m_endings.at(k);
    return filewrite::writeFile(path, text.toLatin1(), reason);
}

IniFile::Found IniFile::find(const QString& section, const QString& key) const
{
    Found found;
    const QString f = folded(section);
    const auto sec = m_sections.constFind(f);
    if (sec == m_sections.constEnd()) return found;
    found.sectionLine = sec->headerLine;
    found.lastKeyLine = sec->lastKeyLine;
    found.keyLine = sec->keys.value(folded(key), -1);
    return found;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return find(section, key).keyLine >= 0;
}

QString IniFile::value(const QString& section, const QString& key, const QString& def) const
{
    const int k = find(section, key).keyLine;
    if (k < 0) return def;
    const QString& line = m_lines.at(k);
    QStringView raw = QStringView(line).mid(line.indexOf(u'=') + 1);
    const qsizetype nul = raw.indexOf(QChar(0));
    if (nul >= 0) raw = raw.left(nul);
    return decodeValue(raw.trimmed());
}

void IniFile::insertLine(int at, const QString& line)
{
    // The line before an insertion at the end may have had no ending.
    if (at > 0 && m_endings.at(at - 1).isEmpty()) m_endings[at - 1] = m_eol;
    m_lines.insert(at, line);
    m_endings.insert(at, m_eol);
    index();
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const Found found = find(section, key);
    // A line break inside the value would start a new line of the file.
    QString single = value;
    single.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString encoded = encodeValue(single);
    if (found.keyLine >= 0) {
        // Keep the key as written and the blanks after "=".
        QString& line = m_lines[found.keyLine];
        qsizetype cut = line.indexOf(u'=') + 1;
        while (cut < line.size() && (line.at(cut) == u' ' || line.at(cut) == u'\t'))
            ++cut;
        line = line.left(cut) + encoded;
        return;
    }
    const QString newLine = key + u'=' + encoded;
    if (found.sectionLine >= 0) {
        const int after = found.lastKeyLine >= 0 ? found.lastKeyLine : found.sectionLine;
        insertLine(after + 1, newLine);
        return;
    }
    insertLine(int(m_lines.size()), u'[' + section + u']');
    insertLine(int(m_lines.size()), newLine);
}

} // namespace mx
