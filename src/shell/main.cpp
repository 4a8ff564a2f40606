// MX_806TR: the desktop programming software of the MX-806TR.
#include "app/Startup.h"
#include "shell/Dialogs.h"
#include "shell/Icons.h"
#include "shell/MainWindow.h"
#include "shell/WidgetPrompter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
#ifndef Q_OS_WIN
    // Without a display there is no window to show: say so in one line.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "MX_806TR: no display. Use mx806 (the command line) or set "
                             "QT_QPA_PLATFORM=offscreen to run without a screen.\n");
        return 1;
    }
#endif
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MX_806TR"));
    QApplication::setApplicationVersion(QStringLiteral(MX_VERSION_STRING));
    QApplication::setWindowIcon(mx::icons::appIcon());

    mx::WidgetPrompter prompter;
    mx::App app(prompter);
    app.startUp(QCoreApplication::applicationDirPath(), mx::SystemLocale());

    mx::MainWindow window(app);
    window.show();
    // MX_806TR FILE.dat opens the file as File > Open does.
    window.document().openArguments(QCoreApplication::arguments());
    return QApplication::exec();
}
