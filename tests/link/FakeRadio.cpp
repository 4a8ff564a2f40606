#include "FakeRadio.h"

#include "link/Frames.h"

#include <QTimer>

using namespace mx;

FakeRadio::FakeRadio(QObject* parent) : RadioPort(parent), memory(0x4000, char(0xFF)) {}

bool FakeRadio::open()
{
    if (failOpen) return false;
    if (m_open) close();
    m_open = true;
    ++opens;
    ++m_generation;
    return true;
}

void FakeRadio::close()
{
    m_open = false;
    ++closes;
    ++m_generation;
}

void FakeRadio::swapRadio()
{
    ++radioId;
    memory.fill(char(0xFF), 0x4000);
}

void FakeRadio::lose()
{
    m_open = false;
    ++m_generation;
    Q_EMIT portLost();
}

void FakeRadio::reply(const QByteArray& bytes)
{
    // Sending discards whatever an earlier reply left waiting: only the reply
    // to the latest frame can arrive.
    const int generation = m_generation;
    QTimer::singleShot(0, this, [this, generation, bytes] {
        if (m_open && generation == m_generation) Q_EMIT replyReceived(bytes);
    });
}

void FakeRadio::send(const QByteArray& frame, int)
{
    ++m_generation;
    Frame f{Kind::Other, -1, attached ? radioId : 0};
    if (frame == frames::handshake())
        f.kind = Kind::Handshake;
    else if (frame == frames::identificationRequest())
        f.kind = Kind::Ident;
    else if (frame == frames::endFrame())
        f.kind = Kind::End;
    else if (frame.size() == 4 && frame[0] == 'R')
        f = {Kind::Read, quint8(frame[1]) * 256 + quint8(frame[2]), f.radio};
    else if (frame.size() == frames::DataFrameLength && frame[0] == 'W')
        f = {Kind::Write, quint8(frame[1]) * 256 + quint8(frame[2]), f.radio};
    if (onFrame) onFrame(f);
    f.radio = attached ? radioId : 0; // the hook may have swapped the radio
    frames.append(f);
    if (!m_open || !attached) return;

    switch (f.kind) {
    case Kind::Handshake:
        if (ignoreHandshakes > 0) {
            --ignoreHandshakes;
            return;
        }
        reply(loneAck ? QByteArray(1, frames::Ack) : frames::handshakeReply());
        return;
    case Kind::Ident:
        if (ignoreIdents > 0) {
            --ignoreIdents;
            return;
        }
        reply(frames::identificationReply(model, firmware, flags));
        return;
    case Kind::Read: {
        if (dropOnce.remove(f.address)) return;
        if (strayAckOnce.remove(f.address)) {
            reply(QByteArray(1, frames::Ack));
            return;
        }
        QByteArray data = frames::dataFrame(f.address, memory);
        if (badChecksumOnce.remove(f.address)) data[data.size() - 2] = char(data[data.size() - 2] + 1);
        reply(data);
        return;
    }
    case Kind::Write:
        if (!frames::checksumMatches(frame)) return;
        if (dropOnce.remove(f.address)) return;
        memory.replace(f.address, frames::BlockSize, frames::dataOf(frame));
        reply(QByteArray(1, frames::Ack));
        return;
    case Kind::End:
        if (answerEnd) reply(QByteArray(1, frames::Ack));
        return;
    case Kind::Other:
        return;
    }
}

int FakeRadio::count(Kind kind, int radio) const
{
    int n = 0;
    for (const Frame& f : frames)
        n += f.kind == kind && (radio < 0 || f.radio == radio) ? 1 : 0;
    return n;
}

QList<int> FakeRadio::addresses(Kind kind) const
{
    QList<int> list;
    for (const Frame& f : frames) {
        if (f.kind == kind) list.append(f.address);
    }
    return list;
}
