#pragma once

#include "link/Session.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>

namespace mx {

struct App;
class Document;
class PortSetting;
class SerialPortLink;

// The desktop program's transfers with the radio: the port, the sessions of
// reads, writes, multi-radio writes and radio checks, the check of a write by
// reading it back, and the messages after a transfer. The progress window is
// the shell's: it follows started() and the session's signals, and its
// closing calls cancel().
class Transfers : public QObject
{
    Q_OBJECT
public:
    Transfers(App& app, Document& document, const PortSetting& port, QObject* parent = nullptr);
    ~Transfers() override;

    Session& session() { return *m_session; }
    bool isRunning() const;

    // The number of radios of a multi-radio write (0: cancelled).
    void setRadioCountAsker(std::function<int()> asker) { m_radioCountAsker = std::move(asker); }
    // "Verify After Writing": a write is read back and compared.
    void setVerifyAfterWrite(bool on) { m_verifyAfterWrite = on; }

    void read();
    // The write starts from a timer, once the editors have stored what is typed.
    void write();
    void multiWrite();
    void radioInformation(bool fillMemory = false);
    // The progress window was closed.
    void cancel();

Q_SIGNALS:
    // A transfer with a progress window began; radios > 0 for a multi-radio write.
    void started(bool reading, int radios);

private:
    void startWrite();
    void sessionEnded(SessionOutcome outcome);
    void startVerify();
    QString verifyFailedMessage(const VerifyResult& result) const;
    // After a command that did not start: a port refused for lack of rights says how to get them.
    void explainRefusedPort();
    int language() const;

    App& m_app;
    Document& m_document;
    const PortSetting& m_portSetting;
    SerialPortLink* m_port;
    Session* m_session;
    QTimer m_timerWrite;
    std::function<int()> m_radioCountAsker;
    bool m_verifyAfterWrite = false;
    enum class Pending { None, Write, Verify } m_pending = Pending::None;
    QByteArray m_written; // what a write sent, for the check after it
};

} // namespace mx
