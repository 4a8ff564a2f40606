#pragma once

#include "data/RadioData.h"

#include <QByteArray>
#include <QString>

namespace mx {

constexpr int RadioMemorySize = 0x4000; // 16,384 bytes
constexpr int ReadEndAddress = 0x3FFF;  // a read fetches 0x0000..0x3FF0
constexpr int WriteEndAddress = 0x3F5F; // a write sends 0x0000..0x3F50

// Every byte 0xFF, then 0x3D00..0x3DFF zero.
void fillRadioMemory(QByteArray& memory);

// Empty when every value of the image fits the byte (or bits) the radio keeps
// it in; otherwise a readable name of the first field that does not fit,
// such as "tone tip 3, step 2 tone (300)". Nothing is sent for such an image.
QString checkImageFits(const RadioImage& image);

// Working copy of the image -> memory (after fillRadioMemory).
void encodeImage(const RadioImage& image, QByteArray& memory);
// Memory -> working copy of the image (range, channels, TV channels, options, tone tips).
void decodeImage(const QByteArray& memory, RadioImage& image);

} // namespace mx
