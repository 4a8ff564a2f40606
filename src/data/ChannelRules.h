#pragma once

#include <QString>
#include <QStringList>

namespace mx {

class RadioImage;
class Messenger;
struct ChannelRecord;
struct RadioDataRecord;

// What the per-channel fields mean, which values they take, and what happens
// when a frequency is typed into a band's channel list. Used by the channel
// editor and the command line alike: every rule reports its outcome, shows its
// message through the messenger (when one is given) and tells open windows
// through the image's signals (channelChanged, workChannelFixed).
namespace channelrules {

constexpr int RegularChannels = 40; // channel numbers 1..40 are the rows of a band
constexpr int ToneSquelchCount = 143;

// The tone squelch list: 0 "OFF", 1..38 the CTCSS tones ("67.0" .. "250.3"),
// 39..142 the DCS codes ("D023N" .. "D754N"); the same in both languages.
// An index outside the list gives "".
QString toneSquelchText(int index);
QStringList toneSquelchList();
// The index of a CTCSS tone written in Hz, however many decimals ("88.50" is
// 88.5); -1 when the list has no such tone.
int ctcssIndex(const QString& hz);
// "OFF", "ON" in the language (Chinese "关", "开").
QStringList onOffList(int language);
// Repeater shift: "OFF" (in the language), "+", "-".
QStringList repeaterList(int language);
// Roger beep: "OFF" (in the language), then the numbers of the usable tone tips.
QStringList rogerList(const RadioDataRecord& record, int language);
// The channel numbers of band (m, b), sorted by numeric value (sortMode 0) or
// by the value after the first character (sortMode 1).
QStringList channelComboItems(const RadioImage& image, int m, int b, int sortMode = 0);

enum class FrequencyResult {
    Unchanged,       // nothing to store (the same frequency, a free row left empty, the transmit column)
    Added,           // a free row got a new channel with the default options
    Changed,         // the channel's receive frequency changed
    Deleted,         // the channel was removed
    BandSwitchedOff, // the band's last channel was removed and the band switched off
    OutOfRange,      // not a frequency of the range family: "Frequency is out of range.", nothing changed
    LastChannelKept, // the last channel of the family's enabled bands cannot be deleted
    BandFull,        // the band already holds 40 channels: a message, nothing added
    NoSuchChannel,   // channel number outside 1..40, or no such family or band
};
// True for the results that changed the image.
bool changesImage(FrequencyResult result);

// Stores a frequency typed for channel n of band (m, b). Column 1 is the
// receive frequency; column 2 (transmit) is checked but stores nothing.
// A number inside the family's range is put on the 5 kHz grid; anything else
// shows "Frequency is out of range." and keeps the channel as it is. Only an
// empty text deletes the channel. Channel n's row is announced afterwards in
// every case, so that an open list shows what the store holds.
FrequencyResult setChannelFrequency(RadioImage& image, int m, int b, int n, int column, const QString& text,
                                    Messenger* messenger);

// Gives band (m, b) its default channel: number 1 at the band's default
// frequency. False (nothing added) for a band that is not 1..8, that already
// holds a channel 1, or that is full.
bool addDefaultChannel(RadioImage& image, int m, int b);

// Points the work band of family m at its first enabled band when it names a
// band that is not enabled. True when it changed.
bool fixWorkBand(RadioImage& image, int m);

enum class BandSwitch {
    Unchanged,           // the band already was in that state
    Switched,            // stored
    SwitchedWithDefault, // switched on, and the empty band got its default channel
    Refused,             // the family's last enabled band cannot be switched off
};
// "Group Valid": switches band (m, b) on or off. The work band stays on an
// enabled band; a band switched on without regular channels gets its default
// channel and work channel.
BandSwitch setBandValid(RadioImage& image, int m, int b, bool on);

// The option fields of a channel offered by the channel editor.
enum class Field { ToneCode, RepeaterShift, RogerBeep, Public, Busy, HiCut };
qint16 fieldValue(const ChannelRecord& channel, Field field);

enum class FieldResult { Unchanged, Changed, Refused };
// Stores a field of channel n of (m, b) and announces the channel when it
// changed. Refused when there is no such
// channel or the value is not offered: tone code 0..142; repeater shift 0..2
// in families 0 and 1 only; roger beep 0 or a usable tip; the others 0 or 1.
FieldResult setField(RadioImage& image, int m, int b, int n, Field field, int value);

} // namespace channelrules
} // namespace mx
