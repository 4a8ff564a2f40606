// mx806 decode MEMORY.bin -o FILE.dat: a data file from a radio memory image.

#include "cli/Transfer.h"

#include "data/DataFile.h"
#include "link/MemoryCodec.h"

#include <QFile>

namespace mx::cli {

namespace {

int runDecode(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    if (!isDataFileName(output))
        return ctx.usageError(QStringLiteral("the output must be a .dat file: %1").arg(output));
    ctx.startUp();
    App& app = ctx.app;

    const QString input = ctx.args.first();
    QFile file(input);
    QByteArray memory;
    if (file.open(QIODevice::ReadOnly)) memory = file.read(RadioMemorySize + 1);
    if (memory.size() != RadioMemorySize) {
        ctx.say(app.messenger.text(TextId::FileError) +
                QStringLiteral(" (%1: a memory image holds %2 bytes)").arg(input).arg(RadioMemorySize));
        return ExitRefused;
    }
    decodeImage(memory, app.image);
    app.image.currentFileName = QStringLiteral("new.dat");
    app.image.isNewDocument = true;
    return datafile::saveDataFile(app.image, output, app.messenger) ? ExitOk : ExitRefused;
}

} // namespace

Command decodeCommand()
{
    Command c;
    c.name = QStringLiteral("decode");
    c.arguments = QStringLiteral("MEMORY.bin");
    c.summary = QStringLiteral("a data file from a radio memory image");
    c.minArgs = 1;
    c.maxArgs = 1;
    c.options = {outputOption(QStringLiteral("FILE.dat"), QStringLiteral("the data file to write"))};
    c.run = runDecode;
    return c;
}

} // namespace mx::cli
