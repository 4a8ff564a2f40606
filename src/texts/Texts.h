#pragma once

#include <QString>

namespace mx {

// Language index of every text: 1 English, 2 Simplified Chinese. Any other
// value reads the English text, so a caption is never empty.
enum Language : int { English = 1, Chinese = 2 };

// Every text the headless parts of the program show. Windows add their own
// caption ids to this list as they are built.
enum class TextId {
    // messages
    AllDataCleared,      // "All data will be cleared."
    FileError,           // "file error."
    CannotOpenPort,      // "Cannot Open Communication Port."
    ReadConfirm,         // "Read data from radio." CR LF "Do you wish continue?"
    WriteConfirm,        // "Write data to radio." CR LF "Do you wish continue?"
    FileModified,        // "File has been modify,save it now?"
    OverwriteContinue,   // "file will be Overwrite,Continue?" (after the quoted file title)
    SaveInterrupted,     // "The last save of \"%1\" was interrupted: ..." (%1 the data file's title)
    OpenAnyway,          // "Open it anyway?"
    CheckConnection,     // "Check Connection. Retry or Cancel?"
    ReadCompleted,       // "Read Data Completed."
    WriteCompleted,      // "Write Data Completed."
    ModelWrong,          // "Model type is wrong."
    FrequencyOutOfRange, // "Frequency is out of range."
    NotIsNumeric,        // "Not IsNumeric" (same in both languages)
    DataFileFilterName,  // "Data File"
    ButtonOk,            // "&OK"
    ButtonCancel,        // "&Cancel"
    // version messages
    FirmwareVersionIs,      // "Firmware version is"
    DataFileVersionIs,      // "DataFile version is"
    SoftwareVersionIs,      // "programming software is"
    IncompatibleVersion,    // "incompatible version. It may cause unknown error.To start ..."
    FailToStartSoftware,    // "Fail to start the software. This version does not exist."
    UnknownDataFileVersion, // "Unknown version Of DataFile!"
    // feature warning before a write
    ToneSquelchInvalid,   // "CTCSS/DCS Function is invalid,"
    TvInvalid,            // "TV Function is invalid,"
    SomeFeaturesWontWork, // "Some features will not work."
    // progress window
    ProgressReadCaption,  // "Read data from radio"
    ProgressWriteCaption, // "Write data to radio"
    CompletionPercentage, // "Completion percentage:"
    RadioCounterCaption,  // caption of the radio counter of the multi-radio write
    WaitingForNextRadio,  // "Waiting for the next radio: disconnect the written radio and connect the next
                          // one."
    // document
    OnText,        // "ON"
    OffText,       // "OFF"
    FileNameLabel, // "File Name"
};

// The text of `id` in `language` (1 English, 2 Chinese, anything else English).
QString text(TextId id, int language);

// The text with its control characters (and other characters a terminal
// would act on) shown as \xHH: for messages that quote what a file holds.
QString printable(const QString& text);

// Display name of a model code: "MX-806TR" for "MX806", otherwise the code itself.
QString modelDisplayName(const QString& modelCode);

} // namespace mx
