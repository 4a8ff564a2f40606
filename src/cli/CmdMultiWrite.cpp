// mx806 multi-write --port DEV --count N FILE.dat: one data file into N radios in turn.

#include "cli/Transfer.h"

namespace mx::cli {

namespace {

int runMultiWrite(Context& ctx)
{
    int count = 0;
    if (!ctx.intValue(QStringLiteral("count"), 0, 1, count))
        return ctx.usageError(QStringLiteral("multi-write needs --count N (1 or more)"));
    int timeout = 0;
    if (!ctx.intValue(QStringLiteral("timeout"), 0, 1, timeout))
        return ctx.usageError(QStringLiteral("--timeout needs a number of seconds (1 or more)"));
    QString device;
    if (const int status = prepareTransfer(ctx, device); status != ExitOk) return status;
    const QString path = ctx.args.first();
    if (!loadDataFile(ctx, path, datafile::Unfinished::Refuse) || !checkChannelFile(ctx, path, true))
        return ExitRefused;
    warnFrequencies(ctx);
    warnRenumbering(ctx);
    backUp(ctx, QStringLiteral("write"));
    return runTransfer(ctx, TransferKind::MultiWrite, device, count);
}

} // namespace

Command multiWriteCommand()
{
    Command c;
    c.name = QStringLiteral("multi-write");
    c.arguments = QStringLiteral("FILE.dat");
    c.summary = QStringLiteral("write a data file into N radios in turn");
    c.minArgs = 1;
    c.maxArgs = 1;
    c.options = portOptions() + backupOptions();
    c.options.insert(1, {QStringLiteral("count"),
                         QStringLiteral("N"),
                         QStringLiteral("how many radios (1 or more)"),
                         {},
                         true});
    c.options.append({QStringLiteral("timeout"), QStringLiteral("S"),
                      QStringLiteral("give up when no next radio has answered within S seconds\n"
                                     "(default: wait without end)")});
    c.options.append({QStringLiteral("verify"), QString(),
                      QStringLiteral("read each radio back and compare before waiting for the next\n"
                                     "(stops with exit 6 at the first radio that differs)")});
    c.run = runMultiWrite;
    return c;
}

} // namespace mx::cli
