#pragma once

// Drives the real programs: the radio emulator on a pseudo-terminal and the
// command line talking to it.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace e2e {

// Folder of the installed programs (MX_BIN_DIR, set by CTest).
QString binDir();
// Install root (MX_DIST_DIR): Version.ini.
QString distDir();
// A data file to write: the new-image template of a range family.
QString templateFile(int family);

// mx806-radiosim running on a pseudo-terminal; stopped when destroyed.
class Emulator
{
public:
    explicit Emulator(const QString& workDir);
    ~Emulator() { stop(); }

    // Starts with the given options (plus --log); returns false when no device came up.
    bool start(const QStringList& options);
    void stop();
    QString device() const { return m_device; }
    // Every line logged so far.
    QStringList log() const;
    // The addresses of the blocks the radio was asked for ("R") or stored ("W"), in order.
    QStringList blocks(char kind) const;

private:
    QString m_logPath;
    QProcess m_process;
    QString m_device;
};

struct Result
{
    int exitCode = -1;
    bool finished = false;
    QByteArray out;
    QByteArray err;
};

// Runs mx806 with the arguments and waits for it to end; with fileLimitKb its
// files may grow to that many KiB only, as on a full disk.
Result runMx806(const QStringList& args, int timeoutMs = 60000, int fileLimitKb = 0);

// A radio memory with no channels: erased cells, the settings area zeroed.
QByteArray emptyRadio();
// Puts a channel in slot `slot` of range family m, band b: frequency as six
// digits in units of 100 Hz, optionally with a CTCSS code.
void putChannel(QByteArray& memory, int m, int b, int slot, const QByteArray& digits, int ctcss = -1);

// An install root in dir: Version.ini and the settings file with the given text.
void makeRoot(const QString& dir, const QByteArray& settings);

QByteArray readAll(const QString& path);
bool writeAll(const QString& path, const QByteArray& bytes);

} // namespace e2e
