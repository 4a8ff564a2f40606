// mx806: the command line of the MX-806TR programming software.
//
// Every subcommand lives in its own Cmd*.cpp file and is registered below
// with one line.

#include "cli/Cli.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {

// mx806 prints only its own messages: Qt's notes about the environment (such
// as "QStandardPaths: XDG_RUNTIME_DIR not set" under cron or ssh) would mix
// into output that scripts read. Only a fatal error still reaches stderr.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) std::fprintf(stderr, "mx806: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    using namespace mx::cli;
    qInstallMessageHandler(quietQtMessages);
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments.append(QString::fromLocal8Bit(argv[k]));

    // Printing lays text out with the system's fonts, which takes a graphical
    // application; a PDF needs no screen, so it runs on the offscreen platform
    // unless another one is asked for. Every other command stays without one.
    std::unique_ptr<QCoreApplication> app;
    if (Dispatcher::commandIn(arguments) == QLatin1String("print")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("mx806"));

    Dispatcher dispatcher;
    dispatcher.add(showCommand());
    dispatcher.add(readCommand());
    dispatcher.add(writeCommand());
    dispatcher.add(multiWriteCommand());
    dispatcher.add(infoCommand());
    dispatcher.add(encodeCommand());
    dispatcher.add(decodeCommand());
    dispatcher.add(portCommand());
    dispatcher.add(exportCommand());
    dispatcher.add(importCommand());
    dispatcher.add(setCommand());
    dispatcher.add(diffCommand());
    dispatcher.add(printCommand());
    return dispatcher.run(QCoreApplication::arguments());
}
