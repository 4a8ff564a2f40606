// mx806 print FILE.dat -o OUT.pdf: the programming information of a data file as a PDF.

#include "cli/Transfer.h"

#include "cli/Problems.h"
#include "data/DataFile.h"
#include "report/ProgrammingReport.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextDocument>

namespace mx::cli {

namespace {

int runPrint(Context& ctx)
{
    const QString output = ctx.value(QStringLiteral("output"));
    if (!output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ||
        QFileInfo(output).completeBaseName().isEmpty())
        return ctx.usageError(QStringLiteral("the output must be a .pdf file: %1").arg(output));
    const QString language = ctx.value(QStringLiteral("language"), QStringLiteral("en")).toLower();
    if (language != QLatin1String("en") && language != QLatin1String("zh"))
        return ctx.usageError(QStringLiteral("--language takes en or zh, not %1").arg(language));
    const QString path = QFileInfo(ctx.args.value(0)).absoluteFilePath();
    if (overwritesInput({output}, datafile::savedFiles(path)))
        return ctx.usageError(QStringLiteral("the output %1 would overwrite the input").arg(output));
    // Laying out text needs the fonts of a graphical application; main() makes one for this command.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        ctx.say(QStringLiteral("printing needs a graphical application object"));
        return ExitRefused;
    }
    ctx.loadVersions();
    if (!loadDataFile(ctx, path)) return ExitRefused;
    checkChannelFile(ctx, path, false);
    if (!checkOutput(ctx, output)) return ExitRefused;

    const auto doc =
        report::buildDocument(ctx.app.image, language == QLatin1String("zh") ? Chinese : English, path);
    QString reason;
    if (!report::writePdf(*doc, output, &reason)) {
        ctx.sayAbout(output, reason);
        return ExitRefused;
    }
    return ExitOk;
}

} // namespace

Command printCommand()
{
    Command c;
    c.name = QStringLiteral("print");
    c.arguments = QStringLiteral("FILE.dat");
    c.summary = QStringLiteral("the programming information of a data file as a PDF");
    c.minArgs = 1;
    c.maxArgs = 1;
    c.options = {outputOption(QStringLiteral("OUT.pdf"), QStringLiteral("the PDF to write")),
                 {QStringLiteral("language"), QStringLiteral("en|zh"),
                  QStringLiteral("language of the document (default en)")}};
    c.run = runPrint;
    return c;
}

} // namespace mx::cli
