// mx806 export FILE.dat -o CHANNELS.csv and mx806 import FILE.dat CHANNELS.csv -o OUT.dat:
// the channels of a data file as a list for spreadsheets, and back, in the
// program's own layout or the common radio-programmer one.

#include "cli/Transfer.h"

#include "cli/CommonLayout.h"
#include "cli/Problems.h"
#include "data/ChannelCsv.h"
#include "data/CommonCsv.h"
#include "data/DataFile.h"

namespace mx::cli {

namespace {

int runExport(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    const QString input = ctx.args.first();
    if (overwritesInput({output}, datafile::savedFiles(input)))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    const QString layout = ctx.value(QStringLiteral("layout"), QStringLiteral("own"));
    const bool common = layout == QLatin1String("common");
    if (!common && layout != QLatin1String("own"))
        return ctx.usageError(QStringLiteral("--layout must be own or common"));
    if (!common && (ctx.isSet(QStringLiteral("family")) || ctx.isSet(QStringLiteral("band"))))
        return ctx.usageError(QStringLiteral("--family and --band go with --layout common"));
    ctx.loadVersions();
    if (!checkOutput(ctx, output)) return ExitRefused;
    if (!loadDataFile(ctx, input)) return ExitRefused;
    checkChannelFile(ctx, input, false);
    int m = 0, b = 0, status = ExitOk;
    if (common && !exportBands(ctx, m, b, &status)) return status;
    const QByteArray csv =
        common ? commoncsv::exportChannels(ctx.app.image, m, b) : channelcsv::exportChannels(ctx.app.image);
    return writeOutput(ctx, output, csv);
}

int runImport(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    const QString input = ctx.args.at(0);
    const QString csvPath = ctx.args.at(1);
    if (!isDataFileName(output))
        return ctx.usageError(QStringLiteral("the output must be a .dat file: %1").arg(output));
    // Into the data file read (in place) is fine; over any other input not.
    const QStringList read =
        sameFile(output, input) ? QStringList{csvPath} : QStringList{csvPath} + datafile::savedFiles(input);
    if (overwritesInput(datafile::savedFiles(output), read))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    int m = 0, b = 0;
    const bool into = ctx.isSet(QStringLiteral("into"));
    if (into && !intoBand(ctx.value(QStringLiteral("into")), m, b))
        return ctx.usageError(QStringLiteral("--into takes FAMILY:BAND, such as 10M:A or EU:UK"));
    ctx.loadVersions();
    if (!checkDataOutput(ctx, output)) return ExitRefused;
    if (!loadDataFile(ctx, input)) return ExitRefused;
    checkChannelFile(ctx, input, false);

    QByteArray csv;
    if (const QString problem = channelcsv::readList(csvPath, csv); !problem.isEmpty()) {
        ctx.app.messenger.ask(TextId::FileError);
        ctx.sayAbout(csvPath, problem);
        return ExitRefused;
    }
    if (commoncsv::isCommonLayout(csv)) {
        if (!into)
            return ctx.usageError(QStringLiteral("a list in the common layout needs --into FAMILY:BAND"));
        return importCommon(ctx, csv, csvPath, m, b, output);
    }
    if (into) return ctx.usageError(QStringLiteral("--into is for lists in the common layout"));
    const channelcsv::ImportResult result =
        channelcsv::importChannels(ctx.app.image, csv, ctx.app.messenger.language());
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
    c.options = {outputOption(QStringLiteral("CHANNELS.csv"), QStringLiteral("the channel list to write")),
                 Option{QStringLiteral("layout"), QStringLiteral("own|common"),
                        QStringLiteral("own: every channel in this program's columns (default); common: the "
                                       "columns many radio programmers share (Location,Name,Frequency,...)")},
                 Option{QStringLiteral("family"), QStringLiteral("F"),
                        QStringLiteral("common layout: the range family (default: the file's)")},
                 Option{QStringLiteral("band"), QStringLiteral("B"),
                        QStringLiteral("common layout: one band (default: every band of the family)")}};
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
    c.options = {
        outputOption(QStringLiteral("OUT.dat"), QStringLiteral("the data file to write")),
        Option{QStringLiteral("into"), QStringLiteral("FAMILY:BAND"),
               QStringLiteral("a list in the common layout becomes this band's channels (10M:A, EU:UK)")}};
    c.run = runImport;
    return c;
}

} // namespace mx::cli
