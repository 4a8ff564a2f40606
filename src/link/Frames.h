#pragma once

#include "link/Session.h"

#include <QByteArray>
#include <QByteArrayView>

namespace mx::frames {

// The conversation with the radio is one frame out, one reply back. Every
// data frame carries 16 bytes of memory.
constexpr char Ack = 0x06;
constexpr int BlockSize = 16;
constexpr int DataFrameLength = BlockSize + 6; // "W", AH, AL, LEN, data, checksum, ACK
constexpr int IdentificationLength = 16;

// Reply lengths armed with each frame.
constexpr int HandshakeReplyLength = 3;
constexpr int IdentificationReplyLength = IdentificationLength;
constexpr int ReadReplyLength = DataFrameLength;
constexpr int WriteReplyLength = 1;
constexpr int EndReplyLength = 1;

// Frames the program sends.
QByteArray handshake();              // "PROGRAM"
QByteArray identificationRequest();  // 02
QByteArray readRequest(int address); // "R" AH AL 10
QByteArray endFrame();               // "END"

// A data frame for the block at address, its data taken from memory[address..address+15]
// (bytes missing from memory count as 0xFF). Used by the program for writes and by a
// radio for its read replies.
QByteArray dataFrame(int address, QByteArrayView memory);

// Frames a radio sends.
QByteArray handshakeReply(); // "HB" ACK
QByteArray identificationReply(const QByteArray& modelId, const QByteArray& firmware, int flags);

// Sum of AH, AL, LEN and the data bytes of a (complete or unfinished) data frame, modulo 256.
quint8 checksum(QByteArrayView frame);
// True when the checksum byte of a complete data frame matches its contents.
bool checksumMatches(QByteArrayView frame);

enum class Reply { Ignored, Ack, HandshakeReply, Identification, DataFrame };

// Classifies everything that arrived at once, in this order: ACK (exactly 06),
// handshake reply (exactly 48 42 06), identification (exactly 16 bytes, the first
// 49), data frame for blockAddress; anything else is ignored. Noise before a reply
// or two replies run together make the whole array fail.
Reply classify(QByteArrayView bytes, int blockAddress, int blockSize = BlockSize);
bool isDataFrame(QByteArrayView bytes, int blockAddress, int blockSize = BlockSize);

// Model identifier (bytes 1-7 cut at NUL, trailing blanks removed), firmware
// (bytes 9-12) and feature flags (byte 13) of an identification reply.
RadioIdentity decodeIdentification(QByteArrayView reply);

// The 16 data bytes of a data frame.
inline QByteArray dataOf(QByteArrayView frame)
{
    return frame.sliced(4, BlockSize).toByteArray();
}

} // namespace mx::frames
