#pragma once

#include <QByteArray>
#include <QString>

namespace mx {

// Checking a write by reading the radio back.
struct VerifyResult
{
    bool ok = true;
    int address = -1; // first differing byte
    QString field;    // what it holds, e.g. "10M band 3 channel 7 receive frequency"
};

// Compares what was written (0x0000..0x3F5F) with what the radio gave back.
VerifyResult compareWritten(const QByteArray& written, const QByteArray& readBack);

// The value a byte of the radio's memory belongs to, in readable words.
QString describeAddress(int address);

// Where a check failed: "0x1234 (band 3 channel 7 receive frequency)".
QString verifyPlace(const VerifyResult& result);
// "Verify failed at 0x1234 (band 3 channel 7 receive frequency)."
QString verifyFailedText(const VerifyResult& result);

} // namespace mx
