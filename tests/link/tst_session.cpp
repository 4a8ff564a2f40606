#include "FakeRadio.h"
#include "ScriptedPrompter.h"

#include "data/Defaults.h"
#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "link/MemoryCodec.h"
#include "link/Session.h"
#include "shell/Messenger.h"
#include "shell/Texts.h"

#include <QSignalSpy>
#include <QTest>

using namespace mx;
using Kind = FakeRadio::Kind;

Q_DECLARE_METATYPE(mx::SessionOutcome)

namespace {

constexpr int ReplyTimeout = 100; // ms; the fake radio answers within one event-loop turn
constexpr int Patience = 60000;   // upper bound for a whole session in these tests

QString txt(TextId id)
{
    return text(id, English);
}

// A realistic image: the built-in defaults plus a few channels of every kind.
void buildImage(RadioImage& image)
{
    defaults::applyBuiltIn(image, QDate(2024, 5, 1));
    image.addChannel(7, 0, 2, QStringLiteral("28.1250"));
    image.addChannel(41, 1, 3, QStringLiteral("26.5000"));
    image.workChannels.at(1, image.work.count(1, 3), 3).toneCode = 45;
    image.work.tvChannels[4] = {1, 98.7, 1, 0};
}

struct Snapshot
{
    RadioDataRecord work;
    ChannelArray channels;
    QString versionTag, fileName;
    bool isNew;
    explicit Snapshot(const RadioImage& i)
        : work(i.work), channels(i.workChannels), versionTag(i.versionTag), fileName(i.currentFileName),
          isNew(i.isNewDocument)
    {
    }
    bool sameAs(const RadioImage& i) const
    {
        return work == i.work && channels.records == i.workChannels.records && versionTag == i.versionTag &&
               fileName == i.currentFileName && isNew == i.isNewDocument;
    }
};

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

    FakeRadio* radio = nullptr;
    RadioImage* image = nullptr;
    VersionTable versions;
    ScriptedPrompter* prompter = nullptr;
    Messenger* messenger = nullptr;
    Session* session = nullptr;
    QSignalSpy* finished = nullptr;
    QList<int> progress;
    QList<int> progressAtFrame; // frames sent when each percentage came
    QList<int> radios;
    QString started; // version handed to the software starter

    SessionOutcome waitEnd()
    {
        if (finished->isEmpty() && !finished->wait(Patience)) return SessionOutcome(-1);
        return finished->last().at(0).value<SessionOutcome>();
    }

    // The radio's memory as a write of the given image would leave it.
    static QByteArray imageMemory(const RadioImage& from)
    {
        QByteArray memory;
        fillRadioMemory(memory);
        encodeImage(from, memory);
        return memory;
    }

private Q_SLOTS:
    void init()
    {
        radio = new FakeRadio;
        image = new RadioImage;
        buildImage(*image);
        image->currentFileName = QStringLiteral("/tmp/mine.dat");
        image->isNewDocument = false;
        versions.pairs = {{QStringLiteral("V100"), QStringLiteral("V100")},
                          {QStringLiteral("V101"), QStringLiteral("V101")}};
        prompter = new ScriptedPrompter;
        messenger = new Messenger(*prompter, English);
        session = new Session(*radio, *image, versions, *messenger);
        session->setReplyTimeout(ReplyTimeout);
        session->setSoftwareStarter([this](const QString& v) { started = v; });
        finished = new QSignalSpy(session, &Session::finished);
        progress.clear();
        progressAtFrame.clear();
        radios.clear();
        started.clear();
        connect(session, &Session::progress, this, [this](int p) {
            progress.append(p);
            progressAtFrame.append(radio->frames.size());
        });
        connect(session, &Session::radioChanged, this, [this](int n) { radios.append(n); });
    }
    void cleanup()
    {
        delete finished;
        delete session;
        delete messenger;
        delete prompter;
        delete image;
        delete radio;
    }

    // ---- Reads ----

    void read_data()
    {
        QTest::addColumn<bool>("loneAck");
        QTest::newRow("handshake answered HB ACK") << false;
        QTest::newRow("handshake answered by a lone ACK") << true;
    }
    void read()
    {
        QFETCH(bool, loneAck);
        RadioImage source;
        buildImage(source);
        source.addChannel(12, 2, 4, QStringLiteral("27.1850"));
        source.work.rangeMode = 2;
        radio->memory = imageMemory(source);
        radio->firmware = "V100";
        radio->loneAck = loneAck;
        prompter->script = {Answer::Ok};

        QVERIFY(session->startRead());
        QVERIFY(session->isRunning());
        QCOMPARE(session->mode(), LinkMode::Read);
        QCOMPARE(waitEnd(), SessionOutcome::Completed);

        const QList<int> reads = radio->addresses(Kind::Read);
        QCOMPARE(reads.size(), 1024);
        for (int k = 0; k < reads.size(); ++k)
            QCOMPARE(reads[k], 16 * k);
        QCOMPARE(reads.last(), 0x3FF0);
        QCOMPARE(radio->count(Kind::Handshake), 1);
        QCOMPARE(radio->count(Kind::Ident), 1);
        QCOMPARE(radio->count(Kind::End), 1);
        QCOMPARE(radio->count(Kind::Write), 0);
        QVERIFY(!radio->isOpen());

        // The image now holds the radio's data and is a new document.
        QCOMPARE(imageMemory(*image), imageMemory(source));
        QCOMPARE(image->work.rangeMode, qint16(2));
        QCOMPARE(image->currentFileName, QStringLiteral("new.dat"));
        QVERIFY(image->isNewDocument);
        QCOMPARE(session->radioMemory(), radio->memory);

        QCOMPARE(prompter->asked.size(), 2);
        QCOMPARE(prompter->asked[0].text, txt(TextId::ReadConfirm));
        QCOMPARE(prompter->asked[0].buttons, Buttons::OkCancel);
        QCOMPARE(prompter->asked[0].icon, Icon::Question);
        QCOMPARE(prompter->asked[1].text, txt(TextId::ReadCompleted));
        QCOMPARE(prompter->asked[1].buttons, Buttons::Ok);

        // 0 at the start, then rising, 100 once the last block came.
        QCOMPARE(progress.first(), 0);
        QCOMPARE(progress.last(), 100);
        for (int k = 1; k < progress.size(); ++k)
            QVERIFY(progress[k] > progress[k - 1]);
        QCOMPARE(session->mode(), LinkMode::Idle);
        QVERIFY(!session->isRunning());
        QCOMPARE(finished->size(), 1);
    }

    void readRefused_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QByteArray>("firmware");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("endAnswered");
        QTest::addColumn<SessionOutcome>("outcome");
        QTest::addColumn<QString>("starter");
        QTest::newRow("other model") << QByteArray("MX900") << QByteArray("V100") << Answer::No << true
                                     << SessionOutcome::WrongModel << "";
        QTest::newRow("other model, end unanswered")
            << QByteArray("MX900") << QByteArray("V100") << Answer::No << false << SessionOutcome::WrongModel
            << "";
        QTest::newRow("firmware refused, No") << QByteArray("MX806") << QByteArray("V102") << Answer::No
                                              << true << SessionOutcome::IncompatibleFirmware << "";
        QTest::newRow("firmware of another version, Yes")
            << QByteArray("MX806") << QByteArray("V101") << Answer::Yes << false
            << SessionOutcome::IncompatibleFirmware << "V101";
    }
    void readRefused()
    {
        QFETCH(QByteArray, model);
        QFETCH(QByteArray, firmware);
        QFETCH(Answer, answer);
        QFETCH(bool, endAnswered);
        QFETCH(QString, starter);
        versions.pairs = {{QStringLiteral("V100"), QStringLiteral("V100")},
                          {QStringLiteral("V101"), QStringLiteral("V101")}};
        radio->model = model;
        radio->firmware = firmware;
        radio->answerEnd = endAnswered;
        const Snapshot before(*image);
        bool portOpenAtModelMessage = true;
        prompter->onAsk = [&](const Asked& a) {
            if (a.text == txt(TextId::ModelWrong)) portOpenAtModelMessage = radio->isOpen();
        };
        prompter->script = {Answer::Ok, answer};

        QVERIFY(session->startRead());
        QTEST(waitEnd(), "outcome");
        QCOMPARE(radio->count(Kind::Read), 0);
        QCOMPARE(radio->count(Kind::End), 1);
        QVERIFY(!radio->isOpen());
        QVERIFY(before.sameAs(*image));
        QVERIFY(!prompter->texts().contains(txt(TextId::ReadCompleted)));
        QCOMPARE(started, starter);
        if (model != "MX806") {
            QCOMPARE(prompter->count(txt(TextId::ModelWrong)), 1);
            QVERIFY(!portOpenAtModelMessage);
        } else {
            QCOMPARE(prompter->asked[1].text,
                     VersionTable::incompatibleMessage("V100", firmware, 0, English));
            QCOMPARE(prompter->asked[1].buttons, Buttons::YesNo);
            QCOMPARE(prompter->asked[1].icon, Icon::None);
        }
        // The radio's identity is known, but it did not go into the image.
        QCOMPARE(session->identity().firmware, QString::fromLatin1(firmware));
        QCOMPARE(image->versionTag, before.versionTag);
    }

    // ---- Writes ----

    void write()
    {
        const Snapshot before(*image);
        prompter->script = {Answer::Ok};
        QVERIFY(session->startWrite());
        QCOMPARE(waitEnd(), SessionOutcome::Completed);

        const QList<int> writes = radio->addresses(Kind::Write);
        QCOMPARE(writes.size(), 1014);
        QCOMPARE(writes.last(), 0x3F50);
        for (int a : writes)
            QVERIFY(a < 0x3F60);
        QCOMPARE(radio->count(Kind::Read), 0);
        QCOMPARE(radio->count(Kind::End), 1);
        const QByteArray expected = imageMemory(*image);
        QCOMPARE(radio->memory.left(0x3F60), expected.left(0x3F60));
        QCOMPARE(radio->memory.mid(0x3F60), QByteArray(0x4000 - 0x3F60, char(0xFF)));
        QVERIFY(before.sameAs(*image));
        QVERIFY(!radio->isOpen());
        QCOMPARE(prompter->texts(), QStringList({txt(TextId::WriteConfirm), txt(TextId::WriteCompleted)}));

        // 100% shows before the last block goes out.
        QCOMPARE(progress.first(), 0);
        QCOMPARE(progress.last(), 100);
        QVERIFY(progressAtFrame.last() <= 2 + 1013); // handshake, identification, at most 1013 blocks
        for (int k = 1; k < progress.size(); ++k)
            QVERIFY(progress[k] > progress[k - 1]);
    }

    void featureWarning_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("warning");
        QTest::newRow("none") << 0 << "";
        QTest::newRow("tone squelch")
            << 1 << txt(TextId::ToneSquelchInvalid) + "\r\n" + txt(TextId::SomeFeaturesWontWork);
        QTest::newRow("TV") << 2 << txt(TextId::TvInvalid) + "\r\n" + txt(TextId::SomeFeaturesWontWork);
        QTest::newRow("both") << 3
                              << txt(TextId::ToneSquelchInvalid) + "\r\n" + txt(TextId::TvInvalid) + "\r\n" +
                                     txt(TextId::SomeFeaturesWontWork);
    }
    void featureWarning()
    {
        QFETCH(int, flags);
        QFETCH(QString, warning);
        radio->flags = flags;
        prompter->script = {Answer::Ok};
        QVERIFY(session->startWrite());
        QCOMPARE(waitEnd(), SessionOutcome::Completed);
        QCOMPARE(radio->count(Kind::Write), 1014);
        QStringList expected{txt(TextId::WriteConfirm)};
        if (!warning.isEmpty()) expected << warning;
        expected << txt(TextId::WriteCompleted);
        QCOMPARE(prompter->texts(), expected);
        if (!warning.isEmpty()) {
            QCOMPARE(prompter->asked[1].icon, Icon::Exclamation);
            QCOMPARE(prompter->asked[1].buttons, Buttons::Ok);
        }
    }

    void writeWrongModel()
    {
        radio->model = "MX";
        prompter->script = {Answer::Ok};
        QVERIFY(session->startWrite());
        QCOMPARE(waitEnd(), SessionOutcome::WrongModel);
        QCOMPARE(radio->count(Kind::Write), 0);
        QCOMPARE(radio->memory, QByteArray(0x4000, char(0xFF)));
        QCOMPARE(prompter->texts(), QStringList({txt(TextId::WriteConfirm), txt(TextId::ModelWrong)}));
    }

    void imageRefused_data()
    {
        QTest::addColumn<bool>("multi");
        QTest::newRow("write") << false;
        QTest::newRow("multi-radio write") << true;
    }
    void imageRefused()
    {
        QFETCH(bool, multi);
        image->work.toneTips[2].tone(2) = 300;
        QVERIFY(!(multi ? session->startMultiWrite(2) : session->startWrite()));
        QCOMPARE(session->lastOutcome(), SessionOutcome::ImageRefused);
        QCOMPARE(radio->opens, 0);
        QVERIFY(radio->frames.isEmpty());
        QCOMPARE(prompter->asked.size(), 1);
        QCOMPARE(prompter->asked[0].text,
                 QStringLiteral("Value does not fit the radio: tone tip 3, step 2 tone (300)"));
        QCOMPARE(finished->size(), 0);
        QCOMPARE(session->mode(), LinkMode::Idle);
    }

    // ---- Starting ----

    void confirmationCancelled_data()
    {
        QTest::addColumn<int>("command"); // 0 read, 1 write, 2 multi-write
        QTest::newRow("read") << 0;
        QTest::newRow("write") << 1;
        QTest::newRow("multi-radio write") << 2;
    }
    void confirmationCancelled()
    {
        QFETCH(int, command);
        prompter->script = {Answer::Cancel};
        const bool ok = command == 0   ? session->startRead()
                        : command == 1 ? session->startWrite()
                                       : session->startMultiWrite(3);
        QVERIFY(!ok);
        QCOMPARE(session->lastOutcome(), SessionOutcome::Cancelled);
        QCOMPARE(session->mode(), LinkMode::Idle);
        QCOMPARE(radio->opens, 1);
        QVERIFY(!radio->isOpen());
        QVERIFY(radio->frames.isEmpty());
        QCOMPARE(finished->size(), 0);
    }

    void portError()
    {
        radio->failOpen = true;
        QVERIFY(!session->startRead());
        QCOMPARE(session->lastOutcome(), SessionOutcome::PortError);
        QCOMPARE(session->mode(), LinkMode::Idle);
        QCOMPARE(prompter->asked.size(), 1);
        QCOMPARE(prompter->asked[0].text, txt(TextId::CannotOpenPort));
        QCOMPARE(prompter->asked[0].icon, Icon::Critical);
        QVERIFY(!session->startHandshakeOnly());
        QCOMPARE(session->lastOutcome(), SessionOutcome::PortError);
    }

    void reopensOpenPort()
    {
        QVERIFY(radio->open());
        prompter->script = {Answer::Cancel};
        QVERIFY(!session->startRead());
        QCOMPARE(radio->opens, 2);
        QCOMPARE(radio->closes, 2);
    }

    // ---- Time-outs and retries ----

    void resends_data()
    {
        QTest::addColumn<int>("lostHandshakes");
        QTest::addColumn<int>("lostIdents");
        QTest::addColumn<int>("handshakes");
        QTest::addColumn<int>("idents");
        QTest::newRow("handshake answered after its resend") << 1 << 0 << 2 << 1;
        QTest::newRow("identification answered after its resend") << 0 << 1 << 1 << 2;
        QTest::newRow("both resent once") << 1 << 1 << 2 << 2;
    }
    void resends()
    {
        QFETCH(int, lostHandshakes);
        QFETCH(int, lostIdents);
        radio->ignoreHandshakes = lostHandshakes;
        radio->ignoreIdents = lostIdents;
        prompter->script = {Answer::Ok};
        QVERIFY(session->startRead());
        QCOMPARE(waitEnd(), SessionOutcome::Completed);
        QTEST(radio->count(Kind::Handshake), "handshakes");
        QTEST(radio->count(Kind::Ident), "idents");
        QCOMPARE(radio->count(Kind::Read), 1024);
        QCOMPARE(prompter->texts(), QStringList({txt(TextId::ReadConfirm), txt(TextId::ReadCompleted)}));
    }

    void handshakeUnanswered_data()
    {
        QTest::addColumn<bool>("retry");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Retry, then Cancel") << true;
    }
    void handshakeUnanswered()
    {
        QFETCH(bool, retry);
        radio->attached = false;
        const Snapshot before(*image);
        prompter->script = {Answer::Ok};
        if (retry) prompter->script << Answer::Retry;
        prompter->script << Answer::Cancel;
        QVERIFY(session->startRead());
        QCOMPARE(waitEnd(), SessionOutcome::NoAnswer);
        QCOMPARE(radio->count(Kind::Handshake), retry ? 4 : 2);
        QCOMPARE(prompter->asked.size(), retry ? 3 : 2);
        QCOMPARE(prompter->asked[1].text, txt(TextId::CheckConnection));
        QCOMPARE(prompter->asked[1].buttons, Buttons::RetryCancel);
        QCOMPARE(prompter->asked[1].icon, Icon::None);
        QVERIFY(!radio->isOpen());
        QVERIFY(before.sameAs(*image));
    }

    // The answered resend leaves the handshake's retry mark set: after the
    // identification fails twice and Retry, the new handshake is not resent.
    void answeredResendKeepsRetryMark()
    {
        radio->ignoreHandshakes = 1;
        radio->ignoreIdents = 2;
        prompter->script = {Answer::Ok, Answer::Retry, Answer::Cancel};
        prompter->onAsk = [this](const Asked& a) {
            if (a.text == txt(TextId::CheckConnection)) radio->attached = false;
        };
        QVERIFY(session->startRead());
        QCOMPARE(waitEnd(), SessionOutcome::NoAnswer);
        // Handshake, its resend (answered), then after Retry one handshake only.
        QCOMPARE(radio->count(Kind::Handshake), 3);
        QCOMPARE(radio->count(Kind::Ident), 2);
        QCOMPARE(prompter->count(txt(TextId::CheckConnection)), 2);
    }

    void blockUnanswered_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("fault");
        QTest::newRow("read, reply lost") << false << "drop";
        QTest::newRow("read, checksum off by one") << false << "checksum";
        QTest::newRow("read, lone ACK instead of the block") << false << "ack";
        QTest::newRow("write, ACK lost") << true << "drop";
    }
    void blockUnanswered()
    {
        QFETCH(bool, write);
        QFETCH(QString, fault);
        RadioImage source;
        buildImage(source);
        source.addChannel(3, 0, 1, QStringLiteral("28.3000"));
        if (!write) radio->memory = imageMemory(source);
        const int lost = 0x2000;
        if (fault == "drop")
            radio->dropOnce.insert(lost);
        else if (fault == "checksum")
            radio->badChecksumOnce.insert(lost);
        else
            radio->strayAckOnce.insert(lost);
        prompter->script = {Answer::Ok, Answer::Ok};
        QVERIFY(write ? session->startWrite() : session->startRead());
        QCOMPARE(waitEnd(), SessionOutcome::Completed);

        QCOMPARE(prompter->asked[1].text, txt(TextId::CheckConnection));
        QCOMPARE(prompter->asked[1].buttons, Buttons::OkCancel);
        QCOMPARE(prompter->asked[1].icon, Icon::Question);
        QCOMPARE(radio->count(Kind::Handshake), 2);
        const QList<int> blocks = radio->addresses(write ? Kind::Write : Kind::Read);
        const int total = write ? 1014 : 1024;
        QCOMPARE(blocks.size(), total + lost / 16 + 1);
        QCOMPARE(blocks[lost / 16 + 1], 0); // restarted from the first block
        if (!write)
            QCOMPARE(imageMemory(*image), imageMemory(source));
        else
            QCOMPARE(radio->memory.left(0x3F60), imageMemory(*image).left(0x3F60));

        // Progress went back to 0 once, at the restart, and rose to 100 again.
        QCOMPARE(progress.count(0), 2);
        const int restart = progress.lastIndexOf(0);
        QVERIFY(restart > 1);
        QVERIFY(progress[restart - 1] > 0);
        QCOMPARE(progress.last(), 100);
    }

    void blockUnansweredCancelled()
    {
        radio->dropOnce.insert(0x0100);
        const Snapshot before(*image);
        prompter->script = {Answer::Ok, Answer::Cancel};
        QVERIFY(session->startRead());
        QCOMPARE(waitEnd(), SessionOutcome::NoAnswer);
        QVERIFY(before.sameAs(*image));
        QVERIFY(!radio->isOpen());
        QCOMPARE(radio->count(Kind::Read), 0x0100 / 16 + 1);
    }

    void endUnanswered()
    {
        radio->answerEnd = false;
        prompter->script = {Answer::Ok};
        QVERIFY(session->startWrite());
        QCOMPARE(waitEnd(), SessionOutcome::Completed);
        QCOMPARE(prompter->texts().last(), txt(TextId::WriteCompleted));
    }

    // ---- Ending from outside ----

    void portLost_data()
    {
        QTest::addColumn<bool>("write");
        QTest::newRow("read") << false;
        QTest::newRow("write") << true;
    }
    void portLost()
    {
        QFETCH(bool, write);
        const Snapshot before(*image);
        radio->onFrame = [this](const FakeRadio::Frame& f) {
            if (f.address == 0x0400) QTimer::singleShot(0, radio, [this] { radio->lose(); });
        };
        prompter->script = {Answer::Ok};
        QVERIFY(write ? session->startWrite() : session->startRead());
        QCOMPARE(waitEnd(), SessionOutcome::NoAnswer);
        const int sent = radio->frames.size();
        QVERIFY(!radio->isOpen());
        QVERIFY(before.sameAs(*image));
        QCOMPARE(prompter->asked.size(), 1); // the confirmation only
        QTest::qWait(3 * ReplyTimeout);
        QCOMPARE(radio->frames.size(), sent); // nothing more goes out
        QCOMPARE(finished->size(), 1);
    }

    void cancelled()
    {
        const Snapshot before(*image);
        radio->onFrame = [this](const FakeRadio::Frame& f) {
            if (f.address == 0x0800) QTimer::singleShot(0, session, [this] { session->cancel(); });
        };
        prompter->script = {Answer::Ok};
        QVERIFY(session->startRead());
        QCOMPARE(waitEnd(), SessionOutcome::Cancelled);
        QVERIFY(!radio->isOpen());
        QVERIFY(before.sameAs(*image));
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY(!session->isRunning());
        QCOMPARE(session->mode(), LinkMode::Idle);
    }

    void busyRefusesSecondCommand()
    {
        prompter->script = {Answer::Ok};
        QVERIFY(session->startRead());
        QVERIFY(!session->startWrite());
        QVERIFY(!session->startHandshakeOnly());
        QCOMPARE(waitEnd(), SessionOutcome::Completed);
        QCOMPARE(finished->size(), 1);
    }

    // ---- Handshake-only and information ----

    void handshakeOnly_data()
    {
        QTest::addColumn<bool>("attached");
        QTest::addColumn<bool>("loneAck");
        QTest::addColumn<SessionOutcome>("outcome");
        QTest::addColumn<int>("handshakes");
        QTest::newRow("radio answers") << true << false << SessionOutcome::Completed << 1;
        QTest::newRow("radio answers with ACK") << true << true << SessionOutcome::Completed << 1;
        QTest::newRow("no radio") << false << false << SessionOutcome::NoAnswer << 2;
    }
    void handshakeOnly()
    {
        QFETCH(bool, attached);
        QFETCH(bool, loneAck);
        radio->attached = attached;
        radio->loneAck = loneAck;
        const Snapshot before(*image);
        QVERIFY(session->startHandshakeOnly(true));
        QCOMPARE(session->mode(), LinkMode::HandshakeOnly);
        QTEST(waitEnd(), "outcome");
        QTEST(radio->count(Kind::Handshake), "handshakes");
        QCOMPARE(radio->frames.size(), radio->count(Kind::Handshake));
        QVERIFY(!radio->isOpen());
        QVERIFY(prompter->asked.isEmpty());
        QVERIFY(before.sameAs(*image));
        QByteArray filled;
        fillRadioMemory(filled);
        QCOMPARE(session->radioMemory(), filled);
        QVERIFY(progress.isEmpty());
    }

    void info()
    {
        radio->model = "OTHER";
        radio->firmware = "V555";
        radio->flags = 2;
        const Snapshot before(*image);
        QVERIFY(session->startInfo());
        QCOMPARE(waitEnd(), SessionOutcome::Completed);
        QCOMPARE(session->identity().modelId, QStringLiteral("OTHER"));
        QCOMPARE(session->identity().firmware, QStringLiteral("V555"));
        QVERIFY(!session->identity().toneSquelchUnsupported);
        QVERIFY(session->identity().tvUnsupported);
        QCOMPARE(radio->frames.size(), 3);
        QCOMPARE(radio->frames[0].kind, Kind::Handshake);
        QCOMPARE(radio->frames[1].kind, Kind::Ident);
        QCOMPARE(radio->frames[2].kind, Kind::End);
        QVERIFY(prompter->asked.isEmpty());
        QVERIFY(before.sameAs(*image));
        QVERIFY(!radio->isOpen());
    }

    // ---- Multi-radio write ----

    // After each radio the written one stays attached for a while (its
    // answers keep clearing the counters), then goes, then the next is plugged in.
    void multiWrite_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("two radios") << 2;
        QTest::newRow("three radios") << 3;
    }
    void multiWrite()
    {
        QFETCH(int, count);
        int handshakesSinceEnd = -1;
        radio->onFrame = [&](const FakeRadio::Frame& f) {
            if (f.kind == Kind::End) {
                handshakesSinceEnd = 0;
                return;
            }
            if (f.kind != Kind::Handshake || handshakesSinceEnd < 0) return;
            ++handshakesSinceEnd;
            if (handshakesSinceEnd == 6) // answered five times while still attached
                radio->attached = false;
            if (handshakesSinceEnd == 12) { // three failed attempts later: the next radio
                radio->swapRadio();
                radio->attached = true;
                handshakesSinceEnd = -1;
            }
        };
        prompter->script = {Answer::Ok};
        QVERIFY(session->startMultiWrite(count));
        QCOMPARE(waitEnd(), SessionOutcome::Completed);
        QCOMPARE(finished->size(), 1);

        for (int r = 1; r <= count; ++r) {
            QCOMPARE(radio->count(Kind::Write, r), 1014);
            QCOMPARE(radio->count(Kind::Ident, r), 1);
            QCOMPARE(radio->count(Kind::End, r), 1);
        }
        QCOMPARE(radio->radioId, count);
        QCOMPARE(radio->count(Kind::Write, 0), 0);
        QCOMPARE(radio->memory.left(0x3F60), imageMemory(*image).left(0x3F60));
        QCOMPARE(prompter->texts(), QStringList({txt(TextId::WriteConfirm), txt(TextId::WriteCompleted)}));
        QVERIFY(!radio->isOpen());
        QCOMPARE(session->radiosWritten(), count);
        QList<int> expectedRadios;
        for (int r = 1; r <= count; ++r)
            expectedRadios << r;
        QCOMPARE(radios, expectedRadios);
        QCOMPARE(progress.count(0), count);
        QCOMPARE(progress.count(100), count);
        // The third answer after the swap leads to the identification: two only count.
        const int firstIdentOfRadio2 = [&] {
            for (int k = 0; k < radio->frames.size(); ++k)
                if (radio->frames[k].kind == Kind::Ident && radio->frames[k].radio == 2) return k;
            return -1;
        }();
        QVERIFY(firstIdentOfRadio2 > 3);
        for (int k = firstIdentOfRadio2 - 3; k < firstIdentOfRadio2; ++k) {
            QCOMPARE(radio->frames[k].kind, Kind::Handshake);
            QCOMPARE(radio->frames[k].radio, 2);
        }
        QCOMPARE(radio->frames[firstIdentOfRadio2 - 4].radio, 0);
    }

    void multiWriteRadioStaysAttached()
    {
        prompter->script = {Answer::Ok};
        QVERIFY(session->startMultiWrite(2));
        QTRY_VERIFY_WITH_TIMEOUT(radio->count(Kind::End) == 1 && radio->count(Kind::Handshake) > 300,
                                 Patience);
        QVERIFY(session->isRunning());
        QCOMPARE(radio->count(Kind::Write), 1014);
        QCOMPARE(radio->count(Kind::Ident), 1);
        session->cancel();
        QCOMPARE(waitEnd(), SessionOutcome::Cancelled);
        QVERIFY(!radio->isOpen());
        QCOMPARE(prompter->texts(), QStringList({txt(TextId::WriteConfirm)}));
        QCOMPARE(session->radiosWritten(), 1);
    }

    void multiWriteSwapWaitsSilently()
    {
        // Once the first radio has answered, no radio answering asks nothing.
        radio->onFrame = [this](const FakeRadio::Frame& f) {
            if (f.kind == Kind::End) radio->attached = false;
        };
        prompter->script = {Answer::Ok};
        QVERIFY(session->startMultiWrite(2));
        QTRY_VERIFY_WITH_TIMEOUT(radio->count(Kind::Handshake) > 8, Patience);
        QCOMPARE(prompter->asked.size(), 1);
        QVERIFY(session->isRunning());
        session->cancel();
        QCOMPARE(waitEnd(), SessionOutcome::Cancelled);
        QVERIFY(!radio->isOpen());
    }

    void multiWriteFirstRadioMissing()
    {
        radio->attached = false;
        prompter->script = {Answer::Ok, Answer::Retry, Answer::Cancel};
        QVERIFY(session->startMultiWrite(2));
        QCOMPARE(waitEnd(), SessionOutcome::NoAnswer);
        QCOMPARE(prompter->count(txt(TextId::CheckConnection)), 2);
        QCOMPARE(radio->count(Kind::Handshake), 4);
        QVERIFY(!radio->isOpen());
        QCOMPARE(session->radiosWritten(), 0);
    }

    void multiWriteSkipsModelCheck()
    {
        radio->model = "OTHER";
        radio->flags = 3;
        prompter->script = {Answer::Ok};
        QVERIFY(session->startMultiWrite(1));
        QCOMPARE(waitEnd(), SessionOutcome::Completed);
        QCOMPARE(radio->count(Kind::Write), 1014);
        QCOMPARE(prompter->texts(), QStringList({txt(TextId::WriteConfirm), txt(TextId::WriteCompleted)}));
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
