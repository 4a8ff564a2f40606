// The frame classifier and the session's step machine fed arbitrary bytes in
// every step of a read, a write, a multi-radio write, an information request
// and a handshake-only check. A well-behaved radio answers each frame unless
// the input says otherwise: garbage instead, a corrupted reply, a reply with
// stray bytes, silence (the reply time-out), or a pulled cable. The user's
// answers to questions come from the input too.

#include "FuzzSupport.h"

#include "data/Defaults.h"
#include "link/Frames.h"
#include "link/MemoryCodec.h"
#include "link/Session.h"

#include <QEventLoop>
#include <QTimer>

using namespace mx;

namespace {

class ScriptPort : public RadioPort
{
public:
    bool open() override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void send(const QByteArray& frame, int) override
    {
        FUZZ_CHECK(m_open);
        pending = frame;
        hasPending = true;
    }
    void reply(const QByteArray& bytes) { Q_EMIT replyReceived(bytes); }
    void lose()
    {
        m_open = false;
        Q_EMIT portLost();
    }
    QByteArray pending;
    bool hasPending = false;

private:
    bool m_open = false;
};

// What a radio answers to a frame.
QByteArray answer(const QByteArray& frame, QByteArray& memory, const QByteArray& model,
                  const QByteArray& firmware, int flags)
{
    if (frame == frames::handshake()) return frames::handshakeReply();
    if (frame == frames::identificationRequest()) return frames::identificationReply(model, firmware, flags);
    if (frame == frames::endFrame()) return QByteArray(1, frames::Ack);
    if (frame.size() == 4 && frame[0] == 'R') {
        const int address = quint8(frame[1]) * 256 + quint8(frame[2]);
        return frames::dataFrame(address, memory);
    }
    if (frame.size() == frames::DataFrameLength && frame[0] == 'W') {
        const int address = quint8(frame[1]) * 256 + quint8(frame[2]);
        memory.replace(address, frames::BlockSize, frames::dataOf(frame));
        return QByteArray(1, frames::Ack);
    }
    return {};
}

// Lets the reply time-out (1 ms) fire.
void idle()
{
    QEventLoop loop;
    QTimer::singleShot(2, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::app();
    fuzz::Input input(data, size);
    const int kind = input.byte() % 5;
    const int who = input.byte();
    const QByteArray model = (who & 3) == 3 ? QByteArray("MX807") : QByteArray("MX806");
    const QByteArray firmware = (who & 12) == 12 ? QByteArray("V101") : QByteArray("V100");
    const int flags = (who >> 4) & 3;

    RadioImage image;
    defaults::applyBuiltIn(image, QDate(2026, 12, 7));
    image.copyWorkToStaging();
    const RadioDataRecord before = image.work;
    const ChannelArray channelsBefore = image.workChannels;

    ScriptPort port;
    fuzz::InputPrompter prompter(input);
    Messenger messenger(prompter);
    Session session(port, image, fuzz::versions(), messenger);
    session.setReplyTimeout(1);
    int finished = 0;
    SessionOutcome outcome = SessionOutcome::Completed;
    QObject::connect(&session, &Session::finished, [&](SessionOutcome o) {
        ++finished;
        outcome = o;
    });

    QByteArray radio(RadioMemorySize, char(0xFF));
    fillRadioMemory(radio);
    bool started = false;
    switch (kind) {
    case 0:
        started = session.startRead();
        break;
    case 1:
        started = session.startWrite();
        break;
    case 2:
        started = session.startMultiWrite(1 + (who >> 6));
        break;
    case 3:
        started = session.startInfo();
        break;
    default:
        started = session.startHandshakeOnly(true);
        break;
    }
    if (!started) {
        FUZZ_CHECK(finished == 0 && !session.isRunning());
        return 0;
    }

    int exchanges = 0, timeouts = 0, idleRounds = 0;
    while (session.isRunning()) {
        if (!port.hasPending) {
            // A queued reply or the time-out is due; a session waiting on nothing is ended.
            if (++idleRounds > 20) {
                session.cancel();
                break;
            }
            idle();
            continue;
        }
        idleRounds = 0;
        port.hasPending = false;
        const QByteArray frame = port.pending;
        if (++exchanges > 6000) {
            session.cancel();
            break;
        }
        const QByteArray good = answer(frame, radio, model, firmware, flags);
        const int op = input.empty() ? 0 : input.byte() % 8;
        switch (op) {
        case 3: // garbage
            port.reply(input.take(input.byte() % 32));
            break;
        case 4: { // one byte of the right reply changed
            QByteArray bad = good.isEmpty() ? QByteArray(1, '\0') : good;
            bad[input.byte() % bad.size()] ^= char(input.byte() | 1);
            port.reply(bad);
            break;
        }
        case 5: // silence: the reply time-out decides
            if (++timeouts <= 6) break;
            port.reply(good);
            break;
        case 6: // stray bytes before or after the reply
            port.reply((input.byte() & 1) ? input.take(1 + input.byte() % 3) + good
                                          : good + input.take(1 + input.byte() % 3));
            break;
        case 7: // the cable is pulled now, once in a while
            if ((input.byte() & 7) == 0) {
                port.lose();
                break;
            }
            port.reply(good);
            break;
        default:
            port.reply(good);
            break;
        }
    }
    while (session.isRunning())
        session.cancel();

    FUZZ_CHECK(finished == 1);
    FUZZ_CHECK(!port.isOpen());
    const bool readDone = prompter.texts.contains(QStringLiteral("Read Data Completed."));
    const bool writeDone = prompter.texts.contains(QStringLiteral("Write Data Completed."));
    // Success is said only when it happened, and only for the kind of transfer it was.
    FUZZ_CHECK(readDone == (kind == 0 && outcome == SessionOutcome::Completed));
    FUZZ_CHECK(writeDone == ((kind == 1 || kind == 2) && outcome == SessionOutcome::Completed));
    // The image changes only when a read succeeds.
    if (!readDone) {
        FUZZ_CHECK(image.work == before);
        FUZZ_CHECK(image.workChannels.records == channelsBefore.records);
    }
    return 0;
}
