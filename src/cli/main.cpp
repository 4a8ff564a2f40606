// mx806: the command line of the MX-806TR programming software.
//
// Every subcommand lives in its own Cmd*.cpp file and is registered below
// with one line.

#include "cli/Cli.h"
#include "cli/CmdLink.h"

#include <QCoreApplication>

namespace mx::cli {
Command showCommand(); // CmdShow.cpp
} // namespace mx::cli

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mx806"));

    using namespace mx::cli;
    Dispatcher dispatcher;
    dispatcher.add(showCommand());
    // Radio link (CmdLink.cpp): these read their own options.
    dispatcher.add(QStringLiteral("read"), QStringLiteral("--port DEV -o FILE.dat"),
                   QStringLiteral("read the radio into a data file"), cmdRead);
    dispatcher.add(QStringLiteral("write"), QStringLiteral("--port DEV FILE.dat"),
                   QStringLiteral("write a data file into the radio"), cmdWrite);
    dispatcher.add(QStringLiteral("multi-write"), QStringLiteral("--port DEV --count N FILE.dat"),
                   QStringLiteral("write a data file into N radios in turn"), cmdMultiWrite);
    dispatcher.add(QStringLiteral("info"), QStringLiteral("--port DEV"),
                   QStringLiteral("show the radio's model, firmware and features"), cmdInfo);
    dispatcher.add(QStringLiteral("encode"), QStringLiteral("FILE.dat -o MEMORY.bin"),
                   QStringLiteral("the radio memory image of a data file"), cmdEncode);
    dispatcher.add(QStringLiteral("decode"), QStringLiteral("MEMORY.bin -o FILE.dat"),
                   QStringLiteral("a data file from a radio memory image"), cmdDecode);
    dispatcher.addUsageText(linkUsage());
    return dispatcher.run(QCoreApplication::arguments());
}
