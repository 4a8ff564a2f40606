#pragma once

#include <QByteArray>
#include <QString>

namespace mx {

class RadioImage;

// The channels of every range family and band as a comma-separated list
// (UTF-8, a header line, fields quoted where needed), for spreadsheets.
namespace channelcsv {

// The largest list read: a radio's 960 channels take about 60 KiB.
constexpr qsizetype MaxListBytes = 1024 * 1024;

// The header line's cells, one per column.
QStringList header();

// Reads a channel list file into bytes, at most one byte more than
// MaxListBytes (so that a larger list is refused without reading it all).
// Returns why it cannot be read ("No such file or directory", a device or
// FIFO), "" when it was read.
QString readList(const QString& path, QByteArray& bytes);

// One line per channel of the working copy, in band and slot order. Each
// value is written so that importing the list into the same data file keeps
// it exactly: numbers for values no list offers, "#" and the stored
// characters for a frequency that is no number.
QByteArray exportChannels(const RadioImage& image);

struct ImportResult
{
    bool ok = false;
    QString message; // why the list was refused, naming its line and column
    int line = 0;    // 1-based line of the refused row (0: the list as a whole)
    int column = 0;  // 1-based column (0: the row as a whole)
};

// Replaces every channel of the working copy with the list's rows, in their
// order. The n-th row of a channel number in a band stands for the n-th
// channel of that number the band holds: a value written as export writes
// the channel's own is kept as it is (even a number, frequency or value no
// rule would take); everything else, and every new channel, goes through the
// rules of typing it into the channel editor. What the list does not carry
// stays: the channels' other words, band switches, work channels (unless
// the channel one pointed at is gone). A row that cannot be taken refuses the
// whole list; the image is then left exactly as it was. Lists larger than
// MaxListBytes are refused unread.
ImportResult importChannels(RadioImage& image, const QByteArray& csv, int language);

} // namespace channelcsv
} // namespace mx
