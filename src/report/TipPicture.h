#pragma once

#include "data/RadioData.h"

class QPainter;
class QRect;

namespace mx {

// What the roger-beep window and the printed information show (and play) for
// a stored tip: values the lists cannot hold, from a file or an erased radio,
// as the nearest item. A frequency outside 400..2550 Hz is shown as "None";
// nothing here changes the record.
namespace tipview {
int repeatCount(const ToneTipRecord& tip);      // RecycleTimes, 0..10
int pause(const ToneTipRecord& tip);            // InterTime, 0..255 (10 ms)
int tone(const ToneTipRecord& tip, int step);   // 0 or 40..255 (10 Hz)
int length(const ToneTipRecord& tip, int step); // 0..255 (10 ms)
} // namespace tipview

// The bar picture of a tip inside rect: one bar per tone with a length, as
// wide as its share of the total length and as high as its frequency out of
// 256, red for odd tones and blue for even ones, on a margin of 4 pixels.
void drawTip(QPainter& painter, const ToneTipRecord& tip, const QRect& rect);

} // namespace mx
