// mx806 show FILE.dat: a readable listing of a data file and its channel file.

#include "cli/Listing.h"
#include "cli/Transfer.h"

#include "data/DataFile.h"
#include "data/ImageText.h"

#include <QJsonDocument>

#include <QFileInfo>

namespace mx::cli {

namespace {

int runShow(Context& ctx)
{
    const QString path = QFileInfo(ctx.args.value(0)).absoluteFilePath();
    // Only the version table is needed: the file replaces the whole image.
    ctx.loadVersions();
    // The command line never starts another installed version: no handover,
    // so the incompatibility question is answered No and the file is refused.
    if (!loadDataFile(ctx, path)) return ExitRefused;
    checkChannelFile(ctx, path, false);
    ctx.err.flush();
    if (ctx.isSet(QStringLiteral("json")))
        ctx.out << QJsonDocument(imagetext::toJson(ctx.app.image)).toJson(QJsonDocument::Indented);
    else
        printImage(ctx.out, ctx.app.image, path);
    return ExitOk;
}

} // namespace

Command showCommand()
{
    Command c;
    c.name = QStringLiteral("show");
    c.arguments = QStringLiteral("FILE.dat");
    c.summary =
        QStringLiteral("list a data file: bands and channels, option features, tone tips, TV channels");
    c.minArgs = 1;
    c.maxArgs = 1;
    c.options = {Option{QStringLiteral("json"), QString(),
                        QStringLiteral("the whole image as JSON (values as the editors show them)")}};
    c.run = runShow;
    return c;
}

} // namespace mx::cli
