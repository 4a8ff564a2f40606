#pragma once

#include <QByteArray>
#include <QString>

namespace mx {

class RadioImage;

// The channels of every range family and band as a comma-separated list
// (UTF-8, a header line, fields quoted where needed), for spreadsheets.
namespace channelcsv {

// The header line's cells, one per column.
QStringList header();

// One line per channel of the working copy, in band and slot order.
QByteArray exportChannels(const RadioImage& image);

struct ImportResult
{
    bool ok = false;
    QString message; // why the list was refused, naming its line and column
    int line = 0;    // 1-based line of the refused row (0: the list as a whole)
    int column = 0;  // 1-based column (0: the row as a whole)
};

// Replaces every channel of the working copy with the list's rows, each taken
// through the same rules as typing it into the channel editor. A row that
// cannot be taken refuses the whole list; the image is then left exactly as it
// was. Bands keep their switches: rows of a band that is off keep it off.
ImportResult importChannels(RadioImage& image, const QByteArray& csv, int language);

} // namespace channelcsv
} // namespace mx
