#include "data/DataFile.h"

#include "data/FileWrite.h"
#include "data/FreqRules.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mx::datafile {

namespace {

// Little-endian writer over a byte array.
class Writer
{
public:
    explicit Writer(QByteArray& out) : m_out(out) {}
    void word(qint16 v)
    {
        char b[2];
        qToLittleEndian<qint16>(v, b);
        m_out.append(b, 2);
    }
    void real(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        char b[8];
        qToLittleEndian<quint64>(bits, b);
        m_out.append(b, 8);
    }
    template <int N> void text(const FixedString<N>& s) { m_out.append(s.bytes.data(), N); }

private:
    QByteArray& m_out;
};

// Little-endian reader; the caller guarantees the bytes are there.
class Reader
{
public:
    Reader(const char* data) : m_p(data) {}
    qint16 word()
    {
        const qint16 v = qFromLittleEndian<qint16>(m_p);
        m_p += 2;
        return v;
    }
    double real()
    {
        const quint64 bits = qFromLittleEndian<quint64>(m_p);
        m_p += 8;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    template <int N> void text(FixedString<N>& s)
    {
        std::memcpy(s.bytes.data(), m_p, N);
        m_p += N;
    }

private:
    const char* m_p;
};

void writeChannel(Writer& w, const ChannelRecord& c)
{
    w.word(c.chNo);
    w.word(c.inUse);
    w.text(c.rxFreq);
    w.text(c.txFreq);
    for (qint16 v : {c.word1, c.word2, c.word3, c.word4, c.publicFlag, c.busy, c.hiCut, c.repeaterShift,
                     c.toneCode, c.word10, c.rogerBeep})
        w.word(v);
}

ChannelRecord readChannel(Reader& r)
{
    ChannelRecord c;
    c.chNo = r.word();
    c.inUse = r.word();
    r.text(c.rxFreq);
    r.text(c.txFreq);
    for (qint16* v : {&c.word1, &c.word2, &c.word3, &c.word4, &c.publicFlag, &c.busy, &c.hiCut,
                      &c.repeaterShift, &c.toneCode, &c.word10, &c.rogerBeep})
        *v = r.word();
    return c;
}

bool countsValid(const RadioDataRecord& record)
{
    return std::all_of(record.channelCount.begin(), record.channelCount.end(),
                       [](qint16 n) { return n >= 0 && n <= SlotCount; });
}

// A tag is "V" and three characters that form a number, once trailing
// spaces are gone and the text is cut at its first NUL.
bool tagWellFormed(const QString& tag)
{
    return tag.size() == 4 && tag[0] == QLatin1Char('V') && freq::isNumeric(tag.mid(1));
}

// Reads the channel file of dataPath into channels following record's counts.
void readChannelFile(const QString& dataPath, RadioDataRecord& record, ChannelArray& channels)
{
    channels = ChannelArray{};
    // Through a link the channel file is the one beside its target, where saving puts it.
    const QString name = savedFiles(dataPath).value(1);
    QByteArray bytes;
    // A missing or unreadable file yields no channels; records past the used ones are never read.
    if (!name.isEmpty()) bytes = readHead(name, qint64(usedChannelRecords(record)) * ChannelRecordSize);
    decodeChannels(bytes, record, channels);
}

std::function<void()>& betweenRenames()
{
    static std::function<void()> hook;
    return hook;
}

} // namespace

QString lockFileName(const QString& dataPath)
{
    return dataPath + QStringLiteral(".lock");
}

QString savingMarkName(const QString& dataPath)
{
    return dataPath + QStringLiteral(".saving");
}

bool saveInterrupted(const QString& path)
{
    return QFileInfo::exists(savingMarkName(filewrite::resolved(path)));
}

QString saveInterruptedText(const QString& path, const Messenger& messenger)
{
    return messenger.text(TextId::SaveInterrupted).arg(printable(fileTitle(path)));
}

QStringList savedFiles(const QString& path)
{
    const QString data = filewrite::resolved(path);
    const QString channels = channelFileName(data);
    if (channels.isEmpty()) return {data};
    return {data, filewrite::resolved(channels)};
}

void setBetweenRenamesHook(std::function<void()> hook)
{
    betweenRenames() = std::move(hook);
}

int usedChannelRecords(const RadioDataRecord& record)
{
    int n = 0;
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b)
            n += record.usedSlots(m, b);
    }
    return n;
}

QByteArray readHead(const QString& path, qint64 maxBytes, bool* ok)
{
    QFile file(path);
    QByteArray bytes;
    // Only regular files: a device or a pipe is no data file (and a pipe would block).
    bool good = QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
    if (good && maxBytes > 0) {
        bytes = file.read(maxBytes);
        good = file.error() == QFileDevice::NoError;
    }
    if (ok) *ok = good;
    return good ? bytes : QByteArray();
}

QByteArray encodeRecord(const RadioDataRecord& rec)
{
    QByteArray out;
    out.reserve(DataFileSize);
    Writer w(out);
    w.text(rec.tag);
    w.word(rec.rangeMode);
    for (qint16 v : rec.currentBand)
        w.word(v);
    for (qint16 v : rec.currentChannel)
        w.word(v);
    for (qint16 v : rec.channelCount)
        w.word(v);
    for (const TVChannelRecord& tv : rec.tvChannels) {
        w.word(tv.inUse);
        w.real(tv.frequency);
        w.word(tv.tbst);
        w.word(tv.bandwidth);
    }
    const ModelBlock& mb = rec.model;
    w.text(mb.modelId);
    w.word(mb.modelNumber);
    w.word(mb.savedRange);
    w.text(mb.creationDate);
    w.text(mb.dataVersion);
    w.text(mb.modelCode);
    w.word(mb.defaultRange);
    w.word(mb.modelLetter);
    for (qint16 v : rec.optFeat.words)
        w.word(v);
    for (const ToneTipRecord& tip : rec.toneTips) {
        for (qint16 v : tip.words)
            w.word(v);
    }
    Q_ASSERT(out.size() == DataFileSize);
    return out;
}

RadioDataRecord decodeRecord(const QByteArray& bytes)
{
    RadioDataRecord rec;
    if (bytes.size() < DataFileSize) return rec;
    Reader r(bytes.constData());
    r.text(rec.tag);
    rec.rangeMode = r.word();
    for (qint16& v : rec.currentBand)
        v = r.word();
    for (qint16& v : rec.currentChannel)
        v = r.word();
    for (qint16& v : rec.channelCount)
        v = r.word();
    for (TVChannelRecord& tv : rec.tvChannels) {
        tv.inUse = r.word();
        tv.frequency = r.real();
        tv.tbst = r.word();
        tv.bandwidth = r.word();
    }
    ModelBlock& mb = rec.model;
    r.text(mb.modelId);
    mb.modelNumber = r.word();
    mb.savedRange = r.word();
    r.text(mb.creationDate);
    r.text(mb.dataVersion);
    r.text(mb.modelCode);
    mb.defaultRange = r.word();
    mb.modelLetter = r.word();
    for (qint16& v : rec.optFeat.words)
        v = r.word();
    for (ToneTipRecord& tip : rec.toneTips) {
        for (qint16& v : tip.words)
            v = r.word();
    }
    return rec;
}

QByteArray encodeChannels(const RadioDataRecord& record, const ChannelArray& channels)
{
    QByteArray out;
    Writer w(out);
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int n = record.usedSlots(m, b);
            for (int i = 1; i <= n; ++i)
                writeChannel(w, channels.at(m, i, b));
        }
    }
    return out;
}

int decodeChannels(const QByteArray& bytes, RadioDataRecord& record, ChannelArray& channels)
{
    const int available = int(bytes.size() / ChannelRecordSize);
    int read = 0;
    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int wanted = record.usedSlots(m, b);
            int got = 0;
            while (got < wanted && read < available) {
                Reader r(bytes.constData() + qsizetype(read) * ChannelRecordSize);
                channels.at(m, got + 1, b) = readChannel(r);
                ++got;
                ++read;
            }
            // A short file: the band keeps exactly the channels that were there.
            record.count(m, b) = qint16(got);
        }
    }
    return read;
}

QString channelFileName(const QString& dataFileName)
{
    if (dataFileName.size() < 3) return QString();
    return dataFileName.left(dataFileName.size() - 3) + QLatin1String("fre");
}

QString fileTitle(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

LoadStatus loadDataFile(RadioImage& image, const QString& path, const VersionTable& versions,
                        Messenger& messenger, const Handover* handover, Unfinished unfinished)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        messenger.ask(TextId::FileError);
        return LoadStatus::FileError;
    }

    // The tag first: it decides whether the rest is worth reading.
    FixedString<4> tagField;
    tagField.set(QByteArrayView(file.read(4)));
    const QString tag = tagField.text();
    if (!tagWellFormed(tag)) {
        messenger.ask(TextId::UnknownDataFileVersion);
        return LoadStatus::UnknownVersion;
    }

    const QString self = QLatin1String(VersionTable::ThisVersion);
    if (!versions.isCompatible(self, tag)) {
        file.close();
        const QString question = VersionTable::incompatibleMessage(self, tag, 1, messenger.language());
        if (messenger.ask(question, Buttons::YesNo, Icon::None) == Answer::Yes && handover)
            startSoftwareFor(tag, versions, *handover, messenger);
        return LoadStatus::Incompatible;
    }

    if (file.size() != DataFileSize) {
        messenger.ask(TextId::FailToStartSoftware);
        return LoadStatus::WrongLength;
    }

    if (!file.seek(0)) {
        messenger.ask(TextId::FileError);
        return LoadStatus::FileError;
    }
    const QByteArray bytes = file.read(DataFileSize);
    file.close();
    if (bytes.size() != DataFileSize) {
        messenger.ask(TextId::FileError);
        return LoadStatus::FileError;
    }
    RadioDataRecord record = decodeRecord(bytes);
    if (!countsValid(record)) {
        // Counts outside 0..40 cannot describe a channel file of this radio.
        messenger.ask(TextId::FileError);
        return LoadStatus::FileError;
    }
    record.tag.set(QByteArrayView("V100"));

    if (saveInterrupted(path)) {
        const QString said = saveInterruptedText(path, messenger);
        if (unfinished == Unfinished::Ask) {
            const QString question = said + QStringLiteral("\r\n") + messenger.text(TextId::OpenAnyway);
            if (messenger.ask(question, Buttons::YesNo, Icon::Exclamation) != Answer::Yes)
                return LoadStatus::Interrupted;
        } else {
            messenger.ask(said, Buttons::Ok, Icon::Exclamation);
            if (unfinished == Unfinished::Refuse) return LoadStatus::Interrupted;
        }
    }

    ChannelArray channels;
    readChannelFile(path, record, channels);

    // Everything is read: only now does the image change.
    image.staging = record;
    image.stagingChannels = channels;
    image.currentFileName = path;
    image.isNewDocument = false;
    image.copyStagingToWork();
    return LoadStatus::Ok;
}

bool saveDataFile(RadioImage& image, const QString& path, Messenger& messenger, QString* reason,
                  int lockWaitMs)
{
    const RadioDataRecord oldWork = image.work;
    const RadioDataRecord oldStaging = image.staging;
    const ChannelArray oldStagingChannels = image.stagingChannels;

    image.copyWorkToStaging();
    const QByteArray record = encodeRecord(image.staging);
    const QByteArray channels = encodeChannels(image.staging, image.stagingChannels);

    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        image.work.tag = oldWork.tag;
        image.work.model = oldWork.model;
        image.staging = oldStaging;
        image.stagingChannels = oldStagingChannels;
        messenger.ask(TextId::FileError);
        return false;
    };

    // Through a link the pair is the link target's: its channel file lies beside it.
    const QStringList files = savedFiles(path);
    const QString dataPath = files.first();
    const QString channelPath = files.value(1);
    // A name ending in "fre" is its own channel file: the channels would replace the record.
    if (channelPath.compare(dataPath, Qt::CaseInsensitive) == 0)
        return fail(QStringLiteral("the name of its own channel file"));
    // A channel file that links to a data file would overwrite that one with channel records.
    if (channelPath.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
        return fail(channelFileName(dataPath) + QStringLiteral(": a link to the data file ") + channelPath);
    // Saving replaces a file by renaming a new one over it: never over a device, a FIFO or a folder.
    for (const QString& target : files)
        if (const QString why = filewrite::refusal(target); !why.isEmpty())
            return fail(target + QStringLiteral(": ") + why);

    // One program at a time saves this pair; a lock left by a program that died is taken over.
    QLockFile lock(lockFileName(dataPath));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(lockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return fail(QStringLiteral("another program is saving it (%1)").arg(lockFileName(dataPath)));
        if (!QFileInfo(dataPath).absoluteDir().exists()) return fail(filewrite::systemReason(ENOENT));
        // Other than rights, a lock file fails to be made when its few bytes find no room.
        return fail(lockFileName(dataPath) + QStringLiteral(": ") +
                    filewrite::systemReason(lock.error() == QLockFile::PermissionError ? EACCES : ENOSPC));
    }
    for (const QString& target : files)
        filewrite::removeLeftovers(target);

    QString why;
    QSaveFile dataFile(dataPath);
    dataFile.setDirectWriteFallback(false);
    if (!dataFile.open(QIODevice::WriteOnly)) return fail(dataFile.errorString());
    if (!writeComplete(dataFile, record, &why)) return fail(why);
    if (channelPath.isEmpty()) {
        if (!commitFile(dataFile, &why)) return fail(why);
    } else {
        // What the channel file held before, to put back should the data file fail at the last step.
        // Only the records a data file can use: a channel file that never ends costs no more.
        bool hadChannels = false;
        const QByteArray oldChannels =
            QFile::exists(channelPath)
                ? readHead(channelPath, qint64(MaxChannelRecords) * ChannelRecordSize, &hadChannels)
                : QByteArray();
        QSaveFile channelFile(channelPath);
        channelFile.setDirectWriteFallback(false);
        if (!channelFile.open(QIODevice::WriteOnly))
            return fail(channelPath + QStringLiteral(": ") + channelFile.errorString());
        if (!writeComplete(channelFile, channels, &why))
            return fail(channelPath + QStringLiteral(": ") + why); // dataFile is discarded

        // From the first rename to the second the pair does not belong together: the mark says so
        // to whoever reads it should this program be stopped in between.
        const QString mark = savingMarkName(dataPath);
        const QByteArray markText = "MX_806TR is replacing " + QFile::encodeName(fileTitle(dataPath)) +
                                    " and " + QFile::encodeName(fileTitle(channelPath)) +
                                    ". When this file stays behind, the save was interrupted between the two "
                                    "and they may not belong together.\n";
        if (!filewrite::writeFile(mark, markText, &why)) return fail(mark + QStringLiteral(": ") + why);
        if (!commitFile(channelFile, &why)) {
            QFile::remove(mark);
            return fail(channelPath + QStringLiteral(": ") + why);
        }
        if (betweenRenames()) betweenRenames()();
        if (!commitFile(dataFile, &why)) {
            // The old channel file back: then the old pair is whole again and the mark can go.
            const bool restored =
                hadChannels ? filewrite::writeFile(channelPath, oldChannels) : QFile::remove(channelPath);
            if (restored) QFile::remove(mark);
            return fail(why);
        }
        QFile::remove(mark);
    }

    image.currentFileName = path;
    image.isNewDocument = false;
    Q_EMIT image.captionChanged();
    return true;
}

bool isModified(const RadioImage& image)
{
    const RadioDataRecord& w = image.work;
    const RadioDataRecord& s = image.staging;

    // The range family reaches the radio: a change of it alone is a change.
    if (w.rangeMode != s.rangeMode || w.channelCount != s.channelCount) return true;

    for (int m = 0; m < FamilyCount; ++m) {
        for (int b = 1; b <= BandCount; ++b) {
            const int n = s.usedSlots(m, b);
            for (int i = 1; i <= n; ++i) {
                const ChannelRecord& sc = image.stagingChannels.at(m, i, b);
                int slot = i;
                if (image.workChannels.at(m, i, b).chNo != sc.chNo) {
                    slot = image.findSlot(sc.chNo, m, b);
                    if (slot == 0) return true;
                }
                const ChannelRecord& wc = image.workChannels.at(m, slot, b);
                if (wc.chNo != sc.chNo || wc.inUse != sc.inUse || wc.rxFreq != sc.rxFreq ||
                    wc.publicFlag != sc.publicFlag || wc.busy != sc.busy || wc.hiCut != sc.hiCut ||
                    wc.repeaterShift != sc.repeaterShift || wc.toneCode != sc.toneCode ||
                    wc.rogerBeep != sc.rogerBeep)
                    return true;
            }
        }
    }

    if (w.model != s.model) return true;
    if (w.optFeat != s.optFeat) return true;

    for (int k = 0; k < TVChannelCount; ++k) {
        const TVChannelRecord& a = w.tvChannels[k];
        const TVChannelRecord& c = s.tvChannels[k];
        if (a.inUse == 0 && c.inUse == 0) continue;
        if (a.inUse == 1 && c.inUse == 1) {
            if (a.frequency != c.frequency || a.tbst != c.tbst || a.bandwidth != c.bandwidth) return true;
            continue;
        }
        return true;
    }

    for (int k = 0; k < ToneTipCount; ++k) {
        if (w.toneTips[k] != s.toneTips[k]) return true;
    }
    return false;
}

} // namespace mx::datafile
