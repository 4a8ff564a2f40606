// mx806 read --port DEV -o FILE.dat: the radio's memory into a data file.

#include "cli/Transfer.h"

#include "data/DataFile.h"

namespace mx::cli {

namespace {

int runRead(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    if (!isDataFileName(output))
        return ctx.usageError(QStringLiteral("the output must be a .dat file: %1").arg(output));
    QString device;
    if (const int status = prepareTransfer(ctx, device); status != ExitOk) return status;
    // Files that could not be written are refused before the radio is touched.
    if (!checkDataOutput(ctx, output)) return ExitRefused;
    if (const int status = runTransfer(ctx, TransferKind::Read, device); status != ExitOk) return status;
    backUp(ctx, QStringLiteral("read"));
    // The files appear only now, complete, after the whole memory was read.
    return saveDataOutput(ctx, ctx.app.image, output);
}

} // namespace

Command readCommand()
{
    Command c;
    c.name = QStringLiteral("read");
    c.summary = QStringLiteral("read the radio into a data file (and its channel file)");
    c.options = portOptions() + backupOptions();
    c.options.insert(1, outputOption(QStringLiteral("FILE.dat"), QStringLiteral("the data file to write")));
    c.run = runRead;
    return c;
}

} // namespace mx::cli
