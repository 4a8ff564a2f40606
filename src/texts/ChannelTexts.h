#pragma once

#include "texts/Captions.h"

#include <QString>

namespace mx {

// Captions and messages of the channel information window and its rules.
enum class ChannelText : int {
    WindowTitle,     // "Channel Information"
    SelectRange,     // "Select 10M/HF/EU"
    Band,            // "Band"
    ChNoHeader,      // "CH No."
    FrequencyHeader, // "Frequency"
    WorkChannel,     // "Work CHX"
    GroupValid,      // "Group Valid"
    Tsq,             // "TSQ"
    Rep,             // "REP"
    Roger,           // "Roger"
    Public,          // "Public"
    Busy,            // "BUSY"
    HiCut,           // "HI-CUT"
    MoreInformation, // "More Information -- CH " (the channel number follows)
    Close,           // "&Close"
    ChannelList,     // accessible name of the channel list
    FrequencyEntry,  // accessible name of the frequency edit box
    DetailPanel,     // accessible name of the detail panel
    BandFull,        // a 41st channel refused
    Count
};

// Both languages of every channel caption, indexed by ChannelText.
extern const TextPair ChannelTexts[int(ChannelText::Count)];

inline QString channelText(ChannelText id, int language)
{
    return pick(ChannelTexts[int(id)], language);
}

} // namespace mx
