// Time from process start to the main window shown, and the resident memory
// then, for the desktop program on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_startup   (targets: < 300 ms, < 80 MB)
#include "app/Startup.h"
#include "shell/MainWindow.h"
#include "shell/WidgetPrompter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds since this process started (from /proc: start time in clock ticks since boot).
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9 - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MX_806TR"));
    const QString bin = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../dist/V100"));
    mx::WidgetPrompter prompter;
    mx::App app(prompter);
    app.startUp(bin, mx::SystemLocale());
    mx::MainWindow window(app);
    window.show();
    QTimer::singleShot(0, [&] {
        std::printf(
            "main window shown after %.0f ms (target < 300 ms), resident memory %.1f MB (target < 80 MB)\n",
            msSinceProcessStart(), residentKb() / 1024.0);
        QApplication::quit();
    });
    return QApplication::exec();
}
