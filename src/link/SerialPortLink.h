#pragma once

#include "link/PortNames.h"
#include "link/RadioPort.h"

#include <QSerialPort>
#include <QTimer>

namespace mx {

// The wire to the radio on a real serial device (or a pseudo-terminal):
// 9600 baud, no parity, 8 data bits, 1 stop bit, no flow control.
// Received bytes are collected until the armed reply length is waiting; then
// every waiting byte is handed over in one replyReceived. Bytes that arrive
// after that wait for the next frame, which discards them.
// A reply shorter than armed is handed over once the line has been quiet for
// the quiet gap: a radio that answers the handshake with a lone ACK instead of
// "HB" ACK has said all it will say. A reply still arriving never pauses that
// long (a byte takes about 1 ms; USB adapters pass bytes on at least every
// 16 ms), and the gap is well below the 300 ms reply time-out.
class SerialPortLink : public RadioPort
{
    Q_OBJECT
public:
    explicit SerialPortLink(QObject* parent = nullptr);
    explicit SerialPortLink(const QString& deviceName, QObject* parent = nullptr);
    ~SerialPortLink() override;

    // A device name as QSerialPort takes it: "COM3", "ttyUSB0" or a full path
    // such as /dev/pts/7. Used at the next open().
    void setPortName(const QString& deviceName);
    QString portName() const { return m_deviceName; }

    bool open() override;
    void close() override;
    bool isOpen() const override;
    void send(const QByteArray& frame, int expectedReplyLength) override;
    QString errorString() const override { return m_error; }
    // Why the last open() failed, in a language (see ports::explainOpenFailure); "" after a successful one.
    QString openFailureText(int language) const;

    // Bytes waiting below the armed length (for tests).
    qint64 bytesWaiting() const;

    static constexpr int DefaultQuietGapMs = 50;
    // 0 or less: a short reply is never handed over.
    void setQuietGap(int ms) { m_quietGapMs = ms; }
    int quietGap() const { return m_quietGapMs; }

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void onQuiet();
    void deliver();

    QSerialPort m_port;
    QTimer m_quiet;
    int m_quietGapMs = DefaultQuietGapMs;
    QString m_deviceName;
    QString m_error;
    QString m_reason; // the system's words for the last failure to open
    ports::OpenFailure m_failure = ports::OpenFailure::None;
    int m_armed = 0;
    bool m_lostReported = false;
    int m_opening = 0; // counts open() and close() calls, so a late loss report cannot close a newer opening
};

} // namespace mx
