// mx806: the command line of the MX-806TR programming software.
//
// Every subcommand lives in its own Cmd*.cpp file and is registered below
// with one line.

#include "cli/Cli.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mx806"));

    using namespace mx::cli;
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
    return dispatcher.run(QCoreApplication::arguments());
}
