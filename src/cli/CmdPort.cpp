// mx806 port [DEV]: the serial ports of the system and the one the programs use.

#include "cli/Problems.h"
#include "cli/Transfer.h"
#include "link/PortNames.h"

#include <QFileInfo>

namespace mx::cli {

namespace {

int runPort(Context& ctx)
{
    ctx.startUp();
    Settings& settings = ctx.app.settings;
    auto kept = [&settings] {
        if (!settings.comPortName.trimmed().isEmpty()) return settings.comPortName.trimmed();
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
        const bool exists =
            QFileInfo::exists(chosen) ||
            (!chosen.contains(QLatin1Char('/')) && QFileInfo::exists(QStringLiteral("/dev/") + chosen));
        if (!exists) {
            ctx.say(QStringLiteral("no port %1: no such device").arg(chosen));
            return ExitRefused;
        }
        settings.comPortName = chosen;
    }
    if (!settings.saveComPort(ctx.app.settingsPath())) {
        ctx.app.messenger.ask(TextId::FileError);
        ctx.sayAbout(ctx.app.settingsPath(), writeProblem(ctx.app.settingsPath()));
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
