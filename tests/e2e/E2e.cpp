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

Result runMx806(const QStringList& args, int timeoutMs, int fileLimitKb)
{
    Result result;
    QProcess process;
    const QString program = QDir(binDir()).filePath(QStringLiteral("mx806"));
    if (fileLimitKb > 0)
        process.start(
            QStringLiteral("/bin/sh"),
            QStringList{"-c",
                        QStringLiteral("ulimit -f %1; trap '' XFSZ; exec \"$0\" \"$@\"").arg(fileLimitKb),
                        program} +
                args);
    else
        process.start(program, args);
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

QByteArray emptyRadio()
{
    QByteArray memory(0x4000, char(0xFF));
    memory.replace(0x3D00, 0x200, QByteArray(0x200, '\0'));
    memory[0x3D02] = memory[0x3D03] = memory[0x3D04] = char(0xFF);
    return memory;
}

void putChannel(QByteArray& memory, int m, int b, int slot, const QByteArray& digits, int ctcss)
{
    // Least significant BCD pair first; families 0 and 1 list their channels in a bitmap.
    const int at = m * 0x1400 + ((b - 1) * 40 + (slot - 1)) * 16;
    const QByteArray bcd = QByteArray::fromHex(digits);
    memory.replace(at, 13, QByteArray::fromHex("000000 0000 00 ff 00 ffffff 00 00"));
    for (int k = 0; k < 3; ++k)
        memory[at + k] = bcd[2 - k];
    if (ctcss >= 0) {
        memory[at + 5] = char(ctcss);
        memory[at + 11] = 0x10;
    }
    if (m < 2)
        memory[(m == 0 ? 0x3D40 : 0x3D80) + (b - 1) * 5 + (slot - 1) / 8] |= char(1 << ((slot - 1) % 8));
}

void makeRoot(const QString& dir, const QByteArray& settings)
{
    QDir().mkpath(dir + QStringLiteral("/language"));
    QFile::copy(QDir(distDir()).filePath(QStringLiteral("Version.ini")),
                dir + QStringLiteral("/Version.ini"));
    writeAll(dir + QStringLiteral("/language/mysetup.ini"), settings);
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
