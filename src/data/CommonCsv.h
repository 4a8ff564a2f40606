#pragma once

#include <QByteArray>
#include <QString>

namespace mx {

class RadioImage;

// Channel lists in the CSV layout that many radio programmers read and write:
//
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,
//   DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
//
// one line per channel. The radio keeps a frequency, a tone squelch and a
// repeater shift of each channel; names, comments, modes, steps, skips and
// offsets have no place in it.
namespace commoncsv {

// True when the list's first line is this layout's header (it names the
// Location and Frequency columns). A list larger than any real one (over
// channelcsv::MaxListBytes) is never taken for this layout: the program's own
// import refuses it for its size.
bool isCommonLayout(const QByteArray& csv);

// One line per channel of family m's band b (b = 0: every band, in the
// radio's order), by channel number. Location counts from 1, Name is the band
// and channel ("A-03"), Mode "FM", TStep "5.00"; a CTCSS tone is "TSQL" with
// both tone columns set, a DCS code "DTCS" with its code and "NN".
QByteArray exportChannels(const RadioImage& image, int m, int b);

struct ImportResult
{
    bool ok = false;
    QString message; // why the list was refused, naming its line and column
    int line = 0;    // 1-based line of the refused row (0: the list as a whole)
    int column = 0;  // 1-based column (0: the row as a whole)
    int channels = 0;
    int notKept = 0; // rows with a name or a mode other than FM/AM, which the radio cannot keep
};

// The list's rows become the channels of family m's band b, numbered in
// Location order from 1 (at most 40), each taken through the rules of the
// channel window: the frequency onto the 5 kHz grid and inside the family's
// range, Duplex "+"/"-" as REP (families 10M and HF), Tone "Tone" (rToneFreq),
// "TSQL" (cToneFreq) or "DTCS" (DtcsCode of normal transmit polarity) as TSQ.
// A channel number the band held keeps its other settings; new ones get those
// of a channel typed into a free row. A row that cannot be taken refuses the
// whole list and the image stays as it was; other bands are not touched.
ImportResult importChannels(RadioImage& image, const QByteArray& csv, int m, int b, int language);

} // namespace commoncsv
} // namespace mx
