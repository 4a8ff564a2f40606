// mx806 port [DEV]: the serial ports of the system and the one the programs use.

#include "cli/Problems.h"
#include "cli/Transfer.h"
#include "link/PortNames.h"
#include "texts/Texts.h"

#include <QFileInfo>

namespace mx::cli {

namespace {

int runPort(Context& ctx)
{
    ctx.startUp();
    Settings& settings = ctx.app.settings;
    auto kept = [&ctx, &settings] {
        if (!settings.comPortName.trimmed().isEmpty()) return printable(settings.comPortName.trimmed());
        if (settings.comPort <= 0) return QStringLiteral("none (%1)").arg(noPortChosen(ctx));
        const PortChoice choice = resolvePort(QString::number(settings.comPort));
        return choice.device.isEmpty() ? QStringLiteral("none (%1)").arg(choice.problem) : choice.device;
    };
    if (ctx.args.isEmpty()) {
        for (const ports::PortEntry& p : ports::availablePorts())
            ctx.out << p.shown << "  " << p.deviceName
                    << (p.description.isEmpty() ? QString() : QStringLiteral("  ") + p.description) << '\n';
        ctx.out << "radio port: " << kept() << Qt::endl;
        return ExitOk;
    }

    const QString chosen = ctx.args.first().trimmed();
    // A name with control characters would break the settings file's lines (and the terminal).
    if (printable(chosen) != chosen) {
        ctx.say(QStringLiteral("no port %1: a port name holds no control characters").arg(printable(chosen)));
        return ExitRefused;
    }
    const PortChoice choice = resolvePort(chosen);
    if (choice.numbered) {
        // A port number keeps its meaning for every version of the program.
        if (choice.device.isEmpty()) {
            ctx.say(choice.problem);
            return ExitRefused;
        }
        settings.comPort = choice.number;
        settings.comPortName.clear();
    } else {
        // A device path has no number: it goes under its own key, comPort stays.
        const QFileInfo device(QFileInfo::exists(chosen) || chosen.contains(QLatin1Char('/'))
                                   ? chosen
                                   : QStringLiteral("/dev/") + chosen);
        if (!device.exists()) {
            ctx.say(QStringLiteral("no port %1: no such device").arg(chosen));
            return ExitRefused;
        }
        // A serial port is a device: a file or a folder would never answer.
        if (device.isFile() || device.isDir()) {
            ctx.say(QStringLiteral("no port %1: %2, not a device")
                        .arg(chosen,
                             device.isDir() ? QStringLiteral("a folder") : QStringLiteral("a regular file")));
            return ExitRefused;
        }
        settings.comPortName = chosen;
    }
    QString reason;
    if (!settings.saveComPort(ctx.app.settingsPath(), &reason)) {
        ctx.app.messenger.ask(TextId::FileError);
        const QString problem = writeProblem(ctx.app.settingsPath());
        ctx.sayAbout(ctx.app.settingsPath(), reason.isEmpty() ? problem : reason);
        return ExitRefused;
    }
    ctx.out << "radio port: " << kept() << Qt::endl;
    return ExitOk;
}

} // namespace

Command portCommand()
{
    Command c;
    c.name = QStringLiteral("port");
    c.arguments = QStringLiteral("[DEV]");
    c.summary =
        QStringLiteral("list the serial ports; with DEV, keep DEV as the radio's port in the settings");
    c.minArgs = 0;
    c.maxArgs = 1;
    c.run = runPort;
    return c;
}

} // namespace mx::cli
