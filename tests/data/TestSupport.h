#pragma once

#include "TestPrompter.h"
#include "data/VersionTable.h"
#include "texts/Messenger.h"
#include "app/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QtEndian>

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

inline QByteArray le16(qint16 v)
{
    char b[2];
    qToLittleEndian<qint16>(v, b);
    return QByteArray(b, 2);
}

} // namespace mx::test
