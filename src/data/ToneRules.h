#pragma once

#include <QtGlobal>

namespace mx {

class RadioImage;
struct RadioDataRecord;

// Which roger-beep tone tips channels and the option features may refer to.
namespace tonerules {

// Tip n is usable when 1 <= n <= 8, it repeats at least once and at least one
// of its tones has a length. Returns n when usable, else 0.
qint16 usableTip(const RadioDataRecord& record, int n);
// How many of the tips 1..8 are usable.
int countUsableTips(const RadioDataRecord& record);
// Every used channel of every family and band, and the option features' roger
// tone, that names a tip no longer usable is set to 0 (OFF). Returns true when
// anything changed. Open windows refresh their roger lists themselves.
bool refreshRogerBeepRefs(RadioImage& image);

} // namespace tonerules
} // namespace mx
