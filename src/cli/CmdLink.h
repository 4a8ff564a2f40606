#pragma once

#include <QStringList>

namespace mx::cli {

// The radio subcommands of mx806. Each takes the arguments that follow its
// name and returns the exit status:
//   0 success; 1 usage; 2 file error or refused file or image;
//   3 no answer, port cannot be opened, or transfer cancelled;
//   4 wrong model; 5 incompatible firmware.
// A QCoreApplication must exist (the transfer runs in its event loop).
int cmdRead(const QStringList& args);       // read --port DEV -o FILE.dat [--retries N]
int cmdWrite(const QStringList& args);      // write --port DEV FILE.dat [--retries N]
int cmdMultiWrite(const QStringList& args); // multi-write --port DEV --count N FILE.dat [--retries N]
int cmdInfo(const QStringList& args);       // info --port DEV [--retries N]
int cmdEncode(const QStringList& args);     // encode FILE.dat -o MEMORY.bin
int cmdDecode(const QStringList& args);     // decode MEMORY.bin -o FILE.dat

// Usage lines of these subcommands, for the command line's help text.
QString linkUsage();

} // namespace mx::cli
