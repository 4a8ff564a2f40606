#include "app/Backups.h"

#include "data/DataFile.h"
#include "data/FileWrite.h"
#include "data/RadioData.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace mx::backups {

namespace {

const QRegularExpression BackupName(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{6}(_\\d+)?_[a-z]+\\.dat$"));

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    if (filewrite::writeFile(path, bytes, error)) return true;
    *error = path + QStringLiteral(": ") + *error;
    return false;
}

} // namespace

QString defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("MX_806TR/backups"));
}

QString save(const RadioImage& image, const QString& folder, const QString& kind, QString* error,
             const QDateTime& now)
{
    QString ignored;
    if (!error) error = &ignored;
    if (!QDir().mkpath(folder)) {
        *error = folder + QStringLiteral(": cannot create the folder");
        return {};
    }
    // The record as a save would write it, from a copy: the document stays as it is.
    RadioImage copy;
    copy.copyFrom(image);
    copy.copyWorkToStaging();

    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString base = QDir(folder).filePath(stamp + u'_' + kind);
    for (int n = 2; QFileInfo::exists(base + QStringLiteral(".dat")); ++n)
        base = QDir(folder).filePath(stamp + u'_' + QString::number(n) + u'_' + kind);
    const QString dat = base + QStringLiteral(".dat");
    if (!writeFile(base + QStringLiteral(".fre"),
                   datafile::encodeChannels(copy.staging, copy.stagingChannels), error) ||
        !writeFile(dat, datafile::encodeRecord(copy.staging), error)) {
        QFile::remove(base + QStringLiteral(".fre"));
        return {};
    }
    prune(folder);
    return dat;
}

void prune(const QString& folder, int keep)
{
    QDir dir(folder);
    QStringList names = dir.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
    names.removeIf([](const QString& n) { return !BackupName.match(n).hasMatch(); });
    // Names sort by date and time; the oldest come first.
    for (qsizetype k = 0; k + keep < names.size(); ++k) {
        dir.remove(names[k]);
        dir.remove(datafile::channelFileName(names[k]));
    }
}

} // namespace mx::backups
