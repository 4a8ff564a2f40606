#pragma once

#include "cli/Cli.h"

namespace mx::cli {

// Channel lists in the common radio-programmer layout for export and import.

// --family F --band B of `export --layout common`: the data file's range
// family when F is not given, every band (b = 0) when B is not. False after a
// usage error (status in *status).
bool exportBands(Context& ctx, int& m, int& b, int* status);
// --into FAMILY:BAND of `import`: false when it names no band of a family.
bool intoBand(const QString& into, int& m, int& b);
// Imports a list in the common layout into band b of family m of the loaded
// data file and saves it as output; says once how many names and modes the
// radio could not keep.
int importCommon(Context& ctx, const QByteArray& csv, const QString& csvPath, int m, int b,
                 const QString& output);

} // namespace mx::cli
