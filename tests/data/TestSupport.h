#pragma once

#include "TestPrompter.h"
#include "app/Settings.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>

namespace mx::test {

// Records the programs it is asked to start and the quits, instead of doing them.
class RecordingLauncher : public Launcher
{
public:
    bool startResult = true;
    QStringList started;
    int quits = 0;

    bool start(const QString& programPath) override
    {
        started.append(programPath);
        return startResult;
    }
    void quit() override { ++quits; }
};

// A system whose language the test chooses.
class FixedLocale : public SystemLocale
{
public:
    explicit FixedLocale(int language) : m_language(language) {}
    int systemLanguage() const override { return m_language; }

private:
    int m_language;
};

// Writes bytes to path, creating its folder first.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// While it lives, files this process writes may grow to `bytes` only, as on a
// full disk: a write beyond fails with "File too large".
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

inline QByteArray le16(qint16 v)
{
    char b[2];
    qToLittleEndian<qint16>(v, b);
    return QByteArray(b, 2);
}

} // namespace mx::test
