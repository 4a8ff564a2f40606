#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace mx {

// The wire to the radio: 9600 baud, no parity, 8 data bits, 1 stop bit, no
// handshaking, binary. One frame goes out at a time; the reply notification
// comes once at least the armed number of bytes is waiting and carries every
// byte that is waiting at that moment.
class RadioPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens with the fixed configuration, closing first when open.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Discards whatever is waiting in both directions, arms the reply length,
    // then writes the frame in one piece.
    virtual void send(const QByteArray& frame, int expectedReplyLength) = 0;
    // A readable reason for the last failure (for logs and the command line).
    virtual QString errorString() const { return {}; }

Q_SIGNALS:
    // At least the armed number of bytes arrived: all waiting bytes.
    void replyReceived(const QByteArray& bytes);
    // The far end vanished (cable pulled, device gone). The port is closed already.
    void portLost();
};

} // namespace mx
