#include "app/Transfers.h"

#include "app/Document.h"
#include "app/PortSetting.h"
#include "app/Startup.h"
#include "data/Renumbering.h"
#include "link/SerialPortLink.h"
#include "link/Verify.h"
#include "texts/MainTexts.h"
#include "texts/TransferTexts.h"

namespace mx {

QString transferEndText(TransferKind kind, SessionOutcome outcome, const SessionEnd& end, int radiosWritten,
                        bool checkEachRadio, int language)
{
    // A Cancel to "Check Connection. Retry or Cancel?" is a cancel too.
    if (outcome != SessionOutcome::Cancelled && outcome != SessionOutcome::NoAnswer &&
        outcome != SessionOutcome::PortLost)
        return {};
    const bool lost = outcome == SessionOutcome::PortLost;
    using T = TransferText;
    switch (kind) {
    case TransferKind::Read:
        return text(lost ? T::LostRead : T::CancelledRead, language);
    case TransferKind::Write:
        if (!end.dataSent) return text(lost ? T::LostBeforeData : T::CancelledBeforeData, language);
        return text(lost ? T::LostWrite : T::CancelledWrite, language);
    case TransferKind::Check:
        return text(lost ? T::LostCheck : T::CancelledCheck, language);
    case TransferKind::MultiWrite:
        break;
    }
    QString words = text(lost                      ? T::MultiLost
                         : end.waitingForNextRadio ? T::MultiCancelledWaiting
                                                   : T::MultiCancelled,
                         language);
    const QString space = language == Chinese ? QString() : QStringLiteral(" ");
    words += space + text(checkEachRadio ? T::RadiosWrittenChecked : T::RadiosWritten, language)
                         .arg(radiosWritten)
                         .arg(end.radiosToWrite);
    if (end.checkingRadio)
        words += space + text(T::RadioNotChecked, language).arg(radiosWritten + 1);
    else if (end.dataSent && !end.waitingForNextRadio)
        words += space + text(T::RadioPartial, language).arg(radiosWritten + 1);
    return words;
}

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
    // "Cannot Open Communication Port." says which device and why.
    m_session->setPortFailureExplainer([this] { return m_port->openFailureText(m_app.language()); });

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

void Transfers::read()
{
    m_document.commitEdits();
    m_port->setPortName(m_portSetting.device());
    if (!m_session->startRead()) return;
    m_running = TransferKind::Read;
    Q_EMIT started(true, 0);
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
    if (!m_session->startWrite(writeNote())) return;
    m_running = TransferKind::Write;
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
    if (!m_session->startMultiWrite(radios, writeNote())) return;
    m_running = TransferKind::MultiWrite;
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
    const std::optional<TransferKind> kind = std::exchange(m_running, std::nullopt);
    if (!kind) return; // a radio check without a window of its own
    if (*kind == TransferKind::Write && outcome == SessionOutcome::Completed && m_verifyAfterWrite) {
        // After "Write Data Completed." the radio is read back in a session of its own.
        QTimer::singleShot(0, this, &Transfers::startVerify);
    } else if (*kind == TransferKind::Check && outcome == SessionOutcome::Completed) {
        const VerifyResult result = compareWritten(m_written, m_session->radioMemory(), &m_app.image);
        if (result.ok)
            m_app.messenger.ask(mainText(MainText::VerifyPassed, m_app.language()), Buttons::Ok,
                                Icon::Information);
        else
            m_app.messenger.ask(verifyFailedMessage(result), Buttons::Ok, Icon::Exclamation);
    } else if (outcome == SessionOutcome::VerifyFailed) {
        // A multi-radio write stopped at the radio that does not hold what was written.
        m_app.messenger.ask(
            verifyFailedMessage(m_session->verifyResult()) + QStringLiteral("\r\n") +
                mainText(MainText::VerifyFailedRadio, m_app.language()).arg(m_session->radiosWritten() + 1),
            Buttons::Ok, Icon::Exclamation);
    } else if (const QString words =
                   transferEndText(*kind, outcome, m_session->lastEnd(), m_session->radiosWritten(),
                                   m_verifyAfterWrite, m_app.language());
               !words.isEmpty()) {
        // Never a silent end: what the transfer left behind.
        const bool clean = *kind == TransferKind::Read || !m_session->lastEnd().dataSent;
        m_app.messenger.ask(words, Buttons::Ok, clean ? Icon::Information : Icon::Exclamation);
    }
}

QString Transfers::verifyFailedMessage(const VerifyResult& result) const
{
    return mainText(MainText::VerifyFailedAt, m_app.language()) + QLatin1Char(' ') + verifyPlace(result) +
           QLatin1Char('.');
}

QString Transfers::writeNote() const
{
    return renumberNote(renumberedByWrite(m_app.image), m_app.language());
}

void Transfers::startVerify()
{
    if (!m_session->startVerify()) return;
    m_running = TransferKind::Check;
    Q_EMIT started(true, 0);
}

} // namespace mx
