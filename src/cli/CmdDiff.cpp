// mx806 diff A.dat B.dat: what would change in the radio, field by field.

#include "cli/Transfer.h"

#include "data/ImageText.h"

namespace mx::cli {

namespace {

int runDiff(Context& ctx)
{
    ctx.loadVersions();
    const QString first = ctx.args.at(0);
    const QString second = ctx.args.at(1);
    if (!loadDataFile(ctx, second)) return ExitRefused;
    checkChannelFile(ctx, second, false);
    RadioImage after;
    after.work = ctx.app.image.work;
    after.workChannels = ctx.app.image.workChannels;
    after.modelCode = ctx.app.image.modelCode;
    if (!loadDataFile(ctx, first)) return ExitRefused;
    checkChannelFile(ctx, first, false);
    ctx.err.flush();
    const QStringList lines = imagetext::diff(ctx.app.image, after);
    for (const QString& line : lines)
        ctx.out << line << '\n';
    ctx.out.flush();
    return lines.isEmpty() ? ExitOk : ExitDifferent;
}

} // namespace

Command diffCommand()
{
    Command c;
    c.name = QStringLiteral("diff");
    c.arguments = QStringLiteral("A.dat B.dat");
    c.summary = QStringLiteral("what would change in the radio going from A to B, field by field");
    c.minArgs = 2;
    c.maxArgs = 2;
    c.run = runDiff;
    return c;
}

} // namespace mx::cli
