#pragma once

#include <QByteArray>
#include <QString>

namespace mx {

class RadioImage;

// Checking a write by reading the radio back.
struct VerifyResult
{
    bool ok = true;
    int address = -1; // first differing byte
    QString field;    // what it holds, e.g. "10M band C channel 7 receive frequency"
};

// Compares what was written (0x0000..0x3F5F) with what the radio gave back;
// written: the image it was encoded from (names the channels).
VerifyResult compareWritten(const QByteArray& written, const QByteArray& readBack,
                            const RadioImage* image = nullptr);

// The value a byte of the radio's memory belongs to, in readable words. A
// channel is named as the editors name it: range family, band letter or plan,
// and the number the channel list of image shows for it (without an image, or
// for an empty slot, its place in the band).
QString describeAddress(int address, const RadioImage* image = nullptr);

// Where a check failed: "0x1234 (10M band C channel 7 receive frequency)".
QString verifyPlace(const VerifyResult& result);
// "Verify failed at 0x1234 (10M band C channel 7 receive frequency)."
QString verifyFailedText(const VerifyResult& result);

} // namespace mx
