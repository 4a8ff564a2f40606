#pragma once

#include "link/RadioPort.h"
#include "link/Verify.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace mx {

class RadioImage;
class VersionTable;
class Messenger;

enum class LinkMode { Idle = 0, Read = 1, Write = 2, HandshakeOnly = 3 };

// How a session (or an attempt to start one) ended. A session ended by the
// user's Cancel in the "Check Connection" question (handshake, identification
// or a block unanswered) ends as NoAnswer, since the radio's silence is the
// cause; Cancel in the confirmation or cancel() ends as Cancelled.
enum class SessionOutcome {
    Completed,            // read or write finished (also: handshake-only answered, info read)
    Cancelled,            // the user cancelled the confirmation, a question or the progress window
    NoAnswer,             // the radio did not answer
    PortLost,             // the port vanished during the session (cable pulled, adapter gone)
    PortError,            // the port could not be opened
    WrongModel,           // "Model type is wrong."
    IncompatibleFirmware, // firmware refused by the version table
    ImageRefused,         // a value of the image does not fit the radio's memory; nothing sent
    VerifyFailed,         // multi-radio write with verification: a radio read back holds something else
};

// Where the last session stood when it ended, for the words after it.
struct SessionEnd
{
    bool dataSent = false;            // a write had sent data to the radio being written
    bool waitingForNextRadio = false; // multi-radio write: between a written radio and the next
    bool checkingRadio = false;       // multi-radio write: the radio just written was being read back
    int radiosToWrite = 0;            // multi-radio write: how many were asked for
};

// Identification of a radio, from its 16-byte reply.
struct RadioIdentity
{
    QString modelId;                     // bytes 1..7 cut at NUL, trailing blanks removed
    QString firmware;                    // bytes 9..12
    bool toneSquelchUnsupported = false; // byte 13 bit 0
    bool tvUnsupported = false;          // byte 13 bit 1
};

// One conversation with the radio: the step machine of reads, writes,
// multi-radio writes and the handshake-only check. Every frame arms the
// reply time-out; an accepted reply or the time-out moves the session on.
// Questions go through the Messenger; messages raised during a transfer are
// queued and shown once the port is closed.
//
// Replies move the session on only when they answer the frame that is out:
// the identification request takes an identification, a block request its
// data frame, a written block an ACK; the handshake and the end frame take any
// reply the radio gives (a lone ACK too). Anything else is left to the time-out.
// A refused radio that does not acknowledge the end frame, a handshake-only
// check that gets no answer to the handshake and its resend, and a vanished
// port all end the session (port closed, queued messages shown).
class Session : public QObject
{
    Q_OBJECT
public:
    Session(RadioPort& port, RadioImage& image, const VersionTable& versions, Messenger& messenger,
            QObject* parent = nullptr);
    ~Session() override;

    // Reply time-out, 300 ms.
    void setReplyTimeout(int ms);

    // Called with the radio's version when the user agrees to start the
    // software version that handles incompatible firmware.
    void setSoftwareStarter(std::function<void(const QString& version)> starter);
    // Gives the reason a port could not be opened: it follows "Cannot Open
    // Communication Port." on a line of its own. None by default.
    void setPortFailureExplainer(std::function<QString()> explainer);

    // Commands. Each opens the port, asks for confirmation (read and writes)
    // and starts the conversation; it returns false when nothing was started
    // (then lastOutcome() says why and finished() is not emitted). A write
    // whose image holds a value the radio cannot store is refused before the
    // port is opened (ImageRefused, the field named in a message). A command
    // given while a session runs returns false and changes nothing. A write's
    // note follows its confirmation after an empty line.
    bool startRead();
    bool startWrite(const QString& note = QString());
    // radiosToWrite below 1 counts as 1.
    bool startMultiWrite(int radiosToWrite, const QString& note = QString());
    // Multi-radio writes: read each radio back and compare it with what was
    // written before waiting for the next one. A radio that holds something
    // else ends the session as VerifyFailed (verifyResult() says where). Off
    // by default.
    void setVerifyEachRadio(bool on);
    // Handshake only: closes the port as soon as the radio answers.
    bool startHandshakeOnly(bool fillMemory = false);
    // A read without its question that leaves the image alone: the radio's
    // memory is then in radioMemory() (to check a write).
    bool startVerify();
    // Handshake, identification, end: reports the radio's identity, reads nothing.
    bool startInfo();

    // The progress window was closed: ends the session as not successful.
    void cancel();

    bool isRunning() const;
    LinkMode mode() const;
    SessionOutcome lastOutcome() const;
    const SessionEnd& lastEnd() const;
    const RadioIdentity& identity() const;
    const QByteArray& radioMemory() const;
    // Multi-radio write: radios written (and, when verified, checked) so far
    // in the running or the last one.
    int radiosWritten() const;
    // The check of the last radio read back in a multi-radio write.
    const VerifyResult& verifyResult() const;

Q_SIGNALS:
    // Percentage of the current transfer (0 on start, restart and next radio).
    void progress(int percent);
    // Multi-radio write: radio number n (1-based) is now being written.
    void radioChanged(int number);
    // Multi-radio write: true once a radio is written and the session waits for
    // it to be disconnected and the next one to answer (the window shows
    // "Waiting for the next radio: ..."); false when the next radio has
    // answered or the session ends while waiting.
    void waitingForNextRadio(bool waiting);
    // Multi-radio write with verification: true while the radio just written
    // is read back (progress counts the read from 0 again), false once done.
    void verifyingRadio(bool verifying);
    // Multi-radio write with verification: radio number n gave back what was written.
    void radioVerified(int number);
    // The transfer is over: the progress window goes now, before the port is
    // closed and queued and completion messages are shown.
    void transferEnded();
    // A read succeeded and its data is about to replace the image: the editor
    // windows close now (they must not store edits into the new image).
    void imageAboutToBeReplaced();
    // The radio's data is in the image (a new unsaved document): the main
    // window renews its captions and opens the channel editor, before
    // "Read Data Completed." is shown.
    void imageReplaced();
    // A session that was started ended. For a successful read the image
    // already holds the radio's data (and counts as a new unsaved document).
    void finished(mx::SessionOutcome outcome);

private:
    struct Private;
    Private* d;
};

} // namespace mx
