// mx806 decode MEMORY.bin -o FILE.dat: a data file from a radio memory image.

#include "cli/Transfer.h"

#include "cli/Problems.h"
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
    const QString input = ctx.args.first();
    if (overwritesInput(datafile::savedFiles(output), {input}))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    ctx.startUp();
    App& app = ctx.app;
    if (!checkDataOutput(ctx, output)) return ExitRefused;

    QString problem = readProblem(input);
    QByteArray memory;
    if (problem.isEmpty()) {
        QFile file(input);
        if (file.open(QIODevice::ReadOnly)) memory = file.read(RadioMemorySize + 1);
        if (memory.size() != RadioMemorySize)
            problem = QStringLiteral("%1%2 bytes; a memory image holds exactly %3")
                          .arg(memory.size() > RadioMemorySize ? QStringLiteral("more than ") : QString())
                          .arg(qMin(memory.size(), qsizetype(RadioMemorySize)))
                          .arg(RadioMemorySize);
    }
    if (!problem.isEmpty()) {
        app.messenger.ask(TextId::FileError);
        ctx.sayAbout(input, problem);
        return ExitRefused;
    }
    decodeImage(memory, app.image);
    app.image.currentFileName = QStringLiteral("new.dat");
    app.image.isNewDocument = true;
    return saveDataOutput(ctx, app.image, output);
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
