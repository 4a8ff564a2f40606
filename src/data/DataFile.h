#pragma once

#include "data/RadioData.h"

#include <QByteArray>
#include <QString>

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

enum class LoadStatus { Ok, UnknownVersion, Incompatible, WrongLength, FileError };

// Loads path into the image: checks tag, compatibility and length in that
// order, with their messages; on success the image's file name becomes path
// and it counts as unchanged. A refused file leaves the image as it was.
// An incompatible file asks to start the matching version (handover may be null: then only "No").
LoadStatus loadDataFile(RadioImage& image, const QString& path, const VersionTable& versions,
                        Messenger& messenger, const Handover* handover = nullptr);

// Saves the image to path (data file and channel file, both complete or
// neither). On failure shows "file error.", leaves the old files and the
// staging copy as they were (the image still counts as modified) and returns false;
// reason, when given, then receives the system's reason.
bool saveDataFile(RadioImage& image, const QString& path, Messenger& messenger, QString* reason = nullptr);

// True when the working copy differs from the staging copy in anything a user edits.
bool isModified(const RadioImage& image);

} // namespace datafile
} // namespace mx
