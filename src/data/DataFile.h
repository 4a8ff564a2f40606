#pragma once

#include "data/RadioData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace mx {

class Messenger;
class VersionTable;
struct Handover;

namespace datafile {

constexpr int DataFileSize = 1226;
constexpr int ChannelRecordSize = 42;
// The most records a channel file can hold that a reader uses: 40 in each of the 24 bands.
constexpr int MaxChannelRecords = FamilyCount * BandCount * SlotCount;

// The number of records of the channel file that record's counts use (counts outside 0..40 taken as 0..40).
int usedChannelRecords(const RadioDataRecord& record);

// Up to maxBytes from the start of path: a file that never ends (a device) or
// a huge one costs no more than that. ok (when given) is false when the file
// cannot be opened or read.
QByteArray readHead(const QString& path, qint64 maxBytes, bool* ok = nullptr);

// The record as the 1226 bytes of a data file, little-endian.
QByteArray encodeRecord(const RadioDataRecord& record);
// The first 1226 bytes of bytes (which must hold at least that many) as a record.
RadioDataRecord decodeRecord(const QByteArray& bytes);

// The used channels of record's counts as 42-byte records, in file order.
QByteArray encodeChannels(const RadioDataRecord& record, const ChannelArray& channels);
// Reads records into channels following record's counts. When bytes holds
// fewer records than the counts say, the counts are reduced to what was read.
// Returns the number of records read.
int decodeChannels(const QByteArray& bytes, RadioDataRecord& record, ChannelArray& channels);

// Name of the channel file of a data file: the last three characters replaced
// by "fre"; "" for a name shorter than three characters.
QString channelFileName(const QString& dataFileName);
// The part of a path after its last separator.
QString fileTitle(const QString& path);

// Beside the data file of a pair while a program saves it: "<name>.lock",
// which keeps a second program from saving the same pair at the same time,
// and "<name>.saving", there from just before the first of the two files is
// replaced until the second one is. Left behind, the mark says that the save
// was interrupted between the two: the data file may be the old one and the
// channel file the new one.
QString lockFileName(const QString& dataPath);
QString savingMarkName(const QString& dataPath);
// True when the last save of the pair at path (through its links) was interrupted.
bool saveInterrupted(const QString& path);
// "The last save of "radio.dat" was interrupted: ..." in the messenger's language.
QString saveInterruptedText(const QString& path, const Messenger& messenger);

// The files a save to path replaces: the data file (a link's target) and the
// channel file beside it (through its own link); one file for a name too
// short to have a channel file.
QStringList savedFiles(const QString& path);

enum class LoadStatus { Ok, UnknownVersion, Incompatible, WrongLength, FileError, Interrupted };

// What a load does with a pair whose last save was interrupted: asks
// whether to open it anyway (Yes/No), opens it after saying so, or refuses it
// after saying so (LoadStatus::Interrupted).
enum class Unfinished { Ask, Warn, Refuse };

// Loads path into the image: checks tag, compatibility and length in that
// order, with their messages, then an interrupted save; on success the
// image's file name becomes path and it counts as unchanged. A refused file
// leaves the image as it was. An incompatible file asks to start the matching
// version (handover may be null: then only "No").
LoadStatus loadDataFile(RadioImage& image, const QString& path, const VersionTable& versions,
                        Messenger& messenger, const Handover* handover = nullptr,
                        Unfinished unfinished = Unfinished::Ask);

// How long a save waits for another program's save of the same pair.
constexpr int SaveLockWaitMs = 10000;

// Saves the image to path: the data file and the channel file are each
// replaced only once complete, the channel file first, while no other program
// saves the same pair; what an interrupted save left beside them is removed
// first. On failure shows "file error.", leaves the old files and the staging
// copy as they were (the image still counts as modified) and returns false;
// reason, when given, then receives why.
bool saveDataFile(RadioImage& image, const QString& path, Messenger& messenger, QString* reason = nullptr,
                  int lockWaitMs = SaveLockWaitMs);

// Tests: runs inside every save between replacing the channel file and the data file.
void setBetweenRenamesHook(std::function<void()> hook);

// True when the working copy differs from the staging copy in anything a user edits.
bool isModified(const RadioImage& image);

} // namespace datafile
} // namespace mx
