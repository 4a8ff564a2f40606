#include "data/FileWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

namespace mx {

bool writeComplete(QSaveFile& file, const QByteArray& bytes, QString* reason)
{
    errno = 0;
    if (file.write(bytes) == bytes.size() && file.flush() && file.size() == file.pos()) return true;
    // The system's reason, taken before cancelling puts its own text in its place
    // (the file's own text can be "Unknown error"). A flush that failed without one is a full disk.
    const int error = errno;
    if (reason) *reason = filewrite::systemReason(error != 0 ? error : ENOSPC);
    file.cancelWriting();
    return false;
}

bool commitFile(QSaveFile& file, QString* reason)
{
    errno = 0;
    if (file.commit()) return true;
    const int error = errno;
    if (reason) *reason = error != 0 ? filewrite::systemReason(error) : file.errorString();
    return false;
}

namespace filewrite {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString resolved(const QString& path)
{
    if (path.isEmpty()) return {};
    QString p = QFileInfo(path).absoluteFilePath();
    // A chain of links, up to the system's own limit of hops.
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(p);
        if (!info.isSymLink()) break;
        const QString target = info.symLinkTarget();
        if (target.isEmpty()) break;
        p = target;
    }
    const QFileInfo info(p);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(p) : QDir(folder).filePath(info.fileName());
}

QString refusal(const QString& path)
{
    const QFileInfo info(path); // through its links
    if (info.isDir()) return systemReason(EISDIR);
    if (info.exists() && !info.isFile()) return QStringLiteral("a device or FIFO, not a regular file");
    return {};
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* reason)
{
    auto fail = [reason](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    if (const QString why = refusal(path); !why.isEmpty()) return fail(why);
    QSaveFile file(resolved(path));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    QString why;
    if (!writeComplete(file, bytes, &why)) return fail(why);
    if (!commitFile(file, &why)) return fail(why);
    return true;
}

void removeLeftovers(const QString& path)
{
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    const QRegularExpression name(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    for (const QString& leftover : folder.entryList(QDir::Files | QDir::Hidden))
        if (name.match(leftover).hasMatch()) folder.remove(leftover);
}

} // namespace filewrite
} // namespace mx
