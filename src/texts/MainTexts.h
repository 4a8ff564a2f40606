#pragma once

#include "texts/Captions.h"

#include <QString>

namespace mx {

// Captions of the main window and its small dialogs that are not menu items.
enum class MainText {
    PortLabel,           // "COM" in the status bar and the port dialog
    PortDialogTitle,     // "Communication Port"
    LanguageDialogTitle, // "Language Setup"
    LanguageMode,        // "Language Mode"
    Close,               // "&Close"
    Help,                // "&Help"
    RogerBeepNode,       // "Roger Beep": tree node of the tone tips editor
    TreeClose,           // tool tip of the tree pane's close button
    AboutVersion,        // "Version "
    SysInfoUnavailable,  // no system information tool
    RadioCountPrompt,    // number of radios of a multi-radio write
    RadioCountTitle,
    PortPathLabel, // typed device path in the port dialog
    PortPathHint,
    SplitterName, // accessible name of the tree pane's splitter bar
    TreeName,     // accessible name of the navigation tree
    ToolbarName,
    StatusPortName, // accessible name of the status bar's port panel: "Serial port: %1"
    AboutTitle,
    AboutDescription,
    BackupFailed,
    VerifyFailedAt,
    VerifyPassed,
    VerifyingRadio,    // multi-radio write: the radio just written is read back
    VerifyFailedRadio, // multi-radio write: %1 = the radio's number
    CsvFilterName,
    RecentFileMissing, // "%1 no longer exists: ..."
    ChannelsExported,  // "%1 channels exported to %2"
    ChannelsImported,  // "%1 channels imported from %2"
    PortPathMissing,   // port dialog: a typed path that does not exist (%1)
    PortPathNotSerial, // port dialog: a typed path that is no serial device (%1)
    NoPort,            // the status bar's port panel when no port is chosen
    Count
};

QString mainText(MainText id, int language);

// Language names as the language dialog lists them: slot 1..4 =
// "English", "Chinese" (written in English), "英语", "中文" (written in Chinese).
QString languageName(int slot);

// One entry of the main window's menu tree, in menu order.
struct MenuEntry
{
    const char* name;   // object name, e.g. "mnuFileNew"
    const char* parent; // name of the menu that holds it; "" for the menu bar
    TextPair caption;   // {nullptr, nullptr} for a separator
    bool shown;         // visible while the program runs
    const char* shortcut;
};

// The whole menu tree, menus before their items.
const MenuEntry* menuEntries(int* count);
// Caption of a menu entry by name in a language; "" for an unknown name.
QString menuCaption(const char* name, int language);

} // namespace mx
