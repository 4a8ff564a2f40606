#pragma once

// An in-memory radio behind the RadioPort interface. It answers every frame
// the way the radio does, one event-loop turn later, and can be told to stay
// silent, to lose replies, to answer with a lone ACK, or to be swapped for another.

#include "link/MemoryCodec.h"
#include "link/RadioPort.h"

#include <QByteArray>
#include <QList>
#include <QSet>

#include <functional>

class FakeRadio : public mx::RadioPort
{
    Q_OBJECT
public:
    explicit FakeRadio(QObject* parent = nullptr);

    enum class Kind { Handshake, Ident, Read, Write, End, Other };
    struct Frame
    {
        Kind kind;
        int address; // read and write frames
        int radio;   // which radio was attached (0: none)
    };

    // ---- Port ----
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void send(const QByteArray& frame, int expectedReplyLength) override;
    bool failOpen = false;
    int opens = 0, closes = 0;

    // ---- Radio ----
    bool attached = true;
    int radioId = 1;   // changes with swapRadio()
    QByteArray memory; // 16,384 bytes
    QByteArray model = "MX806", firmware = "V100";
    int flags = 0;
    bool answerEnd = true;
    // Which handshakes and identification requests get no answer (1 the first sent).
    QSet<int> silentHandshakes, silentIdents;
    // Blocks whose reply is lost (reads and writes), or whose read request gets a lone ACK; once each.
    QSet<int> dropOnce, strayAckOnce;
    // Called with every frame before the radio looks at it.
    std::function<void(const Frame&)> onFrame;

    // Sets the radio up from options separated by blanks: detached, endUnanswered,
    // model=X, firmware=X, flags=N, and the lists silentHandshakes=1,3 and silentIdents=N,...
    void configure(const QString& options);
    // A different radio on the cable (blank memory).
    void swapRadio();

    // ---- Record ----
    QList<Frame> frames;
    int count(Kind kind, int radio = -1) const;
    QList<int> addresses(Kind kind) const;
    // The frames sent in runs of one kind, e.g. "H2 I R1024 E": handshake
    // twice, identification, 1,024 reads, end.
    QString trace() const;

private:
    void reply(const QByteArray& bytes);
    bool m_open = false;
    int m_generation = 0;
};

// The radio's memory erased, and as a write of the image leaves it.
inline QByteArray filledMemory()
{
    QByteArray memory;
    mx::fillRadioMemory(memory);
    return memory;
}
inline QByteArray imageMemory(const mx::RadioImage& image)
{
    QByteArray memory = filledMemory();
    mx::encodeImage(image, memory);
    return memory;
}
