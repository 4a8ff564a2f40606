// The yardstick of bench_startup: a bare Qt main window with a menu bar and a
// status bar, linked with Qt Widgets only. Prints the same line as
// `bench_startup --once`.
#include "common/ProcessClock.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(967, 700);
    window.show();
    return bench::printWhenShown();
}
