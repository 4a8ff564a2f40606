#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

namespace mx {

class Messenger;

// The table of installed software versions (Version.ini in the install root):
// which data and firmware versions each software version handles.
class VersionTable
{
public:
    static constexpr const char* ThisVersion = "V100";

    // Reads Version.ini; a missing file or count gives an empty table (nothing compatible).
    bool load(const QString& iniPath);

    QString currentVersion;
    QStringList softVersions;
    QList<QPair<QString, QString>> pairs; // (software, handled version), file order

    bool isCompatible(const QString& software, const QString& other) const;
    // Software version of the first pair handling other, or "".
    QString softwareFor(const QString& other) const;

    // "V100" -> "V1.00".
    static QString shown(const QString& version);
    // kind 0: a radio's firmware; kind 1: a data file.
    static QString incompatibleMessage(const QString& software, const QString& other, int kind, int language);
};

// Starts another program; quit() ends this one. Tests record the calls.
class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual bool start(const QString& programPath) = 0;
    virtual void quit() = 0;
};

// Starts the program detached and ends this one: the event loop returns 0
// (no window asks anything on the way out), or the process exits at once when
// no event loop runs.
class ProcessLauncher : public Launcher
{
public:
    bool start(const QString& programPath) override;
    void quit() override;
};

// Install root: the folder that contains the program's folder.
QString installRootOf(const QString& programDir);

// Everything StartSoftwareFor needs besides the table.
struct Handover
{
    QString installRoot;
    QString executableName; // this program's file name (with ".exe" on Windows)
    Launcher* launcher = nullptr;
    // Runs before the other version starts; false stays here (the user
    // cancelled saving unsaved changes). Closing the serial port goes here too.
    std::function<bool()> beforeHandover;
};

// Starts the software version that handles other and ends this program, or
// shows "Fail to start the software. This version does not exist.".
// Returns false when this program goes on.
bool startSoftwareFor(const QString& other, const VersionTable& table, const Handover& handover,
                      Messenger& messenger);

} // namespace mx
