#include "cli/CmdLink.h"

#include "cli/Cli.h"
#include "cli/CliPrompter.h"
#include "data/DataFile.h"
#include "link/MemoryCodec.h"
#include "link/PortNames.h"
#include "link/SerialPortLink.h"
#include "link/Session.h"
#include "shell/Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace mx::cli {

namespace {

enum LinkExit : int {
    ExitFile = int(ExitRefused),
    ExitNoAnswer = 3,
    ExitWrongModel = 4,
    ExitIncompatible = 5,
};

void say(const QString& text)
{
    QTextStream err(stderr);
    err << "mx806: " << text << Qt::endl;
}

int usageError(const QString& text)
{
    say(text);
    QTextStream err(stderr);
    err << linkUsage();
    return ExitUsage;
}

// Options of one subcommand: "--name value" pairs and plain arguments.
struct Options
{
    QMap<QString, QString> values;
    QStringList plain;
    QString error;

    bool has(const QString& name) const { return values.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

Options parseOptions(const QStringList& args, const QStringList& valued)
{
    Options options;
    for (int k = 0; k < args.size(); ++k) {
        const QString& arg = args[k];
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            const int eq = int(arg.indexOf(QLatin1Char('=')));
            if (!valued.contains(arg.left(eq))) {
                options.error = QStringLiteral("unknown option %1").arg(arg.left(eq));
                return options;
            }
            options.values[arg.left(eq)] = arg.mid(eq + 1);
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            if (!valued.contains(arg)) {
                options.error = QStringLiteral("unknown option %1").arg(arg);
                return options;
            }
            if (k + 1 >= args.size()) {
                options.error = QStringLiteral("%1 needs a value").arg(arg);
                return options;
            }
            options.values[arg] = args[++k];
        } else {
            options.plain.append(arg);
        }
    }
    return options;
}

bool parseCount(const Options& options, const QString& name, int fallback, int minimum, int& value)
{
    value = fallback;
    if (!options.has(name)) return true;
    bool ok = false;
    value = options.value(name).toInt(&ok);
    return ok && value >= minimum;
}

bool isDataFileName(const QString& path)
{
    return QFileInfo(path).fileName().size() > 4 && path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive);
}

// The "Check Connection" question comes in two forms: Retry/Cancel after an
// unanswered handshake and OK/Cancel before a transfer restarts. Both count
// against the same retry limit, so an unplugged radio ends the command.
class LinkPrompter : public CliPrompter
{
public:
    Answer ask(const QString& text, Buttons buttons, Icon icon) override
    {
        if (buttons == Buttons::OkCancel && text == mx::text(TextId::CheckConnection, English))
            return CliPrompter::ask(text, Buttons::RetryCancel, icon) == Answer::Retry ? Answer::Ok
                                                                                       : Answer::Cancel;
        return CliPrompter::ask(text, buttons, icon);
    }
};

// The program's start-up (version table, settings, default image) as every
// subcommand does it, with --root DIR as the install root; questions go to prompter.
std::unique_ptr<Context> startApp(const Options& options, Prompter& prompter)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString root = options.value(QStringLiteral("--root"));
    auto context = std::make_unique<Context>(programDir, root.isEmpty() ? installRootOf(programDir) : root,
                                             !root.isEmpty());
    context->startUp();
    context->app.messenger.setPrompter(prompter);
    return context;
}

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
        return ExitFile;
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

// Prints the prompter's texts on their own line even while a bar is drawn.
class BarAwarePrompter : public LinkPrompter
{
public:
    ProgressPrinter* progress = nullptr;
    Answer ask(const QString& text, Buttons buttons, Icon icon) override
    {
        if (progress) progress->endLine();
        return LinkPrompter::ask(text, buttons, icon);
    }
};

enum class Kind { Read, Write, MultiWrite, Info };

// Runs one session to its end in the event loop.
SessionOutcome runSession(Kind kind, App& app, BarAwarePrompter& prompter, const QString& device, int radios)
{
    SerialPortLink port(device);
    Session session(port, app.image, app.versions, app.messenger);

    const QString label = kind == Kind::Read ? QStringLiteral("read") : QStringLiteral("write");
    ProgressPrinter progress(label);
    prompter.progress = &progress;
    if (kind != Kind::Info) {
        QObject::connect(&session, &Session::progress, [&](int percent) { progress.show(percent); });
        QObject::connect(&session, &Session::radioChanged, [&](int number) {
            progress.endLine();
            say(QStringLiteral("radio %1 of %2").arg(number).arg(radios));
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
    case Kind::Read:
        started = session.startRead();
        break;
    case Kind::Write:
        started = session.startWrite();
        break;
    case Kind::MultiWrite:
        if (radios > 1) say(QStringLiteral("radio 1 of %1").arg(radios));
        started = session.startMultiWrite(radios);
        break;
    case Kind::Info:
        started = session.startInfo();
        break;
    }
    if (!started) {
        outcome = session.lastOutcome();
    } else if (!done) {
        loop.exec();
    }
    progress.endLine();
    prompter.progress = nullptr;
    if (outcome == SessionOutcome::PortError || outcome == SessionOutcome::NoAnswer) {
        if (!port.errorString().isEmpty()) say(port.errorString());
    }
    if (kind == Kind::Info && outcome == SessionOutcome::Completed) {
        const RadioIdentity& id = session.identity();
        QTextStream out(stdout);
        out << "model: " << id.modelId << '\n'
            << "firmware: " << id.firmware << '\n'
            << "CTCSS/DCS: " << (id.toneSquelchUnsupported ? "not supported" : "supported") << '\n'
            << "TV: " << (id.tvUnsupported ? "not supported" : "supported") << Qt::endl;
    }
    return outcome;
}

// Shared part of the transfer commands: options, start-up, the port.
struct Transfer
{
    Options options;
    QString device;
    int retries = 1;
};

int prepareTransfer(const QStringList& args, const QStringList& extra, Transfer& t)
{
    QStringList valued = {QStringLiteral("--port"), QStringLiteral("--retries"), QStringLiteral("--root")};
    valued += extra;
    t.options = parseOptions(args, valued);
    if (!t.options.error.isEmpty()) return usageError(t.options.error);
    if (!t.options.has(QStringLiteral("--port"))) return usageError(QStringLiteral("--port is required"));
    if (!parseCount(t.options, QStringLiteral("--retries"), 1, 0, t.retries))
        return usageError(QStringLiteral("--retries needs a number of 0 or more"));
    t.device = ports::deviceFromArgument(t.options.value(QStringLiteral("--port")));
    if (t.device.isEmpty())
        return usageError(QStringLiteral("no such port: %1").arg(t.options.value(QStringLiteral("--port"))));
    return ExitOk;
}

bool loadInto(App& app, const QString& path)
{
    if (!QFileInfo::exists(path)) {
        say(app.messenger.text(TextId::FileError) + QStringLiteral(" (") + path + QLatin1Char(')'));
        return false;
    }
    return datafile::loadDataFile(app.image, path, app.versions, app.messenger) == datafile::LoadStatus::Ok;
}

} // namespace

QString linkUsage()
{
    return QStringLiteral(
        "  mx806 read --port DEV -o FILE.dat [--retries N]   read the radio into a data file\n"
        "  mx806 write --port DEV FILE.dat [--retries N]     write a data file into the radio\n"
        "  mx806 multi-write --port DEV --count N FILE.dat   write a data file into N radios in turn\n"
        "  mx806 info --port DEV                             show the radio's model, firmware and features\n"
        "  mx806 encode FILE.dat -o MEMORY.bin               the radio memory image of a data file\n"
        "  mx806 decode MEMORY.bin -o FILE.dat               a data file from a radio memory image\n"
        "  DEV is a device path (/dev/ttyUSB0), a COM name or a port number. --retries: how often\n"
        "  \"Check Connection. Retry or Cancel?\" is answered Retry (default 1). --root DIR: install "
        "root.\n");
}

int cmdRead(const QStringList& args)
{
    Transfer t;
    if (const int status = prepareTransfer(args, {QStringLiteral("-o")}, t); status != ExitOk) return status;
    const QString output = t.options.value(QStringLiteral("-o"));
    if (output.isEmpty() || !t.options.plain.isEmpty())
        return usageError(QStringLiteral("read needs -o FILE.dat and nothing else"));
    if (!isDataFileName(output))
        return usageError(QStringLiteral("the output must be a .dat file: %1").arg(output));

    BarAwarePrompter prompter;
    prompter.setRetryLimit(t.retries);
    const auto context = startApp(t.options, prompter);
    App& app = context->app;
    const SessionOutcome outcome = runSession(Kind::Read, app, prompter, t.device, 1);
    if (outcome != SessionOutcome::Completed) return exitFor(outcome);
    // The files appear only now, complete, after the whole memory was read.
    if (!datafile::saveDataFile(app.image, output, app.messenger)) return ExitFile;
    return ExitOk;
}

int cmdWrite(const QStringList& args)
{
    Transfer t;
    if (const int status = prepareTransfer(args, {}, t); status != ExitOk) return status;
    if (t.options.plain.size() != 1) return usageError(QStringLiteral("write needs one FILE.dat"));

    BarAwarePrompter prompter;
    prompter.setRetryLimit(t.retries);
    const auto context = startApp(t.options, prompter);
    App& app = context->app;
    if (!loadInto(app, t.options.plain.first())) return ExitFile;
    return exitFor(runSession(Kind::Write, app, prompter, t.device, 1));
}

int cmdMultiWrite(const QStringList& args)
{
    Transfer t;
    if (const int status = prepareTransfer(args, {QStringLiteral("--count")}, t); status != ExitOk)
        return status;
    int count = 0;
    if (!t.options.has(QStringLiteral("--count")) ||
        !parseCount(t.options, QStringLiteral("--count"), 0, 1, count))
        return usageError(QStringLiteral("multi-write needs --count N (1 or more)"));
    if (t.options.plain.size() != 1) return usageError(QStringLiteral("multi-write needs one FILE.dat"));

    BarAwarePrompter prompter;
    prompter.setRetryLimit(t.retries);
    const auto context = startApp(t.options, prompter);
    App& app = context->app;
    if (!loadInto(app, t.options.plain.first())) return ExitFile;
    return exitFor(runSession(Kind::MultiWrite, app, prompter, t.device, count));
}

int cmdInfo(const QStringList& args)
{
    Transfer t;
    if (const int status = prepareTransfer(args, {}, t); status != ExitOk) return status;
    if (!t.options.plain.isEmpty()) return usageError(QStringLiteral("info takes no file"));

    BarAwarePrompter prompter;
    prompter.setRetryLimit(t.retries);
    const auto context = startApp(t.options, prompter);
    App& app = context->app;
    return exitFor(runSession(Kind::Info, app, prompter, t.device, 1));
}

int cmdEncode(const QStringList& args)
{
    const Options options = parseOptions(args, {QStringLiteral("-o"), QStringLiteral("--root")});
    if (!options.error.isEmpty()) return usageError(options.error);
    const QString output = options.value(QStringLiteral("-o"));
    if (options.plain.size() != 1 || output.isEmpty())
        return usageError(QStringLiteral("encode needs FILE.dat -o MEMORY.bin"));

    BarAwarePrompter prompter;
    const auto context = startApp(options, prompter);
    App& app = context->app;
    if (!loadInto(app, options.plain.first())) return ExitFile;
    const QString misfit = checkImageFits(app.image);
    if (!misfit.isEmpty()) {
        say(QStringLiteral("value does not fit the radio: ") + misfit);
        return ExitFile;
    }
    QByteArray memory;
    fillRadioMemory(memory);
    encodeImage(app.image, memory);

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(memory) != memory.size() || !file.commit()) {
        say(app.messenger.text(TextId::FileError) + QStringLiteral(" (") + output + QLatin1Char(')'));
        return ExitFile;
    }
    return ExitOk;
}

int cmdDecode(const QStringList& args)
{
    const Options options = parseOptions(args, {QStringLiteral("-o"), QStringLiteral("--root")});
    if (!options.error.isEmpty()) return usageError(options.error);
    const QString output = options.value(QStringLiteral("-o"));
    if (options.plain.size() != 1 || output.isEmpty())
        return usageError(QStringLiteral("decode needs MEMORY.bin -o FILE.dat"));
    if (!isDataFileName(output))
        return usageError(QStringLiteral("the output must be a .dat file: %1").arg(output));

    BarAwarePrompter prompter;
    const auto context = startApp(options, prompter);
    App& app = context->app;

    const QString input = options.plain.first();
    QFile file(input);
    QByteArray memory;
    if (file.open(QIODevice::ReadOnly)) memory = file.read(RadioMemorySize + 1);
    if (memory.size() != RadioMemorySize) {
        say(app.messenger.text(TextId::FileError) +
            QStringLiteral(" (%1: a memory image holds %2 bytes)").arg(input).arg(RadioMemorySize));
        return ExitFile;
    }
    decodeImage(memory, app.image);
    app.image.currentFileName = QStringLiteral("new.dat");
    app.image.isNewDocument = true;
    return datafile::saveDataFile(app.image, output, app.messenger) ? int(ExitOk) : int(ExitFile);
}

} // namespace mx::cli
