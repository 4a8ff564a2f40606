#include "link/SerialPortLink.h"

namespace mx {

SerialPortLink::SerialPortLink(QObject* parent) : RadioPort(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPortLink::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPortLink::onError);
    m_quiet.setSingleShot(true);
    m_quiet.setTimerType(Qt::PreciseTimer);
    connect(&m_quiet, &QTimer::timeout, this, &SerialPortLink::onQuiet);
}

SerialPortLink::SerialPortLink(const QString& deviceName, QObject* parent) : SerialPortLink(parent)
{
    setPortName(deviceName);
}

SerialPortLink::~SerialPortLink()
{
    // No portLost while the object goes away.
    m_port.disconnect(this);
    if (m_port.isOpen()) m_port.close();
}

void SerialPortLink::setPortName(const QString& deviceName)
{
    m_deviceName = deviceName;
}

bool SerialPortLink::open()
{
    if (m_port.isOpen()) m_port.close();
    m_armed = 0;
    m_lostReported = false;
    ++m_opening;
    m_error.clear();
    m_reason.clear();
    m_failure = ports::OpenFailure::None;
    if (m_deviceName.isEmpty()) {
        m_error = QStringLiteral("no serial port chosen");
        m_failure = ports::OpenFailure::NotChosen;
        return false;
    }
    m_port.setPortName(m_deviceName);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_reason = m_port.errorString();
        m_error = m_deviceName + QStringLiteral(": ") + m_reason;
        m_failure = ports::classifyOpenFailure(m_deviceName, m_port.error());
        m_port.clearError();
        return false;
    }
    // The programming cable takes its power from DTR, which serial drivers
    // raise on open anyway. A pseudo-terminal has no modem lines and reports
    // the call as unsupported: that is no reason to fail.
    if (!m_port.setDataTerminalReady(true)) m_port.clearError();
    m_port.clearError();
    m_port.clear(QSerialPort::AllDirections);
    return true;
}

QString SerialPortLink::openFailureText(int language) const
{
    return ports::explainOpenFailure(m_failure, m_deviceName, m_reason, language);
}

void SerialPortLink::close()
{
    m_armed = 0;
    m_quiet.stop();
    ++m_opening;
    if (m_port.isOpen()) m_port.close();
}

bool SerialPortLink::isOpen() const
{
    return m_port.isOpen();
}

void SerialPortLink::send(const QByteArray& frame, int expectedReplyLength)
{
    if (!m_port.isOpen()) return;
    // Whatever is still waiting belongs to an earlier frame: drop it, both in
    // our buffer and in the driver's.
    if (m_port.bytesAvailable() > 0) m_port.skip(m_port.bytesAvailable());
    m_port.clear(QSerialPort::AllDirections);
    m_quiet.stop();
    m_armed = expectedReplyLength > 0 ? expectedReplyLength : 1;
    m_port.write(frame);
    // Hand the frame to the driver now rather than on the next event loop pass.
    m_port.flush();
}

qint64 SerialPortLink::bytesWaiting() const
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

void SerialPortLink::onReadyRead()
{
    if (m_armed <= 0) return;
    if (m_port.bytesAvailable() >= m_armed) {
        deliver();
        return;
    }
    if (m_quietGapMs > 0) m_quiet.start(m_quietGapMs);
}

void SerialPortLink::onQuiet()
{
    if (m_armed > 0 && m_port.isOpen() && m_port.bytesAvailable() > 0) deliver();
}

void SerialPortLink::deliver()
{
    m_quiet.stop();
    m_armed = 0;
    const QByteArray bytes = m_port.readAll();
    Q_EMIT replyReceived(bytes);
}

void SerialPortLink::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
    // The device went away (cable pulled, emulator ended). The report comes
    // from inside the port's own notifier, so the port is closed right after
    // it returns; nothing is collected meanwhile, and the loss is told once.
    const QString reason = m_port.errorString();
    m_port.clearError();
    m_armed = 0;
    m_quiet.stop();
    if (m_lostReported) return;
    m_lostReported = true;
    m_error = m_deviceName + QStringLiteral(": ") + reason;
    const int opening = m_opening;
    QMetaObject::invokeMethod(
        this,
        [this, opening] {
            if (opening != m_opening)
                return; // closed or reopened meanwhile: nobody waits on the lost opening
            if (m_port.isOpen()) m_port.close();
            Q_EMIT portLost();
        },
        Qt::QueuedConnection);
}

} // namespace mx
