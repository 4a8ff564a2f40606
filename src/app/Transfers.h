#pragma once

#include "link/Session.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace mx {

struct App;
class Document;
class PortSetting;
class SerialPortLink;

// What a transfer of the desktop program was.
enum class TransferKind { Read, Write, MultiWrite, Check };

// The words after a transfer that was cancelled, found no radio or lost the
// connection: what it left in the image and in the radio (radios), "" for
// any other end. radiosWritten: the radios a multi-radio write completed.
QString transferEndText(TransferKind kind, SessionOutcome outcome, const SessionEnd& end, int radiosWritten,
                        bool checkEachRadio, int language);

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
    // The write confirmation's note on channels the radio will renumber.
    QString writeNote() const;

    App& m_app;
    Document& m_document;
    const PortSetting& m_portSetting;
    SerialPortLink* m_port;
    Session* m_session;
    QTimer m_timerWrite;
    std::function<int()> m_radioCountAsker;
    bool m_verifyAfterWrite = false;
    std::optional<TransferKind> m_running; // the transfer whose session runs
    QByteArray m_written;                  // what a write sent, for the check after it
};

} // namespace mx
