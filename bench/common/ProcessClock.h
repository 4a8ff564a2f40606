#pragma once
// Milliseconds since this process started and its resident memory, from /proc.
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace bench {

inline double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    // Start time in clock ticks since boot: field 22 of the line, the 20th after the command's ")".
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9 - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

inline long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Runs the event loop until the window is shown, then prints the line
// bench_startup reads ("shown MS ms resident MB MB") and quits.
inline int printWhenShown()
{
    QTimer::singleShot(0, [] {
        std::printf("shown %.1f ms resident %.1f MB\n", msSinceProcessStart(), residentKb() / 1024.0);
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

} // namespace bench
