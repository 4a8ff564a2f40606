#include "FakeRadio.h"

#include <QStringList>
#include <QTimer>

#include <algorithm>

using namespace mx;

namespace {

// The radio's side of the frames, written out here rather than taken from the program's frame code.
const QByteArray Ack("\x06", 1);

quint8 checksum(const QByteArray& frame)
{
    quint8 sum = 0;
    for (int k = 1; k < 20; ++k)
        sum = quint8(sum + quint8(frame[k]));
    return sum;
}

// "W", AH, AL, 16, the 16 bytes, their checksum (AH to the last data byte, modulo 256), ACK.
QByteArray blockFrame(int address, const QByteArray& memory)
{
    QByteArray frame("W");
    frame += char(address >> 8);
    frame += char(address & 0xFF);
    frame += char(16);
    frame += memory.mid(address, 16);
    return frame + char(checksum(frame)) + Ack;
}

bool wellFormedWrite(const QByteArray& frame)
{
    return frame[3] == 16 && quint8(frame[20]) == checksum(frame) && frame[21] == Ack[0];
}

} // namespace

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

void FakeRadio::configure(const QString& options)
{
    for (const QString& option : options.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = option.section(QLatin1Char('='), 0, 0),
                      value = option.section(QLatin1Char('='), 1);
        QSet<int> numbers;
        for (const QString& n : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            numbers << n.toInt(nullptr, 0);
        if (key == "detached")
            attached = false;
        else if (key == "endUnanswered")
            answerEnd = false;
        else if (key == "model")
            model = value.toLatin1();
        else if (key == "firmware")
            firmware = value.toLatin1();
        else if (key == "flags")
            flags = value.toInt();
        else if (key == "silentHandshakes")
            silentHandshakes = numbers;
        else if (key == "silentIdents")
            silentIdents = numbers;
        else
            qFatal("FakeRadio: unknown option %s", qPrintable(option));
    }
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
    if (frame == "PROGRAM")
        f.kind = Kind::Handshake;
    else if (frame == "\x02")
        f.kind = Kind::Ident;
    else if (frame == "END")
        f.kind = Kind::End;
    else if (frame.size() == 4 && frame[0] == 'R' && frame[3] == 16)
        f.kind = Kind::Read;
    else if (frame.size() == 22 && frame[0] == 'W')
        f.kind = Kind::Write;
    if (f.kind == Kind::Read || f.kind == Kind::Write) f.address = quint8(frame[1]) * 256 + quint8(frame[2]);
    if (onFrame) onFrame(f);
    f.radio = attached ? radioId : 0; // the hook may have swapped the radio
    frames.append(f);
    if (!m_open || !attached) return;

    switch (f.kind) {
    case Kind::Handshake:
        if (silentHandshakes.contains(count(Kind::Handshake))) return;
        return reply("HB\x06");
    case Kind::Ident: {
        if (silentIdents.contains(count(Kind::Ident))) return;
        // "I", the model in 7 bytes, one unused, the firmware in 4, the feature flags, two unused.
        QByteArray id =
            "I" + model.leftJustified(7, '\0', true) + '\0' + firmware.leftJustified(4, '\0', true);
        return reply(id + char(flags) + QByteArray(2, '\0'));
    }
    case Kind::Read:
        if (dropOnce.remove(f.address)) return;
        if (strayAckOnce.remove(f.address)) return reply(Ack);
        return reply(blockFrame(f.address, memory));
    case Kind::Write:
        if (!wellFormedWrite(frame) || dropOnce.remove(f.address)) return;
        memory.replace(f.address, 16, frame.mid(4, 16));
        return reply(Ack);
    case Kind::End:
        if (answerEnd) reply(Ack);
        return;
    case Kind::Other:
        return;
    }
}

int FakeRadio::count(Kind kind, int radio) const
{
    return int(std::count_if(frames.begin(), frames.end(), [&](const Frame& f) {
        return f.kind == kind && (radio < 0 || f.radio == radio);
    }));
}

QList<int> FakeRadio::addresses(Kind kind) const
{
    QList<int> list;
    for (const Frame& f : frames)
        if (f.kind == kind) list.append(f.address);
    return list;
}

QString FakeRadio::trace() const
{
    QStringList runs;
    QChar last;
    int n = 0;
    auto flush = [&] {
        if (n > 0) runs << (n > 1 ? last + QString::number(n) : QString(last));
    };
    for (const Frame& f : frames) {
        const QChar c = QLatin1Char("HIRWE?"[int(f.kind)]);
        if (c != last) {
            flush();
            last = c;
            n = 0;
        }
        ++n;
    }
    flush();
    return runs.join(QLatin1Char(' '));
}
