#include "cli/Cli.h"

#include "data/Defaults.h"
#include "data/VersionTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace mx::cli {

Context::Context(QString programDir, QString installRoot, bool rootGiven)
    : programDir(std::move(programDir)), installRoot(std::move(installRoot)), rootGiven(rootGiven),
      out(stdout), err(stderr), prompter(&err), app(prompter)
{
    app.programDir = this->programDir;
    app.installRoot = this->installRoot;
    app.messenger.setLanguage(English);
}

bool Context::loadVersions()
{
    return app.versions.load(QDir(installRoot).filePath(QStringLiteral("Version.ini")));
}

void Context::startUp()
{
    const SystemLocale locale;
    if (!rootGiven) {
        app.startUp(programDir, locale);
    } else {
        // App::startUp with the install root taken from the command line.
        app.programDir = programDir;
        app.installRoot = installRoot;
        loadVersions();
        app.image.work.tag.set(QString::fromLatin1(VersionTable::ThisVersion));
        app.settings.load(app.settingsPath(), locale);
        app.messenger.pending().clear();
        app.image.modelCode = QStringLiteral("MX806");
        app.image.work.rangeMode = 0;
        app.image.setRangeFamily(0);
        app.image.versionTag = QString::fromLatin1(VersionTable::ThisVersion);
        app.image.modelName = modelDisplayName(app.image.modelCode);
        defaults::initAll(app.image, programDir);
    }
    // The command line speaks the system's English texts whatever the settings say.
    app.messenger.setLanguage(English);
}

Dispatcher::Dispatcher(QString programName) : m_programName(std::move(programName)) {}

void Dispatcher::add(const Command& command)
{
    m_commands.append(command);
}

void Dispatcher::add(const QString& name, const QString& arguments, const QString& summary,
                     std::function<int(const QStringList&)> run)
{
    Command c;
    c.name = name;
    c.arguments = arguments;
    c.summary = summary;
    c.maxArgs = -1;
    c.runArgs = std::move(run);
    m_commands.append(c);
}

const Command* Dispatcher::find(const QString& name) const
{
    for (const Command& c : m_commands)
        if (c.name == name) return &c;
    return nullptr;
}

QString Dispatcher::usage() const
{
    QString text;
    QTextStream s(&text);
    s << "Programming tool of the MX-806TR radio.\n\n"
      << "usage: " << m_programName << " [--root DIR] COMMAND [OPTIONS] [ARGUMENTS]\n"
      << "       " << m_programName << " help [COMMAND]\n\n"
      << "Commands:\n";
    int width = 0;
    for (const Command& c : m_commands)
        width = qMax(width, int((c.name + QLatin1Char(' ') + c.arguments).size()));
    for (const Command& c : m_commands)
        s << "  " << QString(c.name + QLatin1Char(' ') + c.arguments).leftJustified(width + 2) << c.summary
          << '\n';
    s << "\nOptions of every command:\n"
      << "  --root DIR   install root holding Version.ini and language/mysetup.ini\n"
      << "               (default: the folder above the program's folder)\n"
      << "  --help       show the help of a command (also: help COMMAND)\n\n"
      << "Exit status: 0 done, 1 wrong command line, 2 a file refused or unreadable\n"
      << "or the operation failed.\n";
    return text;
}

QString Dispatcher::commandHelp(const Command& command) const
{
    QString text;
    QTextStream s(&text);
    s << "usage: " << m_programName << ' ' << command.name;
    if (!command.options.isEmpty()) s << " [OPTIONS]";
    if (!command.arguments.isEmpty()) s << ' ' << command.arguments;
    s << "\n\n" << command.summary << '\n';
    if (command.runArgs) {
        if (!m_usageText.isEmpty()) s << '\n' << m_usageText;
        return text;
    }
    s << "\nOptions:\n";
    QList<Option> options = command.options;
    options.append({QStringLiteral("root"), QStringLiteral("DIR"), QStringLiteral("install root")});
    options.append({QStringLiteral("help"), QString(), QStringLiteral("show this help")});
    int width = 0;
    for (const Option& o : options)
        width = qMax(width, int(o.name.size() + o.valueName.size() + 3));
    for (const Option& o : options) {
        QString head = QStringLiteral("--") + o.name;
        if (!o.valueName.isEmpty()) head += QLatin1Char(' ') + o.valueName;
        s << "  " << head.leftJustified(width + 2) << o.help << '\n';
    }
    return text;
}

int Dispatcher::run(const QStringList& arguments)
{
    return run(arguments, QCoreApplication::applicationDirPath());
}

int Dispatcher::run(const QStringList& arguments, const QString& programDir)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    auto usageError = [&](const QString& message, const Command* command) {
        if (!message.isEmpty()) err << m_programName << ": " << message << '\n';
        err << (command ? commandHelp(*command) : usage());
        err.flush();
        return int(ExitUsage);
    };

    QString root;
    bool rootGiven = false;
    auto takeRoot = [&](const QString& value) {
        root = value;
        rootGiven = true;
        return !value.isEmpty();
    };

    const int n = int(arguments.size());
    int i = 1;
    // Options in front of the command.
    for (; i < n && arguments[i].startsWith(QLatin1Char('-')); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            out << usage();
            return ExitOk;
        }
        if (a == QLatin1String("--root")) {
            if (i + 1 >= n || !takeRoot(arguments[i + 1]))
                return usageError(QStringLiteral("--root needs a folder"), nullptr);
            ++i;
        } else if (a.startsWith(QLatin1String("--root="))) {
            if (!takeRoot(a.mid(7))) return usageError(QStringLiteral("--root needs a folder"), nullptr);
        } else {
            return usageError(QStringLiteral("unknown option %1").arg(a), nullptr);
        }
    }
    if (i >= n) return usageError(QString(), nullptr);

    const QString name = arguments[i++];
    if (name == QLatin1String("help")) {
        if (i < n) {
            if (const Command* c = find(arguments[i])) {
                out << commandHelp(*c);
                return ExitOk;
            }
            return usageError(QStringLiteral("unknown command %1").arg(arguments[i]), nullptr);
        }
        out << usage();
        return ExitOk;
    }
    const Command* command = find(name);
    if (!command) return usageError(QStringLiteral("unknown command %1").arg(name), nullptr);

    if (command->runArgs) {
        const QStringList rest = arguments.mid(i);
        if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
            out << commandHelp(*command);
            return ExitOk;
        }
        QStringList passed;
        if (rootGiven) passed << QStringLiteral("--root") << root;
        out.flush();
        err.flush();
        return command->runArgs(passed + rest);
    }

    QStringList positional;
    QMap<QString, QString> options;
    bool optionsEnded = false;
    for (; i < n; ++i) {
        const QString& a = arguments[i];
        if (optionsEnded || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional.append(a);
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            out << commandHelp(*command);
            return ExitOk;
        }
        if (!a.startsWith(QLatin1String("--")))
            return usageError(QStringLiteral("unknown option %1").arg(a), command);
        QString optName = a.mid(2);
        QString optValue;
        bool inlineValue = false;
        if (const qsizetype eq = optName.indexOf(QLatin1Char('=')); eq >= 0) {
            optValue = optName.mid(eq + 1);
            optName.truncate(eq);
            inlineValue = true;
        }
        auto takeValue = [&]() {
            if (inlineValue) return true;
            if (i + 1 >= n) return false;
            optValue = arguments[++i];
            return true;
        };
        if (optName == QLatin1String("root")) {
            if (!takeValue() || !takeRoot(optValue))
                return usageError(QStringLiteral("--root needs a folder"), command);
            continue;
        }
        const Option* option = nullptr;
        for (const Option& o : command->options)
            if (o.name == optName) option = &o;
        if (!option) return usageError(QStringLiteral("unknown option --%1").arg(optName), command);
        if (option->valueName.isEmpty()) {
            if (inlineValue) return usageError(QStringLiteral("--%1 takes no value").arg(optName), command);
        } else if (!takeValue()) {
            return usageError(QStringLiteral("--%1 needs %2").arg(optName, option->valueName), command);
        }
        options.insert(optName, optValue);
    }
    if (positional.size() < command->minArgs ||
        (command->maxArgs >= 0 && positional.size() > command->maxArgs))
        return usageError(QStringLiteral("wrong number of arguments for %1").arg(command->name), command);

    const QString dir = QDir::cleanPath(programDir);
    const QString installRoot = rootGiven ? QDir::cleanPath(QDir(root).absolutePath()) : installRootOf(dir);
    Context context(dir, installRoot, rootGiven);
    context.args = positional;
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        context.setOption(it.key(), it.value());
    const int status = command->run(context);
    context.out.flush();
    context.err.flush();
    return status;
}

} // namespace mx::cli
