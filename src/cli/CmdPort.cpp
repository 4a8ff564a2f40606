// mx806 port [DEV]: the serial ports of the system and the one the programs use.

#include "cli/Cli.h"
#include "link/PortNames.h"

namespace mx::cli {

namespace {

int runPort(Context& ctx)
{
    ctx.startUp();
    Settings& settings = ctx.app.settings;
    if (ctx.args.isEmpty()) {
        for (const ports::PortEntry& p : ports::availablePorts())
            ctx.out << p.shown << "  " << p.deviceName
                    << (p.description.isEmpty() ? QString() : QStringLiteral("  ") + p.description) << '\n';
        const QString device = ports::deviceFor(settings.comPort, settings.comPortName);
        ctx.out << "radio port: " << (device.isEmpty() ? QStringLiteral("none") : device) << Qt::endl;
        return ExitOk;
    }

    const QString chosen = ctx.args.first().trimmed();
    bool isNumber = false;
    const int number = chosen.toInt(&isNumber);
    const int com = isNumber ? number : ports::comNumber(chosen);
    if (com > 0 && !chosen.contains(QLatin1Char('/'))) {
        // A port number keeps its meaning for every version of the program.
        settings.comPort = com;
        settings.comPortName.clear();
    } else if (!chosen.isEmpty() && !isNumber &&
               (!chosen.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) ||
                chosen.contains(QLatin1Char('/')))) {
        // A device path has no number: it goes under its own key, comPort stays.
        settings.comPortName = chosen;
    } else {
        // Port 0, or a COM name without a port number ("COM0", "COMx"): nothing changes.
        return ctx.usageError(QStringLiteral("no such port: %1").arg(chosen));
    }
    if (!settings.saveComPort(ctx.app.settingsPath())) {
        ctx.say(ctx.app.messenger.text(TextId::FileError) + QStringLiteral(" (") + ctx.app.settingsPath() +
                QLatin1Char(')'));
        return ExitRefused;
    }
    ctx.out << "radio port: " << ports::deviceFor(settings.comPort, settings.comPortName) << Qt::endl;
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
