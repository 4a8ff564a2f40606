#pragma once

#include <QString>

namespace mx {

// Messages about transfers with the radio: its port, how a transfer ended,
// what a write changes. Texts with %1.. take their arguments with QString::arg.
enum class TransferText {
    PortNotChosen,         // no port chosen
    PortNoSuchDevice,      // "%1: no such device."
    PortNoPermission,      // "%1: permission denied."
    PortAccessHint,        // how a user gets the rights (dialout group)
    PortInUse,             // "%1 is in use by another program."
    LostRead,              // "The connection to the radio was lost. Nothing was changed."
    LostWrite,             // "The connection to the radio was lost during the write. The radio may hold ..."
    LostBeforeData,        // the connection lost before anything was written
    CancelledRead,         // "Reading was cancelled. Nothing was changed."
    CancelledWrite,        // "Writing was cancelled. The radio may hold a partial write: write it again."
    CancelledBeforeData,   // a write cancelled before anything was written
    LostCheck,             // the check after a write: connection lost
    CancelledCheck,        // the check after a write: cancelled
    MultiLost,             // multi-radio write: the connection lost
    MultiCancelled,        // multi-radio write: cancelled
    MultiCancelledWaiting, // multi-radio write: cancelled while waiting for the next radio
    RadiosWritten,         // "%1 of %2 radios were written."
    RadiosWrittenChecked,  // "%1 of %2 radios were written and checked."
    RadioPartial,          // "Radio %1 may hold a partial write: write it again."
    RadioNotChecked,       // "Radio %1 was written but not checked."
    RenumberNote,          // a write renumbers channels: the heading
    RenumberBand,          // "%1 band %2: %3" (family, band, the changes)
    Count
};

QString text(TransferText id, int language);

} // namespace mx
