#include "cli/Problems.h"

#include "cli/Listing.h"
#include "data/FileWrite.h"
#include "data/FreqRules.h"
#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace mx::cli {

namespace {

constexpr int CountsOffset = 60; // ChannelCount (m, b) at 60 + 2 (m + 3 (b - 1))

} // namespace

QString readProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) return filewrite::systemReason(ENOENT);
    if (info.isDir()) return filewrite::systemReason(EISDIR);
    // Opening a FIFO would wait for a writer without end.
    if (!info.isFile()) return filewrite::refusal(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    return {};
}

QString writeProblem(const QString& path)
{
    // Through a link the file written is its target, in the target's folder.
    const QFileInfo info(filewrite::resolved(path));
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists()) return QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    if (!folder.isDir()) return QStringLiteral("%1 is not a folder").arg(folder.filePath());
    if (const QString refusal = filewrite::refusal(path); !refusal.isEmpty()) return refusal;
    // Files are written beside their target and renamed over it: the folder must take new files.
    if (::access(QFile::encodeName(folder.filePath()).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("the folder %1: %2").arg(folder.filePath(), filewrite::systemReason(errno));
    if (info.exists() && ::access(QFile::encodeName(info.filePath()).constData(), W_OK) != 0)
        return filewrite::systemReason(errno);
    return {};
}

bool sameFile(const QString& a, const QString& b)
{
    return filewrite::resolved(a) == filewrite::resolved(b);
}

bool overwritesInput(const QStringList& written, const QStringList& read)
{
    for (const QString& w : written)
        for (const QString& r : read)
            if (sameFile(w, r)) return true;
    return false;
}

QString refusalDetail(const QString& path, datafile::LoadStatus status)
{
    using datafile::LoadStatus;
    if (status == LoadStatus::Ok || status == LoadStatus::Incompatible) return {};
    if (status == LoadStatus::Interrupted) {
        const QString mark = datafile::savingMarkName(filewrite::resolved(path));
        return QStringLiteral("%1 was left by the interrupted save; when 'mx806 show' lists the channels you "
                              "expect, remove it")
            .arg(mark);
    }
    if (const QString problem = readProblem(path); !problem.isEmpty()) return problem;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    const qint64 size = file.size();
    if (status == LoadStatus::WrongLength)
        return QStringLiteral("%1 bytes; a data file holds exactly %2").arg(size).arg(datafile::DataFileSize);
    const QByteArray head = file.read(datafile::DataFileSize);
    if (status == LoadStatus::UnknownVersion) {
        return QStringLiteral("not a data file: it begins with \"%1\", not a version tag such as V100")
            .arg(printable(QString::fromLatin1(head.left(4))));
    }
    if (head.size() == datafile::DataFileSize) {
        const RadioDataRecord record = datafile::decodeRecord(head);
        for (int b = 1; b <= BandCount; ++b) {
            for (int m = 0; m < FamilyCount; ++m) {
                const int n = record.count(m, b);
                if (n >= 0 && n <= SlotCount) continue;
                return QStringLiteral(
                           "channel count of range %1 (\"%2\"), band %3 is %4 (0 to %5) at byte %6")
                    .arg(m)
                    .arg(familyName(m), freq::bandName(b, m))
                    .arg(n)
                    .arg(SlotCount)
                    .arg(CountsOffset + 2 * bandIndex(m, b));
            }
        }
    }
    return QStringLiteral("cannot be read");
}

QString versionTableProblem(const QString& installRoot)
{
    const QString path = QDir(installRoot).filePath(QStringLiteral("Version.ini"));
    if (!QFileInfo::exists(path)) return QStringLiteral("Version.ini not found in %1").arg(installRoot);
    if (const QString problem = readProblem(path); !problem.isEmpty())
        return QStringLiteral("%1: %2").arg(path, problem);
    return {};
}

QString handoverHint(const VersionTable& versions, const QString& installRoot, const QString& version)
{
    const QString shown = VersionTable::shown(version);
    const QString software = versions.softwareFor(version);
    if (software.isEmpty())
        return QStringLiteral("no installed software version handles %1 (Version.ini in %2)")
            .arg(shown, installRoot);
    const QString program = QDir(installRoot).filePath(software + QStringLiteral("/mx806"));
    if (!QFileInfo::exists(program))
        return QStringLiteral("software version %1 handles %2 but is not installed (%3 missing)")
            .arg(VersionTable::shown(software), shown, program);
    return QStringLiteral("software version %1 handles %2: use %3")
        .arg(VersionTable::shown(software), shown, program);
}

ChannelShortfall channelShortfall(const QString& path, const RadioImage& image)
{
    ChannelShortfall s;
    s.channelFile = datafile::channelFileName(filewrite::resolved(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return s;
    const QByteArray head = file.read(datafile::DataFileSize);
    if (head.size() != datafile::DataFileSize) return s;
    const RadioDataRecord record = datafile::decodeRecord(head);
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            s.counted += record.usedSlots(m, b);
            s.read += image.staging.usedSlots(m, b);
        }
    }
    if (s.missing() <= 0) return s;
    s.reason = readProblem(s.channelFile);
    if (s.reason.isEmpty()) {
        const qint64 records = QFileInfo(s.channelFile).size() / datafile::ChannelRecordSize;
        s.reason = QStringLiteral("holds %1 channel record%2").arg(records).arg(records == 1 ? "" : "s");
    }
    return s;
}

QString frequencyProblem(const ChannelRecord& channel, int family)
{
    const QString stored = channel.rxFreq.text().trimmed();
    if (stored.isEmpty() || stored == QLatin1String("FFFFFFFF")) return {};
    if (!std::all_of(stored.cbegin(), stored.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return QStringLiteral("is no frequency: the radio gets the channel without one");
    // Eight digits are the frequency in Hz.
    const qint64 hz = stored.leftJustified(8, u'0', true).toLongLong();
    const QString range = freq::rangeTextFor(family);
    const freq::Range limits = freq::parseRange(range);
    if (hz < qRound64(limits.low * 1e6) || hz > qRound64(limits.high * 1e6))
        return QStringLiteral("lies outside %1").arg(range);
    if (hz % 5000 != 0) return QStringLiteral("is off the 5 kHz raster");
    return {};
}

QStringList frequencyWarnings(const RadioImage& image)
{
    QStringList lines;
    for (int m = 0; m < FamilyCount; ++m) {
        int elsewhere = 0;
        for (int b = 1; b <= BandCount; ++b) {
            const int count = image.work.usedSlots(m, b);
            for (int i = 1; i <= count; ++i) {
                const ChannelRecord& ch = image.workChannels.at(m, i, b);
                const QString problem = frequencyProblem(ch, m);
                if (problem.isEmpty()) continue;
                if (m != image.work.rangeMode) {
                    ++elsewhere;
                    continue;
                }
                const QString stored = ch.rxFreq.text().trimmed();
                const QString shown =
                    freq::isNumeric(stored)
                        ? QString(freq::textFromStored(stored, 0.0) + QStringLiteral(" MHz"))
                        : QString(QLatin1Char('"') + printable(stored) + QLatin1Char('"'));
                lines.append(QStringLiteral("range %1 (\"%2\"), band %3, channel %4: %5 %6")
                                 .arg(m)
                                 .arg(familyName(m), freq::bandName(b, m))
                                 .arg(ch.chNo)
                                 .arg(shown, problem));
            }
        }
        if (elsewhere > 0)
            lines.append(QStringLiteral("range %1 (\"%2\"): %3 channel(s) outside its range or off the 5 kHz "
                                        "raster; the file uses range %4")
                             .arg(m)
                             .arg(familyName(m))
                             .arg(elsewhere)
                             .arg(image.work.rangeMode));
    }
    return lines;
}

} // namespace mx::cli
