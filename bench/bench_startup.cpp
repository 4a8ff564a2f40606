// Start-up of the desktop program against a bare Qt main window (menu bar,
// status bar): time from process start to the window shown, and the resident
// memory then, on the offscreen platform. Each is started RUNS times, in turns;
// the medians and their ratio are printed:
//   build/bench/bench_startup [RUNS]     (targets: < 300 ms, < 80 MB, ratio <= 1.3)
// `bench_startup --once` starts the program's window once and prints one line.
#include "app/Startup.h"
#include "common/ProcessClock.h"
#include "shell/MainWindow.h"
#include "shell/WidgetPrompter.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>

namespace {

int showProgramOnce(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MX_806TR"));
    const QString bin = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../dist/V100"));
    mx::WidgetPrompter prompter;
    mx::App app(prompter);
    app.startUp(bin, mx::SystemLocale());
    mx::MainWindow window(app);
    window.show();
    return bench::printWhenShown();
}

struct Sample
{
    double ms = -1;
    double mb = -1;
};

Sample runOnce(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) return {};
    const auto match = QRegularExpression(QStringLiteral("shown ([0-9.]+) ms resident ([0-9.]+) MB"))
                           .match(QString::fromUtf8(process.readAllStandardOutput()));
    if (!match.hasMatch()) return {};
    return {match.captured(1).toDouble(), match.captured(2).toDouble()};
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && QByteArray(argv[1]) == "--once") return showProgramOnce(argc, argv);

    QCoreApplication runner(argc, argv);
    const int runs = std::max(1, argc > 1 ? QByteArray(argv[1]).toInt() : 9);
    const QString self = QCoreApplication::applicationFilePath();
    const QString bare =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bench_bare_window"));
    QList<double> programMs, programMb, bareMs, bareMb;
    for (int k = 0; k < runs; ++k) {
        const Sample p = runOnce(self, {QStringLiteral("--once")});
        const Sample b = runOnce(bare, {});
        if (p.ms < 0 || b.ms < 0) {
            std::fprintf(stderr, "bench_startup: a run printed no time\n");
            return 1;
        }
        programMs << p.ms;
        programMb << p.mb;
        bareMs << b.ms;
        bareMb << b.mb;
    }
    const double ratio = median(programMs) / median(bareMs);
    std::printf("MX_806TR main window shown  %6.1f ms  resident %5.1f MB   (targets < 300 ms, < 80 MB)\n",
                median(programMs), median(programMb));
    std::printf("bare Qt main window shown   %6.1f ms  resident %5.1f MB\n", median(bareMs), median(bareMb));
    std::printf("ratio %.2f (target <= 1.30), medians of %d runs each\n", ratio, runs);
    return 0;
}
