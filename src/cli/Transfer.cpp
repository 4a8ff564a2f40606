#include "cli/Transfer.h"

#include "app/Backups.h"
#include "cli/Problems.h"
#include "data/DataFile.h"
#include "data/FileWrite.h"
#include "data/Renumbering.h"
#include "link/MemoryCodec.h"
#include "link/PortNames.h"
#include "link/SerialPortLink.h"
#include "link/Session.h"
#include "link/Verify.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
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
    case SessionOutcome::PortLost:
    case SessionOutcome::PortError:
        return ExitNoAnswer;
    case SessionOutcome::WrongModel:
        return ExitWrongModel;
    case SessionOutcome::IncompatibleFirmware:
        return ExitIncompatible;
    case SessionOutcome::ImageRefused:
        return ExitRefused;
    case SessionOutcome::VerifyFailed:
        return ExitVerifyFailed;
    }
    return ExitNoAnswer;
}

// Percentages on stderr: a bar on a terminal, a line per tenth otherwise.
class ProgressPrinter
{
public:
    ProgressPrinter(const QString& label, bool shown)
        : m_label(label), m_terminal(isatty(fileno(stderr)) != 0), m_shown(shown)
    {
    }
    ~ProgressPrinter() { endLine(); }

    void show(int percent)
    {
        if (!m_shown) return;
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
    bool m_shown;
    bool m_open = false;
    int m_lastTenth = -1;
};

// -v: the port with a line per frame sent (">") and received ("<"), in
// milliseconds since the transfer began.
class TracePort : public RadioPort
{
public:
    TracePort(RadioPort& inner, std::function<void(const QString&)> print)
        : m_inner(inner), m_print(std::move(print))
    {
        m_clock.start();
        connect(&inner, &RadioPort::replyReceived, this, [this](const QByteArray& bytes) {
            trace(QStringLiteral("<"), bytes);
            Q_EMIT replyReceived(bytes);
        });
        connect(&inner, &RadioPort::portLost, this, [this] {
            m_print(stamp() + QStringLiteral(" port lost"));
            Q_EMIT portLost();
        });
    }

    bool open() override { return m_inner.open(); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void send(const QByteArray& frame, int expectedReplyLength) override
    {
        trace(QStringLiteral(">"), frame);
        m_inner.send(frame, expectedReplyLength);
    }
    QString errorString() const override { return m_inner.errorString(); }

private:
    QString stamp() const { return QStringLiteral("%1 ms").arg(m_clock.nsecsElapsed() / 1e6, 9, 'f', 1); }
    void trace(const QString& direction, const QByteArray& bytes)
    {
        m_print(stamp() + QLatin1Char(' ') + direction + QLatin1Char(' ') +
                QString::fromLatin1(bytes.toHex(' ').toUpper()));
    }

    RadioPort& m_inner;
    std::function<void(const QString&)> m_print;
    QElapsedTimer m_clock;
};

// SIGINT and SIGTERM during a transfer end it as closing the progress window
// does: the handler only writes a byte into a pipe, the event loop does the rest.
class SignalCatcher
{
public:
    explicit SignalCatcher(std::function<void()> onSignal)
    {
        if (::pipe(m_fds) != 0) return;
        for (int fd : m_fds) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        }
        s_writeFd = m_fds[1];
        struct sigaction action = {};
        action.sa_handler = &SignalCatcher::handler;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_oldInt);
        sigaction(SIGTERM, &action, &m_oldTerm);
        m_notifier = std::make_unique<QSocketNotifier>(m_fds[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this, onSignal] {
            char buffer[16];
            while (::read(m_fds[0], buffer, sizeof buffer) > 0) {
            }
            onSignal();
        });
    }
    ~SignalCatcher()
    {
        if (!m_notifier) return;
        m_notifier.reset();
        sigaction(SIGINT, &m_oldInt, nullptr);
        sigaction(SIGTERM, &m_oldTerm, nullptr);
        s_writeFd = -1;
        ::close(m_fds[0]);
        ::close(m_fds[1]);
    }

private:
    static void handler(int)
    {
        const char byte = 1;
        if (s_writeFd < 0) return;
        const ssize_t n = ::write(s_writeFd, &byte, 1);
        (void)n;
    }

    static inline volatile std::sig_atomic_t s_writeFd = -1;
    int m_fds[2] = {-1, -1};
    struct sigaction m_oldInt = {};
    struct sigaction m_oldTerm = {};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

QString kindWord(TransferKind kind)
{
    return kind == TransferKind::Read     ? QStringLiteral("read")
           : kind == TransferKind::Info   ? QStringLiteral("query")
           : kind == TransferKind::Verify ? QStringLiteral("check")
                                          : QStringLiteral("write");
}

// What is left of an unfinished transfer, and what to do.
QString aftermath(TransferKind kind)
{
    switch (kind) {
    case TransferKind::Read:
        return QStringLiteral("nothing was saved");
    case TransferKind::Write:
    case TransferKind::MultiWrite:
        return QStringLiteral("the radio may hold a partial write: write it again");
    case TransferKind::Verify:
        return QStringLiteral("the write was not checked");
    case TransferKind::Info:
        break;
    }
    return QStringLiteral("nothing was changed");
}

} // namespace

QList<Option> backupOptions()
{
    return {
        {QStringLiteral("backup-dir"), QStringLiteral("DIR"),
         QStringLiteral("where the dated copy of what was read or is written goes\n"
                        "(default: ~/.local/share/MX_806TR/backups; the newest 50 are kept)")},
        {QStringLiteral("no-backup"), QString(), QStringLiteral("keep no dated copy")},
    };
}

void backUp(Context& ctx, const QString& kind)
{
    if (ctx.isSet(QStringLiteral("no-backup"))) return;
    const QString folder = ctx.value(QStringLiteral("backup-dir"), backups::defaultFolder());
    QString error;
    const QString path = backups::save(ctx.app.image, folder, kind, &error);
    if (path.isEmpty())
        ctx.say(QStringLiteral("warning: no backup was kept: ") + error);
    else if (!ctx.quiet())
        ctx.say(QStringLiteral("backup: ") + path);
}

int verifyWrite(Context& ctx, const QString& device)
{
    QByteArray written(RadioMemorySize, '\0');
    fillRadioMemory(written);
    encodeImage(ctx.app.image, written);
    QByteArray readBack;
    if (const int status = runTransfer(ctx, TransferKind::Verify, device, 1, nullptr, &readBack);
        status != ExitOk)
        return status;
    const VerifyResult result = compareWritten(written, readBack, &ctx.app.image);
    if (!result.ok) {
        ctx.say(verifyFailedText(result));
        return ExitVerifyFailed;
    }
    if (!ctx.quiet()) ctx.say(QStringLiteral("verified: the radio holds what was written"));
    return ExitOk;
}

QList<Option> portOptions()
{
    return {
        {QStringLiteral("port"), QStringLiteral("DEV"),
         QStringLiteral("the radio's port: a device path (/dev/ttyUSB0), a COM name or a port number\n"
                        "as 'mx806 port' lists them (default: the port kept in language/mysetup.ini)")},
        {QStringLiteral("retries"), QStringLiteral("N"),
         QStringLiteral("how often \"Check Connection. Retry or Cancel?\" is answered Retry or OK\n"
                        "(default 1)")},
        {QStringLiteral("quiet"), QString(),
         QStringLiteral("no progress and no news: only errors and warnings"), QStringLiteral("q")},
        {QStringLiteral("verbose"), QString(),
         QStringLiteral("a line per frame sent (>) and received (<), in ms since the start"),
         QStringLiteral("v")},
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

PortChoice resolvePort(const QString& argument)
{
    const QString text = argument.trimmed();
    bool isNumber = false;
    int n = text.toInt(&isNumber);
    if (!isNumber && text.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) &&
        !text.contains(QLatin1Char('/')))
        n = text.mid(3).trimmed().toInt(&isNumber);
    if (!isNumber) {
        if (text.isEmpty()) return {{}, QStringLiteral("no port given")};
        return {text, {}};
    }
    PortChoice choice;
    choice.numbered = true;
    choice.number = n;
    if (n <= 0) {
        choice.problem =
            QStringLiteral("no port %1: ports are numbered from 1 ('mx806 port' lists them)").arg(text);
        return choice;
    }
#ifdef Q_OS_WIN
    choice.device = QStringLiteral("COM%1").arg(n);
#else
    const QList<ports::PortEntry> listed = ports::availablePorts();
    QStringList names;
    for (const ports::PortEntry& entry : listed) {
        if (entry.number == n) choice.device = entry.deviceName;
        names << entry.shown + QStringLiteral(" (") + entry.deviceName + QLatin1Char(')');
    }
    if (choice.device.isEmpty())
        choice.problem = QStringLiteral("no port %1: %2")
                             .arg(text, listed.isEmpty() ? QStringLiteral("the system lists no serial ports")
                                                         : QStringLiteral("the system lists ") +
                                                               names.join(QStringLiteral(", ")));
#endif
    return choice;
}

int prepareTransfer(Context& ctx, QString& device)
{
    int retries = 1;
    if (!ctx.intValue(QStringLiteral("retries"), 1, 0, retries))
        return ctx.usageError(QStringLiteral("--retries needs a number of 0 or more"));
    if (ctx.quiet() && ctx.isSet(QStringLiteral("verbose")))
        return ctx.usageError(QStringLiteral("-q and -v do not go together"));
    ctx.startUp();
    PortChoice choice;
    if (ctx.isSet(QStringLiteral("port"))) {
        choice = resolvePort(ctx.value(QStringLiteral("port")));
    } else {
        // The port the desktop program uses: comPortName, else comPort.
        const Settings& settings = ctx.app.settings;
        if (!settings.comPortName.trimmed().isEmpty())
            choice.device = settings.comPortName.trimmed();
        else if (settings.comPort <= 0)
            choice.problem = noPortChosen(ctx) + QStringLiteral(": give --port DEV or keep one with "
                                                                "'mx806 port DEV'");
        else
            choice = resolvePort(QString::number(settings.comPort));
    }
    if (choice.device.isEmpty()) {
        // As with any port that cannot be opened.
        ctx.app.messenger.ask(TextId::CannotOpenPort, Buttons::Ok, Icon::Critical);
        ctx.say(choice.problem);
        return ExitNoAnswer;
    }
    device = choice.device;
    ctx.prompter.setRetryLimit(retries);
    return ExitOk;
}

int runTransfer(Context& ctx, TransferKind kind, const QString& device, int radios, RadioIdentity* identity,
                QByteArray* radioMemory)
{
    App& app = ctx.app;
    const bool verbose = ctx.isSet(QStringLiteral("verbose"));
    ProgressPrinter progress(kind == TransferKind::Read     ? QStringLiteral("read")
                             : kind == TransferKind::Verify ? QStringLiteral("verify")
                                                            : QStringLiteral("write"),
                             !ctx.quiet() && !verbose);
    ctx.prompter.setBeforePrint([&progress] { progress.endLine(); });
    if (ctx.quiet()) {
        ctx.prompter.setUnprinted(
            {app.messenger.text(TextId::ReadConfirm), app.messenger.text(TextId::WriteConfirm),
             app.messenger.text(TextId::ReadCompleted), app.messenger.text(TextId::WriteCompleted)});
    }

    SerialPortLink serial(device);
    std::unique_ptr<TracePort> trace;
    RadioPort* port = &serial;
    if (verbose) {
        trace = std::make_unique<TracePort>(serial, [&ctx](const QString& line) { ctx.say(line); });
        port = trace.get();
    }
    Session session(*port, app.image, app.versions, app.messenger);

    int radio = 1; // the radio being written or checked
    if (kind != TransferKind::Info) {
        QObject::connect(&session, &Session::progress, [&](int percent) { progress.show(percent); });
        QObject::connect(&session, &Session::radioChanged, [&](int number) {
            radio = number;
            progress.endLine();
            if (!ctx.quiet()) ctx.say(QStringLiteral("radio %1 of %2").arg(number).arg(radios));
            progress.setLabel(QStringLiteral("write radio %1").arg(number));
        });
        QObject::connect(&session, &Session::verifyingRadio, [&](bool verifying) {
            if (!verifying) return;
            progress.endLine();
            progress.setLabel(QStringLiteral("verify radio %1").arg(radio));
        });
        QObject::connect(&session, &Session::radioVerified, [&](int number) {
            progress.endLine();
            if (!ctx.quiet())
                ctx.say(QStringLiteral("radio %1 verified: it holds what was written").arg(number));
        });
    }
    if (kind == TransferKind::MultiWrite) session.setVerifyEachRadio(ctx.isSet(QStringLiteral("verify")));

    // Multi-radio write: the wait for the next radio, and how long it may last.
    int timeoutSeconds = 0;
    ctx.intValue(QStringLiteral("timeout"), 0, 1, timeoutSeconds);
    QTimer waitLimit;
    waitLimit.setSingleShot(true);
    bool timedOut = false;
    bool waitingNow = false;
    QObject::connect(&session, &Session::waitingForNextRadio, [&](bool waiting) {
        waitingNow = waiting;
        if (!waiting) {
            waitLimit.stop();
            return;
        }
        progress.endLine();
        if (!ctx.quiet()) ctx.say(app.messenger.text(TextId::WaitingForNextRadio));
        if (timeoutSeconds > 0) waitLimit.start(timeoutSeconds * 1000);
    });
    QObject::connect(&waitLimit, &QTimer::timeout, [&] {
        timedOut = true;
        session.cancel();
    });

    QEventLoop loop;
    bool done = false;
    SessionOutcome outcome = SessionOutcome::NoAnswer;
    QObject::connect(&session, &Session::finished, [&](SessionOutcome o) {
        done = true;
        outcome = o;
        loop.quit();
    });
    bool interrupted = false;
    bool interruptedWaiting = false; // the signal came while a multi-write waited for the next radio
    SignalCatcher catcher([&] {
        interrupted = true;
        interruptedWaiting = waitingNow;
        session.cancel();
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
    case TransferKind::Verify:
        started = session.startVerify();
        break;
    }
    if (!started)
        outcome = session.lastOutcome();
    else if (!done)
        loop.exec();
    progress.endLine();
    ctx.prompter.setBeforePrint({});

    // What the program's own messages leave unsaid.
    const RadioIdentity& id = session.identity();
    const QString written =
        kind == TransferKind::MultiWrite && outcome != SessionOutcome::Completed
            ? QStringLiteral(" (%1 of %2 radios written)").arg(session.radiosWritten()).arg(radios)
            : QString();
    switch (outcome) {
    case SessionOutcome::Completed:
    case SessionOutcome::ImageRefused:
        break;
    case SessionOutcome::VerifyFailed:
        ctx.say(verifyFailedText(session.verifyResult()));
        ctx.say(QStringLiteral("radio %1 does not hold what was written: write it again%2")
                    .arg(session.radiosWritten() + 1)
                    .arg(written));
        break;
    case SessionOutcome::Cancelled:
        if (timedOut)
            ctx.say(QStringLiteral("no next radio answered within %1 s%2").arg(timeoutSeconds).arg(written));
        else if (interruptedWaiting)
            ctx.say(QStringLiteral("cancelled while waiting for the next radio") + written);
        else if (interrupted)
            ctx.say(QStringLiteral("cancelled: ") + aftermath(kind) + written);
        break;
    case SessionOutcome::PortLost:
        ctx.say(QStringLiteral("the connection to the radio on %1 was lost during the %2; %3%4")
                    .arg(device, kindWord(kind), aftermath(kind), written));
        break;
    case SessionOutcome::NoAnswer:
        ctx.say(QStringLiteral("no answer from the radio on %1: check the cable, that the radio is "
                               "switched on, and the port%2")
                    .arg(device, written));
        break;
    case SessionOutcome::PortError:
        // The same words as the desktop program's: the device and why.
        for (const QString& line : serial.openFailureText(English).split(QStringLiteral("\r\n")))
            ctx.say(line);
        break;
    case SessionOutcome::WrongModel:
        ctx.say(
            QStringLiteral("the radio on %1 reports model \"%2\"; this program is for %3 (%4)")
                .arg(device, id.modelId, QStringLiteral("MX806"), modelDisplayName(QStringLiteral("MX806"))));
        break;
    case SessionOutcome::IncompatibleFirmware:
        ctx.say(QStringLiteral("the radio on %1 has firmware %2; this is software version %3")
                    .arg(device, VersionTable::shown(id.firmware),
                         VersionTable::shown(QString::fromLatin1(VersionTable::ThisVersion))));
        if (const QString problem = versionTableProblem(ctx.installRoot); !problem.isEmpty())
            ctx.say(problem);
        else
            ctx.say(handoverHint(app.versions, ctx.installRoot, id.firmware));
        break;
    }
    if (identity && outcome == SessionOutcome::Completed) *identity = id;
    if (radioMemory && outcome == SessionOutcome::Completed) *radioMemory = session.radioMemory();
    return exitFor(outcome);
}

QString noPortChosen(Context& ctx)
{
    const Settings& settings = ctx.app.settings;
    const QString kept =
        settings.comPortText.isEmpty() ? QString::number(settings.comPort) : printable(settings.comPortText);
    const bool number = kept == QLatin1String("0");
    return QStringLiteral("no port chosen (comPort is %1 in %2%3)")
        .arg(kept, ctx.app.settingsPath(),
             number ? QString() : QStringLiteral("; ports are numbered 1 to %1").arg(Settings::MaxComPort));
}

bool loadDataFile(Context& ctx, const QString& path, datafile::Unfinished unfinished)
{
    const datafile::LoadStatus status =
        datafile::loadDataFile(ctx.app.image, path, ctx.app.versions, ctx.app.messenger, nullptr, unfinished);
    if (status == datafile::LoadStatus::Ok) return true;
    if (status == datafile::LoadStatus::Incompatible) {
        QFile file(path);
        const QString tag = file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.read(4)) : QString();
        if (const QString problem = versionTableProblem(ctx.installRoot); !problem.isEmpty())
            ctx.say(problem);
        else
            ctx.sayAbout(path, QStringLiteral("data version %1; ").arg(VersionTable::shown(tag)) +
                                   handoverHint(ctx.app.versions, ctx.installRoot, tag));
    } else if (const QString detail = refusalDetail(path, status); !detail.isEmpty()) {
        ctx.sayAbout(path, detail);
    }
    return false;
}

bool checkChannelFile(Context& ctx, const QString& path, bool refuse)
{
    const ChannelShortfall s = channelShortfall(path, ctx.app.image);
    if (s.missing() <= 0) return true;
    const QString what = QStringLiteral("%1: %2; %3 of the %4 channels that %5 counts are missing")
                             .arg(s.channelFile, s.reason)
                             .arg(s.missing())
                             .arg(s.counted)
                             .arg(datafile::fileTitle(path));
    if (!refuse) {
        ctx.say(QStringLiteral("warning: ") + what);
        return true;
    }
    ctx.say(what);
    ctx.say(QStringLiteral("nothing written: the radio would lose those channels"));
    return false;
}

void warnFrequencies(Context& ctx)
{
    for (const QString& line : frequencyWarnings(ctx.app.image))
        ctx.say(QStringLiteral("warning: ") + line);
}

void warnRenumbering(Context& ctx)
{
    const QString note = renumberNote(renumberedByWrite(ctx.app.image), English);
    if (note.isEmpty()) return;
    QStringList lines = note.split(QStringLiteral("\r\n"));
    lines.first()[0] = lines.first()[0].toLower();
    for (const QString& line : std::as_const(lines))
        ctx.say(QStringLiteral("warning: ") + line);
}

bool checkOutput(Context& ctx, const QString& path)
{
    const QString problem = writeProblem(path);
    if (problem.isEmpty()) return true;
    ctx.app.messenger.ask(TextId::FileError);
    ctx.sayAbout(path, problem);
    return false;
}

bool checkDataOutput(Context& ctx, const QString& path)
{
    for (const QString& file : datafile::savedFiles(path))
        if (!checkOutput(ctx, file)) return false;
    return true;
}

int saveDataOutput(Context& ctx, RadioImage& image, const QString& path)
{
    QString reason;
    if (datafile::saveDataFile(image, path, ctx.app.messenger, &reason)) return ExitOk;
    ctx.sayAbout(path, reason);
    return ExitRefused;
}

int writeOutput(Context& ctx, const QString& path, const QByteArray& bytes)
{
    QString reason;
    if (filewrite::writeFile(path, bytes, &reason)) return ExitOk;
    ctx.app.messenger.ask(TextId::FileError);
    ctx.sayAbout(path, reason);
    return ExitRefused;
}

} // namespace mx::cli
