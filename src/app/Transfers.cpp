#include "app/Transfers.h"

#include "app/Document.h"
#include "app/PortSetting.h"
#include "app/Startup.h"
#include "link/SerialPortLink.h"
#include "link/Verify.h"
#include "texts/MainTexts.h"

namespace mx {

Transfers::Transfers(App& app, Document& document, const PortSetting& port, QObject* parent)
    : QObject(parent), m_app(app), m_document(document), m_portSetting(port),
      m_port(new SerialPortLink(this)),
      m_session(new Session(*m_port, app.image, app.versions, app.messenger, this))
{
    m_radioCountAsker = [] { return 0; };
    m_session->setSoftwareStarter(
        [this](const QString& version) { m_document.handOverTo(version, [this] { m_port->close(); }); });
    connect(m_session, &Session::imageAboutToBeReplaced, &m_document, &Document::aboutToReplaceImage);
    connect(m_session, &Session::imageReplaced, &m_document, &Document::radioRead);
    connect(m_session, &Session::finished, this, &Transfers::sessionEnded);

    m_timerWrite.setSingleShot(true);
    m_timerWrite.setInterval(20);
    connect(&m_timerWrite, &QTimer::timeout, this, &Transfers::startWrite);
}

Transfers::~Transfers()
{
    // The session goes before its port.
    delete m_session;
}

bool Transfers::isRunning() const
{
    return m_session->isRunning();
}

int Transfers::language() const
{
    return m_app.messenger.language() == Chinese ? Chinese : English;
}

void Transfers::read()
{
    m_document.commitEdits();
    m_port->setPortName(m_portSetting.device());
    if (m_session->startRead())
        Q_EMIT started(true, 0);
    else
        explainRefusedPort();
}

void Transfers::write()
{
    // A value still being typed goes with the write; the write starts from a timer.
    m_document.commitEdits();
    m_timerWrite.start();
}

void Transfers::startWrite()
{
    m_port->setPortName(m_portSetting.device());
    if (!m_session->startWrite()) return explainRefusedPort();
    m_pending = Pending::Write;
    m_written = m_session->radioMemory();
    m_document.backUp(QStringLiteral("write"));
    Q_EMIT started(false, 0);
}

void Transfers::multiWrite()
{
    m_document.commitEdits();
    const int radios = m_radioCountAsker();
    if (radios < 1) return;
    m_port->setPortName(m_portSetting.device());
    m_session->setVerifyEachRadio(m_verifyAfterWrite);
    if (!m_session->startMultiWrite(radios)) return explainRefusedPort();
    m_document.backUp(QStringLiteral("write"));
    Q_EMIT started(false, radios);
}

void Transfers::radioInformation(bool fillMemory)
{
    m_port->setPortName(m_portSetting.device());
    m_session->startHandshakeOnly(fillMemory);
}

void Transfers::cancel()
{
    m_session->cancel();
}

void Transfers::sessionEnded(SessionOutcome outcome)
{
    const Pending pending = std::exchange(m_pending, Pending::None);
    if (pending == Pending::Write && outcome == SessionOutcome::Completed && m_verifyAfterWrite) {
        // After "Write Data Completed." the radio is read back in a session of its own.
        QTimer::singleShot(0, this, &Transfers::startVerify);
    } else if (pending == Pending::Verify && outcome == SessionOutcome::Completed) {
        const VerifyResult result = compareWritten(m_written, m_session->radioMemory());
        if (result.ok)
            m_app.messenger.ask(mainText(MainText::VerifyPassed, language()), Buttons::Ok, Icon::Information);
        else
            m_app.messenger.ask(verifyFailedMessage(result), Buttons::Ok, Icon::Exclamation);
    } else if (outcome == SessionOutcome::VerifyFailed) {
        // A multi-radio write stopped at the radio that does not hold what was written.
        m_app.messenger.ask(
            verifyFailedMessage(m_session->verifyResult()) + QStringLiteral("\r\n") +
                mainText(MainText::VerifyFailedRadio, language()).arg(m_session->radiosWritten() + 1),
            Buttons::Ok, Icon::Exclamation);
    }
}

QString Transfers::verifyFailedMessage(const VerifyResult& result) const
{
    return mainText(MainText::VerifyFailedAt, language()) + QLatin1Char(' ') + verifyPlace(result) +
           QLatin1Char('.');
}

void Transfers::explainRefusedPort()
{
    if (m_session->lastOutcome() == SessionOutcome::PortError &&
        m_port->errorString().contains(QLatin1String("ermission")))
        m_app.messenger.ask(mainText(MainText::PortAccessHint, language()), Buttons::Ok, Icon::Information);
}

void Transfers::startVerify()
{
    if (!m_session->startVerify()) return;
    m_pending = Pending::Verify;
    Q_EMIT started(true, 0);
}

} // namespace mx
