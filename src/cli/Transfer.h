#pragma once

#include "cli/Cli.h"

namespace mx {
struct RadioIdentity;
}

namespace mx::cli {

// What the subcommands that talk to the radio or handle data and memory files share.

enum class TransferKind { Read, Write, MultiWrite, Info };

// --port DEV (required) and --retries N: every command talking to the radio.
QList<Option> portOptions();
// -o/--output FILE (required).
Option outputOption(const QString& valueName, const QString& help);

// A data file name: something before ".dat" (any case).
bool isDataFileName(const QString& path);

// Checks --port and --retries, then starts up. Returns ExitOk with the device
// to open, or ExitUsage after the message and help.
int prepareTransfer(Context& ctx, QString& device);

// Runs one session with the radio on device to its end, showing the progress
// on the error stream; radios: how many radios a multi-write writes. Returns
// the exit status; identity receives the radio's identification of a
// completed info.
int runTransfer(Context& ctx, TransferKind kind, const QString& device, int radios = 1,
                RadioIdentity* identity = nullptr);

// Loads a data file into the image; false (the reason shown) when it is missing or refused.
bool loadDataFile(Context& ctx, const QString& path);

} // namespace mx::cli
