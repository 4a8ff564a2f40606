#pragma once

#include "cli/Cli.h"
#include "data/DataFile.h"

namespace mx {
struct RadioIdentity;
class RadioImage;
} // namespace mx

namespace mx::cli {

// What the subcommands that talk to the radio or handle data and memory files share.

enum class TransferKind { Read, Write, MultiWrite, Info, Verify };

// --port DEV, --retries N, -q/--quiet and -v/--verbose: every command talking to the radio.
QList<Option> portOptions();
// -o/--output FILE (required).
Option outputOption(const QString& valueName, const QString& help);

// A data file name: something before ".dat" (any case).
bool isDataFileName(const QString& path);

// The device behind a port as the user names it: a port number N or "COM<N>"
// is the port `mx806 port` lists as COM<N>; anything else is a device path.
// device is empty, and problem says why, when there is no such port.
struct PortChoice
{
    QString device;
    QString problem;
    bool numbered = false; // named by a number or a COM name
    int number = 0;
};
PortChoice resolvePort(const QString& argument);

// Checks --port and --retries, then starts up. Returns ExitOk with the device
// to open; ExitUsage after a wrong option; ExitNoAnswer when no port can be
// opened ("Cannot Open Communication Port." and why).
int prepareTransfer(Context& ctx, QString& device);

// Runs one session with the radio on device to its end, showing the progress
// on the error stream; radios: how many radios a multi-write writes. Returns
// the exit status after saying what went wrong; identity receives the radio's
// identification of a completed info. SIGINT and SIGTERM cancel the session.
int runTransfer(Context& ctx, TransferKind kind, const QString& device, int radios = 1,
                RadioIdentity* identity = nullptr, QByteArray* radioMemory = nullptr);

// --backup-dir DIR and --no-backup: read, write and multi-write.
QList<Option> backupOptions();
// Saves the image as a dated backup (kind "read" or "write") unless --no-backup;
// a failure is a warning on stderr, never the end of the command.
void backUp(Context& ctx, const QString& kind);
// After a write with --verify: reads the radio back and compares it with what
// the image encodes. ExitOk, ExitVerifyFailed with the address and field, or
// the exit status of the read.
int verifyWrite(Context& ctx, const QString& device);

// Loads a data file into the image; false when it is refused, after the
// program's message and a line naming the file and the reason. A pair whose
// last save was interrupted is used after a warning, or refused.
bool loadDataFile(Context& ctx, const QString& path,
                  datafile::Unfinished unfinished = datafile::Unfinished::Warn);

// "no port chosen (comPort is abc in FILE; ports are numbered 1 to 255)".
QString noPortChosen(Context& ctx);

// After loadDataFile: the channels the data file counts but its channel file
// did not hold. With refuse (write, multi-write) such a file is refused (false);
// otherwise only a warning.
bool checkChannelFile(Context& ctx, const QString& path, bool refuse);
// Warns about every channel whose frequency the radio would take but that lies
// outside its range family or off the raster.
void warnFrequencies(Context& ctx);
// Warns when a band is numbered with gaps: the radio gives its channels new
// numbers (the k-th channel comes back as channel k); which ones, band by band.
void warnRenumbering(Context& ctx);

// An output file that cannot be written is refused before any work: false after
// saying why.
bool checkOutput(Context& ctx, const QString& path);
// checkOutput for the data file and the channel file a save to path replaces.
bool checkDataOutput(Context& ctx, const QString& path);
// Saves the image as a data file pair: ExitOk, or ExitRefused after saying why.
int saveDataOutput(Context& ctx, RadioImage& image, const QString& path);
// Writes bytes as the whole file at path (replaced only once complete):
// ExitOk, or ExitRefused after the program's message and the reason.
int writeOutput(Context& ctx, const QString& path, const QByteArray& bytes);

} // namespace mx::cli
