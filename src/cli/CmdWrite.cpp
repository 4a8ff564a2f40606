// mx806 write --port DEV FILE.dat: a data file into the radio.

#include "cli/Transfer.h"

namespace mx::cli {

namespace {

int runWrite(Context& ctx)
{
    QString device;
    if (const int status = prepareTransfer(ctx, device); status != ExitOk) return status;
    const QString path = ctx.args.first();
    if (!loadDataFile(ctx, path, datafile::Unfinished::Refuse) || !checkChannelFile(ctx, path, true))
        return ExitRefused;
    warnFrequencies(ctx);
    warnRenumbering(ctx);
    backUp(ctx, QStringLiteral("write"));
    if (const int status = runTransfer(ctx, TransferKind::Write, device); status != ExitOk) return status;
    return ctx.isSet(QStringLiteral("verify")) ? verifyWrite(ctx, device) : ExitOk;
}

} // namespace

Command writeCommand()
{
    Command c;
    c.name = QStringLiteral("write");
    c.arguments = QStringLiteral("FILE.dat");
    c.summary = QStringLiteral("write a data file into the radio");
    c.minArgs = 1;
    c.maxArgs = 1;
    c.options = portOptions() + backupOptions();
    c.options.append(
        {QStringLiteral("verify"), QString(),
         QStringLiteral("read the radio back after the write and compare (exit 6 on a difference)")});
    c.run = runWrite;
    return c;
}

} // namespace mx::cli
