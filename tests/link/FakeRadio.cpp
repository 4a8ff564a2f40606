#include "FakeRadio.h"

#include "link/Frames.h"

#include <QStringList>
#include <QTimer>

#include <algorithm>

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
    if (frame == frames::handshake())
        f.kind = Kind::Handshake;
    else if (frame == frames::identificationRequest())
        f.kind = Kind::Ident;
    else if (frame == frames::endFrame())
        f.kind = Kind::End;
    else if (frame.size() == 4 && frame[0] == 'R')
        f.kind = Kind::Read;
    else if (frame.size() == frames::DataFrameLength && frame[0] == 'W')
        f.kind = Kind::Write;
    if (f.kind == Kind::Read || f.kind == Kind::Write) f.address = quint8(frame[1]) * 256 + quint8(frame[2]);
    if (onFrame) onFrame(f);
    f.radio = attached ? radioId : 0; // the hook may have swapped the radio
    frames.append(f);
    if (!m_open || !attached) return;

    const auto ack = QByteArray(1, frames::Ack);
    switch (f.kind) {
    case Kind::Handshake:
        if (silentHandshakes.contains(count(Kind::Handshake))) return;
        return reply(frames::handshakeReply());
    case Kind::Ident:
        if (silentIdents.contains(count(Kind::Ident))) return;
        return reply(frames::identificationReply(model, firmware, flags));
    case Kind::Read: {
        if (dropOnce.remove(f.address)) return;
        if (strayAckOnce.remove(f.address)) return reply(ack);
        return reply(frames::dataFrame(f.address, memory));
    }
    case Kind::Write:
        if (!frames::checksumMatches(frame) || dropOnce.remove(f.address)) return;
        memory.replace(f.address, frames::BlockSize, frames::dataOf(frame));
        return reply(ack);
    case Kind::End:
        if (answerEnd) reply(ack);
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
