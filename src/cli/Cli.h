#pragma once

#include "app/Startup.h"
#include "cli/CliPrompter.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace mx::cli {

// Exit status of every subcommand.
enum ExitCode : int {
    ExitOk = 0,           // done
    ExitUsage = 1,        // wrong command line
    ExitRefused = 2,      // a file or image was refused or could not be read or written
    ExitNoAnswer = 3,     // the radio did not answer, the port could not be opened, or cancelled
    ExitWrongModel = 4,   // the radio is another model
    ExitIncompatible = 5, // the radio's firmware does not go with this software
    ExitVerifyFailed = 6, // the radio read back after a write holds something else
    ExitDifferent = 7,    // diff: the two images differ
};

// An option of a subcommand: "--name" (a flag) or "--name VALUE" / "--name=VALUE",
// and "-s VALUE" when it has a short name.
struct Option
{
    QString name;      // without the leading "--"
    QString valueName; // empty for a flag
    QString help;
    QString shortName = {}; // one letter, without the "-"
    bool required = false;
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
};

// What a running subcommand gets: its arguments and options, the program's
// folders, the streams and the core objects (App) talking through a CliPrompter.
class Context
{
public:
    Context(QString programDir, QString installRoot, QString help = {});

    QStringList args; // positional arguments

    // Options given on the command line by their long name (flags map to an empty value).
    bool isSet(const QString& option) const { return m_options.contains(option); }
    QString value(const QString& option, const QString& def = {}) const
    {
        return m_options.value(option, def);
    }
    void setOption(const QString& option, const QString& value) { m_options.insert(option, value); }
    // A whole-number option of at least minimum; def when not given. False when
    // the value is no such number.
    bool intValue(const QString& option, int def, int minimum, int& value) const;

    QString commandName; // the running subcommand

    const QString programDir;  // folder of the running program (holds Init/)
    const QString installRoot; // its parent, or the folder given with --root
    const QString help;        // the running subcommand's help text

    QTextStream out;
    QTextStream err;
    CliPrompter prompter;
    App app; // messages in English, answered by prompter

    // -q: no progress and no news, only errors and warnings.
    bool quiet() const { return isSet(QStringLiteral("quiet")); }

    // Prints "mx806: text" on the error stream.
    void say(const QString& text);
    // Prints "mx806: FILE: reason".
    void sayAbout(const QString& file, const QString& reason);
    // A wrong command line found by the subcommand: the message and where to
    // find the command's help; ExitUsage.
    int usageError(const QString& message);

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
    const Command* find(const QString& name) const;

    // arguments: the whole command line, program name first. Returns the exit status.
    int run(const QStringList& arguments);
    // Runs with an explicit program folder (tests); run() takes it from the executable.
    int run(const QStringList& arguments, const QString& programDir);

    QString usage() const;
    QString commandHelp(const Command& command) const;
    // "mx806 V1.00 ..." for --version.
    QString versionText() const;
    // The name among candidates nearest to a mistyped one (a few letters off or
    // its beginning), or "" when none is close.
    static QString nearest(const QString& typed, const QStringList& candidates);
    // The subcommand a command line names (after the options in front of it), or "".
    static QString commandIn(const QStringList& arguments);

private:
    QString m_programName;
    QList<Command> m_commands;
};

// The subcommands, one Cmd*.cpp file each.
Command showCommand();
Command readCommand();
Command writeCommand();
Command multiWriteCommand();
Command infoCommand();
Command encodeCommand();
Command decodeCommand();
Command portCommand();
Command exportCommand();
Command importCommand();
Command setCommand();
Command diffCommand();
Command printCommand();

} // namespace mx::cli
