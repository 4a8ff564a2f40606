// SerialPortLink on a pseudo-terminal: the test holds the master side and
// plays the radio byte by byte.

#include "link/PortNames.h"
#include "link/SerialPortLink.h"

#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace mx;

namespace {

struct Pty
{
    int master = -1;
    QString device;

    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
        device = QString::fromLocal8Bit(ptsname(master));
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() { closeMaster(); }
    void closeMaster()
    {
        if (master >= 0) ::close(master);
        master = -1;
    }
    void put(const QByteArray& bytes) const
    {
        QVERIFY(::write(master, bytes.constData(), bytes.size()) == bytes.size());
    }
    // What the program sent since the last forget() (evaluated repeatedly by QTRY_*).
    QByteArray sent()
    {
        char buffer[256];
        ssize_t n;
        while (master >= 0 && (n = ::read(master, buffer, sizeof buffer)) > 0)
            received.append(buffer, int(n));
        return received;
    }
    void forget() { received.clear(); }
    QByteArray received;
};

} // namespace

class TstSerialPort : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensPseudoTerminalByPath();
    void missingDeviceFails();
    void reopenClosesFirst();
    void replyDeliveredAtThreshold_data();
    void replyDeliveredAtThreshold();
    void quietLineHandsOverShortReply_data();
    void quietLineHandsOverShortReply();
    void sendDropsStaleInput();
    void lateBytesWaitForNextFrame();
    void vanishedDeviceReportedOnce();
    void comNumber_data();
    void comNumber();
    void deviceFor_data();
    void deviceFor();
};

void TstSerialPort::opensPseudoTerminalByPath()
{
    Pty pty;
    QVERIFY(!pty.device.isEmpty());
    SerialPortLink link(pty.device);
    QVERIFY2(link.open(), qPrintable(link.errorString()));
    QVERIFY(link.isOpen());
    link.send(QByteArrayLiteral("PROGRAM"), 3);
    QTRY_COMPARE(pty.sent(), QByteArrayLiteral("PROGRAM"));
    pty.forget();
    link.close();
    QVERIFY(!link.isOpen());
}

void TstSerialPort::missingDeviceFails()
{
    SerialPortLink link(QStringLiteral("/nonexistent/ttyMX806"));
    QVERIFY(!link.open());
    QVERIFY(!link.isOpen());
    QVERIFY(!link.errorString().isEmpty());
    SerialPortLink unnamed;
    QVERIFY(!unnamed.open());
    // Sending on a closed port does nothing (and does not crash).
    unnamed.send(QByteArrayLiteral("END"), 1);
}

void TstSerialPort::reopenClosesFirst()
{
    Pty pty;
    SerialPortLink link(pty.device);
    QVERIFY(link.open());
    QVERIFY2(link.open(), qPrintable(link.errorString()));
    QSignalSpy replies(&link, &RadioPort::replyReceived);
    link.send(QByteArray(1, 0x02), 1);
    QTRY_COMPARE(pty.sent(), QByteArray(1, 0x02));
    pty.forget();
    pty.put(QByteArray(1, 0x06));
    QTRY_COMPARE(replies.count(), 1);
}

void TstSerialPort::replyDeliveredAtThreshold_data()
{
    QTest::addColumn<int>("armed");
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QByteArray>("delivered");

    QTest::newRow("handshake reply in pieces")
        << 3 << QList<QByteArray>{"H", "B", "\x06"} << QByteArray("HB\x06");
    QTest::newRow("lone ACK") << 1 << QList<QByteArray>{"\x06"} << QByteArray("\x06");
    const QByteArray frame =
        QByteArray("W\x00\x10\x10", 4) + QByteArray(16, '\xFF') + QByteArray("\x10\x06", 2);
    QTest::newRow("data frame split")
        << 22 << QList<QByteArray>{frame.left(5), frame.mid(5, 10), frame.mid(15)} << frame;
    // Everything that waits when the threshold is reached goes out together.
    QTest::newRow("stray byte and frame together")
        << 22 << QList<QByteArray>{QByteArray(1, '\0') + frame} << QByteArray(1, '\0') + frame;
    QTest::newRow("identification") << 16
                                    << QList<QByteArray>{QByteArray("IMX806\0\0", 8),
                                                         QByteArray("\0V100\0\0\0", 8)}
                                    << QByteArray("IMX806\0\0\0V100\0\0\0", 16);
}

void TstSerialPort::replyDeliveredAtThreshold()
{
    QFETCH(int, armed);
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QByteArray, delivered);

    Pty pty;
    SerialPortLink link(pty.device);
    link.setQuietGap(0); // the threshold alone
    QVERIFY(link.open());
    QSignalSpy replies(&link, &RadioPort::replyReceived);
    link.send(QByteArrayLiteral("X"), armed);
    QTRY_COMPARE(pty.sent(), QByteArrayLiteral("X"));
    pty.forget();

    qint64 sent = 0;
    for (int k = 0; k < chunks.size(); ++k) {
        pty.put(chunks[k]);
        sent += chunks[k].size();
        if (sent < armed) {
            // Below the threshold: collected, not handed over.
            QTRY_COMPARE(link.bytesWaiting(), sent);
            QCOMPARE(replies.count(), 0);
        }
    }
    QTRY_COMPARE(replies.count(), 1);
    QCOMPARE(replies.at(0).at(0).toByteArray(), delivered);
    QCOMPARE(link.bytesWaiting(), 0);
}

void TstSerialPort::quietLineHandsOverShortReply_data()
{
    QTest::addColumn<int>("armed");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("lone ACK to the handshake") << 3 << QByteArray(1, 0x06);
    QTest::newRow("data frame cut short") << 22 << QByteArray("W\x00\x10\x10\xFF\xFF", 6);
}

void TstSerialPort::quietLineHandsOverShortReply()
{
    QFETCH(int, armed);
    QFETCH(QByteArray, reply);
    Pty pty;
    SerialPortLink link(pty.device);
    QCOMPARE(link.quietGap(), SerialPortLink::DefaultQuietGapMs);
    QVERIFY(link.open());
    QSignalSpy replies(&link, &RadioPort::replyReceived);
    link.send(QByteArrayLiteral("PROGRAM"), armed);
    QTRY_COMPARE(pty.sent(), QByteArrayLiteral("PROGRAM"));
    pty.put(reply);
    QTRY_COMPARE(replies.count(), 1);
    QCOMPARE(replies.at(0).at(0).toByteArray(), reply);
    // Handed over once; later bytes wait for the next frame.
    pty.put(QByteArrayLiteral("B"));
    QTRY_COMPARE(link.bytesWaiting(), 1);
    QTest::qWait(3 * SerialPortLink::DefaultQuietGapMs);
    QCOMPARE(replies.count(), 1);
}

void TstSerialPort::sendDropsStaleInput()
{
    Pty pty;
    SerialPortLink link(pty.device);
    QVERIFY(link.open());
    QSignalSpy replies(&link, &RadioPort::replyReceived);
    link.send(QByteArrayLiteral("PROGRAM"), 3);
    QTRY_COMPARE(pty.sent(), QByteArrayLiteral("PROGRAM"));
    pty.forget();
    link.setQuietGap(0);
    pty.put(QByteArrayLiteral("H")); // an answer that never completes
    QTRY_COMPARE(link.bytesWaiting(), 1);

    link.send(QByteArrayLiteral("PROGRAM"), 3);
    QTRY_COMPARE(pty.sent(), QByteArrayLiteral("PROGRAM"));
    pty.forget();
    QCOMPARE(link.bytesWaiting(), 0);
    pty.put(QByteArrayLiteral("HB\x06"));
    QTRY_COMPARE(replies.count(), 1);
    QCOMPARE(replies.at(0).at(0).toByteArray(), QByteArrayLiteral("HB\x06"));
}

void TstSerialPort::lateBytesWaitForNextFrame()
{
    Pty pty;
    SerialPortLink link(pty.device);
    QVERIFY(link.open());
    QSignalSpy replies(&link, &RadioPort::replyReceived);
    link.send(QByteArrayLiteral("END"), 1);
    QTRY_COMPARE(pty.sent(), QByteArrayLiteral("END"));
    pty.forget();
    pty.put(QByteArray(1, 0x06));
    QTRY_COMPARE(replies.count(), 1);

    pty.put(QByteArrayLiteral("late"));
    QTRY_COMPARE(link.bytesWaiting(), 4);
    QCOMPARE(replies.count(), 1);

    link.send(QByteArray(1, 0x02), 16);
    QTRY_COMPARE(pty.sent(), QByteArray(1, 0x02));
    pty.forget();
    const QByteArray ident = QByteArray("IMX806\0\0\0V100\x03\0\0", 16);
    pty.put(ident);
    QTRY_COMPARE(replies.count(), 2);
    QCOMPARE(replies.at(1).at(0).toByteArray(), ident);
}

void TstSerialPort::vanishedDeviceReportedOnce()
{
    Pty pty;
    SerialPortLink link(pty.device);
    QVERIFY(link.open());
    QSignalSpy lost(&link, &RadioPort::portLost);
    QSignalSpy replies(&link, &RadioPort::replyReceived);
    link.send(QByteArrayLiteral("R\x00\x00\x10"), 22);
    QTRY_VERIFY(!pty.sent().isEmpty());
    pty.closeMaster();
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!link.isOpen());
    // Nothing more comes: no second report, no reply, no busy loop on a dead descriptor.
    QTest::qWait(100);
    QCOMPARE(lost.count(), 1);
    QCOMPARE(replies.count(), 0);
    QVERIFY(!link.errorString().isEmpty());
}

void TstSerialPort::comNumber_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::newRow("COM1") << "COM1" << 1;
    QTest::newRow("COM12") << "COM12" << 12;
    QTest::newRow("lower case") << "com3" << 3;
    QTest::newRow("blank") << "COM 4" << 4;
    QTest::newRow("no number") << "COM" << 0;
    QTest::newRow("zero") << "COM0" << 0;
    QTest::newRow("letters") << "COMx" << 0;
    QTest::newRow("device path") << "/dev/ttyS0" << 0;
}

void TstSerialPort::comNumber()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QCOMPARE(ports::comNumber(name), number);
}

void TstSerialPort::deviceFor_data()
{
    QTest::addColumn<int>("comPort");
    QTest::addColumn<QString>("comPortName");
    QTest::addColumn<QString>("device");
    QTest::newRow("stored path wins") << 2 << "/dev/pts/7"
                                      << "/dev/pts/7";
    QTest::newRow("no port") << 0 << ""
                             << "";
#ifdef Q_OS_WIN
    QTest::newRow("number") << 3 << ""
                            << "COM3";
#else
    QTest::newRow("listed") << 2 << ""
                            << "/dev/ttyUSB0";
    QTest::newRow("not listed") << 5 << ""
                                << "/dev/ttyS4";
#endif
}

void TstSerialPort::deviceFor()
{
    QFETCH(int, comPort);
    QFETCH(QString, comPortName);
    QFETCH(QString, device);
    QList<ports::PortEntry> listed(2);
    listed[0].number = 1;
    listed[0].deviceName = QStringLiteral("/dev/ttyS0");
    listed[1].number = 2;
    listed[1].deviceName = QStringLiteral("/dev/ttyUSB0");
    QCOMPARE(ports::deviceFor(comPort, comPortName, listed), device);
}

QTEST_GUILESS_MAIN(TstSerialPort)
#include "tst_serialport.moc"
