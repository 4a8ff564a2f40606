// mx806 info --port DEV: the radio's model, firmware and features.

#include "cli/Transfer.h"

#include "link/Session.h"

namespace mx::cli {

namespace {

int runInfo(Context& ctx)
{
    QString device;
    if (const int status = prepareTransfer(ctx, device); status != ExitOk) return status;
    RadioIdentity id;
    const int status = runTransfer(ctx, TransferKind::Info, device, 1, &id);
    if (status == ExitOk) {
        ctx.out << "model: " << id.modelId << '\n'
                << "firmware: " << id.firmware << '\n'
                << "CTCSS/DCS: " << (id.toneSquelchUnsupported ? "not supported" : "supported") << '\n'
                << "TV: " << (id.tvUnsupported ? "not supported" : "supported") << Qt::endl;
    }
    return status;
}

} // namespace

Command infoCommand()
{
    Command c;
    c.name = QStringLiteral("info");
    c.summary = QStringLiteral("show the radio's model, firmware and features");
    c.options = portOptions();
    c.run = runInfo;
    return c;
}

} // namespace mx::cli
