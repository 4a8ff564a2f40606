#include "link/Session.h"

#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "link/Frames.h"
#include "link/MemoryCodec.h"
#include "texts/Messenger.h"
#include "texts/Texts.h"

namespace mx {

namespace {

// Session steps (the same numbers for reading and writing).
enum Step : int {
    NoStep = 0,
    HandshakeSent = 1,
    IdentSent = 3,
    WriteBlocks = 4,
    ReadBlocks = 5,
    EndSent = 69,
    EndAfterRefusal = 70,
};

constexpr int DefaultReplyTimeout = 300;
constexpr int HandshakeOnlyAddress = 0x1EF0;

// value * 100 / total, rounded to the nearest integer, halves to even.
int percentOf(int value, int total)
{
    if (total <= 0 || value <= 0) return 0;
    const qint64 num = qint64(value) * 100;
    qint64 q = num / total;
    const qint64 r2 = 2 * (num % total);
    if (r2 > total || (r2 == total && (q & 1))) ++q;
    return int(q);
}

QString doesNotFitText(int language)
{
    return language == Chinese ? QStringLiteral("数值超出对讲机的存储范围：")
                               : QStringLiteral("Value does not fit the radio: ");
}

} // namespace

struct Session::Private
{
    Private(Session* session, RadioPort& p, RadioImage& i, const VersionTable& v, Messenger& m)
        : q(session), port(p), image(i), versions(v), messenger(m)
    {
    }

    Session* q;
    RadioPort& port;
    RadioImage& image;
    const VersionTable& versions;
    Messenger& messenger;
    QTimer waitTimer;
    std::function<void(const QString&)> starter;
    std::function<QString()> portExplainer;

    QByteArray memory = QByteArray(RadioMemorySize, char(0xFF));
    RadioIdentity identity;

    LinkMode mode = LinkMode::Idle;
    int readStep = NoStep;
    int writeStep = NoStep;
    int handshakeRetries = 0;
    int identRetries = 0;
    int blockAddress = -frames::BlockSize;
    int blockSize = frames::BlockSize;
    int endAddress = 0;
    int percentShown = 0;
    bool progressOpen = false;

    // Multi-radio write.
    bool multiWrite = false;
    bool firstRadioPrompt = false;
    bool swapDetect = false;
    int swapFailCount = 0;
    int swapAckCount = 0;
    int radiosWritten = 0; // number of the radio being written
    int radiosDone = 0;    // radios written completely (and, when checked, found right)
    int radiosToWrite = 1;
    bool waitingNext = false; // between a written radio and the next one's answer
    bool verifyEach = false;  // read each written radio back before the next
    bool verifying = false;   // the radio just written is being read back
    QByteArray readBack;
    VerifyResult verifyResult;

    bool running = false;
    bool infoOnly = false;   // startInfo: identification only, nothing transferred
    bool verifyOnly = false; // startVerify: read into the radio memory only, the image stays
    bool dataSent = false;   // a write sent data to the radio being written
    SessionEnd end;
    bool awaiting = false; // a frame is out and its reply not yet taken
    bool inSend = false;   // inside port.send()
    int serial = 0;        // changes whenever a session begins or ends
    SessionOutcome outcome = SessionOutcome::Completed;
    SessionOutcome refusal = SessionOutcome::WrongModel; // why the end frame of step 70 went out

    int step() const { return mode == LinkMode::Write ? writeStep : readStep; }
    void setStep(int s)
    {
        if (mode == LinkMode::Write)
            writeStep = s;
        else
            readStep = s;
    }
    bool transfers() const { return (mode == LinkMode::Read && !infoOnly) || mode == LinkMode::Write; }

    // ---- Frames ----

    void sendFrame(const QByteArray& frame, int replyLength)
    {
        waitTimer.start();
        awaiting = true;
        inSend = true;
        port.send(frame, replyLength);
        inSend = false;
    }

    void sendHandshake()
    {
        readStep = writeStep = NoStep;
        setStep(HandshakeSent);
        sendFrame(frames::handshake(), frames::HandshakeReplyLength);
    }

    // A conversation from its start: handshake first, blocks from the first one.
    void newConversation()
    {
        handshakeRetries = 0;
        identRetries = 0;
        blockAddress = -blockSize;
        sendHandshake();
    }

    void sendIdentRequest() { sendFrame(frames::identificationRequest(), frames::IdentificationReplyLength); }

    void sendEnd() { sendFrame(frames::endFrame(), frames::EndReplyLength); }

    void requestNextBlock()
    {
        blockAddress += blockSize;
        if (blockAddress < endAddress) {
            sendFrame(frames::readRequest(blockAddress), frames::ReadReplyLength);
        } else {
            setStep(EndSent);
            sendEnd();
        }
    }

    void sendNextBlock()
    {
        blockAddress += blockSize;
        if (blockAddress < endAddress) {
            updateProgress(blockAddress);
            dataSent = true;
            sendFrame(frames::dataFrame(blockAddress, memory), frames::WriteReplyLength);
        } else {
            writeStep = EndSent;
            sendEnd();
        }
    }

    // ---- Progress ----

    void updateProgress(int address)
    {
        const int p = percentOf(address, endAddress);
        if (p - percentShown < 1) return;
        percentShown = p;
        Q_EMIT q->progress(p);
    }

    void resetProgress()
    {
        percentShown = 0;
        Q_EMIT q->progress(0);
    }

    // ---- Replies ----

    // Which replies move the session on from the frame that is out. The
    // handshake, the end frame and the handshake-only check take any reply
    // the radio may give; the identification request takes only an
    // identification, a block request only its data frame, a written block only ACK.
    bool expects(frames::Reply kind) const
    {
        if (mode == LinkMode::HandshakeOnly) return true;
        switch (step()) {
        case IdentSent:
            return kind == frames::Reply::Identification;
        case ReadBlocks:
            return kind == frames::Reply::DataFrame;
        case WriteBlocks:
            return kind == frames::Reply::Ack;
        default:
            return true;
        }
    }

    void onReply(const QByteArray& bytes)
    {
        if (inSend) {
            // A port that answers inside send(): take the reply once send() is done.
            QMetaObject::invokeMethod(
                q, [this, bytes] { onReply(bytes); }, Qt::QueuedConnection);
            return;
        }
        if (!running || !awaiting) return; // nothing asked for: a late or stray reply
        const frames::Reply kind = frames::classify(bytes, blockAddress, blockSize);
        if (kind == frames::Reply::Ignored || !expects(kind)) return; // the reply time-out decides
        if (kind == frames::Reply::Identification && mode != LinkMode::HandshakeOnly)
            identity = frames::decodeIdentification(bytes);
        if (kind == frames::Reply::DataFrame) {
            (verifying ? readBack : memory).replace(blockAddress, blockSize, frames::dataOf(bytes));
            if ((mode == LinkMode::Read && !infoOnly) || verifying) updateProgress(blockAddress);
        }
        awaiting = false;
        advance();
    }

    // Step: an accepted reply moves the session on. Reads and writes share
    // the steps; they differ only once the radio has identified itself.
    void advance()
    {
        waitTimer.stop();
        if (mode == LinkMode::HandshakeOnly) {
            finish(false, SessionOutcome::Completed);
            return;
        }
        if (mode == LinkMode::Idle) {
            finish(false, SessionOutcome::Cancelled);
            return;
        }
        switch (step()) {
        case HandshakeSent:
            if (multiWrite) {
                multiHandshakeAnswered();
            } else {
                setStep(IdentSent);
                sendIdentRequest();
            }
            return;
        case IdentSent:
            identified();
            return;
        case ReadBlocks:
            requestNextBlock();
            return;
        case WriteBlocks:
            sendNextBlock();
            return;
        case EndSent:
            finish(true, SessionOutcome::Completed);
            return;
        default:
            finish(false, refusal);
            return;
        }
    }

    // The identification came: end (info only), refuse, or start the blocks.
    // A multi-radio write neither checks the model nor warns.
    void identified()
    {
        const int session = serial;
        if (infoOnly) {
            setStep(EndSent);
            sendEnd();
        } else if (multiWrite && verifying) {
            setStep(ReadBlocks);
            requestNextBlock();
        } else if (multiWrite) {
            setStep(WriteBlocks);
            sendNextBlock();
        } else if (!checkRadioModel()) {
            if (session != serial) return;
            setStep(EndAfterRefusal);
            sendEnd();
        } else if (mode == LinkMode::Write) {
            setStep(WriteBlocks);
            featureWarning();
            if (session != serial) return;
            sendNextBlock();
        } else {
            setStep(ReadBlocks);
            requestNextBlock();
        }
    }

    // A handshake answered while a multi-radio write waits for the next radio.
    void multiHandshakeAnswered()
    {
        firstRadioPrompt = false;
        if (swapDetect) {
            if (swapFailCount >= 2 && swapAckCount < 1) {
                ++swapAckCount;
                sendHandshake();
                return;
            }
            if (swapFailCount >= 2 && swapAckCount >= 1) swapDetect = false;
            swapFailCount = 0;
            swapAckCount = 0;
            sendHandshake();
            return;
        }
        writeStep = IdentSent;
        setWaitingNext(false);
        sendIdentRequest();
    }

    void setWaitingNext(bool waiting)
    {
        if (waitingNext == waiting) return;
        waitingNext = waiting;
        Q_EMIT q->waitingForNextRadio(waiting);
    }

    // ---- Time-outs ----

    void onTimeout()
    {
        waitTimer.stop();
        if (!running) return;
        awaiting = false;

        if (mode == LinkMode::HandshakeOnly) {
            // One resend; then the radio is taken as absent and the port is closed.
            if (handshakeRetries == 1) {
                handshakeRetries = 0;
                finish(false, SessionOutcome::NoAnswer);
            } else {
                handshakeRetries = 1;
                sendHandshake();
            }
            return;
        }

        switch (step()) {
        case HandshakeSent:
            if (handshakeRetries == 1) {
                handshakeRetries = 0;
                handshakeFailed();
            } else {
                handshakeRetries = 1;
                sendHandshake();
            }
            return;
        case IdentSent:
            if (identRetries == 1) {
                identRetries = 0;
                handshakeFailed();
            } else {
                identRetries = 1;
                sendIdentRequest();
            }
            return;
        case ReadBlocks:
        case WriteBlocks:
            restartTransfer();
            return;
        case EndSent:
            finish(true, SessionOutcome::Completed);
            return;
        case EndAfterRefusal:
            // A refused radio that does not acknowledge the end frame: the session ends all the same.
            finish(false, refusal);
            return;
        default:
            return;
        }
    }

    void handshakeFailed()
    {
        if (multiWrite && writeStep == HandshakeSent) {
            if (!firstRadioPrompt && !verifying) {
                // Waiting for a radio: keep polling without a word.
                if (swapDetect) ++swapFailCount;
                sendHandshake();
                return;
            }
        }
        const int session = serial;
        const Answer answer = messenger.ask(TextId::CheckConnection, Buttons::RetryCancel, Icon::None);
        if (session != serial) return;
        if (answer == Answer::Retry) {
            sendHandshake();
            return;
        }
        if (multiWrite) firstRadioPrompt = false;
        finish(false, SessionOutcome::NoAnswer);
    }

    void restartTransfer()
    {
        const int session = serial;
        const Answer answer = messenger.ask(TextId::CheckConnection, Buttons::OkCancel, Icon::Question);
        if (session != serial) return;
        if (answer != Answer::Ok) {
            multiWrite = false;
            finish(false, SessionOutcome::NoAnswer);
            return;
        }
        clearSwapDetection();
        newConversation();
        resetProgress();
    }

    void clearSwapDetection()
    {
        swapDetect = false;
        swapFailCount = 0;
        swapAckCount = 0;
    }

    // ---- Checks ----

    bool checkRadioModel()
    {
        waitTimer.stop();
        QString code = image.modelCode;
        const qsizetype nul = code.indexOf(QChar(u'\0'));
        if (nul >= 0) code.truncate(nul);
        while (code.endsWith(u' '))
            code.chop(1);
        const bool modelOk = code == identity.modelId;
        const QString software = QString::fromLatin1(VersionTable::ThisVersion);
        const bool firmwareOk = versions.isCompatible(software, identity.firmware);
        if (modelOk && firmwareOk) return true;
        if (!modelOk) {
            refusal = SessionOutcome::WrongModel;
            messenger.queue(messenger.text(TextId::ModelWrong));
            return false;
        }
        refusal = SessionOutcome::IncompatibleFirmware;
        const QString text =
            VersionTable::incompatibleMessage(software, identity.firmware, 0, messenger.language());
        if (messenger.ask(text, Buttons::YesNo, Icon::None) == Answer::Yes && starter)
            starter(identity.firmware);
        return false;
    }

    void featureWarning()
    {
        QString text;
        if (identity.toneSquelchUnsupported)
            text += messenger.text(TextId::ToneSquelchInvalid) + QLatin1String("\r\n");
        if (identity.tvUnsupported) text += messenger.text(TextId::TvInvalid) + QLatin1String("\r\n");
        if (text.isEmpty()) return;
        text += messenger.text(TextId::SomeFeaturesWontWork);
        messenger.ask(text, Buttons::Ok, Icon::Exclamation);
    }

    // ---- Start and end ----

    // Session state for the mode, then the port (closed first when open).
    bool openLinkPort()
    {
        blockSize = frames::BlockSize;
        switch (mode) {
        case LinkMode::Write:
            endAddress = WriteEndAddress;
            blockAddress = -blockSize;
            break;
        case LinkMode::HandshakeOnly:
            endAddress = ReadEndAddress;
            blockAddress = HandshakeOnlyAddress;
            break;
        default:
            endAddress = ReadEndAddress;
            blockAddress = -blockSize;
            break;
        }
        handshakeRetries = 0;
        identRetries = 0;
        percentShown = 0;
        clearSwapDetection();
        progressOpen = true;

        if (port.open()) return true;
        progressOpen = false;
        QString message = messenger.text(TextId::CannotOpenPort);
        if (const QString why = portExplainer ? portExplainer() : QString(); !why.isEmpty())
            message += QStringLiteral("\r\n") + why;
        messenger.ask(message, Buttons::Ok, Icon::Critical);
        idle();
        outcome = SessionOutcome::PortError;
        return false;
    }

    bool confirm(TextId question, const QString& note = QString())
    {
        QString text = messenger.text(question);
        if (!note.isEmpty()) text += QStringLiteral("\r\n\r\n") + note;
        if (messenger.ask(text, Buttons::OkCancel, Icon::Question) == Answer::Ok) return true;
        if (port.isOpen()) port.close();
        progressOpen = false;
        idle();
        outcome = SessionOutcome::Cancelled;
        return false;
    }

    void begin()
    {
        running = true;
        ++serial;
        dataSent = false;
        identity = RadioIdentity();
        refusal = SessionOutcome::WrongModel;
        if (multiWrite) Q_EMIT q->radioChanged(radiosWritten);
        if (transfers()) resetProgress();
        sendHandshake();
    }

    void idle()
    {
        mode = LinkMode::Idle;
        readStep = writeStep = NoStep;
        multiWrite = false;
        infoOnly = false;
        verifyOnly = false;
        setVerifying(false);
    }

    void setVerifying(bool on)
    {
        if (verifying == on) return;
        verifying = on;
        Q_EMIT q->verifyingRadio(on);
    }

    // Multi-radio write: the radio just written is read back in a session of
    // its own (handshake, identification, the written blocks, end).
    void startRadioCheck()
    {
        readBack = QByteArray(RadioMemorySize, char(0xFF));
        setVerifying(true);
        resetProgress();
        newConversation();
    }

    // FinishSession.
    void finish(bool success, SessionOutcome result)
    {
        // A radio whose write ended counts as written, also when it falls silent while read back.
        if (multiWrite && success && !verifying) ++radiosDone;
        if (multiWrite && success && verifyEach && !verifying) {
            startRadioCheck();
            return;
        }
        if (multiWrite && success && verifying) {
            setVerifying(false);
            verifyResult = compareWritten(memory, readBack, &image);
            if (verifyResult.ok) {
                Q_EMIT q->radioVerified(radiosWritten);
            } else {
                --radiosDone; // it does not hold what was written
                success = false;
                result = SessionOutcome::VerifyFailed;
            }
        }
        if (multiWrite && success) {
            ++radiosWritten;
            if (radiosWritten <= radiosToWrite) {
                // The next radio: wait until the written one is gone and another answers.
                dataSent = false;
                clearSwapDetection();
                swapDetect = true;
                newConversation();
                setWaitingNext(true);
                Q_EMIT q->radioChanged(radiosWritten);
                resetProgress();
                return;
            }
        }
        end = SessionEnd{dataSent, waitingNext, verifying, multiWrite ? radiosToWrite : 0};
        clearSwapDetection();
        setWaitingNext(false);
        if (progressOpen) {
            progressOpen = false;
            Q_EMIT q->transferEnded();
        }
        waitTimer.stop();
        awaiting = false;
        if (port.isOpen()) port.close();

        const bool wasRead = mode == LinkMode::Read && !infoOnly && !verifyOnly;
        const bool wasWrite = mode == LinkMode::Write;
        running = false;
        ++serial;

        messenger.showQueued();
        if (success && wasRead) {
            Q_EMIT q->imageAboutToBeReplaced();
            decodeImage(memory, image);
            image.versionTag = identity.firmware;
            image.currentFileName = QStringLiteral("new.dat");
            image.isNewDocument = true;
            Q_EMIT image.captionChanged();
            Q_EMIT q->imageReplaced();
            messenger.ask(TextId::ReadCompleted, Buttons::Ok, Icon::None);
        } else if (success && wasWrite) {
            messenger.ask(TextId::WriteCompleted, Buttons::Ok, Icon::None);
        }
        idle();
        outcome = result;
        Q_EMIT q->finished(result);
    }
};

Session::Session(RadioPort& port, RadioImage& image, const VersionTable& versions, Messenger& messenger,
                 QObject* parent)
    : QObject(parent), d(new Private(this, port, image, versions, messenger))
{
    d->waitTimer.setSingleShot(true);
    d->waitTimer.setInterval(DefaultReplyTimeout);
    connect(&d->waitTimer, &QTimer::timeout, this, [this] { d->onTimeout(); });
    connect(&port, &RadioPort::replyReceived, this, [this](const QByteArray& bytes) { d->onReply(bytes); });
    connect(&port, &RadioPort::portLost, this, [this] {
        if (d->running) d->finish(false, SessionOutcome::PortLost);
    });
}

Session::~Session()
{
    d->waitTimer.stop();
    if (d->running && d->port.isOpen()) d->port.close();
    delete d;
}

void Session::setReplyTimeout(int ms)
{
    d->waitTimer.setInterval(qMax(1, ms));
}

void Session::setSoftwareStarter(std::function<void(const QString&)> starter)
{
    d->starter = std::move(starter);
}

bool Session::startRead()
{
    if (d->running) return false;
    d->idle();
    d->mode = LinkMode::Read;
    if (!d->openLinkPort() || !d->confirm(TextId::ReadConfirm)) return false;
    fillRadioMemory(d->memory);
    d->begin();
    return true;
}

bool Session::startVerify()
{
    if (d->running) return false;
    d->idle();
    d->mode = LinkMode::Read;
    d->verifyOnly = true;
    if (!d->openLinkPort()) return false;
    fillRadioMemory(d->memory);
    d->begin();
    return true;
}

void Session::setPortFailureExplainer(std::function<QString()> explainer)
{
    d->portExplainer = std::move(explainer);
}

bool Session::startWrite(const QString& note)
{
    if (d->running) return false;
    d->idle();
    const QString misfit = checkImageFits(d->image);
    if (!misfit.isEmpty()) {
        d->messenger.ask(doesNotFitText(d->messenger.language()) + misfit, Buttons::Ok, Icon::Exclamation);
        d->outcome = SessionOutcome::ImageRefused;
        return false;
    }
    d->mode = LinkMode::Write;
    if (!d->openLinkPort() || !d->confirm(TextId::WriteConfirm, note)) return false;
    fillRadioMemory(d->memory);
    encodeImage(d->image, d->memory);
    d->begin();
    return true;
}

bool Session::startMultiWrite(int radiosToWrite, const QString& note)
{
    if (d->running) return false;
    d->idle();
    const QString misfit = checkImageFits(d->image);
    if (!misfit.isEmpty()) {
        d->messenger.ask(doesNotFitText(d->messenger.language()) + misfit, Buttons::Ok, Icon::Exclamation);
        d->outcome = SessionOutcome::ImageRefused;
        return false;
    }
    d->mode = LinkMode::Write;
    if (!d->openLinkPort() || !d->confirm(TextId::WriteConfirm, note)) return false;
    fillRadioMemory(d->memory);
    encodeImage(d->image, d->memory);
    d->multiWrite = true;
    d->radiosWritten = 1;
    d->radiosDone = 0;
    d->radiosToWrite = qMax(1, radiosToWrite);
    d->firstRadioPrompt = true;
    d->verifyResult = VerifyResult();
    d->begin();
    return true;
}

bool Session::startHandshakeOnly(bool fillMemory)
{
    if (d->running) return false;
    d->idle();
    d->mode = LinkMode::HandshakeOnly;
    if (!d->openLinkPort()) return false;
    d->progressOpen = false; // no progress window in this session
    if (fillMemory) fillRadioMemory(d->memory);
    d->begin();
    return true;
}

bool Session::startInfo()
{
    if (d->running) return false;
    d->idle();
    d->mode = LinkMode::Read;
    d->infoOnly = true;
    if (!d->openLinkPort()) return false;
    d->progressOpen = false;
    d->begin();
    return true;
}

void Session::setVerifyEachRadio(bool on)
{
    d->verifyEach = on;
}

void Session::cancel()
{
    if (d->running) d->finish(false, SessionOutcome::Cancelled);
}

bool Session::isRunning() const
{
    return d->running;
}

LinkMode Session::mode() const
{
    return d->mode;
}

SessionOutcome Session::lastOutcome() const
{
    return d->outcome;
}

const SessionEnd& Session::lastEnd() const
{
    return d->end;
}

const RadioIdentity& Session::identity() const
{
    return d->identity;
}

const QByteArray& Session::radioMemory() const
{
    return d->memory;
}

int Session::radiosWritten() const
{
    return d->radiosDone;
}

const VerifyResult& Session::verifyResult() const
{
    return d->verifyResult;
}

} // namespace mx
