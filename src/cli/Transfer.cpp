#include "cli/Transfer.h"

#include "data/DataFile.h"
#include "link/PortNames.h"
#include "link/SerialPortLink.h"
#include "link/Session.h"

#include <QEventLoop>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace mx::cli {

namespace {

int exitFor(SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Completed:
        return ExitOk;
    case SessionOutcome::Cancelled:
    case SessionOutcome::NoAnswer:
    case SessionOutcome::PortError:
        return ExitNoAnswer;
    case SessionOutcome::WrongModel:
        return ExitWrongModel;
    case SessionOutcome::IncompatibleFirmware:
        return ExitIncompatible;
    case SessionOutcome::ImageRefused:
        return ExitRefused;
    }
    return ExitNoAnswer;
}

// Percentages on stderr: a bar on a terminal, a line per tenth otherwise.
class ProgressPrinter
{
public:
    explicit ProgressPrinter(const QString& label) : m_label(label), m_terminal(isatty(fileno(stderr)) != 0)
    {
    }
    ~ProgressPrinter() { endLine(); }

    void show(int percent)
    {
        if (m_terminal) {
            constexpr int Width = 40;
            const int filled = percent * Width / 100;
            std::fprintf(stderr, "\r%s [%s%s] %3d%%", qPrintable(m_label),
                         QByteArray(filled, '#').constData(), QByteArray(Width - filled, '.').constData(),
                         percent);
            std::fflush(stderr);
            m_open = true;
        } else if (percent / 10 != m_lastTenth) {
            // A line per tenth; a restart starts over at 0%.
            m_lastTenth = percent / 10;
            std::fprintf(stderr, "%s %d%%\n", qPrintable(m_label), m_lastTenth * 10);
        }
    }
    void setLabel(const QString& label) { m_label = label; }
    // Before any other text: finish the bar's line.
    void endLine()
    {
        if (m_open) std::fputc('\n', stderr);
        m_open = false;
    }

private:
    QString m_label;
    bool m_terminal;
    bool m_open = false;
    int m_lastTenth = -1;
};

} // namespace

QList<Option> portOptions()
{
    return {
        {QStringLiteral("port"), QStringLiteral("DEV"),
         QStringLiteral("the radio's port: a device path (/dev/ttyUSB0), a COM name or a port number\n"
                        "(default: the port chosen in language/mysetup.ini)")},
        {QStringLiteral("retries"), QStringLiteral("N"),
         QStringLiteral("how often \"Check Connection. Retry or Cancel?\" is answered Retry or OK\n"
                        "(default 1)")},
    };
}

Option outputOption(const QString& valueName, const QString& help)
{
    return {QStringLiteral("output"), valueName, help, QStringLiteral("o"), true};
}

bool isDataFileName(const QString& path)
{
    return QFileInfo(path).fileName().size() > 4 && path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive);
}

int prepareTransfer(Context& ctx, QString& device)
{
    int retries = 1;
    if (!ctx.intValue(QStringLiteral("retries"), 1, 0, retries))
        return ctx.usageError(QStringLiteral("--retries needs a number of 0 or more"));
    const QString port = ctx.value(QStringLiteral("port"));
    if (ctx.isSet(QStringLiteral("port"))) {
        device = ports::deviceFromArgument(port);
        if (device.isEmpty()) return ctx.usageError(QStringLiteral("no such port: %1").arg(port));
        ctx.startUp();
    } else {
        // The port the desktop program uses: comPortName, else comPort.
        ctx.startUp();
        const Settings& settings = ctx.app.settings;
        device = ports::deviceFor(settings.comPort, settings.comPortName);
        if (device.isEmpty()) return ctx.usageError(QStringLiteral("no port chosen: give --port DEV"));
    }
    ctx.prompter.setRetryLimit(retries);
    return ExitOk;
}

int runTransfer(Context& ctx, TransferKind kind, const QString& device, int radios, RadioIdentity* identity)
{
    App& app = ctx.app;
    SerialPortLink port(device);
    Session session(port, app.image, app.versions, app.messenger);

    ProgressPrinter progress(kind == TransferKind::Read ? QStringLiteral("read") : QStringLiteral("write"));
    ctx.prompter.setBeforePrint([&progress] { progress.endLine(); });
    if (kind != TransferKind::Info) {
        QObject::connect(&session, &Session::progress, [&](int percent) { progress.show(percent); });
        QObject::connect(&session, &Session::radioChanged, [&](int number) {
            progress.endLine();
            ctx.say(QStringLiteral("radio %1 of %2").arg(number).arg(radios));
            progress.setLabel(QStringLiteral("write radio %1").arg(number));
        });
    }

    QEventLoop loop;
    bool done = false;
    SessionOutcome outcome = SessionOutcome::NoAnswer;
    QObject::connect(&session, &Session::finished, [&](SessionOutcome o) {
        done = true;
        outcome = o;
        loop.quit();
    });

    bool started = false;
    switch (kind) {
    case TransferKind::Read:
        started = session.startRead();
        break;
    case TransferKind::Write:
        started = session.startWrite();
        break;
    case TransferKind::MultiWrite:
        started = session.startMultiWrite(radios);
        break;
    case TransferKind::Info:
        started = session.startInfo();
        break;
    }
    if (!started)
        outcome = session.lastOutcome();
    else if (!done)
        loop.exec();
    progress.endLine();
    ctx.prompter.setBeforePrint({});
    if ((outcome == SessionOutcome::PortError || outcome == SessionOutcome::NoAnswer) &&
        !port.errorString().isEmpty())
        ctx.say(port.errorString());
    if (identity && outcome == SessionOutcome::Completed) *identity = session.identity();
    return exitFor(outcome);
}

bool loadDataFile(Context& ctx, const QString& path)
{
    if (!QFileInfo::exists(path)) {
        ctx.say(ctx.app.messenger.text(TextId::FileError) + QStringLiteral(" (") + path + QLatin1Char(')'));
        return false;
    }
    return datafile::loadDataFile(ctx.app.image, path, ctx.app.versions, ctx.app.messenger) ==
           datafile::LoadStatus::Ok;
}

} // namespace mx::cli
