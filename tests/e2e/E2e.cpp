#include "E2e.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace e2e {

QString binDir()
{
    const QString fromEnv = qEnvironmentVariable("MX_BIN_DIR");
    if (!fromEnv.isEmpty()) return fromEnv;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../dist/V100"));
}

QString distDir()
{
    const QString fromEnv = qEnvironmentVariable("MX_DIST_DIR");
    return fromEnv.isEmpty() ? QDir(binDir()).filePath(QStringLiteral("..")) : fromEnv;
}

QString templateFile(int family)
{
    return QDir(binDir()).filePath(QStringLiteral("Init/%1_MX806_New.dat").arg(family));
}

Emulator::Emulator(const QString& workDir) : m_logPath(QDir(workDir).filePath(QStringLiteral("radiosim.log")))
{
}

bool Emulator::start(const QStringList& options)
{
    QFile::remove(m_logPath);
    m_process.setStandardErrorFile(m_logPath);
    m_process.start(QDir(binDir()).filePath(QStringLiteral("mx806-radiosim")),
                    options + QStringList{"--log"});
    if (!m_process.waitForStarted(10000)) return false;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000)) return false;
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return m_device.startsWith(QLatin1Char('/'));
}

void Emulator::stop()
{
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

QStringList Emulator::log() const
{
    return QString::fromLocal8Bit(readAll(m_logPath)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList Emulator::blocks(char kind) const
{
    const QString prefix = QStringLiteral("radiosim: %1 ").arg(QLatin1Char(kind));
    QStringList list;
    for (const QString& line : log()) {
        if (line.startsWith(prefix) && line.size() == prefix.size() + 4) list.append(line.mid(prefix.size()));
    }
    return list;
}

Result runMx806(const QStringList& args, int timeoutMs)
{
    Result result;
    QProcess process;
    process.start(QDir(binDir()).filePath(QStringLiteral("mx806")), args);
    if (!process.waitForStarted(10000)) return result;
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(10000);
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace e2e
