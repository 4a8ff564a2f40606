// mx806 encode FILE.dat -o MEMORY.bin: the radio memory image of a data file.

#include "cli/Transfer.h"

#include "cli/Problems.h"
#include "data/DataFile.h"
#include "link/MemoryCodec.h"

namespace mx::cli {

namespace {

int runEncode(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    const QString input = ctx.args.first();
    if (overwritesInput({output}, datafile::savedFiles(input)))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    ctx.startUp();
    App& app = ctx.app;
    if (!checkOutput(ctx, output)) return ExitRefused;
    if (!loadDataFile(ctx, input)) return ExitRefused;
    checkChannelFile(ctx, input, false);
    const QString misfit = checkImageFits(app.image);
    if (!misfit.isEmpty()) {
        ctx.say(QStringLiteral("value does not fit the radio: ") + misfit);
        return ExitRefused;
    }
    warnFrequencies(ctx);
    QByteArray memory;
    fillRadioMemory(memory);
    encodeImage(app.image, memory);

    return writeOutput(ctx, output, memory);
}

} // namespace

Command encodeCommand()
{
    Command c;
    c.name = QStringLiteral("encode");
    c.arguments = QStringLiteral("FILE.dat");
    c.summary = QStringLiteral("the radio memory image of a data file");
    c.minArgs = 1;
    c.maxArgs = 1;
    c.options = {outputOption(QStringLiteral("MEMORY.bin"), QStringLiteral("the memory image to write"))};
    c.run = runEncode;
    return c;
}

} // namespace mx::cli
