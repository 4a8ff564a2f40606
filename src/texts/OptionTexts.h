#pragma once

#include <QString>
#include <QStringList>

namespace mx {

// Captions of the option features window.
enum class OptionText {
    Title,          // "Optional Features"
    ShowSQLLevel,   // check boxes, in record order
    ShowVOLLevel,   //
    ShowMICLevel,   //
    ExtensionBand,  //
    TVSignalHold,   //
    BeepTone,       //
    ASQ,            //
    SWRProtect,     //
    ShowVSWRLaunch, //
    Mon,            // labels of the lists
    TimeOutTimer,   //
    TVSqlLevel,     //
    Public,         //
    Busy,           //
    HiCut,          //
    Roger,          //
    Tsq,            //
    Rep,            //
    BacklightColor, //
    BacklightBrightness,
    BacklightLoopTime,
    BatteryFrame, // "Battery Voltage Protect"
    PublicFrame,  // "Public" (the frame of the public channel settings)
    BatteryMin,   // "Min[V]"
    BatteryMax,   // "Max[V]"
    SWRMax,       // "SWR Max"
    RepOffset,    // "REP Freqency[KHz]"
    Off,          // "Off": first item of the time-out, brightness and tone squelch lists
    Close,        // "&Close"
    Help,         // "He&lp"
};

QString text(OptionText id, int language);
// "Green", "Red", ... "Loop": the backlight colours, list index 0..7.
QStringList backlightColors(int language);

} // namespace mx
