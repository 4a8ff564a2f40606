#pragma once

#include <QString>

namespace mx {

// Captions of the TV channel window.
enum class TVText {
    Title,          // "TV Channel"
    CurrentChannel, // "Current TV Channel"
    ChNo,           // "CH No." (grid header)
    Frequency,      // "Frequency"
    Tbst,           // "TBST"
    Bandwidth,      // "W/N"
    Narrow,         // "Narrow": W/N item 0
    Wide,           // "Wide": W/N item 1
    Close,          // "&Close"
    Help,           // "He&lp"
};

QString text(TVText id, int language);

} // namespace mx
