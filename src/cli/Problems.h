#pragma once

#include "data/DataFile.h"

#include <QList>
#include <QString>

namespace mx {
class RadioImage;
class VersionTable;
} // namespace mx

namespace mx::cli {

// What the command line adds under the program's own messages: which file,
// port or radio, and why.

// Why path cannot be opened for reading ("No such file or directory", "Is a
// directory", "Permission denied", a device or FIFO); empty when it can.
QString readProblem(const QString& path);
// Why path cannot be created or replaced (its folder missing or not writable,
// the path a folder, a device or a FIFO, the file write-protected); empty when it can.
QString writeProblem(const QString& path);
// Two names of the same file, through links (the one may not exist yet).
bool sameFile(const QString& a, const QString& b);
// Whether a file to be written is one of the files read.
bool overwritesInput(const QStringList& written, const QStringList& read);

// Why a data file was refused, as one line after the program's own message
// ("12 bytes; a data file holds exactly 1226", "channel count of range 0
// ("10M"), band 2 is 41 (0 to 40) at byte 64"); empty when nothing more is known.
QString refusalDetail(const QString& path, datafile::LoadStatus status);

// Why the version table cannot be what decides: "Version.ini not found in DIR"
// or the reason it cannot be read; empty when it was read.
QString versionTableProblem(const QString& installRoot);
// What to do with a data or firmware version this software does not handle:
// the installed version that does, or that none is installed.
QString handoverHint(const VersionTable& versions, const QString& installRoot, const QString& version);

// Channels a loaded data file counts that its channel file did not hold.
struct ChannelShortfall
{
    int counted = 0;     // channels the data file's counts name
    int read = 0;        // channels the image got
    QString channelFile; // its name
    QString reason;      // missing, unreadable or short
    int missing() const { return counted - read; }
};
// Compares the counts stored in the data file at path with the image loaded from it.
ChannelShortfall channelShortfall(const QString& path, const RadioImage& image);

// A channel whose receive frequency lies outside its range family's limits or
// off the 5 kHz raster: the reason ("outside 28.0000 - 29.7000 MHz", "off the
// 5 kHz raster"), empty when it is a sound frequency or none at all.
QString frequencyProblem(const ChannelRecord& channel, int family);
// One line per such channel of the range family the working copy is set to;
// for each other family one line that counts them (the shipped templates give
// every band a default channel, which other families' limits need not hold).
QStringList frequencyWarnings(const RadioImage& image);

} // namespace mx::cli
