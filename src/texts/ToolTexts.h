#pragma once

#include <QString>

namespace mx {

// Messages of the channel list import and of editing without the window.
// Texts with %1.. take their arguments with QString::arg.
enum class ToolText {
    CsvWhere,            // "Line %1, column %2 (%3): %4"
    CsvColumns,          // "%1 columns instead of %2."
    CsvHeader,           // "The first line is not the channel list's header."
    CsvEmpty,            // "The channel list is empty."
    CsvFamily,           // "Unknown range family \"%1\"."
    CsvBand,             // "Unknown band \"%1\"."
    CsvChannelNumber,    // "Channel numbers are 1 to 40."
    CsvDuplicate,        // "Channel %1 is listed twice for this band."
    CsvBandFull,         // "More than 40 channels for this band."
    CsvFrequency,        // "\"%1\" is not a frequency of %2."
    CsvNoFrequency,      // "A channel needs a receive frequency."
    CsvValue,            // "\"%1\" is not one of: %2."
    CsvQuote,            // "A quoted field is not closed."
    NoChannelLeft,       // "Range family %1 would have no channel in its enabled bands."
    NoSuchChannel,       // "Band %1 has no channel %2."
    NotOffered,          // "\"%1\" is not offered for %2; choose one of: %3."
    RepeaterNotInFamily, // "The repeater shift is not used in this range family."
    UnknownOption,       // "Unknown option feature \"%1\"."
    BandSwitchRefused,   // "The last enabled band of a range family stays on."
    NothingChanged,      // "Nothing changed."
    LastChannelKept,     // "The last channel of a range family's enabled bands cannot be deleted."
    PublicLocks,         // "Roger and BUSY cannot be chosen while Public is ON."
    CsvTooLarge,         // "The channel list is larger than %1 MiB: no radio holds that many channels."
    NotANumber,          // "\"%1\" is not a number: %2 takes %3 to %4."
};

QString text(ToolText id, int language);

} // namespace mx
