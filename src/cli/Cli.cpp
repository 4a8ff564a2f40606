#include "cli/Cli.h"

#include "data/VersionTable.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace mx::cli {

namespace {

// "-o" or "--port": how the option is usually written.
QString shownName(const Option& o)
{
    return o.shortName.isEmpty() ? QStringLiteral("--") + o.name : QStringLiteral("-") + o.shortName;
}

// "read --port DEV -o FILE.dat [--retries N]", "encode FILE.dat -o MEMORY.bin": the
// required long options, the arguments, the required short options, then the optional ones.
QString synopsis(const Command& c)
{
    QStringList parts{c.name};
    for (int rank = 0; rank < 4; ++rank) {
        if (rank == 1 && !c.arguments.isEmpty()) parts.append(c.arguments);
        for (const Option& o : c.options) {
            if (rank != (!o.required ? 3 : o.shortName.isEmpty() ? 0 : 2)) continue;
            QString part = shownName(o);
            if (!o.valueName.isEmpty()) part += QLatin1Char(' ') + o.valueName;
            parts.append(o.required ? part : QLatin1Char('[') + part + QLatin1Char(']'));
        }
    }
    return parts.join(QLatin1Char(' '));
}

const Option rootOption{QStringLiteral("root"), QStringLiteral("DIR"),
                        QStringLiteral("install root holding Version.ini and language/mysetup.ini")};
const Option helpOption{QStringLiteral("help"), QString(), QStringLiteral("show this help"),
                        QStringLiteral("h")};

} // namespace

Context::Context(QString programDir, QString installRoot, QString help)
    : programDir(std::move(programDir)), installRoot(std::move(installRoot)), help(std::move(help)),
      out(stdout), err(stderr), prompter(&err), app(prompter)
{
    app.programDir = this->programDir;
    app.installRoot = this->installRoot;
    app.messenger.setLanguage(English);
}

bool Context::intValue(const QString& option, int def, int minimum, int& value) const
{
    value = def;
    if (!isSet(option)) return true;
    bool ok = false;
    value = this->value(option).toInt(&ok);
    return ok && value >= minimum;
}

void Context::say(const QString& text)
{
    err << "mx806: " << text << Qt::endl;
}

void Context::sayAbout(const QString& file, const QString& reason)
{
    say(file + QStringLiteral(": ") + reason);
}

int Context::usageError(const QString& message)
{
    say(message);
    say(QStringLiteral("see 'mx806 help %1'").arg(commandName));
    err.flush();
    return ExitUsage;
}

bool Context::loadVersions()
{
    return app.versions.load(QDir(installRoot).filePath(QStringLiteral("Version.ini")));
}

void Context::startUp()
{
    app.startUp(programDir, installRoot, SystemLocale());
    // The command line speaks the system's English texts whatever the settings say.
    app.messenger.setLanguage(English);
}

Dispatcher::Dispatcher(QString programName) : m_programName(std::move(programName)) {}

void Dispatcher::add(const Command& command)
{
    m_commands.append(command);
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
    for (const Command& c : m_commands)
        s << "  " << m_programName << ' ' << synopsis(c) << "\n      " << c.summary << '\n';
    s << "\nOptions of every command:\n"
      << "  --root DIR     install root holding Version.ini and language/mysetup.ini\n"
      << "                 (default: the folder above the program's folder)\n"
      << "  -h, --help     show the help of a command (also: help COMMAND)\n"
      << "  -V, --version  show the program's version\n\n"
      << "Exit status: 0 done, 1 wrong command line, 2 a file or image refused or unreadable,\n"
      << "3 no answer from the radio, port not opened or cancelled, 4 wrong model,\n"
      << "5 incompatible firmware, 6 the radio read back differs (--verify), 7 diff: images differ.\n";
    return text;
}

QString Dispatcher::versionText() const
{
    const QString version = QString::fromLatin1(VersionTable::ThisVersion);
    return QStringLiteral("%1 %2 (MX-806TR programming software, data version %3)\n")
        .arg(m_programName, VersionTable::shown(version), version);
}

QString Dispatcher::nearest(const QString& typed, const QStringList& candidates)
{
    // Edit distance (insertions, deletions, substitutions, swapped neighbours).
    auto distance = [](const QString& a, const QString& b) {
        const int n = int(a.size()), m = int(b.size());
        QList<QList<int>> d(n + 1, QList<int>(m + 1, 0));
        for (int i = 0; i <= n; ++i)
            d[i][0] = i;
        for (int j = 0; j <= m; ++j)
            d[0][j] = j;
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= m; ++j) {
                const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
                d[i][j] = qMin(qMin(d[i - 1][j] + 1, d[i][j - 1] + 1), d[i - 1][j - 1] + cost);
                if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                    d[i][j] = qMin(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
        return d[n][m];
    };
    const QString word = typed.toLower();
    const QString bareWord = QString(word).remove(QLatin1Char('-'));
    QString best;
    int bestDistance = 3; // at most two letters off
    for (const QString& c : candidates) {
        // The beginning of a name, dashes aside ("multiwrite", "--ret").
        if (bareWord.size() >= 2 && QString(c).remove(QLatin1Char('-')).startsWith(bareWord)) return c;
        const int d = distance(word, c);
        if (d < bestDistance && d < int(c.size()) - 1) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

QString Dispatcher::commandHelp(const Command& command) const
{
    QString text;
    QTextStream s(&text);
    s << "usage: " << m_programName << ' ' << synopsis(command) << "\n\n"
      << command.summary << "\n\nOptions:\n";
    QList<Option> options = command.options;
    options << rootOption << helpOption;
    QStringList heads;
    int width = 0;
    for (const Option& o : options) {
        QString head = QStringLiteral("--") + o.name;
        if (!o.shortName.isEmpty()) head = QStringLiteral("-") + o.shortName + QStringLiteral(", ") + head;
        if (!o.valueName.isEmpty()) head += QLatin1Char(' ') + o.valueName;
        heads.append(head);
        width = qMax(width, int(head.size()));
    }
    for (int k = 0; k < options.size(); ++k) {
        // Long help texts continue on indented lines.
        QString help = options[k].help;
        help.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(width + 4, QLatin1Char(' ')));
        s << "  " << heads[k].leftJustified(width + 2) << help << '\n';
    }
    return text;
}

QString Dispatcher::commandIn(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(QLatin1Char('-'))) return arguments[i];
        if (arguments[i] == QLatin1String("--root")) ++i; // its folder follows
    }
    return {};
}

int Dispatcher::run(const QStringList& arguments)
{
    return run(arguments, QCoreApplication::applicationDirPath());
}

int Dispatcher::run(const QStringList& arguments, const QString& programDir)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    // One line naming what is wrong, a guess where one is close, and where the help is.
    auto usageError = [&](const QString& message, const Command* command, const QString& guess = {}) {
        err << m_programName << ": " << message;
        if (!guess.isEmpty()) err << " (did you mean " << guess << "?)";
        err << '\n'
            << m_programName << ": see '" << m_programName << " help"
            << (command ? QLatin1Char(' ') + command->name : QString()) << "'\n";
        err.flush();
        return int(ExitUsage);
    };
    QStringList commandNames{QStringLiteral("help")};
    for (const Command& c : m_commands)
        commandNames.append(c.name);
    const QStringList frontOptions{QStringLiteral("--root"), QStringLiteral("--help"),
                                   QStringLiteral("--version")};

    QString root;
    const int n = int(arguments.size());
    int i = 1;
    // Options in front of the command.
    for (; i < n && arguments[i].startsWith(QLatin1Char('-')); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            out << usage();
            return ExitOk;
        }
        if (a == QLatin1String("-V") || a == QLatin1String("--version")) {
            out << versionText();
            return ExitOk;
        }
        if (a == QLatin1String("--root") && i + 1 < n) {
            root = arguments[++i];
        } else if (a.startsWith(QLatin1String("--root="))) {
            root = a.mid(7);
        } else if (a != QLatin1String("--root")) {
            const QString typed = a.section(QLatin1Char('='), 0, 0);
            return usageError(QStringLiteral("unknown option %1").arg(typed), nullptr,
                              nearest(typed, frontOptions));
        }
        if (root.isEmpty()) return usageError(QStringLiteral("--root needs a folder"), nullptr);
    }
    if (i >= n) {
        err << usage();
        err.flush();
        return ExitUsage;
    }

    const QString name = arguments[i++];
    if (name == QLatin1String("help")) {
        if (i + 1 < n) return usageError(QStringLiteral("help takes one command"), nullptr);
        if (i < n) {
            if (arguments[i] == QLatin1String("help")) {
                out << "usage: " << m_programName << " help [COMMAND]\n\n"
                    << "Shows the commands, or the options of one command.\n";
                return ExitOk;
            }
            if (const Command* c = find(arguments[i])) {
                out << commandHelp(*c);
                return ExitOk;
            }
            return usageError(QStringLiteral("unknown command %1").arg(arguments[i]), nullptr,
                              nearest(arguments[i], commandNames));
        }
        out << usage();
        return ExitOk;
    }
    const Command* command = find(name);
    if (!command)
        return usageError(QStringLiteral("unknown command %1").arg(name), nullptr,
                          nearest(name, commandNames));

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
        QString optName;
        QString optValue;
        bool inlineValue = false;
        const bool isLong = a.startsWith(QLatin1String("--"));
        if (isLong) {
            optName = a.mid(2);
            if (const qsizetype eq = optName.indexOf(QLatin1Char('=')); eq >= 0) {
                optValue = optName.mid(eq + 1);
                optName.truncate(eq);
                inlineValue = true;
            }
        }
        const Option* option = nullptr;
        if (isLong && optName == rootOption.name) option = &rootOption;
        for (const Option& o : command->options)
            if (isLong ? o.name == optName : a.size() == 2 && o.shortName == a.mid(1)) option = &o;
        if (!option) {
            const QString typed = a.section(QLatin1Char('='), 0, 0);
            QStringList known{QStringLiteral("--root"), QStringLiteral("--help")};
            for (const Option& o : command->options)
                known << QStringLiteral("--") + o.name;
            if (!isLong) {
                known.clear();
                for (const Option& o : command->options)
                    if (!o.shortName.isEmpty()) known << QStringLiteral("-") + o.shortName;
            }
            return usageError(QStringLiteral("unknown option %1 for %2").arg(typed, command->name), command,
                              nearest(typed, known));
        }

        const QString shown = isLong ? QStringLiteral("--") + optName : a;
        if (option->valueName.isEmpty()) {
            if (inlineValue) return usageError(QStringLiteral("%1 takes no value").arg(shown), command);
        } else {
            if (!inlineValue && i + 1 < n) optValue = arguments[++i];
            if (optValue.isEmpty()) {
                return usageError(option == &rootOption
                                      ? QStringLiteral("--root needs a folder")
                                      : QStringLiteral("%1 needs %2").arg(shown, option->valueName),
                                  command);
            }
        }
        if (option == &rootOption)
            root = optValue;
        else
            options.insert(option->name, optValue);
    }
    for (const Option& o : command->options)
        if (o.required && !options.contains(o.name))
            return usageError(QStringLiteral("%1 is required").arg(shownName(o)), command);
    if (positional.size() < command->minArgs ||
        (command->maxArgs >= 0 && positional.size() > command->maxArgs))
        return usageError(QStringLiteral("wrong number of arguments for %1").arg(command->name), command);

    const QString dir = QDir::cleanPath(programDir);
    const QString installRoot =
        root.isEmpty() ? installRootOf(dir) : QDir::cleanPath(QDir(root).absolutePath());
    out.flush();
    err.flush();
    Context context(dir, installRoot, commandHelp(*command));
    context.commandName = command->name;
    context.args = positional;
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        context.setOption(it.key(), it.value());
    const int status = command->run(context);
    context.out.flush();
    context.err.flush();
    return status;
}

} // namespace mx::cli
