#include "link/Frames.h"

namespace mx::frames {

QByteArray handshake()
{
    return QByteArrayLiteral("PROGRAM");
}

QByteArray identificationRequest()
{
    return QByteArray(1, '\x02');
}

QByteArray readRequest(int address)
{
    QByteArray frame;
    frame.append('R');
    frame.append(char((address >> 8) & 0xFF));
    frame.append(char(address & 0xFF));
    frame.append(char(BlockSize));
    return frame;
}

QByteArray endFrame()
{
    return QByteArrayLiteral("END");
}

QByteArray dataFrame(int address, QByteArrayView memory)
{
    QByteArray frame;
    frame.reserve(DataFrameLength);
    frame.append('W');
    frame.append(char((address >> 8) & 0xFF));
    frame.append(char(address & 0xFF));
    frame.append(char(BlockSize));
    for (int k = 0; k < BlockSize; ++k) {
        const qsizetype at = qsizetype(address) + k;
        frame.append(at >= 0 && at < memory.size() ? memory[at] : char(0xFF));
    }
    frame.append(char(checksum(frame)));
    frame.append(Ack);
    return frame;
}

QByteArray handshakeReply()
{
    return QByteArrayLiteral("HB\x06");
}

QByteArray identificationReply(const QByteArray& modelId, const QByteArray& firmware, int flags)
{
    QByteArray reply(IdentificationLength, '\0');
    reply[0] = 'I';
    for (int k = 0; k < 7 && k < modelId.size(); ++k)
        reply[1 + k] = modelId[k];
    for (int k = 0; k < 4 && k < firmware.size(); ++k)
        reply[9 + k] = firmware[k];
    reply[13] = char(flags & 0xFF);
    return reply;
}

quint8 checksum(QByteArrayView frame)
{
    // AH, AL, LEN and the data bytes: everything after "W" up to the checksum.
    qsizetype end = frame.size();
    if (frame.size() >= 4) end = qMin(frame.size(), 4 + qsizetype(quint8(frame[3])));
    unsigned sum = 0;
    for (qsizetype k = 1; k < end; ++k)
        sum += quint8(frame[k]);
    return quint8(sum & 0xFF);
}

bool checksumMatches(QByteArrayView frame)
{
    if (frame.size() < 6) return false;
    return quint8(frame[frame.size() - 2]) == checksum(frame.first(frame.size() - 2));
}

bool isDataFrame(QByteArrayView bytes, int blockAddress, int blockSize)
{
    if (bytes.isEmpty() || bytes[0] != 'W') return false;
    if (bytes.size() < 4) return false;
    const int address = quint8(bytes[1]) * 256 + quint8(bytes[2]);
    const int len = quint8(bytes[3]);
    if (address != blockAddress || len != blockSize) return false;
    if (bytes.size() != len + 6) return false;
    if (bytes.back() != Ack) return false;
    return checksumMatches(bytes);
}

Reply classify(QByteArrayView bytes, int blockAddress, int blockSize)
{
    if (bytes.size() == 1 && bytes[0] == Ack) return Reply::Ack;
    if (bytes.size() == 3 && bytes[0] == 'H' && bytes[1] == 'B' && bytes[2] == Ack)
        return Reply::HandshakeReply;
    if (bytes.size() == IdentificationLength && bytes[0] == 'I') return Reply::Identification;
    if (isDataFrame(bytes, blockAddress, blockSize)) return Reply::DataFrame;
    return Reply::Ignored;
}

RadioIdentity decodeIdentification(QByteArrayView reply)
{
    RadioIdentity identity;
    if (reply.size() < IdentificationLength) return identity;
    QByteArray model = reply.sliced(1, 7).toByteArray();
    const qsizetype nul = model.indexOf('\0');
    if (nul >= 0) model.truncate(nul);
    while (!model.isEmpty() && model.back() == ' ')
        model.chop(1);
    identity.modelId = QString::fromLatin1(model);
    // A firmware text shorter than four characters ends at its first NUL, like the model.
    QByteArray firmware = reply.sliced(9, 4).toByteArray();
    if (const qsizetype end = firmware.indexOf('\0'); end >= 0) firmware.truncate(end);
    identity.firmware = QString::fromLatin1(firmware);
    identity.toneSquelchUnsupported = (quint8(reply[13]) & 0x01) != 0;
    identity.tvUnsupported = (quint8(reply[13]) & 0x02) != 0;
    return identity;
}

} // namespace mx::frames
