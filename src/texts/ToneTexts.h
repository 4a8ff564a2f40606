#pragma once

#include <QString>

namespace mx {

// Captions of the roger-beep window.
enum class ToneText {
    Title,        // "Roger Beep"
    Tab,          // "RB Tone" (followed by " " and the tip number)
    RecycleTimes, // "Recycle Times"
    InterTime,    // "Inter Time[ms]"
    Frequency,    // "Frequency[Hz]"
    Length,       // "Tone Long[ms]"
    Play,         // "P&lay"
    Stop,         // "St&op"
    Off,          // "Off": repeat count item 0
    None,         // "None": frequency item 0 (a pause)
    Close,        // "&Close"
    NoSound,      // status bar notice when Play finds no sound output
};

QString text(ToneText id, int language);
// "First Tone" ... "Fourteenth Tone" for step 1..14.
QString toneLabel(int step, int language);

} // namespace mx
