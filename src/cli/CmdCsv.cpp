// mx806 export FILE.dat -o CHANNELS.csv and mx806 import FILE.dat CHANNELS.csv -o OUT.dat:
// the channels of a data file as a list for spreadsheets, and back.

#include "cli/Transfer.h"

#include "cli/Problems.h"
#include "data/ChannelCsv.h"
#include "data/DataFile.h"

#include <QFile>

namespace mx::cli {

namespace {

int runExport(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    const QString input = ctx.args.first();
    if (sameFile(output, input) || sameFile(output, datafile::channelFileName(input)))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    ctx.loadVersions();
    if (!checkOutput(ctx, output)) return ExitRefused;
    if (!loadDataFile(ctx, input)) return ExitRefused;
    checkChannelFile(ctx, input, false);
    const QByteArray csv = channelcsv::exportChannels(ctx.app.image);
    return writeOutput(ctx, output, csv);
}

int runImport(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    const QString input = ctx.args.at(0);
    const QString csvPath = ctx.args.at(1);
    if (!isDataFileName(output))
        return ctx.usageError(QStringLiteral("the output must be a .dat file: %1").arg(output));
    if (sameFile(output, csvPath) || sameFile(datafile::channelFileName(output), csvPath))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    ctx.loadVersions();
    if (!checkDataOutput(ctx, output)) return ExitRefused;
    if (!loadDataFile(ctx, input)) return ExitRefused;
    checkChannelFile(ctx, input, false);

    QFile file(csvPath);
    if (const QString problem = readProblem(csvPath); !problem.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        ctx.app.messenger.ask(TextId::FileError);
        ctx.sayAbout(csvPath, problem.isEmpty() ? file.errorString() : problem);
        return ExitRefused;
    }
    const channelcsv::ImportResult result =
        channelcsv::importChannels(ctx.app.image, file.readAll(), ctx.app.messenger.language());
    if (!result.ok) {
        ctx.sayAbout(csvPath, result.message);
        return ExitRefused;
    }
    return saveDataOutput(ctx, ctx.app.image, output);
}

} // namespace

Command exportCommand()
{
    Command c;
    c.name = QStringLiteral("export");
    c.arguments = QStringLiteral("FILE.dat");
    c.summary = QStringLiteral("the channels of a data file as a comma-separated list (CSV)");
    c.minArgs = 1;
    c.maxArgs = 1;
    c.options = {outputOption(QStringLiteral("CHANNELS.csv"), QStringLiteral("the channel list to write"))};
    c.run = runExport;
    return c;
}

Command importCommand()
{
    Command c;
    c.name = QStringLiteral("import");
    c.arguments = QStringLiteral("FILE.dat CHANNELS.csv");
    c.summary = QStringLiteral("a data file with the channels of a CSV list, the rest from FILE.dat");
    c.minArgs = 2;
    c.maxArgs = 2;
    c.options = {outputOption(QStringLiteral("OUT.dat"), QStringLiteral("the data file to write"))};
    c.run = runImport;
    return c;
}

} // namespace mx::cli
