#include "FakeRadio.h"
#include "TestPrompter.h"

#include "data/Defaults.h"
#include "data/RadioData.h"
#include "data/VersionTable.h"
#include "link/MemoryCodec.h"
#include "link/Session.h"
#include "texts/Messenger.h"
#include "texts/Texts.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <tuple>

using namespace mx;
using Kind = FakeRadio::Kind;
using enum SessionOutcome;

namespace {

enum Command { Read, Write, MultiWriteOne, MultiWriteTwo, HandshakeOnly, Info };

constexpr int ReplyTimeout = 100; // ms; the fake radio answers within one event-loop turn
constexpr int Patience = 60000;   // upper bound for a whole session in these tests
constexpr int Written = 0x3F60;   // a write covers 0x0000..0x3F5F

// The program's own texts, written out.
const QString ReadConfirm = QStringLiteral("Read data from radio.\r\nDo you wish continue?");
const QString WriteConfirm = QStringLiteral("Write data to radio.\r\nDo you wish continue?");
const QString ReadCompleted = QStringLiteral("Read Data Completed.");
const QString WriteCompleted = QStringLiteral("Write Data Completed.");
const QString CheckConnection = QStringLiteral("Check Connection. Retry or Cancel?");
const QString ModelWrong = QStringLiteral("Model type is wrong.");
const QString NoPort = QStringLiteral("Cannot Open Communication Port.");
const QString ToneWarning = QStringLiteral("CTCSS/DCS Function is invalid,\r\nSome features will not work.");

// A realistic image: the built-in defaults plus a few channels of every kind.
void buildImage(RadioImage& image)
{
    defaults::applyBuiltIn(image, QDate(2024, 5, 1));
    image.addChannel(7, 0, 2, QStringLiteral("28.1250"));
    image.addChannel(41, 1, 3, QStringLiteral("26.5000"));
    image.workChannels.at(1, image.work.count(1, 3), 3).toneCode = 45;
    image.work.tvChannels[4] = {1, 98.7, 1, 0};
}

// Everything of the image that a session must leave alone unless a read completes.
auto state(const RadioImage& i)
{
    return std::tuple(i.work, i.workChannels.records, i.versionTag, i.currentFileName, i.isNewDocument);
}

} // namespace

Q_DECLARE_METATYPE(mx::SessionOutcome)
Q_DECLARE_METATYPE(Command)

class TestSession : public QObject
{
    Q_OBJECT

    // Everything a session needs, destroyed in reverse order.
    struct Rig
    {
        FakeRadio radio;
        RadioImage image;
        VersionTable versions;
        mx::test::TestPrompter prompter;
        Messenger messenger{prompter, English};
        Session session{radio, image, versions, messenger};
        QSignalSpy finished{&session, &Session::finished};
    };
    std::unique_ptr<Rig> rig;
    FakeRadio* radio = nullptr;
    RadioImage* image = nullptr;
    mx::test::TestPrompter* prompter = nullptr;
    Session* session = nullptr;
    QSignalSpy* finished = nullptr;
    QList<int> progress;
    QList<int> progressAtFrame; // frames sent when each percentage came
    QList<int> radios;
    QString started; // version handed to the software starter

    bool start(Command command)
    {
        const std::function<bool()> starts[] = {[this] { return session->startRead(); },
                                                [this] { return session->startWrite(); },
                                                [this] { return session->startMultiWrite(1); },
                                                [this] { return session->startMultiWrite(2); },
                                                [this] { return session->startHandshakeOnly(true); },
                                                [this] { return session->startInfo(); }};
        return starts[command]();
    }

    // The session ended once, as expected, with the port closed.
    void expectEnd(SessionOutcome outcome)
    {
        if (finished->isEmpty()) QVERIFY(finished->wait(Patience));
        QCOMPARE(finished->size(), 1);
        QCOMPARE(finished->last().at(0).value<SessionOutcome>(), outcome);
        QVERIFY(!radio->isOpen());
        QVERIFY(!session->isRunning());
        QCOMPARE(session->mode(), LinkMode::Idle);
    }

    // Progress started at 0 and rose to 100 without going back.
    void expectProgressRising(int from = 0)
    {
        QCOMPARE(progress.value(from, -1), 0);
        QCOMPARE(progress.last(), 100);
        for (int k = from + 1; k < progress.size(); ++k)
            QVERIFY2(progress[k] > progress[k - 1], qPrintable(QString::number(k)));
    }

private Q_SLOTS:
    void init()
    {
        rig = std::make_unique<Rig>();
        radio = &rig->radio;
        image = &rig->image;
        prompter = &rig->prompter;
        session = &rig->session;
        finished = &rig->finished;
        buildImage(*image);
        image->currentFileName = QStringLiteral("/tmp/mine.dat");
        image->isNewDocument = false;
        rig->versions.pairs = {{QStringLiteral("V100"), QStringLiteral("V100")},
                               {QStringLiteral("V101"), QStringLiteral("V101")}};
        prompter->script = {Answer::Ok};
        session->setReplyTimeout(ReplyTimeout);
        session->setSoftwareStarter([this](const QString& v) { started = v; });
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
    void cleanup() { rig.reset(); }

    // ---- Reads and writes ----

    void read()
    {
        RadioImage source;
        buildImage(source);
        source.addChannel(12, 2, 4, QStringLiteral("27.1850"));
        source.work.rangeMode = 2;
        radio->memory = imageMemory(source);
        // The editors close before the image is replaced; the completion message comes after.
        QStringList order;
        connect(session, &Session::imageAboutToBeReplaced,
                [&] { order << (image->work.rangeMode == 2 ? "replaced too early" : "about to replace"); });
        connect(session, &Session::imageReplaced, [&] { order << "replaced"; });
        prompter->onAsk = [&](const auto& asked) {
            if (asked.text == ReadCompleted) order << "completed";
        };

        QVERIFY(session->startRead());
        QVERIFY(session->isRunning());
        QCOMPARE(session->mode(), LinkMode::Read);
        QVERIFY(!session->startWrite()); // busy: a second command is refused
        QVERIFY(!session->startHandshakeOnly());
        expectEnd(Completed);
        QCOMPARE(radio->trace(), QStringLiteral("H I R1024 E"));

        // The image now holds the radio's data and is a new document.
        QCOMPARE(imageMemory(*image), imageMemory(source));
        QCOMPARE(image->work.rangeMode, qint16(2));
        QCOMPARE(image->currentFileName, QStringLiteral("new.dat"));
        QVERIFY(image->isNewDocument);
        QCOMPARE(session->radioMemory(), radio->memory);

        QCOMPARE(prompter->texts(), (QStringList{ReadConfirm, ReadCompleted}));
        QCOMPARE(order, QStringList({"about to replace", "replaced", "completed"}));
        QCOMPARE(prompter->shown[0].buttons, Buttons::OkCancel);
        QCOMPARE(prompter->shown[0].icon, Icon::Question);
        QCOMPARE(prompter->shown[1].buttons, Buttons::Ok);
        expectProgressRising(); // 100 once the last block came
    }

    // ---- Starting ----

    // Nothing goes out when the confirmation is cancelled (an open port is closed again), the image does
    // not fit (refused before the port opens, the field named), or the port cannot be opened.
    void notStarted_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<SessionOutcome>("outcome");
        QTest::addColumn<QString>("message");
        const QString noFit = QStringLiteral("Value does not fit the radio: tone tip 3, step 2 tone (300)");
        const QString read = ReadConfirm, write = WriteConfirm, noPort = NoPort;
        // clang-format off
        QTest::newRow("read, confirmation cancelled") << Read << "cancel" << Cancelled << read;
        QTest::newRow("write, confirmation cancelled") << Write << "cancel" << Cancelled << write;
        QTest::newRow("multi-radio write, confirmation cancelled") << MultiWriteTwo << "cancel" << Cancelled << write;
        QTest::newRow("write, image does not fit") << Write << "noFit" << ImageRefused << noFit;
        QTest::newRow("multi-radio write, image does not fit") << MultiWriteTwo << "noFit" << ImageRefused << noFit;
        QTest::newRow("handshake only, port cannot be opened") << HandshakeOnly << "noPort" << PortError << noPort;
        // clang-format on
    }
    void notStarted()
    {
        QFETCH(Command, command);
        QFETCH(QString, setup);
        QFETCH(SessionOutcome, outcome);
        QFETCH(QString, message);
        prompter->script = {Answer::Cancel};
        if (setup == "cancel") QVERIFY(radio->open());
        if (setup == "noFit") image->work.toneTips[2].tone(2) = 300;
        radio->failOpen = setup == "noPort";
        QVERIFY(!start(command));
        QCOMPARE(session->lastOutcome(), outcome);
        QCOMPARE(session->mode(), LinkMode::Idle);
        QVERIFY(!radio->isOpen());
        QCOMPARE(radio->opens, setup == "cancel" ? 2 : 0);
        QCOMPARE(radio->closes, radio->opens);
        QVERIFY(radio->frames.isEmpty());
        QCOMPARE(finished->size(), 0);
        QCOMPARE(prompter->texts(), QStringList{message});
        if (outcome == PortError) QCOMPARE(prompter->shown[0].icon, Icon::Critical);
    }

    // ---- A command against a radio set up to misbehave ----

    void scenario_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QList<Answer>>("answers"); // after OK to the confirmation
        QTest::addColumn<SessionOutcome>("outcome");
        QTest::addColumn<QString>("trace");
        QTest::addColumn<QStringList>("texts");
        const QStringList read{ReadConfirm, ReadCompleted}, write{WriteConfirm, WriteCompleted};
        const QString check = CheckConnection;
        const QList<Answer> none, retryCancel{Answer::Retry, Answer::Cancel};
        const QStringList warning{write[0], ToneWarning, write[1]};
        const QStringList readModel{read[0], ModelWrong};
        const QStringList firmware101{
            read[0],
            QStringLiteral("incompatible version. It may cause unknown error.To start the corresponding "
                           "software version, or not?\r\nFirmware version is V1.01\r\n"
                           "programming software is V1.00")};

        // What the emulator also plays (a lone ACK, an ignored handshake, another model, refused firmware,
        // both feature warnings, a block given up) is tst_e2e_read's, tst_e2e_write's and tst_e2e_faults'.
        QTest::newRow("read, identification answered after its resend")
            << Read << "silentIdents=1" << none << Completed << "H I2 R1024 E" << read;
        QTest::newRow("read, no radio, Retry then Cancel")
            << Read << "detached" << retryCancel << NoAnswer << "H4" << QStringList{read[0], check, check};
        // The answered resend leaves the handshake's retry mark set: after the
        // identification fails twice and Retry, the new handshake is not resent.
        QTest::newRow("read, identification fails after an answered handshake resend")
            << Read << "silentHandshakes=1,3 silentIdents=1,2" << retryCancel << NoAnswer << "H2 I2 H"
            << QStringList{read[0], check, check};
        // A radio refused after its identification gets no block; Yes hands over to the other version.
        QTest::newRow("read, other model, end unanswered")
            << Read << "model=MX900 endUnanswered" << none << WrongModel << "H I E" << readModel;
        QTest::newRow("read, firmware of another version, Yes")
            << Read << "firmware=V101 endUnanswered" << QList<Answer>{Answer::Yes} << IncompatibleFirmware
            << "H I E" << firmware101;
        QTest::newRow("write, end unanswered")
            << Write << "endUnanswered" << none << Completed << "H I W1014 E" << write;
        QTest::newRow("write, no tone squelch")
            << Write << "flags=1" << none << Completed << "H I W1014 E" << warning;
        QTest::newRow("multi-radio write, no model check or warning")
            << MultiWriteOne << "model=OTHER flags=3" << none << Completed << "H I W1014 E" << write;
        QTest::newRow("multi-radio write, first radio missing")
            << MultiWriteTwo << "detached" << retryCancel << NoAnswer << "H4"
            << QStringList{write[0], check, check};
        QTest::newRow("handshake only, radio answers")
            << HandshakeOnly << "" << none << Completed << "H" << QStringList();
        QTest::newRow("handshake only, no radio")
            << HandshakeOnly << "detached" << none << NoAnswer << "H2" << QStringList();
        QTest::newRow("radio information")
            << Info << "model=OTHER flags=2" << none << Completed << "H I E" << QStringList();
    }
    void scenario()
    {
        QFETCH(Command, command);
        QFETCH(QList<Answer>, answers);
        QFETCH(SessionOutcome, outcome);
        QFETCH(QString, options);
        radio->configure(options);
        prompter->script << answers;
        // The connection question offers Retry while the radio has not
        // answered yet, and OK (restart) once blocks were moving.
        prompter->onAsk = [&](const mx::test::TestPrompter::Shown& a) {
            const Kind last = radio->frames.isEmpty() ? Kind::Other : radio->frames.last().kind;
            const bool block = last == Kind::Read || last == Kind::Write;
            if (a.text == CheckConnection) {
                QCOMPARE(a.buttons, block ? Buttons::OkCancel : Buttons::RetryCancel);
                QCOMPARE(a.icon, block ? Icon::Question : Icon::None);
            }
            if (a.text == ToneWarning) QCOMPARE(a.icon, Icon::Exclamation);
            if (a.text == ModelWrong) QVERIFY(!radio->isOpen());
            if (a.text.startsWith(QLatin1String("incompatible version"))) {
                QCOMPARE(a.buttons, Buttons::YesNo);
                QCOMPARE(a.icon, Icon::None);
            }
        };
        const auto before = state(*image);
        const QByteArray memoryBefore = radio->memory;

        QVERIFY(start(command));
        if (command == HandshakeOnly) QCOMPARE(session->mode(), LinkMode::HandshakeOnly);
        expectEnd(outcome);
        QTEST(radio->trace(), "trace");
        QTEST(prompter->texts(), "texts");
        if (command != Read || outcome != Completed) QVERIFY(before == state(*image));
        const bool writes = command == Write || command == MultiWriteOne || command == MultiWriteTwo;
        if (writes && outcome == Completed) {
            QCOMPARE(radio->memory.left(Written), imageMemory(*image).left(Written));
            QCOMPARE(radio->memory.mid(Written), memoryBefore.mid(Written));
            QVERIFY(progressAtFrame.last() <= radio->frames.size() - 2); // 100% before the last block goes
        } else {
            QCOMPARE(radio->memory, memoryBefore);
        }
        if (outcome == Completed && (writes || command == Read)) expectProgressRising();
        QCOMPARE(started, outcome == IncompatibleFirmware && answers.contains(Answer::Yes)
                              ? QString::fromLatin1(radio->firmware)
                              : QString());
        if (command == MultiWriteOne || command == MultiWriteTwo)
            QCOMPARE(session->radiosWritten(), outcome == Completed ? 1 : 0);
        if (radio->trace().contains(QLatin1Char('I')) && outcome != NoAnswer) {
            QCOMPARE(session->identity().modelId, QString::fromLatin1(radio->model));
            QCOMPARE(session->identity().firmware, QString::fromLatin1(radio->firmware));
            QCOMPARE(session->identity().toneSquelchUnsupported, (radio->flags & 1) != 0);
            QCOMPARE(session->identity().tvUnsupported, (radio->flags & 2) != 0);
        }
        if (command == HandshakeOnly) {
            QCOMPARE(session->radioMemory(), filledMemory());
            QVERIFY(progress.isEmpty());
        }
    }

    // ---- Restarts ----

    void blockUnanswered_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("fault");
        QTest::newRow("read, reply lost") << false << "drop";
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
        (fault == "drop" ? radio->dropOnce : radio->strayAckOnce).insert(lost);
        prompter->script << Answer::Ok;
        QVERIFY(write ? session->startWrite() : session->startRead());
        expectEnd(Completed);

        QCOMPARE(prompter->shown[1].text, CheckConnection);
        QCOMPARE(prompter->shown[1].buttons, Buttons::OkCancel);
        QCOMPARE(prompter->shown[1].icon, Icon::Question);
        // Restarted at the handshake, from the first block.
        QCOMPARE(radio->trace(),
                 write ? QStringLiteral("H I W513 H I W1014 E") : QStringLiteral("H I R513 H I R1024 E"));
        QCOMPARE(radio->addresses(write ? Kind::Write : Kind::Read)[lost / 16 + 1], 0);
        if (!write)
            QCOMPARE(imageMemory(*image), imageMemory(source));
        else
            QCOMPARE(radio->memory.left(Written), imageMemory(*image).left(Written));
        // Progress went back to 0 once, at the restart, and rose to 100 again.
        QCOMPARE(progress.count(0), 2);
        const int restart = progress.lastIndexOf(0);
        QVERIFY(restart > 1 && progress[restart - 1] > 0);
        expectProgressRising(restart);
    }

    // ---- Ending from outside ----

    // ---- Multi-radio write ----

    // With verification each radio is read back (a session of its own) before
    // the wait for the next; a radio that gives back something else ends it all.
    // (Without: tst_e2e_write multiWrite.)
    void multiWriteVerified_data()
    {
        QTest::addColumn<int>("faultyRadio"); // 0: every radio keeps what it is given
        QTest::addColumn<bool>("silent");     // the first radio falls silent once written
        QTest::addColumn<SessionOutcome>("outcome");
        QTest::addColumn<int>("radiosDone");
        QTest::newRow("every radio checked") << 0 << false << Completed << 2;
        QTest::newRow("second radio gives back a wrong byte") << 2 << false << VerifyFailed << 1;
        QTest::newRow("first radio silent when read back: written, not checked")
            << 0 << true << NoAnswer << 1;
    }
    void multiWriteVerified()
    {
        QFETCH(int, faultyRadio);
        QFETCH(bool, silent);
        QFETCH(SessionOutcome, outcome);
        QFETCH(int, radiosDone);
        int ends = 0;
        int handshakesSinceCheck = -1;
        radio->onFrame = [&](const FakeRadio::Frame& f) {
            if (silent && f.kind == Kind::End) radio->attached = false;
            if (f.kind == Kind::Read && f.address == 0x0010 && f.radio == faultyRadio)
                radio->memory[0x0012] = char(radio->memory[0x0012] ^ 0x40);
            if (f.kind == Kind::End && ++ends % 2 == 0) handshakesSinceCheck = 0;
            if (f.kind != Kind::Handshake || handshakesSinceCheck < 0) return;
            if (++handshakesSinceCheck == 2) radio->attached = false;
            if (handshakesSinceCheck == 6) {
                radio->swapRadio();
                radio->attached = true;
                handshakesSinceCheck = -1;
            }
        };
        QList<bool> verifying;
        connect(session, &Session::verifyingRadio, this, [&](bool on) { verifying << on; });
        session->setVerifyEachRadio(true);
        QVERIFY(session->startMultiWrite(2));
        expectEnd(outcome);
        QCOMPARE(session->radiosWritten(), radiosDone);
        if (silent) return;
        const int checked = faultyRadio ? faultyRadio : 2;
        for (int r = 1; r <= checked; ++r) {
            QCOMPARE(radio->count(Kind::Write, r), 1014);
            QCOMPARE(radio->count(Kind::Read, r), 1014); // the written range only
            QCOMPARE(radio->count(Kind::End, r), 2);
        }
        QCOMPARE(radio->count(Kind::Write, checked + 1), 0);
        QCOMPARE(radio->count(Kind::Write, 0), 0);
        QCOMPARE(radios, QList<int>({1, 2}));
        // After the swap the third answered handshake leads to the identification.
        const auto ident = std::find_if(radio->frames.cbegin(), radio->frames.cend(),
                                        [](const auto& f) { return f.kind == Kind::Ident && f.radio == 2; });
        QVERIFY(ident - radio->frames.cbegin() > 3 && ident != radio->frames.cend());
        for (auto k = ident - 3; k != ident; ++k)
            QVERIFY(k->kind == Kind::Handshake && k->radio == 2);
        QCOMPARE((ident - 4)->radio, 0);
        QCOMPARE(verifying.size(), 2 * checked);
        QCOMPARE(verifying.first(), true);
        QCOMPARE(verifying.last(), false);
        QCOMPARE(progress.count(100), 2 * checked);
        if (faultyRadio) {
            QCOMPARE(session->verifyResult().address, 0x0012);
            QCOMPARE(session->verifyResult().field, QStringLiteral("10M band A channel 2 receive frequency"));
            QCOMPARE(prompter->texts(), QStringList{WriteConfirm});
        } else {
            QVERIFY(session->verifyResult().ok);
            QCOMPARE(prompter->texts(), (QStringList{WriteConfirm, WriteCompleted}));
        }
    }

    // The first radio is written, then no radio answers: nothing is asked, and
    // closing the window ends it. (A written radio left attached: e2e multiWrite.)
    void multiWriteSwapWait()
    {
        radio->onFrame = [&](const FakeRadio::Frame& f) {
            if (f.kind == Kind::End) radio->attached = false;
        };
        QVERIFY(session->startMultiWrite(2));
        QTRY_VERIFY_WITH_TIMEOUT(radio->count(Kind::End) == 1 && radio->count(Kind::Handshake) > 8, Patience);
        QVERIFY(session->isRunning());
        QCOMPARE(radio->count(Kind::Write), 1014);
        QCOMPARE(radio->count(Kind::Ident), 1);
        QCOMPARE(prompter->texts(), QStringList{WriteConfirm});
        session->cancel();
        expectEnd(Cancelled);
        QCOMPARE(session->radiosWritten(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
