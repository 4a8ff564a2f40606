#pragma once

#include <QList>
#include <QString>

namespace mx {

class RadioImage;

// The radio keeps the channels of a band one after another from channel 1:
// the k-th channel of a band comes back from the radio as channel k. A band
// numbered with gaps (2, 3, 5, 6) therefore comes back renumbered (1-4).
struct Renumbered
{
    int family = 0;
    int band = 1;
    int from = 0; // the number the channel list shows now
    int to = 0;   // the number the radio gives it
};

// Every channel of the working copy that a write would renumber, by family, band and position.
QList<Renumbered> renumberedByWrite(const RadioImage& image);

// The note on them in a language: a heading, then a line per band
// ("10M band A: 2→1, 3→2, 5→3, 6→4"), lines joined with CR LF; "" when none.
QString renumberNote(const QList<Renumbered>& changes, int language);

} // namespace mx
