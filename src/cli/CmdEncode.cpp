// mx806 encode FILE.dat -o MEMORY.bin: the radio memory image of a data file.

#include "cli/Transfer.h"

#include "data/FileWrite.h"
#include "link/MemoryCodec.h"

#include <QSaveFile>

namespace mx::cli {

namespace {

int runEncode(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    ctx.startUp();
    App& app = ctx.app;
    if (!loadDataFile(ctx, ctx.args.first())) return ExitRefused;
    const QString misfit = checkImageFits(app.image);
    if (!misfit.isEmpty()) {
        ctx.say(QStringLiteral("value does not fit the radio: ") + misfit);
        return ExitRefused;
    }
    QByteArray memory;
    fillRadioMemory(memory);
    encodeImage(app.image, memory);

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !writeComplete(file, memory) || !file.commit()) {
        ctx.say(app.messenger.text(TextId::FileError) + QStringLiteral(" (") + output + QLatin1Char(')'));
        return ExitRefused;
    }
    return ExitOk;
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
