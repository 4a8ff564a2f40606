#pragma once

#include "cli/CliPrompter.h"
#include "shell/Startup.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace mx::cli {

// Exit status of every subcommand.
enum ExitCode : int {
    ExitOk = 0,      // done
    ExitUsage = 1,   // wrong command line
    ExitRefused = 2, // a file was refused or could not be read or written; the operation failed
};

// An option of a subcommand: "--name" (a flag) or "--name VALUE" / "--name=VALUE".
struct Option
{
    QString name;      // without the leading "--"
    QString valueName; // empty for a flag
    QString help;
};

class Context;

// One subcommand. Each lives in its own Cmd*.cpp file, which provides a
// function returning this description, and main.cpp registers it.
struct Command
{
    QString name;
    QString arguments; // synopsis of the positional arguments, e.g. "FILE.dat"
    QString summary;   // one line for the usage text
    int minArgs = 0;
    int maxArgs = 0; // -1: any number
    QList<Option> options;
    std::function<int(Context&)> run;
    // Alternative to run for a subcommand that reads its own command line:
    // it gets every argument after its name unparsed (a --root given in
    // front of the name is passed on as "--root DIR").
    std::function<int(const QStringList&)> runArgs;
};

// What a running subcommand gets: its arguments, the program's folders, the
// streams and the core objects (App) talking through a CliPrompter.
class Context
{
public:
    Context(QString programDir, QString installRoot, bool rootGiven);

    QStringList args; // positional arguments

    // Options given on the command line (flags map to an empty value).
    bool isSet(const QString& option) const { return m_options.contains(option); }
    QString value(const QString& option, const QString& def = {}) const
    {
        return m_options.value(option, def);
    }
    void setOption(const QString& option, const QString& value) { m_options.insert(option, value); }

    const QString programDir;  // folder of the running program (holds Init/)
    const QString installRoot; // its parent, or the folder given with --root
    const bool rootGiven;      // --root was given

    QTextStream out;
    QTextStream err;
    CliPrompter prompter;
    App app; // messages in English, answered by prompter

    // Loads <install root>/Version.ini into app.versions; false when it is missing.
    bool loadVersions();
    // The desktop program's start-up: version table, settings and the default
    // image (with the new-image template) under this install root. Messages stay English.
    void startUp();

private:
    QMap<QString, QString> m_options;
};

// Parses the command line and runs the chosen subcommand.
class Dispatcher
{
public:
    explicit Dispatcher(QString programName = QStringLiteral("mx806"));

    void add(const Command& command);
    // A subcommand that parses its own arguments.
    void add(const QString& name, const QString& arguments, const QString& summary,
             std::function<int(const QStringList&)> run);
    // Details shown in the help of the subcommands that parse their own arguments.
    void addUsageText(const QString& text) { m_usageText += text; }
    const Command* find(const QString& name) const;

    // arguments: the whole command line, program name first. Returns the exit status.
    int run(const QStringList& arguments);
    // Runs with explicit folders (tests); run() takes them from the executable.
    int run(const QStringList& arguments, const QString& programDir);

    QString usage() const;
    QString commandHelp(const Command& command) const;

private:
    QString m_programName;
    QList<Command> m_commands;
    QString m_usageText;
};

} // namespace mx::cli
