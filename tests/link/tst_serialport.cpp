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
    QByteArray received;

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
    // What the program sent so far (evaluated repeatedly by QTRY_*).
    QByteArray sent()
    {
        char buffer[256];
        ssize_t n;
        while (master >= 0 && (n = ::read(master, buffer, sizeof buffer)) > 0)
            received.append(buffer, int(n));
        return received;
    }
};

// A link opened on a fresh pseudo-terminal, its replies recorded.
struct Wire
{
    Pty pty;
    SerialPortLink link{pty.device};
    QSignalSpy replies{&link, &RadioPort::replyReceived};

    explicit Wire(int quietGap = -1) // -1: the link's default
    {
        if (quietGap >= 0) link.setQuietGap(quietGap);
        QVERIFY2(link.open(), qPrintable(link.errorString()));
    }
    // Sends a frame and waits until the radio side has it.
    void send(const QByteArray& frame, int armed)
    {
        pty.received.clear();
        link.send(frame, armed);
        QTRY_COMPARE(pty.sent(), frame);
    }
    QByteArray reply(int k) const { return replies.at(k).at(0).toByteArray(); }
};

} // namespace

class TstSerialPort : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Opening an open port closes it and opens it again, usable.
    void opensAndReopens()
    {
        Wire wire;
        QVERIFY(wire.link.isOpen());
        QVERIFY2(wire.link.open(), qPrintable(wire.link.errorString()));
        wire.send("PROGRAM", 1);
        wire.pty.put(QByteArray(1, 0x06));
        QTRY_COMPARE(wire.replies.count(), 1);
        wire.link.close();
        QVERIFY(!wire.link.isOpen());
    }

    // (A device that is not there: tst_cli's "port cannot be opened".)
    void unnamedPortFails()
    {
        SerialPortLink unnamed;
        QVERIFY(!unnamed.open());
        // Sending on a closed port does nothing (and does not crash).
        unnamed.send(QByteArrayLiteral("END"), 1);
        QVERIFY(!unnamed.isOpen());
    }

    // A reply shorter than expected is handed over once the line is quiet. (Replies
    // that come byte by byte: the paced emulator in tst_e2e_read readEndsHalfway and
    // tst_mainwindow; how quickly: bench/bench_link.sh.)
    void quietLineHandsOverShortReply()
    {
        const QByteArray reply("W\x00\x10\x10\xFF\xFF", 6); // a data frame cut short
        Wire wire;
        wire.send("R\x00\x10\x10", 22);
        wire.pty.put(reply);
        QTRY_COMPARE(wire.replies.count(), 1);
        QCOMPARE(wire.reply(0), reply);
        // Handed over once; later bytes wait for the next frame.
        wire.pty.put(QByteArrayLiteral("B"));
        QTRY_COMPARE(wire.link.bytesWaiting(), 1);
        QTest::qWait(3 * SerialPortLink::DefaultQuietGapMs);
        QCOMPARE(wire.replies.count(), 1);
    }

    // Bytes that come after a reply, or an answer that never completes, wait
    // until the next frame goes out, which discards them.
    void sendDropsStaleInput()
    {
        Wire wire(0);
        wire.send("END", 1);
        wire.pty.put(QByteArray(1, 0x06));
        QTRY_COMPARE(wire.replies.count(), 1);
        wire.pty.put(QByteArrayLiteral("late H"));
        QTRY_COMPARE(wire.link.bytesWaiting(), 6);
        QCOMPARE(wire.replies.count(), 1);

        wire.send("PROGRAM", 3);
        QCOMPARE(wire.link.bytesWaiting(), 0);
        wire.pty.put(QByteArrayLiteral("HB\x06"));
        QTRY_COMPARE(wire.replies.count(), 2);
        QCOMPARE(wire.reply(1), QByteArrayLiteral("HB\x06"));
    }

    void vanishedDeviceReportedOnce()
    {
        Wire wire;
        QSignalSpy lost(&wire.link, &RadioPort::portLost);
        wire.send(QByteArrayLiteral("R\x00\x00\x10"), 22);
        wire.pty.closeMaster();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(!wire.link.isOpen());
        // Nothing more comes: no second report, no reply, no busy loop on a dead descriptor.
        QTest::qWait(100);
        QCOMPARE(lost.count(), 1);
        QCOMPARE(wire.replies.count(), 0);
        QVERIFY(!wire.link.errorString().isEmpty());
    }

    void comNumber_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("COM12") << "COM12" << 12;
        QTest::newRow("lower case") << "com3" << 3;
        QTest::newRow("blank") << "COM 4" << 4;
        QTest::newRow("no number") << "COM" << 0;
        QTest::newRow("zero") << "COM0" << 0;
        QTest::newRow("letters") << "COMx" << 0;
        QTest::newRow("device path") << "/dev/ttyS0" << 0;
    }
    void comNumber()
    {
        QFETCH(QString, name);
        QTEST(ports::comNumber(name), "number");
    }

    // (A listed number and a stored path: tst_mainwindow portDialogWithListedPorts and
    // readAndWriteThroughTheEmulator.)
    void deviceFor_data()
    {
        QTest::addColumn<int>("comPort");
        QTest::addColumn<QString>("comPortName");
        QTest::addColumn<QString>("device");
        QTest::newRow("no port") << 0 << QString() << QString();
#ifdef Q_OS_WIN
        QTest::newRow("number") << 3 << QString() << QStringLiteral("COM3");
#else
        QTest::newRow("not listed") << 5 << QString() << QStringLiteral("/dev/ttyS4");
#endif
    }
    void deviceFor()
    {
        QFETCH(int, comPort);
        QFETCH(QString, comPortName);
        QList<ports::PortEntry> listed(2);
        listed[0] = {1, "COM1", "/dev/ttyS0", ""};
        listed[1] = {2, "COM2", "/dev/ttyUSB0", ""};
        QTEST(ports::deviceFor(comPort, comPortName, listed), "device");
    }

    // Why a port did not open. (A device that is not there and one held by
    // another program, in both programs: tst_mainwindow portThatCannotBeOpened.)
    void openFailure_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<ports::OpenFailure>("failure");
        using F = ports::OpenFailure;
        QTest::newRow("none chosen") << "" << QSerialPort::DeviceNotFoundError << F::NotChosen;
        QTest::newRow("locked: we may use the device")
            << "/dev/null" << QSerialPort::PermissionError << F::InUse;
        QTest::newRow("no rights to the device")
            << "/nonexistent/tty" << QSerialPort::PermissionError << F::NoPermission;
        QTest::newRow("anything else") << "/dev/null" << QSerialPort::UnsupportedOperationError << F::Other;
    }
    void openFailure()
    {
        QFETCH(QString, device);
        QFETCH(QSerialPort::SerialPortError, error);
        QTEST(ports::classifyOpenFailure(device, error), "failure");
    }

    void pathKind_data()
    {
        QTest::addColumn<bool>("pty");
        QTest::addColumn<QString>("path");
        QTest::addColumn<ports::PathKind>("kind");
        QTest::newRow("pseudo-terminal") << true << QString() << ports::PathKind::Serial;
        QTest::newRow("not there") << false << "/dev/mx-none" << ports::PathKind::Missing;
        QTest::newRow("character device, no terminal") << false << "/dev/null" << ports::PathKind::NotSerial;
        QTest::newRow("folder") << false << "/dev" << ports::PathKind::NotSerial;
    }
    void pathKind()
    {
        QFETCH(bool, pty);
        QFETCH(QString, path);
        Pty terminal;
        QTEST(ports::pathKind(pty ? terminal.device : path), "kind");
    }
};

QTEST_GUILESS_MAIN(TstSerialPort)
#include "tst_serialport.moc"
