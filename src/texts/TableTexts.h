#pragma once

#include <QString>

namespace mx {

// Captions and messages of the channel table and of channel lists in the
// common layout that many radio programmers share. Texts with %1.. take their
// arguments with QString::arg.
enum class TableText : int {
    WindowTitle,  // "Channel Table"
    BandHeader,   // "Band"
    ChHeader,     // "CH"
    RxHeader,     // "RX MHz"
    SearchLabel,  // "Fi&nd:"
    SearchHint,   // placeholder of the search box
    TableName,    // accessible name of the table
    CopyAction,   // "&Copy"
    PasteAction,  // "&Paste"
    DeleteAction, // "&Delete Channels"
    FillAction,   // "Fill &Down"
    InsertAction, // "&Insert Channel"
    SortAction,   // "&Sort by This Column"
    PasteWhere,   // "Pasted line %1, %2, column %3: %4"
    CellWhere,    // "%1, column %2: %3"
    PasteTooLong, // the pasted rows go past the table's last row
    NoFreeNumber, // "Band %1 has no free channel number."
    NotEditable,  // channels numbered above 40
    BandOff,      // tool tip of a switched-off band's rows
    // The common layout.
    MissingColumn,   // "The list has no %1 column."
    NotLocation,     // "\"%1\" is not a memory number."
    LocationTwice,   // "Location %1 is listed twice."
    TooMany,         // the 41st row
    DuplexRefused,   // "Duplex \"%1\" ..."
    ToneModeRefused, // "Tone mode \"%1\" ..."
    ToneNotInList,   // "\"%1\" is not in the TSQ list."
    ReversedCode,    // a reversed transmit polarity
    NotKept,         // "%1 row(s) carried a name or a mode other than FM/AM ..."
    // File > Export Channels / Import Channels.
    LayoutTitle,  // "Channel List"
    LayoutLabel,  // "&Layout:"
    OwnLayout,    // this program's layout
    CommonLayout, // the common layout
    FamilyLabel,  // "Range &family:"
    BandLabel,    // "&Band:"
    AllBands,     // "All bands"
    Count
};

QString tableText(TableText id, int language);

} // namespace mx
